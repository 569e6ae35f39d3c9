// Daily copies of the database: made consistently while the program writes,
// checked before they count, pruned by the keeping rule, and put back by the
// restore only when sound and only while no program has the database open.
#include "ScriptedPrompt.h"
#include "TestDb.h"
#include "WindowDriver.h"

#include "core/Backup.h"
#include "core/Config.h"
#include "core/Connection.h"
#include "core/Db.h"
#include "core/Globals.h"
#include "core/Schema.h"
#include "sales/SalesStore.h"
#include "app/MDIForm1.h"
#include "ui/FileDialogs.h"
#include "users/frmSystemLogin.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QProcess>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <functional>

#include <sys/stat.h>
#include <unistd.h>

using Backup::Outcome;

using OpenDays = std::function<bool(QDate)>;
Q_DECLARE_METATYPE(OpenDays)

namespace {

QDate day(const char* text)
{
    return QDate::fromString(QString::fromLatin1(text), QStringLiteral("yyyy-MM-dd"));
}

QList<QDate> days(const char* text)
{
    QList<QDate> list;
    for (const QString& d : QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts))
        list << QDate::fromString(d, QStringLiteral("yyyy-MM-dd"));
    return list;
}

QByteArray fingerprint(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// Rows of one query on a file, read on a connection of the test's own.
QVariant valueIn(const QString& path, const QString& sql)
{
    QVariant v;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "peek");
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(sql) && q.next())
                v = q.value(0);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase("peek");
    return v;
}

void touch(const QString& path, const QByteArray& content = {})
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

int addVariant(double stock)
{
    return int(Db::insertedId(
        Db::exec("INSERT INTO tvr_dtvariant (variant_kode, variant_nama, variant_harga, "
                 "variant_stock) VALUES ('V1', 'Vanilla', 2500, ?)",
                 {stock})));
}

SalesStore::NewSale saleOf(int variant, double ml)
{
    SalesStore::NewSale s;
    s.idCust = int(Db::insertedId(
        Db::exec("INSERT INTO tvr_customer (cust_nomor, cust_nama) VALUES ('C1', 'Ani')")));
    s.amounts.idVariant = variant;
    s.amounts.idBotol =
        Db::scalar("SELECT idbotol FROM tvr_dtbotol WHERE botol_tipe = 'REFILL'").toInt();
    s.amounts.mililiter = ml;
    s.amounts.totalml = ml;
    s.amounts.hargaTotal = s.amounts.hargaDiskon = ml * 2500;
    s.amounts.hargaVariant = 2500;
    return s;
}

// This test program started again as another program on the same files.
QString runAsAnotherProgram(const QStringList& args)
{
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), args);
    p.waitForFinished(30000);
    return QString::fromLocal8Bit(p.readAllStandardOutput() + p.readAllStandardError()).trimmed();
}

// Whether this process holds a POSIX (SQLite) lock on the file, as the kernel lists it.
bool holdsPosixLock(const QString& path)
{
    struct stat st;
    QFile locks("/proc/locks");
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !locks.open(QIODevice::ReadOnly))
        return false;
    const QString pid = QString::number(QCoreApplication::applicationPid());
    for (const QByteArray& line : locks.readAll().split('\n')) {
        const QStringList f = QString::fromLatin1(line).split(' ', Qt::SkipEmptyParts);
        if (f.size() >= 6 && f.at(1) == "POSIX" && f.at(4) == pid &&
            f.at(5).endsWith(QString(":%1").arg(quint64(st.st_ino))))
            return true;
    }
    return false;
}

} // namespace

class BackupTest : public QObject {
    Q_OBJECT
private slots:
    void keepingRuleOverTheYears_data();
    void keepingRuleOverTheYears();
    void copyNames();

    void backupDirSetting_data();
    void backupDirSetting();

    void copyWhileTheProgramWrites();
    void copyOnceADayThenPrune();
    void failedCheckCountsNothingAndPrunesNothing_data();
    void failedCheckCountsNothingAndPrunesNothing();

    void startUpMakesTheCopyInTheBackground();
    void unusableFolderIsToldOnceAndTheProgramGoesOn_data();
    void unusableFolderIsToldOnceAndTheProgramGoesOn();

    void restoreRefuses_data();
    void restoreRefuses();
    void restoreKeepsTheReplacedDatabase();
    void restoreMendsIndexesTheCopyBroughtAlong();

    void fileDialogKeepsTheDatabaseLocks();
    void leftoversAreCleanedAndTodaysCopyChecked_data();
    void leftoversAreCleanedAndTodaysCopyChecked();
    void restoreKilledAtAnyPointLeavesADatabase();
};

