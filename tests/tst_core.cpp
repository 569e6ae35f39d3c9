// Configuration, connection, table check, first-run rows, transactions and
// regional number text.
#include "ScriptedPrompt.h"
#include "TestDb.h"

#include "core/Config.h"
#include "core/Connection.h"
#include "core/Db.h"
#include "core/Globals.h"
#include "core/Regional.h"
#include "core/RunLock.h"
#include "core/Schema.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTest>

#include <unistd.h>

class CoreTest : public QObject {
    Q_OBJECT

private slots:
    void configLines_data();
    void configLines();
    void configRefusals_data();
    void configRefusals();
    void configMissingFile();

    void connectionText();
    void connectionTextQuoting_data();
    void connectionTextQuoting();
    void startUpNamesTheCause_data();
    void startUpNamesTheCause();
    void connectMissingFileIsReportedAndNotCreated();
    void connectRelativeAndAbsoluteFile();

    void schemaCheck_data();
    void schemaCheck();
    void notADatabaseFailsTheCheck();

    void seedingOnceOnly();
    void seedingRestoresFirstUser();
    void startsWhileAnotherTillHoldsTheWriteLock();

    void transactionRollsBackEverything();
    void nestedTransactions();
    void boundTextIsStoredAsTyped();
    void tooLongTextIsRefused();

    void regionalText_data();
    void regionalText();
};

void CoreTest::configLines_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("connection");
    QTest::addColumn<int>("listPage");

    QTest::newRow("three keys") << QStringList{"provider=:P", "filedata=:F", "listpage=:10"}
                                << "PF" << 10;
    QTest::newRow("empty lines skipped")
        << QStringList{"", "provider=:P", "", "filedata=:F", "listpage=:7", ""} << "PF" << 7;
    QTest::newRow("value ends at second separator")
        << QStringList{"provider=:P", "filedata=:F", "listpage=:10=:5"} << "PF" << 10;
    QTest::newRow("last line of a key wins")
        << QStringList{"listpage=:5", "provider=:P", "filedata=:F", "listpage=:20"} << "PF" << 20;
    QTest::newRow("keys are exact")
        << QStringList{"Listpage=:20", " listpage=:30", "Provider=:X", "filedata=:F", "listpage=:3"}
        << "F" << 3;
    QTest::newRow("other keys ignored")
        << QStringList{"server=:x", "provider=:P", "filedata=:F", "listpage=:4"} << "PF" << 4;
    QTest::newRow("no provider") << QStringList{"filedata=:tavoru.db", "listpage=:10"}
                                 << "tavoru.db" << 10;
    QTest::newRow("blanks kept in values")
        << QStringList{"provider=:Driver=QSQLITE;Database=", "filedata=: my shop.db", "listpage=:10"}
        << "Driver=QSQLITE;Database= my shop.db" << 10;
    QTest::newRow("windows line ends")
        << QStringList{"provider=:P\r", "filedata=:F\r", "listpage=:12\r"} << "PF" << 12;
    QTest::newRow("missing listpage uses the default")
        << QStringList{"provider=:P", "filedata=:F"} << "PF" << Config::DefaultListPage;
    QTest::newRow("line without separator of another key")
        << QStringList{"comment line", "provider=:P", "filedata=:F"} << "PF" << 10;
}

void CoreTest::configLines()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, connection);
    QFETCH(int, listPage);
    const Config::Result r = Config::parse(lines, QStringLiteral("cfg.cae"));
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(r.values.provider + r.values.filedata, connection);
    QCOMPARE(r.values.listPage, listPage);
}

void CoreTest::configRefusals_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("mentioned");

    QTest::newRow("listpage not a number") << QStringList{"filedata=:F", "listpage=:ten"}
                                           << "listpage";
    QTest::newRow("listpage zero") << QStringList{"filedata=:F", "listpage=:0"} << "listpage";
    QTest::newRow("listpage negative") << QStringList{"filedata=:F", "listpage=:-3"} << "listpage";
    QTest::newRow("listpage fraction") << QStringList{"filedata=:F", "listpage=:2,5"} << "listpage";
    QTest::newRow("listpage beyond 16 bits") << QStringList{"filedata=:F", "listpage=:40000"}
                                             << "listpage";
    QTest::newRow("listpage empty") << QStringList{"filedata=:F", "listpage=:"} << "listpage";
    QTest::newRow("key without separator") << QStringList{"provider", "filedata=:F"} << "provider";
}

