#include "Db.h"

#include "Connection.h"

#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlRecord>
#include <QThread>

#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <cmath>

DbError::DbError(const QString& text, const QString& sql, const QString& code)
    : std::runtime_error(text.toStdString()), m_text(text), m_sql(sql), m_code(code)
{
}

bool DbError::isTransient() const
{
    // deadlock_detected and serialization_failure
    return m_code == QLatin1String("40P01") || m_code == QLatin1String("40001");
}

QVariant RowSet::value(int row, const QString& name) const
{
    const int col = column(name);
    return col < 0 ? QVariant() : rows.at(row).at(col);
}

// The driver's own words where it gives them, else Qt's summary.
static QString errorText(const QSqlError& e)
{
    QString text = e.databaseText().trimmed();
    if (text.isEmpty())
        text = e.text().trimmed();
    return text;
}

// A failed statement, with the server's SQLSTATE where it gives one.
static DbError failure(const QSqlError& e, const QString& sql)
{
    return DbError(errorText(e), sql, e.nativeErrorCode());
}

namespace {
// Depth of the open Transaction scopes on the one connection.
int transactionDepth = 0;
// Set when an inner scope rolled back: the outer commit must not succeed.
bool transactionFailed = false;
// When the open write began and when the last one ended, in milliseconds
// of the steady clock (-1: none open); read by work on other threads that
// gives way to the program's writes.
std::atomic<qint64> writeBegan{-1};
std::atomic<qint64> lastWriteEnd{0};

qint64 steadyMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void writeEnded()
{
    lastWriteEnd = steadyMs();
    writeBegan = -1;
}
// SQLite counts every allocation under one process-wide mutex, so the
// daily copy on its own thread and the till would queue for it on every
// small allocation (this SQLite has no per-connection lookaside memory).
// Nothing here reads those counts. Set before any connection is opened.
[[maybe_unused]] const int sqliteMemoryUncounted = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);

// Set when a statement failed on a server connection: the server may have
// gone away. The next action outside a transaction tries the connection first.
bool connectionSuspect = false;

bool isServer(const QSqlDatabase& db)
{
    return db.driverName() != QLatin1String("QSQLITE");
}

void noteFailure(const QSqlDatabase& db)
{
    if (isServer(db))
        connectionSuspect = true;
}

// Before each action outside a transaction: a connection found closed (the
// driver gave it up, or it was closed under the program) or one that failed a
// statement on a server, and then fails a trivial query too, is closed and
// opened afresh with the same settings, so the till works again once the
// server is back. Only between transactions: a reopened connection has lost
// the open one.
void reviveConnection()
{
    if (transactionDepth > 0)
        return;
    QSqlDatabase db = Db::connection();
    if (!db.isValid())
        return;
    if (db.isOpen()) {
        if (!connectionSuspect)
            return;
        QSqlQuery ping(db);
        if (ping.exec(QStringLiteral("SELECT 1"))) {
            connectionSuspect = false;
            return;
        }
    }
    db.close();
    if (!db.open()) {
        // Tried again at the next action.
        connectionSuspect = true;
        throw DbError(isServer(db) ? QStringLiteral("Koneksi ke server database terputus: %1")
                                         .arg(errorText(db.lastError()))
                                   : QStringLiteral("Database tidak dapat dibuka kembali: %1")
                                         .arg(errorText(db.lastError())));
    }
    if (!isServer(db)) {
        // The durable-commit settings belong to the connection, not the file.
        const QString reason = Connection::prepare();
        if (!reason.isEmpty()) {
            db.close();
            connectionSuspect = true;
            throw DbError(QStringLiteral("Database tidak dapat dibuka kembali: %1").arg(reason));
        }
    }
    connectionSuspect = false;
}
} // namespace

