#include "Backup.h"

#include "core/Password.h"

#include "core/Config.h"
#include "core/Connection.h"
#include "core/Db.h"
#include "core/RunLock.h"
#include "core/Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include <sqlite3.h>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace Backup {

namespace {

const QString CopyPrefix = QStringLiteral("tavoru-");
const QString CopySuffix = QStringLiteral(".db");
const QString NoCopyToday =
    QStringLiteral("\nSalinan database hari ini tidak dibuat. Program tetap dapat dipakai "
                   "seperti biasa.");

// SQLite result codes the driver reports as its native error code.
bool isBusy(const QSqlError& e)
{
    const QString code = e.nativeErrorCode();
    return code == QLatin1String("5") || code == QLatin1String("6") ||
           e.databaseText().contains(QLatin1String("locked"), Qt::CaseInsensitive);
}

QString errorText(const QSqlError& e)
{
    const QString text = e.databaseText().trimmed();
    return text.isEmpty() ? e.text().trimmed() : text;
}

// A connection of this thread's own, removed again when the object goes.
class OwnConnection {
public:
    enum Mode { ReadOnly, ReadWrite };

    OwnConnection(const QString& path, Mode mode, int busyTimeoutMs)
        : m_name(QStringLiteral("Backup-%1").arg(counter()++))
    {
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        // mode=ro / mode=rw: a missing file is never created.
        m_db.setDatabaseName(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) +
                             (mode == ReadOnly ? QStringLiteral("?mode=ro")
                                               : QStringLiteral("?mode=rw")));
        m_db.setConnectOptions(
            QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs));
        if (!m_db.open())
            m_error = errorText(m_db.lastError());
    }
    ~OwnConnection()
    {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
    OwnConnection(const OwnConnection&) = delete;
    OwnConnection& operator=(const OwnConnection&) = delete;

    bool isOpen() const { return m_db.isOpen(); }
    QString error() const { return m_error; }
    const QSqlDatabase& db() const { return m_db; }

private:
    static std::atomic<int>& counter()
    {
        static std::atomic<int> n{0};
        return n;
    }
    QString m_name;
    QSqlDatabase m_db;
    QString m_error;
};

// SQLite does not flush a VACUUM INTO file; a copy that counts must be on the disk.
void flushToDisk(const QString& path)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(path);
#endif
}

