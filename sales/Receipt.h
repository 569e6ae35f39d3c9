#pragma once

#include "sales/SalesStore.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The customer's receipt as lines of text for a receipt printer of a given
// width: the shop, the sale, the goods with their prices, the total, the
// discount and the amount to pay. Amounts are whole rupiah in the regional
// format, right-aligned to the line's end; nothing is longer than the line, and
// a long name or address goes on in the following lines.
namespace Receipt {

// Characters on one line of the paper: 58 mm holds 32, 80 mm holds 48.
int columnsFor(int paperMm);

struct Shop {
    QString name;
    QString address; // no line when empty
};

// How a visit was paid, for the lines under its total.
struct Paid {
    double amountToPay = 0; // whole rupiah
    double rounding = 0;    // amountToPay less the items' total
    QString method;
    bool cash = false;
    double received = 0, change = 0;
};

// The receipt of a visit: its items (the first one's number is the receipt's),
// the total before discount, the discounts, the rounding, the amount to pay and
// how it was paid. printedAt gives the time of day (a sale records only its
// date); a receipt printed on a later day names both days.
QStringList lines(const QList<SalesStore::ReceiptSale>& items, const std::optional<Paid>& paid,
                  const Shop& shop, int columns, const QDateTime& printedAt);

// The receipt of a sale of its own: a visit of one item, its payment unknown.
QStringList lines(const SalesStore::ReceiptSale& sale, const Shop& shop, int columns,
                  const QDateTime& printedAt);

} // namespace Receipt
