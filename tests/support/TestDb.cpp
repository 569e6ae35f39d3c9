#include "TestDb.h"

#include "core/Rights.h"

#include "core/Connection.h"
#include "core/Db.h"
#include "core/Globals.h"
#include "core/Schema.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>

#include <stdexcept>

TestDb::TestDb(bool open) : TestDb(defaultEngine(), open)
{
}

TestDb::TestDb(Engine engine, bool open) : m_engine(engine)
{
    if (m_engine == Engine::PostgreSQL) {
        if (!postgresAvailable())
            throw std::runtime_error("no PostgreSQL test server");
        Db::close();
        recreatePostgresSchema();
    } else {
        createDatabase(dbPath());
    }
    writeStandardConfig();
    if (open) {
        if (!Connection::open(connectionText(), dir()))
            throw std::runtime_error("test database does not open");
        if (!Connection::prepare().isEmpty())
            throw std::runtime_error("database cannot be written");
        Schema::seed();
        LoginUserName = QStringLiteral("tester");
        LoginFullName = QStringLiteral("Tester");
        Rights::setCurrentRole(Rights::Role::Owner);
    }
    ListPageSize = 10;
}

TestDb::~TestDb()
{
    Db::close();
}

QString TestDb::dbPath() const
{
    return m_dir.filePath(QStringLiteral("tavoru.db"));
}

void TestDb::writeConfig(const QStringList& lines) const
{
    QFile f(m_dir.filePath(QStringLiteral("cfg.cae")));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write cfg.cae");
    QTextStream out(&f);
    for (const QString& line : lines)
        out << line << "\n";
}

void TestDb::writeStandardConfig(int listPage) const
{
    if (m_engine == Engine::PostgreSQL) {
        writeConfig({QStringLiteral("provider=:") + qEnvironmentVariable("TAVORU_PG"),
                     QStringLiteral("filedata=:") + qEnvironmentVariable("TAVORU_PG_DB"),
                     QStringLiteral("listpage=:%1").arg(listPage)});
        return;
    }
    writeConfig({QStringLiteral("provider=:Driver=QSQLITE;Database="),
                 QStringLiteral("filedata=:tavoru.db"),
                 QStringLiteral("listpage=:%1").arg(listPage)});
}

QString TestDb::schemaPath()
{
    return QStringLiteral(TAVORU_SCHEMA_SQLITE);
}

QString TestDb::postgresSchemaPath()
{
    return QStringLiteral(TAVORU_SCHEMA_POSTGRESQL);
}

TestDb::Engine TestDb::defaultEngine()
{
    return qEnvironmentVariable("TAVORU_TEST_ENGINE").compare(QLatin1String("postgresql"),
                                                              Qt::CaseInsensitive) == 0
               ? Engine::PostgreSQL
               : Engine::SQLite;
}

bool TestDb::postgresAvailable()
{
    return postgresSkipReason().isEmpty();
}

QString TestDb::postgresSkipReason()
{
    if (qEnvironmentVariable("TAVORU_PG").isEmpty() || qEnvironmentVariable("TAVORU_PG_DB").isEmpty())
        return QStringLiteral("no PostgreSQL test server (TAVORU_PG unset: server binaries absent "
                              "or the tests were not started by test.sh)");
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
        return QStringLiteral("Qt's PostgreSQL driver QPSQL is not installed");
    return {};
}

QString TestDb::connectionText() const
{
    if (m_engine == Engine::PostgreSQL)
        return qEnvironmentVariable("TAVORU_PG") + qEnvironmentVariable("TAVORU_PG_DB");
    return QStringLiteral("Driver=QSQLITE;Database=") + dbPath();
}

void TestDb::recreatePostgresSchema(const QString& scriptPath)
{
    const QString name = QStringLiteral("create-postgresql");
    {
        const ConnectionText c = ConnectionText::parse(qEnvironmentVariable("TAVORU_PG") +
                                                       qEnvironmentVariable("TAVORU_PG_DB"));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(c.host);
        if (c.port > 0)
            db.setPort(c.port);
        db.setUserName(c.user);
        db.setPassword(c.password);
        db.setDatabaseName(c.database);
        if (!db.open())
            throw std::runtime_error("cannot reach the PostgreSQL test server: " +
                                     db.lastError().text().toStdString());
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("SET client_min_messages = warning")) ||
            !q.exec(QStringLiteral("DROP SCHEMA IF EXISTS public CASCADE")) ||
            !q.exec(QStringLiteral("CREATE SCHEMA public")))
            throw std::runtime_error("cannot recreate the test schema: " +
                                     q.lastError().text().toStdString());
        runScript(db, scriptPath);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

void TestDb::runScript(QSqlDatabase db, const QString& scriptPath)
{
    QFile f(scriptPath);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        throw std::runtime_error("cannot read " + scriptPath.toStdString());
    QString text = QString::fromUtf8(f.readAll());
    text.remove(QRegularExpression(QStringLiteral("--[^\n]*")));
    const QStringList statements =
        text.split(QRegularExpression(QStringLiteral(";\\s*(\n|$)")), Qt::SkipEmptyParts);
    for (const QString& st : statements) {
        if (st.trimmed().isEmpty())
            continue;
        QSqlQuery q(db);
        if (!q.exec(st))
            throw std::runtime_error(("schema statement failed: " + q.lastError().text())
                                         .toStdString());
    }
}

void TestDb::createDatabase(const QString& path)
{
    const QString name = QStringLiteral("create-") + path;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open())
            throw std::runtime_error("cannot create test database");
        runScript(db, schemaPath());
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}
