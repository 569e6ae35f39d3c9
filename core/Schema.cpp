#include "Schema.h"

#include "core/Db.h"
#include "core/Globals.h"
#include "core/Regional.h"
#include "core/SchemaUpgrade.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

namespace Schema {

namespace {
Column col(const char* name, int type, int size)
{
    return Column{QString::fromLatin1(name), type, size};
}
constexpr int I = Integer, D = Double, S = SmallInt, V = VarChar;
} // namespace

const QList<Table>& expectedTables()
{
    static const QList<Table> tables = {
        {"tvr_customer",
         {col("idcust", I, 4), col("cust_nomor", V, 12), col("cust_nama", V, 25),
          col("cust_alamat", V, 200), col("cust_notelp", V, 15), col("cust_date", V, 10),
          col("cust_author", V, 8)}},
        {"tvr_dtbotol",
         {col("idbotol", I, 4), col("botol_tipe", V, 12), col("botol_harga", D, 8),
          col("botol_stock", D, 8), col("botol_date", V, 10), col("botol_author", V, 8),
          col("botol_ls_stock", D, 8), col("botol_ls_date", V, 10),
          col("botol_ls_author", V, 8)}},
        {"tvr_dtvariant",
         {col("idvariant", I, 4), col("variant_kode", V, 12), col("variant_nama", V, 20),
          col("variant_harga", D, 8), col("variant_stock", D, 8), col("variant_date", V, 10),
          col("variant_author", V, 8), col("variant_ls_stock", D, 8),
          col("variant_ls_date", V, 10), col("variant_ls_author", V, 8)}},
        {"tvr_sales",
         {col("idsales", I, 4), col("sales_idcust", I, 4), col("sales_idvariant", I, 4),
          col("sales_mililiter", D, 8), col("sales_totalml", D, 8), col("sales_idbotol", I, 4),
          col("sales_hargavariant", D, 8), col("sales_hargabotol", D, 8),
          col("sales_hargatotal", D, 8), col("sales_diskon", D, 8),
          col("sales_hargadiskon", D, 8), col("sales_date", V, 10), col("sales_author", V, 8),
          col("sales_status", S, 2)}},
        {"tvr_stock",
         {col("idstock", I, 4), col("stock_name", V, 12), col("stock_idname", I, 4),
          col("stock_awal", D, 8), col("stock_order", D, 8), col("stock_akhir", D, 8),
          col("stock_date", V, 10), col("stock_author", V, 8), col("stock_status", S, 2),
          col("stock_keterangan", V, 100)}},
        // user_password holds up to 20 characters: the login accepts that many.
        {"tvr_user",
         {col("iduser", I, 4), col("user_name", V, 8), col("user_password", V, 20),
          col("user_namalengkap", V, 20), col("user_date", V, 10), col("user_author", V, 8)}},
    };
    return tables;
}

Column typeOf(const QString& declaredType)
{
    const QString t = declaredType.simplified().toUpper();
    static const QRegularExpression varchar(
        QStringLiteral("^(?:VARCHAR|CHARACTER VARYING) ?\\( ?(\\d+) ?\\)$"));
    if (t == QLatin1String("INTEGER") || t == QLatin1String("INT") ||
        t == QLatin1String("INT4"))
        return Column{{}, Integer, 4};
    if (t == QLatin1String("SMALLINT") || t == QLatin1String("INT2"))
        return Column{{}, SmallInt, 2};
    if (t == QLatin1String("DOUBLE") || t == QLatin1String("DOUBLE PRECISION") ||
        t == QLatin1String("FLOAT8"))
        return Column{{}, Double, 8};
    const auto m = varchar.match(t);
    if (m.hasMatch())
        return Column{{}, VarChar, m.captured(1).toInt()};
    return Column{};
}

static bool isPostgres(const QSqlDatabase& db)
{
    return db.driverName() == QLatin1String("QPSQL");
}

static QSqlQuery run(const QSqlDatabase& db, const QString& sql, const QVariantList& values = {})
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw DbError(q.lastError().text(), sql);
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw DbError(q.lastError().text(), sql);
    return q;
}

