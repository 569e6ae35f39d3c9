#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <thread>

namespace Config {
struct Values;
}

// Daily copies of the SQLite database and the restore of one of them.
//
// A copy is made with SQLite's own VACUUM INTO on a connection of its own, so
// it is a consistent snapshot even while the program writes. It counts only
// after PRAGMA integrity_check and the program's table check pass on it; only
// then are old copies pruned. A server database (PostgreSQL) is the server's
// business: nothing is done for it.
namespace Backup {

inline const QString MessageTitle = QStringLiteral("BACKUP");

// Copies kept: the newest DailyCopies, and the newest copy of each of the
// last MonthlyCopies calendar months (the current one included).
inline constexpr int DailyCopies = 14;
inline constexpr int MonthlyCopies = 12;

// "tavoru-2026-12-08.db", and back; an invalid date for any other name.
QString copyName(const QDate& day);
QDate dateOfCopy(const QString& fileName);

// The copies to keep out of the dates of the copies present, newest first.
// A copy dated after today is kept (it counts among the newest).
QList<QDate> datesToKeep(const QList<QDate>& copies, const QDate& today);

// Where and whether to make copies, from the configuration.
struct Plan {
    bool enabled = false;     // false: backups off, or a server database
    QString dbPath;           // the SQLite file
    QString folder;           // where the copies go
    bool createFolder = false; // the default folder is made when missing
};
Plan plan(const Config::Values& config, const QString& appDir);

// The problem with a database file in Indonesian, or an empty text when it is
// a sound database of this program (integrity check and table check pass).
// Opens the file read-only on a connection of its own.
//
// Pages: the page-level check only (PRAGMA quick_check: every b-tree page,
// cell and free-list page is read and checked, but the index entries are not
// matched against their table rows), then the table check. Enough for a copy
// this program has just written with VACUUM INTO, whose indexes SQLite built
// afresh from the rows it copied: what can go wrong there is the writing (a
// short or damaged file), which the page check sees. A file from elsewhere
// (a restore) gets the full integrity check.
enum class CheckDepth { Full, Pages };
QString checkCopy(const QString& path, CheckDepth depth = CheckDepth::Full);

struct Outcome {
    enum Status { Made, AlreadyMade, Failed };
    Status status = Failed;
    QString copy;       // the day's copy
    QStringList pruned; // old copies removed
    QString message;    // when Failed: Indonesian, names the folder
};

// Makes the copy of `today` in `folder` unless it is there already, checks it
// and then prunes the old copies. Thread-safe: uses only connections of its own.
Outcome makeDailyCopy(const QString& dbPath, const QString& folder, bool createFolder,
                      const QDate& today);

// The day's copy made on a worker thread. Deleting the object waits for the
// copy to finish.
class DailyBackup : public QObject {
    Q_OBJECT
public:
    DailyBackup(const Plan& plan, const QDate& today, QObject* parent = nullptr);
    ~DailyBackup() override;

    // Blocks until the worker is done.
    void wait();

signals:
    // Delivered on the thread the object lives in.
    void finished(const Backup::Outcome& outcome);

private:
    std::thread m_worker;
};

// Starts the day's copy for the database configured in appDir's cfg.cae, as
// a child of `owner`; a failure's message is handed to `onFailure` on the
// owner's thread. Returns nullptr when there is nothing to do.
DailyBackup* startDaily(QObject* owner, const QString& appDir,
                        const std::function<void(const QString&)>& onFailure,
                        const QDate& today = QDate::currentDate());

struct RestoreOutcome {
    bool ok = false;
    QString message; // Indonesian, for the console
    QString keptAs;  // where the replaced database was kept
};

// Puts a checked copy in the place of dbPath. The current database is kept
// beside it under a name made from `now`; nothing is ever deleted. Refused,
// with nothing changed, when the copy is not a sound database of this program
// or when a program has the database open.
RestoreOutcome restore(const QString& dbPath, const QString& copyPath, const QDateTime& now);

// The same for the database configured in appDir's cfg.cae.
RestoreOutcome restoreConfigured(const QString& appDir, const QString& copyPath,
                                 const QDateTime& now);

} // namespace Backup

Q_DECLARE_METATYPE(Backup::Outcome)
