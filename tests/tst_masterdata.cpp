// The registers of variants, bottle types and customers: paging, lookups and
// edit modes, input rules, and deletes with what they take along.
#include "ScriptedPrompt.h"
#include "TestDb.h"
#include "WindowDriver.h"

#include "core/Db.h"
#include "core/Globals.h"
#include "core/Regional.h"
#include "ui/PagePlan.h"
#include "masterdata/RegisterStore.h"
#include "masterdata/frmDBBotol.h"
#include "masterdata/frmDBCustomer.h"
#include "masterdata/frmDBVariant.h"
#include "ui/GridColumns.h"
#include "ui/InputConventions.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QClipboard>
#include <QGuiApplication>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace {

// A button's caption without its mnemonic mark.
QString caption(const QPushButton* b)
{
    return b->text().remove(QLatin1Char('&'));
}

int insert(const QString& sql, const QVariantList& values)
{
    return int(Db::insertedId(Db::exec(sql, values)));
}

int addVariant(const QString& kode, const QString& nama = "Melati", double harga = 1000,
               double stock = 0)
{
    return insert("INSERT INTO tvr_dtvariant (variant_kode, variant_nama, variant_harga, "
                  "variant_stock) VALUES (?, ?, ?, ?)",
                  {kode, nama, harga, stock});
}

int addBotol(const QString& tipe, double harga = 2500, double stock = 0)
{
    return insert("INSERT INTO tvr_dtbotol (botol_tipe, botol_harga, botol_stock) VALUES (?, ?, ?)",
                  {tipe, harga, stock});
}

int addCustomer(const QString& nomor, const QString& nama)
{
    return insert("INSERT INTO tvr_customer (cust_nomor, cust_nama) VALUES (?, ?)", {nomor, nama});
}

void addSale(int cust, int variant, double ml, int botol)
{
    Db::exec(
        "INSERT INTO tvr_sales (sales_idcust, sales_idvariant, sales_mililiter, sales_idbotol) "
        "VALUES (?, ?, ?, ?)",
        {cust, variant, ml, botol});
}

void addLedger(const QString& name, int id)
{
    Db::exec("INSERT INTO tvr_stock (stock_name, stock_idname) VALUES (?, ?)", {name, id});
}

int refillId()
{
    return Db::scalar("SELECT idbotol FROM tvr_dtbotol WHERE botol_tipe = 'REFILL'").toInt();
}

double stockOf(const QString& table, int id)
{
    const bool variant = table == "variant";
    return Db::scalar(variant ? "SELECT variant_stock FROM tvr_dtvariant WHERE idvariant = ?"
                              : "SELECT botol_stock FROM tvr_dtbotol WHERE idbotol = ?",
                      {id})
        .toDouble();
}

int count(const QString& sql, const QVariantList& values = {})
{
    return Db::scalar(sql, values).toInt();
}

// Every row of the tables a delete touches, as text.
QString snapshot()
{
    return tablesAsText({"tvr_customer", "tvr_dtbotol", "tvr_dtvariant", "tvr_sales", "tvr_stock"});
}

// One register window as the tests drive it.
struct Register {
    std::unique_ptr<QDialog> dialog;
    QTableView* grid = nullptr;
    QLineEdit* key = nullptr;
    QPushButton* submit = nullptr;
    QLabel* page = nullptr;
    QList<QPushButton*> nav;
    QString idColumn;
    QString keyColumn;
    bool* failRefresh = nullptr;
};

// A register whose list cannot be counted again while `failing` is set, as
// when the database refuses the reads that follow a change it has written.
template <class Window> class RefreshFails : public Window {
public:
    bool failing = false;
    void DoFirstSetNav() override
    {
        if (failing)
            Db::scalar("SELECT COUNT(*) FROM tvr_missing_table");
        Window::DoFirstSetNav();
    }
};

QString tableOf(const QString& reg)
{
    return reg == "variant" ? "tvr_dtvariant" : reg == "botol" ? "tvr_dtbotol" : "tvr_customer";
}

Register openRegister(const QString& reg)
{
    Register r;
    if (reg == "variant") {
        auto* w = new RefreshFails<frmDBVariant>;
        r = {std::unique_ptr<QDialog>(w),
             w->dtGridVariants,
             w->txtKode,
             w->cmdSubmit,
             w->lblPage_i,
             w->cmdNavigasi,
             "idvariant",
             "variant_kode",
             &w->failing};
    } else if (reg == "botol") {
        auto* w = new RefreshFails<frmDBBotol>;
        r = {std::unique_ptr<QDialog>(w),
             w->dtGridBotols,
             w->txtTipeBotol,
             w->cmdSubmit,
             w->lblPage_i,
             w->cmdNavigasi,
             "idbotol",
             "botol_tipe",
             &w->failing};
    } else {
        auto* w = new RefreshFails<frmDBCustomer>;
        r = {std::unique_ptr<QDialog>(w),
             w->dtGridCustomers,
             w->txtNoCust,
             w->cmdSubmit,
             w->lblPage_i,
             w->cmdNavigasi,
             "idcust",
             "cust_nomor",
             &w->failing};
    }
    r.dialog->show();
    return r;
}

// Clicks the row of the shown list whose `column` holds `value`.
void standOn(QTableView* grid, const QString& column, const QVariant& value)
{
    for (int r = 0; r < modelOf(grid)->rowCount(); ++r)
        if (modelOf(grid)->value(r, column) == value) {
            const QRect cell = grid->visualRect(grid->model()->index(r, 2));
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
            QCOMPARE(grid->currentIndex().row(), r);
            return;
        }
    QFAIL("row not on the page");
}

// Walks a paged list to its end with ">" and back with "<", checking each
// page against its slice of `expected`, then jumps with ">>" and "<<".
void checkPaging(const Register& r, const QString& column, const QStringList& expected,
                 const QString& suffix = {})
{
    const int size = ListPageSize;
    const int pages = std::max<int>(1, int((expected.size() + size - 1) / size));
    auto check = [&](int page) {
        QCOMPARE(shown(r.grid, column), expected.mid((page - 1) * size, size));
        QCOMPARE(r.page->text(), QStringLiteral("Page %1 of %2").arg(page).arg(pages) + suffix);
    };
    check(1);
    QStringList seen = shown(r.grid, column);
    for (int page = 2; page <= pages; ++page) {
        r.nav.at(2)->click();
        check(page);
        seen << shown(r.grid, column);
    }
    QCOMPARE(seen, expected); // every row once, in order
    QVERIFY(!r.nav.at(2)->isEnabled() && !r.nav.at(3)->isEnabled());
    for (int page = pages - 1; page >= 1; --page) {
        r.nav.at(1)->click();
        check(page);
    }
    QVERIFY(!r.nav.at(0)->isEnabled() && !r.nav.at(1)->isEnabled());
    if (pages > 1) {
        r.nav.at(3)->click();
        check(pages);
        r.nav.at(1)->click();
        check(pages - 1);
        r.nav.at(0)->click();
        check(1);
    }
}

