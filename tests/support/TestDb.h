#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A fresh database made from the schema script in a temporary folder, opened
// as the program's one connection, with a logged-in user.
class TestDb {
public:
    explicit TestDb(bool open = true);
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

private:
    QTemporaryDir m_dir;
};
