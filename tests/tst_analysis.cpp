// The owner's figures: each grouping against a direct SUM over the sales, the
// cost a sale keeps, the summary against the rows after every kind of write,
// and the low-stock count crossing a minimum.
#include "TestDb.h"

#include "analysis/AnalysisStore.h"
#include "analysis/LowStock.h"
#include "core/Db.h"
#include "core/Globals.h"
#include "masterdata/RegisterStore.h"
#include "sales/SalesStore.h"
#include "stock/StockStore.h"

#include <QMap>
#include <QSignalSpy>
#include <QTest>

using AnalysisStore::Grouping;
using AnalysisStore::Range;

namespace {

int insert(const QString& sql, const QVariantList& values)
{
    return int(Db::insertedId(Db::exec(sql, values)));
}

QDate day(const char* text)
{
    return QDate::fromString(QString::fromLatin1(text), QStringLiteral("yyyy-MM-dd"));
}

// Count, ml, total, cost of a group.
struct Sums {
    qint64 n = 0;
    double ml = 0, total = 0, pokok = 0;
};

// A known set of sales over October 2022 to March 2024: four variants, three
// bottle types, three cashiers, five customers (one deleted afterwards, its
// sales kept), some locked by a reset, some in visits with an hour and a payment.
void fillKnownSales()
{
    Transaction tx;
    QList<int> variants, bottles, customers;
    for (int i = 0; i < 4; ++i)
        variants << insert("INSERT INTO tvr_dtvariant (variant_kode, variant_nama, variant_harga, "
                           "variant_stock) VALUES (?, ?, ?, 1000)",
                           {QString("V%1").arg(i), QString("Wangi %1").arg(i), 1000 + 250 * i});
    for (int i = 0; i < 3; ++i)
        bottles << insert("INSERT INTO tvr_dtbotol (botol_tipe, botol_harga, botol_stock) "
                          "VALUES (?, ?, 100)",
                          {QString("B%1").arg(i), 2000 + 500 * i});
    for (int i = 0; i < 5; ++i)
        customers << insert("INSERT INTO tvr_customer (cust_nomor, cust_nama) VALUES (?, ?)",
                            {QString("C%1").arg(i), QString("Cust %1").arg(i)});
    const QStringList cashiers = {"ani", "budi", "tester"};
    const QStringList methods = {"TUNAI", "QRIS", "DEBIT"};
    quint32 seed = 7;
    auto next = [&](int n) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 16) % quint32(n));
    };
    for (QDate d = day("2022-10-01"); d <= day("2024-03-31"); d = d.addDays(1 + next(3))) {
        for (int k = 0, sales = 1 + next(3); k < sales; ++k) {
            const double ml = 5 + next(20) + 0.5 * next(2);
            const double total = ml * 1000 + 2000 - next(3) * 150.25;
            const QVariant pokok = next(5) == 0 ? QVariant(QMetaType::fromType<double>())
                                                : QVariant(ml * 400 + 900.5);
            const int id = insert(
                "INSERT INTO tvr_sales (sales_idcust, sales_idvariant, sales_mililiter, "
                "sales_idbotol, sales_hargatotal, sales_hargadiskon, sales_date, sales_author, "
                "sales_status, sales_pokok) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                {customers.at(next(5)), variants.at(next(4)), ml, bottles.at(next(3)),
                 total + 100, total, d.toString("yyyy-MM-dd"), cashiers.at(next(3)),
                 next(6) == 0 ? 1 : 0, pokok});
            if (next(2) == 0) {
                const int visit = insert(
                    "INSERT INTO tvr_visit (visit_idcust, visit_date, visit_jam) VALUES (?, ?, ?)",
                    {customers.first(), d.toString("yyyy-MM-dd"),
                     QString("%1:15:00").arg(9 + next(10), 2, 10, QChar('0'))});
                Db::exec("INSERT INTO tvr_visitsales (visitsales_idsales, visitsales_idvisit) "
                         "VALUES (?, ?)",
                         {id, visit});
                Db::exec("INSERT INTO tvr_payment (payment_idvisit, payment_jenis, payment_metode, "
                         "payment_jumlah, payment_date) VALUES (?, ?, ?, ?, ?)",
                         {visit, next(4) == 0 ? 1 : 0, methods.at(next(3)), std::round(total),
                          d.toString("yyyy-MM-dd")});
            }
        }
    }
    Db::exec("DELETE FROM tvr_customer WHERE cust_nomor = 'C4'");
    tx.commit();
}

