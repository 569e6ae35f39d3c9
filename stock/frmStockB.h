#pragma once

#include "stock/StockWindow.h"

class QLabel;
class QTableView;

// Manual stock operations on bottles: the bottle types (never the refill
// type) with their stock in whole bottles and the ledger of the selected type.
class frmStockB : public StockWindow {
    Q_OBJECT
public:
    explicit frmStockB(QWidget* parent = nullptr);

    QTableView* dtGridBotols = m_list;
    QTableView* dtGridBotol = m_ledger;
    QLabel* lblTipe_i = m_itemLabels.at(0);
    QLabel* lblPage_i = m_pageLabel;

    void DoGetBotols() { loadItems(); }
    void DoGetBotol(qint64 id) { loadLedger(id); }
    void DoFirstSetNav(qint64 id) { countLedger(id); }
    bool DoSubmit(const QString& reason) { return submitOperation(reason); }
};
