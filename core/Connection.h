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
// the open fails instead. Returns whether the connection is open.
bool open(const QString& connectionText, const QString& appDir);

} // namespace Connection

// Start-up database work: reads cfg.cae in appDir, opens the connection,
// checks the tables and adds the first-run rows. Reports every failure in a
// message box and returns false; the caller then ends the program.
bool DoConnect(const QString& appDir);
