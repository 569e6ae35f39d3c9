// The sales window on the large database: the lookups run on every keystroke,
// the day's list, and the three writing actions with their stock moves, each
// durably committed.
#include "Bench.h"

#include "ScriptedPrompt.h"

#include "core/Db.h"
#include "sales/SalesStore.h"
#include "sales/frmTransaksi.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Numbers and codes of the generated database, spread over the tables.
QString customerNumber(int n)
{
    return QStringLiteral("C%1").arg(1 + (n * 7919) % 100000, 7, 10, QLatin1Char('0'));
}

QString variantCode(int n)
{
    return QStringLiteral("V%1").arg(1 + (n * 31) % 500, 4, 10, QLatin1Char('0'));
}

SalesStore::NewSale benchSale()
{
    SalesStore::NewSale s;
    s.idCust = 4242;
    s.amounts = {17, 5, 12.5, 30, 31250 + 4000, 5, (31250 + 4000) * 0.95};
    s.hargaVariant = 2500;
    s.hargaBotol = 4000;
    return s;
}

void sales()
{
    Bench::open(Bench::bigDatabase());

    int n = 0;
    Bench::measure(
        "customer number lookup (one keystroke)", 200,
        [&] { SalesStore::findCustomer(customerNumber(n++)); }, 1);
    Bench::measure(
        "customer number lookup, no such number", 200,
        [] { SalesStore::findCustomer(QStringLiteral("C00")); }, 1);
    Bench::measure(
        "variant code lookup (one keystroke)", 200,
        [&] { SalesStore::findVariant(variantCode(n++)); }, 1);
    Bench::measure(
        "bottle type lookup", 200, [] { SalesStore::findBotol(QStringLiteral("BTL-07")); }, 1);

    const QDate today = QDate::currentDate();
    int daysBack = 1;
    Bench::measure(
        "day's list query (~550 sales)", 50,
        [&] { SalesStore::dayList(today.addDays(-daysBack++)); }, 20);

    // Writing: every sale made here is deleted again, so the stock stays as generated.
    QList<qint64> made;
    Bench::measure(
        "save a sale with its stock moves (committed)", 50,
        [&] { made << SalesStore::addSale(benchSale()); }, 20);
    const qint64 id = made.last();
    double ml = 1;
    Bench::measure(
        "correct a sale with its stock moves (committed)", 50,
        [&] {
            SalesStore::Amounts a = benchSale().amounts;
            a.mililiter = ml++;
            a.idVariant = 17 + int(ml) % 2;
            SalesStore::correctSale(id, a);
        },
        20);
    Bench::measure(
        "delete a sale giving back its stock (committed)", 50,
        [&] { SalesStore::deleteSale(made.takeLast()); }, 20,
        [&] {
            if (made.isEmpty())
                made << SalesStore::addSale(benchSale());
        });
    for (qint64 left : made)
        SalesStore::deleteSale(left);

    // The window as the cashier uses it.
    ScriptedPrompt prompt;
    Bench::measure("open the sales window", 15, [] {
        frmTransaksi w;
        w.show();
        QCoreApplication::processEvents();
    });
    frmTransaksi w;
    w.show();
    QCoreApplication::processEvents();
    Bench::measure(
        "window: keystroke in the customer number", 200,
        [&] { w.txtNoCust->setText(customerNumber(n++)); }, 1);
    Bench::measure(
        "window: keystroke in the variant code (lookup and price)", 200,
        [&] { w.txtKode->setText(variantCode(n++)); }, 1);
    Bench::measure(
        "window: one day back in the list (~550 sales)", 50, [&] { w.cmdNavigasi.at(1)->click(); },
        20);

    const qint64 before =
        Db::scalar(QStringLiteral("SELECT MAX(idsales) FROM tvr_sales")).toLongLong();
    Bench::measure(
        "window: Submit a sale (save, today's list, reload)", 30, [&] { w.cmdSubmit->click(); }, 20,
        [&] {
            w.cmdNew->click();
            w.txtNoCust->setText(QStringLiteral("C0004242"));
            w.txtKode->setText(QStringLiteral("V0017"));
            w.txtMililiter->setText(QStringLiteral("12,5"));
            w.cmbBotol->setCurrentIndex(w.cmbBotol->findText(QStringLiteral("BTL-05")));
        });
    const RowSet mine =
        Db::select(QStringLiteral("SELECT idsales FROM tvr_sales WHERE idsales > ?"), {before});
    for (const QVariantList& row : mine.rows)
        SalesStore::deleteSale(row.first().toLongLong());
}

} // namespace

BENCH_SUITE(sales);
