#include "ReportStore.h"

#include "core/Db.h"

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

// Days of a month or months of a year. The sums are grouped by sales_date,
// which the index gives in order without a sort, and gathered here by the
// day ("dd", the last two characters) or the month ("yyyy-MM").
Report groupedReport(const Period& period)
{
    const QString from = period.key();
    const RowSet rs = Db::select(
        QStringLiteral("SELECT sales_date, SUM(sales_mililiter), SUM(sales_hargadiskon) "
                       "FROM tvr_sales WHERE sales_date >= ? AND sales_date < ? "
                       "GROUP BY sales_date ORDER BY sales_date ASC"),
        {from, prefixUpperBound(from)});
    const bool monthly = period.mode() == Mode::Monthly;
    QMap<QString, Line> byLabel;
    for (const QVariantList& row : rs.rows) {
        const QString date = row.at(0).toString();
        const QString label = monthly ? date.right(2) : date.left(7);
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
