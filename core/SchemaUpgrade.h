#pragma once

#include <QString>
#include <QStringList>

// The schema version a database carries, and the one ordered list of steps that
// brings a database made by an earlier version of the program up to this one.
// The schema scripts in db/ make the newest version directly; every later change
// of tables or indexes is a new step here and a new version in both scripts.
namespace SchemaUpgrade {

// The version the schema scripts make and this program works on.
constexpr int CurrentVersion = 7;

// Databases made before versions were recorded have no version table: version 1.
constexpr int UnversionedVersion = 1;

// Tables the steps add beside the six checked ones; the table check passes them
// over wherever they sort.
const QStringList& addedTables();

// The version of the database on the program's connection. Only reads.
int version();

// Why this program must not open a database of `version`, or an empty text.
QString refusal(int version);

// Brings the database on the program's connection from `from` to CurrentVersion:
// on SQLite a copy of the file is kept beside it first, then every step runs in
// one transaction together with its version row. Returns an empty text when
// done, else the message that says why nothing was changed.
QString run(int from);

// Name of the copy kept before an upgrade, in the database file's folder.
QString copyName(const QString& databaseFile, int from, const QString& stamp);

} // namespace SchemaUpgrade
