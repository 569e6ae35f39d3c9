#include "SchemaUpgrade.h"

#include "core/Db.h"
#include "core/Regional.h"
#include "core/SalesSummary.h"
#include "core/Schema.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

#include <functional>

#include <unistd.h>

namespace SchemaUpgrade {

namespace {

const QString VersionTable = QStringLiteral("tvr_version");

// An index, trigger or table the schema script makes, as it makes it.
struct Object {
    QString name;
    QString sql;
    // Derived from other tables (the search's trigram table): dropped and made
    // afresh from them when it differs, where a table of its own is never dropped.
    bool derived = false;
};

// SQLite keeps each statement's text as it was written: compare the texts
// without their layout.
QString normalized(QString sql)
{
    sql = sql.simplified();
    static const QRegularExpression afterOpen(QStringLiteral("\\(\\s+"));
    static const QRegularExpression beforeClose(QStringLiteral("\\s+\\)"));
    sql.replace(afterOpen, QStringLiteral("("));
    sql.replace(beforeClose, QStringLiteral(")"));
    return sql;
}

// Makes each object that is missing, and makes afresh each index, trigger or
// derived table whose definition differs from the script's.
void ensureSqlite(const QList<Object>& objects)
{
    for (const Object& o : objects) {
        const RowSet found =
            Db::select(QStringLiteral("SELECT type, sql FROM sqlite_master WHERE name = ?"), {o.name});
        if (!found.isEmpty()) {
            if (normalized(found.value(0, 1).toString()) == normalized(o.sql))
                continue;
            // Indexes, triggers and the derived table hold nothing of their own;
            // any other object of that name is the shop's and stays.
            const QString type = found.value(0, 0).toString();
            const bool remake = type == QLatin1String("index") || type == QLatin1String("trigger") ||
                                (type == QLatin1String("table") && o.derived);
            if (!remake)
                throw DbError(QStringLiteral("Nama %1 sudah dipakai di database untuk %2 lain.")
                                  .arg(o.name, type));
            Db::exec(QStringLiteral("DROP %1 \"%2\"").arg(type.toUpper(), o.name));
        }
        Db::exec(o.sql);
        if (o.derived)
            Db::exec(QStringLiteral("INSERT INTO %1 (%1) VALUES ('rebuild')").arg(o.name));
    }
}

const QString SqliteVersionTable = QStringLiteral(
    "CREATE TABLE tvr_version (\n"
    "    version_nomor      INTEGER PRIMARY KEY,\n"
    "    version_date       VARCHAR(10)  CHECK(length(version_date) <= 10),\n"
    "    version_keterangan VARCHAR(100) CHECK(length(version_keterangan) <= 100)\n"
    ")");

const QString PostgresVersionTable = QStringLiteral(
    "CREATE TABLE tvr_version (\n"
    "    version_nomor      INTEGER PRIMARY KEY,\n"
    "    version_date       VARCHAR(10)  COLLATE \"C\",\n"
    "    version_keterangan VARCHAR(100) COLLATE \"C\"\n"
    ")");

// Version 2: the version table, and on SQLite every index of today's script.
// Databases of the first releases match customer numbers, variant codes and
// bottle types case-sensitively and lack the paging, report, author and search
// indexes and the search's trigram table.
void toVersion2Sqlite()
{
    const QString insertSearch = QStringLiteral(
        "INSERT INTO tvr_zsearch (rowid, cust_nomor, cust_nama, cust_alamat) "
        "VALUES (new.idcust, new.cust_nomor, new.cust_nama, new.cust_alamat)");
    const QString deleteSearch = QStringLiteral(
        "INSERT INTO tvr_zsearch (tvr_zsearch, rowid, cust_nomor, cust_nama, cust_alamat) "
        "VALUES ('delete', old.idcust, old.cust_nomor, old.cust_nama, old.cust_alamat)");
    ensureSqlite({
        {QStringLiteral("ix_customer_nomor"),
         QStringLiteral("CREATE INDEX ix_customer_nomor ON tvr_customer(cust_nomor COLLATE NOCASE)")},
        {QStringLiteral("ix_customer_letter"),
         QStringLiteral("CREATE INDEX ix_customer_letter ON tvr_customer( CASE WHEN "
                        "lower(substr(cust_nama, 1, 1)) BETWEEN 'a' AND 'z' THEN "
                        "lower(substr(cust_nama, 1, 1)) ELSE '.' END, idcust)")},
        {QStringLiteral("ix_dtbotol_tipe"),
         QStringLiteral("CREATE INDEX ix_dtbotol_tipe ON tvr_dtbotol(botol_tipe COLLATE NOCASE)")},
        {QStringLiteral("ix_dtvariant_kode"),
         QStringLiteral(
             "CREATE INDEX ix_dtvariant_kode ON tvr_dtvariant(variant_kode COLLATE NOCASE)")},
        {QStringLiteral("ix_sales_date"),
         QStringLiteral("CREATE INDEX ix_sales_date ON tvr_sales(sales_date)")},
        {QStringLiteral("ix_sales_idcust"),
         QStringLiteral("CREATE INDEX ix_sales_idcust ON tvr_sales(sales_idcust)")},
        {QStringLiteral("ix_sales_idvariant"),
         QStringLiteral("CREATE INDEX ix_sales_idvariant ON tvr_sales(sales_idvariant)")},
        {QStringLiteral("ix_sales_idbotol"),
         QStringLiteral("CREATE INDEX ix_sales_idbotol ON tvr_sales(sales_idbotol)")},
        {QStringLiteral("ix_stock_item"),
         QStringLiteral("CREATE INDEX ix_stock_item ON tvr_stock(stock_name, stock_idname)")},
        {QStringLiteral("ix_user_name"),
         QStringLiteral("CREATE INDEX ix_user_name ON tvr_user(user_name)")},
        {QStringLiteral("ix_sales_author"),
         QStringLiteral("CREATE INDEX ix_sales_author ON tvr_sales(sales_author)")},
        {QStringLiteral("ix_stock_author"),
         QStringLiteral("CREATE INDEX ix_stock_author ON tvr_stock(stock_author)")},
        {QStringLiteral("ix_stock_ledger"),
         QStringLiteral("CREATE INDEX ix_stock_ledger ON tvr_stock(stock_name, stock_idname, "
                        "stock_status, idstock)")},
        {QStringLiteral("ix_sales_report"),
         QStringLiteral("CREATE INDEX ix_sales_report ON tvr_sales(sales_date, sales_mililiter, "
                        "sales_hargadiskon)")},
        {QStringLiteral("ix_customer_nama"),
         QStringLiteral(
             "CREATE INDEX ix_customer_nama ON tvr_customer(cust_nama, ifnull(cust_nomor, ''))")},
        {QStringLiteral("ix_customer_alamat"),
         QStringLiteral("CREATE INDEX ix_customer_alamat ON tvr_customer(cust_alamat)")},
        {QStringLiteral("tvr_zsearch"),
         QStringLiteral("CREATE VIRTUAL TABLE tvr_zsearch USING fts5( cust_nomor, cust_nama, "
                        "cust_alamat, content = 'tvr_customer', content_rowid = 'idcust', "
                        "tokenize = 'trigram' )"),
         true},
        {QStringLiteral("tr_customer_search_insert"),
         QStringLiteral("CREATE TRIGGER tr_customer_search_insert AFTER INSERT ON tvr_customer "
                        "BEGIN %1; END")
             .arg(insertSearch)},
        {QStringLiteral("tr_customer_search_delete"),
         QStringLiteral("CREATE TRIGGER tr_customer_search_delete AFTER DELETE ON tvr_customer "
                        "BEGIN %1; END")
             .arg(deleteSearch)},
        {QStringLiteral("tr_customer_search_update"),
         QStringLiteral("CREATE TRIGGER tr_customer_search_update AFTER UPDATE OF idcust, "
                        "cust_nomor, cust_nama, cust_alamat ON tvr_customer BEGIN %1 ; %2; END")
             .arg(deleteSearch, insertSearch)},
        {VersionTable, SqliteVersionTable},
    });
}

void toVersion2Postgres()
{
    Db::exec(PostgresVersionTable);
}

// Version 3: visits of several items with their payments, and the tills' shifts.
const QList<Object>& visitTablesSqlite()
{
    static const QList<Object> objects = {
        {QStringLiteral("tvr_visit"),
         QStringLiteral(
            "CREATE TABLE tvr_visit (\n"
            "    idvisit          INTEGER PRIMARY KEY AUTOINCREMENT,\n"
            "    visit_idcust     INTEGER,\n"
            "    visit_idshift    INTEGER,\n"
            "    visit_total      DOUBLE,\n"
            "    visit_pembulatan DOUBLE,\n"
            "    visit_bayar      DOUBLE,\n"
            "    visit_date       VARCHAR(10) CHECK(length(visit_date) <= 10),\n"
            "    visit_jam        VARCHAR(8)  CHECK(length(visit_jam) <= 8),\n"
            "    visit_author     VARCHAR(8)  CHECK(length(visit_author) <= 8)\n"
            ")\n")},
        {QStringLiteral("ix_visit_date"),
         QStringLiteral(
            "CREATE INDEX ix_visit_date ON tvr_visit(visit_date)\n")},
        {QStringLiteral("ix_visit_shift"),
         QStringLiteral(
            "CREATE INDEX ix_visit_shift ON tvr_visit(visit_idshift)\n")},
        {QStringLiteral("tvr_visitsales"),
         QStringLiteral(
            "CREATE TABLE tvr_visitsales (\n"
            "    visitsales_idsales INTEGER PRIMARY KEY,\n"
            "    visitsales_idvisit INTEGER\n"
            ")\n")},
        {QStringLiteral("ix_visitsales_visit"),
         QStringLiteral(
            "CREATE INDEX ix_visitsales_visit ON tvr_visitsales(visitsales_idvisit)\n")},
        {QStringLiteral("tvr_payment"),
         QStringLiteral(
            "CREATE TABLE tvr_payment (\n"
            "    idpayment        INTEGER PRIMARY KEY AUTOINCREMENT,\n"
            "    payment_idvisit  INTEGER,\n"
            "    payment_idsales  INTEGER,\n"
            "    payment_idshift  INTEGER,\n"
            "    payment_jenis    SMALLINT DEFAULT 0,\n"
            "    payment_metode   VARCHAR(12) CHECK(length(payment_metode) <= 12),\n"
            "    payment_tunai    SMALLINT DEFAULT 0,\n"
            "    payment_jumlah   DOUBLE,\n"
            "    payment_diterima DOUBLE,\n"
            "    payment_kembali  DOUBLE,\n"
            "    payment_date     VARCHAR(10) CHECK(length(payment_date) <= 10),\n"
            "    payment_jam      VARCHAR(8)  CHECK(length(payment_jam) <= 8),\n"
            "    payment_author   VARCHAR(8)  CHECK(length(payment_author) <= 8)\n"
            ")\n")},
        {QStringLiteral("ix_payment_visit"),
         QStringLiteral(
            "CREATE INDEX ix_payment_visit ON tvr_payment(payment_idvisit)\n")},
        {QStringLiteral("ix_payment_date"),
         QStringLiteral(
            "CREATE INDEX ix_payment_date ON tvr_payment(payment_date, payment_metode)\n")},
        {QStringLiteral("ix_payment_shift"),
         QStringLiteral(
            "CREATE INDEX ix_payment_shift ON tvr_payment(payment_idshift, payment_metode)\n")},
        {QStringLiteral("tvr_shift"),
         QStringLiteral(
            "CREATE TABLE tvr_shift (\n"
            "    idshift            INTEGER PRIMARY KEY AUTOINCREMENT,\n"
            "    shift_kasir        VARCHAR(20)  CHECK(length(shift_kasir) <= 20),\n"
            "    shift_status       SMALLINT DEFAULT 0,\n"
            "    shift_modal        DOUBLE,\n"
            "    shift_buka         VARCHAR(19)  CHECK(length(shift_buka) <= 19),\n"
            "    shift_buka_author  VARCHAR(8)   CHECK(length(shift_buka_author) <= 8),\n"
            "    shift_tutup        VARCHAR(19)  CHECK(length(shift_tutup) <= 19),\n"
            "    shift_tutup_author VARCHAR(8)   CHECK(length(shift_tutup_author) <= 8),\n"
            "    shift_harap        DOUBLE,\n"
            "    shift_hitung       DOUBLE,\n"
            "    shift_selisih      DOUBLE,\n"
            "    shift_pecahan      VARCHAR(200) CHECK(length(shift_pecahan) <= 200)\n"
            ")\n")},
        {QStringLiteral("ix_shift_open"),
         QStringLiteral(
            "CREATE UNIQUE INDEX ix_shift_open ON tvr_shift(shift_kasir) WHERE shift_status = 0\n")},
        {QStringLiteral("ix_shift_buka"),
         QStringLiteral(
            "CREATE INDEX ix_shift_buka ON tvr_shift(shift_buka)\n")},
        {QStringLiteral("tvr_kas"),
         QStringLiteral(
            "CREATE TABLE tvr_kas (\n"
            "    idkas          INTEGER PRIMARY KEY AUTOINCREMENT,\n"
            "    kas_idshift    INTEGER,\n"
            "    kas_jumlah     DOUBLE,\n"
            "    kas_keterangan VARCHAR(100) CHECK(length(kas_keterangan) <= 100),\n"
            "    kas_date       VARCHAR(10)  CHECK(length(kas_date) <= 10),\n"
            "    kas_jam        VARCHAR(8)   CHECK(length(kas_jam) <= 8),\n"
            "    kas_author     VARCHAR(8)   CHECK(length(kas_author) <= 8)\n"
            ")\n")},
        {QStringLiteral("ix_kas_shift"),
         QStringLiteral(
            "CREATE INDEX ix_kas_shift ON tvr_kas(kas_idshift)\n")},
    };
    return objects;
}

const QList<Object>& visitTablesPostgres()
{
    static const QList<Object> objects = {
        {QStringLiteral("tvr_visit"),
         QStringLiteral(
            "CREATE TABLE tvr_visit (\n"
            "    idvisit          INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,\n"
            "    visit_idcust     INTEGER,\n"
            "    visit_idshift    INTEGER,\n"
            "    visit_total      DOUBLE PRECISION,\n"
            "    visit_pembulatan DOUBLE PRECISION,\n"
            "    visit_bayar      DOUBLE PRECISION,\n"
            "    visit_date       VARCHAR(10) COLLATE \"C\",\n"
            "    visit_jam        VARCHAR(8) COLLATE \"C\",\n"
            "    visit_author     VARCHAR(8) COLLATE \"C\"\n"
            ")\n")},
        {QStringLiteral("ix_visit_date"),
         QStringLiteral(
            "CREATE INDEX ix_visit_date ON tvr_visit (visit_date)\n")},
        {QStringLiteral("ix_visit_shift"),
         QStringLiteral(
            "CREATE INDEX ix_visit_shift ON tvr_visit (visit_idshift)\n")},
        {QStringLiteral("tvr_visitsales"),
         QStringLiteral(
            "CREATE TABLE tvr_visitsales (\n"
            "    visitsales_idsales INTEGER PRIMARY KEY,\n"
            "    visitsales_idvisit INTEGER\n"
            ")\n")},
        {QStringLiteral("ix_visitsales_visit"),
         QStringLiteral(
            "CREATE INDEX ix_visitsales_visit ON tvr_visitsales (visitsales_idvisit)\n")},
        {QStringLiteral("tvr_payment"),
         QStringLiteral(
            "CREATE TABLE tvr_payment (\n"
            "    idpayment        INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,\n"
            "    payment_idvisit  INTEGER,\n"
            "    payment_idsales  INTEGER,\n"
            "    payment_idshift  INTEGER,\n"
            "    payment_jenis    SMALLINT DEFAULT 0,\n"
            "    payment_metode   VARCHAR(12) COLLATE \"C\",\n"
            "    payment_tunai    SMALLINT DEFAULT 0,\n"
            "    payment_jumlah   DOUBLE PRECISION,\n"
            "    payment_diterima DOUBLE PRECISION,\n"
            "    payment_kembali  DOUBLE PRECISION,\n"
            "    payment_date     VARCHAR(10) COLLATE \"C\",\n"
            "    payment_jam      VARCHAR(8) COLLATE \"C\",\n"
            "    payment_author   VARCHAR(8) COLLATE \"C\"\n"
            ")\n")},
        {QStringLiteral("ix_payment_visit"),
         QStringLiteral(
            "CREATE INDEX ix_payment_visit ON tvr_payment (payment_idvisit)\n")},
        {QStringLiteral("ix_payment_date"),
         QStringLiteral(
            "CREATE INDEX ix_payment_date ON tvr_payment (payment_date, payment_metode)\n")},
        {QStringLiteral("ix_payment_shift"),
         QStringLiteral(
            "CREATE INDEX ix_payment_shift ON tvr_payment (payment_idshift, payment_metode)\n")},
        {QStringLiteral("tvr_shift"),
         QStringLiteral(
            "CREATE TABLE tvr_shift (\n"
            "    idshift            INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,\n"
            "    shift_kasir        VARCHAR(20) COLLATE \"C\",\n"
            "    shift_status       SMALLINT DEFAULT 0,\n"
            "    shift_modal        DOUBLE PRECISION,\n"
            "    shift_buka         VARCHAR(19) COLLATE \"C\",\n"
            "    shift_buka_author  VARCHAR(8) COLLATE \"C\",\n"
            "    shift_tutup        VARCHAR(19) COLLATE \"C\",\n"
            "    shift_tutup_author VARCHAR(8) COLLATE \"C\",\n"
            "    shift_harap        DOUBLE PRECISION,\n"
            "    shift_hitung       DOUBLE PRECISION,\n"
            "    shift_selisih      DOUBLE PRECISION,\n"
            "    shift_pecahan      VARCHAR(200) COLLATE \"C\"\n"
            ")\n")},
        {QStringLiteral("ix_shift_open"),
         QStringLiteral(
            "CREATE UNIQUE INDEX ix_shift_open ON tvr_shift (shift_kasir) WHERE shift_status = 0\n")},
        {QStringLiteral("ix_shift_buka"),
         QStringLiteral(
            "CREATE INDEX ix_shift_buka ON tvr_shift (shift_buka)\n")},
        {QStringLiteral("tvr_kas"),
         QStringLiteral(
            "CREATE TABLE tvr_kas (\n"
            "    idkas          INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,\n"
            "    kas_idshift    INTEGER,\n"
            "    kas_jumlah     DOUBLE PRECISION,\n"
            "    kas_keterangan VARCHAR(100) COLLATE \"C\",\n"
            "    kas_date       VARCHAR(10) COLLATE \"C\",\n"
            "    kas_jam        VARCHAR(8) COLLATE \"C\",\n"
            "    kas_author     VARCHAR(8) COLLATE \"C\"\n"
            ")\n")},
        {QStringLiteral("ix_kas_shift"),
         QStringLiteral(
            "CREATE INDEX ix_kas_shift ON tvr_kas (kas_idshift)\n")},
    };
    return objects;
}

void toVersion3Sqlite()
{
    ensureSqlite(visitTablesSqlite());
}

void toVersion3Postgres()
{
    for (const Object& o : visitTablesPostgres())
        Db::exec(o.sql);
}


// Version 4: each account's role and password hash, and the trail of changes.
// Every account made before keeps every right it had: it becomes an owner.
const QStringList& userColumnsSqlite()
{
    static const QStringList sql = {
        QStringLiteral("ALTER TABLE tvr_user ADD COLUMN user_peran SMALLINT DEFAULT 0"),
        QStringLiteral("ALTER TABLE tvr_user ADD COLUMN user_hash VARCHAR(128) "
                       "CHECK(length(user_hash) <= 128)"),
        QStringLiteral("UPDATE tvr_user SET user_peran = 1"),
    };
    return sql;
}

const QStringList& userColumnsPostgres()
{
    static const QStringList sql = {
        QStringLiteral("ALTER TABLE tvr_user ADD COLUMN user_peran SMALLINT DEFAULT 0"),
        QStringLiteral("ALTER TABLE tvr_user ADD COLUMN user_hash VARCHAR(128) COLLATE \"C\""),
        QStringLiteral("UPDATE tvr_user SET user_peran = 1"),
    };
    return sql;
}

const QList<Object>& trailTablesSqlite()
{
    static const QList<Object> objects = {
        {QStringLiteral("tvr_jejak"),
         QStringLiteral(R"sql(CREATE TABLE tvr_jejak (
    idjejak       INTEGER PRIMARY KEY AUTOINCREMENT,
    jejak_waktu   VARCHAR(19)   CHECK(length(jejak_waktu) <= 19),
    jejak_author  VARCHAR(8)    CHECK(length(jejak_author) <= 8),
    jejak_izin    VARCHAR(8)    CHECK(length(jejak_izin) <= 8),
    jejak_kasir   VARCHAR(20)   CHECK(length(jejak_kasir) <= 20),
    jejak_jenis   VARCHAR(20)   CHECK(length(jejak_jenis) <= 20),
    jejak_objek   VARCHAR(60)   CHECK(length(jejak_objek) <= 60),
    jejak_sebelum VARCHAR(1000) CHECK(length(jejak_sebelum) <= 1000),
    jejak_sesudah VARCHAR(1000) CHECK(length(jejak_sesudah) <= 1000),
    jejak_alasan  VARCHAR(100)  CHECK(length(jejak_alasan) <= 100)
))sql")},
        {QStringLiteral("ix_jejak_waktu"),
         QStringLiteral(R"sql(CREATE INDEX ix_jejak_waktu ON tvr_jejak(jejak_waktu))sql")},
        {QStringLiteral("ix_jejak_author"),
         QStringLiteral(R"sql(CREATE INDEX ix_jejak_author ON tvr_jejak(jejak_author, jejak_waktu))sql")},
        {QStringLiteral("ix_jejak_jenis"),
         QStringLiteral(R"sql(CREATE INDEX ix_jejak_jenis ON tvr_jejak(jejak_jenis, jejak_waktu))sql")},
        {QStringLiteral("tr_jejak_update"),
         QStringLiteral(R"sql(CREATE TRIGGER tr_jejak_update BEFORE UPDATE ON tvr_jejak BEGIN
    SELECT RAISE(ABORT, 'Jejak perubahan tidak dapat diubah'); END)sql")},
        {QStringLiteral("tr_jejak_delete"),
         QStringLiteral(R"sql(CREATE TRIGGER tr_jejak_delete BEFORE DELETE ON tvr_jejak BEGIN
    SELECT RAISE(ABORT, 'Jejak perubahan tidak dapat dihapus'); END)sql")},
    };
    return objects;
}

const QList<Object>& trailTablesPostgres()
{
    static const QList<Object> objects = {
        {QStringLiteral("tvr_jejak"),
         QStringLiteral(R"sql(CREATE TABLE tvr_jejak (
    idjejak       INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
    jejak_waktu   VARCHAR(19)   COLLATE "C",
    jejak_author  VARCHAR(8)    COLLATE "C",
    jejak_izin    VARCHAR(8)    COLLATE "C",
    jejak_kasir   VARCHAR(20)   COLLATE "C",
    jejak_jenis   VARCHAR(20)   COLLATE "C",
    jejak_objek   VARCHAR(60)   COLLATE "C",
    jejak_sebelum VARCHAR(1000) COLLATE "C",
    jejak_sesudah VARCHAR(1000) COLLATE "C",
    jejak_alasan  VARCHAR(100)  COLLATE "C"
))sql")},
        {QStringLiteral("ix_jejak_waktu"),
         QStringLiteral(R"sql(CREATE INDEX ix_jejak_waktu ON tvr_jejak (jejak_waktu))sql")},
        {QStringLiteral("ix_jejak_author"),
         QStringLiteral(R"sql(CREATE INDEX ix_jejak_author ON tvr_jejak (jejak_author, jejak_waktu))sql")},
        {QStringLiteral("ix_jejak_jenis"),
         QStringLiteral(R"sql(CREATE INDEX ix_jejak_jenis ON tvr_jejak (jejak_jenis, jejak_waktu))sql")},
        {QStringLiteral("tvr_jejak_tetap"),
         QStringLiteral(R"sql(CREATE FUNCTION tvr_jejak_tetap() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN RAISE EXCEPTION 'Jejak perubahan tidak dapat diubah atau dihapus'; END $$)sql")},
        {QStringLiteral("tr_jejak_tetap"),
         QStringLiteral(R"sql(CREATE TRIGGER tr_jejak_tetap BEFORE UPDATE OR DELETE ON tvr_jejak
FOR EACH ROW EXECUTE FUNCTION tvr_jejak_tetap())sql")},
    };
    return objects;
}

void toVersion4Sqlite()
{
    for (const QString& sql : userColumnsSqlite())
        Db::exec(sql);
    ensureSqlite(trailTablesSqlite());
}

void toVersion4Postgres()
{
    for (const QString& sql : userColumnsPostgres())
        Db::exec(sql);
    for (const Object& o : trailTablesPostgres())
        Db::exec(o.sql);
}

// Version 5: cost prices and minimum stock of the registers, the cost of each
// sale at the time it was made (unknown, NULL, for the sales made before), and
// the sales totals kept in step with every write.
QStringList costColumns(const QString& doubleType)
{
    QStringList sql;
    for (const char* column :
         {"tvr_dtbotol ADD COLUMN botol_pokok %1 DEFAULT 0",
          "tvr_dtbotol ADD COLUMN botol_minimum %1 DEFAULT 0",
          "tvr_dtvariant ADD COLUMN variant_pokok %1 DEFAULT 0",
          "tvr_dtvariant ADD COLUMN variant_minimum %1 DEFAULT 0",
          "tvr_sales ADD COLUMN sales_pokokvariant %1", "tvr_sales ADD COLUMN sales_pokokbotol %1",
          "tvr_sales ADD COLUMN sales_pokok %1"})
        sql << QStringLiteral("ALTER TABLE ") + QString::fromLatin1(column).arg(doubleType);
    return sql;
}

const QList<Object>& summaryTablesSqlite()
{
    static const QList<Object> objects = {
        {QStringLiteral("tvr_ringkasan"),
         QStringLiteral(R"sql(CREATE TABLE tvr_ringkasan (
    ringkasan_jenis   SMALLINT,
    ringkasan_satuan  SMALLINT,
    ringkasan_periode VARCHAR(10),
    ringkasan_kunci   INTEGER,
    ringkasan_author  VARCHAR(8),
    ringkasan_jumlah  INTEGER,
    ringkasan_ml      DOUBLE,
    ringkasan_harga   DOUBLE,
    ringkasan_total   DOUBLE,
    ringkasan_pokok   DOUBLE,
    PRIMARY KEY (ringkasan_jenis, ringkasan_satuan, ringkasan_periode, ringkasan_kunci,
                 ringkasan_author)
) WITHOUT ROWID)sql")},
        {QStringLiteral("tr_sales_summary_insert"),
         QStringLiteral(R"sql(CREATE TRIGGER tr_sales_summary_insert AFTER INSERT ON tvr_sales BEGIN
    INSERT INTO tvr_ringkasan (ringkasan_jenis, ringkasan_satuan, ringkasan_periode,
        ringkasan_kunci, ringkasan_author, ringkasan_jumlah, ringkasan_ml,
        ringkasan_harga, ringkasan_total, ringkasan_pokok)
    SELECT j, s, p, k, a, 1, coalesce(new.sales_mililiter, 0),
        coalesce(new.sales_hargatotal, 0), coalesce(new.sales_hargadiskon, 0),
        coalesce(new.sales_pokok, 0)
    FROM (
        SELECT 0 AS j, 0 AS s, coalesce(new.sales_date, '') AS p, 0 AS k, '' AS a
        UNION ALL SELECT 0, 1, substr(coalesce(new.sales_date, ''), 1, 7), 0, ''
        UNION ALL SELECT 0, 2, substr(coalesce(new.sales_date, ''), 1, 4), 0, ''
        UNION ALL SELECT 1, 0, coalesce(new.sales_date, ''), coalesce(new.sales_idvariant, 0), ''
        UNION ALL SELECT 1, 1, substr(coalesce(new.sales_date, ''), 1, 7), coalesce(new.sales_idvariant, 0), ''
        UNION ALL SELECT 1, 2, substr(coalesce(new.sales_date, ''), 1, 4), coalesce(new.sales_idvariant, 0), ''
        UNION ALL SELECT 2, 0, coalesce(new.sales_date, ''), coalesce(new.sales_idbotol, 0), ''
        UNION ALL SELECT 2, 1, substr(coalesce(new.sales_date, ''), 1, 7), coalesce(new.sales_idbotol, 0), ''
        UNION ALL SELECT 2, 2, substr(coalesce(new.sales_date, ''), 1, 4), coalesce(new.sales_idbotol, 0), ''
        UNION ALL SELECT 3, 0, coalesce(new.sales_date, ''), 0, coalesce(new.sales_author, '')
        UNION ALL SELECT 3, 1, substr(coalesce(new.sales_date, ''), 1, 7), 0, coalesce(new.sales_author, '')
        UNION ALL SELECT 3, 2, substr(coalesce(new.sales_date, ''), 1, 4), 0, coalesce(new.sales_author, '')
        UNION ALL SELECT 4, 1, substr(coalesce(new.sales_date, ''), 1, 7), coalesce(new.sales_idcust, 0), ''
        UNION ALL SELECT 4, 2, substr(coalesce(new.sales_date, ''), 1, 4), coalesce(new.sales_idcust, 0), ''
    ) AS x WHERE true
    ON CONFLICT (ringkasan_jenis, ringkasan_satuan, ringkasan_periode, ringkasan_kunci,
        ringkasan_author) DO UPDATE SET
        ringkasan_jumlah = tvr_ringkasan.ringkasan_jumlah + excluded.ringkasan_jumlah,
        ringkasan_ml = tvr_ringkasan.ringkasan_ml + excluded.ringkasan_ml,
        ringkasan_harga = tvr_ringkasan.ringkasan_harga + excluded.ringkasan_harga,
        ringkasan_total = tvr_ringkasan.ringkasan_total + excluded.ringkasan_total,
        ringkasan_pokok = tvr_ringkasan.ringkasan_pokok + excluded.ringkasan_pokok; END)sql")},
        {QStringLiteral("tr_sales_summary_delete"),
         QStringLiteral(R"sql(CREATE TRIGGER tr_sales_summary_delete AFTER DELETE ON tvr_sales BEGIN
    INSERT INTO tvr_ringkasan (ringkasan_jenis, ringkasan_satuan, ringkasan_periode,
        ringkasan_kunci, ringkasan_author, ringkasan_jumlah, ringkasan_ml,
        ringkasan_harga, ringkasan_total, ringkasan_pokok)
    SELECT j, s, p, k, a, -1, -coalesce(old.sales_mililiter, 0),
        -coalesce(old.sales_hargatotal, 0), -coalesce(old.sales_hargadiskon, 0),
        -coalesce(old.sales_pokok, 0)
    FROM (
        SELECT 0 AS j, 0 AS s, coalesce(old.sales_date, '') AS p, 0 AS k, '' AS a
        UNION ALL SELECT 0, 1, substr(coalesce(old.sales_date, ''), 1, 7), 0, ''
        UNION ALL SELECT 0, 2, substr(coalesce(old.sales_date, ''), 1, 4), 0, ''
        UNION ALL SELECT 1, 0, coalesce(old.sales_date, ''), coalesce(old.sales_idvariant, 0), ''
        UNION ALL SELECT 1, 1, substr(coalesce(old.sales_date, ''), 1, 7), coalesce(old.sales_idvariant, 0), ''
        UNION ALL SELECT 1, 2, substr(coalesce(old.sales_date, ''), 1, 4), coalesce(old.sales_idvariant, 0), ''
        UNION ALL SELECT 2, 0, coalesce(old.sales_date, ''), coalesce(old.sales_idbotol, 0), ''
        UNION ALL SELECT 2, 1, substr(coalesce(old.sales_date, ''), 1, 7), coalesce(old.sales_idbotol, 0), ''
        UNION ALL SELECT 2, 2, substr(coalesce(old.sales_date, ''), 1, 4), coalesce(old.sales_idbotol, 0), ''
        UNION ALL SELECT 3, 0, coalesce(old.sales_date, ''), 0, coalesce(old.sales_author, '')
        UNION ALL SELECT 3, 1, substr(coalesce(old.sales_date, ''), 1, 7), 0, coalesce(old.sales_author, '')
        UNION ALL SELECT 3, 2, substr(coalesce(old.sales_date, ''), 1, 4), 0, coalesce(old.sales_author, '')
        UNION ALL SELECT 4, 1, substr(coalesce(old.sales_date, ''), 1, 7), coalesce(old.sales_idcust, 0), ''
        UNION ALL SELECT 4, 2, substr(coalesce(old.sales_date, ''), 1, 4), coalesce(old.sales_idcust, 0), ''
    ) AS x WHERE true
    ON CONFLICT (ringkasan_jenis, ringkasan_satuan, ringkasan_periode, ringkasan_kunci,
        ringkasan_author) DO UPDATE SET
        ringkasan_jumlah = tvr_ringkasan.ringkasan_jumlah + excluded.ringkasan_jumlah,
        ringkasan_ml = tvr_ringkasan.ringkasan_ml + excluded.ringkasan_ml,
        ringkasan_harga = tvr_ringkasan.ringkasan_harga + excluded.ringkasan_harga,
        ringkasan_total = tvr_ringkasan.ringkasan_total + excluded.ringkasan_total,
        ringkasan_pokok = tvr_ringkasan.ringkasan_pokok + excluded.ringkasan_pokok; END)sql")},
        {QStringLiteral("tr_sales_summary_update"),
         QStringLiteral(R"sql(CREATE TRIGGER tr_sales_summary_update
AFTER UPDATE OF sales_idcust, sales_idvariant, sales_idbotol, sales_mililiter, sales_hargatotal,
    sales_hargadiskon, sales_date, sales_author, sales_pokok ON tvr_sales BEGIN
    INSERT INTO tvr_ringkasan (ringkasan_jenis, ringkasan_satuan, ringkasan_periode,
        ringkasan_kunci, ringkasan_author, ringkasan_jumlah, ringkasan_ml,
        ringkasan_harga, ringkasan_total, ringkasan_pokok)
    SELECT j, s, p, k, a, -1, -coalesce(old.sales_mililiter, 0),
        -coalesce(old.sales_hargatotal, 0), -coalesce(old.sales_hargadiskon, 0),
        -coalesce(old.sales_pokok, 0)
    FROM (
        SELECT 0 AS j, 0 AS s, coalesce(old.sales_date, '') AS p, 0 AS k, '' AS a
        UNION ALL SELECT 0, 1, substr(coalesce(old.sales_date, ''), 1, 7), 0, ''
        UNION ALL SELECT 0, 2, substr(coalesce(old.sales_date, ''), 1, 4), 0, ''
        UNION ALL SELECT 1, 0, coalesce(old.sales_date, ''), coalesce(old.sales_idvariant, 0), ''
        UNION ALL SELECT 1, 1, substr(coalesce(old.sales_date, ''), 1, 7), coalesce(old.sales_idvariant, 0), ''
        UNION ALL SELECT 1, 2, substr(coalesce(old.sales_date, ''), 1, 4), coalesce(old.sales_idvariant, 0), ''
        UNION ALL SELECT 2, 0, coalesce(old.sales_date, ''), coalesce(old.sales_idbotol, 0), ''
        UNION ALL SELECT 2, 1, substr(coalesce(old.sales_date, ''), 1, 7), coalesce(old.sales_idbotol, 0), ''
        UNION ALL SELECT 2, 2, substr(coalesce(old.sales_date, ''), 1, 4), coalesce(old.sales_idbotol, 0), ''
        UNION ALL SELECT 3, 0, coalesce(old.sales_date, ''), 0, coalesce(old.sales_author, '')
        UNION ALL SELECT 3, 1, substr(coalesce(old.sales_date, ''), 1, 7), 0, coalesce(old.sales_author, '')
        UNION ALL SELECT 3, 2, substr(coalesce(old.sales_date, ''), 1, 4), 0, coalesce(old.sales_author, '')
        UNION ALL SELECT 4, 1, substr(coalesce(old.sales_date, ''), 1, 7), coalesce(old.sales_idcust, 0), ''
        UNION ALL SELECT 4, 2, substr(coalesce(old.sales_date, ''), 1, 4), coalesce(old.sales_idcust, 0), ''
    ) AS x WHERE true
    ON CONFLICT (ringkasan_jenis, ringkasan_satuan, ringkasan_periode, ringkasan_kunci,
        ringkasan_author) DO UPDATE SET
        ringkasan_jumlah = tvr_ringkasan.ringkasan_jumlah + excluded.ringkasan_jumlah,
        ringkasan_ml = tvr_ringkasan.ringkasan_ml + excluded.ringkasan_ml,
        ringkasan_harga = tvr_ringkasan.ringkasan_harga + excluded.ringkasan_harga,
        ringkasan_total = tvr_ringkasan.ringkasan_total + excluded.ringkasan_total,
        ringkasan_pokok = tvr_ringkasan.ringkasan_pokok + excluded.ringkasan_pokok
    ; INSERT INTO tvr_ringkasan (ringkasan_jenis, ringkasan_satuan, ringkasan_periode,
        ringkasan_kunci, ringkasan_author, ringkasan_jumlah, ringkasan_ml,
        ringkasan_harga, ringkasan_total, ringkasan_pokok)
    SELECT j, s, p, k, a, 1, coalesce(new.sales_mililiter, 0),
        coalesce(new.sales_hargatotal, 0), coalesce(new.sales_hargadiskon, 0),
        coalesce(new.sales_pokok, 0)
    FROM (
        SELECT 0 AS j, 0 AS s, coalesce(new.sales_date, '') AS p, 0 AS k, '' AS a
        UNION ALL SELECT 0, 1, substr(coalesce(new.sales_date, ''), 1, 7), 0, ''
        UNION ALL SELECT 0, 2, substr(coalesce(new.sales_date, ''), 1, 4), 0, ''
        UNION ALL SELECT 1, 0, coalesce(new.sales_date, ''), coalesce(new.sales_idvariant, 0), ''
        UNION ALL SELECT 1, 1, substr(coalesce(new.sales_date, ''), 1, 7), coalesce(new.sales_idvariant, 0), ''
        UNION ALL SELECT 1, 2, substr(coalesce(new.sales_date, ''), 1, 4), coalesce(new.sales_idvariant, 0), ''
        UNION ALL SELECT 2, 0, coalesce(new.sales_date, ''), coalesce(new.sales_idbotol, 0), ''
        UNION ALL SELECT 2, 1, substr(coalesce(new.sales_date, ''), 1, 7), coalesce(new.sales_idbotol, 0), ''
        UNION ALL SELECT 2, 2, substr(coalesce(new.sales_date, ''), 1, 4), coalesce(new.sales_idbotol, 0), ''
        UNION ALL SELECT 3, 0, coalesce(new.sales_date, ''), 0, coalesce(new.sales_author, '')
        UNION ALL SELECT 3, 1, substr(coalesce(new.sales_date, ''), 1, 7), 0, coalesce(new.sales_author, '')
        UNION ALL SELECT 3, 2, substr(coalesce(new.sales_date, ''), 1, 4), 0, coalesce(new.sales_author, '')
        UNION ALL SELECT 4, 1, substr(coalesce(new.sales_date, ''), 1, 7), coalesce(new.sales_idcust, 0), ''
        UNION ALL SELECT 4, 2, substr(coalesce(new.sales_date, ''), 1, 4), coalesce(new.sales_idcust, 0), ''
    ) AS x WHERE true
    ON CONFLICT (ringkasan_jenis, ringkasan_satuan, ringkasan_periode, ringkasan_kunci,
        ringkasan_author) DO UPDATE SET
        ringkasan_jumlah = tvr_ringkasan.ringkasan_jumlah + excluded.ringkasan_jumlah,
        ringkasan_ml = tvr_ringkasan.ringkasan_ml + excluded.ringkasan_ml,
        ringkasan_harga = tvr_ringkasan.ringkasan_harga + excluded.ringkasan_harga,
        ringkasan_total = tvr_ringkasan.ringkasan_total + excluded.ringkasan_total,
        ringkasan_pokok = tvr_ringkasan.ringkasan_pokok + excluded.ringkasan_pokok; END)sql")},
    };
    return objects;
}

const QList<Object>& summaryTablesPostgres()
{
    static const QList<Object> objects = {
        {QStringLiteral("tvr_ringkasan"),
         QStringLiteral(R"sql(CREATE TABLE tvr_ringkasan (
    ringkasan_jenis   SMALLINT,
    ringkasan_satuan  SMALLINT,
    ringkasan_periode VARCHAR(10) COLLATE "C",
    ringkasan_kunci   INTEGER,
    ringkasan_author  VARCHAR(8) COLLATE "C",
    ringkasan_jumlah  INTEGER,
    ringkasan_ml      DOUBLE PRECISION,
    ringkasan_harga   DOUBLE PRECISION,
    ringkasan_total   DOUBLE PRECISION,
    ringkasan_pokok   DOUBLE PRECISION,
    PRIMARY KEY (ringkasan_jenis, ringkasan_satuan, ringkasan_periode, ringkasan_kunci,
                 ringkasan_author)
))sql")},
        {QStringLiteral("tvr_sales_summary"),
         QStringLiteral(R"sql(CREATE FUNCTION tvr_sales_summary() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN IF TG_OP <> 'INSERT' THEN
    INSERT INTO tvr_ringkasan (ringkasan_jenis, ringkasan_satuan, ringkasan_periode,
        ringkasan_kunci, ringkasan_author, ringkasan_jumlah, ringkasan_ml,
        ringkasan_harga, ringkasan_total, ringkasan_pokok)
    SELECT j, s, p, k, a, -1, -coalesce(OLD.sales_mililiter, 0),
        -coalesce(OLD.sales_hargatotal, 0), -coalesce(OLD.sales_hargadiskon, 0),
        -coalesce(OLD.sales_pokok, 0)
    FROM (
        SELECT 0 AS j, 0 AS s, coalesce(OLD.sales_date, '') AS p, 0 AS k, '' AS a
        UNION ALL SELECT 0, 1, substr(coalesce(OLD.sales_date, ''), 1, 7), 0, ''
        UNION ALL SELECT 0, 2, substr(coalesce(OLD.sales_date, ''), 1, 4), 0, ''
        UNION ALL SELECT 1, 0, coalesce(OLD.sales_date, ''), coalesce(OLD.sales_idvariant, 0), ''
        UNION ALL SELECT 1, 1, substr(coalesce(OLD.sales_date, ''), 1, 7), coalesce(OLD.sales_idvariant, 0), ''
        UNION ALL SELECT 1, 2, substr(coalesce(OLD.sales_date, ''), 1, 4), coalesce(OLD.sales_idvariant, 0), ''
        UNION ALL SELECT 2, 0, coalesce(OLD.sales_date, ''), coalesce(OLD.sales_idbotol, 0), ''
        UNION ALL SELECT 2, 1, substr(coalesce(OLD.sales_date, ''), 1, 7), coalesce(OLD.sales_idbotol, 0), ''
        UNION ALL SELECT 2, 2, substr(coalesce(OLD.sales_date, ''), 1, 4), coalesce(OLD.sales_idbotol, 0), ''
        UNION ALL SELECT 3, 0, coalesce(OLD.sales_date, ''), 0, coalesce(OLD.sales_author, '')
        UNION ALL SELECT 3, 1, substr(coalesce(OLD.sales_date, ''), 1, 7), 0, coalesce(OLD.sales_author, '')
        UNION ALL SELECT 3, 2, substr(coalesce(OLD.sales_date, ''), 1, 4), 0, coalesce(OLD.sales_author, '')
        UNION ALL SELECT 4, 1, substr(coalesce(OLD.sales_date, ''), 1, 7), coalesce(OLD.sales_idcust, 0), ''
        UNION ALL SELECT 4, 2, substr(coalesce(OLD.sales_date, ''), 1, 4), coalesce(OLD.sales_idcust, 0), ''
    ) AS x WHERE true
    ON CONFLICT (ringkasan_jenis, ringkasan_satuan, ringkasan_periode, ringkasan_kunci,
        ringkasan_author) DO UPDATE SET
        ringkasan_jumlah = tvr_ringkasan.ringkasan_jumlah + excluded.ringkasan_jumlah,
        ringkasan_ml = tvr_ringkasan.ringkasan_ml + excluded.ringkasan_ml,
        ringkasan_harga = tvr_ringkasan.ringkasan_harga + excluded.ringkasan_harga,
        ringkasan_total = tvr_ringkasan.ringkasan_total + excluded.ringkasan_total,
        ringkasan_pokok = tvr_ringkasan.ringkasan_pokok + excluded.ringkasan_pokok; END IF; IF TG_OP <> 'DELETE' THEN
    INSERT INTO tvr_ringkasan (ringkasan_jenis, ringkasan_satuan, ringkasan_periode,
        ringkasan_kunci, ringkasan_author, ringkasan_jumlah, ringkasan_ml,
        ringkasan_harga, ringkasan_total, ringkasan_pokok)
    SELECT j, s, p, k, a, 1, coalesce(NEW.sales_mililiter, 0),
        coalesce(NEW.sales_hargatotal, 0), coalesce(NEW.sales_hargadiskon, 0),
        coalesce(NEW.sales_pokok, 0)
    FROM (
        SELECT 0 AS j, 0 AS s, coalesce(NEW.sales_date, '') AS p, 0 AS k, '' AS a
        UNION ALL SELECT 0, 1, substr(coalesce(NEW.sales_date, ''), 1, 7), 0, ''
        UNION ALL SELECT 0, 2, substr(coalesce(NEW.sales_date, ''), 1, 4), 0, ''
        UNION ALL SELECT 1, 0, coalesce(NEW.sales_date, ''), coalesce(NEW.sales_idvariant, 0), ''
        UNION ALL SELECT 1, 1, substr(coalesce(NEW.sales_date, ''), 1, 7), coalesce(NEW.sales_idvariant, 0), ''
        UNION ALL SELECT 1, 2, substr(coalesce(NEW.sales_date, ''), 1, 4), coalesce(NEW.sales_idvariant, 0), ''
        UNION ALL SELECT 2, 0, coalesce(NEW.sales_date, ''), coalesce(NEW.sales_idbotol, 0), ''
        UNION ALL SELECT 2, 1, substr(coalesce(NEW.sales_date, ''), 1, 7), coalesce(NEW.sales_idbotol, 0), ''
        UNION ALL SELECT 2, 2, substr(coalesce(NEW.sales_date, ''), 1, 4), coalesce(NEW.sales_idbotol, 0), ''
        UNION ALL SELECT 3, 0, coalesce(NEW.sales_date, ''), 0, coalesce(NEW.sales_author, '')
        UNION ALL SELECT 3, 1, substr(coalesce(NEW.sales_date, ''), 1, 7), 0, coalesce(NEW.sales_author, '')
        UNION ALL SELECT 3, 2, substr(coalesce(NEW.sales_date, ''), 1, 4), 0, coalesce(NEW.sales_author, '')
        UNION ALL SELECT 4, 1, substr(coalesce(NEW.sales_date, ''), 1, 7), coalesce(NEW.sales_idcust, 0), ''
        UNION ALL SELECT 4, 2, substr(coalesce(NEW.sales_date, ''), 1, 4), coalesce(NEW.sales_idcust, 0), ''
    ) AS x WHERE true
    ON CONFLICT (ringkasan_jenis, ringkasan_satuan, ringkasan_periode, ringkasan_kunci,
        ringkasan_author) DO UPDATE SET
        ringkasan_jumlah = tvr_ringkasan.ringkasan_jumlah + excluded.ringkasan_jumlah,
        ringkasan_ml = tvr_ringkasan.ringkasan_ml + excluded.ringkasan_ml,
        ringkasan_harga = tvr_ringkasan.ringkasan_harga + excluded.ringkasan_harga,
        ringkasan_total = tvr_ringkasan.ringkasan_total + excluded.ringkasan_total,
        ringkasan_pokok = tvr_ringkasan.ringkasan_pokok + excluded.ringkasan_pokok; END IF; RETURN NULL; END $$)sql")},
        {QStringLiteral("tr_sales_summary"),
         QStringLiteral(R"sql(CREATE TRIGGER tr_sales_summary
AFTER INSERT OR DELETE OR UPDATE OF sales_idcust, sales_idvariant, sales_idbotol, sales_mililiter, sales_hargatotal,
    sales_hargadiskon, sales_date, sales_author, sales_pokok
ON tvr_sales FOR EACH ROW EXECUTE FUNCTION tvr_sales_summary())sql")},
    };
    return objects;
}

void toVersion5Sqlite()
{
    for (const QString& sql : costColumns(QStringLiteral("DOUBLE")))
        Db::exec(sql);
    ensureSqlite(summaryTablesSqlite());
    SalesSummary::rebuild();
}

void toVersion5Postgres()
{
    for (const QString& sql : costColumns(QStringLiteral("DOUBLE PRECISION")))
        Db::exec(sql);
    for (const Object& o : summaryTablesPostgres())
        Db::exec(o.sql);
    SalesSummary::rebuild();
}

// Version 6: indexes that give the customer search by number and (on a
// server) the till's day list their order, so a page reads only its rows.
void toVersion6Sqlite()
{
    ensureSqlite({{QStringLiteral("ix_customer_nomor_urut"),
                   QStringLiteral("CREATE INDEX ix_customer_nomor_urut ON tvr_customer(cust_nomor)")}});
}

void toVersion6Postgres()
{
    Db::exec(QStringLiteral("CREATE INDEX ix_customer_nomor_urut ON tvr_customer (cust_nomor, idcust)"));
    Db::exec(QStringLiteral("CREATE INDEX ix_sales_day ON tvr_sales (sales_date, idsales)"));
}

// Version 7: the customers' totals of a month or a year in takings order, so
// the largest customers of a period are read from the start of an index
// instead of sorting every customer of it.
const QString CustomerTakingsIndex = QStringLiteral(
    "CREATE INDEX ix_ringkasan_urut ON tvr_ringkasan (ringkasan_satuan, ringkasan_periode, "
    "ringkasan_total DESC, ringkasan_kunci) WHERE ringkasan_jenis = 4");

void toVersion7Sqlite()
{
    ensureSqlite({{QStringLiteral("ix_ringkasan_urut"), CustomerTakingsIndex}});
}

void toVersion7Postgres()
{
    Db::exec(CustomerTakingsIndex);
}

struct Step {
    int version;
    QString note;
    std::function<void()> sqlite;
    std::function<void()> postgres;
};

// Every step in order; a step runs once, on a database of the version before it.
const QList<Step>& steps()
{
    static const QList<Step> list = {
        {2, QStringLiteral("Nomor versi skema; indeks kunci tanpa beda huruf besar-kecil dan "
                           "indeks pencarian"),
         toVersion2Sqlite, toVersion2Postgres},
        {3, QStringLiteral("Kunjungan, pembayaran dan shift kasir"), toVersion3Sqlite,
         toVersion3Postgres},
        {4, QStringLiteral("Hak pemilik dan kasir, sandi tersandi, jejak perubahan"),
         toVersion4Sqlite, toVersion4Postgres},
        {5, QStringLiteral("Harga pokok, stok minimum dan ringkasan penjualan"), toVersion5Sqlite,
         toVersion5Postgres},
        {6, QStringLiteral("Indeks urutan nomor pelanggan dan daftar penjualan harian"),
         toVersion6Sqlite, toVersion6Postgres},
        {7, QStringLiteral("Indeks urutan penjualan per pelanggan"), toVersion7Sqlite,
         toVersion7Postgres},
    };
    return list;
}

QString sqliteFile()
{
    return QUrl(Db::connection().databaseName().section(QLatin1Char('?'), 0, 0)).toLocalFile();
}

// SQLite writes its own consistent copy; it is flushed to the disk before the
// upgrade begins, so a power cut during the upgrade cannot take both.
void keepCopy(const QString& path)
{
    Db::exec(QStringLiteral("VACUUM INTO ?"), {path});
    QFile copy(path);
    if (!copy.open(QIODevice::ReadOnly) || ::fsync(copy.handle()) != 0)
        throw DbError(QStringLiteral("Salinan %1 tidak dapat disimpan ke disk.").arg(path));
}

} // namespace

const QStringList& addedTables()
{
    static const QStringList tables = {
        VersionTable,
        QStringLiteral("tvr_jejak"),
        QStringLiteral("tvr_kas"),
        QStringLiteral("tvr_payment"),
        QStringLiteral("tvr_ringkasan"),
        QStringLiteral("tvr_shift"),
        QStringLiteral("tvr_visit"),
        QStringLiteral("tvr_visitsales")};
    return tables;
}

int version()
{
    if (!Schema::listTables(Db::connection()).contains(VersionTable))
        return UnversionedVersion;
    const QVariant v = Db::scalar(QStringLiteral("SELECT MAX(version_nomor) FROM tvr_version"));
    return v.isNull() ? UnversionedVersion : v.toInt();
}

QString refusal(int version)
{
    if (version <= CurrentVersion)
        return {};
    return QStringLiteral("Database ini sudah diperbarui oleh versi program yang lebih baru "
                          "(versi skema %1; program ini mengenal sampai versi %2).\n\n"
                          "Program ini tidak memakainya agar datanya tidak rusak: pasang versi "
                          "program yang terbaru di komputer ini. Database tidak diubah.")
        .arg(version)
        .arg(CurrentVersion);
}

QString copyName(const QString& databaseFile, int from, const QString& stamp)
{
    const QFileInfo info(databaseFile);
    return info.dir().filePath(QStringLiteral("%1-sebelum-upgrade-v%2-%3.db")
                                   .arg(info.completeBaseName())
                                   .arg(from)
                                   .arg(stamp));
}

QString run(int from)
{
    if (from >= CurrentVersion)
        return {};
    QString copy;
    try {
        if (Db::isSqlite()) {
            copy = copyName(sqliteFile(), from,
                            QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
            keepCopy(copy);
        }
    } catch (const DbError& e) {
        return QStringLiteral("Database perlu diperbarui ke versi skema %1, tetapi salinannya "
                              "tidak dapat dibuat lebih dahulu:\n%2\n\n%3\n\nDatabase tidak diubah.")
            .arg(CurrentVersion)
            .arg(copy, e.text());
    }
    try {
        Transaction tx;
        // Two tills started at once take turns; the second finds the work done.
        Db::lockKey(VersionTable, QStringLiteral("upgrade"));
        const int now = version();
        for (const Step& step : steps()) {
            if (step.version <= now)
                continue;
            (Db::isSqlite() ? step.sqlite : step.postgres)();
            Db::exec(QStringLiteral("INSERT INTO tvr_version (version_nomor, version_date, "
                                    "version_keterangan) VALUES (?, ?, ?)"),
                     {step.version, Regional::today(), step.note});
        }
        tx.commit();
    } catch (const DbError& e) {
        return QStringLiteral("Database tidak dapat diperbarui ke versi skema %1:\n%2\n\n"
                              "Database tidak diubah%3.")
            .arg(CurrentVersion)
            .arg(e.text(), copy.isEmpty() ? QString()
                                          : QStringLiteral("; salinannya sebelum pembaruan: %1")
                                                .arg(copy));
    }
    return {};
}

} // namespace SchemaUpgrade