namespace Db {

QSqlDatabase connection()
{
    return QSqlDatabase::database(ConnectionName, false);
}

bool isOpen()
{
    return QSqlDatabase::contains(ConnectionName) && connection().isOpen();
}

bool isSqlite()
{
    return connection().driverName() == QLatin1String("QSQLITE");
}

void close()
{
    if (!QSqlDatabase::contains(ConnectionName))
        return;
    {
        QSqlDatabase db = connection();
        db.close();
    }
    QSqlDatabase::removeDatabase(ConnectionName);
    connectionSuspect = false;
}

QString equalsIgnoringCase(const QString& column)
{
    return isSqlite() ? column + QStringLiteral(" = ? COLLATE NOCASE")
                      : QStringLiteral("lower(%1) = lower(?)").arg(column);
}

QString differsIgnoringCase(const QString& column)
{
    return isSqlite() ? column + QStringLiteral(" <> ? COLLATE NOCASE")
                      : QStringLiteral("lower(%1) <> lower(?)").arg(column);
}

QString containsIgnoringCase(const QString& column)
{
    return column + (isSqlite() ? QStringLiteral(" LIKE ? ESCAPE '\\'")
                                : QStringLiteral(" ILIKE ? ESCAPE '\\'"));
}

QString orEmpty(const QString& column)
{
    // The SQLite indexes name ifnull(); PostgreSQL knows only coalesce().
    return (isSqlite() ? QStringLiteral("ifnull(%1, '')") : QStringLiteral("coalesce(%1, '')"))
        .arg(column);
}

QString lockRows()
{
    return isSqlite() ? QString() : QStringLiteral(" FOR UPDATE");
}

void lockKey(const QString& table, const QString& key)
{
    if (isSqlite())
        return;
    scalar(QStringLiteral("SELECT pg_advisory_xact_lock(hashtext(?))"),
           {table + QLatin1Char(':') + key.trimmed().toLower()});
}

namespace {
QSqlQuery run(const QString& sql, const QVariantList& values, bool forwardOnly)
{
    reviveConnection();
    QSqlDatabase db = Db::connection();
    if (!db.isOpen()) {
        // Lost inside a transaction: the next action opens it again.
        connectionSuspect = true;
        throw DbError(QStringLiteral("Koneksi database tidak terbuka."), sql);
    }
    QSqlQuery q(db);
    // Rows read once from first to last need no second copy in the driver.
    q.setForwardOnly(forwardOnly);
    // PostgreSQL prepares only queries and data changes, not table changes; a
    // statement without values needs no preparing there.
    if (values.isEmpty() && isServer(db)) {
        if (!q.exec(sql)) {
            noteFailure(db);
            throw failure(q.lastError(), sql);
        }
        return q;
    }
    if (!q.prepare(sql)) {
        noteFailure(db);
        throw failure(q.lastError(), sql);
    }
    for (const QVariant& v : values) {
        if (v.typeId() == QMetaType::Double && !std::isfinite(v.toDouble()))
            throw DbError(QStringLiteral("Nilai angka tidak sah."), sql);
        q.addBindValue(v);
    }
    if (!q.exec()) {
        noteFailure(db);
        throw failure(q.lastError(), sql);
    }
    return q;
}
} // namespace

QSqlQuery exec(const QString& sql, const QVariantList& values)
{
    return run(sql, values, false);
}

QVariant scalar(const QString& sql, const QVariantList& values)
{
    QSqlQuery q = exec(sql, values);
    return q.next() ? q.value(0) : QVariant();
}

RowSet select(const QString& sql, const QVariantList& values)
{
    QSqlQuery q = run(sql, values, true);
    RowSet rs;
    const QSqlRecord rec = q.record();
    for (int i = 0; i < rec.count(); ++i)
        rs.columns << rec.fieldName(i);
    while (q.next()) {
        QVariantList row;
        row.reserve(rec.count());
        for (int i = 0; i < rec.count(); ++i)
            row << q.value(i);
        rs.rows << row;
    }
    if (q.lastError().isValid()) {
        noteFailure(Db::connection());
        throw failure(q.lastError(), sql);
    }
    return rs;
}

qint64 insertedId(const QSqlQuery& query)
{
    // PostgreSQL tables have no row ids: the identity key came from the
    // table's sequence, whose last value this session drew is lastval().
    const QVariant id = isSqlite() ? query.lastInsertId()
                                   : scalar(QStringLiteral("SELECT lastval()"));
    if (!id.isValid())
        throw DbError(QStringLiteral("Nomor rekaman baru tidak dapat dibaca."));
    return id.toLongLong();
}

int affected(const QSqlQuery& query)
{
    return query.numRowsAffected();
}

bool inTransaction()
{
    return transactionDepth > 0;
}

qint64 writeOpenMs()
{
    const qint64 began = writeBegan.load(std::memory_order_relaxed);
    return began < 0 ? -1 : steadyMs() - began;
}

bool wroteWithin(int ms)
{
    return writeBegan.load(std::memory_order_relaxed) >= 0 ||
           steadyMs() - lastWriteEnd.load(std::memory_order_relaxed) < ms;
}

void pauseBeforeRetry()
{
    QThread::msleep(20 + QRandomGenerator::global()->bounded(40));
}

} // namespace Db

namespace {
void run(const QString& sql)
{
    QSqlDatabase db = Db::connection();
    QSqlQuery q(db);
    if (!q.exec(sql)) {
        noteFailure(db);
        throw failure(q.lastError(), sql);
    }
}
} // namespace

Transaction::Transaction()
{
    if (transactionDepth == 0) {
        transactionFailed = false;
        reviveConnection();
        // IMMEDIATE takes the write lock now, so a reading first statement cannot
        // later fail with "database is locked".
        writeBegan = steadyMs();
        try {
            run(Db::isSqlite() ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
        } catch (...) {
            writeBegan = -1;
            throw;
        }
    }
    ++transactionDepth;
}

Transaction::~Transaction()
{
    if (m_done)
        return;
    --transactionDepth;
    if (transactionDepth > 0) {
        transactionFailed = true;
        return;
    }
    QSqlQuery q(Db::connection());
    q.exec(QStringLiteral("ROLLBACK"));
    writeEnded();
}

void Transaction::commit()
{
    if (m_done)
        return;
    if (transactionDepth > 1) {
        --transactionDepth;
        m_done = true;
        return;
    }
    if (transactionFailed)
        throw DbError(QStringLiteral("Transaksi dibatalkan oleh kesalahan sebelumnya."));
    // A failed COMMIT leaves the transaction open: the destructor rolls it back.
    run(QStringLiteral("COMMIT"));
    --transactionDepth;
    m_done = true;
    writeEnded();
}
