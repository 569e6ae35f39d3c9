// The sales window's statements on PostgreSQL over the local socket, with the
// large generated database loaded, beside the same cases on SQLite: keystroke
// lookups, a day's list and the durably committed writes.
//
// The server is the one named by TAVORU_PG, or a throw-away one started (with
// durable commits) by scripts/pg-test-server.sh for the run. The large SQLite
// database is copied into a database of its own, tavoru_bench.
#include "Bench.h"

#include "TestDb.h"

#include "core/Connection.h"
#include "core/Db.h"
#include "core/Globals.h"
#include "core/SalesSummary.h"
#include "core/Schema.h"
#include "sales/SalesStore.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

#include <cstdio>
#include <stdexcept>

namespace {

const QString BenchDatabase = QStringLiteral("tavoru_bench");

QString serverScript()
{
    return QStringLiteral(TAVORU_SOURCE_DIR "/scripts/pg-test-server.sh");
}

// Starts a server for the run unless one is named; returns its folder to stop,
// or an empty text.
QString ensureServer()
{
    if (!qEnvironmentVariable("TAVORU_PG").isEmpty())
        return {};
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TAVORU_PG_DURABLE"), QStringLiteral("1"));
    p.setProcessEnvironment(env);
    p.start(serverScript(), {QStringLiteral("start")});
    if (!p.waitForFinished(120000) || p.exitCode() != 0)
        throw std::runtime_error("the PostgreSQL server did not start");
    static const QRegularExpression line(QStringLiteral("^export (\\w+)='(.*)'$"));
    for (const QString& l : QString::fromUtf8(p.readAllStandardOutput()).split('\n')) {
        const auto m = line.match(l);
        if (m.hasMatch())
            qputenv(m.captured(1).toLatin1(), m.captured(2).toUtf8());
    }
    if (qEnvironmentVariable("TAVORU_PG").isEmpty())
        throw std::runtime_error("no PostgreSQL server binaries: the PostgreSQL cases are left out");
    return qEnvironmentVariable("TAVORU_PG_DIR");
}

void run(QSqlDatabase db, const QString& sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        throw std::runtime_error((sql + ": " + q.lastError().text()).toStdString());
}

// psql's connection options for the server named by TAVORU_PG.
QStringList psqlOptions(const ConnectionText& c)
{
    QStringList o{QStringLiteral("-h"), c.host, QStringLiteral("-U"), c.user, QStringLiteral("-d"),
                  BenchDatabase, QStringLiteral("-q"), QStringLiteral("-v"),
                  QStringLiteral("ON_ERROR_STOP=1")};
    if (c.port > 0)
        o << QStringLiteral("-p") << QString::number(c.port);
    return o;
}

// Copies the six tables of the SQLite file into a fresh tavoru_bench database.
void load(const QString& sqliteFile)
{
    const ConnectionText c = ConnectionText::parse(qEnvironmentVariable("TAVORU_PG"));
    const QString admin = QStringLiteral("bench-pg-admin");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), admin);
        db.setHostName(c.host);
        if (c.port > 0)
            db.setPort(c.port);
        db.setUserName(c.user);
        db.setPassword(c.password);
        db.setDatabaseName(QStringLiteral("postgres"));
        if (!db.open())
            throw std::runtime_error("cannot reach the server: " + db.lastError().text().toStdString());
        run(db, QStringLiteral("DROP DATABASE IF EXISTS ") + BenchDatabase);
        run(db, QStringLiteral("CREATE DATABASE ") + BenchDatabase);
        db.close();
    }
    QSqlDatabase::removeDatabase(admin);

    QProcess schema;
    schema.start(QStringLiteral("psql"), psqlOptions(c) << QStringLiteral("-f")
                                                         << TestDb::postgresSchemaPath());
    if (!schema.waitForFinished(600000) || schema.exitCode() != 0)
        throw std::runtime_error("schema: " + schema.readAllStandardError().toStdString());
    for (const Schema::Table& t : Schema::expectedTables()) {
        QStringList columns;
        for (const Schema::Column& col : t.columns)
            columns << col.name;
        QProcess dump, copy;
        dump.setStandardOutputProcess(&copy);
        dump.start(QStringLiteral("sqlite3"),
                   {QStringLiteral("-csv"), sqliteFile,
                    QStringLiteral("SELECT %1 FROM %2").arg(columns.join(','), t.name)});
        // The period totals' triggers stay out while the rows go in (a row
        // at a time they take longer than the bench may wait); the totals
        // are made afterwards from the rows in one go.
        copy.start(QStringLiteral("psql"),
                   psqlOptions(c) << QStringLiteral("-c")
                                  << QStringLiteral("SET session_replication_role = replica")
                                  << QStringLiteral("-c")
                                  << QStringLiteral("\\copy %1 (%2) FROM STDIN WITH (FORMAT csv)")
                                         .arg(t.name, columns.join(',')));
        if (!dump.waitForFinished(600000) || dump.exitCode() != 0 ||
            !copy.waitForFinished(600000) || copy.exitCode() != 0)
            throw std::runtime_error("copy of " + t.name.toStdString() + ": " +
                                     copy.readAllStandardError().toStdString());
        QProcess seq;
        seq.start(QStringLiteral("psql"),
                  psqlOptions(c) << QStringLiteral("-c")
                                 << QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', "
                                                   "'%2'), (SELECT MAX(%2) FROM %1))")
                                        .arg(t.name, t.columns.first().name));
        seq.waitForFinished(60000);
    }
    QProcess analyze;
    analyze.start(QStringLiteral("psql"), psqlOptions(c) << QStringLiteral("-c")
                                                          << QStringLiteral("VACUUM ANALYZE"));
    analyze.waitForFinished(600000);
}

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