// The direct sums over tvr_sales (or tvr_payment) of a grouping, by key.
QMap<QString, Sums> direct(Grouping g, const Range& r)
{
    const QVariantList bounds{r.from.toString("yyyy-MM-dd"), r.to.toString("yyyy-MM-dd")};
    QString sql;
    switch (g) {
    case Grouping::Variant: sql = "SELECT sales_idvariant"; break;
    case Grouping::Bottle: sql = "SELECT sales_idbotol"; break;
    case Grouping::Cashier: sql = "SELECT sales_author"; break;
    case Grouping::Customer: sql = "SELECT sales_idcust"; break;
    case Grouping::Weekday: sql = "SELECT sales_date"; break;
    case Grouping::Hour: sql = "SELECT coalesce(substr(v.visit_jam, 1, 2), '-')"; break;
    case Grouping::Payment:
        sql = "SELECT payment_metode, SUM(CASE WHEN payment_jenis = 0 THEN 1 ELSE 0 END), 0, "
              "SUM(payment_jumlah), 0 FROM tvr_payment WHERE payment_date BETWEEN ? AND ? "
              "GROUP BY payment_metode";
        break;
    }
    if (g != Grouping::Payment)
        sql += ", COUNT(*), SUM(sales_mililiter), SUM(sales_hargadiskon), "
               "SUM(coalesce(sales_pokok, 0)) FROM tvr_sales s "
               "LEFT JOIN tvr_visitsales vs ON vs.visitsales_idsales = s.idsales "
               "LEFT JOIN tvr_visit v ON v.idvisit = vs.visitsales_idvisit "
               "WHERE sales_date BETWEEN ? AND ? GROUP BY 1";
    QMap<QString, Sums> out;
    for (const QVariantList& row : Db::select(sql, bounds).rows) {
        QString key = row.at(0).toString();
        if (g == Grouping::Weekday)
            key = QString::number(QDate::fromString(key, "yyyy-MM-dd").dayOfWeek());
        Sums& s = out[key];
        s.n += row.at(1).toLongLong();
        s.ml += row.at(2).toDouble();
        s.total += row.at(3).toDouble();
        s.pokok += row.at(4).toDouble();
    }
    return out;
}

bool near(double a, double b)
{
    return std::abs(a - b) < 0.005;
}

// Every total of tvr_ringkasan (rows whose count is not 0) made afresh from
// the rows of tvr_sales, as "jenis/satuan/periode/kunci/author" -> sums.
QMap<QString, Sums> summaryFromRows()
{
    QMap<QString, Sums> out;
    const RowSet rs = Db::select(
        "SELECT sales_date, sales_idvariant, sales_idbotol, sales_author, sales_idcust, "
        "sales_mililiter, sales_hargadiskon, coalesce(sales_pokok, 0) FROM tvr_sales");
    for (const QVariantList& r : rs.rows) {
        const QString date = r.at(0).toString();
        const QStringList periods = {date, date.left(7), date.left(4)};
        for (int unit = 0; unit < 3; ++unit) {
            QStringList keys = {QString("0/%1/%2/0/").arg(unit).arg(periods.at(unit)),
                                QString("1/%1/%2/%3/").arg(unit).arg(periods.at(unit)).arg(r.at(1).toInt()),
                                QString("2/%1/%2/%3/").arg(unit).arg(periods.at(unit)).arg(r.at(2).toInt()),
                                QString("3/%1/%2/0/%3").arg(unit).arg(periods.at(unit), r.at(3).toString())};
            if (unit > 0)
                keys << QString("4/%1/%2/%3/").arg(unit).arg(periods.at(unit)).arg(r.at(4).toInt());
            for (const QString& k : keys) {
                Sums& s = out[k];
                ++s.n;
                s.ml += r.at(5).toDouble();
                s.total += r.at(6).toDouble();
                s.pokok += r.at(7).toDouble();
            }
        }
    }
    return out;
}

