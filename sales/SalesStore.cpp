#include "SalesStore.h"

#include "analysis/LowStock.h"
#include "core/Globals.h"
#include "core/Regional.h"
#include "core/Trail.h"

#include <algorithm>

namespace SalesStore {

namespace {

// A sale with its customer, variant and bottle type, as the list, the editor
// and the receipt read it.
const QString SaleWithItems =
    QStringLiteral("FROM tvr_sales s "
                   "JOIN tvr_customer c ON c.idcust = s.sales_idcust "
                   "JOIN tvr_dtvariant v ON v.idvariant = s.sales_idvariant "
                   "JOIN tvr_dtbotol b ON b.idbotol = s.sales_idbotol ");

// Stock moves are relative. The refill type stands for the customer's own
// bottle: its row never takes or gets back a bottle.
void moveBottles(int idBotol, double delta)
{
    Db::exec(QStringLiteral("UPDATE tvr_dtbotol SET botol_stock = botol_stock + ? "
                            "WHERE idbotol = ? AND botol_tipe <> ?"),
             {delta, idBotol, RefillBottleType});
}

void moveConcentrate(int idVariant, double delta)
{
    Db::exec(QStringLiteral("UPDATE tvr_dtvariant SET variant_stock = variant_stock + ? "
                            "WHERE idvariant = ?"),
             {delta, idVariant});
}

// Stock arithmetic on doubles: 0,7 - 0,4 must still sell 0,3.
constexpr double Tolerance = 1e-9;

// Takes millilitres off the stored stock only while it stays at or above zero:
// the row as stored when writing decides, never what a screen read earlier
// (another till may have sold from it since). The UPDATE also locks the row
// until the transaction ends.
Outcome takeConcentrate(int idVariant, double mililiter)
{
    if (mililiter <= 0) {
        moveConcentrate(idVariant, -mililiter);
        return Outcome::Done;
    }
    const QSqlQuery q = Db::exec(
        QStringLiteral("UPDATE tvr_dtvariant SET variant_stock = variant_stock - ? "
                       "WHERE idvariant = ? AND variant_stock - ? >= ?"),
        {mililiter, idVariant, mililiter, -Tolerance});
    if (Db::affected(q) > 0)
        return Outcome::Done;
    return Db::scalar(QStringLiteral("SELECT 1 FROM tvr_dtvariant WHERE idvariant = ?"), {idVariant})
                   .isValid()
               ? Outcome::NoConcentrate
               : Outcome::VariantGone;
}

// Takes one bottle of a type that still exists, unless it is the refill type.
Outcome takeBottle(int idBotol)
{
    const RowSet rs = Db::select(QStringLiteral("SELECT botol_tipe FROM tvr_dtbotol "
                                                "WHERE idbotol = ?") + Db::lockRows(),
                                 {idBotol});
    if (rs.isEmpty())
        return Outcome::BotolGone;
    if (rs.value(0, 0).toString() == RefillBottleType)
        return Outcome::Done;
    const QSqlQuery q = Db::exec(QStringLiteral("UPDATE tvr_dtbotol SET botol_stock = botol_stock - 1 "
                                                "WHERE idbotol = ? AND botol_stock - 1 >= ?"),
                                 {idBotol, -Tolerance});
    return Db::affected(q) > 0 ? Outcome::Done : Outcome::NoBottle;
}

// Whether a row still exists, locked against deletion by another till until
// the transaction ends.
bool stillThere(const QString& table, const QString& idColumn, qint64 id)
{
    return Db::scalar(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ?").arg(table, idColumn) +
                          Db::lockRows(),
                      {id})
        .isValid();
}

// The first row of a query, if any.
std::optional<QVariantList> firstRow(const QString& sql, const QVariantList& values)
{
    const RowSet rs = Db::select(sql, values);
    if (rs.isEmpty())
        return std::nullopt;
    return rs.rows.first();
}

// What a recorded sale took from stock, read inside the caller's transaction.
struct Taken {
    int idCust = 0;
    int idVariant = 0;
    int idBotol = 0;
    double mililiter = 0;
    int status = 0;
    double hargaVariant = 0, hargaBotol = 0;
};

std::optional<Taken> takenBy(qint64 id, bool lock)
{
    const auto r = firstRow(QStringLiteral("SELECT sales_idcust, sales_idvariant, sales_idbotol, "
                                           "sales_mililiter, sales_status, sales_hargavariant, "
                                           "sales_hargabotol FROM tvr_sales WHERE idsales = ?") +
                                (lock ? Db::lockRows() : QString()),
                            {id});
    if (!r)
        return std::nullopt;
    return Taken{r->at(0).toInt(),    r->at(1).toInt(),    r->at(2).toInt(),   r->at(3).toDouble(),
                 r->at(4).toInt(),    r->at(5).toDouble(), r->at(6).toDouble()};
}

// Locks rows of an item table by key, smallest first, as every writer does.
void lockItems(const QString& table, const QString& idColumn, QList<int> ids)
{
    if (Db::lockRows().isEmpty())
        return;
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    for (const int id : ids)
        Db::select(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ?").arg(table, idColumn) +
                       Db::lockRows(),
                   {id});
}

// A correction or a deletion locks in the order every writer keeps on a
// server: the customer, the variants, the bottle types (old and new), and only
// then the sale. The items are read from the sale first; should another till
// have changed them before the sale was locked, the new ones are locked too.
std::optional<Taken> lockSaleWithItems(qint64 id, const Amounts* next)
{
    std::optional<Taken> seen = takenBy(id, false);
    for (int round = 0; seen && round < 3; ++round) {
        lockItems(QStringLiteral("tvr_customer"), QStringLiteral("idcust"), {seen->idCust});
        QList<int> variants{seen->idVariant}, botols{seen->idBotol};
        if (next) {
            variants << next->idVariant;
            botols << next->idBotol;
        }
        lockItems(QStringLiteral("tvr_dtvariant"), QStringLiteral("idvariant"), variants);
        lockItems(QStringLiteral("tvr_dtbotol"), QStringLiteral("idbotol"), botols);
        const std::optional<Taken> locked = takenBy(id, true);
        if (!locked || (locked->idCust == seen->idCust && locked->idVariant == seen->idVariant &&
                        locked->idBotol == seen->idBotol))
            return locked;
        seen = locked;
    }
    return seen ? takenBy(id, true) : std::nullopt;
}

} // namespace

namespace {
// The row of `table` whose key column equals the typed text without its
// surrounding blanks, in any letter case; the row spelled exactly so wins.
std::optional<QVariantList> rowByKey(const QString& columns, const QString& table,
                                     const QString& keyColumn, const QString& idColumn,
                                     const QString& typed)
{
    const QString key = typed.trimmed();
    if (key.isEmpty())
        return std::nullopt;
    return firstRow(QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %4 <> ?, %5 LIMIT 1")
                        .arg(columns, table, Db::equalsIgnoringCase(keyColumn), keyColumn,
                             idColumn),
                    {key, key});
}
} // namespace

std::optional<Customer> findCustomer(const QString& typed)
{
    const auto r = rowByKey(QStringLiteral("idcust, cust_nomor, cust_nama, cust_alamat, cust_notelp"),
                            QStringLiteral("tvr_customer"), QStringLiteral("cust_nomor"),
                            QStringLiteral("idcust"), typed);
    if (!r)
        return std::nullopt;
    return Customer{r->at(0).toInt(), r->at(1).toString(), r->at(2).toString(), r->at(3).toString(),
                    r->at(4).toString()};
}

std::optional<Variant> findVariant(const QString& typed)
{
    const auto r = rowByKey(
        QStringLiteral("idvariant, variant_kode, variant_nama, variant_harga, variant_stock"),
        QStringLiteral("tvr_dtvariant"), QStringLiteral("variant_kode"), QStringLiteral("idvariant"),
        typed);
    if (!r)
        return std::nullopt;
    return Variant{r->at(0).toInt(), r->at(1).toString(), r->at(2).toString(), r->at(3).toDouble(),
                   r->at(4).toDouble()};
}

std::optional<Botol> findBotol(const QString& typed)
{
    const auto r = rowByKey(QStringLiteral("idbotol, botol_tipe, botol_harga, botol_stock"),
                            QStringLiteral("tvr_dtbotol"), QStringLiteral("botol_tipe"),
                            QStringLiteral("idbotol"), typed);
    if (!r)
        return std::nullopt;
    return Botol{r->at(0).toInt(), r->at(1).toString(), r->at(2).toDouble(), r->at(3).toDouble()};
}

QStringList bottleTypes()
{
    QStringList types{RefillBottleType};
    const RowSet rs = Db::select(QStringLiteral("SELECT botol_tipe FROM tvr_dtbotol "
                                                "WHERE botol_tipe <> ? ORDER BY botol_tipe ASC"),
                                 {RefillBottleType});
    for (int i = 0; i < rs.size(); ++i)
        types << rs.value(i, 0).toString();
    return types;
}

QDate firstSaleDay()
{
    // MIN reads one end of the sales_date index.
    const QVariant day = Db::scalar(QStringLiteral("SELECT MIN(sales_date) FROM tvr_sales"));
    return QDate::fromString(day.toString(), QStringLiteral("yyyy-MM-dd"));
}

RowSet dayList(const QDate& day)
{
    return Db::select(
        QStringLiteral("SELECT s.idsales, s.sales_date, c.cust_nama, v.variant_kode, "
                       "s.sales_mililiter, s.sales_totalml, b.botol_tipe, s.sales_hargatotal, "
                       "s.sales_diskon, s.sales_hargadiskon, s.sales_status ")
                       + SaleWithItems + QStringLiteral("WHERE s.sales_date = ? ORDER BY s.idsales DESC"),
        {Regional::dateText(day)});
}

RowSet dayListPage(const QDate& day, qint64 beforeId, int limit)
{
    QString sql = QStringLiteral("SELECT s.idsales, s.sales_date, c.cust_nama, v.variant_kode, "
                                 "s.sales_mililiter, s.sales_totalml, b.botol_tipe, "
                                 "s.sales_hargatotal, s.sales_diskon, s.sales_hargadiskon, "
                                 "s.sales_status ") +
                  SaleWithItems + QStringLiteral("WHERE s.sales_date = ? ");
    QVariantList values{Regional::dateText(day)};
    if (beforeId > 0) {
        sql += QStringLiteral("AND s.idsales < ? ");
        values << beforeId;
    }
    sql += QStringLiteral("ORDER BY s.idsales DESC LIMIT ?");
    values << limit;
    return Db::select(sql, values);
}

RowSet dayListRow(qint64 id)
{
    return Db::select(
        QStringLiteral("SELECT s.idsales, s.sales_date, c.cust_nama, v.variant_kode, "
                       "s.sales_mililiter, s.sales_totalml, b.botol_tipe, s.sales_hargatotal, "
                       "s.sales_diskon, s.sales_hargadiskon, s.sales_status ") +
            SaleWithItems + QStringLiteral("WHERE s.idsales = ?"),
        {id});
}

std::optional<Sale> loadSale(qint64 id)
{
    const auto r = firstRow(
        QStringLiteral("SELECT s.idsales, s.sales_status, c.cust_nomor, s.sales_idvariant, "
                       "v.variant_kode, s.sales_idbotol, b.botol_tipe, s.sales_mililiter, "
                       "s.sales_totalml, s.sales_hargavariant, s.sales_hargabotol, "
                       "s.sales_hargatotal, s.sales_diskon, s.sales_hargadiskon ")
                       + SaleWithItems + QStringLiteral("WHERE s.idsales = ?"),
        {id});
    if (!r)
        return std::nullopt;
    Sale s;
    s.id = r->at(0).toLongLong();
    s.status = r->at(1).toInt();
    s.custNomor = r->at(2).toString();
    s.idVariant = r->at(3).toInt();
    s.variantKode = r->at(4).toString();
    s.idBotol = r->at(5).toInt();
    s.botolTipe = r->at(6).toString();
    s.mililiter = r->at(7).toDouble();
    s.totalml = r->at(8).toDouble();
    s.hargaVariant = r->at(9).toDouble();
    s.hargaBotol = r->at(10).toDouble();
    s.hargaTotal = r->at(11).toDouble();
    s.diskon = r->at(12).toDouble();
    s.hargaDiskon = r->at(13).toDouble();
    return s;
}

std::optional<ReceiptSale> receiptSale(qint64 id)
{
    const auto r = firstRow(
        QStringLiteral("SELECT s.idsales, s.sales_date, s.sales_author, "
                       "(SELECT u.user_namalengkap FROM tvr_user u "
                       " WHERE u.user_name = s.sales_author ORDER BY u.iduser LIMIT 1), "
                       "c.cust_nomor, c.cust_nama, v.variant_kode, v.variant_nama, b.botol_tipe, "
                       "s.sales_mililiter, s.sales_hargavariant, s.sales_hargabotol, "
                       "s.sales_hargatotal, s.sales_diskon, s.sales_hargadiskon ")
                       + SaleWithItems + QStringLiteral("WHERE s.idsales = ?"),
        {id});
    if (!r)
        return std::nullopt;
    ReceiptSale s;
    s.id = r->at(0).toLongLong();
    s.date = QDate::fromString(r->at(1).toString(), QStringLiteral("yyyy-MM-dd"));
    const QString fullName = r->at(3).toString().trimmed();
    s.cashier = fullName.isEmpty() ? r->at(2).toString() : fullName;
    s.custNomor = r->at(4).toString();
    s.custNama = r->at(5).toString();
    s.variantKode = r->at(6).toString();
    s.variantNama = r->at(7).toString();
    s.botolTipe = r->at(8).toString();
    s.refill = s.botolTipe == RefillBottleType;
    s.mililiter = r->at(9).toDouble();
    s.hargaVariant = r->at(10).toDouble();
    s.hargaBotol = r->at(11).toDouble();
    s.hargaTotal = r->at(12).toDouble();
    s.diskon = r->at(13).toDouble();
    s.hargaDiskon = r->at(14).toDouble();
    return s;
}

qint64 addSale(const NewSale& sale)
{
    qint64 id = 0;
    const Outcome outcome = recordSale(sale, &id);
    if (outcome != Outcome::Done)
        throw DbError(refusalText(outcome));
    return id;
}

QString refusalText(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Done: return {};
    case Outcome::Missing:
        return QStringLiteral("Rekaman ini sudah tidak ada (telah dihapus dari kasir lain).");
    case Outcome::Locked: return QStringLiteral("Maaf, rekaman ini tidak dapat dirubah.");
    case Outcome::NoConcentrate: return QStringLiteral("Stock Konsentrat tidak tersedia.");
    case Outcome::NoBottle: return QStringLiteral("Stock Botol tidak tersedia.");
    case Outcome::CustomerGone:
        return QStringLiteral("Customer ini sudah tidak ada (telah dihapus dari kasir lain).");
    case Outcome::VariantGone:
        return QStringLiteral("Variant ini sudah tidak ada (telah dihapus dari kasir lain).");
    case Outcome::BotolGone:
        return QStringLiteral("Tipe botol ini sudah tidak ada (telah dihapus dari kasir lain).");
    }
    return {};
}

