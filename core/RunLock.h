#pragma once

#include <QString>

// A lock on a file beside the SQLite database ("tavoru.db.lock"), held by every
// program working on the database for its whole run (shared) and by the restore
// while it swaps the files (exclusive).
//
// SQLite's own locks are POSIX record locks, which a process loses when it
// closes any descriptor of the file; these are flock() locks on a file nothing
// else opens, tied to their own descriptor, so no close elsewhere can drop them.
class RunLock {
public:
    enum class Kind { Shared, Exclusive };
    enum class Result { Taken, Busy, Failed };

    RunLock() = default;
    ~RunLock();
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;

    // Takes the lock beside dbPath without waiting. Busy: another program holds
    // it the other way. Failed: the lock file cannot be made or opened
    // (problem() says why, in Indonesian).
    Result take(const QString& dbPath, Kind kind);
    void release();
    bool isHeld() const { return m_fd >= 0; }
    QString problem() const { return m_problem; }
    int errorNumber() const { return m_errno; } // of the failure, for telling its kind

    // The lock file of a database: its real path (links resolved) + ".lock".
    static QString pathFor(const QString& dbPath);

private:
    int m_fd = -1;
    QString m_problem;
    int m_errno = 0;
};