QMap<QString, Sums> summaryKept()
{
    QMap<QString, Sums> out;
    const RowSet rs = Db::select(
        "SELECT ringkasan_jenis, ringkasan_satuan, ringkasan_periode, ringkasan_kunci, "
        "ringkasan_author, ringkasan_jumlah, ringkasan_ml, ringkasan_total, ringkasan_pokok "
        "FROM tvr_ringkasan WHERE ringkasan_jumlah <> 0");
    for (const QVariantList& r : rs.rows)
        out[QString("%1/%2/%3/%4/%5")
                .arg(r.at(0).toInt())
                .arg(r.at(1).toInt())
                .arg(r.at(2).toString())
                .arg(r.at(3).toInt())
                .arg(r.at(4).toString())] =
            Sums{r.at(5).toLongLong(), r.at(6).toDouble(), r.at(7).toDouble(), r.at(8).toDouble()};
    return out;
}

} // namespace

class AnalysisTest : public QObject {
    Q_OBJECT
private slots:
    void figuresAgreeWithSums_data();
    void figuresAgreeWithSums();
    void costKeptFromSaleTime();
    void summaryFollowsEveryWrite();
    void lowStockCrossing();
};

void AnalysisTest::figuresAgreeWithSums_data()
{
    QTest::addColumn<int>("grouping");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    const QList<std::pair<const char*, Grouping>> groupings = {
        {"variant", Grouping::Variant}, {"bottle", Grouping::Bottle},
        {"cashier", Grouping::Cashier}, {"customer", Grouping::Customer},
        {"weekday", Grouping::Weekday}, {"hour", Grouping::Hour},
        {"payment", Grouping::Payment}};
    const QList<std::tuple<const char*, const char*, const char*>> ranges = {
        {"one day", "2023-05-06", "2023-05-06"},
        {"one whole month", "2023-02-01", "2023-02-28"},
        {"across a month end", "2023-01-20", "2023-02-10"},
        {"across a year end", "2022-12-15", "2023-01-31"},
        {"a whole year", "2023-01-01", "2023-12-31"},
        {"years and months and days", "2022-10-05", "2024-03-03"},
        {"nothing sold", "2021-01-01", "2021-12-31"},
        // Stretched over the days without sales to whole years.
        {"from before the first sale", "2022-09-20", "2022-12-31"},
        {"to a date after the last sale", "2024-01-01", "2024-06-10"}};
    for (const auto& [gname, g] : groupings)
        for (const auto& [rname, from, to] : ranges)
            QTest::newRow(qPrintable(QString("%1, %2").arg(gname, rname)))
                << int(g) << day(from) << day(to);
}

void AnalysisTest::figuresAgreeWithSums()
{
    QFETCH(int, grouping);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    TestDb t;
    fillKnownSales();
    const Grouping g = Grouping(grouping);
    const Range r{from, to};
    QMap<QString, Sums> expected = direct(g, r);
    QMap<QString, Sums> got;
    for (const AnalysisStore::Figure& f : AnalysisStore::figures(g, r))
        if (f.count != 0 || f.total != 0)
            got[f.key] = Sums{f.count, f.ml, f.total, f.pokok};
    QCOMPARE(got.keys(), expected.keys());
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        const Sums& s = got.value(it.key());
        QVERIFY2(s.n == it->n && near(s.ml, it->ml) && near(s.total, it->total) &&
                     near(s.pokok, it->pokok),
                 qPrintable(QString("%1: %2/%3 %4/%5").arg(it.key()).arg(s.n).arg(it->n)
                                .arg(s.total, 0, 'f', 2).arg(it->total, 0, 'f', 2)));
    }
    // The period's takings by day add up to the same total.
    double days = 0, all = 0;
    for (const auto& d : AnalysisStore::days(r))
        days += d.total;
    for (const Sums& s : direct(Grouping::Variant, r))
        all += s.total;
    QVERIFY(near(days, all));
    // The top customers are the largest of the full list, in order.
    if (g == Grouping::Customer) {
        const auto full = AnalysisStore::figures(g, r);
        const auto top = AnalysisStore::figures(g, r, 2);
        QCOMPARE(top.size(), std::min<qsizetype>(2, full.size()));
        QList<qint64> ids;
        for (int i = 0; i < top.size(); ++i) {
            QCOMPARE(top.at(i).key, full.at(i).key);
            ids << top.at(i).key.toLongLong();
        }
        // Asked for by key (the year before of the shown ones): the same figures.
        QMap<QString, double> byKey;
        for (const auto& f : AnalysisStore::figures(g, r, 0, ids))
            byKey.insert(f.key, f.total);
        QCOMPARE(byKey.size(), top.size());
        for (const auto& f : top)
            QVERIFY(near(byKey.value(f.key), f.total));
    }
}

