#include "Bench.h"

#include "core/Connection.h"
#include "core/Db.h"
#include "core/Globals.h"
#include "core/Schema.h"
#include "generator.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QList>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace Bench {

namespace {
struct Row {
    QString name;
    double median;
    double target;
};
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
    rows() << Row{name, medianMs, target};
    std::printf("  %-58s %10.3f ms\n", qPrintable(name), medianMs);
    std::fflush(stdout);
}

void measure(const QString& name, int runs, const std::function<void()>& body, double target,
             const std::function<void()>& setup)
{
    if (setup)
        setup();
    body(); // warm-up: caches and prepared statements as in real use
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        if (setup)
            setup();
        QElapsedTimer t;
        t.start();
        body();
        times << t.nsecsElapsed() / 1e6;
    }
    std::sort(times.begin(), times.end());
    record(name, times.at(times.size() / 2), target);
}

QString bigDatabase()
{
    const QString path = QDir(dataDir()).filePath("big.db");
    if (!QFile::exists(path)) {
        std::printf("Generating the large database (once): %s\n", qPrintable(path));
        std::fflush(stdout);
        generateBigDatabase(path);
    }
    return path;
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
    std::printf("\n%-60s %12s %12s\n", "case", "median ms", "target ms");
    std::printf("%s\n", QString(86, QLatin1Char('-')).toLatin1().constData());
    for (const Row& r : rows()) {
        const QString target = r.target > 0 ? QString::number(r.target, 'f', 1) : QString("-");
        const char* mark = r.target > 0 && r.median > r.target ? "  OVER" : "";
        std::printf("%-60s %12.3f %12s%s\n", qPrintable(r.name), r.median, qPrintable(target), mark);
    }
    return 0;
}

} // namespace Bench
