// A visit of several items paid at once: its amounts and rounding, its writing
// as one transaction with its stock moves, and the differences booked when an
// item of a paid visit is corrected or deleted.
#include "ScriptedPrompt.h"
#include "TestDb.h"
#include "WindowDriver.h"

#include "core/Db.h"
#include "core/Globals.h"
#include "core/Regional.h"
#include "payments/ShiftStore.h"
#include "sales/Receipt.h"
#include "sales/Visit.h"
#include "sales/VisitStore.h"
#include "core/Config.h"
#include "payments/PaymentPanel.h"
#include "sales/ReceiptPrinter.h"
#include "sales/frmTransaksi.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>

#include <QTest>

using SalesStore::Outcome;

class VisitTest : public QObject {
    Q_OBJECT

private slots:
    void amounts_data();
    void amounts();
    void recordsWholeVisitOrNothing_data();
    void recordsWholeVisitOrNothing();
    void booksDifferences_data();
    void booksDifferences();
    void receiptOfAVisit();
    void tillTakesAVisitByKeys();
};

namespace {
VisitItem item(double ml, double perMl, double bottle, double diskon, int idVariant = 1,
               int idBotol = 1)
{
    VisitItem i;
    i.idVariant = idVariant;
    i.idBotol = idBotol;
    i.mililiter = ml;
    i.totalml = ml;
    i.hargaVariant = perMl;
    i.hargaBotol = bottle;
    i.diskon = diskon;
    return i;
}

int insert(const QString& sql, const QVariantList& values)
{
    return int(Db::insertedId(Db::exec(sql, values)));
}

// Melati at 2.500 a ml (100 ml), the SPRAY30 bottle at 5.000 (10), and the refill.
std::tuple<int, int, int> goods()
{
    const int melati = insert("INSERT INTO tvr_dtvariant (variant_kode, variant_nama, "
                              "variant_harga, variant_stock) VALUES ('V1', 'Melati', 2500, 100)",
                              {});
    const int spray = insert("INSERT INTO tvr_dtbotol (botol_tipe, botol_harga, botol_stock) "
                             "VALUES ('SPRAY30', 5000, 10)",
                             {});
    const int refill =
        Db::scalar("SELECT idbotol FROM tvr_dtbotol WHERE botol_tipe = ?", {RefillBottleType}).toInt();
    return {melati, spray, refill};
}
} // namespace

void VisitTest::amounts_data()
{
    QTest::addColumn<QList<double>>("itemTotals"); // ml at 1 rupiah per ml, no bottle
    QTest::addColumn<double>("step");
    QTest::addColumn<double>("total");
    QTest::addColumn<double>("toPay");

    QTest::newRow("whole rupiah stays") << QList<double>{27000, 18750} << 1.0 << 45750.0 << 45750.0;
    QTest::newRow("half a rupiah up") << QList<double>{100.25, 100.25} << 1.0 << 200.5 << 201.0;
    QTest::newRow("below half down") << QList<double>{100.49} << 1.0 << 100.49 << 100.0;
    QTest::newRow("step 100 up") << QList<double>{27450} << 100.0 << 27450.0 << 27500.0;
    QTest::newRow("step 100 down") << QList<double>{27449.99} << 100.0 << 27449.99 << 27400.0;
    QTest::newRow("step 500") << QList<double>{12250, 1} << 500.0 << 12251.0 << 12500.0;
    // Cents are added as cents: ten items of 0,10 are exactly 1,00.
    QTest::newRow("cents add up exactly")
        << QList<double>(10, 0.1) << 1.0 << 1.0 << 1.0;
}

void VisitTest::amounts()
{
    QFETCH(QList<double>, itemTotals);
    QFETCH(double, step);
    QFETCH(double, total);
    QFETCH(double, toPay);

    Visit v(step);
    for (double amount : itemTotals)
        v.addItem(item(amount, 1, 0, 0));
    QCOMPARE(v.total(), total);
    QCOMPARE(v.amountToPay(), toPay);
    QCOMPARE(v.rounding(), roundToCents(toPay - total));
    QCOMPARE(Regional::amount(v.total() + v.rounding()), Regional::amount(toPay));
}

