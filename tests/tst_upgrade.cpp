// Schema versions: databases kept from earlier releases are upgraded in place at
// start-up to what the schema script makes, keeping every row; a database of a
// newer program is refused untouched; a step that fails changes nothing.
#include "TestDb.h"

#include "core/Connection.h"
#include "core/Db.h"
#include "core/Schema.h"
#include "core/SchemaUpgrade.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

class UpgradeTest : public QObject {
    Q_OBJECT

private slots:
    void upgradesKeptDatabase_data();
    void upgradesKeptDatabase();
    void refusesNewerDatabase();
    void failedStepChangesNothing();
};

namespace {
bool onPostgres()
{
    return TestDb::defaultEngine() == TestDb::Engine::PostgreSQL;
}

// Every table, index and trigger of the database with its definition.
QMap<QString, QString> schemaObjects()
{
    QMap<QString, QString> objects;
    if (Db::isSqlite()) {
        const RowSet rs = Db::select("SELECT name, sql FROM sqlite_master WHERE sql IS NOT NULL");
        for (int i = 0; i < rs.size(); ++i)
            objects[rs.value(i, 0).toString()] = rs.value(i, 1)
                                                    .toString()
                                                    .simplified()
                                                    .replace(QRegularExpression("\\(\\s+"), "(")
                                                    .replace(QRegularExpression("\\s+\\)"), ")")
                                                    .replace(QRegularExpression("\\s+,"), ",");
        return objects;
    }
    const RowSet cols = Db::select(
        "SELECT table_name, column_name, data_type, character_maximum_length, column_default, "
        "is_nullable, collation_name FROM information_schema.columns "
        "WHERE table_schema = current_schema() ORDER BY table_name, ordinal_position");
    for (int i = 0; i < cols.size(); ++i) {
        QStringList parts;
        for (const QVariant& v : cols.rows.at(i))
            parts << v.toString();
        objects[cols.value(i, 0).toString()] += parts.join('|') + ';';
    }
    const RowSet ix =
        Db::select("SELECT indexname, indexdef FROM pg_indexes WHERE schemaname = current_schema()");
    for (int i = 0; i < ix.size(); ++i)
        objects[ix.value(i, 0).toString()] = ix.value(i, 1).toString();
    return objects;
}

// Every row of the six tables, in key order, as text: the columns the kept
// releases had (those appended since are filled by the upgrade).
QStringList allRows()
{
    QStringList rows;
    for (const Schema::Table& t : Schema::expectedTables()) {
        QStringList columns;
        for (const Schema::Column& c : t.columns)
            columns << c.name;
        const QString table = t.name;
        const RowSet rs = Db::select(
            QStringLiteral("SELECT %1 FROM %2 ORDER BY 1").arg(columns.join(','), table));
        for (const QVariantList& row : rs.rows) {
            QStringList values;
            for (const QVariant& v : row)
                values << (v.isNull() ? QStringLiteral("NULL") : v.toString());
            rows << table + ':' + values.join('|');
        }
    }
    return rows;
}

QString keptFile(const QString& name)
{
    return QStringLiteral(TAVORU_TEST_DATA "/") + name;
}

// Puts the kept database in place of the test database, as the shop's file.
void installKept(const TestDb& t, const QString& name)
{
    Db::close();
    if (onPostgres()) {
        TestDb::recreatePostgresSchema(keptFile(name));
        return;
    }
    QFile::remove(t.dbPath());
    QVERIFY(QFile::copy(keptFile(name), t.dbPath()));
    QVERIFY(QFile::setPermissions(t.dbPath(), QFile::ReadOwner | QFile::WriteOwner));
}

QStringList upgradeCopies(const TestDb& t)
{
    return QDir(t.dir()).entryList({"tavoru-sebelum-upgrade-v*.db"}, QDir::Files);
}
} // namespace

void UpgradeTest::upgradesKeptDatabase_data()
{
    QTest::addColumn<QString>("kept");
    QTest::addColumn<bool>("postgres");
    QTest::addColumn<int>("from");
    const int unversioned = SchemaUpgrade::UnversionedVersion;
    QTest::newRow("sqlite, first release") << "sqlite-first-release.db" << false << unversioned;
    QTest::newRow("sqlite, release 1.0") << "sqlite-release-1.0.db" << false << unversioned;
    QTest::newRow("sqlite, release 1.1") << "sqlite-release-1.1.db" << false << 3;
    QTest::newRow("postgresql, release 1.0") << "postgresql-release-1.0.sql" << true << unversioned;
    QTest::newRow("postgresql, release 1.1") << "postgresql-release-1.1.sql" << true << 3;
}

