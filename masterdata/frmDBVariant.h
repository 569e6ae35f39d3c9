#pragma once

#include "masterdata/RegisterWindow.h"

class QGroupBox;
class QLineEdit;
class QTableView;

// The register of perfume concentrates: a paged list by code with an editor
// above it. Typing the code of an existing variant puts the editor in
// "Update" mode for that variant; Delete in the list removes a variant with
// its sales and ledger rows.
class frmDBVariant : public RegisterWindow {
    Q_OBJECT
public:
    explicit frmDBVariant(QWidget* parent = nullptr);

    QGroupBox* fraVariant;
    QLineEdit* txtKode;
    QLineEdit* txtNama;
    QLineEdit* txtHargaVariant;
    // Cost price and minimum stock: shown to those who may see costs. Reached
    // by a click or their label's key, so Enter on the price still goes to Submit.
    QLineEdit* txtPokok;
    QLineEdit* txtMinimum;
    QTableView* dtGridVariants = m_grid;

    void DoFirstSetNav() override;
    void DoGetVariants() { showPage(); }
    void DoGetVariant(const QString& code);
    void DoSubmitVariant(const QString& mode);

protected:
    RowSet readPage(const PagePlan& plan) override;
    void fillEditor(int row) override;
    void clearEditor() override;
    void cmdSubmit_Click() override;
    bool isReferenced(int id) override;
    RegisterStore::Outcome deleteRow(int id) override;
    QString typedKey() const override;
};
