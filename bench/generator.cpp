#include "generator.h"

#include "TestDb.h"

#include <QDate>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <stdexcept>

namespace {

void run(QSqlDatabase& db, const QString& sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        throw std::runtime_error(("generator: " + q.lastError().text() + "\n" + sql).toStdString());
}

} // namespace

void createEmptyDatabase(const QString& path)
{
    TestDb::createDatabase(path);
}

void generateBigDatabase(const QString& path)
{
    const QString partial = path + ".part";
    QFile::remove(partial);
    TestDb::createDatabase(partial);
    const QString name = QStringLiteral("generator");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(partial);
        if (!db.open())
            throw std::runtime_error("generator: cannot open");
        run(db, "PRAGMA journal_mode=OFF");
        run(db, "PRAGMA synchronous=OFF");
        run(db, "BEGIN");
        const QDate today = QDate::currentDate();
        const QString start = today.addYears(-5).toString("yyyy-MM-dd");
        const int days = int(today.addYears(-5).daysTo(today));

        // Numbers 1..1 000 000 to draw rows from.
        run(db, "CREATE TEMP TABLE n(i INTEGER PRIMARY KEY)");
        run(db, "WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < 1000000) "
                "INSERT INTO n SELECT i FROM c");
        run(db, "CREATE TEMP TABLE names(k INTEGER PRIMARY KEY, nm TEXT)");
        run(db, "INSERT INTO names(nm) VALUES ('Ahmad'),('Budi'),('Citra'),('Dewi'),('Eko'),"
                "('Fitri'),('Gilang'),('Hendra'),('Indah'),('Joko'),('Kartika'),('Lestari'),"
                "('Maya'),('Nur'),('Oki'),('Putri'),('Qori'),('Rina'),('Sari'),('Taufik'),"
                "('Umar'),('Vina'),('Wulan'),('Xena'),('Yanti'),('Zaenal'),('.Anonim')");

        run(db, "INSERT INTO tvr_dtbotol (botol_tipe, botol_harga, botol_stock, botol_date, "
                "botol_author, botol_ls_stock, botol_ls_date, botol_ls_author) "
                "VALUES ('REFILL', 0, 0, '" + start + "', 'sysadmin', 0, '" + start + "', 'sysadmin')");
        run(db, "INSERT INTO tvr_dtbotol (botol_tipe, botol_harga, botol_stock, botol_date, "
                "botol_author, botol_ls_stock, botol_ls_date, botol_ls_author) "
                "SELECT printf('BTL-%02d', i), 2500 + (i % 10) * 1500, 1000000, '" + start +
                "', 'admin', 0, '" + start + "', 'admin' FROM n WHERE i <= 49");
        run(db, "INSERT INTO tvr_dtvariant (variant_kode, variant_nama, variant_harga, "
                "variant_stock, variant_date, variant_author, variant_ls_stock, variant_ls_date, "
                "variant_ls_author) "
                "SELECT printf('V%04d', i), printf('Aroma %d', i), 1500 + (i % 8) * 500, "
                "1000000, '" + start + "', 'admin', 0, '" + start + "', 'admin' "
                "FROM n WHERE i <= 500");
        run(db, "INSERT INTO tvr_customer (cust_nomor, cust_nama, cust_alamat, cust_notelp, "
                "cust_date, cust_author) "
                "SELECT printf('C%07d', i), "
                "(SELECT nm FROM names WHERE k = 1 + (i * 7919) % 27) || ' ' || (i % 997), "
                "printf('Jl. Melati No. %d, Bandung', i % 300), printf('0812-%07d', i), "
                "date('" + start + "', '+' || (i * " + QString::number(days) + " / 100000) || ' days'), "
                "'admin' FROM n WHERE i <= 100000");
        run(db, "INSERT INTO tvr_sales (sales_idcust, sales_idvariant, sales_mililiter, "
                "sales_totalml, sales_idbotol, sales_hargavariant, sales_hargabotol, "
                "sales_hargatotal, sales_diskon, sales_hargadiskon, sales_date, sales_author, "
                "sales_status) "
                "SELECT 1 + (i * 48271) % 100000, 1 + (i * 16807) % 500, 5 + i % 26, 30 + i % 71, "
                "1 + (i * 69621) % 50, 2000, 4000, (5 + i % 26) * 2000 + 4000, (i % 4) * 5, "
                "((5 + i % 26) * 2000 + 4000) * (100 - (i % 4) * 5) / 100.0, "
                "date('" + start + "', '+' || (i * " + QString::number(days) + " / 1000000) || ' days'), "
                "CASE i % 3 WHEN 0 THEN 'admin' WHEN 1 THEN 'kasir1' ELSE 'kasir2' END, "
                "CASE WHEN i < 50000 THEN 1 ELSE 0 END FROM n");
        run(db, "INSERT INTO tvr_stock (stock_name, stock_idname, stock_awal, stock_order, "
                "stock_akhir, stock_date, stock_author, stock_status, stock_keterangan) "
                "SELECT CASE i % 4 WHEN 0 THEN 'botol' ELSE 'variant' END, "
                "CASE i % 4 WHEN 0 THEN 2 + i % 49 ELSE 1 + i % 500 END, "
                "1000, CASE i % 5 WHEN 0 THEN -10 ELSE 250 END, "
                "CASE i % 5 WHEN 0 THEN 990 ELSE 1250 END, "
                "date('" + start + "', '+' || (i * " + QString::number(days) + " / 200000) || ' days'), "
                "'admin', CASE WHEN i < 20000 THEN 1 ELSE 0 END, "
                "CASE i % 5 WHEN 0 THEN 'Botol pecah' ELSE '' END FROM n WHERE i <= 200000");
        run(db, "INSERT INTO tvr_user (user_name, user_password, user_namalengkap, user_date, "
                "user_author) VALUES ('admin', 'pinus', 'Administrator', '" + start + "', 'sysadmin'),"
                "('kasir1', 'kasir1', 'Kasir Satu', '" + start + "', 'admin'),"
                "('kasir2', 'kasir2', 'Kasir Dua', '" + start + "', 'admin')");
        run(db, "COMMIT");
        run(db, "ANALYZE");
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    QFile::rename(partial, path);
}
