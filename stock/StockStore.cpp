#include "StockStore.h"

#include "core/Globals.h"
#include "core/Regional.h"
#include "core/Rights.h"
#include "core/Trail.h"
#include "ui/PagePlan.h"

#include <algorithm>
#include <climits>
#include <optional>

namespace StockStore {

namespace {

// The item table of each kind and the columns the stock operations touch.
struct Table {
    QString stockName;
    QString table;
    QString id;
    QString prefix; // of the stock, date, author and _ls_ columns
    QString salesColumn;
    QString listSql;
    bool refillExcluded;

    QString col(const char* word) const { return prefix + QLatin1String(word); }

    // The item's row; the refill bottle type is never one of these items.
    QString itemFilter() const
    {
        return id + (refillExcluded ? QStringLiteral(" = ? AND botol_tipe <> ?")
                                    : QStringLiteral(" = ?"));
    }
    QVariantList itemValues(qint64 itemId) const
    {
        QVariantList values{itemId};
        if (refillExcluded)
            values << RefillBottleType;
        return values;
    }
};

const Table& tableOf(Item item)
{
    static const Table variant{
        QStringLiteral("variant"),
        QStringLiteral("tvr_dtvariant"),
        QStringLiteral("idvariant"),
        QStringLiteral("variant_"),
        QStringLiteral("sales_idvariant"),
        QStringLiteral("SELECT idvariant, variant_kode, variant_nama, variant_harga, variant_stock "
                       "FROM tvr_dtvariant ORDER BY variant_kode ASC, idvariant ASC"),
        false};
    static const Table botol{
        QStringLiteral("botol"),
        QStringLiteral("tvr_dtbotol"),
        QStringLiteral("idbotol"),
        QStringLiteral("botol_"),
        QStringLiteral("sales_idbotol"),
        QStringLiteral("SELECT idbotol, botol_tipe, botol_harga, botol_stock FROM tvr_dtbotol "
                       "WHERE botol_tipe <> ? ORDER BY botol_tipe ASC, idbotol ASC"),
        true};
    return item == Item::Variant ? variant : botol;
}

const QString LedgerColumns = QStringLiteral(
    "idstock, stock_date, stock_order, stock_author, stock_status, stock_name, stock_idname, "
    "stock_awal, stock_akhir, stock_keterangan");

// The live ledger of one item; ix_stock_ledger serves it in idstock order.
const QString LiveLedger =
    QStringLiteral("stock_name = ? AND stock_idname = ? AND stock_status = 0");

// The stored stock of the item, or nothing when there is no such item. Inside
// a write the row stays locked until the transaction ends, so another till
// cannot move the stock between this read and the write that follows it.
std::optional<double> storedStock(const Table& t, qint64 id)
{
    const RowSet rs = Db::select(QStringLiteral("SELECT COALESCE(%1, 0) FROM %2 WHERE %3")
                                         .arg(t.col("stock"), t.table, t.itemFilter()) +
                                     Db::lockRows(),
                                 t.itemValues(id));
    if (rs.isEmpty())
        return std::nullopt;
    return rs.value(0, 0).toDouble();
}

void addToStock(const Table& t, qint64 id, double quantity)
{
    QVariantList values{quantity};
    values << t.itemValues(id);
    Db::exec(QStringLiteral("UPDATE %1 SET %2 = COALESCE(%2, 0) + ? WHERE %3")
                 .arg(t.table, t.col("stock"), t.itemFilter()),
             values);
}

// The order of a live ledger row of the item, or nothing.
std::optional<double> liveOrder(const Table& t, qint64 id, qint64 idStock)
{
    const RowSet rs = Db::select(
        QStringLiteral("SELECT stock_order FROM tvr_stock WHERE idstock = ? AND ") + LiveLedger,
        {idStock, t.stockName, id});
    if (rs.isEmpty())
        return std::nullopt;
    return rs.value(0, 0).toDouble();
}

// Whether the ledger row can be deleted with its reversal, read in the
// caller's transaction when there is one.
Outcome deletionOutcome(const Table& t, qint64 id, qint64 idStock, double* order)
{
    const std::optional<double> stock = storedStock(t, id);
    const std::optional<double> o = stock ? liveOrder(t, id, idStock) : std::nullopt;
    if (!o)
        return Outcome::Missing;
    if (*stock - *o < -Tolerance)
        return Outcome::BelowZero;
    if (order)
        *order = *o;
    return Outcome::Done;
}

} // namespace

QString stockName(Item item)
{
    return tableOf(item).stockName;
}

RowSet items(Item item)
{
    const Table& t = tableOf(item);
    return Db::select(t.listSql, t.refillExcluded ? QVariantList{RefillBottleType} : QVariantList{});
}

qint64 countLedger(Item item, qint64 id)
{
    return Db::scalar(QStringLiteral("SELECT COUNT(*) FROM tvr_stock WHERE ") + LiveLedger,
                      {tableOf(item).stockName, id})
        .toLongLong();
}

RowSet ledgerPage(Item item, qint64 id, const LedgerPage& p)
{
    // The ledger is listed newest first: the rows after a row have smaller ids.
    const PagePlan plan = planPageByKeys(
        p.page, p.pageSize, int(std::min<qint64>(p.recordCount, INT_MAX)), p.shownPage,
        p.shownFirst > 0 ? QVariantList{p.shownFirst} : QVariantList{},
        p.shownLast > 0 ? QVariantList{p.shownLast} : QVariantList{});

    // Newest first unless the page is read from the oldest end and turned round.
    const bool ascending =
        plan.from == PagePlan::From::End || plan.from == PagePlan::From::Before;
    QString bound;
    QVariantList values{tableOf(item).stockName, id};
    if (plan.from == PagePlan::From::After) {
        bound = QStringLiteral(" AND idstock < ?");
        values << plan.anchor;
    } else if (plan.from == PagePlan::From::Before) {
        bound = QStringLiteral(" AND idstock > ?");
        values << plan.anchor;
    }
    values << plan.take << plan.skip;
    RowSet rows = Db::select(QStringLiteral("SELECT ") + LedgerColumns +
                                 QStringLiteral(" FROM tvr_stock WHERE ") + LiveLedger + bound +
                                 (ascending ? QStringLiteral(" ORDER BY idstock ASC")
                                            : QStringLiteral(" ORDER BY idstock DESC")) +
                                 QStringLiteral(" LIMIT ? OFFSET ?"),
                             values);
    if (ascending)
        std::reverse(rows.rows.begin(), rows.rows.end());
    return rows;
}

RowSet emptyLedger()
{
    RowSet rows;
    for (const QString& column : LedgerColumns.split(QLatin1Char(',')))
        rows.columns << column.trimmed();
    return rows;
}

static Moved moveOnce(Item item, qint64 id, double quantity, const QString& reason)
{
    const Table& t = tableOf(item);
    Transaction tx;
    const std::optional<double> before = storedStock(t, id);
    if (!before)
        return {Outcome::Missing, 0, 0};
    // What the screen showed may be stale: the stored stock decides.
    if (quantity < 0 && *before + quantity < -Tolerance)
        return {Outcome::BelowZero, *before, *before + quantity};
    addToStock(t, id, quantity);
    const double after = storedStock(t, id).value_or(0);
    Db::exec(QStringLiteral("INSERT INTO tvr_stock (stock_name, stock_idname, stock_awal, "
                            "stock_order, stock_akhir, stock_date, stock_author, "
                            "stock_keterangan) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
             {t.stockName, id, *before, quantity, after, Regional::today(), LoginUserName,
              reason.isNull() ? QStringLiteral("") : reason});
    tx.commit();
    return {Outcome::Done, *before, after};
}

std::optional<double> stockOf(Item item, qint64 id)
{
    return storedStock(tableOf(item), id);
}

Outcome checkDeletion(Item item, qint64 id, qint64 idStock)
{
    return deletionOutcome(tableOf(item), id, idStock, nullptr);
}

static Outcome deleteEntryOnce(Item item, qint64 id, qint64 idStock)
{
    const Table& t = tableOf(item);
    Transaction tx;
    Rights::require(Rights::Action::DeleteLedgerRow);
    double order = 0;
    const Outcome outcome = deletionOutcome(t, id, idStock, &order);
    if (outcome != Outcome::Done)
        return outcome;
    const QString before = Trail::rowText(
        QStringLiteral("SELECT idstock, stock_date, stock_author, stock_awal, stock_order, "
                       "stock_akhir, stock_keterangan FROM tvr_stock WHERE idstock = ?"),
        {idStock});
    Db::exec(QStringLiteral("DELETE FROM tvr_stock WHERE idstock = ?"), {idStock});
    addToStock(t, id, -order);
    Trail::write(Trail::Kind::LedgerDeleted, QStringLiteral("%1 %2").arg(t.stockName).arg(id),
                 before, QStringLiteral("stock: %1").arg(storedStock(t, id).value_or(0)));
    tx.commit();
    return Outcome::Done;
}

static Outcome resetOnce(Item item, qint64 id)
{
    const Table& t = tableOf(item);
    Transaction tx;
    Rights::require(Rights::Action::ResetStock);
    const std::optional<double> stockBefore = storedStock(t, id);
    if (!stockBefore)
        return Outcome::Missing;
    Db::exec(QStringLiteral("UPDATE tvr_stock SET stock_status = 1 WHERE ") + LiveLedger,
             {t.stockName, id});
    // Every right-hand side reads the row as it was before this statement.
    QVariantList values{Regional::today(), LoginUserName};
    values << t.itemValues(id);
    Db::exec(QStringLiteral("UPDATE %1 SET %2 = %3, %4 = %5, %6 = %7, %3 = 0, %5 = ?, %7 = ? "
                            "WHERE %8")
                 .arg(t.table, t.col("ls_stock"), t.col("stock"), t.col("ls_date"), t.col("date"),
                      t.col("ls_author"), t.col("author"), t.itemFilter()),
             values);
    Db::exec(QStringLiteral("UPDATE tvr_sales SET sales_status = 1 WHERE %1 = ? "
                            "AND (sales_status <> 1 OR sales_status IS NULL)")
                 .arg(t.salesColumn),
             {id});
    Trail::write(Trail::Kind::StockReset, QStringLiteral("%1 %2").arg(t.stockName).arg(id),
                 QStringLiteral("stock: %1").arg(*stockBefore), QStringLiteral("stock: 0"));
    tx.commit();
    return Outcome::Done;
}

// Each write runs once more when the server cancelled it as a deadlock victim.

Moved move(Item item, qint64 id, double quantity, const QString& reason)
{
    return Db::retryOnce([&] { return moveOnce(item, id, quantity, reason); });
}

Outcome deleteEntry(Item item, qint64 id, qint64 idStock)
{
    return Db::retryOnce([&] { return deleteEntryOnce(item, id, idStock); });
}

Outcome reset(Item item, qint64 id)
{
    return Db::retryOnce([&] { return resetOnce(item, id); });
}

} // namespace StockStore
