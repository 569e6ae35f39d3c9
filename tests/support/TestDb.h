#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A fresh database made from the schema script in a temporary folder, opened
// as the program's one connection, with a logged-in user.
//
// The engine is SQLite unless asked otherwise: by the Engine argument, or for
// a whole suite by TAVORU_TEST_ENGINE=postgresql in the environment. A
// PostgreSQL test database is the server's database named by TAVORU_PG and
// TAVORU_PG_DB (the test server script exports them) with its public schema
// dropped and made afresh from db/postgresql/schema.sql.
class TestDb {
public:
    enum class Engine { SQLite, PostgreSQL };

    explicit TestDb(bool open = true);
    explicit TestDb(Engine engine, bool open = true);
    ~TestDb();

    QString dir() const { return m_dir.path(); }
    QString dbPath() const;

    // cfg.cae in dir() naming the test database and a page size.
    void writeConfig(const QStringList& lines) const;
    void writeStandardConfig(int listPage = 10) const;

    // Runs each statement of an SQL script file on a connection.
    static void runScript(QSqlDatabase db, const QString& scriptPath);
    // Creates a database file from the schema script.
    static void createDatabase(const QString& path);
    static QString schemaPath();
    static QString postgresSchemaPath();

    // The engine of TestDb(bool): TAVORU_TEST_ENGINE, SQLite by default.
    static Engine defaultEngine();
    // Whether a PostgreSQL server was handed to the tests; else why not.
    static bool postgresAvailable();
    static QString postgresSkipReason();
    // The connection text of the program's connection to the test database.
    QString connectionText() const;
    Engine engine() const { return m_engine; }
    // Drops and recreates the schema of the PostgreSQL test database from a script.
    static void recreatePostgresSchema(const QString& scriptPath = postgresSchemaPath());

private:
    Engine m_engine = Engine::SQLite;
    QTemporaryDir m_dir;
};

// In a case that exercises SQLite itself (its triggers, query plans or file),
// skips the case when the suite runs against PostgreSQL.
#define TAVORU_SQLITE_ONLY()                                                                 \
    do {                                                                                     \
        if (TestDb::defaultEngine() != TestDb::Engine::SQLite)                               \
            QSKIP("exercises SQLite itself");                                                \
    } while (false)