QStringList listTables(const QSqlDatabase& db)
{
    const QString sql =
        isPostgres(db)
            ? QStringLiteral("SELECT table_name FROM information_schema.tables "
                             "WHERE table_schema = current_schema() AND table_type = 'BASE TABLE' "
                             "ORDER BY table_name COLLATE \"C\"")
            : QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                             "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name");
    QSqlQuery q = run(db, sql);
    QStringList names;
    while (q.next())
        names << q.value(0).toString();
    return names;
}

QList<Column> listColumns(const QSqlDatabase& db, const QString& table)
{
    QList<Column> cols;
    if (isPostgres(db)) {
        QSqlQuery q = run(db,
                          QStringLiteral("SELECT column_name, data_type, character_maximum_length "
                                         "FROM information_schema.columns "
                                         "WHERE table_schema = current_schema() AND table_name = ? "
                                         "ORDER BY ordinal_position"),
                          {table});
        while (q.next()) {
            QString type = q.value(1).toString();
            if (type == QLatin1String("character varying"))
                type = QStringLiteral("VARCHAR(%1)").arg(q.value(2).toInt());
            Column c = typeOf(type);
            c.name = q.value(0).toString();
            cols << c;
        }
        return cols;
    }
    QSqlQuery q =
        run(db, QStringLiteral("SELECT name, type FROM pragma_table_info(?) ORDER BY cid"), {table});
    while (q.next()) {
        Column c = typeOf(q.value(1).toString());
        c.name = q.value(0).toString();
        cols << c;
    }
    return cols;
}

bool verify(const QSqlDatabase& db)
{
    const QList<Table>& expected = expectedTables();
    // Tables the upgrades added are the program's own, wherever they sort;
    // any other table must list after the six.
    QStringList tables = listTables(db);
    for (const QString& added : SchemaUpgrade::addedTables())
        tables.removeAll(added);
    if (tables.size() < expected.size())
        return false;
    for (int i = 0; i < expected.size(); ++i)
        if (tables.at(i) != expected.at(i).name)
            return false;

    for (const Table& table : expected) {
        const QList<Column> actual = listColumns(db, table.name);
        if (actual.size() < table.columns.size())
            return false;
        for (int i = 0; i < table.columns.size(); ++i) {
            const Column& want = table.columns.at(i);
            const Column& have = actual.at(i);
            if (have.name != want.name || have.type != want.type || have.size < want.size)
                return false;
        }
    }
    return true;
}

void seed()
{
    const QString today = Regional::today();
    const QString sysadmin = QStringLiteral("sysadmin");
    const auto refillMissing = [] {
        return Db::scalar(QStringLiteral("SELECT COUNT(*) FROM tvr_dtbotol WHERE botol_tipe = ?"),
                          {RefillBottleType})
                   .toLongLong() == 0;
    };
    // EXISTS stops at the first row, where COUNT(*) would read the whole table.
    const auto usersMissing = [] {
        return Db::scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM tvr_user)")).toInt() == 0;
    };
    // The usual start finds both rows and takes no write lock, so another till
    // that holds it does not stop this one from starting.
    if (!refillMissing() && !usersMissing())
        return;
    Transaction tx;
    if (refillMissing())
        Db::exec(QStringLiteral("INSERT INTO tvr_dtbotol (botol_tipe, botol_harga, botol_stock, "
                                "botol_date, botol_author, botol_ls_stock, botol_ls_date, "
                                "botol_ls_author) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                 {RefillBottleType, 0.0, 0.0, today, sysadmin, 0.0, today, sysadmin});
    if (usersMissing())
        // The first account is the shop's owner; its password is replaced by
        // its hash at the first login, as that of every account made before.
        Db::exec(QStringLiteral("INSERT INTO tvr_user (user_name, user_password, "
                                "user_namalengkap, user_date, user_author, user_peran) "
                                "VALUES (?, ?, ?, ?, ?, 1)"),
                 {QStringLiteral("admin"), QStringLiteral("pinus"),
                  QStringLiteral("Administrator"), today, sysadmin});
    tx.commit();
}

} // namespace Schema
