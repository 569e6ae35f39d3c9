// Payments at the till: the checks of a payment and its rounding, the payment
// window driven by keys, and the shifts of the tills with their cash count.
#include "ScriptedPrompt.h"
#include "TestDb.h"
#include "WindowDriver.h"

#include "core/Config.h"
#include "core/Db.h"
#include "core/Globals.h"
#include "core/Regional.h"
#include "payments/ShiftReport.h"
#include "payments/ShiftStore.h"
#include "sales/VisitStore.h"

#include "payments/Payment.h"
#include "payments/frmBayar.h"
#include "payments/frmShiftTutup.h"

#include <QPushButton>
#include <QSignalSpy>

#include <QLabel>
#include <QLineEdit>
#include <QTest>

class PaymentsTest : public QObject {
    Q_OBJECT

private slots:
    void tillSettings_data();
    void tillSettings();
    void checks_data();
    void checks();
    void paymentWindowKeys_data();
    void paymentWindowKeys();
    void closeCountsItsOwnShift();
    void closedShiftNeverChanges();
    void closingWindowCountsTheDrawer();
};

namespace {
int melati = 0;
int refill = 0;

void setUpGoods()
{
    melati = int(Db::insertedId(
        Db::exec("INSERT INTO tvr_dtvariant (variant_kode, variant_nama, variant_harga, "
                 "variant_stock) VALUES ('V1', 'Melati', 1000, 10000)")));
    refill =
        Db::scalar("SELECT idbotol FROM tvr_dtbotol WHERE botol_tipe = ?", {RefillBottleType}).toInt();
}

// A paid visit of one refill of `ml` millilitres at 1.000 per ml; returns its sale.
qint64 payVisit(qint64 idShift, double ml, const QString& method, double received = 0)
{
    VisitStore::NewVisit nv;
    nv.idShift = idShift;
    nv.customer = {"C1", "Ani", "", ""};
    VisitItem i;
    i.idVariant = melati;
    i.idBotol = refill;
    i.mililiter = i.totalml = ml;
    i.hargaVariant = 1000;
    nv.visit.addItem(i);
    const bool cash = method == "Tunai";
    if (!nv.visit.pay({method, cash, cash ? received : 0, 0}))
        return 0;
    VisitStore::Saved saved;
    if (!VisitStore::recordVisit(nv, &saved).done())
        return 0;
    return saved.idSales.first();
}

QString takingsText(const ShiftStore::Summary& s)
{
    QStringList parts;
    for (const ShiftStore::MethodTakings& m : s.methods)
        parts << QStringLiteral("%1=%2%3").arg(m.method, Regional::plain(m.sales),
                                               m.corrections != 0
                                                   ? Regional::plain(m.corrections)
                                                   : QString());
    return parts.join(' ');
}
} // namespace

void PaymentsTest::tillSettings_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("methods"); // cash marked with *; or the key a refusal names
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("till");

    QTest::newRow("defaults") << QStringList{} << "Tunai* QRIS Debit Kredit Transfer" << 1 << "";
    QTest::newRow("own methods and step")
        << QStringList{"bayar=: QRIS , tunai,OVO", "pembulatan=:100", "kasir=: Kasir Depan "}
        << "QRIS tunai* OVO" << 100 << "Kasir Depan";
    QTest::newRow("empty method refused") << QStringList{"bayar=:Tunai,,QRIS"} << "bayar" << 0 << "";
    QTest::newRow("method too long refused")
        << QStringList{"bayar=:Tunai,Kartu Kredit BCA"} << "bayar" << 0 << "";
    QTest::newRow("method twice refused") << QStringList{"bayar=:Tunai,QRIS,qris"} << "bayar" << 0
                                          << "";
    QTest::newRow("step zero refused") << QStringList{"pembulatan=:0"} << "pembulatan" << 0 << "";
    QTest::newRow("step not whole refused") << QStringList{"pembulatan=:2,5"} << "pembulatan" << 0
                                            << "";
    QTest::newRow("till name too long refused")
        << QStringList{"kasir=:Kasir di lantai dua belakang"} << "kasir" << 0 << "";
}