// Keeps the copy out of the till's way. A sale's commit waits for whatever
// the disk holds unwritten at that moment, so the copy's file goes to the disk
// bit by bit while SQLite writes it (left to the kernel, all of it would go at
// once when SQLite closes it), SQLite waits whenever it runs ahead of the
// disk, and both wait while the till has a write open. While the till is at
// work (a sale in the last second) the copy goes to the disk in small steps
// with pauses between them, so a sale seldom meets one; on an idle till it
// runs at the disk's pace. Without a file (the check of a copy) only the
// waiting for the till remains.
class CopyPace {
public:
    explicit CopyPace(const QString& path = {})
    {
#ifdef Q_OS_UNIX
        if (path.isEmpty())
            return;
        m_thread = std::thread([this, name = QFile::encodeName(path)] {
#ifdef Q_OS_LINUX
            // The disk serves the copy's writes when the till leaves it idle
            // (the kernel still ages them in, so the copy cannot wait forever).
            constexpr int WhoThread = 1; // IOPRIO_WHO_PROCESS; 0 is the calling thread
            constexpr int IdleClass = 3 << 13;
            ::syscall(SYS_ioprio_set, WhoThread, 0, IdleClass);
#endif
            int fd = -1;
            int sinceFlush = 0;
            while (!m_stop.load()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                ++sinceFlush;
                if (fd < 0)
                    fd = ::open(name.constData(), O_RDONLY);
                struct stat st;
                if (fd < 0 || ::fstat(fd, &st) != 0)
                    continue;
                m_written = st.st_size;
                if (st.st_size <= m_flushed || tillWriting() ||
                    (tillAtWork() && sinceFlush < BusyStepMs))
                    continue;
                ::fdatasync(fd);
                m_flushed = st.st_size;
                sinceFlush = 0;
            }
            // Closed only after SQLite is done with the file: closing any
            // descriptor drops the process's locks on it.
            if (fd >= 0)
                ::close(fd);
        });
#else
        Q_UNUSED(path);
#endif
    }
    ~CopyPace()
    {
        // The connection outlives this object: SQLite must not call back into it.
        if (m_handle)
            sqlite3_progress_handler(m_handle, 0, nullptr, nullptr);
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    CopyPace(const CopyPace&) = delete;
    CopyPace& operator=(const CopyPace&) = delete;

    // SQLite calls back every thousand steps of its work on `db` (a fraction
    // of a millisecond), so the copy stops soon after a sale begins.
    void attach(const QSqlDatabase& db)
    {
        const QVariant handle = db.driver()->handle();
        if (qstrcmp(handle.typeName(), "sqlite3*") != 0)
            return;
        m_handle = *static_cast<sqlite3* const*>(handle.constData());
        if (m_handle)
            sqlite3_progress_handler(m_handle, 1000, &CopyPace::onProgress, this);
    }

private:
    // How much of the copy may wait for the disk: a few milliseconds of
    // writing on an idle till, well under one while it is at work, when a
    // step goes to the disk every BusyStepMs.
    static constexpr qint64 MaxAhead = 1 << 20;
    static constexpr qint64 BusyAhead = 256 << 10;
    static constexpr int BusyStepMs = 10;

    static bool tillAtWork() { return Db::wroteWithin(1000); }
    // A write open longer than a sale takes is some long work of the owner's
    // (a register deletion, a stock reset): the copy goes on beside it.
    static bool tillWriting()
    {
        const qint64 open = Db::writeOpenMs();
        return open >= 0 && open < 50;
    }

    static int onProgress(void* self)
    {
        const auto* pace = static_cast<const CopyPace*>(self);
        // A little at a time (at most a tenth of a second), so the copy is never held for good.
        for (int i = 0; i < 400; ++i) {
            if (!tillWriting() &&
                pace->m_written - pace->m_flushed <= (tillAtWork() ? BusyAhead : MaxAhead))
                break;
            std::this_thread::sleep_for(std::chrono::microseconds(250));
        }
        return 0;
    }

    std::atomic<bool> m_stop{false};
    std::atomic<qint64> m_written{0};
    std::atomic<qint64> m_flushed{0};
    sqlite3* m_handle = nullptr;
    std::thread m_thread;
};

// Writes a consistent snapshot of `source` to `target`, which must not exist.
// Returns the driver's text on failure, after removing whatever was written.
// VACUUM INTO only reads its source, but on a read-only connection SQLite
// copies row by row and takes many times as long.
QString vacuumInto(const QString& source, const QString& target, OwnConnection::Mode mode)
{
    QString problem;
    {
        OwnConnection c(source, mode, 5000);
        if (!c.isOpen()) {
            problem = c.error();
        } else {
            QSqlQuery q(c.db());
            if (!q.prepare(QStringLiteral("VACUUM INTO ?")))
                problem = errorText(q.lastError());
            else {
                q.addBindValue(target);
                CopyPace pace(target);
                pace.attach(c.db());
                if (!q.exec())
                    problem = errorText(q.lastError());
            }
            q.finish();
            // The copy's snapshot held back the write-ahead log, which grew
            // with every sale made meanwhile; it is written into the database
            // here, so that the next sale does not do it all in its commit.
            // PASSIVE: the till's writes are not held up.
            if (mode == OwnConnection::ReadWrite)
                q.exec(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)"));
        }
    }
    if (problem.isEmpty())
        flushToDisk(target);
    else
        QFile::remove(target);
    return problem;
}

// A copy leaves the till on a stick: an account whose plain-text password is
// not yet replaced by its hash (it has not logged in since) gets its hash in
// the copy. secure_delete overwrites the old text in the file's free space.
QString hashPlainPasswords(const QString& path)
{
    OwnConnection c(path, OwnConnection::ReadWrite, 5000);
    if (!c.isOpen())
        return c.error();
    QSqlQuery q(c.db());
    // A file without the accounts is no database of this program: the check says so.
    if (!q.exec(QStringLiteral("PRAGMA secure_delete = ON")) ||
        !q.exec(QStringLiteral("SELECT iduser, user_password, user_hash FROM tvr_user "
                               "WHERE user_password <> ''")))
        return {};
    QList<QPair<qint64, QString>> hashes;
    while (q.next()) {
        const QString hash = q.value(2).toString();
        try {
            hashes.append({q.value(0).toLongLong(),
                           hash.isEmpty() ? Password::hash(q.value(1).toString()) : hash});
        } catch (const std::exception& e) {
            return QString::fromLocal8Bit(e.what());
        }
    }
    q.finish();
    if (hashes.isEmpty())
        return {};
    QSqlDatabase db = c.db();
    if (!db.transaction())
        return errorText(db.lastError());
    QSqlQuery u(c.db());
    u.prepare(QStringLiteral("UPDATE tvr_user SET user_hash = ?, user_password = '' WHERE iduser = ?"));
    for (const auto& [id, hash] : hashes) {
        u.addBindValue(hash);
        u.addBindValue(id);
        if (!u.exec()) {
            const QString problem = errorText(u.lastError());
            db.rollback();
            return problem;
        }
    }
    if (!db.commit())
        return errorText(db.lastError());
    return {};
}

QString folderProblem(const QString& folder, bool createFolder)
{
    const QFileInfo info(folder);
    if (!info.exists() && createFolder && QDir().mkpath(folder))
        return {};
    if (!info.exists() && createFolder)
        return QStringLiteral("Folder backup %1 tidak dapat dibuat.").arg(folder);
    if (!info.exists() || !info.isDir())
        return QStringLiteral("Folder backup %1 tidak ditemukan.").arg(folder);
    if (!info.isWritable())
        return QStringLiteral("Folder backup %1 tidak dapat ditulis.").arg(folder);
    return {};
}

Outcome failed(const QString& text)
{
    Outcome o;
    o.status = Outcome::Failed;
    o.message = text + NoCopyToday;
    return o;
}

// The files SQLite may keep beside a database while it works on it.
const QStringList SideFiles = {QStringLiteral("-journal"), QStringLiteral("-wal"),
                               QStringLiteral("-shm")};

void removeWithSides(const QString& path)
{
    QFile::remove(path);
    for (const QString& side : SideFiles)
        QFile::remove(path + side);
}

bool processIsRunning(qint64 pid)
{
#ifdef Q_OS_UNIX
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
#else
    Q_UNUSED(pid);
    return true;
#endif
}

// Unfinished copies of this program ("tavoru-DATE.db.PID.part" and the
// journal files SQLite writes beside it) left by a program that ended
// mid-copy: those of an earlier day, of a process that is gone, or of this
// process. Today's copy of another running program stays. Other files are
// never touched.
void removeLeftovers(const QDir& dir, const QDate& today)
{
    static const QRegularExpression partPattern(QStringLiteral(
        "^tavoru-(\\d{4}-\\d{2}-\\d{2})\\.db\\.(\\d+)\\.part(-journal|-wal|-shm)?$"));
    const QString todayText = today.toString(QStringLiteral("yyyy-MM-dd"));
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const auto m = partPattern.match(name);
        if (!m.hasMatch())
            continue;
        const qint64 pid = m.captured(2).toLongLong();
        if (m.captured(1) != todayText || pid == QCoreApplication::applicationPid() ||
            !processIsRunning(pid))
            QFile::remove(dir.filePath(name));
    }
    // Journal files of a copy that is no longer there.
    static const QRegularExpression sidePattern(
        QStringLiteral("^(tavoru-\\d{4}-\\d{2}-\\d{2}\\.db)(-journal|-wal|-shm)$"));
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const auto m = sidePattern.match(name);
        if (m.hasMatch() && !QFileInfo::exists(dir.filePath(m.captured(1))))
            QFile::remove(dir.filePath(name));
    }
}

} // namespace

