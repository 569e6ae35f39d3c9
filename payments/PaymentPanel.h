#pragma once

#include "payments/Payment.h"

#include <QGroupBox>
#include <QList>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

// Taking the payment of an amount, inside the window that sells: the amount to
// pay in large figures, the method (a function key each, from `firstKey` on,
// anywhere in the window) and, for cash, the amount handed over with the change
// shown at every key. Enter in the amount pays; Enter on an empty amount (or 0)
// is the exact amount. A short payment is refused beside the amount, without a box,
// so the keys typed next stay in the field.
class PaymentPanel : public QGroupBox {
    Q_OBJECT
public:
    PaymentPanel(const QList<PaymentMethod>& methods, Qt::Key firstKey, QWidget* parent);

    // total: of the items; rounding: the amount to pay less the total.
    void setAmounts(double total, double rounding, double amountToPay);
    double amountToPay() const { return m_amountToPay; }
    // Chooses a method and puts the cursor in the amount.
    void chooseMethod(int index);
    // Back to no payment: the first method, nothing typed.
    void clear();
    // The payment just taken, shown until the next amounts: the change stays
    // large while the cashier hands it over.
    void showPaid(double amountToPay, const Payment& payment);
    // Asked before a method is chosen; false keeps the cursor where it is.
    void setBeforeMethod(std::function<bool()> gate) { m_beforeMethod = std::move(gate); }

    QLabel* lblTotal_i;
    QLabel* lblPembulatan_i;
    QLabel* lblBayar_i;
    QList<QPushButton*> cmdMetode; // cmdMetode_0 ...
    QLineEdit* txtDiterima;
    QLabel* lblKembali_i;
    QLabel* lblPesan;
    QPushButton* cmdBayar;

signals:
    // A method was chosen (by its key or button), before the cursor moves to the amount.
    void methodChosen(int index);
    // The payment covers the amount to pay.
    void paid(const Payment& payment);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void showChange();
    void pay();
    double received() const;

    QList<PaymentMethod> m_methods;
    int m_method = 0;
    double m_amountToPay = 0;
    std::function<bool()> m_beforeMethod;
};
