// The sales window on the large database: the lookups run on every keystroke,
// the day's list, and the three writing actions with their stock moves, each
// durably committed; then the window on today's full list and on the busiest
// day, each beside the same statements run raw through QSqlQuery.
#include "Bench.h"

#include "ScriptedPrompt.h"

#include "core/Db.h"
#include "sales/SalesStore.h"
#include "sales/frmTransaksi.h"
#include "core/Config.h"
#include "payments/PaymentPanel.h"
#include "payments/ShiftStore.h"
#include "sales/ReceiptPrinter.h"

#include <QTest>

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace {

// One frame at 60 Hz.
constexpr double FrameTarget = 16;
// The store's statements may cost at most this many times the raw ones.
constexpr double RawFactor = 3;

// The day list's statement as SalesStore::dayList runs it; keep the two alike.
const QString DayListSql = QStringLiteral(
    "SELECT s.idsales, s.sales_date, c.cust_nama, v.variant_kode, "
    "s.sales_mililiter, s.sales_totalml, b.botol_tipe, s.sales_hargatotal, "
    "s.sales_diskon, s.sales_hargadiskon, s.sales_status "
    "FROM tvr_sales s "
    "JOIN tvr_customer c ON c.idcust = s.sales_idcust "
    "JOIN tvr_dtvariant v ON v.idvariant = s.sales_idvariant "
    "JOIN tvr_dtbotol b ON b.idbotol = s.sales_idbotol "
    "WHERE s.sales_date = ? ORDER BY s.idsales DESC");

QSqlQuery rawExec(const QString& sql, const QVariantList& values = {})
{
    QSqlQuery q(Db::connection());
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw DbError(q.lastError().text(), sql);
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw DbError(q.lastError().text(), sql);
    return q;
}

// A page of the day list and one row of it, as SalesStore::dayListPage and
// dayListRow run them; keep them alike.
const QString DayPageSql = QStringLiteral(
    "SELECT s.idsales, s.sales_date, c.cust_nama, v.variant_kode, "
    "s.sales_mililiter, s.sales_totalml, b.botol_tipe, s.sales_hargatotal, "
    "s.sales_diskon, s.sales_hargadiskon, s.sales_status "
    "FROM tvr_sales s "
    "JOIN tvr_customer c ON c.idcust = s.sales_idcust "
    "JOIN tvr_dtvariant v ON v.idvariant = s.sales_idvariant "
    "JOIN tvr_dtbotol b ON b.idbotol = s.sales_idbotol "
    "WHERE s.sales_date = ? ORDER BY s.idsales DESC LIMIT ?");
const QString DayRowSql = QStringLiteral(
    "SELECT s.idsales, s.sales_date, c.cust_nama, v.variant_kode, "
    "s.sales_mililiter, s.sales_totalml, b.botol_tipe, s.sales_hargatotal, "
    "s.sales_diskon, s.sales_hargadiskon, s.sales_status "
    "FROM tvr_sales s "
    "JOIN tvr_customer c ON c.idcust = s.sales_idcust "
    "JOIN tvr_dtvariant v ON v.idvariant = s.sales_idvariant "
    "JOIN tvr_dtbotol b ON b.idbotol = s.sales_idbotol "
    "WHERE s.idsales = ?");

int readAll(QSqlQuery& q)
{
    int rows = 0;
    QVariant v;
    while (q.next()) {
        for (int i = 0; i < 11; ++i)
            v = q.value(i);
        ++rows;
    }
    return rows;
}

// The first page of a day raw, and through the store.
void pageBesideRaw(const QString& what, const QDate& day)
{
    const double rawMedian = Bench::measure(
        QStringLiteral("raw SQL: first page of %1").arg(what), 50, [&] {
            QSqlQuery q = rawExec(DayPageSql, {day.toString(QStringLiteral("yyyy-MM-dd")), 64});
            readAll(q);
        });
    Bench::measure(
        QStringLiteral("store: first page of %1").arg(what), 50,
        [&] { SalesStore::dayListPage(day, 0, 64); }, RawFactor * rawMedian);
}

// The day list read raw: every value of every row, as the window's model holds them.
int rawDayList(const QDate& day)
{
    QSqlQuery q = rawExec(DayListSql, {day.toString(QStringLiteral("yyyy-MM-dd"))});
    int rows = 0;
    QVariant v;
    while (q.next()) {
        for (int i = 0; i < 11; ++i)
            v = q.value(i);
        ++rows;
    }
    return rows;
}

// The raw list beside the store's: the store is held to RawFactor times the raw median.
double listBesideRaw(const QString& what, const QDate& day)
{
    const double rawMedian = Bench::measure(QStringLiteral("raw SQL: %1").arg(what),
                                            50, [&] { rawDayList(day); });
    Bench::measure(
        QStringLiteral("store: %1").arg(what), 50,
        [&] { SalesStore::dayList(day); }, RawFactor * rawMedian);
    return rawMedian;
}

// A click with the repaint that follows it.
void click(QPushButton* b)
{
    b->click();
    QCoreApplication::processEvents();
}

// Numbers and codes of the generated database, spread over the tables.
QString customerNumber(int n)
{
    return QStringLiteral("C%1").arg(1 + (n * 7919) % (100000 * Bench::scale()), 7, 10, QLatin1Char('0'));
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
    s.amounts.hargaVariant = 2500;
    s.amounts.hargaBotol = 4000;
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
    // A past day as the till reads it: its first page; the whole list (read
    // only to check the window's) is measured beside its raw statement below.
    Bench::measure(
        "day's first page (a past day, ~300-2 000 sales)", 50,
        [&] { SalesStore::dayListPage(today.addDays(-daysBack++), 0, 64); }, 16);

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
    if (!ShiftStore::openShift(Config::tillName(ReceiptPrinter::settings())))
        ShiftStore::open(Config::tillName(ReceiptPrinter::settings()), 0, nullptr);
    frmTransaksi w;
    w.show();
    QCoreApplication::processEvents();
    Bench::measure(
        "window: keystroke in the customer number", 200,
        [&] { w.txtNoCust->setText(customerNumber(n++)); }, 1);
    Bench::measure(
        "window: keystroke in the variant code (lookup and price)", 200,
        [&] { w.txtKode->setText(variantCode(n++)); }, 1);

    // Today's full list: opening the window, and Submit of a sale.
    const int todayRows = rawDayList(today);
    const QString todayWhat = QStringLiteral("today's list (%1 sales)").arg(todayRows);
    std::printf("  today: %d sales\n", todayRows);
    listBesideRaw(todayWhat, today);
    pageBesideRaw(todayWhat, today);
    // Opening: constructed, shown and painted; closing it again is not timed.
    std::unique_ptr<frmTransaksi> opened;
    Bench::measure(
        QStringLiteral("window: open on %1").arg(todayWhat), 15,
        [&] {
            opened = std::make_unique<frmTransaksi>();
            opened->show();
            QCoreApplication::processEvents();
        },
        FrameTarget, [&] { opened.reset(); });
    opened.reset();

    // Submit of a sale: the statements it runs (the sale and its two stock
    // moves committed durably, today's list again, the saved sale loaded into
    // the editor with its three lookups), raw and through the store, then the
    // window's button with everything around it.
    const qint64 before =
        Db::scalar(QStringLiteral("SELECT MAX(idsales) FROM tvr_sales")).toLongLong();
    const QString todayText = today.toString(QStringLiteral("yyyy-MM-dd"));
    const auto rawSubmit = [&] {
        rawExec(QStringLiteral("BEGIN IMMEDIATE"));
        const QSqlQuery ins = rawExec(
            QStringLiteral("INSERT INTO tvr_sales (sales_idcust, sales_idvariant, "
                           "sales_mililiter, sales_totalml, sales_idbotol, sales_hargavariant, "
                           "sales_hargabotol, sales_hargatotal, sales_diskon, sales_hargadiskon, "
                           "sales_date, sales_author) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {4242, 17, 12.5, 0, 6, 2500, 4000, 35250, 0, 35250, todayText,
             QStringLiteral("bench")});
        const qint64 id = ins.lastInsertId().toLongLong();
        rawExec(QStringLiteral("UPDATE tvr_dtbotol SET botol_stock = botol_stock + ? "
                               "WHERE idbotol = ? AND botol_tipe <> ?"),
                {-1, 6, QStringLiteral("REFILL")});
        rawExec(QStringLiteral("UPDATE tvr_dtvariant SET variant_stock = variant_stock + ? "
                               "WHERE idvariant = ?"),
                {-12.5, 17});
        rawExec(QStringLiteral("COMMIT"));
        rawExec(QStringLiteral("SELECT MIN(sales_date) FROM tvr_sales")).next();
        rawExec(DayRowSql, {id}).next();
        rawExec(QStringLiteral("SELECT s.idsales, s.sales_status, c.cust_nomor, s.sales_idvariant, "
                               "v.variant_kode, s.sales_idbotol, b.botol_tipe, s.sales_mililiter, "
                               "s.sales_totalml, s.sales_hargavariant, s.sales_hargabotol, "
                               "s.sales_hargatotal, s.sales_diskon, s.sales_hargadiskon "
                               "FROM tvr_sales s "
                               "JOIN tvr_customer c ON c.idcust = s.sales_idcust "
                               "JOIN tvr_dtvariant v ON v.idvariant = s.sales_idvariant "
                               "JOIN tvr_dtbotol b ON b.idbotol = s.sales_idbotol "
                               "WHERE s.idsales = ?"),
                {id})
            .next();
        rawExec(QStringLiteral("SELECT idcust, cust_nomor, cust_nama, cust_alamat, cust_notelp "
                               "FROM tvr_customer WHERE cust_nomor = ? ORDER BY idcust LIMIT 1"),
                {QStringLiteral("C0004242")})
            .next();
        rawExec(QStringLiteral("SELECT idvariant, variant_kode, variant_nama, variant_harga, "
                               "variant_stock FROM tvr_dtvariant WHERE variant_kode = ? "
                               "ORDER BY idvariant LIMIT 1"),
                {QStringLiteral("V0017")})
            .next();
        rawExec(QStringLiteral("SELECT idbotol, botol_tipe, botol_harga, botol_stock "
                               "FROM tvr_dtbotol WHERE botol_tipe = ? ORDER BY idbotol LIMIT 1"),
                {QStringLiteral("BTL-05")})
            .next();
    };
    const double rawSubmitMs = Bench::measure(
        "raw SQL: Submit's statements", 30, rawSubmit);
    Bench::measure(
        "store: Submit's statements", 30,
        [&] {
            SalesStore::NewSale sale = benchSale();
            sale.amounts.idBotol = 6;
            const qint64 id = SalesStore::addSale(sale);
            SalesStore::firstSaleDay();
            SalesStore::dayListRow(id);
            SalesStore::loadSale(id);
            SalesStore::findCustomer(QStringLiteral("C0004242"));
            SalesStore::findVariant(QStringLiteral("V0017"));
            SalesStore::findBotol(QStringLiteral("BTL-05"));
        },
        RawFactor * rawSubmitMs);
    // Submit adds the item to the visit; F3 and Enter pay it in exact cash.
    const qint64 visitsBefore =
        Db::scalar(QStringLiteral("SELECT COUNT(*) FROM tvr_visit")).toLongLong();
    Bench::measure(
        QStringLiteral("window: Submit and pay on %1").arg(todayWhat), 30,
        [&] {
            w.cmdSubmit->click();
            QTest::keyClick(&w, Qt::Key_F3);
            QTest::keyClick(w.fraBayar->txtDiterima, Qt::Key_Return);
            QCoreApplication::processEvents();
        },
        FrameTarget,
        [&] {
            w.cmdNew->click();
            w.txtNoCust->setText(QStringLiteral("C0004242"));
            w.txtKode->setText(QStringLiteral("V0017"));
            w.txtMililiter->setText(QStringLiteral("12,5"));
            w.cmbBotol->setCurrentIndex(w.cmbBotol->findText(QStringLiteral("BTL-05")));
        });
    const RowSet mine =
        Db::select(QStringLiteral("SELECT idsales FROM tvr_sales WHERE idsales > ?"), {before});
    if (Db::scalar(QStringLiteral("SELECT COUNT(*) FROM tvr_visit")).toLongLong() - visitsBefore != 31)
        throw std::runtime_error("the window's Submit and pay did not save every time");
    for (const QVariantList& row : mine.rows)
        SalesStore::deleteSale(row.first().toLongLong());

    // A day button: yesterday from today, then the busiest day from the day after it.
    click(w.cmdNavigasi.at(3));
    Bench::measure(
        "window: < from today to yesterday", 30, [&] { click(w.cmdNavigasi.at(1)); },
        FrameTarget, [&] { click(w.cmdNavigasi.at(3)); });
    const QDate busiest = Bench::busiestDay();
    const int busiestRows = rawDayList(busiest);
    const QString busiestWhat = QStringLiteral("the busiest day (%1 sales)").arg(busiestRows);
    std::printf("  busiest day: %s, %d sales\n",
                qPrintable(busiest.toString(QStringLiteral("yyyy-MM-dd"))), busiestRows);
    listBesideRaw(busiestWhat, busiest);
    pageBesideRaw(busiestWhat, busiest);
    // Walk back to the busiest day once; each run then steps to the day after
    // it (untimed) and back with "<".
    const QString busiestLabel = busiest.toString(QStringLiteral("dd/MM/yyyy"));
    click(w.cmdNavigasi.at(3));
    for (int guard = 0; w.lblPage_i->text() != busiestLabel; ++guard) {
        if (guard > 5 * 366)
            throw std::runtime_error("the busiest day cannot be reached with the day buttons");
        w.cmdNavigasi.at(1)->click();
    }
    Bench::measure(
        QStringLiteral("window: < landing on %1").arg(busiestWhat), 30,
        [&] { click(w.cmdNavigasi.at(1)); }, FrameTarget, [&] { click(w.cmdNavigasi.at(2)); });
    if (w.lblPage_i->text() != busiestLabel)
        throw std::runtime_error("the day button did not land on the busiest day");
}

} // namespace

BENCH_SUITE(sales);