void VisitTest::recordsWholeVisitOrNothing_data()
{
    QTest::addColumn<double>("thirdMl"); // of a variant with 20 ml in stock
    QTest::addColumn<QString>("failingTable"); // a trigger refuses inserts there
    QTest::addColumn<int>("outcome");

    QTest::newRow("written whole") << 20.0 << "" << int(Outcome::Done);
    QTest::newRow("third item lacks stock") << 20.5 << "" << int(Outcome::NoConcentrate);
    QTest::newRow("visit row fails") << 5.0 << "tvr_visit" << -1;
    QTest::newRow("link row fails") << 5.0 << "tvr_visitsales" << -1;
    QTest::newRow("payment row fails") << 5.0 << "tvr_payment" << -1;
}

void VisitTest::recordsWholeVisitOrNothing()
{
    QFETCH(double, thirdMl);
    QFETCH(QString, failingTable);
    QFETCH(int, outcome);
    if (!failingTable.isEmpty())
        TAVORU_SQLITE_ONLY();

    TestDb t;
    const auto [melati, spray, refill] = goods();
    const int oud = insert("INSERT INTO tvr_dtvariant (variant_kode, variant_nama, variant_harga, "
                           "variant_stock) VALUES ('V2', 'Oud', 4000.5, 20)",
                           {});
    if (!failingTable.isEmpty())
        Db::exec(QStringLiteral("CREATE TRIGGER fail_insert BEFORE INSERT ON %1 "
                                "BEGIN SELECT RAISE(ABORT, 'disk penuh'); END")
                     .arg(failingTable));

    VisitStore::NewVisit nv;
    QCOMPARE(ShiftStore::open("Kasir 1", 100000, &nv.idShift), ShiftStore::Outcome::Done);
    nv.customer = {"C900", "Dewi", "Jl. Baru 1", ""};
    nv.visit = Visit(100);
    nv.visit.addItem(item(10, 2500, 5000, 10, melati, spray));   // 27.000
    nv.visit.addItem(item(7.5, 2500, 0, 0, melati, refill));     // 18.750
    nv.visit.addItem(item(thirdMl, 4000.5, 5000, 0, oud, spray)); // 85.010 at 20 ml
    QVERIFY(nv.visit.pay({"Tunai", true, 200000}));

    VisitStore::Saved saved;
    int result = -1;
    try {
        result = int(VisitStore::recordVisit(nv, &saved).sale);
    } catch (const DbError& e) {
        QVERIFY(e.text().contains("disk penuh"));
    }
    QCOMPARE(result, outcome);

    const auto count = [](const char* table) {
        return Db::scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)).toInt();
    };
    if (outcome != int(Outcome::Done)) {
        for (const char* table : {"tvr_sales", "tvr_visit", "tvr_visitsales", "tvr_payment"})
            QCOMPARE(count(table), 0);
        QCOMPARE(Db::scalar("SELECT COUNT(*) FROM tvr_customer WHERE cust_nomor = 'C900'").toInt(), 0);
        QCOMPARE(Db::scalar("SELECT variant_stock FROM tvr_dtvariant WHERE idvariant = ?", {melati})
                     .toDouble(),
                 100.0);
        QCOMPARE(Db::scalar("SELECT botol_stock FROM tvr_dtbotol WHERE idbotol = ?", {spray})
                     .toDouble(),
                 10.0);
        return;
    }

    // Stock: 17,5 ml of Melati, 20 ml of Oud and two bottles; none for the refill.
    QCOMPARE(Db::scalar("SELECT variant_stock FROM tvr_dtvariant WHERE idvariant = ?", {melati})
                 .toDouble(),
             82.5);
    QCOMPARE(Db::scalar("SELECT variant_stock FROM tvr_dtvariant WHERE idvariant = ?", {oud})
                 .toDouble(),
             0.0);
    QCOMPARE(Db::scalar("SELECT botol_stock FROM tvr_dtbotol WHERE idbotol = ?", {spray}).toDouble(),
             8.0);
    // One new customer owns every item, each linked to the visit.
    QCOMPARE(saved.idSales.size(), 3);
    QCOMPARE(Db::scalar("SELECT COUNT(DISTINCT sales_idcust) FROM tvr_sales").toInt(), 1);
    QCOMPARE(Db::scalar("SELECT COUNT(*) FROM tvr_visitsales WHERE visitsales_idvisit = ?",
                        {saved.idVisit})
                 .toInt(),
             3);
    // The visit adds up its items to the cent and pays whole hundreds.
    const RowSet v = Db::select("SELECT visit_total, visit_pembulatan, visit_bayar FROM tvr_visit");
    const double items = Db::scalar("SELECT SUM(sales_hargadiskon) FROM tvr_sales").toDouble();
    QCOMPARE(v.value(0, 0).toDouble(), 130760.0);
    QCOMPARE(roundToCents(items), 130760.0);
    QCOMPARE(v.value(0, 1).toDouble(), 40.0);
    QCOMPARE(v.value(0, 2).toDouble(), 130800.0);
    const RowSet p = Db::select("SELECT payment_metode, payment_jumlah, payment_diterima, "
                                "payment_kembali FROM tvr_payment");
    QCOMPARE(p.size(), 1);
    QCOMPARE(p.value(0, 0).toString(), QStringLiteral("Tunai"));
    QCOMPARE(p.value(0, 1).toDouble(), 130800.0);
    QCOMPARE(p.value(0, 2).toDouble(), 200000.0);
    QCOMPARE(p.value(0, 3).toDouble(), 69200.0);
    const auto takings = VisitStore::takingsByMethod(Regional::today());
    QCOMPARE(takings.size(), 1);
    QCOMPARE(takings.first().second, 130800.0);
}

