#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <stdexcept>

// A failed database statement. Carries the driver's own text for the message box.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString& text, const QString& sql = {}, const QString& code = {});
    QString text() const { return m_text; }
    QString sql() const { return m_sql; }
    // The server's SQLSTATE (PostgreSQL), empty where the driver gives none.
    QString code() const { return m_code; }
    // The server cancelled the transaction to resolve a deadlock or a
    // serialization conflict: run again from its start, it can succeed.
    bool isTransient() const;

private:
    QString m_text;
    QString m_sql;
    QString m_code;
};

// The rows of a query, read out completely; lists are small (a page, a day).
struct RowSet {
    QStringList columns;
    QList<QVariantList> rows;

    int size() const { return int(rows.size()); }
    bool isEmpty() const { return rows.isEmpty(); }
    int column(const QString& name) const { return int(columns.indexOf(name)); }
    QVariant value(int row, int col) const { return rows.at(row).at(col); }
    QVariant value(int row, const QString& name) const;
};

// Access to the program's one connection. Every statement binds its values and
// is checked; a failure throws DbError.
namespace Db {

inline const QString ConnectionName = QStringLiteral("DbConnection");

QSqlDatabase connection();
bool isOpen();
bool isSqlite();
void close();

// The few SQL pieces that differ between SQLite and PostgreSQL. Each takes a
// column (or expression) and gives the condition with one "?" placeholder.
// Text equal to the bound value ignoring letter case (A-Z against a-z).
QString equalsIgnoringCase(const QString& column);
QString differsIgnoringCase(const QString& column);
// Text containing the bound LIKE pattern ignoring letter case, "\" escaping.
QString containsIgnoringCase(const QString& column);
// The column, with NULL read as empty text.
QString orEmpty(const QString& column);
// Appended to a SELECT of rows the transaction goes on to change: the rows stay
// locked against other tills until it ends. SQLite's write transaction already
// locks the whole file, so there it is empty.
QString lockRows();
// Holds, until the transaction ends, a lock on a key of `table` ignoring letter
// case, so two tills adding the same new key take turns: the second one then
// finds the first one's row. SQLite's write transaction already serialises
// writers, so there it does nothing.
void lockKey(const QString& table, const QString& key);

// Prepares, binds the values in order and executes. Doubles must be finite.
QSqlQuery exec(const QString& sql, const QVariantList& values = {});

// First column of the first row, or an invalid QVariant when there is no row.
QVariant scalar(const QString& sql, const QVariantList& values = {});

RowSet select(const QString& sql, const QVariantList& values = {});

// Key of the row the last INSERT of this query added.
qint64 insertedId(const QSqlQuery& query);

// Number of rows the UPDATE or DELETE of this query changed.
int affected(const QSqlQuery& query);

// Whether a Transaction scope is open on the connection.
bool inTransaction();
// For background work on other threads (the daily copy) that gives way to the
// program's writes: how long the open Transaction has been open, in
// milliseconds (-1: none is), and whether one was open in the last `ms`.
qint64 writeOpenMs();
bool wroteWithin(int ms);

// A short, slightly random pause that lets the transaction that won a
// deadlock go on before the loser runs again.
void pauseBeforeRetry();

// Runs a write action that makes its own transaction. When the server cancels
// that transaction as the victim of a deadlock or a serialization conflict,
// nothing of it is left, so the whole action runs once more from its start;
// the caller sees only the second outcome. Inside an open transaction the
// action runs once: only the outermost one can be run again.
template <typename Action>
auto retryOnce(Action&& action) -> decltype(action())
{
    if (!inTransaction()) {
        try {
            return action();
        } catch (const DbError& e) {
            if (!e.isTransient())
                throw;
        }
        pauseBeforeRetry();
    }
    return action();
}

} // namespace Db

// One database transaction per user action. Begins in the constructor and rolls
// back in the destructor unless commit() ran. Nested scopes on the connection
// share the outermost real transaction.
class Transaction {
public:
    Transaction();
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    bool m_done = false;
};
