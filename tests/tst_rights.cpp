// Rights of owners and cashiers, the trail of changes, hashed passwords and
// the waits after wrong passwords, on the stores the windows call.
#include "TestDb.h"

#include "core/Db.h"
#include "core/Globals.h"
#include "core/Rights.h"
#include "ui/Prompt.h"
#include "core/Trail.h"
#include "masterdata/RegisterStore.h"
#include "sales/SalesStore.h"
#include "stock/StockStore.h"
#include "users/TrailStore.h"
#include "users/UserStore.h"

#include <QtTest>

#include <functional>

namespace {

struct Shop {
    int variant = 0;
    int botol = 0;
    qint64 sale = 0;
};

// A variant with stock and a ledger row, a bottle type, a cashier and one sale.
Shop makeShop()
{
    Shop s;
    s.variant = RegisterStore::saveVariant(std::nullopt, "V1", "Melati", 1000).id;
    s.botol = RegisterStore::saveBotol(std::nullopt, "SPRAY", 5000).id;
    StockStore::move(StockStore::Item::Variant, s.variant, 100, "awal");
    StockStore::move(StockStore::Item::Botol, s.botol, 10, "awal");
    UserStore::addUser("kasir1", "rahasia", "Kasir Satu");
    Db::exec("INSERT INTO tvr_sales (sales_idcust, sales_idvariant, sales_mililiter, "
             "sales_totalml, sales_idbotol, sales_hargavariant, sales_hargabotol, "
             "sales_hargatotal, sales_diskon, sales_hargadiskon, sales_date, sales_author, "
             "sales_status) VALUES (0, ?, 10, 10, ?, 1000, 5000, 15000, 0, 15000, ?, 'tester', 0)",
             {s.variant, s.botol, QDate::currentDate().toString("yyyy-MM-dd")});
    s.sale = Db::scalar("SELECT MAX(idsales) FROM tvr_sales").toLongLong();
    return s;
}

qint64 lastStock(int variant)
{
    return Db::scalar("SELECT MAX(idstock) FROM tvr_stock WHERE stock_name = 'variant' AND "
                      "stock_idname = ?",
                      {variant})
        .toLongLong();
}

// The guarded commands as the stores take them.
using Command = std::function<void(const Shop&)>;
const QMap<QString, Command>& commands()
{
    static const QMap<QString, Command> c{
        {"reset stock", [](const Shop& s) { StockStore::reset(StockStore::Item::Variant, s.variant); }},
        {"delete ledger row",
         [](const Shop& s) {
             StockStore::deleteEntry(StockStore::Item::Variant, s.variant, lastStock(s.variant));
         }},
        {"change price",
         [](const Shop& s) { RegisterStore::saveVariant(s.variant, "V1", "Melati", 1200); }},
        {"delete register", [](const Shop& s) { RegisterStore::deleteBotol(s.botol); }},
        {"add user", [](const Shop&) { UserStore::addUser("baru", "rahasia", "Baru"); }},
        {"change rights",
         [](const Shop&) { UserStore::updateUser("kasir1", {}, "Kasir Satu", true); }},
        {"delete user",
         [](const Shop&) { UserStore::deleteUser(UserStore::findUser("kasir1")->id); }},
        {"list trail",
         [](const Shop&) {
             TrailStore::count({QDate::currentDate(), QDate::currentDate(), {}, {}});
         }},
    };
    return c;
}

QString snapshot()
{
    QStringList all;
    for (const char* table : {"tvr_dtvariant", "tvr_dtbotol", "tvr_stock", "tvr_user", "tvr_sales"}) {
        const RowSet rs = Db::select(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(table));
        for (const QVariantList& row : rs.rows)
            for (const QVariant& v : row)
                all << v.toString();
    }
    return all.join('|');
}

} // namespace

class RightsTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void roleAgainstCommand_data();
    void roleAgainstCommand();
    void ownerAllowsOneAction();
    void trailOfEachChange_data();
    void trailOfEachChange();
    void plainPasswordHashedAtLogin();
    void waitsAfterWrongPasswords();
    void lastOwnerStays();
};

void RightsTest::cleanup()
{
    Rights::setCurrentRole(Rights::Role::Owner);
    Rights::setOwnerCheck({});
    Trail::setClock({});
    Trail::setTillName("kasir-uji");
}

void RightsTest::roleAgainstCommand_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("owner");
    for (const QString& name : commands().keys()) {
        QTest::newRow(qPrintable("owner: " + name)) << name << true;
        QTest::newRow(qPrintable("cashier: " + name)) << name << false;
    }
}

// Every guarded command is refused to a cashier inside its transaction,
// whatever window reached it, and nothing of it is written; an owner does it.
void RightsTest::roleAgainstCommand()
{
    QFETCH(QString, command);
    QFETCH(bool, owner);
    TestDb t;
    const Shop shop = makeShop();
    const QString before = snapshot();
    Rights::setCurrentRole(owner ? Rights::Role::Owner : Rights::Role::Cashier);
    bool refused = false;
    try {
        commands().value(command)(shop);
    } catch (const Rights::Refused& e) {
        refused = true;
        QVERIFY(e.text().startsWith("Hanya pemilik toko"));
    }
    QCOMPARE(refused, !owner);
    if (refused)
        QCOMPARE(snapshot(), before);
    for (Rights::Action a : Rights::AllActions)
        QCOMPARE(Rights::may(a), owner);
}

