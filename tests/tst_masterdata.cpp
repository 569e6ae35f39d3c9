// The registers of variants, bottle types and customers: paging, lookups and
// edit modes, input rules, and deletes with what they take along.
#include "ScriptedPrompt.h"
#include "TestDb.h"

#include "core/Db.h"
#include "core/Globals.h"
#include "core/Regional.h"
#include "masterdata/PagePlan.h"
#include "masterdata/RegisterStore.h"
#include "masterdata/frmDBBotol.h"
#include "masterdata/frmDBCustomer.h"
#include "masterdata/frmDBVariant.h"
#include "ui/GridColumns.h"
#include "ui/MDIForm1.h"
#include "ui/Paging.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace {

int addVariant(const QString& kode, const QString& nama = QStringLiteral("Melati"),
               double harga = 1000, double stock = 0)
{
    return int(Db::insertedId(Db::exec(
        "INSERT INTO tvr_dtvariant (variant_kode, variant_nama, variant_harga, variant_stock) "
        "VALUES (?, ?, ?, ?)",
        {kode, nama, harga, stock})));
}

int addBotol(const QString& tipe, double harga = 2500, double stock = 0)
{
    return int(Db::insertedId(
        Db::exec("INSERT INTO tvr_dtbotol (botol_tipe, botol_harga, botol_stock) VALUES (?, ?, ?)",
                 {tipe, harga, stock})));
}

int addCustomer(const QString& nomor, const QString& nama)
{
    return int(Db::insertedId(
        Db::exec("INSERT INTO tvr_customer (cust_nomor, cust_nama) VALUES (?, ?)", {nomor, nama})));
}

void addSale(int cust, int variant, double ml, int botol)
{
    Db::exec("INSERT INTO tvr_sales (sales_idcust, sales_idvariant, sales_mililiter, sales_idbotol, "
             "sales_date) VALUES (?, ?, ?, ?, '2024-01-02')",
             {cust, variant, ml, botol});
}

void addLedger(const QString& name, int id)
{
    Db::exec("INSERT INTO tvr_stock (stock_name, stock_idname, stock_order) VALUES (?, ?, 5)",
             {name, id});
}

int refillId()
{
    return Db::scalar("SELECT idbotol FROM tvr_dtbotol WHERE botol_tipe = 'REFILL'").toInt();
}

double variantStock(int id)
{
    return Db::scalar("SELECT variant_stock FROM tvr_dtvariant WHERE idvariant = ?", {id}).toDouble();
}

double botolStock(int id)
{
    return Db::scalar("SELECT botol_stock FROM tvr_dtbotol WHERE idbotol = ?", {id}).toDouble();
}

int count(const QString& sql, const QVariantList& values = {})
{
    return Db::scalar(sql, values).toInt();
}

// Every row of the tables a delete touches, as text.
QString snapshot()
{
    QString all;
    for (const char* table : {"tvr_customer", "tvr_dtbotol", "tvr_dtvariant", "tvr_sales", "tvr_stock"}) {
        const RowSet rows = Db::select(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(table));
        for (const QVariantList& row : rows.rows)
            for (const QVariant& v : row)
                all += v.toString() + QLatin1Char('|');
        all += QLatin1Char('\n');
    }
    return all;
}

RowSetModel* modelOf(QTableView* grid)
{
    return static_cast<RowSetModel*>(grid->model());
}

