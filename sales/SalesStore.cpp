#include "SalesStore.h"

#include "core/Globals.h"
#include "core/Regional.h"

namespace SalesStore {

namespace {

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

// What a recorded sale took from stock, read inside the caller's transaction.
struct Taken {
    int idVariant = 0;
    int idBotol = 0;
    double mililiter = 0;
    int status = 0;
};

std::optional<Taken> takenBy(qint64 id)
{
    const RowSet rs = Db::select(QStringLiteral("SELECT sales_idvariant, sales_idbotol, "
                                                "sales_mililiter, sales_status "
                                                "FROM tvr_sales WHERE idsales = ?"),
                                 {id});
    if (rs.isEmpty())
        return std::nullopt;
    return Taken{rs.value(0, 0).toInt(), rs.value(0, 1).toInt(), rs.value(0, 2).toDouble(),
                 rs.value(0, 3).toInt()};
}

} // namespace

std::optional<Customer> findCustomer(const QString& nomor)
{
    if (nomor.isEmpty())
        return std::nullopt;
    const RowSet rs = Db::select(QStringLiteral("SELECT idcust, cust_nomor, cust_nama, "
                                                "cust_alamat, cust_notelp FROM tvr_customer "
                                                "WHERE cust_nomor = ? ORDER BY idcust LIMIT 1"),
                                 {nomor});
    if (rs.isEmpty())
        return std::nullopt;
    return Customer{rs.value(0, 0).toInt(), rs.value(0, 1).toString(), rs.value(0, 2).toString(),
                    rs.value(0, 3).toString(), rs.value(0, 4).toString()};
}

std::optional<Variant> findVariant(const QString& kode)
{
    if (kode.isEmpty())
        return std::nullopt;
    const RowSet rs =
        Db::select(QStringLiteral("SELECT idvariant, variant_kode, variant_nama, "
                                  "variant_harga, variant_stock FROM tvr_dtvariant "
                                  "WHERE variant_kode = ? ORDER BY idvariant LIMIT 1"),
                   {kode});
    if (rs.isEmpty())
        return std::nullopt;
    return Variant{rs.value(0, 0).toInt(), rs.value(0, 1).toString(), rs.value(0, 2).toString(),
                   rs.value(0, 3).toDouble(), rs.value(0, 4).toDouble()};
}

std::optional<Botol> findBotol(const QString& tipe)
{
    if (tipe.isEmpty())
        return std::nullopt;
    const RowSet rs = Db::select(QStringLiteral("SELECT idbotol, botol_tipe, botol_harga, "
                                                "botol_stock FROM tvr_dtbotol "
                                                "WHERE botol_tipe = ? ORDER BY idbotol LIMIT 1"),
                                 {tipe});
    if (rs.isEmpty())
        return std::nullopt;
    return Botol{rs.value(0, 0).toInt(), rs.value(0, 1).toString(), rs.value(0, 2).toDouble(),
                 rs.value(0, 3).toDouble()};
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
                       "s.sales_diskon, s.sales_hargadiskon, s.sales_status "
                       "FROM tvr_sales s "
                       "JOIN tvr_customer c ON c.idcust = s.sales_idcust "
                       "JOIN tvr_dtvariant v ON v.idvariant = s.sales_idvariant "
                       "JOIN tvr_dtbotol b ON b.idbotol = s.sales_idbotol "
                       "WHERE s.sales_date = ? ORDER BY s.idsales DESC"),
        {Regional::dateText(day)});
}