// A row of the register `reg` under `key`: variant "Melati", bottle type at
// 3 000, customer "Ayu" (listed under the letter on show at opening). The
// refill type is there already.
int addKeyed(const QString& reg, const QString& key)
{
    if (reg == "variant")
        return addVariant(key, "Melati", 1200);
    if (reg == "botol")
        return key == RefillBottleType ? refillId() : addBotol(key, 3000);
    return addCustomer(key, "Ayu");
}

// Fills what the register requires besides the key.
void fillRequired(const Register& r)
{
    if (auto* name = r.dialog->findChild<QLineEdit*>("txtNama"))
        name->setText("Baru");
}

int rowsKeyed(const Register& r, const QString& reg, const QString& key)
{
    return count((QStringLiteral("SELECT COUNT(*) FROM %1 WHERE ") +
                  Db::equalsIgnoringCase(QStringLiteral("%2")))
                     .arg(tableOf(reg), r.keyColumn),
                 {key});
}

QStringList sorted(QStringList list)
{
    std::sort(list.begin(), list.end());
    return list;
}

} // namespace

class MasterDataTest : public QObject {
    Q_OBJECT

private slots:
    void pagePlan_data();
    void pagePlan();
    void variantPagesInCodeOrder();
    void botolPagesLeaveOutRefill();
    void customerPagesByLetter_data();
    void customerPagesByLetter();
    void letterLabels();

    void typedKeyFindsRow_data();
    void typedKeyFindsRow();
    void updateWritesTheRowOfTheTypedKey_data();
    void updateWritesTheRowOfTheTypedKey();
    void refillKeepsItsName();
    void newVariantIsStampedEditIsNot();
    void keysIgnoreCaseAndBlanks_data();
    void keysIgnoreCaseAndBlanks();
    void changeWrittenDespiteFailedRefresh_data();
    void changeWrittenDespiteFailedRefresh();
    void rowDeletedByAnotherTill_data();
    void rowDeletedByAnotherTill();
    void everyCustomerReachableUnderDots();
    void enterInAddressMovesOn();
    void columnsFitTheirText_data();
    void columnsFitTheirText();

    void priceBoxes_data();
    void priceBoxes();
    void keyLongerThanColumnCannotBeTyped();
    void customerKeyFilters_data();
    void customerKeyFilters();
    void telephoneKeptAsTyped();

    void deleteQuestions_data();
    void deleteQuestions();
    void variantCascade();
    void botolCascade();
    void customerCascade();
    void failingCascadeChangesNothing_data();
    void failingCascadeChangesNothing();
    void keysAtOnce_data();
    void keysAtOnce();

};

void MasterDataTest::pagePlan_data()
{
    using F = PagePlan::From;
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("shownPage");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("skip");
    QTest::addColumn<int>("take");
    QTest::addColumn<QString>("anchor");

    // Ten rows a page; the page on show holds the keys "first" .. "last".
    QTest::newRow("empty list") << 1 << 0 << 0 << int(F::Start) << 0 << 0 << "";
    QTest::newRow("first page") << 1 << 95 << 4 << int(F::Start) << 0 << 10 << "";
    QTest::newRow("next page") << 5 << 95 << 4 << int(F::After) << 0 << 10 << "last";
    QTest::newRow("previous page") << 3 << 95 << 4 << int(F::Before) << 0 << 10 << "first";
    QTest::newRow("last page, partial") << 10 << 95 << 1 << int(F::End) << 0 << 5 << "";
    QTest::newRow("next is the last") << 10 << 95 << 9 << int(F::After) << 0 << 5 << "last";
    QTest::newRow("near the start") << 3 << 95 << 0 << int(F::Start) << 20 << 10 << "";
    QTest::newRow("near the end") << 8 << 95 << 0 << int(F::End) << 15 << 10 << "";
}

void MasterDataTest::pagePlan()
{
    QFETCH(int, page);
    QFETCH(int, count);
    QFETCH(int, shownPage);
    QFETCH(int, from);
    QFETCH(int, skip);
    QFETCH(int, take);
    QFETCH(QString, anchor);
    RowSet onShow;
    onShow.columns = QStringList{"k"};
    onShow.rows = {{QStringLiteral("first")}, {QStringLiteral("middle")}, {QStringLiteral("last")}};
    const PagePlan plan = planPage(page, 10, count, shownPage, onShow, {"k"});
    QCOMPARE(int(plan.from), from);
    QCOMPARE(plan.skip, skip);
    QCOMPARE(plan.take, take);
    QCOMPARE(plan.anchor.isEmpty() ? QString() : plan.anchor.first().toString(), anchor);
}

void MasterDataTest::variantPagesInCodeOrder()
{
    TestDb t;
    ScriptedPrompt prompt;
    // Codes in mixed order, codes that must be bound, and a code twice (an
    // older program let that in).
    QStringList codes{"O'Neil", "50%", "K07"};
    for (int i = 23; i >= 1; --i)
        codes << QStringLiteral("K%1").arg(i, 2, 10, QLatin1Char('0'));
    for (const QString& c : codes)
        addVariant(c);
    checkPaging(openRegister("variant"), "variant_kode", sorted(codes));
    QVERIFY(prompt.calls.isEmpty());
}

void MasterDataTest::botolPagesLeaveOutRefill()
{
    TestDb t;
    QStringList types;
    for (int i = 10; i >= 1; --i)
        types << QStringLiteral("BTL-%1").arg(i, 2, 10, QLatin1Char('0'));
    for (const QString& type : types)
        addBotol(type);
    checkPaging(openRegister("botol"), "botol_tipe", sorted(types)); // ten types, one page
    types << "AAA"
          << "ZZZ"; // "REFILL" sorts between them
    addBotol("AAA");
    addBotol("ZZZ");
    checkPaging(openRegister("botol"), "botol_tipe", sorted(types));
}

void MasterDataTest::customerPagesByLetter_data()
{
    QTest::addColumn<int>("label");
    QTest::addColumn<QStringList>("expected"); // newest first
    QStringList a;
    for (int i = 24; i >= 1; --i)
        a << QStringLiteral("%1di%2").arg(i % 3 ? "A" : "a").arg(char('a' + i));
    QTest::newRow("A, either case") << 0 << a;
    QTest::newRow("... for names not beginning with A to Z")
        << 26 << QStringList{" Ani", "", ".zen", ".Anonim", ".ali"};
    QTest::newRow("letter without customers") << 16 << QStringList{};
}

