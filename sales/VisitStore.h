#pragma once

#include "sales/SalesStore.h"
#include "sales/Visit.h"

#include <QList>

// Writes a paid visit: every item as a sale row with its stock moves, the visit
// with its total, rounding and amount to pay, the link of each sale row to it
// and its payment, all in one transaction.
namespace VisitStore {

struct NewVisit {
    int idCust = 0; // 0: the customer is created from `customer` with the first item
    SalesStore::NewCustomer customer;
    Visit visit; // paid
};

struct Saved {
    qint64 idVisit = 0;
    QList<qint64> idSales; // in the order of the visit's items
};

// Done, or why nothing was written (a customer, variant or bottle type gone,
// or too little stock for one of the items).
SalesStore::Outcome recordVisit(const NewVisit& visit, Saved* saved);

// Takings of one day per payment method: what went into the drawer or account
// less what was paid out, by method name.
QList<QPair<QString, double>> takingsByMethod(const QString& date);

} // namespace VisitStore