void PaymentsTest::tillSettings()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, methods);
    QFETCH(int, step);
    QFETCH(QString, till);

    const Config::Result r = Config::parse(QStringList{"filedata=:F"} + lines, "cfg.cae");
    if (step == 0) {
        QVERIFY(!r.ok);
        QVERIFY2(r.error.contains('"' + methods + '"') && r.error.contains("cfg.cae"),
                 qPrintable(r.error));
        return;
    }
    QVERIFY2(r.ok, qPrintable(r.error));
    QStringList shown;
    for (const PaymentMethod& m : paymentMethods(r.values.paymentMethods))
        shown << m.name + (m.cash ? "*" : "");
    QCOMPARE(shown.join(' '), methods);
    QCOMPARE(r.values.roundingStep, step);
    QCOMPARE(r.values.tillName, till);
    QVERIFY(!Config::tillName(r.values).isEmpty());
}

void PaymentsTest::checks_data()
{
    QTest::addColumn<double>("toPay");
    QTest::addColumn<QString>("method");
    QTest::addColumn<bool>("cash");
    QTest::addColumn<double>("received");
    QTest::addColumn<int>("check");
    QTest::addColumn<double>("change");

    QTest::newRow("cash exact") << 27000.0 << "Tunai" << true << 27000.0 << int(PaymentCheck::Ok)
                                << 0.0;
    QTest::newRow("cash over") << 27000.0 << "Tunai" << true << 50000.0 << int(PaymentCheck::Ok)
                               << 23000.0;
    QTest::newRow("cash short by one") << 27000.0 << "Tunai" << true << 26999.0
                                       << int(PaymentCheck::Short) << 0.0;
    QTest::newRow("QRIS pays exactly") << 27000.0 << "QRIS" << false << 0.0
                                       << int(PaymentCheck::Ok) << 0.0;
    QTest::newRow("no method") << 27000.0 << " " << true << 50000.0
                               << int(PaymentCheck::NoMethod) << 0.0;
}

void PaymentsTest::checks()
{
    QFETCH(double, toPay);
    QFETCH(QString, method);
    QFETCH(bool, cash);
    QFETCH(double, received);
    QFETCH(int, check);
    QFETCH(double, change);

    Payment p;
    const PaymentCheck result = checkPayment(toPay, {method, cash}, received, &p);
    QCOMPARE(int(result), check);
    if (result == PaymentCheck::Ok) {
        QCOMPARE(p.change, change);
        QCOMPARE(p.received, cash ? received : toPay);
    } else {
        QVERIFY(paymentCheckText(result, toPay).endsWith('.'));
    }
}

void PaymentsTest::paymentWindowKeys_data()
{
    QTest::addColumn<QString>("keys"); // F2 chooses the second method; "\n" is Enter
    QTest::addColumn<bool>("paid");
    QTest::addColumn<QString>("method");
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("message");

    // The visit costs 27.000.
    QTest::newRow("cash with a round note") << "50000\n" << true << "Tunai" << "23.000" << "";
    QTest::newRow("exact cash: Enter alone") << "\n" << true << "Tunai" << "0" << "";
    QTest::newRow("cash short, then more typed at once")
        << "20000\n" << false << "" << "-"
        << "Uang yang diterima kurang dari jumlah yang harus dibayar (27.000).";
    QTest::newRow("QRIS by its key") << "F2\n" << true << "QRIS" << "0" << "";
}

