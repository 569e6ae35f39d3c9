#include "SalesSummary.h"

#include "core/Db.h"

#include <QStringList>

namespace SalesSummary {

void rebuild()
{
    struct Grouping {
        int kind;
        const char* key;    // ringkasan_kunci
        const char* author; // ringkasan_author
    };
    static const Grouping groupings[] = {
        {AllSales, "0", "''"},
        {PerVariant, "coalesce(sales_idvariant, 0)", "''"},
        {PerBottle, "coalesce(sales_idbotol, 0)", "''"},
        {PerCashier, "0", "coalesce(sales_author, '')"},
        {PerCustomer, "coalesce(sales_idcust, 0)", "''"},
    };
    static const char* periods[] = {"coalesce(sales_date, '')",
                                    "substr(coalesce(sales_date, ''), 1, 7)",
                                    "substr(coalesce(sales_date, ''), 1, 4)"};
    Db::exec(QStringLiteral("DELETE FROM tvr_ringkasan"));
    for (const Grouping& g : groupings) {
        for (int unit = Day; unit <= Year; ++unit) {
            // Customers are kept by month and year only: by day each sale
            // would be a total of its own.
            if (g.kind == PerCustomer && unit == Day)
                continue;
            // Constants are left out of GROUP BY, where a number names a column.
            QStringList groupBy = {QString::fromLatin1(periods[unit])};
            for (const char* e : {g.key, g.author})
                if (e[0] != '0' && e[0] != '\'')
                    groupBy << QString::fromLatin1(e);
            Db::exec(QStringLiteral(
                         "INSERT INTO tvr_ringkasan (ringkasan_jenis, ringkasan_satuan, "
                         "ringkasan_periode, ringkasan_kunci, ringkasan_author, ringkasan_jumlah, "
                         "ringkasan_ml, ringkasan_harga, ringkasan_total, ringkasan_pokok) "
                         "SELECT %1, %2, %3, %4, %5, COUNT(*), SUM(coalesce(sales_mililiter, 0)), "
                         "SUM(coalesce(sales_hargatotal, 0)), SUM(coalesce(sales_hargadiskon, 0)), "
                         "SUM(coalesce(sales_pokok, 0)) FROM tvr_sales GROUP BY %6")
                         .arg(g.kind)
                         .arg(unit)
                         .arg(QString::fromLatin1(periods[unit]), QString::fromLatin1(g.key),
                              QString::fromLatin1(g.author), groupBy.join(QStringLiteral(", "))));
        }
    }
}

} // namespace SalesSummary
