#include "VisitStore.h"

#include "analysis/LowStock.h"
#include "core/Rights.h"
#include "core/Trail.h"

#include "core/Globals.h"
#include "core/Regional.h"

#include <QTime>

#include <algorithm>
#include <functional>

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

QString Result::text() const
{
    return shift != ShiftStore::Outcome::Done ? ShiftStore::refusalText(shift)
                                              : SalesStore::refusalText(sale);
}

namespace {
Result recordVisitOnce(const NewVisit& nv, Saved* saved)
{
    using SalesStore::Outcome;
    const Visit& visit = nv.visit;
    Q_ASSERT(visit.isPaid() && !visit.items().isEmpty());
    const QString today = Regional::today();
    const QString now = QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
    Transaction tx;
    if (const auto o = ShiftStore::lockOpen(nv.idShift); o != ShiftStore::Outcome::Done)
        return {Outcome::Done, o};
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
            return {o};
        result.idSales << idSales;
        // The first item registered a new customer: the others are theirs.
        if (idCust == 0)
            idCust = Db::scalar(QStringLiteral("SELECT sales_idcust FROM tvr_sales WHERE idsales = ?"),
                                {idSales})
                         .toInt();
    }

    const QSqlQuery q = Db::exec(
        QStringLiteral("INSERT INTO tvr_visit (visit_idcust, visit_idshift, visit_total, "
                       "visit_pembulatan, visit_bayar, visit_date, visit_jam, visit_author) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
        {idCust, nv.idShift, visit.total(), visit.rounding(), visit.amountToPay(), today, now, LoginUserName});
    result.idVisit = Db::insertedId(q);
    for (qint64 idSales : result.idSales)
        Db::exec(QStringLiteral("INSERT INTO tvr_visitsales (visitsales_idsales, "
                                "visitsales_idvisit) VALUES (?, ?)"),
                 {idSales, result.idVisit});
    const Payment& p = visit.payment();
    Db::exec(QStringLiteral("INSERT INTO tvr_payment (payment_idvisit, payment_idshift, "
                            "payment_jenis, payment_metode, payment_tunai, payment_jumlah, "
                            "payment_diterima, payment_kembali, payment_date, payment_jam, "
                            "payment_author) VALUES (?, ?, 0, ?, ?, ?, ?, ?, ?, ?, ?)"),
             {result.idVisit, nv.idShift, p.method, p.cash ? 1 : 0, visit.amountToPay(), p.received, p.change, today, now,
              LoginUserName});
    tx.commit();
    if (saved)
        *saved = result;
    return {};
}
} // namespace

Result recordVisit(const NewVisit& nv, Saved* saved)
{
    const Result r = Db::retryOnce([&] { return recordVisitOnce(nv, saved); });
    LowStock::saved();
    return r;
}

qint64 visitOf(qint64 idSales)
{
    return Db::scalar(QStringLiteral("SELECT visitsales_idvisit FROM tvr_visitsales "
                                     "WHERE visitsales_idsales = ?"),
                      {idSales})
        .toLongLong();
}

QString methodOf(qint64 idSales)
{
    return Db::scalar(QStringLiteral("SELECT p.payment_metode FROM tvr_visitsales v "
                                     "JOIN tvr_payment p ON p.payment_idvisit = v.visitsales_idvisit "
                                     "AND p.payment_jenis = 0 WHERE v.visitsales_idsales = ?"),
                      {idSales})
        .toString();
}

