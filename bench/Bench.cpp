#include "Bench.h"

#include "core/Connection.h"
#include "core/Db.h"
#include "core/Globals.h"
#include "core/Schema.h"
#include "core/SchemaUpgrade.h"
#include "generator.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QFile>
#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QDate>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <stdexcept>

namespace Bench {

namespace {
struct Row {
    QString name;
    double median;
    double target;
    double cpu; // median processor time of the thread, -1 when not measured
};

// Processor time of this thread: on a machine shared with other work the wall
// clock also counts the time the thread waited for a processor.
double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}
QList<Row>& rows()
{
    static QList<Row> r;
    return r;
}
QList<std::pair<const char*, Suite>>& suites()
{
    static QList<std::pair<const char*, Suite>> s;
    return s;
}
QString dataDir()
{
    const QString dir = QDir(QCoreApplication::applicationDirPath()).filePath("bench-data");
    QDir().mkpath(dir);
    return dir;
}
} // namespace

void record(const QString& name, double medianMs, double target)
{
    record(name, medianMs, target, -1);
}

void record(const QString& name, double medianMs, double target, double cpuMs)
{
    rows() << Row{name, medianMs, target, cpuMs};
    if (cpuMs >= 0)
        std::printf("  %-58s %10.3f ms (cpu %.3f)\n", qPrintable(name), medianMs, cpuMs);
    else
        std::printf("  %-58s %10.3f ms\n", qPrintable(name), medianMs);
    std::fflush(stdout);
}

double measure(const QString& name, int runs, const std::function<void()>& body, double target,
             const std::function<void()>& setup)
{
    if (setup)
        setup();
    body(); // warm-up: caches and prepared statements as in real use
    QList<double> times, cpu;
    for (int i = 0; i < runs; ++i) {
        if (setup)
            setup();
        QElapsedTimer t;
        const double cpuStart = threadCpuMs();
        t.start();
        body();
        times << t.nsecsElapsed() / 1e6;
        cpu << threadCpuMs() - cpuStart;
    }
    record(name, median(times), target, median(cpu));
    return median(times);
}

void raw(const QString& sql, const QVariantList& values)
{
    QSqlQuery q(Db::connection());
    q.setForwardOnly(true);
    q.prepare(sql);
    for (const QVariant& v : values)
        q.addBindValue(v);
    q.exec();
    QVariant v;
    while (q.next())
        v = q.value(1);
}

int scale()
{
    bool ok = false;
    const int s = qEnvironmentVariableIntValue("TAVORU_BENCH_SCALE", &ok);
    return ok && s > 1 ? s : 1;
}

QString bigDatabase()
{
    // The shape is laid out around the day of generation (today is a full
    // day, the busiest day lies before it): a file made on another day is made again.
    const QString path = QDir(dataDir()).filePath(
        scale() == 1 ? QStringLiteral("big-v4.db") : QStringLiteral("big-v4-x%1.db").arg(scale()));
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    if (QFile::exists(path)) {
        QString newest;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "bench-check");
            db.setDatabaseName(path);
            db.setConnectOptions("QSQLITE_OPEN_READONLY");
            if (db.open()) {
                QSqlQuery q(db);
                if (q.exec("SELECT MAX(sales_date) FROM tvr_sales") && q.next())
                    newest = q.value(0).toString();
            }
            db.close();
        }
        QSqlDatabase::removeDatabase("bench-check");
        if (newest == today)
            return path;
        std::printf("The large database was made for %s, not today: making it again.\n",
                    qPrintable(newest));
    }
    std::printf("Generating the large database (once a day): %s\n", qPrintable(path));
    std::fflush(stdout);
    QElapsedTimer t;
    t.start();
    generateBigDatabase(path, QDate::currentDate(), scale());
    std::printf("Generated in %.1f s.\n", t.nsecsElapsed() / 1e9);
    std::fflush(stdout);
    return path;
}

QDate busiestDay()
{
    const QVariant day = Db::scalar(QStringLiteral(
        "SELECT sales_date FROM tvr_sales GROUP BY sales_date ORDER BY COUNT(*) DESC LIMIT 1"));
    return QDate::fromString(day.toString(), QStringLiteral("yyyy-MM-dd"));
}

QString emptyDatabase()
{
    const QString path = QDir(dataDir()).filePath("empty.db");
    QFile::remove(path);
    createEmptyDatabase(path);
    return path;
}

void open(const QString& path)
{
    if (!Connection::open("Driver=QSQLITE;Database=" + path, QDir::currentPath()))
        throw std::runtime_error("cannot open " + path.toStdString());
    if (!Connection::prepare().isEmpty())
        throw std::runtime_error("database cannot be written");
    // A database kept from an earlier build is brought up to this version.
    if (const QString failed = SchemaUpgrade::run(SchemaUpgrade::version()); !failed.isEmpty())
        throw std::runtime_error(failed.toStdString());
    Schema::seed();
    LoginUserName = QStringLiteral("bench");
    LoginFullName = QStringLiteral("Bench");
    ListPageSize = 10;
}

int addSuite(const char* name, Suite suite)
{
    suites() << std::make_pair(name, suite);
    return int(suites().size());
}

int runAll(const QStringList& only)
{
    for (const auto& [name, suite] : suites()) {
        if (!only.isEmpty() && !only.contains(QString::fromLatin1(name)))
            continue;
        std::printf("\n[%s]\n", name);
        try {
            suite();
        } catch (const DbError& e) {
            std::printf("  database error: %s\n", qPrintable(e.text()));
            return 1;
        }
        Db::close();
    }
    std::printf("\n%-60s %12s %12s %12s\n", "case", "median ms", "cpu ms", "target ms");
    std::printf("%s\n", QString(99, QLatin1Char('-')).toLatin1().constData());
    for (const Row& r : rows()) {
        const QString target = r.target > 0 ? QString::number(r.target, 'f', 1) : QString("-");
        const QString cpu = r.cpu >= 0 ? QString::number(r.cpu, 'f', 3) : QString("-");
        const char* mark = r.target > 0 && r.median > r.target ? "  OVER" : "";
        std::printf("%-60s %12.3f %12s %12s%s\n", qPrintable(r.name), r.median, qPrintable(cpu),
                    qPrintable(target), mark);
    }
    return 0;
}

} // namespace Bench
