#include "SearchStore.h"

#include <algorithm>

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
    return columnOf(by) + QStringLiteral(" LIKE ? ESCAPE '\\'");
}

// The ordering key of a list as SQL: number; name then number; address then
// id. The id ends every key, so each customer has one place. A missing number
// counts as an empty one, so every key compares (NULL would not).
QStringList keySql(SearchBy by)
{
    switch (by) {
    case SearchBy::Nomor: return {QStringLiteral("cust_nomor"), QStringLiteral("idcust")};
    case SearchBy::Nama:
        return {QStringLiteral("cust_nama"), QStringLiteral("ifnull(cust_nomor, '')"),
                QStringLiteral("idcust")};
    case SearchBy::Alamat: return {QStringLiteral("cust_alamat"), QStringLiteral("idcust")};
    }
    return {};
}

// The key of a shown row, as keySql() compares it. The searched column of a
// match is never NULL (NULL matches no keyword), nor is the id.
QVariantList keyOf(SearchBy by, const RowSet& rows, int row)
{
    QStringList columns;
    switch (by) {
    case SearchBy::Nomor: columns = {QStringLiteral("cust_nomor"), QStringLiteral("idcust")}; break;
    case SearchBy::Nama:
        columns = {QStringLiteral("cust_nama"), QStringLiteral("cust_nomor"), QStringLiteral("idcust")};
        break;
    case SearchBy::Alamat: columns = {QStringLiteral("cust_alamat"), QStringLiteral("idcust")}; break;
    }
    QVariantList key;
    for (const QString& column : columns) {
        const QVariant v = rows.value(row, column);
        key << (v.isNull() ? QVariant(QStringLiteral("")) : v);
    }
    return key;
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

int countMatches(SearchBy by, const QString& keyword)
{
    return Db::scalar(QStringLiteral("SELECT COUNT(*) FROM tvr_customer WHERE ") +
                          matchCondition(by),
                      {containsPattern(keyword)})
        .toInt();
}

PagePlan planPage(SearchBy by, int page, int pageSize, int recordCount, int shownPage,
                  const RowSet& shownRows)
{
    PagePlan plan;
    pageSize = std::max(1, pageSize);
    const int offset = std::max(0, page - 1) * pageSize;
    plan.take = std::clamp(recordCount - offset, 0, pageSize);
    if (page <= 1 || plan.take == 0) {
        plan.skip = page <= 1 ? 0 : offset;
        return plan;
    }
    if (shownPage > 0 && !shownRows.isEmpty()) {
        if (page == shownPage + 1) {
            plan.from = PagePlan::From::After;
            plan.anchor = keyOf(by, shownRows, shownRows.size() - 1);
            return plan;
        }
        if (page == shownPage - 1) {
            plan.from = PagePlan::From::Before;
            plan.anchor = keyOf(by, shownRows, 0);
            return plan;
        }
    }
    const int fromEnd = recordCount - offset - plan.take;
    if (fromEnd < offset) {
        plan.from = PagePlan::From::End;
        plan.skip = fromEnd;
    } else {
        plan.skip = offset;
    }
    return plan;
}

RowSet readPage(SearchBy by, const QString& keyword, const PagePlan& plan)
{
    if (plan.take <= 0)
        return Db::select(QStringLiteral("SELECT ") + PageColumns +
                          QStringLiteral(" FROM tvr_customer WHERE 1 = 0"));

    // Pages read from the end or before an anchor come in reverse and are turned round.
    const bool reversed = plan.from == PagePlan::From::End || plan.from == PagePlan::From::Before;
    const QStringList key = keySql(by);

    QString sql = QStringLiteral("SELECT ") + PageColumns +
                  QStringLiteral(" FROM tvr_customer WHERE ") + matchCondition(by);
    QVariantList values{containsPattern(keyword)};
    if (plan.from == PagePlan::From::After || plan.from == PagePlan::From::Before) {
        // A row value comparison follows the index of the ordering key.
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