void BackupTest::keepingRuleOverTheYears_data()
{
    QTest::addColumn<QDate>("first");
    QTest::addColumn<OpenDays>("open");
    QTest::addColumn<QList<QDate>>("kept");

    QTest::newRow("open every day for two years")
        << day("2025-01-01") << OpenDays([](QDate) { return true; })
        << days("2026-01-31 2026-02-28 2026-03-31 2026-04-30 2026-05-31 2026-06-30 2026-07-31 "
                "2026-08-31 2026-09-30 2026-10-31 2026-11-25 2026-11-26 2026-11-27 2026-11-28 "
                "2026-11-29 2026-11-30 2026-12-01 2026-12-02 2026-12-03 2026-12-04 2026-12-05 "
                "2026-12-06 2026-12-07 2026-12-08");
    // No July copy at all; May's last one is a Saturday.
    QTest::newRow("closed on Sundays and for the summer")
        << day("2025-03-01") << OpenDays([](QDate d) {
               return d.dayOfWeek() != 7 && (d < day("2026-06-10") || d > day("2026-08-20"));
           })
        << days("2026-01-31 2026-02-28 2026-03-31 2026-04-30 2026-05-30 2026-06-09 2026-08-31 "
                "2026-09-30 2026-10-31 2026-11-23 2026-11-24 2026-11-25 2026-11-26 2026-11-27 "
                "2026-11-28 2026-11-30 2026-12-01 2026-12-02 2026-12-03 2026-12-04 2026-12-05 "
                "2026-12-07 2026-12-08");
    QTest::newRow("a new shop keeps every copy")
        << day("2026-11-26") << OpenDays([](QDate) { return true; })
        << days("2026-11-26 2026-11-27 2026-11-28 2026-11-29 2026-11-30 2026-12-01 2026-12-02 "
                "2026-12-03 2026-12-04 2026-12-05 2026-12-06 2026-12-07 2026-12-08");
}

void BackupTest::keepingRuleOverTheYears()
{
    QFETCH(QDate, first);
    QFETCH(OpenDays, open);
    QFETCH(QList<QDate>, kept);

    // Each open day adds its copy and prunes, as the program does at its first start.
    QList<QDate> folder;
    for (QDate today = first; today <= day("2026-12-08"); today = today.addDays(1)) {
        if (!open(today))
            continue;
        folder = Backup::datesToKeep(folder + QList<QDate>{today}, today);
        QCOMPARE(folder.first(), today);
        QVERIFY(folder.size() <= Backup::DailyCopies + Backup::MonthlyCopies);
    }
    std::sort(folder.begin(), folder.end());
    QCOMPARE(folder, kept);

    // A copy dated after today (the clock was set back) is never pruned.
    const QList<QDate> withFuture =
        Backup::datesToKeep(kept + days("2027-03-01"), day("2026-12-09"));
    QVERIFY(withFuture.contains(day("2027-03-01")));
}

void BackupTest::copyNames()
{
    QCOMPARE(Backup::copyName(day("2026-12-08")), QStringLiteral("tavoru-2026-12-08.db"));
    QCOMPARE(Backup::dateOfCopy("tavoru-2026-12-08.db"), day("2026-12-08"));
    for (const char* other : {"tavoru.db", "tavoru-2026-13-01.db", "tavoru-2026-12-08.db.1.part",
                              "Tavoru-2026-12-08.db", "tavoru-sebelum-restore-20261208-1530.db",
                              "x-tavoru-2026-12-08.db"})
        QVERIFY2(!Backup::dateOfCopy(other).isValid(), other);
}

void BackupTest::backupDirSetting_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("configOk");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("folder"); // relative to the program's folder
    QTest::addColumn<bool>("created");

    const QString sqlite = "provider=:Driver=QSQLITE;Database=";
    QTest::newRow("default: backup/ beside the database file")
        << QStringList{sqlite, "filedata=:data/tavoru.db"} << true << true << "data/backup"
        << true;
    QTest::newRow("a folder of its own") << QStringList{sqlite, "filedata=:tavoru.db",
                                                        "backupdir=:/media/usb/tavoru"}
                                         << true << true << "/media/usb/tavoru" << false;
    QTest::newRow("relative to the program, blanks ignored")
        << QStringList{sqlite, "filedata=:tavoru.db", "backupdir=: salinan \r"} << true << true
        << "salinan" << false;
    QTest::newRow("off") << QStringList{sqlite, "filedata=:tavoru.db", "backupdir=:off"} << true
                         << false << "" << false;
    QTest::newRow("OFF") << QStringList{sqlite, "filedata=:tavoru.db", "backupdir=:OFF"} << true
                         << false << "" << false;
    QTest::newRow("empty value") << QStringList{sqlite, "filedata=:tavoru.db", "backupdir=:  "}
                                 << false << false << "" << false;
    QTest::newRow("no separator") << QStringList{sqlite, "filedata=:tavoru.db", "backupdir"}
                                  << false << false << "" << false;
    QTest::newRow("PostgreSQL: the server's business")
        << QStringList{"provider=:Driver=QPSQL;Host=db;Database=", "filedata=:tavoru"} << true
        << false << "" << false;
}

