#pragma once

#include "stock/StockStore.h"
#include "ui/GridColumns.h"

#include <QDialog>
#include <QList>
#include <QString>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

// What makes one stock window differ from the other.
struct StockWindowConfig {
    // A label showing a column of the selected item, with its caption beside it.
    struct ItemLabel {
        QString caption; // "Kode :"
        QString name;    // object name, "lblKode_i"
        QString column;  // "variant_kode"
    };

    StockStore::Item item = StockStore::Item::Variant;
    QString name;    // object name of the window
    QString caption; // window caption, also the title of the closing message
    QString listName;
    QList<GridColumn> listColumns;
    QString idColumn;
    QString stockColumn;
    QList<ItemLabel> itemLabels;
    QString ledgerName;
    QString pageLabelName;
    QString pageSuffix; // after "Page n of m"
    bool decimals = true; // millilitres with two decimals; bottles in whole numbers
    QString savedText;
    QString deleteTitle;
    QString deletedText;
};

// The stock window of concentrate variants and of bottle types: the items with
// their stock, the live ledger of the selected item page by page (newest
// first), an addition or a reduction with its reason, deletion of the top
// ledger row of the page with its reversal, and the reset to zero.
class StockWindow : public QDialog {
    Q_OBJECT
public:
    QLabel* lblStockAwal_i;
    QLabel* lblStockAkhir_i;
    QLabel* lblMililiter;
    QPushButton* cmdOperasi;
    QLineEdit* txtOperasi;
    QPushButton* cmdSubmit;
    QPushButton* cmdReset;
    QList<QPushButton*> cmdNavigasi; // "<<", "<", ">", ">>"
    QLabel* lblPesan;
    QPushButton* cmdQuit;

    // The item the list stands on, if any.
    std::optional<qint64> selectedId() const;

protected:
    StockWindow(const StockWindowConfig& config, QWidget* parent);

    // Reloads the item list.
    void loadItems();
    // Loads page NavCurrentPage of the ledger of item `id` and the page label.
    void loadLedger(qint64 id);
    // Counts the live ledger of item `id` into NavRecordCount.
    void countLedger(qint64 id);
    // Writes the operation on screen for the selected item. False when
    // nothing was written; the reason has been shown.
    bool submitOperation(const QString& reason);

    bool eventFilter(QObject* watched, QEvent* event) override;
    // Activation reads the stored stock of the selected item again.
    bool event(QEvent* event) override;

    QTableView* m_list;
    QTableView* m_ledger;
    QLabel* m_pageLabel;
    QList<QLabel*> m_itemLabels;

private:
    void buildControls();
    void restart();
    void selectItem(int row);
    // Reloads the list and selects item `id` again (or the row `row` when it
    // is gone), so the labels and the ledger show what is stored now.
    void refreshItem(qint64 id, int row);
    // Reads the stored stock of the selected item again and shows it (the
    // list, Stock Awal and Stock Akhir), keeping the amount typed. False when
    // it could not be read.
    bool rereadStock();
    QList<GridColumn> ledgerColumns() const;
    void showReason();
    void recompute();
    QString number(double value) const;
    bool isReduction() const;

    void cmdOperasi_Click();
    void cmdSubmit_Click();
    void cmdReset_Click();
    void cmdNavigasi_Click(int index);
    void deleteTopEntry();
    // Says why a ledger row was not deleted.
    void refuseDeletion(StockStore::Outcome outcome, double order);

    StockWindowConfig m_config;
    RowSetModel* m_listRows;
    RowSetModel* m_ledgerRows;
    double m_stockAwal = 0; // stored stock of the selected item as last read
    qint64 m_ledgerItem = 0;
    int m_shownPage = 0; // ledger page on show, 0 for none
    bool m_loading = false;
    bool m_skipActivation = false;
};
