#include "generator.h"

#include "TestDb.h"
#include "core/Db.h"
#include "core/SalesSummary.h"

#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <utility>

namespace {

// The sizes at scale 1; generateBigDatabase() multiplies them.
struct Sizes {
    qint64 customers = GeneratedCustomers;
    qint64 customersAtStart = 30000; // the customer book the shop started with
    qint64 sales = 1000000;
    qint64 ledgerRows = 200000;
    qint64 ordinaryDayCap = 2000; // no other day comes near the busiest
    qint64 todaySales = TodaySales;
    qint64 busiestDaySales = BusiestDaySales;

    explicit Sizes(int scale)
    {
        for (qint64* v : {&customers, &customersAtStart, &sales, &ledgerRows, &ordinaryDayCap,
                          &todaySales, &busiestDaySales})
            *v *= scale;
    }
};

// Customers who buy for their own shops: each ~800 sales. All registered from
// the start, and none among the first customers the register bench deletes.
const QList<std::pair<int, QString>> HeavyCustomers = {
    {1234, QStringLiteral("Toko Wangi Sejati")},
    {5678, QStringLiteral("Salon Ayu")},
    {9876, QStringLiteral("Rumah Parfum Sinar")},
    {15000, QStringLiteral("Dewi Reseller")},
    {27182, QStringLiteral("Butik Mawar")},
};

// 1 Syawal as observed in Indonesia.
const QList<QDate>& lebaranDays()
{
    static const QList<QDate> days = [] {
        QList<QDate> d;
        for (const char* s :
             {"2019-06-05", "2020-05-24", "2021-05-13", "2022-05-02", "2023-04-22", "2024-04-10",
              "2025-03-31", "2026-03-20", "2027-03-10", "2028-02-27", "2029-02-14", "2030-02-05",
              "2031-01-25", "2032-01-14", "2033-01-02", "2033-12-23", "2034-12-12", "2035-12-01",
              "2036-11-19", "2037-11-08", "2038-10-29", "2039-10-19", "2040-10-07"})
            d << QDate::fromString(QString::fromLatin1(s), QStringLiteral("yyyy-MM-dd"));
        return d;
    }();
    return days;
}

// First letters of Indonesian given names, weighted as met at a shop counter,
// with the odd entries a cashier types: a company name beginning with a digit,
// a name typed after a blank, in lower case, in another script, or none.
struct Name {
    const char* text;
    int weight;
    bool alone; // no family name added
};
const Name Names[] = {
    {"Ahmad", 260}, {"Agus", 240}, {"Ayu", 200}, {"Andi", 190}, {"Anisa", 150}, {"Arif", 110},
    {"Siti", 280}, {"Sri", 220}, {"Sari", 170}, {"Slamet", 90}, {"Susanti", 110}, {"Surya", 80},
    {"Dewi", 230}, {"Dian", 160}, {"Dedi", 110}, {"Dimas", 80},
    {"Rina", 170}, {"Rudi", 150}, {"Rizky", 140}, {"Ratna", 90},
    {"Muhammad", 250}, {"Maya", 130}, {"Mega", 90}, {"Made", 60},
    {"Nur", 150}, {"Nining", 60}, {"Nanda", 60},
    {"Indah", 120}, {"Intan", 70}, {"Irfan", 60},
    {"Yanti", 110}, {"Yusuf", 80},
    {"Hendra", 100}, {"Hadi", 80},
    {"Wulan", 90}, {"Wahyu", 100},
    {"Fitri", 110}, {"Fajar", 70},
    {"Budi", 140}, {"Bayu", 60},
    {"Eko", 90}, {"Endang", 60},
    {"Kartika", 60}, {"Komang", 40},
    {"Lestari", 70}, {"Lina", 50},
    {"Putri", 100}, {"Putu", 40},
    {"Taufik", 60}, {"Tri", 50},
    {"Gilang", 40}, {"Galih", 30},
    {"Joko", 60}, {"Jamal", 20},
    {"Citra", 50}, {"Cahya", 20},
    {"Umar", 15}, {"Vina", 15}, {"Oki", 12}, {"Lukas", 10},
    {"Zaenal", 6}, {"Zahra", 4}, {"Qori", 2}, {"Xaverius", 1},
    {"budi", 8}, {"sari", 6}, {"agus", 5},
    {" Budi", 4}, {" Siti", 3},
    {"3 Saudara", 3, true}, {"99 Parfum", 2, true}, {"7 Bidadari", 2, true},
    {"Élisa", 2}, {"王丽", 2, true}, {"林芳", 1, true}, {"Ömer", 1},
    {".Anonim", 2, true}, {"", 1, true},
};

const char* const FamilyNames[] = {
    "Santoso", "Wijaya", "Saputra", "Hidayat", "Pratama", "Kusuma", "Setiawan", "Nugroho",
    "Lestari", "Siregar", "Nasution", "Simanjuntak", "Halim", "Gunawan", "Susanto", "Wibowo",
    "Rahman", "Hakim", "Purnomo", "Utami", "Sihombing", "Tanjung", "Harahap", "Permana",
    "Syahputra", "Rahayu", "Hartono", "Kurniawan", "Firmansyah", "Maulana",
};

void run(QSqlDatabase& db, const QString& sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        throw std::runtime_error(("generator: " + q.lastError().text() + "\n" + sql).toStdString());
}

QVariant scalar(QSqlDatabase& db, const QString& sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql) || !q.next())
        throw std::runtime_error(("generator: " + q.lastError().text() + "\n" + sql).toStdString());
    return q.value(0);
}