void BackupTest::backupDirSetting()
{
    QFETCH(QStringList, lines);
    QFETCH(bool, configOk);
    QFETCH(bool, enabled);
    QFETCH(QString, folder);
    QFETCH(bool, created);

    const QString appDir = "/opt/tavoru";
    const Config::Result r = Config::parse(lines, "cfg.cae");
    QCOMPARE(r.ok, configOk);
    if (!configOk) {
        QVERIFY(r.error.contains("backupdir"));
        return;
    }
    const Backup::Plan p = Backup::plan(r.values, appDir);
    QCOMPARE(p.enabled, enabled);
    if (!enabled)
        return;
    QCOMPARE(p.folder, QDir(appDir).filePath(folder));
    QCOMPARE(p.createFolder, created);
}

void BackupTest::copyWhileTheProgramWrites()
{
    TestDb t;
    const double stock = 1e9;
    const int variant = addVariant(stock);
    const SalesStore::NewSale sale = saleOf(variant, 2.5);
    {
        // Enough rows that the copy takes a while.
        Transaction tx;
        for (int i = 0; i < 20000; ++i)
            SalesStore::addSale(sale);
        tx.commit();
    }
    const QString folder = t.dir() + "/backup";
    Backup::Plan plan;
    plan.dbPath = t.dbPath();
    plan.folder = folder;
    plan.createFolder = true;

    // A sale left open by the program: never in the copy, and no wait for it.
    {
        Transaction open;
        SalesStore::addSale(sale);
        Backup::DailyBackup job(plan, day("2026-12-08"), nullptr);
        job.wait();
    }

    // Sales committed one by one while the copy is made.
    Backup::DailyBackup job(plan, day("2026-12-09"), nullptr);
    QSignalSpy done(&job, &Backup::DailyBackup::finished);
    for (int written = 0; done.isEmpty() && written < 200; ++written) {
        SalesStore::addSale(sale);
        QCoreApplication::processEvents();
    }
    job.wait();
    QTRY_COMPARE(done.size(), 1);
    QCOMPARE(done.first().first().value<Outcome>().status, Outcome::Made);

    const qint64 total = Db::scalar("SELECT COUNT(*) FROM tvr_sales").toLongLong();
    for (const char* date : {"2026-12-08", "2026-12-09"}) {
        const QString copy = folder + "/" + Backup::copyName(day(date));
        QVERIFY2(Backup::checkCopy(copy).isEmpty(), qPrintable(Backup::checkCopy(copy)));
        // Every sale in the copy has its stock move in the copy: a whole snapshot.
        const qint64 sales = valueIn(copy, "SELECT COUNT(*) FROM tvr_sales").toLongLong();
        QVERIFY(sales >= 20000 && sales <= total);
        QCOMPARE(valueIn(copy, "SELECT variant_stock + (SELECT SUM(sales_mililiter) FROM "
                               "tvr_sales) FROM tvr_dtvariant")
                     .toDouble(),
                 stock);
        if (QByteArray(date) == "2026-12-08")
            QCOMPARE(sales, 20000);
    }
    QVERIFY(QDir(folder).entryList({"*.part"}, QDir::Files | QDir::Hidden).isEmpty());
}