void CoreTest::configRefusals()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, mentioned);
    const Config::Result r = Config::parse(lines, QStringLiteral("/opt/tavoru/cfg.cae"));
    QVERIFY(!r.ok);
    QVERIFY2(r.error.contains(mentioned), qPrintable(r.error));
    QVERIFY2(r.error.contains(QStringLiteral("/opt/tavoru/cfg.cae")), qPrintable(r.error));
}

void CoreTest::configMissingFile()
{
    QTemporaryDir dir;
    const StartupResult r = DoConnect(dir.path());
    QVERIFY(!r);
    QVERIFY(r.text.contains(dir.filePath(QStringLiteral("cfg.cae"))));
    QCOMPARE(r.title, QStringLiteral("CONFIGURATION ERROR"));
    QVERIFY(!Db::isOpen());
}

void CoreTest::connectionText()
{
    const ConnectionText c = ConnectionText::parse(
        QStringLiteral("Driver=QPSQL;Database=toko;Host=127.0.0.1;Port=5433;User=kasir;Password=a=b"));
    QCOMPARE(c.driver, QStringLiteral("QPSQL"));
    QCOMPARE(c.database, QStringLiteral("toko"));
    QCOMPARE(c.host, QStringLiteral("127.0.0.1"));
    QCOMPARE(c.port, 5433);
    QCOMPARE(c.user, QStringLiteral("kasir"));
    QCOMPARE(c.password, QStringLiteral("a=b"));

    const ConnectionText bare = ConnectionText::parse(QStringLiteral("tavoru.db"));
    QCOMPARE(bare.driver, QStringLiteral("QSQLITE"));
    QCOMPARE(bare.database, QStringLiteral("tavoru.db"));
}

void CoreTest::connectionTextQuoting_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("password"); // or, for a refusal, "!" and the words it names
    QTest::addColumn<QString>("user");

    QTest::newRow("double quotes hold a ;") << R"(Password="a;b";User=kasir)" << "a;b" << "kasir";
    QTest::newRow("single quotes hold a ;") << "Password='a;b';User=kasir" << "a;b" << "kasir";
    QTest::newRow("a doubled quote is one") << R"(Password="say ""hi"";";User=k)" << R"(say "hi";)"
                                            << "k";
    QTest::newRow("blanks inside stay") << "Password=' it''s ' ;User=k" << " it's " << "k";
    QTest::newRow("a quote inside a plain value") << R"(Password=ab"c;User=k)" << R"(ab"c)" << "k";
    QTest::newRow("plain as before") << "Password=a=b;User=k" << "a=b" << "k";
    QTest::newRow("a quote left open") << R"(User=k;Password="a;b)" << "!Password" << "";
    QTest::newRow("text after the closing quote") << R"(Password="a"b;User=k)" << "!Password"
                                                  << "";
}

void CoreTest::connectionTextQuoting()
{
    QFETCH(QString, text);
    QFETCH(QString, password);
    QFETCH(QString, user);
    const ConnectionText c = ConnectionText::parse("Driver=QPSQL;" + text + ";Database=toko");
    if (!password.startsWith('!')) {
        QVERIFY2(c.error.isEmpty(), qPrintable(c.error));
        QCOMPARE(c.password, password);
        QCOMPARE(c.user, user);
        QCOMPARE(c.database, QString("toko"));
        return;
    }
    // The program refuses such a line before connecting, naming the file and the
    // key, never the password itself.
    TestDb t(false);
    t.writeConfig({"provider=:Driver=QPSQL;" + text + ";Database=", "filedata=:toko"});
    const StartupResult r = DoConnect(t.dir());
    QCOMPARE(r.title, QString("CONFIGURATION ERROR"));
    QVERIFY2(r.text.contains(t.dir() + "/cfg.cae") && r.text.contains("\"Password\"") &&
                 c.error.contains("\"Password\"") && !r.text.contains("a;b"),
             qPrintable(r.text));
    QVERIFY(!r && !Db::isOpen());
}

void CoreTest::startUpNamesTheCause_data()
{
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QString>("says");

    QTest::newRow("a table that differs") << "table"
                                          << "Database fail. Please contact your system administator.";
    QTest::newRow("not a database") << "text" << "bukan file database";
    QTest::newRow("locked by another program") << "locked" << "sedang dikunci oleh program lain";
    QTest::newRow("the restore at work") << "restore" << "sedang dipulihkan";
    QTest::newRow("no permission to read") << "permission" << "tidak diizinkan membaca database";
}