QStringList shown(QTableView* grid, const QString& column)
{
    QStringList values;
    for (int r = 0; r < modelOf(grid)->rowCount(); ++r)
        values << modelOf(grid)->value(r, column).toString();
    return values;
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
// page against the expected slice of `expected`, and jumps with ">>" and "<<".
template <typename W>
void checkPaging(W& w, QTableView* grid, const QString& column, const QStringList& expected,
                 const QString& suffix = {})
{
    const int size = ListPageSize;
    const int pages = std::max<int>(1, int((expected.size() + size - 1) / size));
    auto slice = [&](int page) { return expected.mid((page - 1) * size, size); };
    auto check = [&](int page) {
        QCOMPARE(shown(grid, column), slice(page));
        QCOMPARE(w.lblPage_i->text(), QStringLiteral("Page %1 of %2").arg(page).arg(pages) + suffix);
    };
    check(1);
    QStringList seen = shown(grid, column);
    for (int page = 2; page <= pages; ++page) {
        w.cmdNavigasi.at(2)->click();
        check(page);
        seen << shown(grid, column);
    }
    QCOMPARE(seen, expected); // every row once, in order
    QVERIFY(!w.cmdNavigasi.at(2)->isEnabled());
    for (int page = pages - 1; page >= 1; --page) {
        w.cmdNavigasi.at(1)->click();
        check(page);
    }
    QVERIFY(!w.cmdNavigasi.at(0)->isEnabled());
    if (pages > 1) {
        w.cmdNavigasi.at(3)->click();
        check(pages);
        w.cmdNavigasi.at(1)->click();
        check(pages - 1);
        w.cmdNavigasi.at(0)->click();
        check(1);
    }
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
    void emptyRegister();

    void typedKeyFindsRow_data();
    void typedKeyFindsRow();
    void updateWritesTheRowOfTheTypedKey_data();
    void updateWritesTheRowOfTheTypedKey();
    void refillKeepsItsName();
    void newRowsAreStampedEditsAreNot();
    void requiredFields_data();
    void requiredFields();

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

    void databaseMenuOpensRegisters();
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
    QTest::newRow("last page, full") << 10 << 100 << 1 << int(F::End) << 0 << 10 << "";
    QTest::newRow("next is the last") << 10 << 95 << 9 << int(F::After) << 0 << 5 << "last";
    QTest::newRow("near the start") << 3 << 95 << 0 << int(F::Start) << 20 << 10 << "";
    QTest::newRow("near the end") << 8 << 95 << 0 << int(F::End) << 15 << 10 << "";
    QTest::newRow("same page again") << 4 << 95 << 4 << int(F::Start) << 30 << 10 << "";
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
    // Codes in mixed order, with characters that must be bound, and two
    // variants sharing a code that an older program let in.
    QStringList codes;
    for (int i = 23; i >= 1; --i)
        codes << QStringLiteral("K%1").arg(i, 2, 10, QLatin1Char('0'));
    codes << "O'Neil" << "50%" << "K07";
    for (const QString& c : codes)
        addVariant(c);
    QStringList expected = codes;
    std::sort(expected.begin(), expected.end());

    frmDBVariant w;
    w.show();
    checkPaging(w, w.dtGridVariants, "variant_kode", expected);
    QVERIFY(prompt.calls.isEmpty());
}

void MasterDataTest::botolPagesLeaveOutRefill()
{
    TestDb t;
    ScriptedPrompt prompt;
    QStringList types;
    for (int i = 10; i >= 1; --i)
        types << QStringLiteral("BTL-%1").arg(i, 2, 10, QLatin1Char('0'));
    types << "AAA" << "ZZZ"; // "REFILL" sorts between them
    for (const QString& type : types.mid(0, 10))
        addBotol(type);
    QStringList expected = types.mid(0, 10);
    std::sort(expected.begin(), expected.end());
    {
        frmDBBotol w;
        w.show();
        QCOMPARE(w.lblPage_i->text(), QStringLiteral("Page 1 of 1")); // ten types, one page
        checkPaging(w, w.dtGridBotols, "botol_tipe", expected);
    }
    addBotol("AAA");
    addBotol("ZZZ");
    expected = types;
    std::sort(expected.begin(), expected.end());
    frmDBBotol w;
    w.show();
    checkPaging(w, w.dtGridBotols, "botol_tipe", expected);
}

void MasterDataTest::customerPagesByLetter_data()
{
    QTest::addColumn<int>("label");
    QTest::addColumn<QStringList>("expected"); // newest first

    QStringList a;
    for (int i = 24; i >= 1; --i)
        a << QStringLiteral("%1di%2").arg(i % 3 ? QStringLiteral("A") : QStringLiteral("a")).arg(char('a' + i));
    QTest::newRow("A, either case") << 0 << a;
    QTest::newRow("... for names with a point")
        << 26 << QStringList{".zen", ".Anonim", ".ali"};
    QTest::newRow("letter without customers") << 16 << QStringList{};
}

void MasterDataTest::customerPagesByLetter()
{
    QFETCH(int, label);
    QFETCH(QStringList, expected);
    TestDb t;
    ScriptedPrompt prompt;
    // Filed in the order of entry, letters mixed.
    QStringList names;
    for (int i = 1; i <= 24; ++i)
        names << QStringLiteral("%1di%2").arg(i % 3 ? QStringLiteral("A") : QStringLiteral("a")).arg(char('a' + i))
              << QStringLiteral("Budi%1").arg(char('a' + i));
    names.insert(3, ".ali");
    names.insert(9, ".Anonim");
    names.insert(30, ".zen");
    names << "" << " Ani" << "Zaenal";
    for (int i = 0; i < names.size(); ++i)
        addCustomer(QStringLiteral("C%1").arg(i), names.at(i));

    frmDBCustomer w;
    w.show();
    QTest::mouseClick(w.lblAbjad.at(label), Qt::LeftButton);
    QCOMPARE(w.selAbjad, w.lblAbjad.at(label)->text().toLower());
    checkPaging(w, w.dtGridCustomers, "cust_nama", expected, ": Data Customer");
    if (expected.isEmpty())
        QCOMPARE(w.cmdSubmit->text(), QStringLiteral("Submit"));
    QVERIFY(prompt.calls.isEmpty());
}

void MasterDataTest::letterLabels()
{
    TestDb t;
    frmDBCustomer w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.lblAbjad.size(), 27);
    QCOMPARE(w.lblAbjad.first()->text(), QStringLiteral("A"));
    QCOMPARE(w.lblAbjad.at(25)->text(), QStringLiteral("Z"));
    QCOMPARE(w.lblAbjad.last()->text(), QStringLiteral("..."));
    auto colour = [&](int i) { return w.lblAbjad.at(i)->palette().color(QPalette::WindowText); };
    const QColor normal = w.palette().color(QPalette::ButtonText);
    QCOMPARE(w.selAbjad, QStringLiteral("a"));
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

void MasterDataTest::emptyRegister()
{
    TestDb t;
    ScriptedPrompt prompt;
    frmDBVariant w;
    w.show();
    QCOMPARE(w.dtGridVariants->model()->rowCount(), 0);
    QCOMPARE(w.lblPage_i->text(), QStringLiteral("Page 1 of 1"));
    for (QPushButton* b : w.cmdNavigasi)
        QVERIFY(!b->isEnabled());
    QCOMPARE(w.cmdSubmit->text(), QStringLiteral("Submit"));
    QTest::keyClick(w.dtGridVariants, Qt::Key_Delete);
    QVERIFY(prompt.calls.isEmpty());
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
    Db::exec("UPDATE tvr_customer SET cust_alamat = 'Jl. Mawar 1', cust_notelp = '0812' "
             "WHERE cust_nomor = ?", {key});

    frmDBVariant v;
    v.show();
    QTest::keyClicks(v.txtKode, key);
    QCOMPARE(v.cmdSubmit->text(), QStringLiteral("Update"));
    QCOMPARE(v.txtNama->text(), QStringLiteral("Melati"));
    QCOMPARE(v.txtHargaVariant->text(), QStringLiteral("12500"));
    QTest::keyClicks(v.txtKode, "x");
    QCOMPARE(v.cmdSubmit->text(), QStringLiteral("Submit"));
    QCOMPARE(v.txtNama->text(), QString());
    QCOMPARE(v.txtHargaVariant->text(), QStringLiteral("0"));

    frmDBBotol b;
    b.show();
    QTest::keyClicks(b.txtTipeBotol, key);
    QCOMPARE(b.cmdSubmit->text(), QStringLiteral("Update"));
    QCOMPARE(b.txtHargaBotol->text(), QStringLiteral("4000"));
    QTest::keyClick(b.txtTipeBotol, Qt::Key_Backspace);
    QCOMPARE(b.cmdSubmit->text(), QStringLiteral("Submit"));
    QCOMPARE(b.txtHargaBotol->text(), QStringLiteral("0"));

    frmDBCustomer c;
    c.show();
    QTest::keyClicks(c.txtNoCust, key);
    QCOMPARE(c.cmdSubmit->text(), QStringLiteral("Update"));
    QCOMPARE(c.txtNama->text(), QStringLiteral("Sari"));
    QCOMPARE(c.txtAlamat->toPlainText(), QStringLiteral("Jl. Mawar 1"));
    QCOMPARE(c.txtNoTelp->text(), QStringLiteral("0812"));
    QTest::keyClicks(c.txtNoCust, "1");
    QCOMPARE(c.cmdSubmit->text(), QStringLiteral("Submit"));
    QCOMPARE(c.txtNama->text() + c.txtAlamat->toPlainText() + c.txtNoTelp->text(), QString());

    // A new row keyed like that is stored as typed and found again.
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
    QTest::newRow("variant") << "variant";
    QTest::newRow("bottle type") << "botol";
    QTest::newRow("customer") << "customer";
}

void MasterDataTest::updateWritesTheRowOfTheTypedKey()
{
    QFETCH(QString, reg);
    TestDb t;
    ScriptedPrompt prompt;
    // The list stands on row "A1"; the key of "B2" is typed and the row updated.
    if (reg == "variant") {
        addVariant("A1", "Anggrek", 1000);
        addVariant("B2", "Bunga", 2000);
        frmDBVariant w;
        w.show();
        standOn(w.dtGridVariants, "variant_kode", "A1");
        QCOMPARE(w.txtNama->text(), QStringLiteral("Anggrek"));
        w.txtKode->clear();
        QTest::keyClicks(w.txtKode, "B2");
        w.txtNama->setText("Baru");
        w.txtHargaVariant->setText("2.500");
        w.cmdSubmit->click();
        const RowSet rows = Db::select("SELECT variant_kode, variant_nama, variant_harga "
                                       "FROM tvr_dtvariant ORDER BY idvariant");
        QCOMPARE(rows.rows, (QList<QVariantList>{{"A1", "Anggrek", 1000.0}, {"B2", "Baru", 2500.0}}));
        QCOMPARE(w.cmdSubmit->text(), QStringLiteral("Submit"));
    } else if (reg == "botol") {
        addBotol("A1", 1000);
        addBotol("B2", 2000);
        frmDBBotol w;
        w.show();
        standOn(w.dtGridBotols, "botol_tipe", "A1");
        QCOMPARE(w.txtHargaBotol->text(), QStringLiteral("1.000"));
        w.txtTipeBotol->clear();
        QTest::keyClicks(w.txtTipeBotol, "B2");
        w.txtHargaBotol->setText("7500");
        w.cmdSubmit->click();
        const RowSet rows = Db::select("SELECT botol_tipe, botol_harga FROM tvr_dtbotol "
                                       "WHERE botol_tipe <> 'REFILL' ORDER BY idbotol");
        QCOMPARE(rows.rows, (QList<QVariantList>{{"A1", 1000.0}, {"B2", 7500.0}}));
    } else {
        addCustomer("A1", "Ani");
        addCustomer("B2", "Budi");
        frmDBCustomer w;
        w.show();
        standOn(w.dtGridCustomers, "cust_nomor", "A1");
        QCOMPARE(w.txtNama->text(), QStringLiteral("Ani"));
        w.txtNoCust->clear();
        QTest::keyClicks(w.txtNoCust, "B2");
        w.txtNama->setText("Bambang");
        w.cmdSubmit->click();
        const RowSet rows =
            Db::select("SELECT cust_nomor, cust_nama FROM tvr_customer ORDER BY idcust");
        QCOMPARE(rows.rows, (QList<QVariantList>{{"A1", "Ani"}, {"B2", "Bambang"}}));
    }
    QVERIFY(prompt.calls.isEmpty());
}

void MasterDataTest::refillKeepsItsName()
{
    TestDb t;
    ScriptedPrompt prompt;
    const int other = addBotol("BTL-01", 3000, 4);
    frmDBBotol w;
    w.show();
    QCOMPARE(shown(w.dtGridBotols, "botol_tipe"), QStringList{"BTL-01"});
    standOn(w.dtGridBotols, "idbotol", other);
    w.txtTipeBotol->clear();
    QTest::keyClicks(w.txtTipeBotol, RefillBottleType);
    QCOMPARE(w.cmdSubmit->text(), QStringLiteral("Update"));
    w.txtHargaBotol->setText("1.000");
    w.cmdSubmit->click();
    QCOMPARE(count("SELECT COUNT(*) FROM tvr_dtbotol WHERE botol_tipe = 'REFILL'"), 1);
    QCOMPARE(Db::scalar("SELECT botol_harga FROM tvr_dtbotol WHERE idbotol = ?", {refillId()}).toDouble(),
             1000.0);
    QCOMPARE(Db::scalar("SELECT botol_tipe FROM tvr_dtbotol WHERE idbotol = ?", {other}).toString(),
             QStringLiteral("BTL-01"));
    QCOMPARE(shown(w.dtGridBotols, "botol_tipe"), QStringList{"BTL-01"});
}

void MasterDataTest::newRowsAreStampedEditsAreNot()
{
    TestDb t;
    ScriptedPrompt prompt;
    frmDBVariant w;
    w.show();
    QTest::keyClicks(w.txtKode, "V9");
    QTest::keyClicks(w.txtNama, "Kenanga");
    w.cmdSubmit->click();
    const QString stamp = "SELECT variant_date || variant_author || variant_ls_date || "
                          "variant_ls_author || CAST(variant_stock AS INTEGER) FROM tvr_dtvariant";
    const QString today = Regional::today();
    QCOMPARE(Db::scalar(stamp).toString(), today + "tester" + today + "tester0");

    Db::exec("UPDATE tvr_dtvariant SET variant_date = '2020-01-01', variant_author = 'lama', "
             "variant_ls_date = '2019-01-01', variant_ls_author = 'lama2', variant_stock = 7");
    LoginUserName = "other";
    QTest::keyClicks(w.txtKode, "V9");
    w.txtNama->setText("Kenanga Putih");
    w.cmdSubmit->click();
    QCOMPARE(Db::scalar(stamp).toString(), QStringLiteral("2020-01-01lama2019-01-01lama27"));
    QCOMPARE(Db::scalar("SELECT variant_nama FROM tvr_dtvariant").toString(),
             QStringLiteral("Kenanga Putih"));

    frmDBBotol b;
    b.show();
    QTest::keyClicks(b.txtTipeBotol, "Kaca");
    b.cmdSubmit->click();
    QCOMPARE(Db::scalar("SELECT botol_date || botol_author || botol_ls_date || botol_ls_author "
                        "|| CAST(botol_stock AS INTEGER) FROM tvr_dtbotol WHERE botol_tipe = 'Kaca'")
                 .toString(),
             today + "other" + today + "other0");
    frmDBCustomer c;
    c.show();
    QTest::keyClicks(c.txtNoCust, "C1");
    c.cmdSubmit->click();
    QCOMPARE(Db::scalar("SELECT cust_date || cust_author || cust_nama FROM tvr_customer").toString(),
             today + "other");
}

void MasterDataTest::requiredFields_data()
{
    QTest::addColumn<QString>("reg");
    QTest::addColumn<QString>("message");
    QTest::newRow("variant without code") << "variant-code" << "Tidak ada entri kode atau nama.";
    QTest::newRow("variant without name") << "variant-name" << "Tidak ada entri kode atau nama.";
    QTest::newRow("bottle type") << "botol" << "Tidak ada entri Tipe Botol";
    QTest::newRow("customer") << "customer" << "Data entri tidak lengkap.";
}

void MasterDataTest::requiredFields()
{
    QFETCH(QString, reg);
    QFETCH(QString, message);
    TestDb t;
    ScriptedPrompt prompt;
    const QString before = snapshot();
    std::unique_ptr<QDialog> w;
    if (reg.startsWith("variant")) {
        auto* v = new frmDBVariant;
        w.reset(v);
        (reg == "variant-code" ? v->txtNama : v->txtKode)->setText("X");
        v->cmdSubmit->click();
    } else if (reg == "botol") {
        auto* b = new frmDBBotol;
        w.reset(b);
        b->txtHargaBotol->setText("500");
        b->cmdSubmit->click();
    } else {
        auto* c = new frmDBCustomer;
        w.reset(c);
        c->txtNama->setText("Ani");
        c->cmdSubmit->click();
    }
    QCOMPARE(prompt.calls.size(), 1);
    QCOMPARE(prompt.lastText(), message);
    QCOMPARE(prompt.calls.first().title, QStringLiteral("Periksa Entri"));
    QCOMPARE(prompt.calls.first().icon, Prompt::Icon::Critical);
    QCOMPARE(snapshot(), before);
}

void MasterDataTest::priceBoxes_data()
{
    QTest::addColumn<bool>("variant");
    QTest::newRow("variant price per ml") << true;
    QTest::newRow("bottle price") << false;
}

void MasterDataTest::priceBoxes()
{
    QFETCH(bool, variant);
    TestDb t;
    ScriptedPrompt prompt;
    frmDBVariant v;
    frmDBBotol b;
    QDialog& w = variant ? static_cast<QDialog&>(v) : b;
    QLineEdit* key = variant ? v.txtKode : b.txtTipeBotol;
    QLineEdit* price = variant ? v.txtHargaVariant : b.txtHargaBotol;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));

    key->setFocus();
    QTest::keyClicks(key, "K1");
    if (variant)
        v.txtNama->setText("Cempaka");
    price->setFocus();
    QTRY_COMPARE(price->selectedText(), QStringLiteral("0"));
    QTest::keyClicks(price, "1a2,.5 0-0");
    QCOMPARE(price->text(), QStringLiteral("12.500"));
    key->setFocus();
    QCOMPARE(price->text(), QStringLiteral("12.500"));
    price->setFocus();
    QCOMPARE(price->text(), QStringLiteral("12500"));
    QTRY_COMPARE(price->selectedText(), QStringLiteral("12500"));

    // Emptied, it shows "0"; no more than twelve digits go in, so the value
    // shown with its points is never cut.
    QTest::keyClick(price, Qt::Key_Backspace);
    QCOMPARE(price->text(), QStringLiteral("0"));
    price->selectAll();
    QTest::keyClicks(price, "1234567890123");
    QCOMPARE(price->text(), QStringLiteral("123456789012"));
    key->setFocus();
    QCOMPARE(price->text(), QStringLiteral("123.456.789.012"));
    price->setFocus();
    price->setText("12.500");
    (variant ? v.cmdSubmit : b.cmdSubmit)->click();
    const QString sql = variant ? "SELECT variant_harga FROM tvr_dtvariant WHERE variant_kode = 'K1'"
                                : "SELECT botol_harga FROM tvr_dtbotol WHERE botol_tipe = 'K1'";
    QCOMPARE(Db::scalar(sql).toDouble(), 12500.0);
    QVERIFY(prompt.calls.isEmpty());
}