void PaymentsTest::paymentWindowKeys()
{
    QFETCH(QString, keys);
    QFETCH(bool, paid);
    QFETCH(QString, method);
    QFETCH(QString, change);
    QFETCH(QString, message);

    frmBayar w(27000, 0, 27000, {{"Tunai", true}, {"QRIS", false}, {"Debit", false}});
    showAndFocus(&w, w.txtDiterima);
    QCOMPARE(w.lblBayar_i->text(), QStringLiteral("27.000"));
    QString text = keys;
    if (text.startsWith("F2")) {
        QTest::keyClick(w.txtDiterima, Qt::Key_F2);
        text.remove(0, 2);
    }
    for (const QChar c : text) {
        if (c == '\n')
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        else
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }
    QCOMPARE(w.result() == QDialog::Accepted, paid);
    QCOMPARE(w.lblPesan->text(), message);
    if (paid) {
        QCOMPARE(w.payment().method, method);
        QCOMPARE(w.lblKembali_i->text(), change);
        return;
    }
    // Refused beside the field: the next keys still land in it.
    QCOMPARE(QApplication::focusWidget(), w.txtDiterima);
    QTest::keyClicks(w.txtDiterima, "30000");
    QCOMPARE(w.lblKembali_i->text(), QStringLiteral("3.000"));
    QTest::keyClick(w.txtDiterima, Qt::Key_Return);
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(w.payment().change, 3000.0);
}

void PaymentsTest::closeCountsItsOwnShift()
{
    TestDb t;
    setUpGoods();
    qint64 one = 0, two = 0;
    QCOMPARE(ShiftStore::open("Kasir 1", 200000, &one), ShiftStore::Outcome::Done);
    // One open shift per till; the other till has its own.
    QCOMPARE(ShiftStore::open("Kasir 1", 0, nullptr), ShiftStore::Outcome::AlreadyOpen);
    QCOMPARE(ShiftStore::open("Kasir 2", 50000, &two), ShiftStore::Outcome::Done);

    // Every method once on till 1, cash paid with change; till 2 sells too.
    QVERIFY(payVisit(one, 27, "Tunai", 50000));
    QVERIFY(payVisit(one, 10, "QRIS"));
    QVERIFY(payVisit(one, 5, "Debit"));
    QVERIFY(payVisit(one, 3, "Kredit"));
    QVERIFY(payVisit(one, 2, "Transfer"));
    QVERIFY(payVisit(two, 100, "Tunai", 100000));
    // The shift opened before midnight keeps the sales written after it.
    const QString yesterday = Regional::dateText(QDate::currentDate().addDays(-1));
    Db::exec("UPDATE tvr_shift SET shift_buka = ? WHERE idshift = ?", {yesterday + " 22:00:00", one});
    Db::exec("UPDATE tvr_payment SET payment_date = ? WHERE payment_metode = 'QRIS'", {yesterday});
    QCOMPARE(ShiftStore::moveCash(one, -35000.5, "Bayar pemasok"), ShiftStore::Outcome::Done);
    QCOMPARE(ShiftStore::moveCash(one, 20000, "Uang kembalian"), ShiftStore::Outcome::Done);

    ShiftStore::Summary s = ShiftStore::summary(one);
    QCOMPARE(s.visits, 5);
    QCOMPARE(takingsText(s), QStringLiteral("Debit=5000 Kredit=3000 QRIS=10000 Transfer=2000 Tunai=27000"));
    QCOMPARE(s.cashIn, 20000.0);
    QCOMPARE(s.cashOut, 35000.5);
    // 200.000 + 27.000 + 20.000 - 35.000,50: cash only, to the cent.
    QCOMPARE(s.expectedCash(), 211999.5);

    ShiftStore::Summary closed;
    QCOMPARE(ShiftStore::close(one, 212000, "100000x2 10000x1 2000x1", &closed),
             ShiftStore::Outcome::Done);
    QCOMPARE(closed.shift.difference, 0.5);
    QCOMPARE(Regional::amount(closed.shift.difference), QStringLiteral("0,50"));
    // Closing twice is refused and keeps the first close.
    QCOMPARE(ShiftStore::close(one, 0, "", nullptr), ShiftStore::Outcome::Closed);
    const ShiftStore::Shift kept = *ShiftStore::shift(one);
    QCOMPARE(kept.counted, 212000.0);
    QCOMPARE(kept.expected, 211999.5);
    QCOMPARE(kept.count, QStringLiteral("100000x2 10000x1 2000x1"));
    QVERIFY(!ShiftStore::openShift("Kasir 1"));

    // The other till's shift holds its own sale only; the owner's list shows both.
    QCOMPARE(takingsText(ShiftStore::summary(two)), QStringLiteral("Tunai=100000"));
    QCOMPARE(ShiftStore::summary(two).expectedCash(), 150000.0);
    QCOMPARE(ShiftStore::list(QDate::currentDate().addDays(-1), QDate::currentDate()).size(), 2);
    QCOMPARE(ShiftStore::countTotal({{100000, 2}, {10000, 1}, {2000, 1}, {500, 0}}), 212000.0);
    QCOMPARE(ShiftStore::countText({{100000, 2}, {500, 0}, {100, 3}}), QStringLiteral("100000x2 100x3"));

    // The closing report as it comes off a 58 mm printer.
    closed.shift.openedAt = "2026-12-07 22:00:00";
    closed.shift.closedAt = "2026-12-08 06:30:00";
    closed.shift.openedBy = closed.shift.closedBy = "tester";
    const QStringList report =
        ShiftReport::lines(closed, "Wangi", 32, QDateTime(QDate(2026, 12, 8), QTime(6, 31)));
    QCOMPARE(report, QStringLiteral("             Wangi\n"
                                               "      Laporan Tutup Kasir\n"
                                               "--------------------------------\n"
                                               "Kasir     : Kasir 1\n"
                                               "Dibuka    : 07/12/2026 22:00\n"
                                               "            tester\n"
                                               "Ditutup   : 08/12/2026 06:30\n"
                                               "            tester\n"
                                               "Kunjungan : 5\n"
                                               "--------------------------------\n"
                                               "Debit                      5.000\n"
                                               "Kredit                     3.000\n"
                                               "QRIS                      10.000\n"
                                               "Transfer                   2.000\n"
                                               "Tunai                     27.000\n"
                                               "--------------------------------\n"
                                               "Modal kas                200.000\n"
                                               "Kas masuk                 20.000\n"
                                               "Kas keluar            -35.000,50\n"
                                               "Tunai seharusnya      211.999,50\n"
                                               "Tunai dihitung        212.000,00\n"
                                               "Selisih                     0,50\n"
                                               "  100.000 x 2            200.000\n"
                                               "  10.000 x 1              10.000\n"
                                               "  2.000 x 1                2.000\n"
                                               "--------------------------------\n"
                                               "Dicetak   : 08/12/2026 06:31")
                         .split('\n'));
}