void BackupTest::copyOnceADayThenPrune()
{
    TestDb t;
    const QString folder = t.dir() + "/copies";
    QDir().mkpath(folder);
    // Copies of two months back, the shop's own notes and files that only look alike.
    QStringList old;
    for (QDate d = day("2026-10-01"); d <= day("2026-12-07"); d = d.addDays(1)) {
        old << Backup::copyName(d);
        touch(folder + "/" + old.last());
    }
    const QStringList others = {"catatan.txt", "tavoru-2026-02-30.db", "tavoru.db",
                                "tavoru-2026-11-03.db.bak"};
    for (const QString& name : others)
        touch(folder + "/" + name);

    const Outcome made = Backup::makeDailyCopy(t.dbPath(), folder, false, day("2026-12-08"));
    QCOMPARE(made.status, Outcome::Made);
    QCOMPARE(made.copy, folder + "/tavoru-2026-12-08.db");

    QStringList expected = others;
    for (const char* d : {"2026-10-31", "2026-11-25", "2026-11-26", "2026-11-27",
                          "2026-11-28", "2026-11-29", "2026-11-30", "2026-12-01", "2026-12-02",
                          "2026-12-03", "2026-12-04", "2026-12-05", "2026-12-06", "2026-12-07",
                          "2026-12-08"})
        expected << Backup::copyName(day(d));
    expected.sort();
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
    QCOMPARE(made.pruned.size(), old.size() + 1 - (expected.size() - others.size()));

    // The second start of the day neither copies nor prunes again.
    const QByteArray first = fingerprint(made.copy);
    const Outcome again = Backup::makeDailyCopy(t.dbPath(), folder, false, day("2026-12-08"));
    QCOMPARE(again.status, Outcome::AlreadyMade);
    QCOMPARE(fingerprint(made.copy), first);
}

void BackupTest::failedCheckCountsNothingAndPrunesNothing_data()
{
    QTest::addColumn<QString>("damage");
    QTest::newRow("a database of another program") << "foreign";
    QTest::newRow("a table of the program missing") << "dropped";
}

void BackupTest::failedCheckCountsNothingAndPrunesNothing()
{
    QFETCH(QString, damage);
    TestDb t(false);
    const QString source = t.dir() + "/source.db";
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "damage");
        db.setDatabaseName(source);
        QVERIFY(db.open());
        if (damage == "foreign") {
            QSqlQuery(db).exec("CREATE TABLE notes (id INTEGER, body TEXT)");
        } else {
            TestDb::runScript(db, TestDb::schemaPath());
            QVERIFY(QSqlQuery(db).exec("DROP TABLE tvr_stock"));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase("damage");

    const QString folder = t.dir() + "/backup";
    QDir().mkpath(folder);
    QStringList old;
    for (QDate d = day("2026-01-01"); d < day("2026-12-08"); d = d.addDays(3)) {
        old << Backup::copyName(d);
        touch(folder + "/" + old.last());
    }

    const Outcome o = Backup::makeDailyCopy(source, folder, false, day("2026-12-08"));
    QCOMPARE(o.status, Outcome::Failed);
    QVERIFY(o.message.contains(folder));
    QVERIFY(o.message.contains("dihapus"));
    QVERIFY(o.pruned.isEmpty());
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name), old);
}

void BackupTest::startUpMakesTheCopyInTheBackground()
{
    TestDb t(false);
    LoginUserName.clear();
    ScriptedPrompt prompt;
    {
        MDIForm1 w;
        loginWhenAsked();
        QVERIFY(w.startUp(QLocale(QLocale::Indonesian, QLocale::Indonesia), t.dir()));
        auto* job = w.findChild<Backup::DailyBackup*>();
        QVERIFY(job);
        job->wait();
        QCoreApplication::processEvents();
    }
    const QStringList copies = QDir(t.dir() + "/backup").entryList(QDir::Files);
    QCOMPARE(copies.size(), 1);
    QVERIFY(Backup::dateOfCopy(copies.first()).isValid());
    QVERIFY(Backup::checkCopy(t.dir() + "/backup/" + copies.first()).isEmpty());
    QVERIFY(prompt.calls.isEmpty());

    // Turned off: no copy is made.
    QDir(t.dir() + "/backup").removeRecursively();
    t.writeConfig({"provider=:Driver=QSQLITE;Database=", "filedata=:tavoru.db", "backupdir=:off"});
    MDIForm1 w;
    loginWhenAsked();
    QVERIFY(w.startUp(QLocale(QLocale::Indonesian, QLocale::Indonesia), t.dir()));
    QVERIFY(!w.findChild<Backup::DailyBackup*>());
    QVERIFY(!QFileInfo::exists(t.dir() + "/backup"));
}

void BackupTest::unusableFolderIsToldOnceAndTheProgramGoesOn_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("missing (a stick not plugged in)") << "usb/tavoru" << false;
    QTest::newRow("a file, not a folder") << "catatan.txt" << false;
    QTest::newRow("not writable") << "readonly" << true;
}