// How busy a day is, before scaling: growth over the years, the day of the
// week, the two weeks before Lebaran and the end of the year.
double dayWeight(const QDate& day, double yearsFraction)
{
    double w = 1.0 + 1.4 * yearsFraction;
    switch (day.dayOfWeek()) {
    case Qt::Friday: w *= 1.1; break;
    case Qt::Saturday: w *= 1.45; break;
    case Qt::Sunday: w *= 1.3; break;
    default: break;
    }
    for (const QDate& lebaran : lebaranDays()) {
        const qint64 before = day.daysTo(lebaran);
        if (before == 0)
            w *= 0.35; // most shops close on the day itself
        else if (before > 0 && before <= 14)
            w *= 1.0 + double(15 - before) / 14.0;
        else if (before < 0 && before >= -2)
            w *= 0.5;
    }
    if (day.month() == 12 && day.day() >= 18)
        w *= 1.0 + 0.5 * (day.day() - 17) / 14.0;
    if (day.month() == 1 && day.day() == 1)
        w *= 0.6;
    return w;
}

struct Day {
    QDate date;
    qint64 count = 0;
    qint64 start = 0;       // sales before this day
    qint64 customerMax = 0; // customers registered by the end of this day
};

// Sales per day, adding up to exactly z.sales.
QList<Day> plannedDays(const QDate& today, const Sizes& z)
{
    const qint64 Sales = z.sales, Customers = z.customers, CustomersAtStart = z.customersAtStart;
    const qint64 OrdinaryDayCap = z.ordinaryDayCap, TodaySales = z.todaySales,
                 BusiestDaySales = z.busiestDaySales;
    const QDate first = today.addYears(-5);
    const int days = int(first.daysTo(today)) + 1;
    const QDate busiest = busiestGeneratedDay(today);
    QList<Day> plan(days);
    QList<double> weight(days);
    for (int k = 0; k < days; ++k) {
        plan[k].date = first.addDays(k);
        weight[k] = dayWeight(plan[k].date, double(k) / (days - 1));
    }
    const auto isFixed = [&](int k) { return plan[k].date == today || plan[k].date == busiest; };
    const qint64 others = Sales - TodaySales - BusiestDaySales;
    // Cap the ordinary days so that none comes near the busiest one.
    for (int round = 0; round < 4; ++round) {
        double sum = 0;
        for (int k = 0; k < days; ++k)
            if (!isFixed(k))
                sum += weight[k];
        const double cap = (OrdinaryDayCap - 1) * sum / others;
        for (double& w : weight)
            w = std::min(w, cap);
    }
    double sum = 0;
    for (int k = 0; k < days; ++k)
        if (!isFixed(k))
            sum += weight[k];
    double cumulative = 0;
    qint64 given = 0, total = 0;
    for (int k = 0; k < days; ++k) {
        Day& d = plan[k];
        if (d.date == today) {
            d.count = TodaySales;
        } else if (d.date == busiest) {
            d.count = BusiestDaySales;
        } else {
            cumulative += weight[k];
            const qint64 upTo = k == days - 1 || cumulative >= sum
                                    ? others
                                    : qint64(std::floor(cumulative / sum * double(others)));
            d.count = upTo - given;
            given = upTo;
        }
        d.start = total;
        total += d.count;
        d.customerMax =
            CustomersAtStart + qint64(double(Customers - CustomersAtStart) * total / Sales);
    }
    if (total != Sales || given != others)
        throw std::runtime_error("generator: the days do not add up");
    for (const Day& d : plan)
        if (d.date != busiest && d.count > OrdinaryDayCap)
            throw std::runtime_error("generator: an ordinary day exceeds the cap");
    return plan;
}

