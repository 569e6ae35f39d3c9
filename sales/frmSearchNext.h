#pragma once

#include "sales/SalesStore.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableView;
class RowSetModel;

// Every purchase of one customer, newest first, under the customer's details.
// Read-only.
class frmSearchNext : public QDialog {
    Q_OBJECT
public:
    explicit frmSearchNext(QWidget* parent = nullptr);

    // The customer whose purchases are listed; the opener sets it before showing.
    void setCustomer(const SalesStore::Customer& customer);

    QLabel* lblIDCust_i;
    QLabel* lblNama_i;
    QLabel* lblAlamat_i;
    QLabel* lblNoTelp_i;
    QTableView* dtGridNext;
    QPushButton* cmdQuit;

protected:
    // Each showing lists the purchases again.
    void showEvent(QShowEvent* event) override;

private:
    void DoGetList();

    RowSetModel* m_model;
    int m_idCust = 0;
};