void CoreTest::startUpNamesTheCause()
{
    QFETCH(QString, cause);
    QFETCH(QString, says);
    TestDb t(false);
    t.writeStandardConfig();
    QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "otherProgram");
    other.setDatabaseName(t.dbPath());
    QVERIFY(other.open());
    QSqlQuery q(other);
    RunLock restoreLock;
    if (cause == "table") {
        QVERIFY(q.exec("DROP TABLE tvr_stock"));
    } else if (cause == "text") {
        other.close();
        QFile f(t.dbPath());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray("catatan toko, bukan database\n").repeated(100));
    } else if (cause == "locked") {
        // A program that holds the whole file, as the restore does.
        QVERIFY(q.exec("PRAGMA journal_mode=DELETE"));
        QVERIFY(q.exec("BEGIN EXCLUSIVE"));
        QVERIFY(q.exec("DELETE FROM tvr_user"));
    } else if (cause == "restore") {
        QCOMPARE(restoreLock.take(t.dbPath(), RunLock::Kind::Exclusive), RunLock::Result::Taken);
    } else if (cause == "permission") {
        if (::geteuid() == 0)
            QSKIP("root may read every file");
        QVERIFY(QFile::setPermissions(t.dbPath(), QFileDevice::WriteOwner));
    }

    const StartupResult r = DoConnect(t.dir());
    q.finish();
    other.close();
    other = QSqlDatabase();
    QSqlDatabase::removeDatabase("otherProgram");
    QVERIFY(!r);
    QCOMPARE(r.title, QString("DATABASE ERROR"));
    QVERIFY2(r.text.contains(says), qPrintable(r.text));
    if (cause == "permission")
        QVERIFY(r.text.contains("sudo adduser"));
    QVERIFY(!Db::isOpen());
}

void CoreTest::connectMissingFileIsReportedAndNotCreated()
{
    TestDb t(false);
    t.writeConfig({"provider=:Driver=QSQLITE;Database=", "filedata=:nothere.db", "listpage=:10"});
    const StartupResult r = DoConnect(t.dir());
    QVERIFY(!r);
    QCOMPARE(r.text, QStringLiteral("Can'nt find filename ") + t.dir() + "/nothere.db.");
    QCOMPARE(r.title, QStringLiteral("DATABASE ERROR"));
    QVERIFY(!QFile::exists(QDir(t.dir()).filePath("nothere.db")));

    // A driver that does not exist is the same report.
    t.writeConfig({"provider=:Driver=QNOSUCH;Database=", "filedata=:tavoru.db"});
    QCOMPARE(DoConnect(t.dir()).title, QStringLiteral("DATABASE ERROR"));
}

void CoreTest::connectRelativeAndAbsoluteFile()
{
    TestDb t(false);
    ScriptedPrompt prompt;
    t.writeStandardConfig(25);
    QVERIFY(DoConnect(t.dir()));
    QCOMPARE(ListPageSize, 25);
    QVERIFY(prompt.calls.isEmpty());
    Db::close();

    t.writeConfig({"provider=:Driver=QSQLITE;Database=", "filedata=:" + t.dbPath()});
    QVERIFY(DoConnect(t.dir()));
    QCOMPARE(ListPageSize, Config::DefaultListPage);
}

namespace {
// Builds a database from the schema script with one statement changed.
QString variantDatabase(const QTemporaryDir& dir, const QString& from, const QString& to,
                        const QString& extra = {})
{
    QFile f(TestDb::schemaPath());
    f.open(QIODevice::ReadOnly);
    QString script = QString::fromUtf8(f.readAll());
    if (!from.isEmpty()) {
        Q_ASSERT(script.contains(from));
        script.replace(from, to);
    }
    script += extra;
    const QString scriptPath = dir.filePath("variant.sql");
    QFile out(scriptPath);
    out.open(QIODevice::WriteOnly | QIODevice::Truncate);
    out.write(script.toUtf8());
    out.close();
    const QString dbPath = dir.filePath("variant.db");
    QFile::remove(dbPath);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "variant");
        db.setDatabaseName(dbPath);
        db.open();
        TestDb::runScript(db, scriptPath);
        db.close();
    }
    QSqlDatabase::removeDatabase("variant");
    return dbPath;
}
} // namespace