void VisitTest::booksDifferences_data()
{
    // Steps: "fix ITEM ML METHOD" corrects an item to ML millilitres, "del ITEM
    // METHOD" deletes it. Items 1 and 2 belong to a visit paid 45.800 in cash
    // (27.000 + 18.750 rounded to 100); item 3 is a sale of its own of 10.000.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QList<double>>("differences");
    QTest::addColumn<QString>("takings"); // per method, after the steps

    QTest::newRow("item corrected down") << QStringList{"fix 2 5 Tunai"} << QList<double>{-6300}
                                         << "Tunai=39500";
    QTest::newRow("item corrected up, paid by QRIS")
        << QStringList{"fix 2 10 QRIS"} << QList<double>{6200} << "QRIS=6200 Tunai=45800";
    QTest::newRow("unchanged correction books nothing")
        << QStringList{"fix 2 7,5 Tunai"} << QList<double>{0} << "Tunai=45800";
    QTest::newRow("item deleted") << QStringList{"del 1 Tunai"} << QList<double>{-27000}
                                  << "Tunai=18800";
    QTest::newRow("every item deleted") << QStringList{"del 1 Tunai", "del 2 Tunai"}
                                        << QList<double>{-27000, -18800} << "Tunai=0";
    QTest::newRow("sale of its own corrected") << QStringList{"fix 3 2 Tunai"}
                                               << QList<double>{-5000} << "Tunai=40800";
}

