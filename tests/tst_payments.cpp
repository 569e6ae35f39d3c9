// Payments at the till: the checks of a payment and its rounding, and the
// payment window driven by keys.
#include "WindowDriver.h"

#include "payments/Payment.h"
#include "payments/frmBayar.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

class PaymentsTest : public QObject {
    Q_OBJECT

private slots:
    void checks_data();
    void checks();
    void paymentWindowKeys_data();
    void paymentWindowKeys();
};

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

QTEST_MAIN(PaymentsTest)
#include "tst_payments.moc"
