#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The six tables the program works on, and the check made at every start that
// the database holds them as expected. Nothing is ever created or repaired here.
namespace Schema {

// Type codes of the columns, as the shop's first database tools named them.
enum TypeCode { SmallInt = 2, Integer = 3, Double = 5, VarChar = 200 };

struct Column {
    QString name;
    int type = 0; // TypeCode, or 0 when the declared type is none of them
    int size = 0; // bytes for numbers, characters for text
};

struct Table {
    QString name;
    QList<Column> columns; // the minimum: more columns may follow
};

const QList<Table>& expectedTables();

// Code and size of a declared column type such as "VARCHAR(25)" or "DOUBLE".
Column typeOf(const QString& declaredType);

// User tables in ascending name order; engine-internal tables are not listed.
QStringList listTables(const QSqlDatabase& db);
QList<Column> listColumns(const QSqlDatabase& db, const QString& table);

// True when every expected table and column is there as required.
// Throws DbError when the database cannot even be read.
bool verify(const QSqlDatabase& db);

// Adds the "REFILL" bottle type and the first user when they are missing.
void seed();

} // namespace Schema
