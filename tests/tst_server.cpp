// Several tills on one database: the PostgreSQL schema and its check, first-run
// rows, two tills selling from the same stock at once, rows deleted by another
// till, and a server that goes away and comes back.

#include "ScriptedPrompt.h"
#include "TestDb.h"

#include "core/Connection.h"
#include "core/Db.h"
#include "core/Globals.h"
#include "core/Schema.h"
#include "masterdata/RegisterStore.h"
#include "sales/SalesStore.h"
#include "sales/frmTransaksi.h"
#include "sales/VisitStore.h"
#include "core/Config.h"
#include "payments/PaymentPanel.h"
#include "payments/ShiftStore.h"
#include "sales/ReceiptPrinter.h"
#include "stock/StockStore.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QTest>

#include <atomic>
#include <functional>
#include <map>

namespace {

using Engine = TestDb::Engine;

// Runs as a second till: the test starts this binary again with these set.
const char* const TillConnection = "TAVORU_TILL_CONNECTION";
const char* const TillItems = "TAVORU_TILL_ITEMS"; // idcust,idvariant,idbotol,attempts
// "sell" (the default) or "delete-customer".
const char* const TillMode = "TAVORU_TILL_MODE";

void addEngineColumn()
{
    QTest::addColumn<int>("engine");
    QTest::newRow("sqlite") << int(Engine::SQLite);
    QTest::newRow("postgresql") << int(Engine::PostgreSQL);
}

// A PostgreSQL row without a server to run it on is skipped with one line.
#define SKIP_WITHOUT_SERVER(engine)                                                          \
    do {                                                                                     \
        if ((engine) == Engine::PostgreSQL && !TestDb::postgresAvailable())                  \
            QSKIP(qPrintable(TestDb::postgresSkipReason()));                                 \
    } while (false)

int insert(const QString& sql, const QVariantList& values = {})
{
    return int(Db::insertedId(Db::exec(sql, values)));
}

struct Shop {
    int cust = 0, variant = 0, botol = 0;
};

Shop makeShop(double concentrate, double bottles)
{
    Shop s;
    s.cust = insert("INSERT INTO tvr_customer (cust_nomor, cust_nama) VALUES ('C001', 'Ani')");
    s.variant = insert("INSERT INTO tvr_dtvariant (variant_kode, variant_nama, variant_harga, "
                       "variant_stock) VALUES ('V1', 'Melati', 1000, ?)",
                       {concentrate});
    s.botol = insert("INSERT INTO tvr_dtbotol (botol_tipe, botol_harga, botol_stock) "
                     "VALUES ('SPRAY', 5000, ?)",
                     {bottles});
    return s;
}

SalesStore::NewSale saleOf(const Shop& s, double mililiter)
{
    SalesStore::NewSale sale;
    sale.idCust = s.cust;
    sale.amounts.idVariant = s.variant;
    sale.amounts.idBotol = s.botol;
    sale.amounts.mililiter = mililiter;
    sale.amounts.totalml = mililiter;
    sale.amounts.hargaVariant = 1000;
    sale.amounts.hargaBotol = 5000;
    sale.amounts.hargaTotal = sale.amounts.hargaDiskon = mililiter * 1000 + 5000;
    return sale;
}

double number(const QString& sql, const QVariantList& values = {})
{
    return Db::scalar(sql, values).toDouble();
}

QString serverScript()
{
    return qEnvironmentVariable("TAVORU_PG_SERVER");
}

bool serverControl(const QString& command)
{
    QProcess p;
    p.start(serverScript(), {command, qEnvironmentVariable("TAVORU_PG_DIR")});
    return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// A till that waits until the other has made some sales and then deletes
// their customer in the customer register, sales and all. Prints "deleted".
int runDeletingTill(const Shop& shop)
{
    for (int i = 0; i < 20000; ++i) {
        if (Db::scalar(QStringLiteral("SELECT COUNT(*) FROM tvr_sales")).toInt() >= 10)
            break;
        QThread::yieldCurrentThread();
    }
    if (RegisterStore::deleteCustomer(shop.cust) != RegisterStore::Outcome::Done)
        return 6;
    printf("deleted\n");
    return 0;
}

// A till paying visits of two items (one millilitre and one bottle each) in
// cash in its own shift; of every three visits the first item of one is
// deleted afterwards, its money given back. Prints the items kept, 0, and the
// visits refused for want of stock.
int runVisitTill(const Shop& shop, int attempts)
{
    qint64 shift = 0;
    if (ShiftStore::open(QStringLiteral("Till %1").arg(QCoreApplication::applicationPid()), 0,
                         &shift) != ShiftStore::Outcome::Done)
        return 7;
    int kept = 0, refused = 0;
    for (int i = 0; i < attempts; ++i) {
        VisitStore::NewVisit nv;
        nv.idShift = shift;
        nv.idCust = shop.cust;
        VisitItem item;
        item.idVariant = shop.variant;
        item.idBotol = shop.botol;
        item.mililiter = item.totalml = 1;
        item.hargaVariant = 1000;
        item.hargaBotol = 5000;
        nv.visit.addItem(item);
        nv.visit.addItem(item);
        nv.visit.pay({QStringLiteral("Tunai"), true, 20000, 0});
        VisitStore::Saved saved;
        const VisitStore::Result r = VisitStore::recordVisit(nv, &saved);
        if (r.sale == SalesStore::Outcome::NoConcentrate || r.sale == SalesStore::Outcome::NoBottle) {
            ++refused;
            continue;
        }
        if (!r.done())
            return 4;
        kept += 2;
        if (i % 3 == 0) {
            if (!VisitStore::deleteItem(saved.idSales.first(), {QStringLiteral("Tunai"), true}, shift,
                                        1, nullptr)
                     .done())
                return 4;
            --kept;
        }
    }
    printf("%d 0 %d\n", kept, refused);
    Db::close();
    return 0;
}

// The selling till's loop: of every four attempts one is a stock reduction of
// one millilitre in the stock window, one a correction of this till's last
// sale to one millilitre more, the others sales of one millilitre and one
// bottle. A refusal for want of stock counts; a deleted customer ends the
// loop. Prints the sales, reductions and refusals.
int runTill()
{
    QCoreApplication::setApplicationName(QStringLiteral("till"));
    if (!Connection::open(qEnvironmentVariable(TillConnection), QDir::tempPath()))
        return 3;
    LoginUserName = QStringLiteral("till");
    const QStringList items = qEnvironmentVariable(TillItems).split(QLatin1Char(','));
    const Shop shop{items.at(0).toInt(), items.at(1).toInt(), items.at(2).toInt()};
    const int attempts = items.at(3).toInt();
    int sold = 0, reduced = 0, refused = 0;
    qint64 last = 0;
    try {
        if (qEnvironmentVariable(TillMode) == QLatin1String("delete-customer"))
            return runDeletingTill(shop);
        if (qEnvironmentVariable(TillMode) == QLatin1String("visits"))
            return runVisitTill(shop, attempts);
        if (qEnvironmentVariable(TillMode).startsWith(QLatin1String("new-customers"))) {
            // Sales to customers who are not registered yet, the same numbers
            // on both tills (in another letter case on one of them).
            const bool lower = qEnvironmentVariable(TillMode).endsWith(QLatin1String("lower"));
            for (int i = 0; i < attempts; ++i) {
                SalesStore::NewSale sale = saleOf(shop, 1);
                sale.idCust = 0;
                if (lower) {
                    // Other goods, so the two tills never wait on one stock row.
                    sale.amounts.idVariant = shop.variant + 1;
                    sale.amounts.idBotol = shop.botol + 1;
                }
                const QString nomor = QStringLiteral("N%1").arg(i % 25);
                sale.customer = {lower ? nomor.toLower() : nomor, QStringLiteral("Baru"), {}, {}};
                if (SalesStore::recordSale(sale, nullptr) != SalesStore::Outcome::Done)
                    return 4;
                ++sold;
            }
            printf("%d 0 0\n", sold);
            Db::close();
            return 0;
        }
        for (int i = 0; i < attempts; ++i) {
            if (i % 4 == 2 && last != 0) {
                SalesStore::Amounts more = saleOf(shop, 1).amounts;
                more.mililiter = SalesStore::loadSale(last).value_or(SalesStore::Sale{}).mililiter + 1;
                const SalesStore::Outcome corrected = SalesStore::correctSale(last, more);
                if (corrected == SalesStore::Outcome::NoConcentrate)
                    ++refused;
                else if (corrected == SalesStore::Outcome::Missing)
                    break; // the customer and its sales are gone
                else if (corrected != SalesStore::Outcome::Done)
                    return 4;
                continue;
            }
            if (i % 4 == 3) {
                const auto moved = StockStore::move(StockStore::Item::Variant, shop.variant, -1,
                                                    QStringLiteral("uji"));
                moved.outcome == StockStore::Outcome::Done ? ++reduced : ++refused;
                continue;
            }
            qint64 id = 0;
            const SalesStore::Outcome outcome = SalesStore::recordSale(saleOf(shop, 1), &id);
            if (outcome == SalesStore::Outcome::Done) {
                ++sold;
                last = id;
            } else if (outcome == SalesStore::Outcome::NoConcentrate) {
                ++refused;
            } else if (outcome == SalesStore::Outcome::CustomerGone) {
                break;
            } else {
                return 4;
            }
        }
    } catch (const DbError& e) {
        fprintf(stderr, "%s\n", qPrintable(e.text()));
        return 5;
    }
    printf("%d %d %d\n", sold, reduced, refused);
    Db::close();
    return 0;
}

// A second till's connection to the same server, in a thread of its own: it
// runs `first` (a SELECT ... FOR UPDATE), waits until the till under test
// waits for a lock, runs `second` and commits. A failed statement is kept.
class OtherTill : public QThread {
public:
    QString connection, first, second, deadlockTimeout;
    int tillPid = 0;
    std::atomic<bool> holding{false};
    QString error;

    void run() override
    {
        {
            const ConnectionText c = ConnectionText::parse(connection);
            QSqlDatabase db = QSqlDatabase::addDatabase(c.driver, QStringLiteral("other-till"));
            db.setDatabaseName(c.database);
            db.setHostName(c.host);
            db.setPort(c.port);
            db.setUserName(c.user);
            QSqlQuery q(db);
            const auto exec = [&](const QString& sql) {
                if (error.isEmpty() && !q.exec(sql))
                    error = q.lastError().text();
            };
            if (!db.open())
                error = db.lastError().text();
            exec(QStringLiteral("SET deadlock_timeout = '%1'").arg(deadlockTimeout));
            exec(QStringLiteral("BEGIN"));
            exec(first);
            holding = true;
            for (int i = 0; i < 2000 && error.isEmpty(); ++i) {
                exec(QStringLiteral("SELECT 1 FROM pg_locks WHERE NOT granted AND pid = %1")
                         .arg(tillPid));
                if (q.next())
                    break;
                QThread::msleep(10);
            }
            exec(second);
            exec(error.isEmpty() ? QStringLiteral("COMMIT") : QStringLiteral("ROLLBACK"));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other-till"));
    }
};

// Deadlocks the server has resolved in the test database, as counted now.
qint64 deadlocks()
{
    Db::scalar(QStringLiteral("SELECT pg_stat_force_next_flush()"));
    Db::scalar(QStringLiteral("SELECT pg_stat_clear_snapshot()"));
    return Db::scalar(QStringLiteral("SELECT deadlocks FROM pg_stat_database "
                                     "WHERE datname = current_database()"))
        .toLongLong();
}

} // namespace

class ServerTest : public QObject {
    Q_OBJECT

    // Runs one till process per mode at once on the shop; their outputs.
    QStringList runTills(const QString& connection, const Shop& shop, int attempts,
                         const QStringList& modes)
    {
        QList<QProcess*> tills;
        for (const QString& mode : modes) {
            auto* p = new QProcess(this);
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(TillConnection, connection);
            env.insert(TillMode, mode);
            env.insert(TillItems, QStringLiteral("%1,%2,%3,%4")
                                      .arg(shop.cust)
                                      .arg(shop.variant)
                                      .arg(shop.botol)
                                      .arg(attempts));
            p->setProcessEnvironment(env);
            p->start(QCoreApplication::applicationFilePath(), {});
            tills << p;
        }
        QStringList outputs;
        for (QProcess* p : tills) {
            if (!p->waitForFinished(120000) || p->exitCode() != 0) {
                qWarning("till failed (%d): %s", p->exitCode(),
                         p->readAllStandardError().constData());
                return {};
            }
            outputs << QString::fromLatin1(p->readAllStandardOutput()).trimmed();
        }
        return outputs;
    }

private slots:
    void schemaCheckOnServer();
    void firstStartSeedsOnce();
    void twoTillsKeepTheStockExact_data() { addEngineColumn(); }
    void twoTillsKeepTheStockExact();
    void twoTillsPayVisitsExactly_data() { addEngineColumn(); }
    void twoTillsPayVisitsExactly();
    void customerDeletedWhileSelling_data() { addEngineColumn(); }
    void customerDeletedWhileSelling();
    void rowsDeletedMeanwhileAreRefused_data() { addEngineColumn(); }
    void rowsDeletedMeanwhileAreRefused();
    void tillRefusesWhatAnotherTillTook_data();
    void tillRefusesWhatAnotherTillTook();
    void sameNewCustomerOnTwoTills_data() { addEngineColumn(); }
    void sameNewCustomerOnTwoTills();
    void lostServerIsReopened_data();
    void lostServerIsReopened();
    void lockOrderBetweenTwoTills_data();
    void lockOrderBetweenTwoTills();
};

void ServerTest::schemaCheckOnServer()
{
    SKIP_WITHOUT_SERVER(Engine::PostgreSQL);
    struct Change {
        const char* sql;
        bool passes;
    };
    const Change changes[] = {
        {nullptr, true},
        {"ALTER TABLE tvr_customer ADD COLUMN cust_extra INTEGER", true},
        {"ALTER TABLE tvr_customer ALTER COLUMN cust_nama TYPE VARCHAR(30)", true},
        {"ALTER TABLE tvr_customer ALTER COLUMN cust_nama TYPE VARCHAR(20)", false},
        {"ALTER TABLE tvr_customer ALTER COLUMN cust_nama TYPE TEXT", false},
        {"ALTER TABLE tvr_sales ALTER COLUMN sales_status TYPE INTEGER", false},
        {"ALTER TABLE tvr_dtvariant ALTER COLUMN variant_harga TYPE REAL", false},
        {"ALTER TABLE tvr_user RENAME COLUMN user_name TO user_nama", false},
        {"DROP TABLE tvr_stock", false},
    };
    for (const Change& change : changes) {
        TestDb t(Engine::PostgreSQL);
        if (change.sql)
            Db::exec(QString::fromLatin1(change.sql));
        QVERIFY2(Schema::verify(Db::connection()) == change.passes,
                 change.sql ? change.sql : "unchanged schema");
    }
}

void ServerTest::firstStartSeedsOnce()
{
    SKIP_WITHOUT_SERVER(Engine::PostgreSQL);
    TestDb t(Engine::PostgreSQL, false);
    for (int start = 0; start < 2; ++start) {
        const StartupResult started = DoConnect(t.dir());
        QVERIFY2(started.ok, qPrintable(started.text));
        QCOMPARE(Db::select("SELECT botol_tipe, botol_harga, botol_stock, botol_author "
                            "FROM tvr_dtbotol")
                     .rows,
                 (QList<QVariantList>{{"REFILL", 0.0, 0.0, "sysadmin"}}));
        QCOMPARE(Db::select("SELECT user_name, user_namalengkap, user_author FROM tvr_user").rows,
                 (QList<QVariantList>{{"admin", "Administrator", "sysadmin"}}));
        Db::close();
    }
}

// Two tills in two processes sell and reduce from the same variant until its
// stock runs out: nothing is sold twice, the stock never goes below zero, and
// what was taken adds up to what there was.
void ServerTest::twoTillsKeepTheStockExact()
{
    QFETCH(int, engine);
    SKIP_WITHOUT_SERVER(Engine(engine));
    TestDb t{Engine(engine)};
    const double concentrate = 150;
    const double bottles = 1000;
    const Shop shop = makeShop(concentrate, bottles);
    const int attempts = 120; // two tills: 240 attempts for 150 millilitres
    const QString connection = t.connectionText();
    Db::close();

    const QStringList outputs =
        runTills(connection, shop, attempts, {QStringLiteral("sell"), QStringLiteral("sell")});
    QCOMPARE(outputs.size(), 2);
    int sold = 0, reduced = 0;
    for (const QString& output : outputs) {
        const QStringList counts = output.split(' ');
        QCOMPARE(counts.size(), 3);
        sold += counts.at(0).toInt();
        reduced += counts.at(1).toInt();
    }

    QVERIFY(Connection::open(connection, t.dir()));
    // The stock ran out exactly: what the sales hold now (corrections
    // included) and what the stock window took add up to what there was.
    QCOMPARE(number("SELECT variant_stock FROM tvr_dtvariant WHERE idvariant = ?", {shop.variant}),
             0.0);
    QCOMPARE(number("SELECT COUNT(*) FROM tvr_sales"), double(sold));
    QCOMPARE(number("SELECT SUM(sales_mililiter) FROM tvr_sales") + reduced, concentrate);
    QCOMPARE(number("SELECT -SUM(stock_order) FROM tvr_stock"), double(reduced));
    QVERIFY(number("SELECT MIN(stock_akhir) FROM tvr_stock") >= 0);
    QCOMPARE(number("SELECT botol_stock FROM tvr_dtbotol WHERE idbotol = ?", {shop.botol}),
             bottles - sold);
}

// Two tills pay visits of two items from one variant at once, until it runs
// out: every millilitre, bottle and rupiah adds up, each till in its own shift.
void ServerTest::twoTillsPayVisitsExactly()
{
    QFETCH(int, engine);
    SKIP_WITHOUT_SERVER(Engine(engine));
    TestDb t{Engine(engine)};
    const Shop shop = makeShop(100, 1000);
    const QString connection = t.connectionText();
    Db::close();

    const QStringList outputs =
        runTills(connection, shop, 40, {QStringLiteral("visits"), QStringLiteral("visits")});
    QCOMPARE(outputs.size(), 2);
    int kept = 0;
    for (const QString& output : outputs)
        kept += output.section(' ', 0, 0).toInt();

    QVERIFY(Connection::open(connection, t.dir()));
    QCOMPARE(number("SELECT COUNT(*) FROM tvr_sales"), double(kept));
    QCOMPARE(number("SELECT variant_stock FROM tvr_dtvariant WHERE idvariant = ?", {shop.variant}) +
                 number("SELECT SUM(sales_mililiter) FROM tvr_sales"),
             100.0);
    QCOMPARE(number("SELECT botol_stock FROM tvr_dtbotol WHERE idbotol = ?", {shop.botol}),
             1000.0 - kept);
    // What went into the drawers less what went back is what the kept items cost.
    QCOMPARE(number("SELECT SUM(payment_jumlah) FROM tvr_payment"),
             number("SELECT SUM(sales_hargadiskon) FROM tvr_sales"));
    QCOMPARE(number("SELECT COUNT(DISTINCT payment_idshift) FROM tvr_payment"), 2.0);
    QCOMPARE(number("SELECT COUNT(*) FROM tvr_visitsales"), double(kept));
}

// One till sells to a customer while another deletes that customer: no sale is
// left pointing at the deleted customer, and the stock of every sale the
// deletion removed came back.
void ServerTest::customerDeletedWhileSelling()
{
    QFETCH(int, engine);
    SKIP_WITHOUT_SERVER(Engine(engine));
    TestDb t{Engine(engine)};
    const double concentrate = 1000;
    const double bottles = 1000;
    const Shop shop = makeShop(concentrate, bottles);
    const QString connection = t.connectionText();
    Db::close();

    const QStringList outputs = runTills(connection, shop, 400,
                                         {QStringLiteral("sell"), QStringLiteral("delete-customer")});
    QCOMPARE(outputs.size(), 2);
    QCOMPARE(outputs.at(1), QStringLiteral("deleted"));
    const int reduced = outputs.at(0).split(' ').value(1).toInt();

    QVERIFY(Connection::open(connection, t.dir()));
    QCOMPARE(number("SELECT COUNT(*) FROM tvr_customer"), 0.0);
    QCOMPARE(number("SELECT COUNT(*) FROM tvr_sales"), 0.0);
    QCOMPARE(number("SELECT variant_stock FROM tvr_dtvariant"), concentrate - reduced);
    QCOMPARE(number("SELECT botol_stock FROM tvr_dtbotol WHERE idbotol = ?", {shop.botol}), bottles);
}

void ServerTest::rowsDeletedMeanwhileAreRefused()
{
    QFETCH(int, engine);
    SKIP_WITHOUT_SERVER(Engine(engine));
    using SalesStore::Outcome;
    const struct {
        const char* deletion;
        Outcome outcome;
    } cases[] = {
        {"DELETE FROM tvr_customer WHERE idcust = ?", Outcome::CustomerGone},
        {"DELETE FROM tvr_dtvariant WHERE idvariant = ?", Outcome::VariantGone},
        {"DELETE FROM tvr_dtbotol WHERE idbotol = ?", Outcome::BotolGone},
    };
    for (const auto& c : cases) {
        TestDb t{Engine(engine)};
        const Shop shop = makeShop(10, 10);
        const int id = c.outcome == Outcome::CustomerGone  ? shop.cust
                       : c.outcome == Outcome::VariantGone ? shop.variant
                                                           : shop.botol;
        Db::exec(QString::fromLatin1(c.deletion), {id});
        qint64 saleId = 0;
        QCOMPARE(SalesStore::recordSale(saleOf(shop, 2), &saleId), c.outcome);
        QCOMPARE(number("SELECT COUNT(*) FROM tvr_sales"), 0.0);
        // The rows that remain keep their stock.
        QCOMPARE(number("SELECT COALESCE(MAX(variant_stock), 10) FROM tvr_dtvariant"), 10.0);
        QCOMPARE(number("SELECT COALESCE(MAX(botol_stock), 10) FROM tvr_dtbotol "
                        "WHERE idbotol = ?",
                        {shop.botol}),
                 10.0);
    }
    // More than the stored stock, though the screen may have shown enough.
    TestDb t{Engine(engine)};
    const Shop shop = makeShop(3, 10);
    qint64 saleId = 0;
    QCOMPARE(SalesStore::recordSale(saleOf(shop, 3.5), &saleId), Outcome::NoConcentrate);
    Db::exec("UPDATE tvr_dtbotol SET botol_stock = 0");
    QCOMPARE(SalesStore::recordSale(saleOf(shop, 3), &saleId), Outcome::NoBottle);
    QCOMPARE(number("SELECT COUNT(*) FROM tvr_sales"), 0.0);
    QCOMPARE(number("SELECT variant_stock FROM tvr_dtvariant"), 3.0);
}

void ServerTest::tillRefusesWhatAnotherTillTook_data()
{
    QTest::addColumn<int>("engine");
    // Another till's change; %1, %2, %3: the customer, variant and bottle type.
    QTest::addColumn<QString>("meanwhile");
    QTest::addColumn<QString>("message");
    for (const Engine engine : {Engine::SQLite, Engine::PostgreSQL}) {
        const char* e = engine == Engine::SQLite ? "sqlite" : "postgresql";
        QTest::addRow("%s, concentrate sold", e)
            << int(engine) << "UPDATE tvr_dtvariant SET variant_stock = 3 WHERE idvariant = %2"
            << "Stock Konsentrat tidak tersedia.";
        QTest::addRow("%s, last bottle sold", e)
            << int(engine) << "UPDATE tvr_dtbotol SET botol_stock = 0 WHERE idbotol = %3"
            << "Stock Botol tidak tersedia.";
        QTest::addRow("%s, customer deleted", e)
            << int(engine) << "DELETE FROM tvr_customer WHERE idcust = %1"
            << "Customer ini sudah tidak ada (telah dihapus dari kasir lain).";
        QTest::addRow("%s, variant deleted", e)
            << int(engine) << "DELETE FROM tvr_dtvariant WHERE idvariant = %2"
            << "Variant ini sudah tidak ada (telah dihapus dari kasir lain).";
        QTest::addRow("%s, bottle type deleted", e)
            << int(engine) << "DELETE FROM tvr_dtbotol WHERE idbotol = %3"
            << "Tipe botol ini sudah tidak ada (telah dihapus dari kasir lain).";
    }
}

// The cashier looked everything up; another till changes it before Submit:
// the sale is refused with the till's message and nothing is written.
void ServerTest::tillRefusesWhatAnotherTillTook()
{
    QFETCH(int, engine);
    QFETCH(QString, meanwhile);
    QFETCH(QString, message);
    SKIP_WITHOUT_SERVER(Engine(engine));
    TestDb t{Engine(engine)};
    const Shop shop = makeShop(5, 10);
    ScriptedPrompt prompt;
    ShiftStore::open(Config::tillName(ReceiptPrinter::settings()), 0, nullptr);
    frmTransaksi w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    const auto type = [](QLineEdit* field, const QString& text) {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
    };
    type(w.txtNoCust, "C001");
    type(w.txtKode, "V1");
    type(w.txtMililiter, "4");
    const int spray = w.cmbBotol->findText("SPRAY");
    QVERIFY(spray >= 0);
    w.cmbBotol->setCurrentIndex(spray);
    emit w.cmbBotol->activated(spray);
    type(w.txtDiscount, "0");

    Db::exec(QString(meanwhile)
                 .replace("%1", QString::number(shop.cust))
                 .replace("%2", QString::number(shop.variant))
                 .replace("%3", QString::number(shop.botol)));
    const QString stockSql = QStringLiteral("SELECT COALESCE(SUM(variant_stock), 0) + "
                                            "(SELECT COALESCE(SUM(botol_stock), 0) FROM tvr_dtbotol) "
                                            "FROM tvr_dtvariant");
    const double before = number(stockSql);
    // The item joins the visit; paying it is refused.
    QTest::mouseClick(w.cmdSubmit, Qt::LeftButton);
    QTest::keyClick(&w, Qt::Key_F3);
    QTest::keyClick(w.fraBayar->txtDiterima, Qt::Key_Return);
    QVERIFY(!prompt.calls.isEmpty());
    QCOMPARE(prompt.texts().last(), message);
    QCOMPARE(number("SELECT COUNT(*) FROM tvr_sales"), 0.0);
    QCOMPARE(number(stockSql), before);
}

// The server stops under a running till: the next action fails with one
// database error, and once the server is back the one after it works on a
// reopened connection, with everything committed before still there.
void ServerTest::sameNewCustomerOnTwoTills()
{
    QFETCH(int, engine);
    SKIP_WITHOUT_SERVER(Engine(engine));
    TestDb t{Engine(engine)};
    const Shop shop = makeShop(10000, 10000);
    QCOMPARE(insert("INSERT INTO tvr_dtvariant (variant_kode, variant_stock) VALUES ('V2', 10000)"),
             shop.variant + 1);
    QCOMPARE(insert("INSERT INTO tvr_dtbotol (botol_tipe, botol_stock) VALUES ('ROLL', 10000)"),
             shop.botol + 1);
    const QString connection = t.connectionText();
    Db::close();

    const QStringList outputs = runTills(connection, shop, 100,
                                         {QStringLiteral("new-customers"), QStringLiteral("new-customers-lower")});
    QCOMPARE(outputs.size(), 2);

    // Each new number is registered once; every sale went to it.
    QVERIFY(Connection::open(connection, t.dir()));
    QCOMPARE(number("SELECT COUNT(*) FROM tvr_customer WHERE lower(cust_nomor) LIKE 'n%'"), 25.0);
    QCOMPARE(number("SELECT COUNT(*) FROM tvr_sales"), 200.0);
}

void ServerTest::lostServerIsReopened_data()
{
    QTest::addColumn<QString>("loss");
    QTest::addColumn<int>("failures"); // of the action after the loss
    QTest::newRow("the server stops and comes back") << "pause" << 1;
    QTest::newRow("the connection found closed") << "close" << 0;
}

// The connection is lost under a running till: at most the next action fails
// with one database error, and the one after it works on a reopened
// connection, with everything committed before still there.
void ServerTest::lostServerIsReopened()
{
    QFETCH(QString, loss);
    QFETCH(int, failures);
    SKIP_WITHOUT_SERVER(Engine::PostgreSQL);
    if (loss == "pause" &&
        (serverScript().isEmpty() || qEnvironmentVariable("TAVORU_PG_DIR").isEmpty()))
        QSKIP("the test server script is not known (TAVORU_PG_SERVER unset)");
    TestDb t(Engine::PostgreSQL);
    const Shop shop = makeShop(10, 10);
    qint64 first = 0;
    QCOMPARE(SalesStore::recordSale(saleOf(shop, 2), &first), SalesStore::Outcome::Done);

    if (loss == "pause")
        QVERIFY(serverControl(QStringLiteral("pause")));
    else
        Db::connection().close();
    int failed = 0;
    try {
        SalesStore::recordSale(saleOf(shop, 2), &first);
    } catch (const DbError&) {
        ++failed;
    }
    if (loss == "pause")
        QVERIFY(serverControl(QStringLiteral("resume")));
    QCOMPARE(failed, failures);

    qint64 second = 0;
    QCOMPARE(SalesStore::recordSale(saleOf(shop, 3), &second), SalesStore::Outcome::Done);
    QCOMPARE(number("SELECT COUNT(*) FROM tvr_sales"), 3.0 - failures);
    QCOMPARE(number("SELECT variant_stock FROM tvr_dtvariant"), 5.0 - 2 * (1 - failures));
    QVERIFY(SalesStore::findVariant("v1").has_value());
}

void ServerTest::lockOrderBetweenTwoTills_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("otherInOrder");
    for (const char* action : {"correct sale", "delete sale", "delete variant",
                               "delete bottle type", "delete customer"}) {
        // The other till keeps the order (the variant, then the sale): the two
        // take turns. It breaks it (the sale, then the variant): the server
        // cancels the till under test, which runs its action again unseen.
        QTest::addRow("%s, other till in order", action) << QString(action) << true;
        QTest::addRow("%s, other till out of order", action) << QString(action) << false;
    }
}

// A till's write and another till's transaction on the same sale and items,
// on two connections: items are locked before their sales, so a till keeping
// that order never deadlocks with it; and a transaction the server cancels as
// a deadlock victim is run once more without the caller seeing it.
void ServerTest::lockOrderBetweenTwoTills()
{
    QFETCH(QString, action);
    QFETCH(bool, otherInOrder);
    SKIP_WITHOUT_SERVER(Engine::PostgreSQL);
    TestDb t(Engine::PostgreSQL);
    const Shop shop = makeShop(100, 100);
    qint64 sale = 0;
    QCOMPARE(SalesStore::recordSale(saleOf(shop, 2), &sale), SalesStore::Outcome::Done);
    const qint64 before = deadlocks();

    OtherTill other;
    other.connection = t.connectionText();
    other.tillPid = Db::scalar(QStringLiteral("SELECT pg_backend_pid()")).toInt();
    const QString variant = QStringLiteral("SELECT 1 FROM tvr_dtvariant WHERE idvariant = %1 "
                                           "FOR UPDATE")
                                .arg(shop.variant);
    const QString saleRow =
        QStringLiteral("SELECT 1 FROM tvr_sales WHERE idsales = %1 FOR UPDATE").arg(sale);
    other.first = otherInOrder ? variant : saleRow;
    other.second = otherInOrder ? saleRow : variant;
    // The one that breaks the order is never the one the server cancels.
    other.deadlockTimeout = otherInOrder ? QStringLiteral("100ms") : QStringLiteral("30s");
    Db::exec(QStringLiteral("SET deadlock_timeout = '%1'").arg(otherInOrder ? "30s" : "100ms"));
    other.start();
    QTRY_VERIFY_WITH_TIMEOUT(other.holding || other.isFinished(), 20000);

    const std::map<QString, std::function<bool()>> actions{
        {"correct sale", [&] { return SalesStore::correctSale(sale, saleOf(shop, 3).amounts) ==
                                      SalesStore::Outcome::Done; }},
        {"delete sale", [&] { return SalesStore::deleteSale(sale) == SalesStore::Outcome::Done; }},
        {"delete variant", [&] { return RegisterStore::deleteVariant(shop.variant) ==
                                        RegisterStore::Outcome::Done; }},
        {"delete bottle type", [&] { return RegisterStore::deleteBotol(shop.botol) ==
                                            RegisterStore::Outcome::Done; }},
        {"delete customer", [&] { return RegisterStore::deleteCustomer(shop.cust) ==
                                         RegisterStore::Outcome::Done; }}};
    const bool done = actions.at(action)();
    QVERIFY(other.wait(30000));
    QCOMPARE(other.error, QString());
    QVERIFY(done);
    QCOMPARE(deadlocks() - before, otherInOrder ? 0 : 1);
    if (action == "correct sale")
        QCOMPARE(number("SELECT variant_stock FROM tvr_dtvariant"), 97.0);
    else
        QCOMPARE(number("SELECT COUNT(*) FROM tvr_sales"), 0.0);
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet(TillConnection)) {
        QCoreApplication app(argc, argv);
        return runTill();
    }
    QApplication app(argc, argv);
    ServerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_server.moc"
