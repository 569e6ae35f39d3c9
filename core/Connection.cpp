#include "Connection.h"

#include "core/Config.h"
#include "core/Db.h"
#include "core/Globals.h"
#include "core/Schema.h"
#include "core/SchemaUpgrade.h"

#include "core/RunLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QStorageInfo>
#include <QUrl>

#include <memory>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

void assign(ConnectionText& c, const QString& key, const QString& value)
{
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

bool isBlank(QChar ch)
{
    return ch == QLatin1Char(' ') || ch == QLatin1Char('\t');
}

} // namespace

ConnectionText ConnectionText::parse(const QString& text)
{
    ConnectionText c;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        qsizetype end = i;
        while (end < n && text.at(end) != QLatin1Char('=') && text.at(end) != QLatin1Char(';'))
            ++end;
        if (end == n || text.at(end) == QLatin1Char(';')) {
            // A part without "=" names the database; empty parts are skipped.
            if (end > i)
                c.database = text.mid(i, end - i);
            i = end + 1;
            continue;
        }
        const QString name = text.mid(i, end - i).trimmed();
        qsizetype k = end + 1;
        while (k < n && isBlank(text.at(k)))
            ++k;
        if (k < n && (text.at(k) == QLatin1Char('"') || text.at(k) == QLatin1Char('\''))) {
            const QChar quote = text.at(k++);
            QString value;
            bool closed = false;
            while (k < n) {
                const QChar ch = text.at(k++);
                if (ch != quote) {
                    value += ch;
                } else if (k < n && text.at(k) == quote) {
                    value += quote; // a doubled quote stands for itself
                    ++k;
                } else {
                    closed = true;
                    break;
                }
            }
            if (!closed) {
                c.error = QStringLiteral("nilai \"%1\" dibuka dengan tanda kutip %2 yang tidak "
                                         "ditutup")
                              .arg(name, quote);
                return c;
            }
            while (k < n && isBlank(text.at(k)))
                ++k;
            if (k < n && text.at(k) != QLatin1Char(';')) {
                c.error = QStringLiteral("nilai \"%1\" berlanjut setelah tanda kutip penutupnya "
                                         "(tanda kutip %2 di dalam nilai ditulis dua kali: %2%2)")
                              .arg(name, quote);
                return c;
            }
            assign(c, name.toLower(), value);
            i = k + 1;
        } else {
            qsizetype semi = text.indexOf(QLatin1Char(';'), end + 1);
            if (semi < 0)
                semi = n;
            assign(c, name.toLower(), text.mid(end + 1, semi - end - 1));
            i = semi + 1;
        }
    }
    return c;
}

namespace {

QString& lastOpenProblem()
{
    static QString text;
    return text;
}

// Keeps the program's share of the lock beside the database for as long as
// the connection's driver lives: Db::close() removes the connection, the
// driver goes and takes this child with it.
class LockKeeper : public QObject {
public:
    LockKeeper(std::unique_ptr<RunLock> lock, QObject* driver)
        : QObject(driver), m_lock(std::move(lock))
    {
    }

private:
    std::unique_ptr<RunLock> m_lock;
};

QString userName()
{
#ifdef Q_OS_UNIX
    if (const passwd* pw = ::getpwuid(::geteuid()))
        return QString::fromLocal8Bit(pw->pw_name);
#endif
    const QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? QStringLiteral("NAMA") : user;
}

// The group that owns the database (the file, else the nearest folder above
// it that can be looked at): the one a user must join to work on it.
QString owningGroup(const QString& path)
{
#ifdef Q_OS_UNIX
    QString p = path;
    for (int i = 0; i < 8 && !p.isEmpty(); ++i) {
        struct stat st;
        if (::stat(QFile::encodeName(p).constData(), &st) == 0) {
            if (const group* gr = ::getgrgid(st.st_gid))
                return QString::fromLocal8Bit(gr->gr_name);
            break;
        }
        const QString up = QFileInfo(p).absolutePath();
        if (up == p)
            break;
        p = up;
    }
#else
    Q_UNUSED(path);
#endif
    return QStringLiteral("protavoruh");
}

// What a user without the right to the database reads, and how it is mended.
QString notAllowed(const QString& what, const QString& path)
{
    const QString user = userName();
    const QString grp = owningGroup(path);
    return QStringLiteral("User \"%1\" tidak diizinkan %2 %3.\n\n"
                          "Hanya anggota grup \"%4\" yang boleh memakai database program ini. Minta "
                          "administrator komputer ini memasukkan user ini ke grup itu:\n\n"
                          "    sudo adduser %1 %4\n\n"
                          "lalu keluar (logout) dan login kembali sebelum menjalankan program lagi.")
        .arg(user, what, path, grp);
}

// Whether the file can be reached and read; a permission problem's message,
// or an empty text (also when the file does not exist: that is told apart).
QString readProblem(const QString& path)
{
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (::stat(name.constData(), &st) != 0)
        return errno == EACCES ? notAllowed(QStringLiteral("membaca database"), path) : QString();
    if (::access(name.constData(), R_OK) != 0 && errno == EACCES)
        return notAllowed(QStringLiteral("membaca database"), path);
#else
    Q_UNUSED(path);
#endif
    return {};
}

} // namespace