// The sales window's cases on the open connection, named after the engine.
void salesCases(const QString& engine)
{
    const auto name = [&](const char* what) { return engine + QStringLiteral(": ") + what; };
    int n = 0;
    Bench::measure(
        name("customer number lookup (one keystroke)"), 200,
        [&] { SalesStore::findCustomer(customerNumber(n++)); }, 1);
    Bench::measure(
        name("variant code lookup (one keystroke)"), 200,
        [&] { SalesStore::findVariant(variantCode(n++)); }, 1);
    Bench::measure(
        name("bottle type lookup"), 200, [] { SalesStore::findBotol(QStringLiteral("BTL-07")); },
        1);
    const QDate today = QDate::currentDate();
    int daysBack = 1;
    Bench::measure(
        name("day's first page (a past day)"), 50,
        [&] { SalesStore::dayListPage(today.addDays(-daysBack++), 0, 64); }, 16);

    // Every sale made here is deleted again, so the stock stays as loaded.
    QList<qint64> made;
    Bench::measure(
        name("save a sale with its stock moves (committed)"), 50,
        [&] { made << SalesStore::addSale(benchSale()); }, 20);
    const qint64 id = made.last();
    double ml = 1;
    Bench::measure(
        name("correct a sale with its stock moves (committed)"), 50,
        [&] {
            SalesStore::Amounts a = benchSale().amounts;
            a.mililiter = ml++;
            a.idVariant = 17 + int(ml) % 2;
            SalesStore::correctSale(id, a);
        },
        20);
    Bench::measure(
        name("delete a sale giving back its stock (committed)"), 50,
        [&] { SalesStore::deleteSale(made.takeLast()); }, 20,
        [&] {
            if (made.isEmpty())
                made << SalesStore::addSale(benchSale());
        });
    for (qint64 left : made)
        SalesStore::deleteSale(left);
}

void pg()
{
    const QString big = Bench::bigDatabase();
    Bench::open(big);
    salesCases(QStringLiteral("SQLite"));
    Db::close();

    QString ownServer;
    try {
        ownServer = ensureServer();
        std::printf("Loading the large database into PostgreSQL...\n");
        std::fflush(stdout);
        load(big);
        if (!Connection::open(qEnvironmentVariable("TAVORU_PG") + BenchDatabase, QDir::tempPath()))
            throw std::runtime_error("cannot open " + BenchDatabase.toStdString());
        if (!Schema::verify(Db::connection()))
            throw std::runtime_error("the loaded database fails the table check");
        {
            Transaction t;
            SalesSummary::rebuild();
            t.commit();
        }
        Schema::seed();
        LoginUserName = QStringLiteral("bench");
        salesCases(QStringLiteral("PostgreSQL"));
        Db::close();
    } catch (const std::exception& e) {
        std::printf("  PostgreSQL left out: %s\n", e.what());
        Db::close();
    }
    if (!ownServer.isEmpty())
        QProcess::execute(serverScript(), {QStringLiteral("stop"), ownServer});
}

} // namespace

BENCH_SUITE(pg);