void MasterDataTest::customerPagesByLetter()
{
    QFETCH(int, label);
    QFETCH(QStringList, expected);
    TestDb t;
    ScriptedPrompt prompt;
    QStringList names; // in the order of entry, letters mixed
    for (int i = 1; i <= 24; ++i)
        names << QStringLiteral("%1di%2").arg(i % 3 ? "A" : "a").arg(char('a' + i))
              << QStringLiteral("Budi%1").arg(char('a' + i));
    names.insert(3, ".ali");
    names.insert(9, ".Anonim");
    names.insert(30, ".zen");
    names << ""
          << " Ani"
          << "Zaenal";
    for (int i = 0; i < names.size(); ++i)
        addCustomer(QStringLiteral("C%1").arg(i), names.at(i));

    Register r = openRegister("customer");
    auto* w = static_cast<frmDBCustomer*>(r.dialog.get());
    QTest::mouseClick(w->lblAbjad.at(label), Qt::LeftButton);
    QCOMPARE(w->selAbjad, w->lblAbjad.at(label)->text().toLower());
    checkPaging(r, "cust_nama", expected, ": Data Customer");
    if (expected.isEmpty()) {
        QCOMPARE(caption(r.submit), QStringLiteral("Submit"));
        QTest::keyClick(r.grid, Qt::Key_Delete); // nothing to delete, nothing asked
    }
    QVERIFY(prompt.calls.isEmpty());
}

void MasterDataTest::letterLabels()
{
    TestDb t;
    frmDBCustomer w;
    w.show();
    QCOMPARE(w.lblAbjad.size(), 27);
    QCOMPARE(w.lblAbjad.at(25)->text() + w.lblAbjad.at(26)->text(), QStringLiteral("Z..."));
    auto colour = [&](int i) { return w.lblAbjad.at(i)->palette().color(QPalette::WindowText); };
    const QColor normal = w.palette().color(QPalette::ButtonText);
    QCOMPARE(colour(0), frmDBCustomer::selectedLetterColor());
    QCOMPARE(colour(1), normal);

    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(w.lblAbjad.at(4), &enter);
    QCOMPARE(colour(4), frmDBCustomer::pointedLetterColor());
    QCOMPARE(colour(0), frmDBCustomer::selectedLetterColor());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(w.lblAbjad.at(4), &leave);
    QCOMPARE(colour(4), normal);

    QTest::mouseClick(w.lblAbjad.at(26), Qt::LeftButton);
    QCOMPARE(w.selAbjad, QStringLiteral("..."));
    QCOMPARE(colour(26), frmDBCustomer::selectedLetterColor());
    QCOMPARE(colour(0), normal);
}

void MasterDataTest::typedKeyFindsRow_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("plain") << "V01";
    QTest::newRow("quote") << "O'Neil";
    QTest::newRow("percent and underscore") << "5%_x";
    QTest::newRow("double quote and backslash") << "a\"b\\c";
}

void MasterDataTest::typedKeyFindsRow()
{
    QFETCH(QString, key);
    TestDb t;
    ScriptedPrompt prompt;
    addVariant(key + "9", "Lain", 1);
    addVariant(key, "Melati", 12500);
    addBotol(key, 4000);
    addCustomer(key, "Sari");
    Db::exec("UPDATE tvr_customer SET cust_alamat = 'Jl. Mawar 1', cust_notelp = '0812'");

    frmDBVariant v;
    QTest::keyClicks(v.txtKode, key);
    QCOMPARE(caption(v.cmdSubmit) + v.txtNama->text() + v.txtHargaVariant->text(),
             QStringLiteral("UpdateMelati12500"));
    QTest::keyClicks(v.txtKode, "x"); // one more character: no match
    QCOMPARE(caption(v.cmdSubmit) + v.txtNama->text() + v.txtHargaVariant->text(),
             QStringLiteral("Submit0"));

    frmDBBotol b;
    QTest::keyClicks(b.txtTipeBotol, key);
    QCOMPARE(caption(b.cmdSubmit) + b.txtHargaBotol->text(), QStringLiteral("Update4000"));
    QTest::keyClick(b.txtTipeBotol, Qt::Key_Backspace);
    QCOMPARE(caption(b.cmdSubmit) + b.txtHargaBotol->text(), QStringLiteral("Submit0"));

    frmDBCustomer c;
    QTest::keyClicks(c.txtNoCust, key);
    QCOMPARE(caption(c.cmdSubmit) + c.txtNama->text() + c.txtAlamat->text() +
                 c.txtNoTelp->text(),
             QStringLiteral("UpdateSariJl. Mawar 10812"));
    QTest::keyClicks(c.txtNoCust, "1");
    QCOMPARE(caption(c.cmdSubmit) + c.txtNama->text() + c.txtAlamat->text() +
                 c.txtNoTelp->text(),
             QStringLiteral("Submit"));
    // A new customer keyed like that is stored as typed.
    c.txtNama->setText("Budi");
    c.cmdSubmit->click();
    QCOMPARE(count("SELECT COUNT(*) FROM tvr_customer WHERE cust_nomor = ? AND cust_nama = 'Budi'",
                   {key + "1"}),
             1);
    QVERIFY(prompt.calls.isEmpty());
}

void MasterDataTest::updateWritesTheRowOfTheTypedKey_data()
{
    QTest::addColumn<QString>("reg");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("column");
    QTest::newRow("variant") << "variant"
                             << "txtNama"
                             << "variant_nama";
    QTest::newRow("bottle type") << "botol"
                                 << "txtHargaBotol"
                                 << "botol_harga";
    QTest::newRow("customer") << "customer"
                              << "txtNama"
                              << "cust_nama";
}

void MasterDataTest::updateWritesTheRowOfTheTypedKey()
{
    QFETCH(QString, reg);
    QFETCH(QString, box);
    QFETCH(QString, column);
    TestDb t;
    ScriptedPrompt prompt;
    for (const QString& k : {QStringLiteral("A1"), QStringLiteral("B2")}) {
        if (reg == "variant")
            addVariant(k, "Ani", 1000);
        else if (reg == "botol")
            addBotol(k, 1000);
        else
            addCustomer(k, "Ani");
    }
    // The list stands on "A1"; the key of "B2" is typed and the editor saved.
    Register r = openRegister(reg);
    standOn(r.grid, r.keyColumn, "A1");
    QCOMPARE(caption(r.submit), QStringLiteral("Update"));
    r.key->clear();
    QTest::keyClicks(r.key, "B2");
    r.dialog->findChild<QLineEdit*>(box)->setText("777");
    r.submit->click();
    const QString table = reg == "variant" ? "tvr_dtvariant"
                          : reg == "botol" ? "tvr_dtbotol"
                                           : "tvr_customer";
    const RowSet rows =
        Db::select(QStringLiteral("SELECT %1, %2 FROM %3 WHERE %1 <> 'REFILL' ORDER BY %4")
                       .arg(r.keyColumn, column, table, r.idColumn));
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.value(0, 0).toString() + "=" + rows.value(0, 1).toString(),
             QStringLiteral("A1=") + (reg == "botol" ? "1000" : "Ani"));
    QCOMPARE(rows.value(1, 0).toString() + "=" + rows.value(1, 1).toString(),
             QStringLiteral("B2=777"));
    QCOMPARE(caption(r.submit), QStringLiteral("Submit"));
    QVERIFY(prompt.calls.isEmpty());
}

