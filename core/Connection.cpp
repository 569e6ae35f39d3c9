#include "Connection.h"

#include "core/Config.h"
#include "core/Db.h"
#include "core/Globals.h"
#include "core/Schema.h"
#include "ui/Prompt.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>
#include <QUrl>

ConnectionText ConnectionText::parse(const QString& text)
{
    ConnectionText c;
    const QStringList parts = text.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        const qsizetype eq = part.indexOf(QLatin1Char('='));
        if (eq < 0) {
            c.database = part;
            continue;
        }
        const QString key = part.left(eq).trimmed().toLower();
        const QString value = part.mid(eq + 1);
        if (key == QLatin1String("driver"))
            c.driver = value.trimmed();
        else if (key == QLatin1String("database") || key == QLatin1String("data source"))
            c.database = value;
        else if (key == QLatin1String("host"))
            c.host = value.trimmed();
        else if (key == QLatin1String("port"))
            c.port = value.trimmed().toInt();
        else if (key == QLatin1String("user") || key == QLatin1String("user id"))
            c.user = value;
        else if (key == QLatin1String("password"))
            c.password = value;
    }
    return c;
}

namespace Connection {

QString resolveFile(const QString& database, const QString& appDir)
{
    if (database.isEmpty())
        return {};
    return QFileInfo(QDir(appDir), database).absoluteFilePath();
}

bool open(const QString& connectionText, const QString& appDir)
{
    Db::close();
    const ConnectionText c = ConnectionText::parse(connectionText);
    if (!QSqlDatabase::isDriverAvailable(c.driver))
        return false;

    QSqlDatabase db = QSqlDatabase::addDatabase(c.driver, Db::ConnectionName);
    if (c.driver == QLatin1String("QSQLITE")) {
        const QString path = resolveFile(c.database, appDir);
        if (path.isEmpty() || !QFileInfo(path).isFile()) {
            db = {};
            Db::close();
            return false;
        }
        // mode=rw: a file that vanished in between is not created afresh.
        db.setDatabaseName(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) +
                           QStringLiteral("?mode=rw"));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
    } else {
        db.setDatabaseName(c.database);
        db.setHostName(c.host);
        if (c.port > 0)
            db.setPort(c.port);
        db.setUserName(c.user);
        db.setPassword(c.password);
    }
    if (!db.open()) {
        db = {};
        Db::close();
        return false;
    }
    if (c.driver == QLatin1String("QSQLITE")) {
        // Durable commits that survive a power cut, and readers never blocked by a writer.
        QSqlQuery q(db);
        q.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        q.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    }
    return true;
}

} // namespace Connection

bool DoConnect(const QString& appDir)
{
    const QString configPath = QDir(appDir).filePath(QStringLiteral("cfg.cae"));
    const Config::Result config = Config::readFile(configPath);
    if (!config.ok) {
        Prompt::message(config.error, QStringLiteral("CONFIGURATION ERROR"), Prompt::Icon::Critical);
        return false;
    }
    ListPageSize = config.values.listPage;

    if (!Connection::open(config.values.provider + config.values.filedata, appDir)) {
        Prompt::message(QStringLiteral("Can'nt find filename ") + appDir + QStringLiteral("/") +
                            config.values.filedata + QStringLiteral("."),
                        QStringLiteral("DATABASE ERROR"), Prompt::Icon::Critical);
        return false;
    }

    bool tablesOk = false;
    try {
        tablesOk = Schema::verify(Db::connection());
    } catch (const DbError&) {
        // A file that is not a database opens fine and fails at the first read.
        tablesOk = false;
    }
    if (!tablesOk) {
        Db::close();
        Prompt::message(QStringLiteral("Database fail. Please contact your system administator."),
                        QStringLiteral("DATABASE ERROR"), Prompt::Icon::Critical);
        return false;
    }

    try {
        Schema::seed();
    } catch (const DbError& e) {
        Db::close();
        Prompt::message(QStringLiteral("Data awal (tipe botol %1 dan user pertama) tidak dapat "
                                       "ditulis ke database.\n\n%2")
                            .arg(RefillBottleType, e.text()),
                        QStringLiteral("DATABASE ERROR"), Prompt::Icon::Critical);
        return false;
    }
    return true;
}
