#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// How a customer pays, and the money of the till: no widgets, no database.

// A way of paying the shop accepts. Cash is counted in the drawer; every other
// method is paid exactly.
struct PaymentMethod {
    QString name;
    bool cash = false;
};

// The methods named in cfg.cae, in their order; "Tunai" in any letter case is
// the cash.
QList<PaymentMethod> paymentMethods(const QStringList& names);

// A payment taken: for cash what was handed over and the change; for other
// methods received is the amount paid.
struct Payment {
    QString method;
    bool cash = false;
    double received = 0;
    double change = 0;
};

enum class PaymentCheck {
    Ok,
    NoMethod, // no method chosen
    Short,    // less cash than the amount to pay
};

// Checks a payment of `amountToPay` by `method` with `received` handed over
// (ignored for methods other than cash) and, when it is Ok, fills `payment`.
PaymentCheck checkPayment(double amountToPay, const PaymentMethod& method, double received,
                          Payment* payment);

// The refusal's words, naming the amount to pay.
QString paymentCheckText(PaymentCheck check, double amountToPay);

// The amount rounded to the nearest multiple of `step` rupiah (halves up);
// a step below 1 means whole rupiah. Worked in whole cents, so 0,5 always
// rounds the same way whatever its binary form.
double roundToStep(double amount, double step);