void PaymentsTest::closedShiftNeverChanges()
{
    TestDb t;
    setUpGoods();
    qint64 first = 0;
    QCOMPARE(ShiftStore::open("Kasir 1", 100000, &first), ShiftStore::Outcome::Done);
    const qint64 kept = payVisit(first, 20, "Tunai", 20000);
    const qint64 corrected = payVisit(first, 10, "Tunai", 10000);
    const qint64 deleted = payVisit(first, 5, "QRIS");
    QVERIFY(kept && corrected && deleted);

    // Inside the shift: a correction pays 4.000 back, in the same shift.
    const PaymentMethod cash{"Tunai", true};
    const auto amountsOf = [](qint64 id, double ml) {
        const SalesStore::Sale s = *SalesStore::loadSale(id);
        return SalesStore::Amounts{s.idVariant, s.idBotol, ml, ml, ml * 1000, 0, ml * 1000, 1000, 0};
    };
    double diff = 0;
    QVERIFY(VisitStore::correctItem(corrected, amountsOf(corrected, 6), cash, first, 1, &diff).done());
    QCOMPARE(diff, -4000.0);
    QCOMPARE(takingsText(ShiftStore::summary(first)), QStringLiteral("QRIS=5000 Tunai=30000-4000"));
    QVERIFY(ShiftStore::close(first, 126000, "", nullptr) == ShiftStore::Outcome::Done);
    const auto firstShiftRows = [] {
        return rowsAsText("SELECT * FROM tvr_shift WHERE idshift = 1") +
               rowsAsText("SELECT * FROM tvr_payment WHERE payment_idshift = 1 ORDER BY idpayment") +
               rowsAsText("SELECT * FROM tvr_kas WHERE kas_idshift = 1 ORDER BY idkas");
    };
    QCOMPARE(first, 1);
    const QString closedRows = firstShiftRows();

    // After the close nothing can be booked to that shift.
    QCOMPARE(ShiftStore::moveCash(first, 1000, "x"), ShiftStore::Outcome::Closed);
    QCOMPARE(VisitStore::correctItem(kept, amountsOf(kept, 1), cash, first, 1, &diff).shift,
             ShiftStore::Outcome::Closed);
    QCOMPARE(payVisit(first, 1, "Tunai", 1000), 0);
    QCOMPARE(SalesStore::loadSale(kept)->mililiter, 20.0);

    // In the next shift the deletion of the earlier visit's QRIS item is paid
    // back there; the closed shift's figures stay as they were closed.
    qint64 next = 0;
    QCOMPARE(ShiftStore::open("Kasir 1", 126000, &next), ShiftStore::Outcome::Done);
    QVERIFY(VisitStore::deleteItem(deleted, {"QRIS", false}, next, 1, &diff).done());
    QCOMPARE(diff, -5000.0);
    QCOMPARE(takingsText(ShiftStore::summary(next)), QStringLiteral("QRIS=0-5000"));
    QCOMPARE(ShiftStore::summary(next).expectedCash(), 126000.0);
    QCOMPARE(firstShiftRows(), closedRows);
    QCOMPARE(ShiftStore::summary(first).expectedCash(), ShiftStore::shift(first)->expected);
}

