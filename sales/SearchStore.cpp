#include "SearchStore.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>

namespace SearchStore {

namespace {

const QString PageColumns =
    QStringLiteral("idcust, cust_nomor, cust_nama, cust_alamat, cust_notelp");

QString columnOf(SearchBy by)
{
    switch (by) {
    case SearchBy::Nomor: return QStringLiteral("cust_nomor");
    case SearchBy::Nama: return QStringLiteral("cust_nama");
    case SearchBy::Alamat: return QStringLiteral("cust_alamat");
    }
    return {};
}

// The column condition: the keyword bound, "\" escaping the wildcards.
QString matchCondition(SearchBy by)
{
    return Db::containsIgnoringCase(columnOf(by));
}

// The ordering key of a list as SQL: number; name then number; address then
// id. The id ends every key, so each customer has one place. A missing number
// counts as an empty one, so every key compares (NULL would not).
QStringList keySql(SearchBy by)
{
    switch (by) {
    case SearchBy::Nomor: return {QStringLiteral("cust_nomor"), QStringLiteral("idcust")};
    case SearchBy::Nama:
        return {QStringLiteral("cust_nama"), Db::orEmpty(QStringLiteral("cust_nomor")),
                QStringLiteral("idcust")};
    case SearchBy::Alamat: return {QStringLiteral("cust_alamat"), QStringLiteral("idcust")};
    }
    return {};
}

// The key of a shown row, as keySql() compares it. The searched column of a
// match is never NULL (NULL matches no keyword), nor is the id.
QVariantList keyOf(SearchBy by, const RowSet& rows, int row)
{
    QStringList columns{QStringLiteral("idcust")};
    switch (by) {
    case SearchBy::Nomor: columns.prepend(QStringLiteral("cust_nomor")); break;
    case SearchBy::Nama:
        columns.prepend(QStringLiteral("cust_nomor"));
        columns.prepend(QStringLiteral("cust_nama"));
        break;
    case SearchBy::Alamat: columns.prepend(QStringLiteral("cust_alamat")); break;
    }
    QVariantList key;
    for (const QString& column : columns) {
        const QVariant v = rows.value(row, column);
        key << (v.isNull() ? QVariant(QStringLiteral("")) : v);
    }
    return key;
}

// The FTS5 table of trigrams of number, name and address, kept in step with
// tvr_customer by triggers. A database made without it is searched by scanning.
const QString TrigramTable = QStringLiteral("tvr_zsearch");

// Up to this many candidates a keyword counts as rare: the matches are then
// few enough to count and sort on every page; more are met early in the
// ordered walk. The deepest page of a walk (the cap's match) lies further in
// as the customers grow and the matches thin out, while sorting the matches
// costs as many as there are: the two are even at about sqrt(50 x customers)
// matches (a candidate found and sorted costs about as much as twenty entries
// walked, and the walk goes as far as 1 000 x customers / matches).
int rareKeywordRows()
{
    const double customers =
        Db::scalar(QStringLiteral("SELECT MAX(idcust) FROM tvr_customer")).toDouble();
    return std::max(1000, int(std::sqrt(50.0 * std::max(0.0, customers))));
}

// The keyword as one phrase in its column: every character is literal in a
// phrase except the quote, which is doubled.
QString trigramQuery(const Search& search)
{
    QString phrase = search.keyword;
    phrase.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return columnOf(search.by) + QStringLiteral(" : \"") + phrase + QLatin1Char('"');
}

// FROM and WHERE of the matches. The trigram index only narrows the rows
// down (it folds letter case more widely than LIKE); LIKE decides.
QString fromMatches(const Search& search)
{
    if (!search.byTrigrams)
        return QStringLiteral("FROM tvr_customer WHERE ") + matchCondition(search.by);
    // CROSS JOIN keeps the candidates as the outer loop.
    return QStringLiteral("FROM (SELECT rowid AS id FROM ") + TrigramTable +
           QStringLiteral(" WHERE ") + TrigramTable +
           QStringLiteral(" MATCH ?) AS m CROSS JOIN tvr_customer ON tvr_customer.idcust = m.id "
                          "WHERE ") +
           matchCondition(search.by);
}

QVariantList matchValues(const Search& search)
{
    QVariantList values;
    if (search.byTrigrams)
        values << trigramQuery(search);
    values << containsPattern(search.keyword);
    return values;
}

} // namespace

QStringList entries()
{
    return {QStringLiteral("NO. CUST"), QStringLiteral("NAMA CUST"), QStringLiteral("ALAMAT CUST")};
}

std::optional<SearchBy> searchByOf(const QString& entry)
{
    switch (entries().indexOf(entry)) {
    case 0: return SearchBy::Nomor;
    case 1: return SearchBy::Nama;
    case 2: return SearchBy::Alamat;
    default: return std::nullopt;
    }
}

int minimumKeyword(SearchBy by)
{
    return by == SearchBy::Nomor ? 1 : 3;
}

QString containsPattern(const QString& keyword)
{
    QString escaped;
    escaped.reserve(keyword.size() + 2);
    for (const QChar c : keyword) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            escaped += QLatin1Char('\\');
        escaped += c;
    }
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

Search prepare(SearchBy by, const QString& keyword)
{
    Search search{by, keyword, false};
    // The trigram index finds a keyword of three characters or more; it pays
    // where the keyword is rare. A common one is found faster by walking the
    // ordered index, which meets a page of matches early.
    if (keyword.toUcs4().size() < 3 || !Db::isSqlite() ||
        !Db::scalar(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?"),
                    {TrigramTable})
             .isValid())
        return search;
    const int rare = rareKeywordRows();
    const int candidates =
        Db::scalar(QStringLiteral("SELECT COUNT(*) FROM (SELECT rowid FROM ") + TrigramTable +
                       QStringLiteral(" WHERE ") + TrigramTable +
                       QStringLiteral(" MATCH ? LIMIT ?)"),
                   {trigramQuery(search), rare + 1})
            .toInt();
    search.byTrigrams = candidates <= rare;
    search.trigramsKnown = true;
    return search;
}

int countMatches(const Search& search)
{
    return Db::scalar(QStringLiteral("SELECT COUNT(*) ") + fromMatches(search),
                      matchValues(search))
        .toInt();
}

Count countMatches(const Search& search, int cap, int budgetMs)
{
    if (search.byTrigrams)
        return {countMatches(search), true};
    if (search.trigramsKnown) {
        // A common keyword's candidates, each confirmed by LIKE, until one
        // more than the cap: every match is a candidate, so fewer is exact.
        Search indexed = search;
        indexed.byTrigrams = true;
        QVariantList values = matchValues(indexed);
        values << cap + 1;
        const int rows = Db::scalar(QStringLiteral("SELECT COUNT(*) FROM (SELECT 1 ") +
                                        fromMatches(indexed) + QStringLiteral(" LIMIT ?) AS c"),
                                    values)
                             .toInt();
        return rows > cap ? Count{cap, false} : Count{rows, true};
    }
    QElapsedTimer clock;
    clock.start();
    const qint64 last = Db::scalar(QStringLiteral("SELECT MAX(idcust) FROM tvr_customer")).toLongLong();
    // A range is read in a few milliseconds; the LIMIT stops it once the cap is met.
    constexpr qint64 Range = 25000;
    Count count;
    for (qint64 from = 0; from < last; from += Range) {
        if (count.rows > cap || (from > 0 && clock.elapsed() >= budgetMs)) {
            count.exact = false;
            break;
        }
        QVariantList values{from, from + Range};
        values << matchValues(search) << cap + 1 - count.rows;
        count.rows += Db::scalar(QStringLiteral("SELECT COUNT(*) FROM (SELECT 1 FROM tvr_customer "
                                                "WHERE idcust > ? AND idcust <= ? AND ") +
                                     matchCondition(search.by) + QStringLiteral(" LIMIT ?) AS m"),
                                 values)
                          .toInt();
    }
    if (count.rows > cap) {
        count.rows = cap;
        count.exact = false;
    }
    return count;
}

PagePlan planPage(SearchBy by, int page, int pageSize, int recordCount, int shownPage,
                  const RowSet& shownRows)
{
    if (shownPage <= 0 || shownRows.isEmpty())
        return planPageByKeys(page, pageSize, recordCount, 0, {}, {});
    return planPageByKeys(page, pageSize, recordCount, shownPage, keyOf(by, shownRows, 0),
                          keyOf(by, shownRows, shownRows.size() - 1));
}

RowSet readPage(const Search& search, const PagePlan& plan)
{
    const SearchBy by = search.by;
    if (plan.take <= 0)
        return Db::select(QStringLiteral("SELECT ") + PageColumns +
                          QStringLiteral(" FROM tvr_customer WHERE 1 = 0"));

    // Pages read from the end or before an anchor come in reverse and are turned round.
    const bool reversed = plan.from == PagePlan::From::End || plan.from == PagePlan::From::Before;
    const QStringList key = keySql(by);

    QString sql = QStringLiteral("SELECT ") + PageColumns + QLatin1Char(' ') + fromMatches(search);
    QVariantList values = matchValues(search);
    if (plan.from == PagePlan::From::After || plan.from == PagePlan::From::Before) {
        // A row value comparison starts a walk of the ordered index at the anchor.
        QStringList marks;
        for (int i = 0; i < key.size(); ++i)
            marks << QStringLiteral("?");
        sql += QStringLiteral(" AND (%1) %2 (%3)")
                   .arg(key.join(QStringLiteral(", ")),
                        reversed ? QStringLiteral("<") : QStringLiteral(">"),
                        marks.join(QStringLiteral(", ")));
        values << plan.anchor;
    }
    QStringList order;
    for (const QString& column : key)
        order << column + (reversed ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
    sql += QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", ")) +
           QStringLiteral(" LIMIT ? OFFSET ?");
    values << plan.take << plan.skip;

    RowSet rows = Db::select(sql, values);
    if (reversed)
        std::reverse(rows.rows.begin(), rows.rows.end());
    return rows;
}

RowSet purchases(int idcust)
{
    return Db::select(
        QStringLiteral("SELECT idsales, sales_date, variant_kode, sales_mililiter, sales_totalml, "
                       "botol_tipe, sales_hargatotal, sales_diskon, sales_hargadiskon "
                       "FROM tvr_sales "
                       "JOIN tvr_dtvariant ON tvr_dtvariant.idvariant = tvr_sales.sales_idvariant "
                       "JOIN tvr_dtbotol ON tvr_dtbotol.idbotol = tvr_sales.sales_idbotol "
                       "WHERE tvr_sales.sales_idcust = ? "
                       "ORDER BY idsales DESC"),
        {idcust});
}

} // namespace SearchStore
