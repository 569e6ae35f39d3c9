#pragma once

#include <QString>

// The connection text is "key=value" pairs joined by ";": Driver names the
// Qt SQL driver (QSQLITE when absent), Database the file or database name,
// Host, Port, User and Password serve server drivers. A part without "="
// names the database.
struct ConnectionText {
    QString driver = QStringLiteral("QSQLITE");
    QString database;
    QString host;
    int port = -1;
    QString user;
    QString password;

    static ConnectionText parse(const QString& text);
};

namespace Connection {

// Absolute path of an SQLite file named in the connection text; a relative
// name is taken from the program's folder.
QString resolveFile(const QString& database, const QString& appDir);

// Opens the program's one connection. A missing SQLite file is never created:
// the open fails instead. Returns whether the connection is open. Opening
// writes nothing: the file is left as it is until prepare() has run.
bool open(const QString& connectionText, const QString& appDir);

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