void RightsTest::ownerAllowsOneAction()
{
    TestDb t;
    const Shop shop = makeShop();
    Rights::setCurrentRole(Rights::Role::Cashier);
    LoginUserName = "kasir1";
    int asked = 0;
    Rights::setOwnerCheck([&](Rights::Action a) -> std::optional<QString> {
        ++asked;
        if (a != Rights::Action::ResetStock && a != Rights::Action::ChangeRegister)
            return std::nullopt; // the owner cancels
        return UserStore::findOwner("admin", "pinus") ? std::optional<QString>("admin")
                                                      : std::nullopt;
    });
    {
        const Rights::Permit permit(Rights::Action::ResetStock);
        QVERIFY(bool(permit));
        const Trail::Reason why("stock opname");
        StockStore::reset(StockStore::Item::Variant, shop.variant);
    }
    QCOMPARE(asked, 1);
    const RowSet row = Db::select("SELECT jejak_author, jejak_izin, jejak_alasan FROM tvr_jejak "
                                  "WHERE jejak_jenis = ?",
                                  {Trail::Kind::StockReset});
    QCOMPARE(row.rows, (QList<QVariantList>{{"kasir1", "admin", "stock opname"}}));
    // The permission went with its action; a cancelled one allows nothing.
    QVERIFY(!Rights::may(Rights::Action::ResetStock));
    QVERIFY(!Rights::Permit(Rights::Action::DeleteLedgerRow));
    QVERIFY_THROWS_EXCEPTION(Rights::Refused, StockStore::reset(StockStore::Item::Variant, shop.variant));

    // Refused inside a window's action, the owner is asked there and the
    // action is done once more, whole, under the owner's name.
    asked = 0;
    QVERIFY(guardDb([&] { commands().value("change price")(shop); }));
    QCOMPARE(asked, 1);
    QCOMPARE(Db::scalar("SELECT jejak_izin FROM tvr_jejak WHERE jejak_jenis = ?",
                        {Trail::Kind::RegisterChanged})
                 .toString(),
             QString("admin"));
}

void RightsTest::trailOfEachChange_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("withReason");
    QTest::newRow("stock reset") << "reset stock" << Trail::Kind::StockReset << true;
    QTest::newRow("ledger deletion") << "delete ledger row" << Trail::Kind::LedgerDeleted << true;
    QTest::newRow("register change") << "change price" << Trail::Kind::RegisterChanged << false;
    QTest::newRow("register deletion") << "delete register" << Trail::Kind::RegisterDeleted << true;
    QTest::newRow("user added") << "add user" << Trail::Kind::UserAdded << false;
    QTest::newRow("user changed") << "change rights" << Trail::Kind::UserChanged << false;
    QTest::newRow("user deleted") << "delete user" << Trail::Kind::UserDeleted << true;
    QTest::newRow("sale corrected") << "correct sale" << Trail::Kind::SaleCorrected << false;
    QTest::newRow("sale deleted") << "delete sale" << Trail::Kind::SaleDeleted << true;
    QTest::newRow("password changed") << "change password" << Trail::Kind::PasswordChanged << false;
}

// Each change writes its row in its own transaction; when that row cannot be
// written (a till name longer than the column) the change is not done.
void RightsTest::trailOfEachChange()
{
    QFETCH(QString, command);
    QFETCH(QString, kind);
    QFETCH(bool, withReason);
    TestDb t;
    const Shop shop = makeShop();
    Command run = commands().value(command);
    if (command == "correct sale")
        run = [](const Shop& s) {
            SalesStore::Amounts a;
            a.idVariant = s.variant;
            a.idBotol = s.botol;
            a.mililiter = a.totalml = 20;
            a.hargaTotal = a.hargaDiskon = 25000;
            SalesStore::correctSale(s.sale, a);
        };
    else if (command == "delete sale")
        run = [](const Shop& s) { SalesStore::deleteSale(s.sale); };
    else if (command == "change password")
        run = [](const Shop&) { UserStore::changePassword("kasir1", "rahasia", "baru12345"); };

    const QString before = snapshot();
    const qint64 rows = Db::scalar("SELECT COUNT(*) FROM tvr_jejak").toLongLong();
    const qint64 last = Db::scalar("SELECT MAX(idjejak) FROM tvr_jejak").toLongLong();
    Trail::setTillName(QString(21, 'x'));
    QVERIFY_THROWS_EXCEPTION(DbError, run(shop));
    QCOMPARE(snapshot(), before);
    QCOMPARE(Db::scalar("SELECT COUNT(*) FROM tvr_jejak").toLongLong(), rows);

    Trail::setTillName("kasir-uji");
    {
        const Trail::Reason why(withReason ? "alasan uji" : "");
        run(shop);
    }
    QVERIFY(snapshot() != before);
    const RowSet row = Db::select("SELECT jejak_author, jejak_kasir, jejak_alasan, jejak_sebelum, "
                                  "jejak_sesudah, jejak_objek FROM tvr_jejak WHERE jejak_jenis = ? "
                                  "AND idjejak > ?",
                                  {kind, last});
    QCOMPARE(row.size(), 1);
    QCOMPARE(row.value(0, 0).toString(), QStringLiteral("tester"));
    QCOMPARE(row.value(0, 1).toString(), QStringLiteral("kasir-uji"));
    QCOMPARE(row.value(0, 2).toString(), withReason ? QStringLiteral("alasan uji") : QString());
    QVERIFY(!row.value(0, 5).toString().isEmpty());
    // Nothing of a password ever reaches the trail.
    QVERIFY(!row.value(0, 3).toString().contains("rahasia"));
    QVERIFY(!row.value(0, 4).toString().contains("baru12345"));
    // And no one changes or deletes it afterwards.
    QVERIFY_THROWS_EXCEPTION(DbError, Db::exec("DELETE FROM tvr_jejak"));
    QVERIFY_THROWS_EXCEPTION(DbError, Db::exec("UPDATE tvr_jejak SET jejak_alasan = ''"));
}

