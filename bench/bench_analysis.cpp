// The owner's figures on the large database: the analysis window's refresh
// (tables of this period and the year before, and both charts) for a whole
// year, a month and a day, and the low-stock count after a sale.
#include "Bench.h"

#include "ScriptedPrompt.h"

#include "analysis/AnalysisStore.h"
#include "analysis/LowStock.h"
#include "analysis/frmAnalisa.h"
#include "core/Db.h"
#include "core/SalesSummary.h"
#include "sales/SalesStore.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdio>
#include <stdexcept>

namespace {

// A copy of the large database with cost prices and minimums, and a summary
// that agrees with its sales (made afresh when it does not).
QString preparedCopy(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("analysis.db"));
    if (!QFile::copy(Bench::bigDatabase(), path))
        throw std::runtime_error("cannot copy the large database");
    Bench::open(path);
    const qint64 sales = Db::scalar(QStringLiteral("SELECT COUNT(*) FROM tvr_sales")).toLongLong();
    const qint64 summed = Db::scalar(QStringLiteral("SELECT coalesce(SUM(ringkasan_jumlah), 0) "
                                                    "FROM tvr_ringkasan WHERE ringkasan_jenis = 0 "
                                                    "AND ringkasan_satuan = 2"))
                              .toLongLong();
    Transaction tx;
    if (sales != summed) {
        std::printf("  summary holds %lld of %lld sales: made afresh\n", summed, sales);
        SalesSummary::rebuild();
    }
    Db::exec(QStringLiteral("UPDATE tvr_dtvariant SET variant_pokok = variant_harga * 0.4, "
                            "variant_minimum = 500"));
    Db::exec(QStringLiteral("UPDATE tvr_dtbotol SET botol_pokok = botol_harga * 0.5, "
                            "botol_minimum = 20"));
    tx.commit();
    return path;
}

void analysis()
{
    QTemporaryDir dir;
    preparedCopy(dir);
    ScriptedPrompt prompt;
    const QDate today = QDate::currentDate();
    const int year = today.year() - 1;

    frmAnalisa w;
    w.show();
    QCoreApplication::processEvents();
    auto period = [&](const QDate& from, const QDate& to, int grouping) {
        w.dtpDari->setDate(from);
        w.dtpSampai->setDate(to);
        w.cmbKelompok->setCurrentIndex(grouping);
    };
    struct Case {
        const char* name;
        QDate from, to;
    };
    const QList<Case> cases = {
        {"a whole year", QDate(year, 1, 1), QDate(year, 12, 31)},
        {"this year to date", QDate(today.year(), 1, 1), today},
        {"a month", QDate(year, 12, 1), QDate(year, 12, 31)},
        {"a day", Bench::busiestDay(), Bench::busiestDay()},
    };
    const QStringList groupings = {"variant", "bottle", "cashier", "payment", "customer (top 20)",
                                   "weekday", "hour"};
    for (const Case& c : cases)
        for (int g : {0, 4, 5})
            Bench::measure(QStringLiteral("analysis window, %1, by %2, with charts")
                               .arg(QLatin1String(c.name), groupings.at(g)),
                           15, [&] { w.DoGetList(); }, 50, [&] { period(c.from, c.to, g); });
    for (int g : {1, 2, 3, 6})
        Bench::measure(QStringLiteral("analysis window, a whole year, by %1").arg(groupings.at(g)),
                       15, [&] { w.DoGetList(); }, 50,
                       [&] { period(cases.first().from, cases.first().to, g); });

    // The customers' statements raw beside the store: the top 20 of a year
    // from the index in takings order (and the old sort of every customer of
    // it), and the top 20 of the busiest day grouped from its sales.
    const QString topOfYear = QStringLiteral(
        "SELECT ringkasan_kunci, ringkasan_total FROM tvr_ringkasan WHERE ringkasan_jenis = 4 "
        "AND ringkasan_satuan = 2 AND ringkasan_periode = ? AND ringkasan_jumlah <> 0 "
        "ORDER BY ringkasan_total DESC, ringkasan_kunci LIMIT 20");
    Bench::measure("raw SQL: top 20 customers of a year (index in takings order)", 50,
                   [&] { Bench::raw(topOfYear, {QString::number(year)}); });
    Bench::measure("raw SQL: top 20 customers of a year, every customer sorted", 10, [&] {
        Bench::raw(QString(topOfYear).replace(QStringLiteral("ringkasan_jenis = 4"),
                                       QStringLiteral("+ringkasan_jenis = 4")),
            {QString::number(year)});
    });
    const AnalysisStore::Range wholeYear{cases.first().from, cases.first().to};
    Bench::measure("store: top 20 customers of a year", 50,
                   [&] { AnalysisStore::figures(AnalysisStore::Grouping::Customer, wholeYear, 20); });
    const QString busiest = Bench::busiestDay().toString(QStringLiteral("yyyy-MM-dd"));
    Bench::measure("raw SQL: top 20 customers of the busiest day", 20, [&] {
        Bench::raw(QStringLiteral("SELECT sales_idcust, SUM(sales_hargadiskon) FROM tvr_sales "
                           "WHERE sales_date = ? GROUP BY sales_idcust "
                           "ORDER BY SUM(sales_hargadiskon) DESC LIMIT 20"),
            {busiest});
    });
    const AnalysisStore::Range busiestDay{Bench::busiestDay(), Bench::busiestDay()};
    Bench::measure("store: top 20 customers of the busiest day", 20,
                   [&] { AnalysisStore::figures(AnalysisStore::Grouping::Customer, busiestDay, 20); });

    Bench::measure("low-stock count", 200, [] { LowStock::count(); }, 1);
    // A sale at the till and the count it triggers; only the count is timed.
    const RowSet item = Db::select(QStringLiteral(
        "SELECT (SELECT idcust FROM tvr_customer ORDER BY idcust LIMIT 1), "
        "(SELECT idvariant FROM tvr_dtvariant ORDER BY variant_stock DESC LIMIT 1), "
        "(SELECT idbotol FROM tvr_dtbotol WHERE botol_tipe = 'REFILL')"));
    const SalesStore::NewSale sale{item.value(0, 0).toInt(), {},
                                   {item.value(0, 1).toInt(), item.value(0, 2).toInt(), 1, 1, 1000,
                                    0, 1000, 1000, 0}};
    Bench::measure("low-stock count after a sale (the watch told)", 50,
                   [] { LowStock::saved(); }, 1,
                   [&] { SalesStore::recordSale(sale, nullptr); });
    std::printf("  below minimum: %d variants, %d bottle types\n", LowStock::count().variants,
                LowStock::count().bottles);
}

} // namespace

BENCH_SUITE(analysis);
