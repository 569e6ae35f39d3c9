#pragma once

#include "stock/StockWindow.h"

class QLabel;
class QTableView;

// Manual stock operations on concentrate: the variants with their stock in
// millilitres and the ledger of the selected variant.
class frmStockC : public StockWindow {
    Q_OBJECT
public:
    explicit frmStockC(QWidget* parent = nullptr);

    QTableView* dtGridVariants = m_list;
    QTableView* dtGridVariant = m_ledger;
    QLabel* lblKode_i = m_itemLabels.at(0);
    QLabel* lblNamaVariant_i = m_itemLabels.at(1);
    QLabel* lblPage = m_pageLabel;

    void DoGetVariants() { loadItems(); }
    void DoGetVariant(qint64 id) { loadLedger(id); }
    void DoFirstSetNav(qint64 id) { countLedger(id); }
    bool DoSubmit(const QString& reason) { return submitOperation(reason); }
};