void VisitTest::booksDifferences()
{
    QFETCH(QStringList, steps);
    QFETCH(QList<double>, differences);
    QFETCH(QString, takings);

    TestDb t;
    const auto [melati, spray, refill] = goods();
    const int cust = insert("INSERT INTO tvr_customer (cust_nomor, cust_nama) VALUES ('C1', 'Ani')", {});

    VisitStore::NewVisit nv;
    QCOMPARE(ShiftStore::open("Kasir 1", 0, &nv.idShift), ShiftStore::Outcome::Done);
    nv.idCust = cust;
    nv.visit = Visit(100);
    nv.visit.addItem(item(10, 2500, 5000, 10, melati, spray));
    nv.visit.addItem(item(7.5, 2500, 0, 0, melati, refill));
    QVERIFY(nv.visit.pay({"Tunai", true, 50000}));
    VisitStore::Saved saved;
    QVERIFY(VisitStore::recordVisit(nv, &saved).done());
    QList<qint64> ids = saved.idSales;
    SalesStore::NewSale lone{cust, {}, {melati, refill, 4, 4, 10000, 0, 10000, 2500, 0}};
    ids << SalesStore::addSale(lone);
    Db::exec("UPDATE tvr_dtvariant SET variant_stock = 100");

    QCOMPARE(VisitStore::methodOf(ids.at(0)), QStringLiteral("Tunai"));
    QCOMPARE(VisitStore::methodOf(ids.at(2)), QString());
    for (int i = 0; i < steps.size(); ++i) {
        const QStringList w = steps.at(i).split(' ');
        const qint64 id = ids.at(w.at(1).toInt() - 1);
        double diff = -1;
        if (w.at(0) == "fix") {
            const SalesStore::Sale s = *SalesStore::loadSale(id);
            const double ml = Regional::read(w.at(2));
            const SalePrice price = salePrice(ml, s.hargaVariant, s.hargaBotol, s.diskon);
            const SalesStore::Amounts a{s.idVariant, s.idBotol, ml, ml, price.harga, s.diskon,
                                        price.total, s.hargaVariant, s.hargaBotol};
            const PaymentMethod m{w.at(3), w.at(3) == "Tunai"};
            QVERIFY(VisitStore::correctItem(id, a, m, nv.idShift, 100, &diff).done());
        } else {
            const PaymentMethod m{w.at(2), w.at(2) == "Tunai"};
            QVERIFY(VisitStore::deleteItem(id, m, nv.idShift, 100, &diff).done());
        }
        QCOMPARE(diff, differences.at(i));
    }

    // What went into and out of the drawer, per method, is the day's takings;
    // the visit's own payment row is never rewritten.
    QStringList shown;
    for (const auto& [method, amount] : VisitStore::takingsByMethod(Regional::today()))
        shown << method + '=' + Regional::plain(amount);
    QCOMPARE(shown.join(' '), takings);
    QCOMPARE(Db::scalar("SELECT payment_jumlah FROM tvr_payment WHERE payment_jenis = 0").toDouble(),
             45800.0);
}

void VisitTest::receiptOfAVisit()
{
    TestDb t;
    const auto [melati, spray, refill] = goods();
    VisitStore::NewVisit nv;
    QCOMPARE(ShiftStore::open("Kasir 1", 0, &nv.idShift), ShiftStore::Outcome::Done);
    nv.customer = {"C7", "Budi", "", ""};
    nv.visit = Visit(100);
    nv.visit.addItem(item(10, 2500, 5000, 10, melati, spray));
    nv.visit.addItem(item(7.5, 2500, 0, 0, melati, refill));
    QVERIFY(nv.visit.pay({"Tunai", true, 50000}));
    VisitStore::Saved saved;
    QVERIFY(VisitStore::recordVisit(nv, &saved).done());

    const auto r = VisitStore::receiptVisit(saved.idVisit);
    QVERIFY(r);
    const Receipt::Paid paid{r->amountToPay, r->rounding, r->payment.method, r->payment.cash,
                             r->payment.received, r->payment.change};
    const QDateTime at(QDate::currentDate(), QTime(14, 5));
    const QStringList lines = Receipt::lines(r->items, paid, {"Wangi", ""}, 32, at);
    QCOMPARE(lines.mid(2, 1), QStringList{"No. Nota  : " + QString::number(saved.idSales.first())});
    QCOMPARE(lines.mid(7), QStringLiteral("V1 Melati\n"
                                                     "10 ml x 2.500             25.000\n"
                                                     "Botol SPRAY30              5.000\n"
                                                     "Diskon 10%                -3.000\n"
                                                     "V1 Melati\n"
                                                     "7,5 ml x 2.500            18.750\n"
                                                     "--------------------------------\n"
                                                     "Total                     48.750\n"
                                                     "Diskon                    -3.000\n"
                                                     "Pembulatan                 50,00\n"
                                                     "Bayar                     45.800\n"
                                                     "Tunai                     50.000\n"
                                                     "Kembali                    4.200\n"
                                                     "--------------------------------\n"
                                                     "          Terima kasih")
                                 .split('\n'));
}

