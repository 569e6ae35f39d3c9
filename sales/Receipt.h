#pragma once

#include "sales/SalesStore.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

// The customer's receipt as lines of text for a receipt printer of a given
// width: the shop, the sale, the goods with their prices, the total, the
// discount and the amount to pay. Amounts are whole rupiah in the regional
// format, right-aligned to the line's end; nothing is longer than the line.
namespace Receipt {

// Characters on one line of the paper: 58 mm holds 32, 80 mm holds 48.
int columnsFor(int paperMm);

struct Shop {
    QString name;
    QString address; // no line when empty
};

// printedAt gives the time of day (the sale itself records only its date);
// a receipt printed on a later day names both days.
QStringList lines(const SalesStore::ReceiptSale& sale, const Shop& shop, int columns,
                  const QDateTime& printedAt);

} // namespace Receipt