namespace {
enum Kind { VisitPaid = 0, ItemCorrected = 1, ItemDeleted = 2 };

// What the customer of the sale's visit owes for its items now, rounded as at
// the till; a sale of its own owes its own amount.
double owed(qint64 idVisit, qint64 idSales, double step)
{
    const QVariant sum =
        idVisit != 0
            ? Db::scalar(QStringLiteral("SELECT SUM(s.sales_hargadiskon) FROM tvr_visitsales v "
                                        "JOIN tvr_sales s ON s.idsales = v.visitsales_idsales "
                                        "WHERE v.visitsales_idvisit = ?"),
                         {idVisit})
            : Db::scalar(QStringLiteral("SELECT sales_hargadiskon FROM tvr_sales WHERE idsales = ?"),
                         {idSales});
    return roundToStep(sum.toDouble(), step);
}

// What was paid so far: the visit's payments with the differences booked since;
// for a sale of its own, its amount (its payment was not recorded) with the
// differences booked for it.
double paid(qint64 idVisit, qint64 idSales, double step)
{
    if (idVisit != 0)
        return Db::scalar(QStringLiteral("SELECT SUM(payment_jumlah) FROM tvr_payment "
                                         "WHERE payment_idvisit = ?"),
                          {idVisit})
            .toDouble();
    return owed(0, idSales, step) +
           Db::scalar(QStringLiteral("SELECT SUM(payment_jumlah) FROM tvr_payment "
                                     "WHERE payment_idvisit IS NULL AND payment_idsales = ?"),
                      {idSales})
               .toDouble();
}

Result bookChange(qint64 idSales, Kind kind, const PaymentMethod& method, qint64 idShift,
                  double step, const std::function<SalesStore::Outcome()>& change,
                  double* difference)
{
    Transaction tx;
    if (const auto o = ShiftStore::lockOpen(idShift); o != ShiftStore::Outcome::Done)
        return {SalesStore::Outcome::Done, o};
    const qint64 idVisit = visitOf(idSales);
    // A cashier changes the items of visits paid in the open shift only.
    if (!Rights::may(Rights::Action::DeleteDaySales) &&
        (idVisit == 0 ||
         !Db::scalar(QStringLiteral("SELECT 1 FROM tvr_payment WHERE payment_idvisit = ? AND "
                                    "payment_jenis = 0 AND payment_idshift = ?"),
                     {idVisit, idShift})
              .isValid()))
        throw Rights::Refused(Rights::Action::DeleteDaySales);
    const double before = paid(idVisit, idSales, step);
    if (const SalesStore::Outcome o = change(); o != SalesStore::Outcome::Done)
        return {o};
    if (kind == ItemDeleted)
        Db::exec(QStringLiteral("DELETE FROM tvr_visitsales WHERE visitsales_idsales = ?"), {idSales});
    const double diff = roundToCents(owed(idVisit, idSales, step) - before);
    if (diff != 0)
        Db::exec(QStringLiteral("INSERT INTO tvr_payment (payment_idvisit, payment_idsales, "
                                "payment_idshift, payment_jenis, payment_metode, payment_tunai, "
                                "payment_jumlah, payment_diterima, payment_kembali, payment_date, "
                                "payment_jam, payment_author) "
                                "VALUES (?, ?, ?, ?, ?, ?, ?, ?, 0, ?, ?, ?)"),
                 {idVisit != 0 ? QVariant(idVisit) : QVariant(QMetaType(QMetaType::LongLong)),
                  idSales, idShift, int(kind), method.name, method.cash ? 1 : 0, diff, diff, Regional::today(),
                  QTime::currentTime().toString(QStringLiteral("HH:mm:ss")), LoginUserName});
    if (diff < 0)
        Trail::write(Trail::Kind::Refund,
                     idVisit != 0 ? QStringLiteral("kunjungan %1").arg(idVisit)
                                  : QStringLiteral("penjualan %1").arg(idSales),
                     QStringLiteral("dibayar: %1").arg(before, 0, 'f', 2),
                     QStringLiteral("dikembalikan: %1 (%2)").arg(-diff, 0, 'f', 2).arg(method.name));
    tx.commit();
    if (difference)
        *difference = diff;
    return {};
}
} // namespace

Result correctItem(qint64 idSales, const SalesStore::Amounts& amounts,
                   const PaymentMethod& method, qint64 idShift, double step, double* difference)
{
    const Result r = Db::retryOnce([&] {
        return bookChange(
            idSales, ItemCorrected, method, idShift, step,
            [&] { return SalesStore::correctSale(idSales, amounts); }, difference);
    });
    LowStock::saved();
    return r;
}

Result deleteItem(qint64 idSales, const PaymentMethod& method, qint64 idShift, double step,
                  double* difference)
{
    const Result r = Db::retryOnce([&] {
        return bookChange(
            idSales, ItemDeleted, method, idShift, step,
            [&] { return SalesStore::deleteSale(idSales); }, difference);
    });
    LowStock::saved();
    return r;
}

std::optional<ReceiptVisit> receiptVisit(qint64 idVisit)
{
    const RowSet head = Db::select(
        QStringLiteral("SELECT v.visit_bayar, v.visit_pembulatan, p.payment_metode, "
                       "p.payment_tunai, p.payment_diterima, p.payment_kembali FROM tvr_visit v "
                       "LEFT JOIN tvr_payment p ON p.payment_idvisit = v.idvisit AND "
                       "p.payment_jenis = 0 WHERE v.idvisit = ?"),
        {idVisit});
    if (head.isEmpty())
        return std::nullopt;
    ReceiptVisit r;
    r.amountToPay = head.value(0, 0).toDouble();
    r.rounding = head.value(0, 1).toDouble();
    r.payment = {head.value(0, 2).toString(), head.value(0, 3).toInt() != 0,
                 head.value(0, 4).toDouble(), head.value(0, 5).toDouble()};
    const RowSet ids = Db::select(QStringLiteral("SELECT visitsales_idsales FROM tvr_visitsales "
                                                 "WHERE visitsales_idvisit = ? ORDER BY 1"),
                                  {idVisit});
    for (const QVariantList& row : ids.rows)
        if (const auto item = SalesStore::receiptSale(row.at(0).toLongLong()))
            r.items << *item;
    return r;
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