void MasterDataTest::refillKeepsItsName()
{
    TestDb t;
    const int other = addBotol("BTL-01", 3000);
    Register r = openRegister("botol");
    auto* w = static_cast<frmDBBotol*>(r.dialog.get());
    QCOMPARE(shown(r.grid, "botol_tipe"), QStringList{"BTL-01"});
    standOn(r.grid, "idbotol", other);
    w->txtTipeBotol->clear();
    QTest::keyClicks(w->txtTipeBotol, RefillBottleType);
    QCOMPARE(caption(w->cmdSubmit), QStringLiteral("Update"));
    w->txtHargaBotol->setText("1.000"); // a fee for refilling
    w->cmdSubmit->click();
    QCOMPARE(Db::select("SELECT botol_tipe, botol_harga FROM tvr_dtbotol ORDER BY idbotol").rows,
             (QList<QVariantList>{{"REFILL", 1000.0}, {"BTL-01", 3000.0}}));
    QCOMPARE(shown(r.grid, "botol_tipe"), QStringList{"BTL-01"});
}

void MasterDataTest::newVariantIsStampedEditIsNot()
{
    TestDb t;
    frmDBVariant w;
    QTest::keyClicks(w.txtKode, "V9");
    QTest::keyClicks(w.txtNama, "Kenanga");
    w.cmdSubmit->click();
    const QString stamp = "SELECT variant_date || variant_author || variant_ls_date || "
                          "variant_ls_author || CAST(variant_stock AS INTEGER) FROM tvr_dtvariant";
    QCOMPARE(Db::scalar(stamp).toString(),
             Regional::today() + "tester" + Regional::today() + "tester0");

    Db::exec("UPDATE tvr_dtvariant SET variant_date = '2020-01-01', variant_author = 'lama', "
             "variant_ls_date = '2019-01-01', variant_ls_author = 'lama2', variant_stock = 7");
    LoginUserName = "other";
    QTest::keyClicks(w.txtKode, "V9");
    w.txtNama->setText("Kenanga Putih");
    w.cmdSubmit->click();
    QCOMPARE(Db::scalar(stamp).toString(), QStringLiteral("2020-01-01lama2019-01-01lama27"));
    QCOMPARE(Db::scalar("SELECT variant_nama FROM tvr_dtvariant").toString(),
             QStringLiteral("Kenanga Putih"));
}

void MasterDataTest::keysIgnoreCaseAndBlanks_data()
{
    QTest::addColumn<QString>("reg");
    QTest::addColumn<QString>("existing");
    QTest::addColumn<QString>("typed");
    QTest::newRow("customer, lower case") << "customer" << "C001" << "c001";
    QTest::newRow("customer, blanks") << "customer" << "C001" << " C001 ";
    QTest::newRow("variant, blanks") << "variant" << "V001" << " V001 ";
    QTest::newRow("variant, lower case") << "variant" << "V001" << "v001";
    QTest::newRow("bottle type") << "botol" << "BTL-1" << "btl-1 ";
    QTest::newRow("refill in lower case") << "botol" << "REFILL" << "refill";
}

void MasterDataTest::keysIgnoreCaseAndBlanks()
{
    QFETCH(QString, reg);
    QFETCH(QString, existing);
    QFETCH(QString, typed);
    TestDb t;
    ScriptedPrompt prompt;
    const int id = addKeyed(reg, existing);
    Register r = openRegister(reg);
    const int listed = r.grid->model()->rowCount();

    // The typed key finds the row: saving writes that row, never a second one,
    // with the key stored without blanks and the refill type keeping its name.
    QTest::keyClicks(r.key, typed);
    QCOMPARE(caption(r.submit), QStringLiteral("Update"));
    r.submit->click();
    const QString stored = existing == RefillBottleType ? existing : typed.trimmed();
    QCOMPARE(Db::select((QStringLiteral("SELECT %1, %2 FROM %3 WHERE ") +
                         Db::equalsIgnoringCase(QStringLiteral("%2")))
                            .arg(r.idColumn, r.keyColumn, tableOf(reg)),
                        {existing})
                 .rows,
             (QList<QVariantList>{{id, stored}}));
    QCOMPARE(r.grid->model()->rowCount(), listed); // "refill" is no ordinary type
    QVERIFY(prompt.calls.isEmpty());

    // A key another till adds between the lookup and the save is refused.
    QTest::keyClicks(r.key, " n1 ");
    fillRequired(r);
    addKeyed(reg, "N1");
    r.submit->click();
    QCOMPARE(prompt.calls.size(), 1);
    QVERIFY(prompt.lastText().contains("'n1' sudah terdaftar"));
    QCOMPARE(rowsKeyed(r, reg, "n1"), 1);
    if (reg == "botol")
        QCOMPARE(RegisterStore::saveBotol(std::nullopt, " Refill ", 0).outcome,
                 RegisterStore::Outcome::Duplicate);
}

void MasterDataTest::changeWrittenDespiteFailedRefresh_data()
{
    QTest::addColumn<QString>("reg");
    for (const char* reg : {"variant", "botol", "customer"})
        QTest::newRow(reg) << QString(reg);
}

