#pragma once

#include "analysis/AnalysisStore.h"
#include "ui/GridColumns.h"

#include <QDialog>

class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QSpinBox;
class QTableView;
QT_BEGIN_NAMESPACE
class QChartView;
QT_END_NAMESPACE

// The owner's sales analysis: a period (from, to, or a quick pick), a grouping
// (variant, bottle type, cashier, payment, customer, weekday, hour), the table
// of that grouping beside the same period a year before, and two charts: the
// takings per day (per month for a longer period) and the top variants. Cost
// and margin columns only for those who may see costs.
class frmAnalisa : public QDialog {
    Q_OBJECT
public:
    explicit frmAnalisa(QWidget* parent = nullptr);

    QComboBox* cmbPilih;   // quick picks
    QDateEdit* dtpDari;
    QDateEdit* dtpSampai;
    QComboBox* cmbKelompok;
    QSpinBox* spnTop;      // how many customers
    QPushButton* cmdTampil;
    QTableView* dtGridAnalisa;
    QLabel* lblTotal_i;
    QLabel* lblLalu_i;
    QChartView* chvPenjualan;
    QChartView* chvVariant;
    QPushButton* cmdPdf;
    QPushButton* cmdCsv;
    QPushButton* cmdQuit;

    // The quick picks, by position in cmbPilih, for `today`.
    static AnalysisStore::Range quickRange(int pick, const QDate& today);
    // Reads the period and the grouping and shows the table and the charts.
    void DoGetList();
    AnalysisStore::Range range() const;

private:
    AnalysisStore::Grouping grouping() const;
    QList<GridColumn> columns() const;
    void refresh();
    QString fileBase() const;

    RowSetModel* m_model;
    QSortFilterProxyModel* m_sorted;
    bool m_cost = false;
    bool m_picking = false;
};