void BackupTest::unusableFolderIsToldOnceAndTheProgramGoesOn()
{
    QFETCH(QString, folder);
    QFETCH(bool, readOnly);
    TestDb t(false);
    const QString path = t.dir() + "/" + folder;
    if (folder.endsWith(".txt"))
        touch(path, "catatan");
    if (readOnly) {
        QDir().mkpath(path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
        if (QFileInfo(path).isWritable())
            QSKIP("the folder stays writable for this user (root)");
    }
    t.writeConfig({"provider=:Driver=QSQLITE;Database=", "filedata=:tavoru.db",
                   "backupdir=:" + path});
    LoginUserName.clear();
    ScriptedPrompt prompt;
    MDIForm1 w;
    loginWhenAsked();
    QVERIFY(w.startUp(QLocale(QLocale::Indonesian, QLocale::Indonesia), t.dir()));
    w.findChild<Backup::DailyBackup*>()->wait();
    QTRY_COMPARE(prompt.calls.size(), 1);
    QCOMPARE(prompt.calls.first().title, QStringLiteral("BACKUP"));
    QVERIFY(prompt.lastText().contains(path));
    QVERIFY(!QFileInfo::exists(t.dir() + "/usb"));

    // The program goes on: a sale is recorded.
    const int variant = addVariant(100);
    QVERIFY(SalesStore::addSale(saleOf(variant, 5)) > 0);
    QCOMPARE(Db::scalar("SELECT variant_stock FROM tvr_dtvariant").toDouble(), 95.0);
    QTest::qWait(50);
    QCOMPARE(prompt.calls.size(), 1);
    if (readOnly)
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void BackupTest::restoreRefuses_data()
{
    QTest::addColumn<QString>("copy");
    QTest::addColumn<QString>("why");

    QTest::newRow("not a database") << "notes.db" << "bukan salinan database program ini";
    QTest::newRow("another program's database") << "foreign.db" << "tabelnya tidak sesuai";
    QTest::newRow("no such file") << "missing.db" << "tidak ditemukan";
    QTest::newRow("the database itself") << "tavoru.db" << "database itu sendiri";
    QTest::newRow("while the program runs") << "backup/tavoru-2026-12-08.db" << "sedang dipakai";
}

void BackupTest::restoreRefuses()
{
    QFETCH(QString, copy);
    QFETCH(QString, why);
    TestDb t(false);
    const Outcome made = Backup::makeDailyCopy(t.dbPath(), t.dir() + "/backup", true,
                                               day("2026-12-08"));
    QCOMPARE(made.status, Outcome::Made);
    touch(t.dir() + "/notes.db", QByteArray("Catatan toko, bukan database.\n").repeated(200));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "foreign");
        db.setDatabaseName(t.dir() + "/foreign.db");
        QVERIFY(db.open());
        QSqlQuery(db).exec("CREATE TABLE tvr_customer (idcust INTEGER, nama TEXT)");
        db.close();
    }
    QSqlDatabase::removeDatabase("foreign");

    // The program at work: its connection is open and has written.
    QVERIFY(Connection::open("Driver=QSQLITE;Database=" + t.dbPath(), t.dir()));
    QVERIFY(Connection::prepare().isEmpty());
    Schema::seed();
    if (!copy.startsWith("backup/"))
        Db::close();
    const QByteArray before = fingerprint(t.dbPath());
    const QStringList filesBefore = QDir(t.dir()).entryList(QDir::Files, QDir::Name);

    const Backup::RestoreOutcome r =
        Backup::restore(t.dbPath(), t.dir() + "/" + copy, QDateTime(day("2026-12-09"), {9, 0}));
    QVERIFY(!r.ok);
    QVERIFY2(r.message.contains(why), qPrintable(r.message));
    QVERIFY(r.keptAs.isEmpty());
    QCOMPARE(fingerprint(t.dbPath()), before);
    QCOMPARE(QDir(t.dir()).entryList(QDir::Files, QDir::Name), filesBefore);
    if (Db::isOpen()) {
        // Still the program's database, still writable.
        QCOMPARE(Db::exec("INSERT INTO tvr_customer (cust_nomor) VALUES ('C9')").numRowsAffected(),
                 1);
        Db::close();
    }
}