void CoreTest::schemaCheck_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("extra");
    QTest::addColumn<bool>("passes");

    QTest::newRow("as scripted") << "" << "" << "" << true;
    QTest::newRow("eighth customer column")
        << "cust_author  VARCHAR(8)   CHECK(length(cust_author) <= 8)"
        << "cust_author VARCHAR(8), cust_extra VARCHAR(5)" << "" << true;
    QTest::newRow("wider name") << "cust_nama    VARCHAR(25)" << "cust_nama VARCHAR(30)" << ""
                                << true;
    QTest::newRow("narrower name") << "cust_nama    VARCHAR(25)" << "cust_nama VARCHAR(20)" << ""
                                   << false;
    QTest::newRow("status as integer") << "sales_status       SMALLINT"
                                       << "sales_status INTEGER" << "" << false;
    QTest::newRow("text type instead of varchar")
        << "botol_tipe      VARCHAR(12)" << "botol_tipe TEXT" << "" << false;
    QTest::newRow("swapped user columns")
        << "user_name        VARCHAR(8)  CHECK(length(user_name) <= 8),\n"
           "    user_password    VARCHAR(20) CHECK(length(user_password) <= 20),"
        << "user_password VARCHAR(20), user_name VARCHAR(8)," << "" << false;
    QTest::newRow("password cut to 8") << "user_password    VARCHAR(20)"
                                       << "user_password VARCHAR(8)" << "" << false;
    QTest::newRow("missing table") << "" << "" << "\nDROP TABLE tvr_stock;\n" << false;
    QTest::newRow("table name in capitals")
        << "CREATE TABLE tvr_user (" << "CREATE TABLE TVR_USER (" << "" << false;
    QTest::newRow("column name in capitals") << "cust_notelp  VARCHAR(15)"
                                             << "CUST_NOTELP VARCHAR(15)" << "" << false;
    QTest::newRow("other table listed after") << "" << ""
                                              << "\nCREATE TABLE zz_notes (id INTEGER);\n" << true;
    QTest::newRow("other table listed before") << "" << ""
                                               << "\nCREATE TABLE aa_notes (id INTEGER);\n"
                                               << false;
}

void CoreTest::schemaCheck()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, extra);
    QFETCH(bool, passes);

    QTemporaryDir dir;
    const QString dbPath = variantDatabase(dir, from, to, extra);
    QVERIFY(Connection::open("Driver=QSQLITE;Database=" + dbPath, dir.path()));
    QCOMPARE(Schema::verify(Db::connection()), passes);
    Db::close();

    // Through the start-up procedure: the one report, and the connection closed.
    QFile cfg(dir.filePath("cfg.cae"));
    cfg.open(QIODevice::WriteOnly);
    cfg.write("provider=:Driver=QSQLITE;Database=\nfiledata=:variant.db\nlistpage=:10\n");
    cfg.close();
    const StartupResult r = DoConnect(dir.path());
    QCOMPARE(r.ok, passes);
    if (!passes) {
        QCOMPARE(r.text, QStringLiteral("Database fail. Please contact your system administator."));
        QVERIFY(!Db::isOpen());
    }
    Db::close();
}

void CoreTest::notADatabaseFailsTheCheck()
{
    QTemporaryDir dir;
    QFile f(dir.filePath("tavoru.db"));
    f.open(QIODevice::WriteOnly);
    f.write("this is not a database file, only some text written by mistake\n");
    f.close();
    QFile cfg(dir.filePath("cfg.cae"));
    cfg.open(QIODevice::WriteOnly);
    cfg.write("filedata=:tavoru.db\n");
    cfg.close();
    const QString failText = QStringLiteral("Database fail. Please contact your system administator.");
    // A file that is not a database is told as such; the table text is for tables that differ.
    QVERIFY(DoConnect(dir.path()).text.contains(QStringLiteral("bukan file database")));
    // The check only reads: the file is left byte for byte as it was.
    QFile again(dir.filePath("tavoru.db"));
    QVERIFY(again.open(QIODevice::ReadOnly));
    QCOMPARE(again.readAll(), QByteArray("this is not a database file, only some text written by mistake\n"));
    again.close();

    // An empty database (no tables at all) fails the same way and stays empty.
    QFile::remove(dir.filePath("tavoru.db"));
    QFile empty(dir.filePath("tavoru.db"));
    empty.open(QIODevice::WriteOnly);
    empty.close();
    QCOMPARE(DoConnect(dir.path()).text, failText);
    QCOMPARE(QFileInfo(dir.filePath("tavoru.db")).size(), 0);
    QVERIFY(!QFile::exists(dir.filePath("tavoru.db-wal")));
}