QString copyName(const QDate& day)
{
    return CopyPrefix + day.toString(QStringLiteral("yyyy-MM-dd")) + CopySuffix;
}

QDate dateOfCopy(const QString& fileName)
{
    static const QRegularExpression pattern(
        QStringLiteral("^tavoru-(\\d{4}-\\d{2}-\\d{2})\\.db$"));
    const auto m = pattern.match(fileName);
    if (!m.hasMatch())
        return {};
    return QDate::fromString(m.captured(1), QStringLiteral("yyyy-MM-dd"));
}

QList<QDate> datesToKeep(const QList<QDate>& copies, const QDate& today)
{
    QList<QDate> newestFirst;
    for (const QDate& d : copies)
        if (d.isValid() && !newestFirst.contains(d))
            newestFirst << d;
    std::sort(newestFirst.begin(), newestFirst.end(), std::greater<>());

    QSet<QDate> keep;
    for (int i = 0; i < newestFirst.size() && i < DailyCopies; ++i)
        keep.insert(newestFirst.at(i));

    const QDate thisMonth(today.year(), today.month(), 1);
    const QDate oldestMonth = thisMonth.addMonths(-(MonthlyCopies - 1));
    const QDate nextMonth = thisMonth.addMonths(1);
    QSet<int> monthsSeen;
    for (const QDate& d : newestFirst) {
        if (d < oldestMonth || d >= nextMonth)
            continue;
        const int month = d.year() * 12 + d.month();
        if (!monthsSeen.contains(month)) {
            monthsSeen.insert(month);
            keep.insert(d);
        }
    }

    QList<QDate> kept;
    for (const QDate& d : newestFirst)
        if (keep.contains(d))
            kept << d;
    return kept;
}

