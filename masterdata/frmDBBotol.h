#pragma once

#include "masterdata/RegisterWindow.h"

class QGroupBox;
class QLineEdit;
class QTableView;

// The register of bottle types: a paged list by type, without the built-in
// refill type, with an editor above it. Typing an existing type puts the
// editor in "Update" mode for it (the refill type too: its price can be set,
// its name stays); Delete in the list removes a type with its sales and
// ledger rows.
class frmDBBotol : public RegisterWindow {
    Q_OBJECT
public:
    explicit frmDBBotol(QWidget* parent = nullptr);

    QGroupBox* fraBotol;
    QLineEdit* txtTipeBotol;
    QLineEdit* txtHargaBotol;
    // Cost price and minimum stock: shown to those who may see costs. Reached
    // by a click or their label's key, so Enter on the price still goes to Submit.
    QLineEdit* txtPokok;
    QLineEdit* txtMinimum;
    QTableView* dtGridBotols = m_grid;

    void DoFirstSetNav() override;
    void DoGetBotols() { showPage(); }
    void DoGetBotol(const QString& type);
    void DoSubmitBotol(const QString& mode);

protected:
    RowSet readPage(const PagePlan& plan) override;
    void fillEditor(int row) override;
    void clearEditor() override;
    void cmdSubmit_Click() override;
    bool isReferenced(int id) override;
    RegisterStore::Outcome deleteRow(int id) override;
    QString typedKey() const override;
    QString deleteTitle(bool referenced) const override;
};