void PaymentsTest::closingWindowCountsTheDrawer()
{
    TestDb t;
    ScriptedPrompt prompt;
    setUpGoods();
    qint64 id = 0;
    QCOMPARE(ShiftStore::open("Kasir 1", 200000, &id), ShiftStore::Outcome::Done);
    QVERIFY(payVisit(id, 27, "Tunai", 50000));
    QVERIFY(payVisit(id, 10, "QRIS"));

    frmShiftTutup w(id);
    QSignalSpy printed(&w, &frmShiftTutup::printRequested);
    showAndFocus(&w, w.txtPecahan.first());
    QCOMPARE(w.lblHarap_i->text(), QStringLiteral("227.000,00"));
    QCOMPARE(shown(w.dtGridMetode, "metode"), QStringList({"QRIS", "Tunai"}));
    // Two notes of 100.000 and two of 10.000, typed straight on: 3.000 short.
    QTest::keyClicks(w.txtPecahan.at(0), "2");
    QTest::keyClick(w.txtPecahan.at(0), Qt::Key_Return);
    for (int i = 1; i < 3; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClicks(QApplication::focusWidget(), "2");
    QCOMPARE(w.txtPecahan.at(3)->text(), QStringLiteral("2"));
    QCOMPARE(w.txtHitung->text(), QStringLiteral("220.000"));
    QCOMPARE(w.lblSelisih_i->text(), QStringLiteral("-7.000,00"));

    prompt.answers << Prompt::Answer::Yes;
    QTest::mouseClick(w.cmdTutup, Qt::LeftButton);
    QCOMPARE(printed.size(), 1);
    QVERIFY(!w.cmdTutup->isEnabled());
    QVERIFY(w.cmdCetak->isEnabled());
    const ShiftStore::Shift s = *ShiftStore::shift(id);
    QVERIFY(s.closed);
    QCOMPARE(s.difference, -7000.0);
    QCOMPARE(s.count, QStringLiteral("100000x2 10000x2"));

    // Shown again from the list: as closed, and printable again.
    frmShiftTutup again(id);
    QVERIFY(!again.cmdTutup->isEnabled());
    QCOMPARE(again.lblSelisih_i->text(), QStringLiteral("-7.000,00"));
    QCOMPARE(again.txtHitung->text(), QStringLiteral("220.000"));
}

QTEST_MAIN(PaymentsTest)
#include "tst_payments.moc"