Plan plan(const Config::Values& config, const QString& appDir)
{
    Plan p;
    const ConnectionText c = ConnectionText::parse(config.provider + config.filedata);
    if (!c.error.isEmpty() || c.driver != QLatin1String("QSQLITE") ||
        Config::backupIsOff(config.backupDir))
        return p;
    p.dbPath = Connection::resolveFile(c.database, appDir);
    if (p.dbPath.isEmpty())
        return p;
    if (config.backupDir.isEmpty()) {
        p.folder = QFileInfo(p.dbPath).absoluteDir().filePath(QStringLiteral("backup"));
        p.createFolder = true;
    } else {
        p.folder = QDir::cleanPath(QFileInfo(QDir(appDir), config.backupDir).absoluteFilePath());
    }
    p.enabled = true;
    return p;
}

QString checkCopy(const QString& path, CheckDepth depth)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return QStringLiteral("File %1 tidak ditemukan.").arg(path);
    OwnConnection c(path, OwnConnection::ReadOnly, 5000);
    if (!c.isOpen())
        return QStringLiteral("File %1 tidak dapat dibuka: %2").arg(path, c.error());
    CopyPace pace;
    pace.attach(c.db());

    QSqlQuery q(c.db());
    q.setForwardOnly(true);
    if (!q.exec(depth == CheckDepth::Pages ? QStringLiteral("PRAGMA quick_check")
                                           : QStringLiteral("PRAGMA integrity_check")))
        return QStringLiteral("File %1 bukan database yang utuh: %2")
            .arg(path, errorText(q.lastError()));
    QStringList findings;
    while (q.next() && findings.size() < 5)
        findings << q.value(0).toString();
    q.finish();
    if (findings != QStringList{QStringLiteral("ok")})
        return QStringLiteral("File %1 rusak (pemeriksaan integritas: %2).")
            .arg(path, findings.join(QStringLiteral("; ")));

    bool tablesOk = false;
    try {
        tablesOk = Schema::verify(c.db());
    } catch (const DbError& e) {
        return QStringLiteral("File %1 tidak dapat dibaca: %2").arg(path, e.text());
    }
    if (!tablesOk)
        return QStringLiteral("File %1 bukan database program ini: tabelnya tidak sesuai.")
            .arg(path);
    return {};
}