// A 32-bit integer mixing step written in SQL (SQLite has no XOR operator).
QString mixed(const QString& c)
{
    const QString x = QStringLiteral("(((%1 >> 16) | %1) - ((%1 >> 16) & %1))").arg(c);
    return QStringLiteral("((%1 * 73244475) & 4294967295)").arg(x);
}

QString finalXor(const QString& c)
{
    return QStringLiteral("(((%1 >> 16) | %1) - ((%1 >> 16) & %1))").arg(c);
}

QString sqlText(const QString& s)
{
    QString t = s;
    t.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

void step(const char* what, QElapsedTimer& t)
{
    std::printf("  %-40s %6.1f s\n", what, t.nsecsElapsed() / 1e9);
    std::fflush(stdout);
}

} // namespace

QDate busiestGeneratedDay(const QDate& today)
{
    // The last shopping day before the latest Lebaran of the five years.
    const QDate first = today.addYears(-5);
    QDate busiest;
    for (const QDate& lebaran : lebaranDays()) {
        const QDate eve = lebaran.addDays(-1);
        if (eve > first.addDays(14) && eve < today)
            busiest = eve;
    }
    if (!busiest.isValid())
        busiest = QDate(today.year() - 1, 12, 24);
    return busiest;
}

void createEmptyDatabase(const QString& path)
{
    TestDb::createDatabase(path);
}

