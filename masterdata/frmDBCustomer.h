#pragma once

#include "masterdata/RegisterWindow.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QTableView;

// The register of customers, browsed by the first letter of the name (27
// letter labels "A" to "Z" and "..."), newest first, page by page, with an
// editor above. Typing an existing customer number puts the editor in
// "Update" mode for that customer; Delete in the list removes a customer
// with its sales, giving their stock back.
class frmDBCustomer : public RegisterWindow {
    Q_OBJECT
public:
    explicit frmDBCustomer(QWidget* parent = nullptr);

    QGroupBox* fraCustomer;
    QLineEdit* txtNoCust;
    QLineEdit* txtNama;
    QLineEdit* txtAlamat;
    QLineEdit* txtNoTelp;
    QList<QLabel*> lblAbjad;
    QTableView* dtGridCustomers = m_grid;

    // The letter on show: "a" .. "z", or "..." for every name that does not
    // begin with a letter A to Z.
    QString selAbjad = QStringLiteral("a");

    static QColor selectedLetterColor() { return QColor(128, 0, 0); }
    static QColor pointedLetterColor() { return QColor(255, 0, 0); }

    void DoFirstSetNav() override;
    void DoGetCustomers() { showPage(); }
    void DoGetCustomer(const QString& number);
    void DoSubmitCustomer(const QString& mode);

protected:
    RowSet readPage(const PagePlan& plan) override;
    void fillEditor(int row) override;
    void clearEditor() override;
    void cmdSubmit_Click() override;
    bool isReferenced(int id) override;
    RegisterStore::Outcome deleteRow(int id) override;
    QString typedKey() const override;
    QString pageCaption() const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void lblAbjad_Click(int index);
    void paintLetters(int pointed);
};
