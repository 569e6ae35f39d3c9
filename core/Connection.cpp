#include "Connection.h"

#include "core/Config.h"
#include "core/Db.h"
#include "core/Globals.h"
#include "core/Schema.h"
#include "core/SchemaUpgrade.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
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
    return true;
}

QString prepare()
{
    if (!Db::isSqlite())
        return {};
    QSqlDatabase db = Db::connection();
    // A file or folder the user may not write to: SQLite would open it and
    // refuse only the first sale.
    const QString path = QUrl(db.databaseName().section(QLatin1Char('?'), 0, 0)).toLocalFile();
    if (!path.isEmpty()) {
        const QFileInfo file(path);
        if (!file.isWritable())
            return QStringLiteral("File database hanya dapat dibaca (read-only): %1").arg(path);
        if (!QFileInfo(file.absolutePath()).isWritable())
            return QStringLiteral("Folder database hanya dapat dibaca (read-only): %1")
                .arg(file.absolutePath());
    }
    // Durable commits that survive a power cut, and readers never blocked by a
    // writer. A database already in WAL mode is not written to here.
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !q.next())
        return q.lastError().text();
    if (q.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0)
        return QStringLiteral("Mode jurnal WAL tidak dapat dipasang (mode sekarang: %1).")
            .arg(q.value(0).toString());
    q.finish();
    if (!q.exec(QStringLiteral("PRAGMA synchronous=FULL")))
        return q.lastError().text();
    if (!q.exec(QStringLiteral("PRAGMA synchronous")) || !q.next() || q.value(0).toInt() != 2)
        return QStringLiteral("Penulisan aman (synchronous=FULL) tidak dapat dipasang.");
    q.finish();
    // A day's list joins customers scattered over the file: 64 MB of page
    // cache keeps the busiest day's pages in memory.
    if (!q.exec(QStringLiteral("PRAGMA cache_size=-65536")))
        return q.lastError().text();
    return {};
}

} // namespace Connection

StartupResult DoConnect(const QString& appDir)
{
    const QString databaseError = QStringLiteral("DATABASE ERROR");
    const auto fail = [](const QString& title, const QString& text) {
        Db::close();
        return StartupResult{false, title, text};
    };
    const QString configPath = QDir(appDir).filePath(QStringLiteral("cfg.cae"));
    const Config::Result config = Config::readFile(configPath);
    if (!config.ok)
        return fail(QStringLiteral("CONFIGURATION ERROR"), config.error);
    ListPageSize = config.values.listPage;

    if (!Connection::open(config.values.provider + config.values.filedata, appDir))
        return fail(databaseError, QStringLiteral("Can'nt find filename ") + appDir +
                                       QStringLiteral("/") + config.values.filedata +
                                       QStringLiteral("."));

    // The check only reads: a file that fails it is left exactly as it was.
    bool tablesOk = false;
    try {
        tablesOk = Schema::verify(Db::connection());
    } catch (const DbError&) {
        // A file that is not a database opens fine and fails at the first read.
        tablesOk = false;
    }
    if (!tablesOk)
        return fail(databaseError,
                    QStringLiteral("Database fail. Please contact your system administator."));

    // A database of a newer program is refused before anything is written to it.
    int version = 0;
    try {
        version = SchemaUpgrade::version();
    } catch (const DbError& e) {
        return fail(databaseError,
                    QStringLiteral("Versi skema database tidak dapat dibaca.\n\n%1").arg(e.text()));
    }
    if (const QString newer = SchemaUpgrade::refusal(version); !newer.isEmpty())
        return fail(databaseError, newer);

    const QString notWritable = Connection::prepare();
    if (!notWritable.isEmpty())
        return fail(databaseError,
                    QStringLiteral("Database tidak dapat dibuka untuk menulis.\n\n%1")
                        .arg(notWritable));

    if (const QString failed = SchemaUpgrade::run(version); !failed.isEmpty())
        return fail(databaseError, failed);

    try {
        Schema::seed();
    } catch (const DbError& e) {
        return fail(databaseError,
                    QStringLiteral("Data awal (tipe botol %1 dan user pertama) tidak dapat "
                                   "ditulis ke database.\n\n%2")
                        .arg(RefillBottleType, e.text()));
    }
    return {true, {}, {}};
}