void BackupTest::restoreMendsIndexesTheCopyBroughtAlong()
{
    TestDb t;
    Db::exec("INSERT INTO tvr_customer (cust_nomor, cust_nama, cust_alamat) VALUES "
             "('C1', 'Ani', 'Jl. Mawar 1'), ('C2', 'Budi', 'Jl. Melati 2')");
    Db::close();
    // Two indexes of one table swapped under their names: each disagrees with
    // the rows while every page and every tree stays whole.
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "swap");
        db.setDatabaseName(t.dbPath());
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec("SELECT name, rootpage FROM sqlite_schema WHERE name IN "
                       "('ix_customer_alamat', 'ix_customer_nomor_urut')"));
        QMap<QString, int> root;
        while (q.next())
            root[q.value(0).toString()] = q.value(1).toInt();
        QCOMPARE(root.size(), 2);
        QVERIFY(q.exec("PRAGMA writable_schema=ON"));
        for (auto [name, other] : {std::pair{"ix_customer_alamat", "ix_customer_nomor_urut"},
                                   std::pair{"ix_customer_nomor_urut", "ix_customer_alamat"}}) {
            QVERIFY(q.prepare("UPDATE sqlite_schema SET rootpage = ? WHERE name = ?"));
            q.addBindValue(root[other]);
            q.addBindValue(name);
            QVERIFY(q.exec());
        }
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase("swap");

    // The daily copy carries them along and passes its page check.
    const Outcome made = Backup::makeDailyCopy(t.dbPath(), t.dir() + "/backup", true,
                                               day("2026-12-08"));
    QCOMPARE(made.status, Outcome::Made);
    QVERIFY(!Backup::checkCopy(made.copy, Backup::CheckDepth::Full).isEmpty());

    // Put back, the database has every row and indexes made from them.
    const Backup::RestoreOutcome r =
        Backup::restore(t.dbPath(), made.copy, QDateTime(day("2026-12-09"), {9, 0}));
    QVERIFY2(r.ok, qPrintable(r.message));
    QVERIFY2(Backup::checkCopy(t.dbPath()).isEmpty(), qPrintable(Backup::checkCopy(t.dbPath())));
    QCOMPARE(valueIn(t.dbPath(), "SELECT group_concat(cust_nomor) FROM tvr_customer "
                                 "WHERE cust_alamat >= 'Jl. M'")
                 .toString(),
             QStringLiteral("C1,C2"));
}

void BackupTest::restoreKeepsTheReplacedDatabase()
{
    TestDb t;
    Db::exec("INSERT INTO tvr_customer (cust_nomor, cust_nama) VALUES ('C1', 'Ani')");
    const QString copy = t.dir() + "/backup/" + Backup::copyName(day("2026-12-08"));
    QCOMPARE(Backup::makeDailyCopy(t.dbPath(), t.dir() + "/backup", true, day("2026-12-08")).status,
             Outcome::Made);
    const QDateTime now(day("2026-12-09"), QTime(15, 30, 0));

    // A program that ended without closing left work after the copy only in its
    // write-ahead log: the kept database must still hold it.
    Db::exec("PRAGMA wal_autocheckpoint=0");
    Db::exec("INSERT INTO tvr_customer (cust_nomor, cust_nama) VALUES ('C2', 'Budi')");
    const QString crashed = t.dir() + "/crashed/tavoru.db";
    QDir().mkpath(t.dir() + "/crashed");
    QVERIFY(QFile::copy(t.dbPath(), crashed));
    QVERIFY(QFile::copy(t.dbPath() + "-wal", crashed + "-wal"));
    Db::close();

    const Backup::RestoreOutcome r = Backup::restore(crashed, copy, now);
    QVERIFY2(r.ok, qPrintable(r.message));
    QCOMPARE(r.keptAs, t.dir() + "/crashed/tavoru-sebelum-restore-20261209-153000.db");
    QVERIFY(r.message.contains(r.keptAs));
    QVERIFY(Backup::checkCopy(r.keptAs).isEmpty());
    QCOMPARE(valueIn(r.keptAs, "SELECT group_concat(cust_nama) FROM tvr_customer").toString(),
             QStringLiteral("Ani,Budi"));
    QVERIFY(!QFileInfo::exists(crashed + "-wal"));
    QCOMPARE(valueIn(crashed, "SELECT group_concat(cust_nama) FROM tvr_customer").toString(),
             QStringLiteral("Ani"));

    // The program starts on a restored database; the copy itself stays.
    QVERIFY(Backup::restore(t.dbPath(), copy, now).ok);
    QVERIFY(QFileInfo::exists(copy));
    {
        ScriptedPrompt prompt;
        QVERIFY(DoConnect(t.dir()));
        QCOMPARE(Db::scalar("SELECT COUNT(*) FROM tvr_customer").toInt(), 1);
        Db::close();
    }

    // Restoring again in the same second keeps the second database under a name of its own.
    const Backup::RestoreOutcome again = Backup::restore(t.dbPath(), copy, now);
    QVERIFY(again.ok);
    QCOMPARE(again.keptAs, t.dir() + "/tavoru-sebelum-restore-20261209-153000-2.db");
    QVERIFY(QFileInfo::exists(t.dir() + "/tavoru-sebelum-restore-20261209-153000.db"));

    // Through cfg.cae, and never for a server database.
    t.writeConfig({"provider=:Driver=QPSQL;Host=db;Database=", "filedata=:tavoru"});
    const Backup::RestoreOutcome server = Backup::restoreConfigured(t.dir(), copy, now);
    QVERIFY(!server.ok);
    QVERIFY(server.message.contains("pg_dump"));
    t.writeStandardConfig();
    QVERIFY(Backup::restoreConfigured(t.dir(), copy, now.addSecs(1)).ok);
}

