#include "LowStock.h"

#include "core/Db.h"
#include "core/Globals.h"
#include "core/Regional.h"

#include <QHash>

#include <algorithm>

namespace LowStock {

namespace {
std::optional<int> lastTold;

void tell(bool always)
{
    if (!Db::isOpen() || Db::inTransaction())
        return;
    Counts c;
    try {
        c = count();
    } catch (const DbError&) {
        return; // the count waits for the next save; the save itself went through
    }
    if (!always && lastTold && *lastTold == c.total())
        return;
    lastTold = c.total();
    emit watch()->changed(c);
}
} // namespace

Counts count()
{
    const RowSet rs = Db::select(
        QStringLiteral("SELECT (SELECT COUNT(*) FROM tvr_dtvariant WHERE variant_minimum > 0 "
                       "AND variant_stock < variant_minimum), "
                       "(SELECT COUNT(*) FROM tvr_dtbotol WHERE botol_minimum > 0 "
                       "AND botol_stock < botol_minimum AND botol_tipe <> ?)"),
        {RefillBottleType});
    if (rs.isEmpty())
        return {};
    return Counts{rs.value(0, 0).toInt(), rs.value(0, 1).toInt()};
}

QString statusText(const Counts& counts)
{
    if (counts.total() == 0)
        return {};
    return QStringLiteral("Stok di bawah minimum: %1 variant, %2 tipe botol "
                          "(Analisa > Daftar Pesan Ulang)")
        .arg(counts.variants)
        .arg(counts.bottles);
}

QList<ReorderLine> reorderList(const QDate& today)
{
    QList<ReorderLine> out;
    const RowSet v = Db::select(QStringLiteral(
        "SELECT idvariant, variant_kode, variant_nama, variant_stock, variant_minimum "
        "FROM tvr_dtvariant WHERE variant_minimum > 0 AND variant_stock < variant_minimum"));
    for (const QVariantList& r : v.rows)
        out << ReorderLine{QStringLiteral("Variant"), r.at(0).toInt(), r.at(1).toString(),
                           r.at(2).toString(), r.at(3).toDouble(), r.at(4).toDouble(), 0, std::nullopt};
    const RowSet b = Db::select(QStringLiteral("SELECT idbotol, botol_tipe, botol_stock, botol_minimum "
                                               "FROM tvr_dtbotol WHERE botol_minimum > 0 "
                                               "AND botol_stock < botol_minimum AND botol_tipe <> ?"),
                                {RefillBottleType});
    for (const QVariantList& r : b.rows)
        out << ReorderLine{QStringLiteral("Botol"), r.at(0).toInt(), r.at(1).toString(), QString(),
                           r.at(2).toDouble(), r.at(3).toDouble(), 0, std::nullopt};
    if (out.isEmpty())
        return out;

    // What sold over the 30 days, from the summary's day rows: millilitres of
    // a variant, sales (one bottle each) of a bottle type.
    const QVariantList window{Regional::dateText(today.addDays(-29)), Regional::dateText(today)};
    QHash<int, double> variantSold, bottleSold;
    for (const auto& [kind, sold] : {std::pair{1, &variantSold}, std::pair{2, &bottleSold}}) {
        const RowSet rs = Db::select(
            QStringLiteral("SELECT ringkasan_kunci, SUM(ringkasan_ml), SUM(ringkasan_jumlah) "
                           "FROM tvr_ringkasan WHERE ringkasan_jenis = ? AND ringkasan_satuan = 0 "
                           "AND ringkasan_periode BETWEEN ? AND ? GROUP BY ringkasan_kunci"),
            QVariantList{kind} + window);
        for (const QVariantList& r : rs.rows)
            sold->insert(r.at(0).toInt(), kind == 1 ? r.at(1).toDouble() : r.at(2).toDouble());
    }
    for (ReorderLine& l : out) {
        const bool variant = l.jenis == QLatin1String("Variant");
        l.perDay = (variant ? variantSold : bottleSold).value(l.id) / 30.0;
        if (l.perDay > 0)
            l.daysLeft = std::max(0.0, l.stock) / l.perDay;
    }
    std::stable_sort(out.begin(), out.end(), [](const ReorderLine& a, const ReorderLine& b) {
        if (a.daysLeft.has_value() != b.daysLeft.has_value())
            return a.daysLeft.has_value();
        if (a.daysLeft && *a.daysLeft != *b.daysLeft)
            return *a.daysLeft < *b.daysLeft;
        return a.kode.compare(b.kode, Qt::CaseInsensitive) < 0;
    });
    return out;
}

Watch* watch()
{
    static Watch* w = new Watch;
    return w;
}

void saved()
{
    tell(false);
}

void recount()
{
    tell(true);
}

} // namespace LowStock