namespace Connection {

QString resolveFile(const QString& database, const QString& appDir)
{
    if (database.isEmpty())
        return {};
    return QFileInfo(QDir(appDir), database).absoluteFilePath();
}

QString openProblem()
{
    return lastOpenProblem();
}

bool open(const QString& connectionText, const QString& appDir)
{
    Db::close();
    lastOpenProblem().clear();
    const ConnectionText c = ConnectionText::parse(connectionText);
    if (!c.error.isEmpty()) {
        lastOpenProblem() = QStringLiteral("Teks koneksi tidak dapat dibaca: %1.").arg(c.error);
        return false;
    }
    if (!QSqlDatabase::isDriverAvailable(c.driver)) {
        lastOpenProblem() =
            QStringLiteral("Driver database \"%1\" tidak terpasang di komputer ini%2.")
                .arg(c.driver, c.driver == QLatin1String("QPSQL")
                                   ? QStringLiteral(" (paket libqt6sql6-psql)")
                                   : QString());
        return false;
    }

    std::unique_ptr<RunLock> lock;
    QSqlDatabase db = QSqlDatabase::addDatabase(c.driver, Db::ConnectionName);
    const auto failed = [&db](const QString& problem) {
        lastOpenProblem() = problem;
        db = {};
        Db::close();
        return false;
    };
    if (c.driver == QLatin1String("QSQLITE")) {
        const QString path = resolveFile(c.database, appDir);
        if (path.isEmpty())
            return failed({});
        if (const QString denied = readProblem(path); !denied.isEmpty())
            return failed(denied);
        if (!QFileInfo(path).isFile())
            return failed({});
        // The lock before the file: a restore swapping it is never half seen.
        lock = std::make_unique<RunLock>();
        switch (lock->take(path, RunLock::Kind::Shared)) {
        case RunLock::Result::Taken: break;
        case RunLock::Result::Busy:
            return failed(QStringLiteral("Database %1 sedang dipulihkan dari salinan backup "
                                         "(restore). Tunggu sampai restore selesai, lalu "
                                         "jalankan program lagi.")
                              .arg(path));
        case RunLock::Result::Failed:
            return failed(lock->errorNumber() == EACCES || lock->errorNumber() == EPERM
                              ? notAllowed(QStringLiteral("menulis ke folder database"),
                                           QFileInfo(path).absolutePath()) +
                                    QStringLiteral("\n\n") + lock->problem()
                              : lock->problem());
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
        const QString text = db.lastError().text().trimmed();
        return failed(c.driver == QLatin1String("QSQLITE")
                          ? failureCause(text, resolveFile(c.database, appDir))
                          : QStringLiteral("Server database tidak dapat dihubungi (host \"%1\", "
                                           "database \"%2\"): %3")
                                .arg(c.host, c.database, text));
    }
    if (lock)
        new LockKeeper(std::move(lock), db.driver());
    return true;
}

QString databaseFile()
{
    if (!Db::isOpen() || !Db::isSqlite())
        return {};
    // The connection names the file as a URI with its options after "?".
    const QString name = Db::connection().databaseName().section(QLatin1Char('?'), 0, 0);
    return name.startsWith(QLatin1String("file:")) ? QUrl(name).toLocalFile() : name;
}

QString failureCause(const QString& driverText, const QString& dbPath)
{
    const QString t = driverText.toLower();
    const QString folder = QFileInfo(dbPath).absolutePath();
    if (t.contains(QLatin1String("locked")) || t.contains(QLatin1String("busy")))
        return QStringLiteral("Database %1 sedang dikunci oleh program lain (misalnya restore, "
                              "atau program lain yang sedang menulis ke file itu), sehingga "
                              "tidak dapat dibaca.\n\nTunggu sebentar lalu jalankan program "
                              "lagi. Bila terus terjadi, tutup program lain yang memakai "
                              "database ini.")
            .arg(dbPath);
    const QStorageInfo disk(folder);
    const bool diskFull = t.contains(QLatin1String("full")) ||
                          (t.contains(QLatin1String("i/o")) && disk.isValid() &&
                           disk.bytesAvailable() < 1024 * 1024);
    if (diskFull)
        return QStringLiteral("Disk tempat database %1 penuh, sehingga database tidak dapat "
                              "ditulis.\n\nKosongkan ruang di disk itu (hapus atau pindahkan file "
                              "yang tidak diperlukan), lalu jalankan program lagi.")
            .arg(dbPath);
    if (const QString denied = readProblem(dbPath); !denied.isEmpty())
        return denied;
    if (t.contains(QLatin1String("readonly")) || t.contains(QLatin1String("read-only")) ||
        t.contains(QLatin1String("permission")) || t.contains(QLatin1String("unable to open")))
        return notAllowed(QStringLiteral("menulis ke database"), dbPath);
    if (t.contains(QLatin1String("not a database")))
        return QStringLiteral("File %1 bukan file database (isinya rusak atau file lain yang "
                              "diberi nama itu).\n\nPulihkan database dari salinan backup "
                              "(proTavoruh --restore FILE).")
            .arg(dbPath);
    if (t.contains(QLatin1String("malformed")) || t.contains(QLatin1String("corrupt")))
        return QStringLiteral("Database %1 rusak.\n\nPulihkan database dari salinan backup "
                              "(proTavoruh --restore FILE).\n\nKeterangan: %2")
            .arg(dbPath, driverText);
    return QStringLiteral("Database %1 tidak dapat dibaca atau ditulis.\n\nKeterangan: %2")
        .arg(dbPath, driverText);
}

QString prepare()
{
    if (!Db::isSqlite())
        return {};
    QSqlDatabase db = Db::connection();
    // A file or folder the user may not write to: SQLite would open it and
    // refuse only the first sale.
    const QString path = databaseFile();
    if (!path.isEmpty()) {
        const QFileInfo file(path);
        if (!file.isWritable())
            return QStringLiteral("File database hanya dapat dibaca (read-only).\n\n") +
                   notAllowed(QStringLiteral("menulis ke database"), path);
        if (!QFileInfo(file.absolutePath()).isWritable())
            return QStringLiteral("Folder database hanya dapat dibaca (read-only).\n\n") +
                   notAllowed(QStringLiteral("menulis ke folder database"), file.absolutePath());
    }
    // Durable commits that survive a power cut, and readers never blocked by a
    // writer. A database already in WAL mode is not written to here.
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !q.next())
        return failureCause(q.lastError().text(), path);
    if (q.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0)
        return QStringLiteral("Mode jurnal WAL tidak dapat dipasang (mode sekarang: %1).")
            .arg(q.value(0).toString());
    q.finish();
    if (!q.exec(QStringLiteral("PRAGMA synchronous=FULL")))
        return failureCause(q.lastError().text(), path);
    if (!q.exec(QStringLiteral("PRAGMA synchronous")) || !q.next() || q.value(0).toInt() != 2)
        return QStringLiteral("Penulisan aman (synchronous=FULL) tidak dapat dipasang.");
    q.finish();
    // A day's list joins customers scattered over the file: 64 MB of page
    // cache keeps the busiest day's pages in memory.
    if (!q.exec(QStringLiteral("PRAGMA cache_size=-65536")))
        return failureCause(q.lastError().text(), path);
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
    if (!config.ok) {
        // The package's configuration is the group's only (it may hold a password).
        const QString real = QFileInfo(configPath).canonicalFilePath();
        if (!real.isEmpty() && !QFileInfo(real).isReadable())
            return fail(QStringLiteral("CONFIGURATION ERROR"),
                        notAllowed(QStringLiteral("membaca file konfigurasi"), real));
        return fail(QStringLiteral("CONFIGURATION ERROR"), config.error);
    }
    ListPageSize = config.values.listPage;

    const QString connectionText = config.values.provider + config.values.filedata;
    const ConnectionText parsed = ConnectionText::parse(connectionText);
    if (!parsed.error.isEmpty())
        return fail(QStringLiteral("CONFIGURATION ERROR"),
                    QStringLiteral("Teks koneksi di file konfigurasi %1 (baris \"provider\" dan "
                                   "\"filedata\") tidak dapat dibaca: %2.\nProgram tidak dapat "
                                   "dijalankan.")
                        .arg(configPath, parsed.error));
    const QString dbPath = parsed.driver == QLatin1String("QSQLITE")
                               ? Connection::resolveFile(parsed.database, appDir)
                               : parsed.database;

    if (!Connection::open(connectionText, appDir)) {
        const QString problem = Connection::openProblem();
        if (!problem.isEmpty())
            return fail(databaseError, problem);
        return fail(databaseError, QStringLiteral("Can'nt find filename ") + appDir +
                                       QStringLiteral("/") + config.values.filedata +
                                       QStringLiteral("."));
    }

    // The check only reads: a file that fails it is left exactly as it was.
    bool tablesOk = false;
    try {
        tablesOk = Schema::verify(Db::connection());
    } catch (const DbError& e) {
        // A file that is not a database opens fine and fails at the first read;
        // a locked or unreadable one too.
        return fail(databaseError, Connection::failureCause(e.text(), dbPath));
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
                        .arg(RefillBottleType, Connection::failureCause(e.text(), dbPath)));
    }
    return {true, {}, {}};
}
