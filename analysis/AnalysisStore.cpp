#include "AnalysisStore.h"

#include "core/Db.h"
#include "core/Globals.h"
#include "core/Regional.h"

#include <QHash>

#include <algorithm>

namespace AnalysisStore {

namespace {

using SalesSummary::Unit;

QString periodText(Unit unit, const QDate& d)
{
    switch (unit) {
    case Unit::Year: return d.toString(QStringLiteral("yyyy"));
    case Unit::Month: return d.toString(QStringLiteral("yyyy-MM"));
    case Unit::Day: break;
    }
    return Regional::dateText(d);
}

// Every period a piece spans, in the text of ringkasan_periode.
QStringList periodsOf(const Piece& p)
{
    QStringList out;
    if (p.unit == Unit::Year) {
        for (int y = p.from.toInt(), last = p.to.toInt(); y <= last; ++y)
            out << QString::number(y);
        return out;
    }
    const bool months = p.unit == Unit::Month;
    const QString format = QStringLiteral("yyyy-MM-dd");
    QDate d = QDate::fromString(months ? p.from + QStringLiteral("-01") : p.from, format);
    const QDate last = QDate::fromString(months ? p.to + QStringLiteral("-01") : p.to, format);
    for (; d.isValid() && d <= last; d = months ? d.addMonths(1) : d.addDays(1))
        out << periodText(p.unit, d);
    return out;
}

// The summary rows of `kind` over the pieces, one SELECT per piece so each
// reads a range of the primary key, as columns k, a, n, ml, harga, total, pokok.
// For a few keys (`only`) each period is named, so the key finds every
// customer's row instead of the whole period being read for them.
QString summaryRows(int kind, const QList<Piece>& pieces, QVariantList& values,
                    const QString& only = {})
{
    QStringList parts;
    for (const Piece& p : pieces) {
        QString periods = QStringLiteral("BETWEEN ? AND ?");
        values << kind << int(p.unit);
        if (only.isEmpty()) {
            values << p.from << p.to;
        } else {
            const QStringList each = periodsOf(p);
            periods = QStringLiteral("IN (%1)").arg(QStringList(each.size(), QStringLiteral("?"))
                                                        .join(QLatin1Char(',')));
            for (const QString& e : each)
                values << e;
        }
        parts << QStringLiteral(
            "SELECT ringkasan_kunci AS k, ringkasan_author AS a, ringkasan_jumlah AS n, "
            "ringkasan_ml AS ml, ringkasan_harga AS harga, ringkasan_total AS total, "
            "ringkasan_pokok AS pokok FROM tvr_ringkasan WHERE ringkasan_jenis = ? "
            "AND ringkasan_satuan = ? AND ringkasan_periode %1").arg(periods) +
            (only.isEmpty() ? QString() : QStringLiteral(" AND ringkasan_kunci IN (%1)").arg(only));
    }
    return parts.join(QStringLiteral(" UNION ALL "));
}

// The sales of day ranges themselves, in the columns of summaryRows(). For a
// few keys the days' sales are read by date all the same ("+" keeps the key's
// index out): a range of days holds a bounded number of sales, while a loyal
// customer's sales of all years can be many more.
QString saleRows(const QString& keyColumn, const QList<Range>& ranges, QVariantList& values,
                 const QString& only = {})
{
    QStringList parts;
    for (const Range& r : ranges) {
        parts << QStringLiteral(
                     "SELECT coalesce(%1, 0) AS k, '' AS a, 1 AS n, "
                     "coalesce(sales_mililiter, 0) AS ml, coalesce(sales_hargatotal, 0) AS harga, "
                     "coalesce(sales_hargadiskon, 0) AS total, coalesce(sales_pokok, 0) AS pokok "
                     "FROM tvr_sales WHERE sales_date BETWEEN ? AND ?%2")
                     .arg(keyColumn, only.isEmpty() ? QString()
                                                    : QStringLiteral(" AND +%1 IN (%2)")
                                                          .arg(keyColumn, only));
        values << Regional::dateText(r.from) << Regional::dateText(r.to);
    }
    return parts.join(QStringLiteral(" UNION ALL "));
}

// The figures of grouped rows, columns k, a, count, ml, harga, total, pokok.
QList<Figure> read(const QString& sql, QVariantList values, int top)
{
    QList<Figure> out;
    QString limited = sql;
    if (top > 0) {
        limited += QStringLiteral(" LIMIT ?");
        values << top;
    }
    const RowSet rs = Db::select(limited, values);
    out.reserve(rs.size());
    for (const QVariantList& r : rs.rows) {
        Figure f;
        f.key = r.at(1).toString().isEmpty() ? r.at(0).toString() : r.at(1).toString();
        f.count = r.at(2).toLongLong();
        f.ml = r.at(3).toDouble();
        f.harga = r.at(4).toDouble();
        f.total = r.at(5).toDouble();
        f.pokok = r.at(6).toDouble();
        out << f;
    }
    return out;
}

QList<Figure> grouped(const QString& rows, const QVariantList& values, int top)
{
    if (rows.isEmpty())
        return {};
    return read(QStringLiteral("SELECT k, a, SUM(n), SUM(ml), SUM(harga), SUM(total), SUM(pokok) "
                               "FROM (") +
                    rows +
                    QStringLiteral(") x GROUP BY k, a HAVING SUM(n) <> 0 "
                                   "ORDER BY SUM(total) DESC, k, a"),
                values, top);
}

// The customers' totals of one range of days from the sales themselves,
// grouped in one statement: SQLite sorts a busy day's sales for it at half
// the cost of grouping them through a union. Read by date, as saleRows().
QList<Figure> customerDays(const Range& r, int top, const QString& only)
{
    return read(QStringLiteral(
                    "SELECT coalesce(sales_idcust, 0), '', COUNT(*), "
                    "SUM(coalesce(sales_mililiter, 0)), SUM(coalesce(sales_hargatotal, 0)), "
                    "SUM(coalesce(sales_hargadiskon, 0)), SUM(coalesce(sales_pokok, 0)) "
                    "FROM tvr_sales WHERE sales_date BETWEEN ? AND ?%1 "
                    "GROUP BY coalesce(sales_idcust, 0) "
                    "ORDER BY SUM(coalesce(sales_hargadiskon, 0)) DESC, coalesce(sales_idcust, 0)")
                    .arg(only.isEmpty() ? QString()
                                        : QStringLiteral(" AND +sales_idcust IN (%1)").arg(only)),
                {Regional::dateText(r.from), Regional::dateText(r.to)}, top);
}

// The customers' totals of one summary period, largest first; those of the
// customers `only`, in no order. The kind stands in the text so the index of
// customers in takings order (made for that kind only) can serve the first;
// the second is left unordered so the primary key finds each customer, where
// an order would draw the planner to walk the whole period in that index.
QList<Figure> ungrouped(const Piece& piece, int top, const QString& only)
{
    QString sql = QStringLiteral(
        "SELECT ringkasan_kunci, ringkasan_author, ringkasan_jumlah, ringkasan_ml, "
        "ringkasan_harga, ringkasan_total, ringkasan_pokok FROM tvr_ringkasan "
        "WHERE ringkasan_jenis = %1 AND ringkasan_satuan = ? AND ringkasan_periode = ? "
        "AND ringkasan_jumlah <> 0").arg(int(SalesSummary::PerCustomer));
    QVariantList values{int(piece.unit), piece.from};
    if (!only.isEmpty())
        sql += QStringLiteral(" AND ringkasan_kunci IN (%1)").arg(only);
    else
        sql += QStringLiteral(" ORDER BY ringkasan_total DESC, ringkasan_kunci");
    if (top > 0) {
        sql += QStringLiteral(" LIMIT ?");
        values << top;
    }
    QList<Figure> out;
    for (const QVariantList& r : Db::select(sql, values).rows)
        out << Figure{r.at(0).toString(), QString(), r.at(2).toLongLong(), r.at(3).toDouble(),
                      r.at(4).toDouble(), r.at(5).toDouble(), r.at(6).toDouble()};
    return out;
}

// Whether nothing was sold from `from` to `to` (an empty span is).
bool nothingSold(const QDate& from, const QDate& to)
{
    return from > to ||
           Db::scalar(QStringLiteral("SELECT 1 FROM tvr_ringkasan WHERE ringkasan_jenis = 0 "
                                     "AND ringkasan_satuan = 0 AND ringkasan_periode BETWEEN ? AND ? "
                                     "AND ringkasan_jumlah <> 0 LIMIT 1"),
                      {Regional::dateText(from), Regional::dateText(to)})
               .isNull();
}

// The range stretched over the days around it that hold no sales, to the
// bounds of its year or else its month: the figures stay the same, and more
// of them come from the totals of whole periods. The year to date, with
// nothing sold after today, is read as the year.
Range widened(const Range& range)
{
    Range r = range;
    const QDate yearEnd(r.to.year(), 12, 31);
    const QDate monthEnd(r.to.year(), r.to.month(), r.to.daysInMonth());
    if (nothingSold(r.to.addDays(1), yearEnd))
        r.to = yearEnd;
    else if (nothingSold(r.to.addDays(1), monthEnd))
        r.to = monthEnd;
    const QDate yearStart(r.from.year(), 1, 1);
    const QDate monthStart(r.from.year(), r.from.month(), 1);
    if (nothingSold(yearStart, r.from.addDays(-1)))
        r.from = yearStart;
    else if (nothingSold(monthStart, r.from.addDays(-1)))
        r.from = monthStart;
    return r;
}

// The summary's totals of `kind` over the range, grouped by key.
QList<Figure> summed(int kind, const Range& range, int top)
{
    QVariantList values;
    const QString rows = summaryRows(kind, cover(range), values);
    return grouped(rows, values, top);
}

// Names of the rows of a register by id; a row deleted since reads as such.
void name(QList<Figure>& figures, const QString& sql, const QVariantList& values = {})
{
    QHash<QString, QString> names;
    const RowSet rs = Db::select(sql, values);
    for (const QVariantList& r : rs.rows)
        names.insert(r.at(0).toString(), r.at(1).toString());
    for (Figure& f : figures)
        f.name = names.value(f.key, QStringLiteral("(terhapus #%1)").arg(f.key));
}

QList<Figure> customers(const Range& range, int top, const QList<qint64>& only)
{
    // Ids are numbers read from the database, so they may stand in the text.
    QStringList onlyIds;
    for (qint64 id : only)
        onlyIds << QString::number(id);
    const QString list = onlyIds.join(QLatin1Char(','));
    QList<Range> rest;
    const QList<Piece> pieces = cover(range, false, &rest);
    QVariantList values;
    QStringList parts;
    if (!pieces.isEmpty())
        parts << summaryRows(SalesSummary::PerCustomer, pieces, values, list);
    if (!rest.isEmpty())
        parts << saleRows(QStringLiteral("sales_idcust"), rest, values, list);
    // One period of the summary (a whole month or year) holds each customer
    // once: its rows are the totals, with no grouping to do.
    const bool single = pieces.size() == 1 && rest.isEmpty() && pieces.first().from == pieces.first().to;
    const bool daysOnly = pieces.isEmpty() && rest.size() == 1;
    QList<Figure> out = single     ? ungrouped(pieces.first(), top, list)
                        : daysOnly ? customerDays(rest.first(), top, list)
                                   : grouped(parts.join(QStringLiteral(" UNION ALL ")), values, top);
    if (out.isEmpty() || !only.isEmpty())
        return out;
    QStringList marks;
    QVariantList ids;
    for (const Figure& f : out) {
        marks << QStringLiteral("?");
        ids << f.key.toLongLong();
    }
    name(out,
         QStringLiteral("SELECT idcust, %1 FROM tvr_customer WHERE idcust IN (%2)")
             .arg(QStringLiteral("coalesce(cust_nomor, '') || ' ' || coalesce(cust_nama, '')"),
                  marks.join(QLatin1Char(','))),
         ids);
    return out;
}

QList<Figure> payments(const Range& range)
{
    const RowSet rs = Db::select(
        QStringLiteral("SELECT coalesce(payment_metode, ''), "
                       "SUM(CASE WHEN payment_jenis = 0 THEN 1 ELSE 0 END), "
                       "SUM(coalesce(payment_jumlah, 0)) FROM tvr_payment "
                       "WHERE payment_date BETWEEN ? AND ? GROUP BY coalesce(payment_metode, '') "
                       "ORDER BY SUM(coalesce(payment_jumlah, 0)) DESC"),
        {Regional::dateText(range.from), Regional::dateText(range.to)});
    QList<Figure> out;
    for (const QVariantList& r : rs.rows) {
        Figure f;
        f.key = r.at(0).toString();
        f.name = f.key.isEmpty() ? QStringLiteral("(tanpa metode)") : f.key;
        f.count = r.at(1).toLongLong();
        f.total = r.at(2).toDouble();
        out << f;
    }
    return out;
}

QList<Figure> weekdays(const Range& range)
{
    QList<Figure> out(7);
    for (int i = 0; i < 7; ++i) {
        out[i].key = QString::number(i + 1);
        out[i].name = weekdayName(i + 1);
    }
    const RowSet rs = Db::select(
        QStringLiteral("SELECT ringkasan_periode, ringkasan_jumlah, ringkasan_ml, ringkasan_harga, "
                       "ringkasan_total, ringkasan_pokok FROM tvr_ringkasan "
                       "WHERE ringkasan_jenis = 0 AND ringkasan_satuan = 0 "
                       "AND ringkasan_periode BETWEEN ? AND ? AND ringkasan_jumlah <> 0"),
        {Regional::dateText(range.from), Regional::dateText(range.to)});
    for (const QVariantList& r : rs.rows) {
        const QDate d = QDate::fromString(r.at(0).toString(), QStringLiteral("yyyy-MM-dd"));
        if (!d.isValid())
            continue;
        Figure& f = out[d.dayOfWeek() - 1];
        f.count += r.at(1).toLongLong();
        f.ml += r.at(2).toDouble();
        f.harga += r.at(3).toDouble();
        f.total += r.at(4).toDouble();
        f.pokok += r.at(5).toDouble();
    }
    return out;
}

QList<Figure> hours(const Range& range)
{
    const QVariantList bounds{Regional::dateText(range.from), Regional::dateText(range.to)};
    const RowSet rs = Db::select(
        QStringLiteral("SELECT substr(v.visit_jam, 1, 2), COUNT(*), "
                       "SUM(coalesce(s.sales_mililiter, 0)), SUM(coalesce(s.sales_hargatotal, 0)), "
                       "SUM(coalesce(s.sales_hargadiskon, 0)), SUM(coalesce(s.sales_pokok, 0)) "
                       "FROM tvr_visit v "
                       "JOIN tvr_visitsales vs ON vs.visitsales_idvisit = v.idvisit "
                       "JOIN tvr_sales s ON s.idsales = vs.visitsales_idsales "
                       "WHERE v.visit_date BETWEEN ? AND ? "
                       "GROUP BY substr(v.visit_jam, 1, 2) ORDER BY substr(v.visit_jam, 1, 2)"),
        bounds);
    QList<Figure> out;
    Figure rest; // the sales recorded without a visit, hence without an hour
    rest.key = QStringLiteral("-");
    rest.name = QStringLiteral("(tanpa jam)");
    {
        const QList<Figure> all = summed(SalesSummary::AllSales, range, 0);
        for (const Figure& f : all) {
            rest.count += f.count;
            rest.ml += f.ml;
            rest.harga += f.harga;
            rest.total += f.total;
            rest.pokok += f.pokok;
        }
    }
    for (const QVariantList& r : rs.rows) {
        Figure f;
        f.key = r.at(0).toString();
        f.name = f.key.isEmpty() ? QStringLiteral("(tanpa jam)") : f.key + QStringLiteral(":00");
        f.count = r.at(1).toLongLong();
        f.ml = r.at(2).toDouble();
        f.harga = r.at(3).toDouble();
        f.total = r.at(4).toDouble();
        f.pokok = r.at(5).toDouble();
        rest.count -= f.count;
        rest.ml -= f.ml;
        rest.harga -= f.harga;
        rest.total -= f.total;
        rest.pokok -= f.pokok;
        out << f;
    }
    if (rest.count != 0)
        out << rest;
    return out;
}

} // namespace

QList<Piece> cover(const Range& range, bool days, QList<Range>* rest)
{
    QList<Piece> out;
    if (!range.isValid())
        return out;
    auto add = [&](Unit unit, const QDate& d) {
        const QString text = periodText(unit, d);
        // Steps are taken in order, so a piece of the same length as the
        // last one continues it.
        if (!out.isEmpty() && out.last().unit == unit)
            out.last().to = text;
        else
            out << Piece{unit, text, text};
    };
    bool lastWasRest = false;
    QDate d = range.from;
    while (d <= range.to) {
        if (d.month() == 1 && d.day() == 1 && QDate(d.year(), 12, 31) <= range.to) {
            add(Unit::Year, d);
            d = d.addYears(1);
            lastWasRest = false;
        } else if (d.day() == 1 && d.addMonths(1).addDays(-1) <= range.to) {
            add(Unit::Month, d);
            d = d.addMonths(1);
            lastWasRest = false;
        } else {
            if (days) {
                add(Unit::Day, d);
            } else if (rest) {
                if (lastWasRest)
                    rest->last().to = d;
                else
                    *rest << Range{d, d};
                lastWasRest = true;
            }
            d = d.addDays(1);
        }
    }
    return out;
}

QList<Figure> figures(Grouping grouping, const Range& range, int top, const QList<qint64>& only)
{
    if (!range.isValid())
        return {};
    QList<Figure> out;
    // The groupings read from the period totals; payments, weekdays and
    // hours are read by day or by visit and need no stretching.
    const bool fromTotals = grouping == Grouping::Variant || grouping == Grouping::Bottle ||
                            grouping == Grouping::Cashier || grouping == Grouping::Customer;
    const Range whole = fromTotals ? widened(range) : range;
    switch (grouping) {
    case Grouping::Variant:
        out = summed(SalesSummary::PerVariant, whole, top);
        name(out, QStringLiteral("SELECT idvariant, coalesce(variant_kode, '') || ' ' || "
                                 "coalesce(variant_nama, '') FROM tvr_dtvariant"));
        return out;
    case Grouping::Bottle:
        out = summed(SalesSummary::PerBottle, whole, top);
        name(out, QStringLiteral("SELECT idbotol, botol_tipe FROM tvr_dtbotol"));
        return out;
    case Grouping::Cashier:
        out = summed(SalesSummary::PerCashier, whole, top);
        name(out, QStringLiteral("SELECT user_name, user_namalengkap FROM tvr_user"));
        for (Figure& f : out)
            if (f.name.startsWith(QLatin1String("(terhapus")))
                f.name = f.key;
        return out;
    case Grouping::Customer:
        return customers(whole, top, only);
    case Grouping::Payment:
        return payments(range);
    case Grouping::Weekday:
        return weekdays(range);
    case Grouping::Hour:
        return hours(range);
    }
    return out;
}

QList<DayTotal> days(const Range& range)
{
    QList<DayTotal> out;
    if (!range.isValid())
        return out;
    const RowSet rs = Db::select(
        QStringLiteral("SELECT ringkasan_periode, ringkasan_jumlah, ringkasan_ml, ringkasan_total, "
                       "ringkasan_pokok FROM tvr_ringkasan "
                       "WHERE ringkasan_jenis = 0 AND ringkasan_satuan = 0 "
                       "AND ringkasan_periode BETWEEN ? AND ? AND ringkasan_jumlah <> 0 "
                       "ORDER BY ringkasan_periode"),
        {Regional::dateText(range.from), Regional::dateText(range.to)});
    out.reserve(rs.size());
    for (const QVariantList& r : rs.rows)
        out << DayTotal{QDate::fromString(r.at(0).toString(), QStringLiteral("yyyy-MM-dd")),
                        r.at(1).toLongLong(), r.at(2).toDouble(), r.at(3).toDouble(),
                        r.at(4).toDouble()};
    return out;
}

QList<MonthTotal> months(const QList<DayTotal>& days)
{
    QList<MonthTotal> out;
    for (const DayTotal& d : days) {
        const QString m = d.day.toString(QStringLiteral("yyyy-MM"));
        if (out.isEmpty() || out.last().month != m)
            out << MonthTotal{m, 0, 0};
        out.last().count += d.count;
        out.last().total += d.total;
    }
    return out;
}

QList<Valuation> stockValuation()
{
    QList<Valuation> out;
    const RowSet v = Db::select(QStringLiteral(
        "SELECT idvariant, variant_kode, variant_nama, coalesce(variant_stock, 0), "
        "coalesce(variant_pokok, 0) FROM tvr_dtvariant ORDER BY variant_kode, idvariant"));
    for (const QVariantList& r : v.rows)
        out << Valuation{QStringLiteral("Variant"), r.at(0).toInt(), r.at(1).toString(),
                         r.at(2).toString(), r.at(3).toDouble(), r.at(4).toDouble(),
                         r.at(3).toDouble() * r.at(4).toDouble()};
    const RowSet b = Db::select(QStringLiteral("SELECT idbotol, botol_tipe, coalesce(botol_stock, 0), "
                                               "coalesce(botol_pokok, 0) FROM tvr_dtbotol "
                                               "WHERE botol_tipe <> ? ORDER BY botol_tipe, idbotol"),
                                {RefillBottleType});
    for (const QVariantList& r : b.rows)
        out << Valuation{QStringLiteral("Botol"), r.at(0).toInt(), r.at(1).toString(), QString(),
                         r.at(2).toDouble(), r.at(3).toDouble(),
                         r.at(2).toDouble() * r.at(3).toDouble()};
    return out;
}

QString weekdayName(int dayOfWeek)
{
    static const QStringList names = {
        QStringLiteral("Senin"), QStringLiteral("Selasa"), QStringLiteral("Rabu"),
        QStringLiteral("Kamis"), QStringLiteral("Jumat"), QStringLiteral("Sabtu"),
        QStringLiteral("Minggu")};
    return dayOfWeek >= 1 && dayOfWeek <= 7 ? names.at(dayOfWeek - 1) : QString();
}

} // namespace AnalysisStore