void UpgradeTest::upgradesKeptDatabase()
{
    QFETCH(QString, kept);
    QFETCH(bool, postgres);
    QFETCH(int, from);
    if (postgres != onPostgres())
        QSKIP("a database of the other engine");

    TestDb fresh(false);
    QVERIFY(Connection::open(fresh.connectionText(), fresh.dir()));
    const QMap<QString, QString> scripted = schemaObjects();
    QCOMPARE(SchemaUpgrade::version(), SchemaUpgrade::CurrentVersion);

    TestDb t(false);
    installKept(t, kept);
    QVERIFY(Connection::open(t.connectionText(), t.dir()));
    QCOMPARE(SchemaUpgrade::version(), from);
    const QStringList before = allRows();
    QVERIFY(before.size() > 10);
    Db::close();

    const StartupResult started = DoConnect(t.dir());
    QVERIFY2(started.ok, qPrintable(started.text));
    QCOMPARE(SchemaUpgrade::version(), SchemaUpgrade::CurrentVersion);
    // Seeding added nothing either: the kept rows are exactly what stays.
    QCOMPARE(allRows(), before);
    QCOMPARE(schemaObjects(), scripted);

    if (!postgres) {
        // The search's trigram table was filled from the customers already there.
        QCOMPARE(Db::scalar("SELECT COUNT(*) FROM tvr_zsearch WHERE tvr_zsearch MATCH 'anto'")
                     .toInt(),
                 1);
        Db::exec("INSERT INTO tvr_zsearch (tvr_zsearch) VALUES ('integrity-check')");
        // The copy kept beside it is the database as it was.
        const QStringList copies = upgradeCopies(t);
        QCOMPARE(copies.size(), 1);
        Db::close();
        QVERIFY(Connection::open("Driver=QSQLITE;Database=" + QDir(t.dir()).filePath(copies.first()),
                                 t.dir()));
        QCOMPARE(SchemaUpgrade::version(), from);
        QCOMPARE(allRows(), before);
    }
    Db::close();

    // The next start finds the database current and makes no second copy.
    QVERIFY(DoConnect(t.dir()));
    // One row for each step the upgrade took.
    QCOMPARE(Db::scalar("SELECT COUNT(*) FROM tvr_version").toInt(),
             SchemaUpgrade::CurrentVersion - from + (from == SchemaUpgrade::UnversionedVersion ? 0 : 1));
    // Every account kept every right it had; the sales totals were made from the rows.
    QCOMPARE(Db::scalar("SELECT COUNT(*) FROM tvr_user WHERE user_peran <> 1").toInt(), 0);
    QCOMPARE(Db::scalar("SELECT ROUND(SUM(ringkasan_total) * 100) FROM tvr_ringkasan "
                        "WHERE ringkasan_jenis = 0 AND ringkasan_satuan = 2")
                 .toLongLong(),
             Db::scalar("SELECT ROUND(SUM(sales_hargadiskon) * 100) FROM tvr_sales").toLongLong());
    if (!postgres)
        QCOMPARE(upgradeCopies(t).size(), 1);
}

void UpgradeTest::refusesNewerDatabase()
{
    TestDb t(false);
    QVERIFY(Connection::open(t.connectionText(), t.dir()));
    const int newer = SchemaUpgrade::CurrentVersion + 1;
    Db::exec("INSERT INTO tvr_version (version_nomor, version_date, version_keterangan) "
             "VALUES (?, '2030-01-01', 'dari program yang lebih baru')",
             {newer});
    const QStringList rows = allRows();
    Db::close();
    QByteArray bytes;
    if (!onPostgres()) {
        QFile f(t.dbPath());
        QVERIFY(f.open(QIODevice::ReadOnly));
        bytes = f.readAll();
    }

    const StartupResult r = DoConnect(t.dir());
    QVERIFY(!r.ok);
    QCOMPARE(r.title, QStringLiteral("DATABASE ERROR"));
    QCOMPARE(r.text, SchemaUpgrade::refusal(newer));
    QVERIFY(r.text.contains(QString::number(newer)));
    QVERIFY(!Db::isOpen());

    if (!onPostgres()) {
        QFile f(t.dbPath());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), bytes);
        QVERIFY(!QFile::exists(t.dbPath() + "-wal"));
    }
    QVERIFY(Connection::open(t.connectionText(), t.dir()));
    QCOMPARE(allRows(), rows);
    QCOMPARE(SchemaUpgrade::version(), newer);
}

void UpgradeTest::failedStepChangesNothing()
{
    // A view of the shop's own under the name the upgrade needs for its table:
    // the step fails after it has made some of its indexes.
    TestDb t(false);
    installKept(t, onPostgres() ? "postgresql-release-1.0.sql" : "sqlite-first-release.db");
    QVERIFY(Connection::open(t.connectionText(), t.dir()));
    Db::exec("CREATE VIEW tvr_version AS SELECT cust_nomor FROM tvr_customer");
    const QMap<QString, QString> objects = schemaObjects();
    const QStringList rows = allRows();
    Db::close();

    const StartupResult r = DoConnect(t.dir());
    QVERIFY(!r.ok);
    QVERIFY2(r.text.contains("Database tidak diubah"), qPrintable(r.text));
    QVERIFY(r.text.contains("tvr_version"));

    QVERIFY(Connection::open(t.connectionText(), t.dir()));
    QCOMPARE(schemaObjects(), objects);
    QCOMPARE(allRows(), rows);
    QCOMPARE(SchemaUpgrade::version(), SchemaUpgrade::UnversionedVersion);
}

QTEST_MAIN(UpgradeTest)
#include "tst_upgrade.moc"