void CoreTest::seedingOnceOnly()
{
    TestDb t(false);
    ScriptedPrompt prompt;
    QVERIFY(DoConnect(t.dir()));
    QVERIFY(DoConnect(t.dir()));
    const RowSet botol = Db::select("SELECT botol_tipe, botol_harga, botol_stock, botol_date, "
                                    "botol_author, botol_ls_stock, botol_ls_date, botol_ls_author "
                                    "FROM tvr_dtbotol");
    QCOMPARE(botol.size(), 1);
    QCOMPARE(botol.rows.first(), (QVariantList{"REFILL", 0.0, 0.0, Regional::today(), "sysadmin",
                                               0.0, Regional::today(), "sysadmin"}));
    const RowSet users = Db::select("SELECT user_name, user_password, user_namalengkap, "
                                    "user_date, user_author FROM tvr_user");
    QCOMPARE(users.size(), 1);
    QCOMPARE(users.rows.first(), (QVariantList{"admin", "pinus", "Administrator",
                                               Regional::today(), "sysadmin"}));
}

void CoreTest::seedingRestoresFirstUser()
{
    TestDb t;
    Db::exec("INSERT INTO tvr_user (user_name, user_password, user_namalengkap, user_date, "
             "user_author) VALUES ('kasir1', 'x', 'Kasir', '2026-01-01', 'admin')");
    Db::exec("INSERT INTO tvr_dtbotol (botol_tipe, botol_harga) VALUES ('SPRAY', 5000)");
    Db::exec("DELETE FROM tvr_user");
    Db::exec("DELETE FROM tvr_dtbotol WHERE botol_tipe = 'REFILL'");
    Db::close();
    ScriptedPrompt prompt;
    QVERIFY(DoConnect(t.dir()));
    QCOMPARE(Db::scalar("SELECT COUNT(*) FROM tvr_user WHERE user_name = 'admin'").toInt(), 1);
    QCOMPARE(Db::scalar("SELECT COUNT(*) FROM tvr_user").toInt(), 1);
    QCOMPARE(Db::scalar("SELECT COUNT(*) FROM tvr_dtbotol").toInt(), 2);
    // A shop that still has users keeps them as they are.
    Db::exec("UPDATE tvr_user SET user_name = 'owner'");
    QVERIFY(DoConnect(t.dir()));
    QCOMPARE(Db::scalar("SELECT user_name FROM tvr_user").toString(), QStringLiteral("owner"));
}

void CoreTest::startsWhileAnotherTillHoldsTheWriteLock()
{
    TestDb t(false);
    t.writeStandardConfig();
    QVERIFY(DoConnect(t.dir()));
    Db::close();
    {
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "otherTill");
        other.setDatabaseName(t.dbPath());
        QVERIFY(other.open());
        QSqlQuery q(other);
        QVERIFY(q.exec("BEGIN IMMEDIATE"));
        // The first-run rows exist: starting reads only, so the lock does not matter.
        QVERIFY(DoConnect(t.dir()));
        Db::close();
        QVERIFY(q.exec("ROLLBACK"));
        other.close();
    }
    QSqlDatabase::removeDatabase("otherTill");
}

void CoreTest::transactionRollsBackEverything()
{
    TestDb t;
    try {
        Transaction tx;
        Db::exec("INSERT INTO tvr_dtbotol (botol_tipe, botol_harga) VALUES (?, ?)",
                 {"SPRAY", 5000.0});
        Db::exec("UPDATE tvr_dtbotol SET botol_stock = botol_stock + 1");
        Db::exec("INSERT INTO tvr_nosuchtable VALUES (1)");
        tx.commit();
        QFAIL("the failing statement must throw");
    } catch (const DbError& e) {
        QVERIFY(!e.text().isEmpty());
    }
    QCOMPARE(Db::scalar("SELECT COUNT(*) FROM tvr_dtbotol").toInt(), 1);
    QCOMPARE(Db::scalar("SELECT botol_stock FROM tvr_dtbotol").toDouble(), 0.0);

    // The connection is usable again at once.
    {
        Transaction tx;
        Db::exec("INSERT INTO tvr_dtbotol (botol_tipe, botol_harga) VALUES (?, ?)",
                 {"SPRAY", 5000.0});
        tx.commit();
    }
    QCOMPARE(Db::scalar("SELECT COUNT(*) FROM tvr_dtbotol").toInt(), 2);
}