std::optional<Sale> loadSale(qint64 id)
{
    const RowSet rs = Db::select(
        QStringLiteral("SELECT s.idsales, s.sales_status, s.sales_date, c.cust_nomor, "
                       "s.sales_idvariant, v.variant_kode, v.variant_stock, s.sales_idbotol, "
                       "b.botol_tipe, s.sales_mililiter, s.sales_totalml, s.sales_hargavariant, "
                       "s.sales_hargabotol, s.sales_hargatotal, s.sales_diskon, "
                       "s.sales_hargadiskon "
                       "FROM tvr_sales s "
                       "JOIN tvr_customer c ON c.idcust = s.sales_idcust "
                       "JOIN tvr_dtvariant v ON v.idvariant = s.sales_idvariant "
                       "JOIN tvr_dtbotol b ON b.idbotol = s.sales_idbotol "
                       "WHERE s.idsales = ?"),
        {id});
    if (rs.isEmpty())
        return std::nullopt;
    Sale s;
    s.id = rs.value(0, 0).toLongLong();
    s.status = rs.value(0, 1).toInt();
    s.date = rs.value(0, 2).toString();
    s.custNomor = rs.value(0, 3).toString();
    s.idVariant = rs.value(0, 4).toInt();
    s.variantKode = rs.value(0, 5).toString();
    s.variantStock = rs.value(0, 6).toDouble();
    s.idBotol = rs.value(0, 7).toInt();
    s.botolTipe = rs.value(0, 8).toString();
    s.mililiter = rs.value(0, 9).toDouble();
    s.totalml = rs.value(0, 10).toDouble();
    s.hargaVariant = rs.value(0, 11).toDouble();
    s.hargaBotol = rs.value(0, 12).toDouble();
    s.hargaTotal = rs.value(0, 13).toDouble();
    s.diskon = rs.value(0, 14).toDouble();
    s.hargaDiskon = rs.value(0, 15).toDouble();
    return s;
}

qint64 addSale(const NewSale& sale)
{
    const QString today = Regional::today();
    Transaction tx;
    int idCust = sale.idCust;
    if (idCust == 0) {
        const NewCustomer& c = sale.customer;
        const QSqlQuery q = Db::exec(
            QStringLiteral("INSERT INTO tvr_customer (cust_nomor, cust_nama, cust_alamat, "
                           "cust_notelp, cust_date, cust_author) VALUES (?, ?, ?, ?, ?, ?)"),
            {c.nomor, c.nama, c.alamat, c.notelp, today, LoginUserName});
        idCust = int(Db::insertedId(q));
    }
    const Amounts& a = sale.amounts;
    const QSqlQuery q = Db::exec(
        QStringLiteral("INSERT INTO tvr_sales (sales_idcust, sales_idvariant, sales_mililiter, "
                       "sales_totalml, sales_idbotol, sales_hargavariant, sales_hargabotol, "
                       "sales_hargatotal, sales_diskon, sales_hargadiskon, sales_date, "
                       "sales_author) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {idCust, a.idVariant, a.mililiter, a.totalml, a.idBotol, sale.hargaVariant, sale.hargaBotol,
         a.hargaTotal, a.diskon, a.hargaDiskon, today, LoginUserName});
    const qint64 id = Db::insertedId(q);
    moveBottles(a.idBotol, -1);
    moveConcentrate(a.idVariant, -a.mililiter);
    tx.commit();
    return id;
}

Outcome correctSale(qint64 id, const Amounts& a)
{
    Transaction tx;
    const std::optional<Taken> old = takenBy(id);
    if (!old)
        return Outcome::Missing;
    if (old->status == 1)
        return Outcome::Locked;
    Db::exec(QStringLiteral("UPDATE tvr_sales SET sales_idvariant = ?, sales_idbotol = ?, "
                            "sales_mililiter = ?, sales_totalml = ?, sales_hargatotal = ?, "
                            "sales_diskon = ?, sales_hargadiskon = ? WHERE idsales = ?"),
             {a.idVariant, a.idBotol, a.mililiter, a.totalml, a.hargaTotal, a.diskon, a.hargaDiskon,
              id});
    // Give back what the sale took and take the new amounts; on the same
    // item the two moves net to one.
    if (old->idBotol != a.idBotol) {
        moveBottles(old->idBotol, +1);
        moveBottles(a.idBotol, -1);
    }
    if (old->idVariant == a.idVariant) {
        if (old->mililiter != a.mililiter)
            moveConcentrate(a.idVariant, old->mililiter - a.mililiter);
    } else {
        moveConcentrate(old->idVariant, old->mililiter);
        moveConcentrate(a.idVariant, -a.mililiter);
    }
    tx.commit();
    return Outcome::Done;
}

Outcome deleteSale(qint64 id)
{
    Transaction tx;
    const std::optional<Taken> old = takenBy(id);
    if (!old)
        return Outcome::Missing;
    if (old->status == 1)
        return Outcome::Locked;
    Db::exec(QStringLiteral("DELETE FROM tvr_sales WHERE idsales = ?"), {id});
    moveBottles(old->idBotol, +1);
    moveConcentrate(old->idVariant, old->mililiter);
    tx.commit();
    return Outcome::Done;
}

} // namespace SalesStore
