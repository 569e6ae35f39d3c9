// Visits and shifts on the large database: a visit of three items paid and
// written with its stock moves, beside its statements run raw; and the close of
// a shift of 800 visits, every figure of it read from the shift's own rows.
#include "Bench.h"

#include "core/Db.h"
#include "core/Globals.h"
#include "payments/ShiftStore.h"
#include "payments/ShiftReport.h"
#include "sales/Receipt.h"
#include "sales/ReceiptPrinter.h"
#include "sales/VisitStore.h"

#include <QDateTime>
#include <QPdfWriter>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>

namespace {

constexpr double FrameTarget = 16;

void visits()
{
    Bench::open(Bench::bigDatabase());
    const RowSet goods = Db::select(QStringLiteral(
        "SELECT idvariant, variant_harga FROM tvr_dtvariant ORDER BY idvariant LIMIT 3"));
    const int refill =
        Db::scalar(QStringLiteral("SELECT idbotol FROM tvr_dtbotol WHERE botol_tipe = ?"),
                   {RefillBottleType})
            .toInt();
    const int customer = Db::scalar(QStringLiteral("SELECT MAX(idcust) FROM tvr_customer")).toInt();
    Db::exec(QStringLiteral("UPDATE tvr_dtvariant SET variant_stock = variant_stock + 100000 "
                            "WHERE idvariant IN (SELECT idvariant FROM tvr_dtvariant "
                            "ORDER BY idvariant LIMIT 3)"));
    qint64 idShift = 0;
    if (const auto open = ShiftStore::openShift(QStringLiteral("Bench")))
        idShift = open->id;
    else
        ShiftStore::open(QStringLiteral("Bench"), 500000, &idShift);

    VisitStore::NewVisit nv;
    nv.idShift = idShift;
    nv.idCust = customer;
    nv.visit = Visit(100);
    for (int i = 0; i < goods.size(); ++i) {
        VisitItem item;
        item.idVariant = goods.value(i, 0).toInt();
        item.hargaVariant = goods.value(i, 1).toDouble();
        item.idBotol = refill;
        item.mililiter = item.totalml = 10 + i;
        nv.visit.addItem(item);
    }
    Bench::measure(
        QStringLiteral("visit: add an item to a visit of two"), 500,
        [&] {
            Visit v = nv.visit;
            v.removeItem(2);
            v.addItem(nv.visit.items().at(2));
            v.amountToPay();
        },
        1);
    nv.visit.pay({QStringLiteral("Tunai"), true, 1e7, 0});
    // The same statements run raw: the three sales with their stock moves,
    // the visit, its links and its payment, in one durable transaction.
    const auto raw = [&](const QString& sql, const QVariantList& values) {
        QSqlQuery q(Db::connection());
        q.prepare(sql);
        for (const QVariant& v : values)
            q.addBindValue(v);
        if (!q.exec())
            throw DbError(q.lastError().text(), sql);
        return q.lastInsertId();
    };
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    const double rawMs = Bench::measure(
        QStringLiteral("raw SQL: a visit of three items"), 50,
        [&] {
            raw(QStringLiteral("BEGIN IMMEDIATE"), {});
            QVariantList ids;
            for (const VisitItem& item : nv.visit.items()) {
                raw(QStringLiteral("SELECT idcust FROM tvr_customer WHERE idcust = ?"), {customer});
                raw(QStringLiteral("UPDATE tvr_dtvariant SET variant_stock = variant_stock - ? "
                                   "WHERE idvariant = ? AND variant_stock >= ?"),
                    {item.mililiter, item.idVariant, item.mililiter});
                raw(QStringLiteral("SELECT idbotol FROM tvr_dtbotol WHERE idbotol = ?"), {refill});
                ids << raw(QStringLiteral("INSERT INTO tvr_sales (sales_idcust, sales_idvariant, "
                                          "sales_mililiter, sales_totalml, sales_idbotol, "
                                          "sales_hargavariant, sales_hargabotol, sales_hargatotal, "
                                          "sales_diskon, sales_hargadiskon, sales_date, "
                                          "sales_author) VALUES (?, ?, ?, ?, ?, ?, 0, ?, 0, ?, ?, ?)"),
                           {customer, item.idVariant, item.mililiter, item.totalml, refill,
                            item.hargaVariant, item.price().harga, item.price().total, today,
                            QStringLiteral("bench")});
            }
            const QVariant visit = raw(
                QStringLiteral("INSERT INTO tvr_visit (visit_idcust, visit_idshift, visit_total, "
                               "visit_pembulatan, visit_bayar, visit_date, visit_jam, visit_author) "
                               "VALUES (?, ?, ?, ?, ?, ?, '12:00:00', 'bench')"),
                {customer, idShift, nv.visit.total(), nv.visit.rounding(), nv.visit.amountToPay(),
                 today});
            for (const QVariant& id : ids)
                raw(QStringLiteral("INSERT INTO tvr_visitsales (visitsales_idsales, "
                                   "visitsales_idvisit) VALUES (?, ?)"),
                    {id, visit});
            raw(QStringLiteral("INSERT INTO tvr_payment (payment_idvisit, payment_idshift, "
                               "payment_jenis, payment_metode, payment_tunai, payment_jumlah, "
                               "payment_diterima, payment_kembali, payment_date, payment_jam, "
                               "payment_author) VALUES (?, ?, 0, 'Tunai', 1, ?, ?, 0, ?, "
                               "'12:00:00', 'bench')"),
                {visit, idShift, nv.visit.amountToPay(), nv.visit.amountToPay(), today});
            raw(QStringLiteral("COMMIT"), {});
        });
    Bench::measure(
        QStringLiteral("visit: three items paid and written, durably committed"), 50,
        [&] {
            if (!VisitStore::recordVisit(nv, nullptr).done())
                throw DbError(QStringLiteral("the visit was refused"));
        },
        std::min(FrameTarget, 3 * rawMs));
    VisitStore::Saved saved;
    VisitStore::recordVisit(nv, &saved);
    Bench::measure(
        QStringLiteral("visit: its receipt read and laid out"), 100,
        [&] {
            const auto r = VisitStore::receiptVisit(saved.idVisit);
            Receipt::lines(r->items,
                           Receipt::Paid{r->amountToPay, r->rounding, r->payment.method,
                                         r->payment.cash, r->payment.received, r->payment.change},
                           {QStringLiteral("Tavoru Aromatic"), {}}, 32,
                           QDateTime::currentDateTime());
        },
        FrameTarget);

    // A shift of 800 visits: the ones just written, and more copied from them.
    const int written = Db::scalar(QStringLiteral("SELECT COUNT(*) FROM tvr_visit WHERE "
                                                  "visit_idshift = ?"),
                                   {idShift})
                            .toInt();
    {
        Transaction tx;
        for (int i = written; i < 800; ++i) {
            const qint64 idVisit = Db::insertedId(Db::exec(
                QStringLiteral("INSERT INTO tvr_visit (visit_idcust, visit_idshift, visit_total, "
                               "visit_pembulatan, visit_bayar, visit_date, visit_jam, "
                               "visit_author) VALUES (?, ?, 45750, 50, 45800, ?, '12:00:00', "
                               "'bench')"),
                {customer, idShift, QDate::currentDate().toString(Qt::ISODate)}));
            Db::exec(QStringLiteral("INSERT INTO tvr_payment (payment_idvisit, payment_idshift, "
                                    "payment_jenis, payment_metode, payment_tunai, payment_jumlah, "
                                    "payment_diterima, payment_kembali, payment_date, payment_jam, "
                                    "payment_author) VALUES (?, ?, 0, ?, ?, 45800, 50000, 4200, "
                                    "?, '12:00:00', 'bench')"),
                     {idVisit, idShift, i % 3 ? QStringLiteral("Tunai") : QStringLiteral("QRIS"),
                      i % 3 ? 1 : 0, QDate::currentDate().toString(Qt::ISODate)});
        }
        tx.commit();
    }
    Bench::measure(
        QStringLiteral("shift: close a shift of 800 visits"), 50,
        [&] {
            if (ShiftStore::close(idShift, 1e6, QString(), nullptr) != ShiftStore::Outcome::Done)
                throw DbError(QStringLiteral("the shift did not close"));
        },
        50, [&] {
            Db::exec(QStringLiteral("UPDATE tvr_shift SET shift_status = 0 WHERE idshift = ?"),
                     {idShift});
        });
    QTemporaryDir dir;
    int n = 0;
    Bench::measure(
        QStringLiteral("shift: close 800 visits with its report painted (58 mm PDF)"), 20,
        [&] {
            ShiftStore::Summary closed;
            if (ShiftStore::close(idShift, 1e6, QString(), &closed) != ShiftStore::Outcome::Done)
                throw DbError(QStringLiteral("the shift did not close"));
            QPdfWriter pdf(dir.filePath(QStringLiteral("tutup-%1.pdf").arg(++n)));
            ReceiptPrinter::paint(&pdf,
                                  ShiftReport::lines(closed, QStringLiteral("Tavoru Aromatic"), 32,
                                                     QDateTime::currentDateTime()),
                                  58);
        },
        50, [&] {
            Db::exec(QStringLiteral("UPDATE tvr_shift SET shift_status = 0 WHERE idshift = ?"),
                     {idShift});
        });
    Db::exec(QStringLiteral("UPDATE tvr_shift SET shift_status = 1 WHERE idshift = ?"), {idShift});
    Db::close();
}

} // namespace

BENCH_SUITE(visits);