Outcome makeDailyCopy(const QString& dbPath, const QString& folder, bool createFolder,
                      const QDate& today)
{
    const QString problem = folderProblem(folder, createFolder);
    if (!problem.isEmpty())
        return failed(problem);

    const QDir dir(folder);
    Outcome o;
    o.copy = dir.filePath(copyName(today));
    removeLeftovers(dir, today);
    if (QFileInfo::exists(o.copy)) {
        // Only a sound copy counts as the day's; an empty or broken file under
        // its name (a copy cut short by a crash outside this program) is made anew.
        const QString problem = checkCopy(o.copy, CheckDepth::Pages);
        if (problem.isEmpty()) {
            o.status = Outcome::AlreadyMade;
            return o;
        }
        if (!QFile::remove(o.copy))
            return failed(QStringLiteral("Salinan database hari ini di folder backup %1 tidak "
                                         "lolos pemeriksaan dan tidak dapat dihapus:\n%2")
                              .arg(folder, problem));
        for (const QString& side : SideFiles)
            QFile::remove(o.copy + side);
    }

    const QString ownTemp =
        o.copy + QStringLiteral(".%1.part").arg(QCoreApplication::applicationPid());
    removeWithSides(ownTemp);

    QString copyProblem = vacuumInto(dbPath, ownTemp, OwnConnection::ReadWrite);
    if (copyProblem.isEmpty()) {
        copyProblem = hashPlainPasswords(ownTemp);
        if (!copyProblem.isEmpty())
            removeWithSides(ownTemp);
        else
            flushToDisk(ownTemp);
    }
    if (!copyProblem.isEmpty())
        return failed(QStringLiteral("Backup database ke folder %1 gagal:\n%2")
                          .arg(folder, copyProblem));

    const QString checkProblem = checkCopy(ownTemp, CheckDepth::Pages);
    if (!checkProblem.isEmpty()) {
        removeWithSides(ownTemp);
        return failed(QStringLiteral("Salinan database di folder backup %1 tidak lolos "
                                     "pemeriksaan dan sudah dihapus:\n%2")
                          .arg(folder, checkProblem));
    }

    if (!QFile::rename(ownTemp, o.copy)) {
        removeWithSides(ownTemp);
        if (QFileInfo::exists(o.copy)) {
            // Another program on the same database finished first.
            o.status = Outcome::AlreadyMade;
            return o;
        }
        return failed(QStringLiteral("Salinan database tidak dapat disimpan di folder "
                                     "backup %1.")
                          .arg(folder));
    }
    for (const QString& side : SideFiles)
        QFile::remove(ownTemp + side);
    flushToDisk(folder);
    o.status = Outcome::Made;

    // Pruning only now that a sound copy of today exists.
    QList<QDate> present;
    for (const QString& name : dir.entryList(QDir::Files)) {
        const QDate d = dateOfCopy(name);
        if (d.isValid())
            present << d;
    }
    const QList<QDate> keep = datesToKeep(present, today);
    for (const QDate& d : present) {
        if (keep.contains(d))
            continue;
        const QString old = dir.filePath(copyName(d));
        if (QFile::remove(old))
            o.pruned << old;
    }
    return o;
}

DailyBackup::DailyBackup(const Plan& plan, const QDate& today, QObject* parent)
    : QObject(parent)
{
    qRegisterMetaType<Backup::Outcome>();
    m_worker = std::thread([this, plan, today] {
#ifdef Q_OS_LINUX
        // The till comes first on a busy processor. A lower priority, not the
        // idle class: a program closing waits for the copy and must not starve.
        // On Linux the nice value belongs to the calling thread.
        setpriority(PRIO_PROCESS, 0, 10);
#endif
        const Outcome outcome = makeDailyCopy(plan.dbPath, plan.folder, plan.createFolder, today);
        // Posted to this object's thread; dropped if the object is gone by then.
        QMetaObject::invokeMethod(
            this, [this, outcome] { emit finished(outcome); }, Qt::QueuedConnection);
    });
}

DailyBackup::~DailyBackup()
{
    wait();
}

void DailyBackup::wait()
{
    if (!m_worker.joinable())
        return;
    m_worker.join();
}

DailyBackup* startDaily(QObject* owner, const QString& appDir,
                        const std::function<void(const QString&)>& onFailure,
                        const QDate& today)
{
    const Config::Result config =
        Config::readFile(QDir(appDir).filePath(QStringLiteral("cfg.cae")));
    if (!config.ok)
        return nullptr;
    const Plan p = plan(config.values, appDir);
    if (!p.enabled)
        return nullptr;
    auto* job = new DailyBackup(p, today, owner);
    QObject::connect(job, &DailyBackup::finished, job, [onFailure](const Outcome& o) {
        if (o.status == Outcome::Failed && onFailure)
            onFailure(o.message);
    });
    return job;
}