void BackupTest::fileDialogKeepsTheDatabaseLocks()
{
    TAVORU_SQLITE_ONLY();
    TestDb t;
    Db::exec("INSERT INTO tvr_customer (cust_nomor, cust_nama) VALUES ('C1', 'Ani')");
    QVERIFY(holdsPosixLock(t.dbPath() + "-shm"));

    // Never offered the database's folder, even when it is the one remembered.
    FileDialogs::remember(t.dir() + "/laporan.pdf");
    QVERIFY(QFileInfo(FileDialogs::startFolder()).canonicalFilePath() !=
            QFileInfo(t.dir()).canonicalFilePath());

    // The user goes there anyway: every file is listed with its icon and type.
    auto dialog = FileDialogs::saveDialog(nullptr, "Simpan", t.dir(), "laporan.pdf", "PDF (*.pdf)");
    dialog->setDirectory(t.dir());
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    auto* model = dialog->findChild<QFileSystemModel*>();
    QVERIFY(model);
    model->setNameFilters({}); // every file, not only *.pdf
    const QModelIndex folder = model->index(t.dir());
    QTRY_VERIFY(model->rowCount(folder) >= 3);
    for (int row = 0; row < model->rowCount(folder); ++row) {
        model->data(model->index(row, 0, folder), Qt::DecorationRole);
        model->data(model->index(row, 2, folder), Qt::DisplayRole);
    }
    QTest::qWait(300); // the model's own thread looks at the files meanwhile
    dialog->reject();
    dialog.reset();
    QVERIFY(holdsPosixLock(t.dbPath() + "-shm"));

    // A second till writes and ends; its end must not take the log away from
    // under this program, whose next sale then stays visible to everyone.
    QCOMPARE(runAsAnotherProgram({"--as-till", t.dbPath(), "C2"}), QString("2"));
    Db::exec("INSERT INTO tvr_customer (cust_nomor, cust_nama) VALUES ('C3', 'Citra')");
    QCOMPARE(runAsAnotherProgram({"--as-till", t.dbPath()}), QString("3"));

    // And a restore is refused while this program runs.
    const QString copy = t.dir() + "/backup/" + Backup::copyName(day("2026-12-08"));
    QCOMPARE(Backup::makeDailyCopy(t.dbPath(), t.dir() + "/backup", true, day("2026-12-08")).status,
             Outcome::Made);
    const QString restored = runAsAnotherProgram({"--as-restore", t.dbPath(), copy});
    QVERIFY2(restored.contains("sedang dipakai"), qPrintable(restored));
    QCOMPARE(Db::scalar("SELECT COUNT(*) FROM tvr_customer").toInt(), 3);
}

void BackupTest::leftoversAreCleanedAndTodaysCopyChecked_data()
{
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("staying");

    const QString today = Backup::copyName(day("2026-12-08"));
    const QString own = QString::number(QCoreApplication::applicationPid());
    const QString running = QString::number(getppid());
    QTest::newRow("an earlier day's unfinished copy")
        << QStringList{"tavoru-2026-12-07.db.123.part", "tavoru-2026-12-07.db.123.part-journal"}
        << QStringList{};
    QTest::newRow("today's of a program that is gone, and this one's own")
        << QStringList{today + ".999999999.part", today + ".999999999.part-wal",
                       today + "." + own + ".part", today + "." + own + ".part-shm"}
        << QStringList{};
    QTest::newRow("today's of a program at work stays")
        << QStringList{today + "." + running + ".part"} << QStringList{today + "." + running + ".part"};
    QTest::newRow("an empty file under today's name") << QStringList{today} << QStringList{};
    QTest::newRow("a broken file under today's name")
        << QStringList{today + "#broken", today + "-journal", "tavoru-2026-11-01.db-wal"}
        << QStringList{};
    QTest::newRow("other files are never touched")
        << QStringList{"catatan.txt", "tavoru-lama.db.part"}
        << QStringList{"catatan.txt", "tavoru-lama.db.part"};
}

