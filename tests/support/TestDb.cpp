#include "TestDb.h"

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

TestDb::TestDb(bool open)
{
    createDatabase(dbPath());
    writeStandardConfig();
    if (open) {
        if (!Connection::open(QStringLiteral("Driver=QSQLITE;Database=") + dbPath(), dir()))
            throw std::runtime_error("test database does not open");
        if (!Connection::prepare().isEmpty())
            throw std::runtime_error("database cannot be written");
        Schema::seed();
        LoginUserName = QStringLiteral("tester");
        LoginFullName = QStringLiteral("Tester");
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
    writeConfig({QStringLiteral("provider=:Driver=QSQLITE;Database="),
                 QStringLiteral("filedata=:tavoru.db"),
                 QStringLiteral("listpage=:%1").arg(listPage)});
}

QString TestDb::schemaPath()
{
    return QStringLiteral(TAVORU_SCHEMA_SQLITE);
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
