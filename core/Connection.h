#pragma once

#include <QString>

// The connection text is "key=value" pairs joined by ";": Driver names the
// Qt SQL driver (QSQLITE when absent), Database the file or database name,
// Host, Port, User and Password serve server drivers. A part without "="
// names the database.
//
// A value may be quoted, "..." or '...', to hold ";" or blanks at its ends:
// Password="a;b". Inside, the quote itself is written twice: "say ""hi""".
// Only a value that begins with a quote is quoted; blanks may follow the
// closing quote, nothing else.
struct ConnectionText {
    QString driver = QStringLiteral("QSQLITE");
    QString database;
    QString host;
    int port = -1;
    QString user;
    QString password;
    // Why the text cannot be read (a quote left open, text after a closing
    // quote), in Indonesian and naming the key; empty when it was read.
    QString error;

    static ConnectionText parse(const QString& text);
};

namespace Connection {

// Absolute path of an SQLite file named in the connection text; a relative
// name is taken from the program's folder.
QString resolveFile(const QString& database, const QString& appDir);

// Opens the program's one connection. A missing SQLite file is never created:
// the open fails instead. Returns whether the connection is open. Opening
// writes nothing: the file is left as it is until prepare() has run.
//
// An SQLite database is opened only after this program has taken its share of
// the lock beside it (RunLock), which then lasts as long as the connection:
// until Db::close() removes it. A restore takes that lock exclusively.
bool open(const QString& connectionText, const QString& appDir);

// After open() failed: the cause in Indonesian (no permission to read the
// file, the restore at work, the server's answer...), or an empty text when
// the SQLite file simply does not exist.
QString openProblem();

// The SQLite file of the open connection, or an empty text (no connection, or
// a server database).
QString databaseFile();

// The start-up message for a failed statement on the database at dbPath:
// names the cause (locked by another program, disk full, no permission, not a
// database) in Indonesian.
QString failureCause(const QString& driverText, const QString& dbPath);

// Readies an open SQLite connection for work once its tables passed the check:
// write-ahead log and durable commits, and a check that the file can be written
// at all. Returns the reason the database cannot be used, or an empty text.
QString prepare();

} // namespace Connection

// What the start-up database work found: ok, or the message and title to show
// before the program ends.
struct StartupResult {
    bool ok = false;
    QString title;
    QString text;
    explicit operator bool() const { return ok; }
};

// Start-up database work: reads cfg.cae in appDir, opens the connection,
// checks the tables and adds the first-run rows. On a failure the connection is
// closed and the result says what to report; the caller then ends the program.
StartupResult DoConnect(const QString& appDir);
