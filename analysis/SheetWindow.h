#pragma once

#include "analysis/AnalysisOutput.h"
#include "ui/GridColumns.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

// A list of the owner's that only reads: a sortable grid, a line of totals
// and Print, PDF, CSV and Quit. A window fills it with setSheet().
class SheetWindow : public QDialog {
    Q_OBJECT
public:
    QTableView* dtGridList;
    QLabel* lblTotal_i;
    QPushButton* cmdPrint;
    QPushButton* cmdPdf;
    QPushButton* cmdCsv;
    QPushButton* cmdQuit;

protected:
    SheetWindow(const QString& name, const QString& caption, QWidget* parent);
    // Shows `rows` under `columns`; `heading` titles the printout and files.
    void setSheet(const QStringList& heading, const QList<GridColumn>& columns, const RowSet& rows,
                  const QString& totals, const QString& fileBase);

private:
    bool nothingToGive();
    AnalysisOutput::Sheet sheet() const;

    RowSetModel* m_model;
    QSortFilterProxyModel* m_sorted;
    QList<GridColumn> m_columns;
    QStringList m_heading;
    QString m_fileBase;
};

// Items below their minimum with how long their stock lasts.
class frmPesanUlang : public SheetWindow {
    Q_OBJECT
public:
    explicit frmPesanUlang(QWidget* parent = nullptr);
    void DoGetList();
};

// Every item's stock times its cost, with the total (owners only).
class frmNilaiStok : public SheetWindow {
    Q_OBJECT
public:
    explicit frmNilaiStok(QWidget* parent = nullptr);
    void DoGetList();
};