namespace {

RestoreOutcome refused(const QString& text)
{
    RestoreOutcome r;
    r.message = text + QStringLiteral("\nTidak ada yang diubah.");
    return r;
}

// Takes the database for this connection alone. A program that has it open
// keeps it in WAL mode, which a second connection cannot leave; leaving it also
// writes every committed change into the main file, so the file stands alone.
// The exclusive lock then keeps any program out until the files are swapped.
// False when another connection has the database open. A file that is not a
// database cannot be in use and passes without a lock.
bool holdExclusive(const QSqlDatabase& db)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA journal_mode=DELETE")))
        return !isBusy(q.lastError());
    const QString mode = q.next() ? q.value(0).toString() : QString();
    q.finish();
    return mode.compare(QLatin1String("delete"), Qt::CaseInsensitive) == 0 &&
           q.exec(QStringLiteral("BEGIN EXCLUSIVE"));
}

QString inUse(const QString& dbPath)
{
    return QStringLiteral("Database %1 sedang dipakai oleh program yang berjalan. Tutup program "
                          "itu dulu, lalu ulangi restore.")
        .arg(dbPath);
}

QString cannotReplace(const QString& dbPath)
{
    return QStringLiteral("Database %1 tidak dapat diganti (file tidak dapat dipindahkan).")
        .arg(dbPath);
}

bool hardLink(const QString& from, const QString& to)
{
#ifdef Q_OS_UNIX
    return ::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#else
    Q_UNUSED(from);
    Q_UNUSED(to);
    return false;
#endif
}

// rename(2): replaces the target in one step (QFile::rename refuses an existing one).
bool renameOver(const QString& from, const QString& to)
{
#ifdef Q_OS_UNIX
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#else
    QFile::remove(to);
    return QFile::rename(from, to);
#endif
}

// A free name beside the database for the one it replaces.
QString keptName(const QString& dbPath, const QDateTime& now)
{
    const QFileInfo info(dbPath);
    const QString stamp = now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString suffix =
        info.suffix().isEmpty() ? QString() : QStringLiteral(".") + info.suffix();
    for (int n = 1;; ++n) {
        const QString name = info.completeBaseName() + QStringLiteral("-sebelum-restore-") +
                             stamp + (n > 1 ? QStringLiteral("-%1").arg(n) : QString()) +
                             suffix;
        const QString path = info.absoluteDir().filePath(name);
        if (!QFileInfo::exists(path) && !QFileInfo::exists(path + QStringLiteral("-wal")))
            return path;
    }
}

} // namespace

