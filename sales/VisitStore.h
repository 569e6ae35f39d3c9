#pragma once

#include "payments/ShiftStore.h"
#include "sales/SalesStore.h"
#include "sales/Visit.h"

#include <QList>

// Writes a paid visit: every item as a sale row with its stock moves, the visit
// with its total, rounding and amount to pay, the link of each sale row to it
// and its payment, all in one transaction.
namespace VisitStore {

// Done, or why nothing was written: a customer, variant or bottle type gone,
// too little stock for one of the items, or the shift closed meanwhile.
struct Result {
    SalesStore::Outcome sale = SalesStore::Outcome::Done;
    ShiftStore::Outcome shift = ShiftStore::Outcome::Done;
    bool done() const
    {
        return sale == SalesStore::Outcome::Done && shift == ShiftStore::Outcome::Done;
    }
    QString text() const;
};

struct NewVisit {
    qint64 idShift = 0; // the open shift of the till
    int idCust = 0; // 0: the customer is created from `customer` with the first item
    SalesStore::NewCustomer customer;
    Visit visit; // paid
};

struct Saved {
    qint64 idVisit = 0;
    QList<qint64> idSales; // in the order of the visit's items
};

Result recordVisit(const NewVisit& visit, Saved* saved);

// The visit a sale row belongs to; 0 for a sale recorded on its own (as every
// sale before visits were kept).
qint64 visitOf(qint64 idSales);

// The method the visit of a sale was paid by; empty when unknown.
QString methodOf(qint64 idSales);

// A correction or deletion of an item keeps the books true: inside the same
// transaction the difference between what the customer owes now (the visit's
// remaining items rounded to `step`) and what was paid so far is recorded as a
// payment by `method` in the till's open shift `idShift` (never in the shift of
// the visit when that one is closed): negative when money went back to the
// customer. The visit's own payment is never rewritten. `difference` gets that
// amount.
Result correctItem(qint64 idSales, const SalesStore::Amounts& amounts,
                   const PaymentMethod& method, qint64 idShift, double step, double* difference);
Result deleteItem(qint64 idSales, const PaymentMethod& method, qint64 idShift, double step,
                  double* difference);

// What a visit's receipt names: each item as a sale's receipt does, in the
// order entered, and how the visit was paid. No items when the visit is gone.
struct ReceiptVisit {
    QList<SalesStore::ReceiptSale> items;
    double amountToPay = 0, rounding = 0;
    Payment payment;
};
std::optional<ReceiptVisit> receiptVisit(qint64 idVisit);

// Takings of one day per payment method: what went into the drawer or account
// less what was paid out, by method name.
QList<QPair<QString, double>> takingsByMethod(const QString& date);

} // namespace VisitStore
