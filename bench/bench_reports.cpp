// The sales report window on the large database: opening it (with its year
// list), and the window's own refresh for a year, a month and a day.
#include "Bench.h"

#include "ScriptedPrompt.h"
#include "TestDb.h"

#include "core/Db.h"
#include "reports/ReportStore.h"
#include "reports/frmSales.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <stdexcept>

namespace {

// Picks an entry as a click on the box does.
void choose(QComboBox* box, int index)
{
    box->setCurrentIndex(index);
    emit box->activated(index);
}

int busiestYear()
{
    int best = 0;
    qint64 most = -1;
    for (int year : ReportStore::years(QDate::currentDate().year())) {
        const qint64 n = Db::scalar(QStringLiteral("SELECT COUNT(*) FROM tvr_sales "
                                                   "WHERE sales_date >= ? AND sales_date < ?"),
                                    {QString::number(year), QString::number(year + 1)})
                             .toLongLong();
        if (n > most) {
            most = n;
            best = year;
        }
    }
    std::printf("  busiest year %d: %lld sales\n", best, most);
    return best;
}

// A copy of the large database with every index of the schema script, so the
// report reads the indexes a database made from the current script has.
QString withCurrentIndexes(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("reports.db"));
    if (!QFile::copy(Bench::bigDatabase(), path))
        throw std::runtime_error("cannot copy the large database");
    QFile script(TestDb::schemaPath());
    if (!script.open(QIODevice::ReadOnly | QIODevice::Text))
        throw std::runtime_error("cannot read the schema script");
    static const QRegularExpression index(QStringLiteral("CREATE INDEX ([^;]+);"));
    const QString name = QStringLiteral("reports-indexes");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open())
            throw std::runtime_error("cannot open the copy");
        auto it = index.globalMatch(QString::fromUtf8(script.readAll()));
        while (it.hasNext()) {
            QSqlQuery q(db);
            if (!q.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS ") + it.next().captured(1)))
                throw std::runtime_error(q.lastError().text().toStdString());
        }
        QSqlQuery(db).exec(QStringLiteral("ANALYZE"));
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return path;
}

void reports()
{
    QTemporaryDir dir;
    Bench::open(withCurrentIndexes(dir));
    ScriptedPrompt prompt;
    const int year = busiestYear();
    const RowSet plan = Db::select(
        QStringLiteral("EXPLAIN QUERY PLAN SELECT sales_date, SUM(sales_mililiter), "
                       "SUM(sales_hargadiskon) FROM tvr_sales WHERE sales_date >= ? AND "
                       "sales_date < ? GROUP BY sales_date"),
        {QStringLiteral("2024"), QStringLiteral("2025")});
    for (const QVariantList& row : plan.rows)
        std::printf("  plan: %s\n", qPrintable(row.last().toString()));

    // The yearly and monthly statements raw: the old sum over the sales, and
    // the kept totals the report reads now.
    const QString y = QString::number(year), next = QString::number(year + 1);
    Bench::measure("raw SQL: a year summed from tvr_sales", 10, [&] {
        Bench::raw(QStringLiteral("SELECT sales_date, SUM(sales_mililiter), SUM(sales_hargadiskon) "
                           "FROM tvr_sales WHERE sales_date >= ? AND sales_date < ? "
                           "GROUP BY sales_date"),
            {y, next});
    });
    const QString totalsSql = QStringLiteral(
        "SELECT ringkasan_periode, ringkasan_ml, ringkasan_total FROM tvr_ringkasan "
        "WHERE ringkasan_jenis = ? AND ringkasan_satuan = ? AND ringkasan_periode >= ? "
        "AND ringkasan_periode < ? AND ringkasan_kunci = 0 AND ringkasan_author = '' "
        "AND ringkasan_jumlah > 0 ORDER BY ringkasan_periode ASC");
    Bench::measure("raw SQL: a year from the month totals", 50,
                   [&] { Bench::raw(totalsSql, {0, 1, y, next}); });
    Bench::measure("store: yearly report", 50, [&] { ReportStore::report({year, 0, 0}); });
    Bench::measure("raw SQL: a month from the day totals", 50,
                   [&] { Bench::raw(totalsSql, {0, 0, y + "-03", y + "-04"}); });
    Bench::measure("store: monthly report", 50, [&] { ReportStore::report({year, 3, 0}); });
    Bench::measure("year list (current year and years with sales)", 50,
                   [] { ReportStore::years(QDate::currentDate().year()); }, 5);
    Bench::measure(
        "open the report window (year list, newest year's report)", 15,
        [] {
            frmSales w;
            w.show();
            QCoreApplication::processEvents();
        },
        50);

    frmSales w;
    w.show();
    QCoreApplication::processEvents();
    const int yearIndex = w.cmbTahun->findText(QString::number(year));
    Bench::measure("window: yearly report of the busiest year (~200 000 sales)", 15,
                   [&] { choose(w.cmbTahun, yearIndex); }, 50);
    Bench::measure("window: monthly report (~17 000 sales)", 30,
                   [&] { choose(w.cmbBulan, 2); }, 50, [&] { choose(w.cmbTahun, yearIndex); });
    Bench::measure("window: daily report (~550 sales)", 30, [&] { choose(w.cmbTanggal, 14); }, 50,
                   [&] {
                       choose(w.cmbTahun, yearIndex);
                       choose(w.cmbBulan, 2);
                   });
    std::printf("  last daily report: %s, %s ml, %s\n", qPrintable(w.lblPreview_2->text()),
                qPrintable(w.lblJumlahml_i->text()), qPrintable(w.lblValue_i->text()));
}

} // namespace

BENCH_SUITE(reports);