void MasterDataTest::keyLongerThanColumnCannotBeTyped()
{
    TestDb t;
    frmDBVariant v;
    QTest::keyClicks(v.txtKode, "ABCDEFGHIJKLMNO");
    QCOMPARE(v.txtKode->text(), QStringLiteral("ABCDEFGHIJKL"));
    frmDBBotol b;
    QTest::keyClicks(b.txtTipeBotol, "ABCDEFGHIJKLMNO");
    QCOMPARE(b.txtTipeBotol->text(), QStringLiteral("ABCDEFGHIJKL"));
    frmDBCustomer c;
    QTest::keyClicks(c.txtNoCust, "ABCDEFGHIJKLMNO");
    QCOMPARE(c.txtNoCust->text(), QStringLiteral("ABCDEFGHIJKL"));
    c.txtAlamat->setFocus();
    c.txtAlamat->setPlainText(QString(198, QLatin1Char('x')));
    c.txtAlamat->moveCursor(QTextCursor::End);
    QTest::keyClicks(c.txtAlamat, "abcd");
    QCOMPARE(c.txtAlamat->toPlainText(), QString(198, QLatin1Char('x')) + "ab");
}

void MasterDataTest::customerKeyFilters_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("name: letters and point") << "txtNama" << "Sri.Wahyuni" << "Sri.Wahyuni";
    QTest::newRow("name: no blank, digit, dash") << "txtNama" << "Ani 2-b_c" << "Anibc";
    QTest::newRow("phone: digits, point, dash") << "txtNoTelp" << "0812-345.67" << "0812-345.67";
    QTest::newRow("phone: no letter, blank, comma, plus") << "txtNoTelp" << "+62 81a2,3" << "628123";
    QTest::newRow("number: anything") << "txtNoCust" << "A-1 'x'" << "A-1 'x'";
}