void AnalysisTest::costKeptFromSaleTime()
{
    TestDb t;
    const int v1 = insert("INSERT INTO tvr_dtvariant (variant_kode, variant_nama, variant_harga, "
                          "variant_stock, variant_pokok) VALUES ('V1', 'Melati', 1000, 500, 400)", {});
    const int v2 = insert("INSERT INTO tvr_dtvariant (variant_kode, variant_nama, variant_harga, "
                          "variant_stock, variant_pokok) VALUES ('V2', 'Mawar', 1200, 500, 550)", {});
    const int b = insert("INSERT INTO tvr_dtbotol (botol_tipe, botol_harga, botol_stock, "
                         "botol_pokok) VALUES ('SPRAY', 3000, 10, 1500)", {});
    const int c = insert("INSERT INTO tvr_customer (cust_nomor, cust_nama) VALUES ('C1', 'Ayu')", {});
    qint64 id = 0;
    SalesStore::NewSale sale{c, {}, {v1, b, 10, 10, 13000, 0, 13000, 1000, 3000}};
    QCOMPARE(SalesStore::recordSale(sale, &id), SalesStore::Outcome::Done);
    auto stored = [&] {
        const RowSet rs = Db::select("SELECT sales_pokokvariant, sales_pokokbotol, sales_pokok "
                                     "FROM tvr_sales WHERE idsales = ?", {id});
        return QList<double>{rs.value(0, 0).toDouble(), rs.value(0, 1).toDouble(),
                             rs.value(0, 2).toDouble()};
    };
    QCOMPARE(stored(), (QList<double>{400, 1500, 5500}));
    // The costs change: the sale keeps its own, also when its millilitres are corrected.
    Db::exec("UPDATE tvr_dtvariant SET variant_pokok = 999");
    Db::exec("UPDATE tvr_dtbotol SET botol_pokok = 2222");
    SalesStore::Amounts more{v1, b, 12, 12, 15000, 0, 15000, 1000, 3000};
    QCOMPARE(SalesStore::correctSale(id, more), SalesStore::Outcome::Done);
    QCOMPARE(stored(), (QList<double>{400, 1500, 12 * 400 + 1500}));
    // Another variant: that variant's cost of today, the bottle's kept.
    SalesStore::Amounts other{v2, b, 12, 12, 17400, 0, 17400, 1200, 3000};
    QCOMPARE(SalesStore::correctSale(id, other), SalesStore::Outcome::Done);
    QCOMPARE(stored(), (QList<double>{999, 1500, 12 * 999 + 1500}));
    const auto figures = AnalysisStore::figures(Grouping::Variant,
                                                {QDate::currentDate(), QDate::currentDate()});
    QCOMPARE(figures.size(), 1);
    QCOMPARE(figures.first().pokok, 12.0 * 999 + 1500);
}