void CoreTest::nestedTransactions()
{
    TestDb t;
    {
        Transaction outer;
        {
            Transaction inner;
            Db::exec("INSERT INTO tvr_dtbotol (botol_tipe, botol_harga) VALUES ('A', 1)");
            inner.commit();
        }
        Db::exec("INSERT INTO tvr_dtbotol (botol_tipe, botol_harga) VALUES ('B', 1)");
        outer.commit();
    }
    QCOMPARE(Db::scalar("SELECT COUNT(*) FROM tvr_dtbotol").toInt(), 3);

    // An inner scope left without commit spoils the whole action.
    bool threw = false;
    try {
        Transaction outer;
        {
            Transaction inner;
            Db::exec("INSERT INTO tvr_dtbotol (botol_tipe, botol_harga) VALUES ('C', 1)");
        }
        outer.commit();
    } catch (const DbError&) {
        threw = true;
    }
    QVERIFY(threw);
    QCOMPARE(Db::scalar("SELECT COUNT(*) FROM tvr_dtbotol WHERE botol_tipe = 'C'").toInt(), 0);
}

void CoreTest::boundTextIsStoredAsTyped()
{
    TestDb t;
    const QString odd = QStringLiteral("O'Neil %_\"; --");
    Db::exec("INSERT INTO tvr_customer (cust_nomor, cust_nama) VALUES (?, ?)", {"C-1", odd});
    QCOMPARE(Db::scalar("SELECT cust_nama FROM tvr_customer WHERE cust_nomor = ?", {"C-1"})
                 .toString(),
             odd);
    // Numbers are bound as numbers: 2,5 millilitres are 2.5, not 2.
    Db::exec("UPDATE tvr_dtbotol SET botol_stock = botol_stock + ?", {Regional::read("2,5")});
    QCOMPARE(Db::scalar("SELECT botol_stock FROM tvr_dtbotol").toDouble(), 2.5);
}

void CoreTest::tooLongTextIsRefused()
{
    TestDb t;
    QVERIFY_THROWS_EXCEPTION(
        DbError, Db::exec("INSERT INTO tvr_dtvariant (variant_kode) VALUES (?)",
                          {QStringLiteral("ABCDEFGHIJKLM")}));
    QCOMPARE(Db::scalar("SELECT COUNT(*) FROM tvr_dtvariant").toInt(), 0);
    QVERIFY_THROWS_EXCEPTION(DbError, Db::exec("UPDATE tvr_dtbotol SET botol_stock = ?",
                                                {std::numeric_limits<double>::quiet_NaN()}));
}

void CoreTest::regionalText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("whole");
    QTest::addColumn<QString>("plain");

    QTest::newRow("decimal comma") << "1234,5" << 1234.5 << "1.234,50" << "1.235" << "1234,5";
    QTest::newRow("grouped") << "1.250.000" << 1250000.0 << "1.250.000,00" << "1.250.000"
                             << "1250000";
    QTest::newRow("grouped with decimals") << "12.500,5" << 12500.5 << "12.500,50" << "12.501"
                                           << "12500,5";
    // A point anywhere but between groups of three digits is refused: no number.
    for (const char* refused :
         {"12.5", "7.5", "12.34", "1.2345", "1250.000", "1.250.00", "1,250.5"})
        QTest::newRow(refused) << refused << 0.0 << "0,00" << "0" << "0";
    QTest::newRow("lone comma") << "," << 0.0 << "0,00" << "0" << "0";
    QTest::newRow("empty") << "" << 0.0 << "0,00" << "0" << "0";
    QTest::newRow("not a number") << "abc" << 0.0 << "0,00" << "0" << "0";
    QTest::newRow("nan") << "nan" << 0.0 << "0,00" << "0" << "0";
    QTest::newRow("exponent") << "1e5" << 0.0 << "0,00" << "0" << "0";
    QTest::newRow("negative") << "-12,25" << -12.25 << "-12,25" << "-12" << "-12,25";
}

void CoreTest::regionalText()
{
    QFETCH(QString, typed);
    QFETCH(double, value);
    QFETCH(QString, amount);
    QFETCH(QString, whole);
    QFETCH(QString, plain);
    QCOMPARE(Regional::read(typed), value);
    QCOMPARE(Regional::amount(value), amount);
    QCOMPARE(Regional::whole(value), whole);
    QCOMPARE(Regional::plain(value), plain);
}

QTEST_MAIN(CoreTest)
#include "tst_core.moc"
