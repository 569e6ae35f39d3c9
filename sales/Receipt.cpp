#include "Receipt.h"

#include "core/Regional.h"
#include "ui/PaperText.h"

#include <cmath>

namespace Receipt {

using namespace PaperText;

namespace {

const QString DateFormat = QStringLiteral("dd/MM/yyyy");

// Millilitres as typed: 10, 2,5, 7,25.
QString millilitres(double ml)
{
    return Regional::plain(std::round(ml * 100) / 100);
}

} // namespace

int columnsFor(int paperMm)
{
    return paperMm >= 80 ? 48 : 32;
}

QStringList lines(const QList<SalesStore::ReceiptSale>& items, const std::optional<Paid>& paid,
                  const Shop& shop, int columns, const QDateTime& printedAt)
{
    if (items.isEmpty())
        return {};
    const SalesStore::ReceiptSale& first = items.first();
    const QString rule(columns, QLatin1Char('-'));
    QStringList out;
    if (!shop.name.trimmed().isEmpty())
        out << centredLines(shop.name, columns);
    if (!shop.address.trimmed().isEmpty())
        out << centredLines(shop.address, columns);
    out << rule;

    out << field(QStringLiteral("No. Nota"), QString::number(first.id), columns);
    const QString printedTime = printedAt.toString(QStringLiteral("HH:mm"));
    if (first.date == printedAt.date()) {
        out << field(QStringLiteral("Tanggal"),
                     first.date.toString(DateFormat) + QLatin1Char(' ') + printedTime, columns);
    } else {
        out << field(QStringLiteral("Tanggal"), first.date.toString(DateFormat), columns);
        out << field(QStringLiteral("Dicetak"),
                     printedAt.date().toString(DateFormat) + QLatin1Char(' ') + printedTime,
                     columns);
    }
    out << fieldLines(QStringLiteral("Kasir"), first.cashier, columns);
    out << fieldLines(QStringLiteral("Pelanggan"),
                      first.custNomor + QLatin1Char(' ') + first.custNama, columns);
    out << rule;

    // Discounts are the items' own; several items show each one's under it and
    // their sum under the total.
    const bool several = items.size() > 1;
    double before = 0, after = 0;
    for (const SalesStore::ReceiptSale& item : items) {
        out << wrap(item.variantKode + QLatin1Char(' ') + item.variantNama, columns);
        out << row(QStringLiteral("%1 ml x %2")
                       .arg(millilitres(item.mililiter), Regional::whole(item.hargaVariant)),
                   Regional::whole(item.mililiter * item.hargaVariant), columns);
        if (!item.refill)
            out << row(QStringLiteral("Botol ") + clean(item.botolTipe),
                       Regional::whole(item.hargaBotol), columns);
        if (several && item.diskon != 0)
            out << row(QStringLiteral("Diskon %1%").arg(Regional::plain(item.diskon)),
                       Regional::whole(item.hargaDiskon - item.hargaTotal), columns);
        before += item.hargaTotal;
        after += item.hargaDiskon;
    }
    out << rule;

    out << row(QStringLiteral("Total"), Regional::whole(before), columns);
    if (std::round((after - before) * 100) != 0)
        out << row(several ? QStringLiteral("Diskon")
                           : QStringLiteral("Diskon %1%").arg(Regional::plain(first.diskon)),
                   Regional::whole(after - before), columns);
    if (!paid) {
        out << row(QStringLiteral("Bayar"), Regional::whole(after), columns);
    } else {
        if (std::round(paid->rounding * 100) != 0)
            out << row(QStringLiteral("Pembulatan"), Regional::amount(paid->rounding), columns);
        out << row(QStringLiteral("Bayar"), Regional::whole(paid->amountToPay), columns);
        out << row(paid->method, Regional::whole(paid->received), columns);
        if (paid->cash)
            out << row(QStringLiteral("Kembali"), Regional::whole(paid->change), columns);
    }
    out << rule;
    out << centred(QStringLiteral("Terima kasih"), columns);
    return out;
}

QStringList lines(const SalesStore::ReceiptSale& sale, const Shop& shop, int columns,
                  const QDateTime& printedAt)
{
    return lines(QList<SalesStore::ReceiptSale>{sale}, std::nullopt, shop, columns, printedAt);
}

} // namespace Receipt