RestoreOutcome restore(const QString& dbPath, const QString& copyPath, const QDateTime& now)
{
    const QString copy = QFileInfo(copyPath).absoluteFilePath();
    const QFileInfo current(dbPath);
    if (!QFileInfo(copy).isFile())
        return refused(QStringLiteral("File %1 tidak ditemukan.").arg(copy));
    if (current.exists() &&
        QFileInfo(copy).canonicalFilePath() == current.canonicalFilePath())
        return refused(QStringLiteral("File %1 adalah database itu sendiri.").arg(copy));
    if (!current.absoluteDir().exists())
        return refused(QStringLiteral("Folder database %1 tidak ditemukan.")
                           .arg(current.absolutePath()));

    // Every page readable and every tree whole. An index at odds with its rows
    // may have come along from the shop's database (the daily copy takes an
    // index as it stands); the file that replaces the database is written
    // read-only, which makes its indexes from the rows, and gets the full check.
    const QString problem = checkCopy(copy, CheckDepth::Pages);
    if (!problem.isEmpty())
        return refused(QStringLiteral("File %1 bukan salinan database program ini yang "
                                      "baik.\n%2")
                           .arg(copy, problem));

    // Every program working on the database holds its share of the lock
    // beside it for its whole run; the restore needs it alone, and holding it
    // keeps a program that starts meanwhile away until the files are swapped.
    RunLock runLock;
    switch (runLock.take(dbPath, RunLock::Kind::Exclusive)) {
    case RunLock::Result::Taken: break;
    case RunLock::Result::Busy: return refused(inUse(dbPath));
    case RunLock::Result::Failed: return refused(runLock.problem());
    }

    // The copy is written beside the database first, so that the final step
    // is a rename on the same disk, and checked again as written.
    const QString temp = dbPath + QStringLiteral(".restore.part");
    removeWithSides(temp);
    const QString copyProblem = vacuumInto(copy, temp, OwnConnection::ReadOnly);
    if (!copyProblem.isEmpty())
        return refused(QStringLiteral("Salinan tidak dapat ditulis ke folder %1: %2")
                           .arg(current.absolutePath(), copyProblem));
    const QString tempProblem = checkCopy(temp);
    if (!tempProblem.isEmpty()) {
        removeWithSides(temp);
        return refused(tempProblem);
    }

    RestoreOutcome r;
    {
        std::unique_ptr<OwnConnection> lock;
        if (current.exists()) {
            lock = std::make_unique<OwnConnection>(dbPath, OwnConnection::ReadWrite, 200);
            if (lock->isOpen() && !holdExclusive(lock->db())) {
                lock.reset();
                removeWithSides(temp);
                return refused(inUse(dbPath));
            }
        }

        // The replaced database keeps a new name. Its journal files go first:
        // held exclusively in rollback mode, it has everything in its main file.
        const QString kept = keptName(dbPath, now);
        QStringList moved;
        const auto undo = [&] {
            for (const QString& side : moved)
                QFile::rename(kept + side, dbPath + side);
            removeWithSides(temp);
        };
        for (const QString& side : SideFiles) {
            if (!QFileInfo::exists(dbPath + side))
                continue;
            if (!QFile::rename(dbPath + side, kept + side)) {
                undo();
                return refused(cannotReplace(dbPath));
            }
            moved << side;
        }
        // Then the database is kept by a second name (a hard link), and the copy
        // renamed over it: at every instant one whole database is in its place.
        bool keptByLink = false;
        bool keptByRename = false;
        if (current.exists()) {
            keptByLink = hardLink(dbPath, kept);
            // A file system without hard links (a FAT stick): a rename, and a
            // moment without a database in between.
            if (!keptByLink && !(keptByRename = QFile::rename(dbPath, kept))) {
                undo();
                return refused(cannotReplace(dbPath));
            }
        }
        if (!renameOver(temp, dbPath)) {
            if (keptByLink)
                QFile::remove(kept);
            if (keptByRename)
                QFile::rename(kept, dbPath);
            undo();
            return refused(cannotReplace(dbPath));
        }
        for (const QString& side : SideFiles)
            QFile::remove(temp + side);
        flushToDisk(current.absolutePath());
        if (keptByLink || keptByRename)
            r.keptAs = kept;
    }

    r.ok = true;
    r.message = r.keptAs.isEmpty()
                    ? QStringLiteral("Database %1 sudah dibuat dari salinan %2.").arg(dbPath, copy)
                    : QStringLiteral("Database %1 sudah diganti dengan salinan %2.\nDatabase "
                                     "sebelumnya disimpan sebagai %3.")
                          .arg(dbPath, copy, r.keptAs);
    return r;
}

RestoreOutcome restoreConfigured(const QString& appDir, const QString& copyPath,
                                 const QDateTime& now)
{
    const Config::Result config =
        Config::readFile(QDir(appDir).filePath(QStringLiteral("cfg.cae")));
    if (!config.ok)
        return refused(config.error);
    const ConnectionText c = ConnectionText::parse(config.values.provider + config.values.filedata);
    if (!c.error.isEmpty())
        return refused(QStringLiteral("Teks koneksi di file konfigurasi (baris \"provider\" dan "
                                      "\"filedata\") tidak dapat dibaca: %1.")
                           .arg(c.error));
    if (c.driver != QLatin1String("QSQLITE"))
        return refused(QStringLiteral("Database program ini ada di server (%1); pulihkan dengan "
                                      "alat server itu sendiri (PostgreSQL: pg_restore dari "
                                      "berkas pg_dump).")
                           .arg(c.driver));
    const QString dbPath = Connection::resolveFile(c.database, appDir);
    if (dbPath.isEmpty())
        return refused(QStringLiteral("File konfigurasi tidak menyebut file database."));
    return restore(dbPath, copyPath, now);
}

} // namespace Backup