void RightsTest::plainPasswordHashedAtLogin()
{
    TestDb t;
    // The seeded owner holds a plain-text password until its first login.
    QCOMPARE(Db::scalar("SELECT user_password FROM tvr_user WHERE user_name = 'admin'").toString(),
             QStringLiteral("pinus"));
    QVERIFY(!UserStore::login("admin", "pinu").user);
    QCOMPARE(Db::scalar("SELECT user_password FROM tvr_user WHERE user_name = 'admin'").toString(),
             QStringLiteral("pinus"));
    const UserStore::LoginResult r = UserStore::login("ADMIN", "pinus");
    QVERIFY(r.user && r.user->owner);
    const RowSet row = Db::select("SELECT user_password, user_hash FROM tvr_user "
                                  "WHERE user_name = 'admin'");
    QCOMPARE(row.value(0, 0).toString(), QString());
    QVERIFY(row.value(0, 1).toString().startsWith("$argon2id$"));
    // The hash logs in from now on; the old text alone does not match anything else.
    QVERIFY(UserStore::login("admin", "pinus").user);
    QVERIFY(!UserStore::login("admin", "").user);
    QCOMPARE(Db::scalar("SELECT COUNT(*) FROM tvr_jejak WHERE jejak_jenis = ?",
                        {Trail::Kind::Login})
                 .toInt(),
             2);
}

// After five wrong passwords each try waits longer, counted from the trail so
// that a restart changes nothing; a successful login starts the count afresh.
void RightsTest::waitsAfterWrongPasswords()
{
    TestDb t;
    QDateTime now = QDateTime::currentDateTime();
    Trail::setClock([&] { return now; });
    for (int i = 0; i < 5; ++i) {
        const UserStore::LoginResult r = UserStore::login("Admin", "salah");
        QVERIFY(!r.user);
        QCOMPARE(r.wait, 0);
        if (i < 4)
            now = now.addSecs(1);
    }
    for (int wait : {5, 10, 20, 40, 60, 60}) {
        // Tried at once after the last failure: refused unchecked, the right password too.
        const UserStore::LoginResult early = UserStore::login("admin", "pinus");
        QVERIFY(!early.user);
        QCOMPARE(early.wait, wait);
        now = now.addSecs(wait);
        QVERIFY(!UserStore::login("admin", "salah").user);
    }
    now = now.addSecs(60);
    QVERIFY(UserStore::login("admin", "pinus").user);
    now = now.addSecs(1);
    QCOMPARE(UserStore::login("admin", "salah").wait, 0);
    QCOMPARE(UserStore::secondsToWait("admin", now), 0);
}

void RightsTest::lastOwnerStays()
{
    TestDb t;
    UserStore::addUser("kasir1", "rahasia", "Kasir Satu");
    const int admin = UserStore::findUser("admin")->id;
    QCOMPARE(UserStore::updateUser("admin", {}, "Administrator", false),
             UserStore::Update::LastOwner);
    QCOMPARE(UserStore::deleteUser(admin), UserStore::DeleteCheck::LastOwner);
    QVERIFY(UserStore::findUser("admin")->owner);
    // With a second owner the first may go.
    QCOMPARE(UserStore::updateUser("kasir1", {}, "Kasir Satu", true), UserStore::Update::Done);
    QCOMPARE(UserStore::updateUser("admin", {}, "Administrator", false), UserStore::Update::Done);
    QCOMPARE(UserStore::deleteUser(UserStore::findUser("kasir1")->id),
             UserStore::DeleteCheck::LastOwner);
}

QTEST_MAIN(RightsTest)
#include "tst_rights.moc"