void MasterDataTest::changeWrittenDespiteFailedRefresh()
{
    QFETCH(QString, reg);
    TestDb t;
    ScriptedPrompt prompt;
    const int shownRow = addKeyed(reg, "A0");
    Register r = openRegister(reg);
    QTest::keyClicks(r.key, "K1");
    fillRequired(r);
    *r.failRefresh = true;
    r.submit->click();
    QCOMPARE(prompt.calls.size(), 1);
    QVERIFY(prompt.lastText().startsWith("Perubahan sudah tersimpan"));
    QVERIFY(prompt.lastText().contains("tvr_missing_table"));
    // The editor has moved on, and the key typed again finds the saved row.
    QCOMPARE(caption(r.submit) + r.key->text(), QStringLiteral("Submit"));
    QTest::keyClicks(r.key, "k1");
    fillRequired(r);
    r.submit->click();
    QCOMPARE(rowsKeyed(r, reg, "K1"), 1);

    // A delete is reported as done, then the list that could not be read again.
    standOn(r.grid, r.idColumn, shownRow);
    prompt.clear();
    prompt.answers << Prompt::Answer::Yes;
    prompt.inputs << QStringLiteral("salah input");
    QTest::keyClick(r.grid, Qt::Key_Delete);
    QCOMPARE(prompt.texts().value(2), QStringLiteral("Rekaman telah dihapus!"));
    QVERIFY(prompt.lastText().startsWith("Perubahan sudah tersimpan"));
    QCOMPARE(rowsKeyed(r, reg, "A0"), 0);
}

void MasterDataTest::rowDeletedByAnotherTill_data()
{
    QTest::addColumn<QString>("reg");
    QTest::addColumn<bool>("viaDelete");
    for (const char* reg : {"variant", "botol", "customer"}) {
        QTest::addRow("%s, update", reg) << QString(reg) << false;
        QTest::addRow("%s, delete", reg) << QString(reg) << true;
    }
}

void MasterDataTest::rowDeletedByAnotherTill()
{
    QFETCH(QString, reg);
    QFETCH(bool, viaDelete);
    TestDb t;
    ScriptedPrompt prompt;
    const int gone = addKeyed(reg, "A1");
    addKeyed(reg, "B2");
    Register r = openRegister(reg);
    standOn(r.grid, r.idColumn, gone);
    // Another till deletes the row the editor or the list stands on.
    Db::exec(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(tableOf(reg), r.idColumn), {gone});
    const QString before = snapshot();
    if (viaDelete) {
        prompt.answers << Prompt::Answer::Yes;
        prompt.inputs << QStringLiteral("salah input");
        QTest::keyClick(r.grid, Qt::Key_Delete);
    } else {
        fillRequired(r);
        r.submit->click();
        QCOMPARE(r.key->text(), QStringLiteral("A1")); // the typing stays, to be saved anew
    }
    QCOMPARE(prompt.calls.size(), viaDelete ? 3 : 1);
    QVERIFY(prompt.lastText().startsWith("Rekaman tidak ditemukan"));
    QCOMPARE(snapshot(), before);
    QCOMPARE(shown(r.grid, r.keyColumn), QStringList{"B2"});
    QCOMPARE(caption(r.submit), QStringLiteral("Submit"));
}

void MasterDataTest::everyCustomerReachableUnderDots()
{
    TestDb t;
    ScriptedPrompt prompt;
    addCustomer("C1", "Ani");
    addCustomer("C2", "zaenal");
    const QVariantList names{"1abc", "", QVariant(), " x", QStringLiteral("\u00C9lodie"), "[x]"};
    for (const QVariant& name : names)
        insert("INSERT INTO tvr_customer (cust_nomor, cust_nama) VALUES ('X', ?)", {name});
    Register r = openRegister("customer");
    QTest::mouseClick(static_cast<frmDBCustomer*>(r.dialog.get())->lblAbjad.at(26),
                      Qt::LeftButton);
    QCOMPARE(r.grid->model()->rowCount(), names.size());
    for (qsizetype i = 0; i < names.size(); ++i) { // each can be deleted from there
        prompt.answers << Prompt::Answer::Yes;
        prompt.inputs << QStringLiteral("salah input");
        QTest::keyClick(r.grid, Qt::Key_Delete);
        QCOMPARE(prompt.lastText(), QStringLiteral("Rekaman telah dihapus!"));
    }
    QCOMPARE(count("SELECT COUNT(*) FROM tvr_customer"), 2);
}

void MasterDataTest::enterInAddressMovesOn()
{
    TestDb t;
    ScriptedPrompt prompt;
    frmDBCustomer w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::keyClicks(w.txtNoCust, "C9");
    w.txtAlamat->setFocus();
    QTest::keyClicks(w.txtAlamat, "Jl. Mawar 1");
    QTest::keyClick(w.txtAlamat, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), w.txtNoTelp);
    QTest::keyClick(w.txtNoTelp, Qt::Key_Return); // the last field leads to Submit, not New
    QCOMPARE(QApplication::focusWidget(), w.cmdSubmit);
    w.txtAlamat->setText("Jl. Mawar 1\r\nBandung\n"); // as pasted: no line break is stored
    w.cmdSubmit->click();
    QCOMPARE(Db::scalar("SELECT cust_alamat FROM tvr_customer").toString(),
             QStringLiteral("Jl. Mawar 1 Bandung "));
}

void MasterDataTest::columnsFitTheirText_data()
{
    QTest::addColumn<QString>("reg");
    for (const char* reg : {"variant", "botol", "customer"})
        QTest::newRow(reg) << QString(reg);
}

void MasterDataTest::columnsFitTheirText()
{
    QFETCH(QString, reg);
    TestDb t;
    addVariant("ROLLON10", "Melati Putih Super", 1234567, 1234567.5);
    addVariant("MMMMMMMMMMMM", "WWWWWWWWWWWWWWWWWWWW", 1, 0);
    addBotol("ROLLON-BESAR", 1234567, 123456);
    insert("INSERT INTO tvr_customer (cust_nomor, cust_nama, cust_notelp) "
           "VALUES ('MMMMMMMMMMMM', 'AWWWWWWWWWWWWWWWWWWWWWWWW', '0812-3456-78901')",
           {});
    Register r = openRegister(reg);
    QAbstractItemModel* model = r.grid->model();
    QStyleOptionViewItem option;
    option.initFrom(r.grid);
    for (int c = 0; c < model->columnCount(); ++c) {
        if (r.grid->isColumnHidden(c))
            continue;
        // The caption, and every value as the delegate shows it (numbers formatted).
        const QString caption = model->headerData(c, Qt::Horizontal).toString();
        int widest = r.grid->horizontalHeader()->fontMetrics().horizontalAdvance(caption) + 8;
        for (int row = 0; row < model->rowCount(); ++row)
            widest = std::max(
                widest, r.grid->itemDelegate()->sizeHint(option, model->index(row, c)).width());
        QVERIFY2(widest <= r.grid->columnWidth(c), qPrintable(caption));
    }
}

void MasterDataTest::priceBoxes_data()
{
    QTest::addColumn<QString>("reg");
    QTest::newRow("variant price per ml") << "variant";
    QTest::newRow("bottle price") << "botol";
}