namespace {

// The cost a sale records: the variant's cost per millilitre and the bottle
// type's cost as they stand when it is written, so a later change of either
// never changes the margin of a sale already made.
struct Cost {
    QVariant perMl, bottle;
    QVariant of(double mililiter) const
    {
        if (perMl.isNull() || bottle.isNull())
            return QVariant(QMetaType::fromType<double>());
        return mililiter * perMl.toDouble() + bottle.toDouble();
    }
};

QVariant currentCost(const QString& sql, int id)
{
    const QVariant v = Db::scalar(sql, {id});
    return v.isValid() && !v.isNull() ? v.toDouble() : 0.0;
}

QVariant variantCost(int idVariant)
{
    return currentCost(
        QStringLiteral("SELECT variant_pokok FROM tvr_dtvariant WHERE idvariant = ?"), idVariant);
}

QVariant botolCost(int idBotol)
{
    return currentCost(QStringLiteral("SELECT botol_pokok FROM tvr_dtbotol WHERE idbotol = ?"),
                       idBotol);
}

Outcome recordSaleOnce(const NewSale& sale, qint64* savedId)
{
    const QString today = Regional::today();
    Transaction tx;
    int idCust = sale.idCust;
    // Rows looked up earlier may have been deleted by another till since; the
    // locks taken here keep them until this sale is written. Customer, then
    // variant, then bottle, then the sale: every writer takes them in this order.
    if (idCust != 0 && !stillThere(QStringLiteral("tvr_customer"), QStringLiteral("idcust"), idCust))
        return Outcome::CustomerGone;
    if (idCust == 0) {
        // A customer of that number entered meanwhile (in any letter case) is
        // the one meant: a number is never registered twice. A refusal below
        // rolls the new customer back with the sale.
        const NewCustomer& c = sale.customer;
        Db::lockKey(QStringLiteral("tvr_customer"), c.nomor);
        if (const auto known = findCustomer(c.nomor)) {
            idCust = known->id;
        } else {
            const QSqlQuery q = Db::exec(
                QStringLiteral("INSERT INTO tvr_customer (cust_nomor, cust_nama, cust_alamat, "
                               "cust_notelp, cust_date, cust_author) VALUES (?, ?, ?, ?, ?, ?)"),
                {c.nomor.trimmed(), c.nama, c.alamat, c.notelp, today, LoginUserName});
            idCust = int(Db::insertedId(q));
        }
    }
    const Amounts& a = sale.amounts;
    if (const Outcome taken = takeConcentrate(a.idVariant, a.mililiter); taken != Outcome::Done)
        return taken;
    if (const Outcome taken = takeBottle(a.idBotol); taken != Outcome::Done)
        return taken;
    const Cost cost{variantCost(a.idVariant), botolCost(a.idBotol)};
    const QSqlQuery q = Db::exec(
        QStringLiteral("INSERT INTO tvr_sales (sales_idcust, sales_idvariant, sales_mililiter, "
                       "sales_totalml, sales_idbotol, sales_hargavariant, sales_hargabotol, "
                       "sales_hargatotal, sales_diskon, sales_hargadiskon, sales_date, "
                       "sales_author, sales_pokokvariant, sales_pokokbotol, sales_pokok) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {idCust, a.idVariant, a.mililiter, a.totalml, a.idBotol, a.hargaVariant, a.hargaBotol,
         a.hargaTotal, a.diskon, a.hargaDiskon, today, LoginUserName, cost.perMl, cost.bottle,
         cost.of(a.mililiter)});
    const qint64 id = Db::insertedId(q);
    tx.commit();
    if (savedId)
        *savedId = id;
    return Outcome::Done;
}

// A sale as the trail keeps it before and after its correction or deletion.
QString saleText(qint64 id)
{
    return Trail::rowText(
        QStringLiteral("SELECT sales_date, sales_author, sales_idcust, sales_idvariant, "
                       "sales_mililiter, sales_idbotol, sales_hargatotal, sales_diskon, "
                       "sales_hargadiskon FROM tvr_sales WHERE idsales = ?"),
        {id});
}

QString saleObject(qint64 id)
{
    return QStringLiteral("penjualan %1").arg(id);
}

Outcome correctSaleOnce(qint64 id, const Amounts& a)
{
    Transaction tx;
    const std::optional<Taken> old = lockSaleWithItems(id, &a);
    if (!old)
        return Outcome::Missing;
    if (old->status == 1)
        return Outcome::Locked;
    const QString before = saleText(id);
    // Give back what the sale took and take the new amounts; on the same
    // item the two moves net to one. What is taken must be there as stored.
    if (old->idVariant == a.idVariant) {
        if (old->mililiter != a.mililiter)
            if (const Outcome taken = takeConcentrate(a.idVariant, a.mililiter - old->mililiter);
                taken != Outcome::Done)
                return taken;
    } else {
        moveConcentrate(old->idVariant, old->mililiter);
        if (const Outcome taken = takeConcentrate(a.idVariant, a.mililiter); taken != Outcome::Done)
            return taken;
    }
    if (old->idBotol != a.idBotol) {
        moveBottles(old->idBotol, +1);
        if (const Outcome taken = takeBottle(a.idBotol); taken != Outcome::Done)
            return taken;
    } else if (!stillThere(QStringLiteral("tvr_dtbotol"), QStringLiteral("idbotol"), a.idBotol)) {
        return Outcome::BotolGone;
    }
    // The unit prices stored are those the stored total was computed from, so
    // the row never contradicts itself: a correction that keeps the goods and
    // was not repriced keeps the prices the sale was made at.
    const bool keepPrices =
        !a.repriced && old->idVariant == a.idVariant && old->idBotol == a.idBotol;
    const double hargaVariant = keepPrices ? old->hargaVariant : a.hargaVariant;
    const double hargaBotol = keepPrices ? old->hargaBotol : a.hargaBotol;
    // The sale keeps the costs it was made at; an item exchanged for another
    // takes that item's cost of today.
    const RowSet stored = Db::select(
        QStringLiteral("SELECT sales_pokokvariant, sales_pokokbotol FROM tvr_sales WHERE idsales = ?"),
        {id});
    Cost cost{old->idVariant == a.idVariant ? stored.value(0, 0) : variantCost(a.idVariant),
              old->idBotol == a.idBotol ? stored.value(0, 1) : botolCost(a.idBotol)};
    if (cost.perMl.isNull())
        cost.perMl = QVariant(QMetaType::fromType<double>());
    if (cost.bottle.isNull())
        cost.bottle = QVariant(QMetaType::fromType<double>());
    Db::exec(QStringLiteral("UPDATE tvr_sales SET sales_idvariant = ?, sales_idbotol = ?, "
                            "sales_mililiter = ?, sales_totalml = ?, sales_hargavariant = ?, "
                            "sales_hargabotol = ?, sales_hargatotal = ?, sales_diskon = ?, "
                            "sales_hargadiskon = ?, sales_pokokvariant = ?, sales_pokokbotol = ?, "
                            "sales_pokok = ? WHERE idsales = ?"),
             {a.idVariant, a.idBotol, a.mililiter, a.totalml, hargaVariant, hargaBotol,
              a.hargaTotal, a.diskon, a.hargaDiskon, cost.perMl, cost.bottle,
              cost.of(a.mililiter), id});
    Trail::write(Trail::Kind::SaleCorrected, saleObject(id), before, saleText(id));
    tx.commit();
    return Outcome::Done;
}

Outcome deleteSaleOnce(qint64 id)
{
    Transaction tx;
    const std::optional<Taken> old = lockSaleWithItems(id, nullptr);
    if (!old)
        return Outcome::Missing;
    if (old->status == 1)
        return Outcome::Locked;
    const QString before = saleText(id);
    Db::exec(QStringLiteral("DELETE FROM tvr_sales WHERE idsales = ?"), {id});
    moveConcentrate(old->idVariant, old->mililiter);
    moveBottles(old->idBotol, +1);
    Trail::write(Trail::Kind::SaleDeleted, saleObject(id), before);
    tx.commit();
    return Outcome::Done;
}

} // namespace

Outcome recordSale(const NewSale& sale, qint64* savedId)
{
    const Outcome o = Db::retryOnce([&] { return recordSaleOnce(sale, savedId); });
    LowStock::saved();
    return o;
}

Outcome correctSale(qint64 id, const Amounts& amounts)
{
    const Outcome o = Db::retryOnce([&] { return correctSaleOnce(id, amounts); });
    LowStock::saved();
    return o;
}

Outcome deleteSale(qint64 id)
{
    const Outcome o = Db::retryOnce([&] { return deleteSaleOnce(id); });
    LowStock::saved();
    return o;
}

} // namespace SalesStore
