#include "Receipt.h"

#include "core/Regional.h"

#include <cmath>

namespace Receipt {

namespace {

const QString DateFormat = QStringLiteral("dd/MM/yyyy");

// One line of text no longer than the line; a cut leaves no blank at the end.
QString cut(const QString& text, int columns)
{
    QString t = text.left(columns);
    while (t.endsWith(QLatin1Char(' ')))
        t.chop(1);
    return t;
}

// A name from the register or the settings on one line: tabs and runs of blanks as one blank.
QString clean(const QString& text)
{
    return text.simplified();
}

QString centred(const QString& text, int columns)
{
    const QString t = cut(clean(text), columns);
    return QString((columns - t.size()) / 2, QLatin1Char(' ')) + t;
}

// A label and its value, every colon in the same column with a blank before
// it, as wide as the longest label ("Pelanggan") needs: "Kasir     : Ani".
QString field(const QString& label, const QString& value, int columns)
{
    constexpr int LabelWidth = 10;
    return cut(label.leftJustified(LabelWidth) + QStringLiteral(": ") + clean(value), columns);
}

// Text on the left, an amount flush with the line's end; the text gives way.
QString row(const QString& left, const QString& right, int columns)
{
    const int room = std::max(0, columns - int(right.size()) - 1);
    return (cut(left, room).leftJustified(room) + QLatin1Char(' ') + right).right(columns);
}

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

QStringList lines(const SalesStore::ReceiptSale& sale, const Shop& shop, int columns,
                  const QDateTime& printedAt)
{
    const QString rule(columns, QLatin1Char('-'));
    QStringList out;
    if (!shop.name.trimmed().isEmpty())
        out << centred(shop.name, columns);
    if (!shop.address.trimmed().isEmpty())
        out << centred(shop.address, columns);
    out << rule;

    out << field(QStringLiteral("No. Nota"), QString::number(sale.id), columns);
    const QString printedTime = printedAt.toString(QStringLiteral("HH:mm"));
    if (sale.date == printedAt.date()) {
        out << field(QStringLiteral("Tanggal"),
                     sale.date.toString(DateFormat) + QLatin1Char(' ') + printedTime, columns);
    } else {
        out << field(QStringLiteral("Tanggal"), sale.date.toString(DateFormat), columns);
        out << field(QStringLiteral("Dicetak"),
                     printedAt.date().toString(DateFormat) + QLatin1Char(' ') + printedTime,
                     columns);
    }
    out << field(QStringLiteral("Kasir"), sale.cashier, columns);
    out << field(QStringLiteral("Pelanggan"), sale.custNomor + QLatin1Char(' ') + sale.custNama,
                 columns);
    out << rule;

    out << cut(clean(sale.variantKode + QLatin1Char(' ') + sale.variantNama), columns);
    out << row(QStringLiteral("%1 ml x %2")
                   .arg(millilitres(sale.mililiter), Regional::whole(sale.hargaVariant)),
               Regional::whole(sale.mililiter * sale.hargaVariant), columns);
    if (!sale.refill)
        out << row(QStringLiteral("Botol ") + clean(sale.botolTipe),
                   Regional::whole(sale.hargaBotol), columns);
    out << rule;

    out << row(QStringLiteral("Total"), Regional::whole(sale.hargaTotal), columns);
    if (sale.diskon != 0)
        out << row(QStringLiteral("Diskon %1%").arg(Regional::plain(sale.diskon)),
                   Regional::whole(sale.hargaDiskon - sale.hargaTotal), columns);
    out << row(QStringLiteral("Bayar"), Regional::whole(sale.hargaDiskon), columns);
    out << rule;
    out << centred(QStringLiteral("Terima kasih"), columns);
    return out;
}

} // namespace Receipt