void MasterDataTest::customerKeyFilters()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    TestDb t;
    frmDBCustomer w;
    auto* edit = w.findChild<QLineEdit*>(box);
    QVERIFY(edit);
    edit->clear();
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), kept);
    // Backspace always passes.
    QTest::keyClick(edit, Qt::Key_Backspace);
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
    QCOMPARE(w.txtNoTelp->text(), QStringLiteral("08123456789"));
    w.txtNoTelp->setFocus();
    QTRY_COMPARE(w.txtNoTelp->selectedText(), QStringLiteral("08123456789"));
    QTest::keyClicks(w.txtNoTelp, "1.234");
    w.txtNama->setFocus();
    QCOMPARE(w.txtNoTelp->text(), QStringLiteral("1.234"));
    w.txtNoTelp->clear();
    QCOMPARE(w.txtNoTelp->text(), QString());
    w.txtNoTelp->setText("0812.777");
    w.cmdSubmit->click();
    QCOMPARE(Db::scalar("SELECT cust_notelp FROM tvr_customer WHERE cust_nomor = 'C7'").toString(),
             QStringLiteral("0812.777"));
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
    if (referenced) {
        if (reg == "customer")
            addSale(customer, 99, 5, 99);
        else
            addLedger(reg, reg == "variant" ? variant : botol);
    }
    const QString name = reg == "variant" ? "Melati" : reg == "botol" ? "Kaca" : "Ani";
    const QString question = "Yakin akan menghapus rekaman '" + name + "' ini?";
    const QString text = referenced ? "Peringatan!\n\nPenghapusan data akan berpengaruh\n"
                                      "terhadap data yang lain.\n\n" + question
                                    : question;

    std::unique_ptr<QDialog> w;
    QTableView* grid = nullptr;
    QPushButton* submit = nullptr;
    QString table;
    if (reg == "variant") {
        auto* v = new frmDBVariant;
        w.reset(v);
        v->show();
        grid = v->dtGridVariants;
        submit = v->cmdSubmit;
        standOn(grid, "idvariant", variant);
        table = "tvr_dtvariant";
    } else if (reg == "botol") {
        auto* b = new frmDBBotol;
        w.reset(b);
        b->show();
        grid = b->dtGridBotols;
        submit = b->cmdSubmit;
        standOn(grid, "idbotol", botol);
        table = "tvr_dtbotol";
    } else {
        auto* c = new frmDBCustomer;
        w.reset(c);
        grid = c->dtGridCustomers;
        submit = c->cmdSubmit;
        table = "tvr_customer";
    }
    w->show();
    const int rows = count("SELECT COUNT(*) FROM " + table);

    // No: nothing changes.
    const QString before = snapshot();
    prompt.answers << Prompt::Answer::No;
    QTest::keyClick(grid, Qt::Key_Delete);
    QCOMPARE(prompt.calls.size(), 1);
    QCOMPARE(prompt.calls.first().text, text);
    QCOMPARE(prompt.calls.first().title, title);
    QCOMPARE(prompt.calls.first().icon, Prompt::Icon::Question);
    QCOMPARE(prompt.calls.first().buttons, Prompt::Buttons::YesNo);
    QCOMPARE(snapshot(), before);

    // Yes: the row goes, the list starts again, the editor is empty.
    prompt.clear();
    prompt.answers << Prompt::Answer::Yes;
    QTest::keyClick(grid, Qt::Key_Delete);
    QCOMPARE(prompt.calls.size(), 2);
    QCOMPARE(prompt.calls.at(1).text, QStringLiteral("Rekaman telah dihapus!"));
    QCOMPARE(prompt.calls.at(1).title, title);
    QCOMPARE(prompt.calls.at(1).icon, Prompt::Icon::Information);
    QCOMPARE(count("SELECT COUNT(*) FROM " + table), rows - 1);
    QCOMPARE(shown(grid, reg == "variant" ? "variant_nama" : reg == "botol" ? "botol_tipe" : "cust_nama")
                 .contains(name),
             false);
    QCOMPARE(submit->text(), QStringLiteral("Submit"));
    QVERIFY(prompt.unexpected.isEmpty());
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

    frmDBVariant w;
    w.show();
    standOn(w.dtGridVariants, "idvariant", gone);
    prompt.answers << Prompt::Answer::Yes;
    QTest::keyClick(w.dtGridVariants, Qt::Key_Delete);
    QVERIFY(prompt.calls.first().text.startsWith("Peringatan!"));

    QCOMPARE(botolStock(kaca), 12.0); // one bottle back for each of its two sales
    QCOMPARE(botolStock(refillId()), 0.0);
    QCOMPARE(botolStock(plastik), 20.0);
    QCOMPARE(variantStock(kept), 300.0);
    QCOMPARE(count("SELECT COUNT(*) FROM tvr_sales WHERE sales_idvariant = ?", {gone}), 0);
    QCOMPARE(count("SELECT COUNT(*) FROM tvr_sales"), 1);
    QCOMPARE(count("SELECT COUNT(*) FROM tvr_stock WHERE stock_name = 'variant' AND stock_idname = ?",
                   {gone}),
             0);
    QCOMPARE(count("SELECT COUNT(*) FROM tvr_stock WHERE stock_name = 'variant'"), 1);
    QCOMPARE(count("SELECT COUNT(*) FROM tvr_stock WHERE stock_name = 'botol' AND stock_idname = ?",
                   {gone}),
             1);
    QCOMPARE(count("SELECT COUNT(*) FROM tvr_dtvariant"), 1);
    QCOMPARE(shown(w.dtGridVariants, "variant_kode"), QStringList{"V2"});
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

    frmDBBotol w;
    w.show();
    standOn(w.dtGridBotols, "idbotol", gone);
    prompt.answers << Prompt::Answer::Yes;
    QTest::keyClick(w.dtGridBotols, Qt::Key_Delete);
    QCOMPARE(prompt.calls.first().title, QStringLiteral("Hapus Rekaman"));

    QCOMPARE(variantStock(v1), 106.5); // the millilitres of its sales come back
    QCOMPARE(variantStock(v2), 203.0);
    QCOMPARE(variantStock(v3), 300.0);
    QCOMPARE(botolStock(kept), 20.0);
    QCOMPARE(count("SELECT COUNT(*) FROM tvr_sales"), 1);
    QCOMPARE(count("SELECT COUNT(*) FROM tvr_sales WHERE sales_idbotol = ?", {kept}), 1);
    QCOMPARE(count("SELECT COUNT(*) FROM tvr_stock WHERE stock_name = 'botol'"), 1);
    QCOMPARE(count("SELECT COUNT(*) FROM tvr_stock WHERE stock_name = 'variant' AND stock_idname = ?",
                   {gone}),
             1);
    QCOMPARE(count("SELECT COUNT(*) FROM tvr_dtbotol WHERE idbotol = ?", {gone}), 0);
    QCOMPARE(count("SELECT COUNT(*) FROM tvr_dtbotol WHERE botol_tipe = 'REFILL'"), 1);
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

    frmDBCustomer w;
    w.show();
    standOn(w.dtGridCustomers, "idcust", gone);
    prompt.answers << Prompt::Answer::Yes;
    QTest::keyClick(w.dtGridCustomers, Qt::Key_Delete);
    QVERIFY(prompt.calls.first().text.startsWith("Peringatan!"));

    QCOMPARE(botolStock(kaca), 11.0);
    QCOMPARE(botolStock(refillId()), 0.0);
    QCOMPARE(variantStock(v1), 105.0);
    QCOMPARE(variantStock(v2), 207.25);
    QCOMPARE(count("SELECT COUNT(*) FROM tvr_sales"), 1);
    QCOMPARE(count("SELECT COUNT(*) FROM tvr_sales WHERE sales_idcust = ?", {kept}), 1);
    QCOMPARE(count("SELECT COUNT(*) FROM tvr_stock"), 1);
    QCOMPARE(count("SELECT COUNT(*) FROM tvr_customer"), 1);
    QCOMPARE(shown(w.dtGridCustomers, "cust_nama"), QStringList{"Ayu"});
}

