#include "ReportStore.h"

#include "core/Db.h"
#include "core/SalesSummary.h"

#include <QMap>

#include <algorithm>

namespace ReportStore {

namespace {

// The first text after every text that starts with `prefix`: "2026" -> "2027",
// "2026-03" -> "2026-04". [prefix, upper) is exactly "starts with prefix".
QString prefixUpperBound(const QString& prefix)
{
    QString upper = prefix;
    upper.back() = QChar(upper.back().unicode() + 1);
    return upper;
}

// The sales of one day in order of entry. The customer is joined from the
// left so that a sale whose customer row is gone is still listed.
Report dailyReport(const Period& period)
{
    const RowSet rs = Db::select(
        QStringLiteral("SELECT s.idsales, c.cust_nama, s.sales_mililiter, s.sales_hargadiskon "
                       "FROM tvr_sales s LEFT JOIN tvr_customer c ON c.idcust = s.sales_idcust "
                       "WHERE s.sales_date = ? ORDER BY s.idsales ASC"),
        {period.key()});
    Report r;
    r.period = period;
    r.lines.reserve(rs.size());
    for (const QVariantList& row : rs.rows)
        r.lines << Line{row.at(0).toLongLong(), row.at(1).toString(), row.at(2).toDouble(),
                        row.at(3).toDouble()};
    return r;
}

// Days of a month or months of a year, from the totals the database keeps
// per day and per month (tvr_ringkasan, all sales): at most 31 rows, however
// many sales the period holds. A total whose count fell to 0 stays behind
// after its sales were deleted and is left out like a day without sales.
Report groupedReport(const Period& period)
{
    const QString from = period.key();
    const bool monthly = period.mode() == Mode::Monthly;
    const RowSet rs = Db::select(
        QStringLiteral("SELECT ringkasan_periode, ringkasan_ml, ringkasan_total FROM tvr_ringkasan "
                       "WHERE ringkasan_jenis = ? AND ringkasan_satuan = ? "
                       "AND ringkasan_periode >= ? AND ringkasan_periode < ? "
                       "AND ringkasan_kunci = 0 AND ringkasan_author = '' AND ringkasan_jumlah > 0 "
                       "ORDER BY ringkasan_periode ASC"),
        {int(SalesSummary::AllSales), int(monthly ? SalesSummary::Day : SalesSummary::Month), from,
         prefixUpperBound(from)});
    QMap<QString, Line> byLabel;
    for (const QVariantList& row : rs.rows) {
        const QString periode = row.at(0).toString();
        const QString label = monthly ? periode.right(2) : periode.left(7);
        Line& line = byLabel[label];
        line.label = label;
        line.mililiter += row.at(1).toDouble();
        line.value += row.at(2).toDouble();
    }
    Report r;
    r.period = period;
    r.lines = byLabel.values();
    return r;
}

} // namespace

QString Period::key() const
{
    QString k = QStringLiteral("%1").arg(year, 4, 10, QLatin1Char('0'));
    if (month > 0)
        k += QStringLiteral("-%1").arg(month, 2, 10, QLatin1Char('0'));
    if (month > 0 && day > 0)
        k += QStringLiteral("-%1").arg(day, 2, 10, QLatin1Char('0'));
    return k;
}

Report report(const Period& period)
{
    Report r = period.mode() == Mode::Daily ? dailyReport(period) : groupedReport(period);
    for (const Line& line : r.lines) {
        r.totalMililiter += line.mililiter;
        r.totalValue += line.value;
    }
    return r;
}

QList<int> years(int currentYear)
{
    QList<int> found{currentYear};
    // One index seek per year: the first sale on or after the start of the
    // next year, so the list costs as much for ten years of sales as for one.
    QString from = QStringLiteral("0000");
    for (int guard = 0; guard < 10000; ++guard) {
        const QString first =
            Db::scalar(QStringLiteral("SELECT MIN(sales_date) FROM tvr_sales WHERE sales_date >= ?"),
                       {from})
                .toString();
        bool ok = false;
        const int year = first.left(4).toInt(&ok);
        // Dates are "yyyy-MM-dd": the four-digit years sort before any other text.
        if (first.isEmpty() || !ok || year < 0 || year > 9998)
            break;
        if (year > 0 && !found.contains(year))
            found << year;
        from = QStringLiteral("%1").arg(year + 1, 4, 10, QLatin1Char('0'));
    }
    std::sort(found.begin(), found.end(), std::greater<int>());
    return found;
}

} // namespace ReportStore