void BackupTest::leftoversAreCleanedAndTodaysCopyChecked()
{
    TAVORU_SQLITE_ONLY();
    QFETCH(QStringList, present);
    QFETCH(QStringList, staying);
    TestDb t(false);
    const QString folder = t.dir() + "/backup";
    QDir().mkpath(folder);
    for (const QString& entry : present) {
        const QString name = entry.section('#', 0, 0);
        touch(folder + "/" + name,
              entry.endsWith("#broken") ? QByteArray("SQLite format 3").append(4000, '\x01')
                                        : QByteArray());
    }

    const Outcome o = Backup::makeDailyCopy(t.dbPath(), folder, false, day("2026-12-08"));
    QCOMPARE(o.status, Outcome::Made);
    QVERIFY(Backup::checkCopy(o.copy).isEmpty());
    QStringList expected = staying;
    expected << Backup::copyName(day("2026-12-08"));
    expected.sort();
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
    // Made and sound: the next start counts it and does nothing more.
    QCOMPARE(Backup::makeDailyCopy(t.dbPath(), folder, false, day("2026-12-08")).status,
             Outcome::AlreadyMade);
}

void BackupTest::restoreKilledAtAnyPointLeavesADatabase()
{
    TAVORU_SQLITE_ONLY();
    TestDb t;
    const QString copy = t.dir() + "/backup/" + Backup::copyName(day("2026-12-08"));
    QCOMPARE(Backup::makeDailyCopy(t.dbPath(), t.dir() + "/backup", true, day("2026-12-08")).status,
             Outcome::Made);
    Db::exec("INSERT INTO tvr_customer (cust_nomor, cust_nama) VALUES ('C1', 'Ani')");
    Db::close();

    // The restore killed after ever longer moments: whenever it stops, the
    // database is in its place and sound, the old one or the copy, once opened
    // as the program opens it (which finishes a checkpoint cut short).
    bool finished = false;
    for (int delayUs = 0; delayUs <= 400000 && !finished; delayUs += 1000) {
        QProcess p;
        p.start(QCoreApplication::applicationFilePath(), {"--as-restore", t.dbPath(), copy});
        QVERIFY(p.waitForStarted());
        ::usleep(useconds_t(delayUs));
        p.kill();
        p.waitForFinished();
        finished = p.exitStatus() == QProcess::NormalExit;
        const QString customers = runAsAnotherProgram({"--as-till", t.dbPath()});
        QVERIFY2(customers == "0" || customers == "1", qPrintable(customers));
        QVERIFY2(Backup::checkCopy(t.dbPath()).isEmpty(), qPrintable(Backup::checkCopy(t.dbPath())));
        if (customers == "0") // restored: the replaced database was kept
            QVERIFY(!QDir(t.dir()).entryList({"tavoru-sebelum-restore-*.db"}).isEmpty());
    }
    QVERIFY(finished);
    // A start afterwards works on it; a restore cut short left nothing in the way.
    QVERIFY(Backup::restore(t.dbPath(), copy, QDateTime::currentDateTime().addDays(1)).ok);
    QVERIFY(!QFileInfo::exists(t.dbPath() + ".restore.part"));
}

// Started with --as-...: another program on the same files. A till adds the
// customer numbered in its fourth argument, if any, and tells how many there are.
static int actAsAnotherProgram(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const QString path = args.value(2);
    if (args.value(1) == "--as-restore") {
        std::printf("%s\n", qPrintable(Backup::restore(path, args.value(3),
                                                       QDateTime::currentDateTime()).message));
        return 0;
    }
    try {
        if (!Connection::open("Driver=QSQLITE;Database=" + path, QFileInfo(path).absolutePath()))
            throw DbError(Connection::openProblem());
        if (args.size() > 3)
            Db::exec("INSERT INTO tvr_customer (cust_nomor) VALUES (?)", {args.value(3)});
        std::printf("%d\n", Db::scalar("SELECT COUNT(*) FROM tvr_customer").toInt());
    } catch (const DbError& e) {
        std::printf("%s\n", qPrintable(e.text()));
    }
    Db::close();
    return 0;
}

int main(int argc, char** argv)
{
    if (argc >= 2 && std::strncmp(argv[1], "--as-", 5) == 0)
        return actAsAnotherProgram(argc, argv);
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    BackupTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_backup.moc"
