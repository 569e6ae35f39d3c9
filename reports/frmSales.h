#pragma once

#include "reports/ReportLayout.h"
#include "reports/ReportStore.h"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTableView;
class RowSetModel;

// The sales report: what was sold over a year, a month or a day, on screen,
// on the printer, as a PDF file or as a CSV file. The window only reads.
//
// A year is chosen first, then optionally a month, then optionally a day;
// choosing a coarser period again clears the finer choices, so the report
// shown always matches its title.
class frmSales : public QDialog {
    Q_OBJECT
public:
    explicit frmSales(QWidget* parent = nullptr);

    QGroupBox* fraSalesDate;
    QComboBox* cmbTahun;
    QComboBox* cmbBulan;
    QComboBox* cmbTanggal;
    QLabel* lblPreview_1;
    QLabel* lblPreview_2;
    QTableView* dtGridSales;
    QLabel* lblJumlahml;
    QLabel* lblJumlahml_i;
    QLabel* lblValue;
    QLabel* lblValue_i;
    QPushButton* cmdPrint;
    QPushButton* cmdPdf;
    QPushButton* cmdCsv;
    QPushButton* cmdQuit;

    // The report on screen as the printed page and the files show it.
    ReportLayout::Page currentPage() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();

    void cmbTahun_Click();
    void cmbBulan_Click();
    void cmbTanggal_Click();
    void cmdPrint_Click();
    void cmdPdf_Click();
    void cmdCsv_Click();

    ReportStore::Period selectedPeriod() const;
    void showPeriod();
    void DoGetList();
    // DoGetList, with a failure reported and an empty report left on screen.
    void refresh();
    bool reportIsEmpty() const;

    RowSetModel* m_model;
    ReportStore::Report m_report;
};
