#pragma once

#include "payments/Payment.h"

#include <QDialog>
#include <QList>

class QLabel;
class QLineEdit;
class QPushButton;

// Payment of an amount: the amount to pay in large figures, the method (F1, F2 ...
// choose one; the first is chosen on opening) and, for cash, the amount handed
// over with the change shown at every key. Enter pays; Enter on an empty amount
// is the exact amount. A short payment is refused beside the amount, without a
// box, so the keys typed next stay in the field. Accepted only with a payment
// that covers the amount.
class frmBayar : public QDialog {
    Q_OBJECT
public:
    // total: of the items, rounding: the amount to pay less the total.
    frmBayar(double total, double rounding, double amountToPay,
             const QList<PaymentMethod>& methods, QWidget* parent = nullptr);

    // The payment taken when the window was accepted.
    const Payment& payment() const { return m_payment; }

    QLabel* lblTotal_i;
    QLabel* lblPembulatan_i;
    QLabel* lblBayar_i;
    QList<QPushButton*> cmdMetode; // cmdMetode_0 ...
    QLineEdit* txtDiterima;
    QLabel* lblKembali_i;
    QLabel* lblPesan;
    QPushButton* cmdBayar;
    QPushButton* cmdBatal;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void chooseMethod(int index);
    void showChange();
    void cmdBayar_Click();

    double m_amountToPay = 0;
    Payment m_payment;
    bool m_paid = false;
    QList<PaymentMethod> m_methods;
    int m_method = 0;
};