void VisitTest::tillTakesAVisitByKeys()
{
    TestDb t;
    ScriptedPrompt prompt;
    insert("INSERT INTO tvr_dtvariant (variant_kode, variant_nama, variant_harga, variant_stock) "
           "VALUES ('V1', 'Melati', 2500, 100), ('V2', 'Oud', 4000, 50)",
           {});
    insert("INSERT INTO tvr_dtbotol (botol_tipe, botol_harga, botol_stock) VALUES ('SPRAY', 5000, 10)",
           {});
    insert("INSERT INTO tvr_customer (cust_nomor, cust_nama) VALUES ('C001', 'Ani')", {});
    // A thermal printer on a device (a file here) with the cash drawer on pin 2.
    t.writeConfig({"provider=:Driver=QSQLITE;Database=", "filedata=:tavoru.db",
                   "notaprinter=:escpos:" + t.dir() + "/lp0", "laci=:2"});
    ReceiptPrinter::setConfigFolder(t.dir());
    QFile(t.dir() + "/lp0").open(QIODevice::WriteOnly);
    qint64 shift = 0;
    ShiftStore::open(Config::tillName(ReceiptPrinter::settings()), 100000, &shift);
    frmTransaksi w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTRY_VERIFY(w.txtNoCust->hasFocus());

    // A repeat customer, one item: its data, an Enter for each field and one on
    // Submit; a second item: its data, an Enter for each field and F3, which
    // adds it and goes to the payment; the note, and Enter. All at once.
    typeKeys("C001\nV1\n10\n30\n{End}\n10\n\n");
    QCOMPARE(w.dtGridVisit->model()->rowCount(), 1);
    QVERIFY(!w.txtNoCust->isEnabled() || w.txtNoCust->isReadOnly() || !w.fraEditor_e->isEnabled());
    typeKeys("V2\n5\n\n{Home}\n{F3}");
    QCOMPARE(w.dtGridVisit->model()->rowCount(), 2);
    QCOMPARE(QApplication::focusWidget(), w.fraBayar->txtDiterima);
    QCOMPARE(w.fraBayar->lblBayar_i->text(), QStringLiteral("47.000")); // 27.000 + 20.000

    // Before paying, the second item is changed (Enter on it) and the first removed.
    w.dtGridVisit->setFocus();
    w.dtGridVisit->selectRow(1);
    typeKeys("\n");
    QCOMPARE(w.txtKode->text(), QStringLiteral("V2"));
    typeKeys("\n4\n\n\n\n\n");
    QCOMPARE(w.dtGridVisit->model()->rowCount(), 2);
    w.dtGridVisit->setFocus();
    w.dtGridVisit->selectRow(0);
    typeKeys("{Delete}{F3}50000\n");
    QVERIFY2(prompt.calls.isEmpty(), qPrintable(prompt.texts().join(" | ")));
    QCOMPARE(w.lblStatus_i->text(), QStringLiteral("Data telah disimpan. Kembali 34.000"));
    QCOMPARE(w.fraBayar->lblKembali_i->text(), QStringLiteral("34.000"));

    // One visit of the one item kept, paid 16.000 in cash, its stock taken.
    QCOMPARE(Db::scalar("SELECT COUNT(*) FROM tvr_sales").toInt(), 1);
    QCOMPARE(Db::scalar("SELECT sales_mililiter FROM tvr_sales").toDouble(), 4.0);
    QCOMPARE(Db::scalar("SELECT variant_stock FROM tvr_dtvariant WHERE variant_kode = 'V2'").toDouble(),
             46.0);
    QCOMPARE(Db::scalar("SELECT variant_stock FROM tvr_dtvariant WHERE variant_kode = 'V1'").toDouble(),
             100.0);
    QCOMPARE(rowsAsText("SELECT payment_metode, payment_jumlah, payment_diterima, payment_kembali, "
                        "payment_idshift FROM tvr_payment"),
             QStringLiteral("Tunai|16000|50000|34000|%1|\n").arg(shift));
    // The cash payment opened the drawer: the printer got the pulse for pin 2.
    QFile device(t.dir() + "/lp0");
    QVERIFY(device.open(QIODevice::ReadOnly));
    QVERIFY(device.readAll().contains(QByteArray("\x1bp\x00", 3)));
    // Keys typed at once after the save start the next customer.
    typeKeys("C001");
    QCOMPARE(w.txtNoCust->text(), QStringLiteral("C001"));
    ReceiptPrinter::setConfigFolder({});
}

QTEST_MAIN(VisitTest)
#include "tst_visit.moc"