void MasterDataTest::failingCascadeChangesNothing_data()
{
    QTest::addColumn<QString>("reg");
    QTest::newRow("variant") << "variant";
    QTest::newRow("bottle type") << "botol";
    QTest::newRow("customer") << "customer";
}

void MasterDataTest::failingCascadeChangesNothing()
{
    QFETCH(QString, reg);
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
    const QString table =
        reg == "variant" ? "tvr_dtvariant" : reg == "botol" ? "tvr_dtbotol" : "tvr_customer";
    Db::exec("CREATE TRIGGER refuse BEFORE DELETE ON " + table +
             " BEGIN SELECT RAISE(ABORT, 'rekaman terkunci'); END");
    const QString before = snapshot();

    std::unique_ptr<QDialog> w;
    QTableView* grid = nullptr;
    if (reg == "variant") {
        auto* d = new frmDBVariant;
        grid = d->dtGridVariants;
        w.reset(d);
    } else if (reg == "botol") {
        auto* d = new frmDBBotol;
        grid = d->dtGridBotols;
        w.reset(d);
    } else {
        auto* d = new frmDBCustomer;
        grid = d->dtGridCustomers;
        w.reset(d);
    }
    w->show();
    prompt.answers << Prompt::Answer::Yes;
    QTest::keyClick(grid, Qt::Key_Delete);
    QCOMPARE(prompt.calls.size(), 2);
    QCOMPARE(prompt.calls.at(1).title, QStringLiteral("DATABASE ERROR"));
    QVERIFY(prompt.calls.at(1).text.contains("rekaman terkunci"));
    QCOMPARE(snapshot(), before);
    QCOMPARE(grid->model()->rowCount(), 1);

    // The window stays usable and the database takes the next action.
    Db::exec("DROP TRIGGER refuse");
    prompt.clear();
    prompt.answers << Prompt::Answer::Yes;
    QTest::keyClick(grid, Qt::Key_Delete);
    QCOMPARE(prompt.lastText(), QStringLiteral("Rekaman telah dihapus!"));
    QCOMPARE(count("SELECT COUNT(*) FROM tvr_sales"), 0);
}

void MasterDataTest::databaseMenuOpensRegisters()
{
    TestDb t;
    ScriptedPrompt prompt;
    MDIForm1 main;
    QStringList opened;
    auto closeNext = [&] {
        QTimer::singleShot(0, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                opened << modal->objectName();
                static_cast<QDialog*>(modal)->reject();
            }
        });
    };
    for (const QString& caption : QStringList{"Customer", "Variant", "Botol"}) {
        closeNext();
        main.runCommand("Database", caption);
    }
    QCOMPARE(opened, (QStringList{"frmDBCustomer", "frmDBVariant", "frmDBBotol"}));
}

QTEST_MAIN(MasterDataTest)
#include "tst_masterdata.moc"