void MasterDataTest::priceBoxes()
{
    QFETCH(QString, reg);
    TestDb t;
    ScriptedPrompt prompt;
    Register r = openRegister(reg);
    QVERIFY(QTest::qWaitForWindowActive(r.dialog.get()));
    auto* price =
        r.dialog->findChild<QLineEdit*>(reg == "variant" ? "txtHargaVariant" : "txtHargaBotol");
    QTest::keyClicks(r.key, "K1");
    if (auto* name = r.dialog->findChild<QLineEdit*>("txtNama"))
        name->setText("Cempaka");

    price->setFocus();
    QTRY_COMPARE(price->selectedText(), QStringLiteral("0"));
    QTest::keyClicks(price, "1a2,.5 0-0"); // only digits and points go in
    QCOMPARE(price->text(), QStringLiteral("12.500"));
    r.key->setFocus();
    QCOMPARE(price->text(), QStringLiteral("12.500"));
    price->setFocus();
    QCOMPARE(price->text(), QStringLiteral("12500"));
    QTRY_COMPARE(price->selectedText(), QStringLiteral("12500"));
    QTest::keyClick(price, Qt::Key_Backspace);
    QCOMPARE(price->text(), QStringLiteral("0"));

    // No more than twelve digits go in, so the value shown with its points is never cut.
    price->selectAll();
    QTest::keyClicks(price, "1234567890123");
    r.key->setFocus();
    QCOMPARE(price->text(), QStringLiteral("123.456.789.012"));

    price->setText("12.500");
    r.submit->click();
    QCOMPARE(Db::scalar(reg == "variant" ? "SELECT variant_harga FROM tvr_dtvariant"
                                         : "SELECT botol_harga FROM tvr_dtbotol WHERE idbotol > 1")
                 .toDouble(),
             12500.0);
    QVERIFY(prompt.calls.isEmpty());
}

void MasterDataTest::keyLongerThanColumnCannotBeTyped()
{
    TestDb t;
    ScriptedPrompt prompt;
    const QString limit = QStringLiteral("Isian ini paling banyak 12 karakter.");
    for (const QString& reg :
         {QStringLiteral("variant"), QStringLiteral("botol"), QStringLiteral("customer")}) {
        Register r = openRegister(reg);
        // Typed past the column: each key beyond it is refused with the limit,
        // in a note beside the field rather than a box.
        prompt.clear();
        QTest::keyClicks(r.key, "ABCDEFGHIJKLMN");
        QCOMPARE(r.key->text(), QStringLiteral("ABCDEFGHIJKL"));
        QCOMPARE(InputConventions::noteText(r.dialog.get()), limit);
        QVERIFY(prompt.texts().isEmpty());
        // Pasted past the column: refused as a whole, never cut to another key.
        prompt.clear();
        r.key->clear();
        QGuiApplication::clipboard()->setText(QStringLiteral("MELATISUPER12"));
        QTest::keyClick(r.key, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(r.key->text(), QString());
        QCOMPARE(prompt.texts(), QStringList{limit});
        QGuiApplication::clipboard()->setText(QStringLiteral("MELATISUPER1"));
        QTest::keyClick(r.key, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(r.key->text(), QStringLiteral("MELATISUPER1"));
    }
    frmDBCustomer c; // the address stops at 200 characters
    c.txtAlamat->setText(QString(198, QLatin1Char('x')));
    QTest::keyClicks(c.txtAlamat, "abcd");
    QCOMPARE(c.txtAlamat->text(), QString(198, QLatin1Char('x')) + "ab");
}

void MasterDataTest::customerKeyFilters_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("name: letters and point") << "txtNama"
                                             << "Sri.Wahyuni"
                                             << "Sri.Wahyuni";
    QTest::newRow("name: no blank, digit, dash") << "txtNama"
                                                 << "Ani 2-b_c"
                                                 << "Anibc";
    QTest::newRow("phone: digits, point, dash") << "txtNoTelp"
                                                << "0812-345.67"
                                                << "0812-345.67";
    QTest::newRow("phone: no letter, blank, comma, plus") << "txtNoTelp"
                                                          << "+62 81a2,3"
                                                          << "628123";
    QTest::newRow("number: anything") << "txtNoCust"
                                      << "A-1 'x'"
                                      << "A-1 'x'";
}

void MasterDataTest::customerKeyFilters()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    TestDb t;
    frmDBCustomer w;
    auto* edit = w.findChild<QLineEdit*>(box);
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), kept);
    QTest::keyClick(edit, Qt::Key_Backspace); // always passes
    QCOMPARE(edit->text(), kept.chopped(1));
}

void MasterDataTest::telephoneKeptAsTyped()
{
    TestDb t;
    ScriptedPrompt prompt;
    frmDBCustomer w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::keyClicks(w.txtNoCust, "C7");
    w.txtNoTelp->setFocus();
    QTest::keyClicks(w.txtNoTelp, "08123456789");
    w.txtNama->setFocus();
    QCOMPARE(w.txtNoTelp->text(), QStringLiteral("08123456789")); // no grouping
    w.txtNoTelp->setFocus();
    QTRY_COMPARE(w.txtNoTelp->selectedText(), QStringLiteral("08123456789"));
    QTest::keyClicks(w.txtNoTelp, "0812.777");
    w.txtNama->setFocus();
    QCOMPARE(w.txtNoTelp->text(), QStringLiteral("0812.777")); // points kept
    w.cmdSubmit->click();
    QCOMPARE(Db::scalar("SELECT cust_notelp FROM tvr_customer").toString(),
             QStringLiteral("0812.777"));
    w.txtNoTelp->setText("5");
    QTest::keyClick(w.txtNoTelp, Qt::Key_Backspace);
    QCOMPARE(w.txtNoTelp->text(), QString()); // not "0" when emptied
}

void MasterDataTest::deleteQuestions_data()
{
    QTest::addColumn<QString>("reg");
    QTest::addColumn<bool>("referenced");
    QTest::addColumn<QString>("title");
    QTest::newRow("variant alone") << "variant" << false << "Hapus Rekaman";
    QTest::newRow("variant in the ledger") << "variant" << true << "Hapus Rekaman";
    QTest::newRow("bottle type alone") << "botol" << false << "Hapus Record";
    QTest::newRow("bottle type in the ledger") << "botol" << true << "Hapus Rekaman";
    QTest::newRow("customer alone") << "customer" << false << "Hapus Rekaman";
    QTest::newRow("customer with a sale") << "customer" << true << "Hapus Rekaman";
}