void generateBigDatabase(const QString& path, const QDate& today, int scale)
{
    if (QSqlDatabase::contains(Db::ConnectionName))
        throw std::runtime_error("generator: close the program's connection first");
    const Sizes z(std::max(1, scale));
    const qint64 Sales = z.sales, Customers = z.customers, CustomersAtStart = z.customersAtStart,
                 LedgerRows = z.ledgerRows, BusiestDaySales = z.busiestDaySales;
    QElapsedTimer clock;
    clock.start();
    const QList<Day> plan = plannedDays(today, z);
    const QString start = plan.first().date.toString(QStringLiteral("yyyy-MM-dd"));

    const QString partial = path + ".part";
    QFile::remove(partial);
    TestDb::createDatabase(partial);
    // The program's connection name: SalesSummary::rebuild() runs on it.
    const QString name = Db::ConnectionName;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(partial);
        if (!db.open())
            throw std::runtime_error("generator: cannot open");
        run(db, "PRAGMA journal_mode=OFF");
        run(db, "PRAGMA synchronous=OFF");
        run(db, "PRAGMA cache_size=-262144");
        run(db, "PRAGMA temp_store=MEMORY");
        run(db, "BEGIN");

        // The plan of the days.
        run(db, "CREATE TEMP TABLE day(k INTEGER PRIMARY KEY, d TEXT, c INTEGER, "
                "cstart INTEGER, custmax INTEGER)");
        {
            QSqlQuery q(db);
            q.prepare("INSERT INTO day VALUES (?, ?, ?, ?, ?)");
            for (int k = 0; k < plan.size(); ++k) {
                const Day& d = plan.at(k);
                q.addBindValue(k);
                q.addBindValue(d.date.toString(QStringLiteral("yyyy-MM-dd")));
                q.addBindValue(d.count);
                q.addBindValue(d.start);
                q.addBindValue(d.customerMax);
                if (!q.exec())
                    throw std::runtime_error("generator: " + q.lastError().text().toStdString());
            }
        }
        run(db, "CREATE INDEX temp.day_custmax ON day(custmax, k)");

        // Numbers 1..1 000 000, each with three well-mixed 32-bit values to
        // draw from, so that the rows look random but come out the same every run.
        run(db, "CREATE TEMP TABLE n(i INTEGER PRIMARY KEY, a INTEGER, b INTEGER, c INTEGER)");
        run(db, QStringLiteral("WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c "
                               "WHERE i < %1) INSERT INTO n SELECT i, "
                               "(i * 2654435761 + 1013904223) & 4294967295, "
                               "(i * 2246822519 + 374761393) & 4294967295, "
                               "(i * 3266489917 + 668265263) & 4294967295 FROM c")
                    .arg(Sales));
        for (int round = 0; round < 2; ++round)
            run(db, "UPDATE n SET a = " + mixed("a") + ", b = " + mixed("b") + ", c = " +
                        mixed("c"));
        run(db, "UPDATE n SET a = " + finalXor("a") + ", b = " + finalXor("b") + ", c = " +
                    finalXor("c"));
        step("day plan and numbers", clock);

        // Names: `lo` is where a name's share of the draw begins.
        run(db, "CREATE TEMP TABLE names(lo INTEGER PRIMARY KEY, nm TEXT, alone INTEGER)");
        int nameTotal = 0;
        {
            QSqlQuery q(db);
            q.prepare("INSERT INTO names VALUES (?, ?, ?)");
            for (const Name& n : Names) {
                q.addBindValue(nameTotal);
                q.addBindValue(QString::fromUtf8(n.text));
                q.addBindValue(n.alone ? 1 : 0);
                if (!q.exec())
                    throw std::runtime_error("generator: " + q.lastError().text().toStdString());
                nameTotal += n.weight;
            }
        }
        run(db, "CREATE TEMP TABLE family(k INTEGER PRIMARY KEY, nm TEXT)");
        int familyCount = 0;
        for (const char* f : FamilyNames)
            run(db, QStringLiteral("INSERT INTO family VALUES (%1, %2)")
                        .arg(familyCount++)
                        .arg(sqlText(QString::fromUtf8(f))));

        run(db, "INSERT INTO tvr_dtbotol (botol_tipe, botol_harga, botol_stock, botol_date, "
                "botol_author, botol_ls_stock, botol_ls_date, botol_ls_author) "
                "VALUES ('REFILL', 0, 0, '" + start + "', 'sysadmin', 0, '" + start + "', 'sysadmin')");
        run(db, "INSERT INTO tvr_dtbotol (botol_tipe, botol_harga, botol_stock, botol_date, "
                "botol_author, botol_ls_stock, botol_ls_date, botol_ls_author, botol_pokok, "
                "botol_minimum) "
                "SELECT printf('BTL-%02d', i), 2500 + (i % 10) * 1500, 1000000, '" + start +
                "', 'admin', 0, '" + start + "', 'admin', 1200 + (i % 10) * 700, 20 + (i % 4) * 10 "
                "FROM n WHERE i <= 49");
        run(db, "INSERT INTO tvr_dtvariant (variant_kode, variant_nama, variant_harga, "
                "variant_stock, variant_date, variant_author, variant_ls_stock, variant_ls_date, "
                "variant_ls_author, variant_pokok, variant_minimum) "
                "SELECT printf('V%04d', i), printf('Aroma %d', i), 1500 + (i % 8) * 500, "
                "1000000, '" + start + "', 'admin', 0, '" + start + "', 'admin', "
                "900 + (i % 8) * 250 + (i % 7) * 10, 250 + (i % 5) * 250 "
                "FROM n WHERE i <= 500");

        // Customers: the first ones from the start, the others registered as
        // the sales grow, each on the day the register reached their number.
        run(db, "INSERT INTO tvr_customer (cust_nomor, cust_nama, cust_alamat, cust_notelp, "
                "cust_date, cust_author) "
                "SELECT printf('C%07d', i), substr(CASE WHEN g.alone = 1 THEN g.nm "
                "ELSE g.nm || ' ' || (SELECT nm FROM family WHERE k = n.b % " +
                    QString::number(familyCount) + ") END, 1, 25), "
                "printf('Jl. Melati No. %d, Bandung', i % 300), printf('0812-%07d', i), "
                "CASE WHEN i <= " + QString::number(CustomersAtStart) + " THEN '" + start +
                "' ELSE (SELECT d FROM day WHERE custmax >= i ORDER BY custmax, k LIMIT 1) END, "
                "'admin' FROM n CROSS JOIN names g "
                "WHERE i <= " + QString::number(Customers) + " AND g.lo = (SELECT lo FROM names "
                "WHERE lo <= n.a % " + QString::number(nameTotal) + " ORDER BY lo DESC LIMIT 1) "
                "ORDER BY i");
        for (const auto& [id, heavyName] : HeavyCustomers)
            run(db, QStringLiteral("UPDATE tvr_customer SET cust_nama = %1 WHERE idcust = %2")
                        .arg(sqlText(heavyName))
                        .arg(id));
        step("customers", clock);

        // The summary triggers stay out while the sales go in (each sale
        // would update fourteen totals); the totals are made once below.
        QList<QString> summaryTriggers;
        {
            QSqlQuery q(db);
            if (!q.exec("SELECT name, sql FROM sqlite_master WHERE type = 'trigger' AND "
                        "tbl_name = 'tvr_sales' AND name LIKE 'tr_sales_summary%' ORDER BY name"))
                throw std::runtime_error("generator: " + q.lastError().text().toStdString());
            QStringList names;
            while (q.next()) {
                names << q.value(0).toString();
                summaryTriggers << q.value(1).toString();
            }
            q.finish();
            if (summaryTriggers.isEmpty())
                throw std::runtime_error("generator: the schema has no summary triggers");
            for (const QString& t : names)
                run(db, "DROP TRIGGER " + t);
        }

        // Sales, day by day in date order: 4 in 1 000 go to a heavy customer,
        // the others to any customer registered by that day.
        QString heavy = QStringLiteral("CASE (n.a / 1000) % ") +
                        QString::number(HeavyCustomers.size());
        for (int h = 0; h < HeavyCustomers.size(); ++h)
            heavy += QStringLiteral(" WHEN %1 THEN %2").arg(h).arg(HeavyCustomers.at(h).first);
        heavy += QStringLiteral(" END");
        const QString ml = QStringLiteral("(5 + (n.c >> 12) % 26)");
        const QString disc =
            QStringLiteral("(CASE (n.a >> 22) % 20 WHEN 0 THEN 10 WHEN 1 THEN 5 ELSE 0 END)");
        const QString total = "(" + ml + " * v.variant_harga + b.botol_harga)";
        // CROSS JOIN keeps the loops in this order: day by day, its range of
        // numbers, then one key lookup each for the prices.
        run(db, "INSERT INTO tvr_sales (sales_idcust, sales_idvariant, sales_mililiter, "
                "sales_totalml, sales_idbotol, sales_hargavariant, sales_hargabotol, "
                "sales_hargatotal, sales_diskon, sales_hargadiskon, sales_date, sales_author, "
                "sales_status, sales_pokokvariant, sales_pokokbotol, sales_pokok) "
                "SELECT CASE WHEN n.a % 1000 < 4 THEN " + heavy + " ELSE 1 + n.b % day.custmax END, "
                "v.idvariant, " + ml + ", " + ml + " + (n.c >> 20) % 71, b.idbotol, "
                "v.variant_harga, b.botol_harga, " + total + ", " + disc + ", " +
                total + " * (100 - " + disc + ") / 100.0, day.d, "
                "CASE n.i % 3 WHEN 0 THEN 'admin' WHEN 1 THEN 'kasir1' ELSE 'kasir2' END, "
                "CASE WHEN n.i <= 50000 THEN 1 ELSE 0 END, v.variant_pokok, b.botol_pokok, " +
                ml + " * v.variant_pokok + b.botol_pokok "
                "FROM day CROSS JOIN n CROSS JOIN tvr_dtvariant v CROSS JOIN tvr_dtbotol b "
                "WHERE n.i > day.cstart AND n.i <= day.cstart + day.c "
                "AND v.idvariant = 1 + n.c % 500 AND b.idbotol = 1 + (n.b >> 20) % 50");
        step("sales", clock);
        SalesSummary::rebuild();
        for (const QString& t : summaryTriggers)
            run(db, t);
        step("sales totals", clock);

        const int days = int(plan.size());
        run(db, "INSERT INTO tvr_stock (stock_name, stock_idname, stock_awal, stock_order, "
                "stock_akhir, stock_date, stock_author, stock_status, stock_keterangan) "
                "SELECT CASE i % 4 WHEN 0 THEN 'botol' ELSE 'variant' END, "
                "CASE i % 4 WHEN 0 THEN 2 + i % 49 ELSE 1 + i % 500 END, "
                "1000, CASE i % 5 WHEN 0 THEN -10 ELSE 250 END, "
                "CASE i % 5 WHEN 0 THEN 990 ELSE 1250 END, "
                "date('" + start + "', '+' || ((i - 1) * " + QString::number(days) + " / " +
                    QString::number(LedgerRows) + ") || ' days'), "
                "'admin', CASE WHEN i < 20000 THEN 1 ELSE 0 END, "
                "CASE i % 5 WHEN 0 THEN 'Botol pecah' ELSE '' END FROM n WHERE i <= " +
                    QString::number(LedgerRows));
        run(db, "INSERT INTO tvr_user (user_name, user_password, user_namalengkap, user_date, "
                "user_author, user_peran) VALUES ('admin', 'pinus', 'Administrator', '" + start +
                "', 'sysadmin', 1),"
                "('kasir1', 'kasir1', 'Kasir Satu', '" + start + "', 'admin', 0),"
                "('kasir2', 'kasir2', 'Kasir Dua', '" + start + "', 'admin', 0)");
        run(db, "COMMIT");
        step("ledger and users", clock);

        // The shape promised above, checked once.
        const QString busiest = scalar(db, "SELECT sales_date FROM tvr_sales GROUP BY sales_date "
                                           "ORDER BY COUNT(*) DESC LIMIT 2")
                                    .toString();
        const qint64 second =
            scalar(db, "SELECT COUNT(*) AS c FROM tvr_sales GROUP BY sales_date "
                       "ORDER BY c DESC LIMIT 1 OFFSET 1")
                .toLongLong();
        if (busiest != busiestGeneratedDay(today).toString(QStringLiteral("yyyy-MM-dd")) ||
            second >= BusiestDaySales)
            throw std::runtime_error("generator: the busiest day is not the one planned");
        run(db, "ANALYZE");
        step("check and ANALYZE", clock);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    QFile::remove(path);
    if (!QFile::rename(partial, path))
        throw std::runtime_error("generator: cannot rename " + partial.toStdString());
}
