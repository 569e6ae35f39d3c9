#include "VisitStore.h"

#include "core/Globals.h"
#include "core/Regional.h"

#include <QTime>

#include <algorithm>

namespace VisitStore {

namespace {
// Rows of several items are locked in one order by every writer (customer,
// then variants, then bottle types, each by key), so two tills paying visits of
// the same items never wait for each other in a circle.
void lockItems(const QList<VisitItem>& items)
{
    if (Db::isSqlite())
        return;
    QList<int> variants, bottles;
    for (const VisitItem& item : items) {
        variants << item.idVariant;
        bottles << item.idBotol;
    }
    for (auto [table, key, ids] : {std::tuple{"tvr_dtvariant", "idvariant", variants},
                                   std::tuple{"tvr_dtbotol", "idbotol", bottles}}) {
        std::sort(ids.begin(), ids.end());
        ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
        for (int id : ids)
            Db::exec(QStringLiteral("SELECT %1 FROM %2 WHERE %1 = ?%3")
                         .arg(QLatin1String(key), QLatin1String(table), Db::lockRows()),
                     {id});
    }
}
} // namespace

SalesStore::Outcome recordVisit(const NewVisit& nv, Saved* saved)
{
    using SalesStore::Outcome;
    const Visit& visit = nv.visit;
    Q_ASSERT(visit.isPaid() && !visit.items().isEmpty());
    const QString today = Regional::today();
    const QString now = QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
    Transaction tx;
    if (nv.idCust != 0)
        Db::exec(QStringLiteral("SELECT idcust FROM tvr_customer WHERE idcust = ?") +
                     Db::lockRows(),
                 {nv.idCust});
    lockItems(visit.items());

    Saved result;
    int idCust = nv.idCust;
    for (const VisitItem& item : visit.items()) {
        const SalePrice price = item.price();
        SalesStore::NewSale sale{idCust, nv.customer,
                                 SalesStore::Amounts{item.idVariant, item.idBotol, item.mililiter,
                                                     item.totalml, price.harga, item.diskon,
                                                     price.total, item.hargaVariant,
                                                     item.hargaBotol}};
        qint64 idSales = 0;
        if (const Outcome o = SalesStore::recordSale(sale, &idSales); o != Outcome::Done)
            return o;
        result.idSales << idSales;
        // The first item registered a new customer: the others are theirs.
        if (idCust == 0)
            idCust = Db::scalar(QStringLiteral("SELECT sales_idcust FROM tvr_sales WHERE idsales = ?"),
                                {idSales})
                         .toInt();
    }

    const QSqlQuery q = Db::exec(
        QStringLiteral("INSERT INTO tvr_visit (visit_idcust, visit_total, visit_pembulatan, "
                       "visit_bayar, visit_date, visit_jam, visit_author) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?)"),
        {idCust, visit.total(), visit.rounding(), visit.amountToPay(), today, now, LoginUserName});
    result.idVisit = Db::insertedId(q);
    for (qint64 idSales : result.idSales)
        Db::exec(QStringLiteral("INSERT INTO tvr_visitsales (visitsales_idsales, "
                                "visitsales_idvisit) VALUES (?, ?)"),
                 {idSales, result.idVisit});
    const VisitPayment& p = visit.payment();
    Db::exec(QStringLiteral("INSERT INTO tvr_payment (payment_idvisit, payment_jenis, "
                            "payment_metode, payment_jumlah, payment_diterima, payment_kembali, "
                            "payment_date, payment_jam, payment_author) "
                            "VALUES (?, 0, ?, ?, ?, ?, ?, ?, ?)"),
             {result.idVisit, p.method, visit.amountToPay(), p.received, p.change, today, now,
              LoginUserName});
    tx.commit();
    if (saved)
        *saved = result;
    return Outcome::Done;
}

QList<QPair<QString, double>> takingsByMethod(const QString& date)
{
    const RowSet rs = Db::select(QStringLiteral("SELECT payment_metode, SUM(payment_jumlah) "
                                                "FROM tvr_payment WHERE payment_date = ? "
                                                "GROUP BY payment_metode ORDER BY payment_metode"),
                                 {date});
    QList<QPair<QString, double>> takings;
    for (int i = 0; i < rs.size(); ++i)
        takings << qMakePair(rs.value(i, 0).toString(), rs.value(i, 1).toDouble());
    return takings;
}

} // namespace VisitStore