void MasterDataTest::deleteQuestions()
{
    QFETCH(QString, reg);
    QFETCH(bool, referenced);
    QFETCH(QString, title);
    TestDb t;
    ScriptedPrompt prompt;
    const int variant = addVariant("V1", "Melati");
    const int botol = addBotol("Kaca");
    const int customer = addCustomer("C1", "Ani");
    addVariant("V2", "Mawar");
    addBotol("Plastik");
    if (referenced && reg == "customer")
        addSale(customer, 99, 5, 99);
    else if (referenced)
        addLedger(reg, reg == "variant" ? variant : botol);
    const QString name = reg == "variant" ? "Melati" : reg == "botol" ? "Kaca" : "Ani";
    const QString question = "Yakin akan menghapus rekaman '" + name + "' ini?";
    const QString text = referenced ? "Peringatan!\n\nPenghapusan data akan berpengaruh\n"
                                      "terhadap data yang lain.\n\n" +
                                          question
                                    : question;
    Register r = openRegister(reg);
    standOn(r.grid, r.idColumn, reg == "variant" ? variant : reg == "botol" ? botol : customer);
    const QString before = snapshot();

    prompt.answers << Prompt::Answer::No;
    QTest::keyClick(r.grid, Qt::Key_Delete);
    QCOMPARE(prompt.calls.size(), 1);
    QCOMPARE(prompt.calls.first().text, text);
    QCOMPARE(prompt.calls.first().title, title);
    QCOMPARE(prompt.calls.first().icon, Prompt::Icon::Question);
    QCOMPARE(prompt.calls.first().buttons, Prompt::Buttons::YesNo);
    QCOMPARE(snapshot(), before);

    prompt.clear();
    prompt.answers << Prompt::Answer::Yes;
    prompt.inputs << QStringLiteral("salah input");
    QTest::keyClick(r.grid, Qt::Key_Delete);
    QCOMPARE(prompt.calls.size(), 3);
    QCOMPARE(prompt.calls.at(2).text, QStringLiteral("Rekaman telah dihapus!"));
    QCOMPARE(prompt.calls.at(2).title, title);
    QCOMPARE(prompt.calls.at(2).icon, Prompt::Icon::Information);
    QVERIFY(!shown(r.grid, r.idColumn)
                 .contains(QString::number(reg == "variant" ? variant
                                           : reg == "botol" ? botol
                                                            : customer)));
    QCOMPARE(caption(r.submit), QStringLiteral("Submit"));
    QCOMPARE(count("SELECT COUNT(*) FROM tvr_dtvariant") +
                 count("SELECT COUNT(*) FROM tvr_dtbotol") +
                 count("SELECT COUNT(*) FROM tvr_customer"),
             5); // six rows, the refill type among them, less the one deleted
}

void MasterDataTest::variantCascade()
{
    TestDb t;
    ScriptedPrompt prompt;
    const int kept = addVariant("V2", "Mawar", 1000, 300);
    const int gone = addVariant("V1", "Melati", 1000, 500);
    const int kaca = addBotol("Kaca", 2500, 10);
    const int plastik = addBotol("Plastik", 1500, 20);
    QCOMPARE(kaca, gone); // a bottle type with the variant's id
    const int cust = addCustomer("C1", "Ani");
    addSale(cust, gone, 5, kaca);
    addSale(cust, gone, 7.5, kaca);
    addSale(cust, gone, 3, refillId());
    addSale(cust, kept, 4, plastik);
    addLedger("variant", gone);
    addLedger("variant", kept);
    addLedger("botol", gone);

    Register r = openRegister("variant");
    standOn(r.grid, "idvariant", gone);
    prompt.answers << Prompt::Answer::Yes;
    prompt.inputs << QStringLiteral("salah input");
    QTest::keyClick(r.grid, Qt::Key_Delete);
    QVERIFY(prompt.calls.first().text.startsWith("Peringatan!"));

    QCOMPARE(stockOf("botol", kaca), 12.0); // one bottle back for each of its two sales
    QCOMPARE(stockOf("botol", refillId()), 0.0);
    QCOMPARE(stockOf("botol", plastik), 20.0);
    QCOMPARE(stockOf("variant", kept), 300.0);
    QCOMPARE(count("SELECT COUNT(*) FROM tvr_sales WHERE sales_idvariant = ?", {kept}), 1);
    QCOMPARE(count("SELECT COUNT(*) FROM tvr_sales"), 1);
    QCOMPARE(
        count("SELECT COUNT(*) FROM tvr_stock WHERE stock_name = 'variant' AND stock_idname = ?",
              {kept}),
        1);
    QCOMPARE(count("SELECT COUNT(*) FROM tvr_stock WHERE stock_name = 'botol' AND stock_idname = ?",
                   {gone}),
             1);
    QCOMPARE(count("SELECT COUNT(*) FROM tvr_stock"), 2);
    QCOMPARE(shown(r.grid, "variant_kode"), QStringList{"V2"});
}

void MasterDataTest::botolCascade()
{
    TestDb t;
    ScriptedPrompt prompt;
    const int v1 = addVariant("V1", "Melati", 1000, 100);
    const int v2 = addVariant("V2", "Mawar", 1000, 200);
    const int v3 = addVariant("V3", "Cempaka", 1000, 300);
    const int gone = addBotol("Kaca", 2500, 10);
    const int kept = addBotol("Plastik", 1500, 20);
    QCOMPARE(gone, v2); // a variant with the bottle type's id
    const int cust = addCustomer("C1", "Ani");
    addSale(cust, v1, 2.5, gone);
    addSale(cust, v1, 4, gone);
    addSale(cust, v2, 3, gone);
    addSale(cust, v3, 6, kept);
    addLedger("botol", gone);
    addLedger("botol", kept);
    addLedger("variant", gone);

    Register r = openRegister("botol");
    standOn(r.grid, "idbotol", gone);
    prompt.answers << Prompt::Answer::Yes;
    prompt.inputs << QStringLiteral("salah input");
    QTest::keyClick(r.grid, Qt::Key_Delete);
    QCOMPARE(prompt.calls.first().title, QStringLiteral("Hapus Rekaman"));

    QCOMPARE(stockOf("variant", v1), 106.5); // the millilitres of its sales come back
    QCOMPARE(stockOf("variant", v2), 203.0);
    QCOMPARE(stockOf("variant", v3), 300.0);
    QCOMPARE(stockOf("botol", kept), 20.0);
    QCOMPARE(count("SELECT COUNT(*) FROM tvr_sales WHERE sales_idbotol = ?", {kept}), 1);
    QCOMPARE(count("SELECT COUNT(*) FROM tvr_sales"), 1);
    QCOMPARE(count("SELECT COUNT(*) FROM tvr_stock WHERE stock_name = 'botol' AND stock_idname = ?",
                   {kept}),
             1);
    QCOMPARE(
        count("SELECT COUNT(*) FROM tvr_stock WHERE stock_name = 'variant' AND stock_idname = ?",
              {gone}),
        1);
    QCOMPARE(count("SELECT COUNT(*) FROM tvr_stock"), 2);
    QCOMPARE(shown(r.grid, "botol_tipe"), QStringList{"Plastik"});
}

