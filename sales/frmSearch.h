#pragma once

#include "core/Db.h"
#include "sales/SearchStore.h"

#include <QDialog>
#include <QList>
#include <QPointer>

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class RowSetModel;
class frmTransaksi;

// Finds customers by a part of their number, name or address and lists the
// matches page by page. Space on a match shows its purchase history; Enter
// hands its number to the sales window the search was opened from, if any.
class frmSearch : public QDialog {
    Q_OBJECT
public:
    // `sales`: the sales window that receives the customer chosen with Enter.
    explicit frmSearch(QWidget* parent = nullptr, frmTransaksi* sales = nullptr);

    QComboBox* cmbSearchBy;
    QLineEdit* txtKataKunci;
    QPushButton* cmdSearch;
    QTableView* dtGridSearch;
    QLabel* lblPage_i;
    QList<QPushButton*> cmdNavigasi; // "<<", "<", ">", ">>"
    QPushButton* cmdQuit;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void cmdSearch_Click();
    void cmdNavigasi_Click(int index);
    void DoGetList();
    void showHistory(int row);
    void handOver(int row);

    RowSetModel* m_model;
    QPointer<frmTransaksi> m_sales;

    // The search in force: nothing before the first one.
    std::optional<SearchStore::Search> m_search;
    int m_shownPage = 0;
    // The count is a lower bound: the pages go as far as it reaches and the
    // page text says "of n+".
    bool m_countExact = true;
};