void AnalysisTest::summaryFollowsEveryWrite()
{
    TestDb t;
    fillKnownSales();
    auto check = [](const char* after) {
        const QMap<QString, Sums> rows = summaryFromRows();
        const QMap<QString, Sums> kept = summaryKept();
        QVERIFY2(rows.keys() == kept.keys(), after);
        for (auto it = rows.cbegin(); it != rows.cend(); ++it) {
            const Sums& k = kept.value(it.key());
            QVERIFY2(k.n == it->n && near(k.ml, it->ml) && near(k.total, it->total) &&
                         near(k.pokok, it->pokok),
                     qPrintable(QString("%1: %2").arg(after, it.key())));
        }
    };
    check("the known sales");
    const int v = Db::scalar("SELECT idvariant FROM tvr_dtvariant WHERE variant_kode = 'V0'").toInt();
    const int b = Db::scalar("SELECT idbotol FROM tvr_dtbotol WHERE botol_tipe = 'B0'").toInt();
    const int c = Db::scalar("SELECT idcust FROM tvr_customer WHERE cust_nomor = 'C0'").toInt();
    qint64 id = 0;
    SalesStore::NewSale sale{c, {}, {v, b, 10, 10, 12000, 0, 12000, 1000, 2000}};
    QCOMPARE(SalesStore::recordSale(sale, &id), SalesStore::Outcome::Done);
    check("a sale");
    SalesStore::Amounts corrected{v, b, 7, 7, 9000, 10, 8100, 1000, 2000};
    QCOMPARE(SalesStore::correctSale(id, corrected), SalesStore::Outcome::Done);
    check("a correction");
    QCOMPARE(SalesStore::recordSale(sale, &id), SalesStore::Outcome::Done);
    QCOMPARE(SalesStore::deleteSale(id), SalesStore::Outcome::Done);
    check("a deletion");
    QCOMPARE(StockStore::reset(StockStore::Item::Variant, v), StockStore::Outcome::Done);
    check("a stock reset");
    QCOMPARE(RegisterStore::deleteVariant(v), RegisterStore::Outcome::Done);
    check("a variant deleted with its sales");
    QCOMPARE(RegisterStore::deleteBotol(b), RegisterStore::Outcome::Done);
    check("a bottle type deleted with its sales");
    QCOMPARE(RegisterStore::deleteCustomer(c), RegisterStore::Outcome::Done);
    check("a customer deleted with its sales");
}

void AnalysisTest::lowStockCrossing()
{
    TestDb t;
    const int v = insert("INSERT INTO tvr_dtvariant (variant_kode, variant_nama, variant_harga, "
                         "variant_stock, variant_minimum) VALUES ('V1', 'Melati', 1000, 60, 50)", {});
    insert("INSERT INTO tvr_dtvariant (variant_kode, variant_nama, variant_harga, variant_stock) "
           "VALUES ('V0', 'Kosong', 1000, 0)", {}); // no minimum: never counted
    const int b = insert("INSERT INTO tvr_dtbotol (botol_tipe, botol_harga, botol_stock, "
                         "botol_minimum) VALUES ('SPRAY', 3000, 3, 2)", {});
    const int c = insert("INSERT INTO tvr_customer (cust_nomor, cust_nama) VALUES ('C1', 'Ayu')", {});
    LowStock::recount();
    QSignalSpy told(LowStock::watch(), &LowStock::Watch::changed);
    auto sell = [&](double ml) {
        SalesStore::NewSale sale{c, {}, {v, b, ml, ml, ml * 1000 + 3000, 0, ml * 1000 + 3000, 1000, 3000}};
        QCOMPARE(SalesStore::recordSale(sale, nullptr), SalesStore::Outcome::Done);
    };
    QCOMPARE(LowStock::count().total(), 0);
    sell(5); // 55 ml, 2 bottles: at the minimum is not below it
    QCOMPARE(told.size(), 0);
    sell(6); // 49 ml, 1 bottle: both cross
    QCOMPARE(told.size(), 1);
    const auto counts = told.last().at(0).value<LowStock::Counts>();
    QCOMPARE(counts.variants, 1);
    QCOMPARE(counts.bottles, 1);
    QCOMPARE(LowStock::statusText(counts).isEmpty(), false);
    sell(1); // still below: nothing new to tell
    QCOMPARE(told.size(), 1);
    // A minimum of 0 set in the register takes the variant off.
    RegisterStore::saveVariant(v, "V1", "Melati", 1000, RegisterStore::CostFields{0, 0});
    QCOMPARE(told.size(), 2);
    QCOMPARE(LowStock::count().variants, 0);
    const auto lines = LowStock::reorderList(QDate::currentDate());
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines.first().kode, QString("SPRAY"));
    QCOMPARE(lines.first().perDay, 3.0 / 30);
    QVERIFY(lines.first().daysLeft && near(*lines.first().daysLeft, 0.0));
}

QTEST_MAIN(AnalysisTest)
#include "tst_analysis.moc"