void MasterDataTest::customerCascade()
{
    TestDb t;
    ScriptedPrompt prompt;
    const int v1 = addVariant("V1", "Melati", 1000, 100);
    const int v2 = addVariant("V2", "Mawar", 1000, 200);
    const int kaca = addBotol("Kaca", 2500, 10);
    const int gone = addCustomer("C1", "Ani");
    const int kept = addCustomer("C2", "Ayu");
    addSale(gone, v1, 5, kaca);
    addSale(gone, v2, 7.25, refillId());
    addSale(kept, v1, 9, kaca);
    addLedger("variant", v1);

    Register r = openRegister("customer");
    standOn(r.grid, "idcust", gone);
    prompt.answers << Prompt::Answer::Yes;
    prompt.inputs << QStringLiteral("salah input");
    QTest::keyClick(r.grid, Qt::Key_Delete);
    QVERIFY(prompt.calls.first().text.startsWith("Peringatan!"));

    QCOMPARE(stockOf("botol", kaca), 11.0);
    QCOMPARE(stockOf("botol", refillId()), 0.0);
    QCOMPARE(stockOf("variant", v1), 105.0);
    QCOMPARE(stockOf("variant", v2), 207.25);
    QCOMPARE(count("SELECT COUNT(*) FROM tvr_sales WHERE sales_idcust = ?", {kept}), 1);
    QCOMPARE(count("SELECT COUNT(*) FROM tvr_sales"), 1);
    QCOMPARE(count("SELECT COUNT(*) FROM tvr_stock"), 1);
    QCOMPARE(shown(r.grid, "cust_nama"), QStringList{"Ayu"});
}

void MasterDataTest::failingCascadeChangesNothing_data()
{
    QTest::addColumn<QString>("reg");
    QTest::addColumn<QString>("table");
    QTest::newRow("variant") << "variant"
                             << "tvr_dtvariant";
    QTest::newRow("bottle type") << "botol"
                                 << "tvr_dtbotol";
    QTest::newRow("customer") << "customer"
                              << "tvr_customer";
}

void MasterDataTest::failingCascadeChangesNothing()
{
    TAVORU_SQLITE_ONLY();
    QFETCH(QString, reg);
    QFETCH(QString, table);
    TestDb t;
    ScriptedPrompt prompt;
    const int v = addVariant("V1", "Melati", 1000, 100);
    const int b = addBotol("Kaca", 2500, 10);
    const int c = addCustomer("C1", "Ani");
    addSale(c, v, 5, b);
    addSale(c, v, 2, b);
    addLedger("variant", v);
    addLedger("botol", b);
    // The last statement of each cascade, deleting the row itself, fails.
    Db::exec("CREATE TRIGGER refuse BEFORE DELETE ON " + table +
             " BEGIN SELECT RAISE(ABORT, 'rekaman terkunci'); END");
    const QString before = snapshot();

    Register r = openRegister(reg);
    prompt.answers << Prompt::Answer::Yes;
    prompt.inputs << QStringLiteral("salah input");
    QTest::keyClick(r.grid, Qt::Key_Delete);
    QCOMPARE(prompt.calls.size(), 3);
    QCOMPARE(prompt.calls.at(2).title, QStringLiteral("DATABASE ERROR"));
    QVERIFY(prompt.calls.at(2).text.contains("rekaman terkunci"));
    QCOMPARE(snapshot(), before);
    QCOMPARE(r.grid->model()->rowCount(), 1);

    // The window stays usable and the next try goes through.
    Db::exec("DROP TRIGGER refuse");
    prompt.clear();
    prompt.answers << Prompt::Answer::Yes;
    prompt.inputs << QStringLiteral("salah input");
    QTest::keyClick(r.grid, Qt::Key_Delete);
    QCOMPARE(prompt.lastText(), QStringLiteral("Rekaman telah dihapus!"));
    QCOMPARE(count("SELECT COUNT(*) FROM tvr_sales"), 0);
}

void MasterDataTest::keysAtOnce_data()
{
    QTest::addColumn<QString>("reg");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("rows"); // key|price (name for customers), by key
    QTest::addColumn<QString>("said"); // the box or the note beside the field, in part
    QTest::newRow("Alt+N, Alt+S") << "variant" << "{Alt+N}V9\nMawar\n2500{Alt+S}"
                                  << "V1|1000;V9|2500" << "";
    QTest::newRow("Alt+U, key over the limit, Enter on Submit")
        << "variant" << "V1\n\n3000{Alt+U}ABCDEFGHIJKLMN\nMawar\n2500\n\n"
        << "ABCDEFGHIJKL|2500;V1|3000" << "";
    QTest::newRow("Ctrl+S, the next row at once, a 13th digit")
        << "botol" << "SPRAY30\n2500{Ctrl+S}ROLL\n1234567890123"
        << "SPRAY30|2500" << "paling banyak 12 angka";
    QTest::newRow("price whose point groups nothing") << "botol" << "SPRAY30\n2.50{Alt+S}" << ""
                                                      << "koma (,) adalah tanda desimal";
    QTest::newRow("Alt+N and Alt+X type no letter")
        << "customer" << "C9\nBudi{Alt+N}C8\nA{Alt+X}ni{Alt+S}" << "C8|Ani" << "";
}

void MasterDataTest::keysAtOnce()
{
    QFETCH(QString, reg);
    QFETCH(QString, keys);
    QFETCH(QString, rows);
    QFETCH(QString, said);
    TestDb t;
    addVariant("V1", "Melati", 1000);
    ScriptedPrompt prompt;
    Register r = openRegister(reg);
    QVERIFY(QTest::qWaitForWindowActive(r.dialog.get()));
    typeKeys(keys);
    const QString sql =
        reg == "variant" ? "SELECT variant_kode, variant_harga FROM tvr_dtvariant"
        : reg == "botol" ? "SELECT botol_tipe, botol_harga FROM tvr_dtbotol WHERE idbotol > 1"
                         : "SELECT cust_nomor, cust_nama FROM tvr_customer";
    QStringList saved;
    for (const QVariantList& row : Db::select(sql + " ORDER BY 1").rows)
        saved << row.at(0).toString() + "|" + row.at(1).toString();
    QCOMPARE(saved.join(";"), rows);
    const QString told = (prompt.texts() << InputConventions::noteText(r.dialog.get())).join("");
    QVERIFY2(said.isEmpty() ? told.isEmpty() : told.contains(said), qPrintable(told));
}

QTEST_MAIN(MasterDataTest)
#include "tst_masterdata.moc"
