// The concentrate and bottle stock windows: relative stock moves with their
// ledger rows, deletion with reversal, reset to zero, the ledger pages, the
// amount box, and every operation leaving nothing behind when it fails.
#include "ScriptedPrompt.h"
#include "TestDb.h"
#include "WindowDriver.h"

#include "core/Db.h"
#include "core/Globals.h"
#include "core/Regional.h"
#include "sales/SalesStore.h"
#include "stock/StockStore.h"
#include "stock/frmStockB.h"
#include "stock/frmStockC.h"
#include "ui/Paging.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <memory>

using StockStore::Item;
using StockStore::Outcome;

namespace {

// Ids above 16 bits, as a register that has seen many rows has them.
qint64 nextId = 40000;

Item itemOf(const QString& kind)
{
    return kind == "variant" ? Item::Variant : Item::Botol;
}

qint64 addItem(const QString& kind, const QString& label, double stock)
{
    const qint64 id = nextId++;
    if (kind == "variant")
        Db::exec("INSERT INTO tvr_dtvariant (idvariant, variant_kode, variant_nama, variant_harga, "
                 "variant_stock, variant_date, variant_author) "
                 "VALUES (?, ?, ?, 2500, ?, '2020-01-01', 'admin')",
                 {id, label, "Aroma " + label, stock});
    else
        Db::exec("INSERT INTO tvr_dtbotol (idbotol, botol_tipe, botol_harga, botol_stock, "
                 "botol_date, botol_author) VALUES (?, ?, 3000, ?, '2020-01-01', 'admin')",
                 {id, label, stock});
    return id;
}

double stockOf(const QString& kind, qint64 id)
{
    return Db::scalar(kind == "variant"
                          ? "SELECT variant_stock FROM tvr_dtvariant WHERE idvariant = ?"
                          : "SELECT botol_stock FROM tvr_dtbotol WHERE idbotol = ?",
                      {id})
        .toDouble();
}

void setStock(const QString& kind, qint64 id, double stock)
{
    Db::exec(kind == "variant" ? "UPDATE tvr_dtvariant SET variant_stock = ? WHERE idvariant = ?"
                               : "UPDATE tvr_dtbotol SET botol_stock = ? WHERE idbotol = ?",
             {stock, id});
}

// The ledger rows of an item, oldest first: awal, order, akhir, reason, status.
QList<QVariantList> ledgerOf(const QString& kind, qint64 id)
{
    return Db::select("SELECT stock_awal, stock_order, stock_akhir, stock_keterangan, "
                      "stock_status FROM tvr_stock WHERE stock_name = ? AND stock_idname = ? "
                      "ORDER BY idstock",
                      {StockStore::stockName(itemOf(kind)), id})
        .rows;
}

// Ledger rows as earlier operations left them; returns the last idstock.
qint64 addLedgerRows(const QString& kind, qint64 id, int n, int status = 0)
{
    qint64 last = 0;
    for (int i = 1; i <= n; ++i)
        last = Db::insertedId(Db::exec(
            "INSERT INTO tvr_stock (stock_name, stock_idname, stock_awal, stock_order, "
            "stock_akhir, stock_date, stock_author, stock_status, stock_keterangan) "
            "VALUES (?, ?, 0, ?, 0, '2020-01-01', 'admin', ?, ?)",
            {StockStore::stockName(itemOf(kind)), id, double(i), status,
             QStringLiteral("row %1").arg(i)}));
    return last;
}

qint64 addCustomer()
{
    return Db::insertedId(
        Db::exec("INSERT INTO tvr_customer (cust_nomor, cust_nama) VALUES ('C1', 'Ani')"));
}

// A sale of `ml` of variant `variant` in a bottle of type `botol`, as the till records it.
void sell(qint64 cust, qint64 variant, qint64 botol, double ml)
{
    SalesStore::NewSale s;
    s.idCust = int(cust);
    s.amounts = {int(variant), int(botol), ml, ml, ml * 2500, 0, ml * 2500};
    SalesStore::addSale(s);
}

QString snapshot()
{
    return tablesAsText({"tvr_dtbotol", "tvr_dtvariant", "tvr_sales", "tvr_stock"});
}

// ---- Driving the windows ----

struct Window {
    std::unique_ptr<StockWindow> w;
    QTableView* list = nullptr;
    QTableView* ledger = nullptr;
    QLabel* page = nullptr;
    QString idColumn;
};

Window open(const QString& kind)
{
    Window r;
    if (kind == "variant") {
        auto* w = new frmStockC;
        r = {std::unique_ptr<StockWindow>(w), w->dtGridVariants, w->dtGridVariant, w->lblPage,
             "idvariant"};
    } else {
        auto* w = new frmStockB;
        r = {std::unique_ptr<StockWindow>(w), w->dtGridBotols, w->dtGridBotol, w->lblPage_i,
             "idbotol"};
    }
    r.w->show();
    if (!QTest::qWaitForWindowActive(r.w.get()))
        qWarning("the stock window did not become active");
    return r;
}

void select(const Window& win, qint64 id)
{
    for (int r = 0; r < modelOf(win.list)->rowCount(); ++r)
        if (modelOf(win.list)->value(r, win.idColumn).toLongLong() == id) {
            clickRow(win.list, r);
            QCOMPARE(win.w->selectedId().value_or(0), id);
            return;
        }
    QFAIL("item not listed");
}

void reduceMode(StockWindow* w)
{
    if (w->cmdOperasi->text() != "-")
        QTest::mouseClick(w->cmdOperasi, Qt::LeftButton);
}

} // namespace

class StockTest : public QObject {
    Q_OBJECT

private slots:
    void storeMovesAndReversals_data();
    void storeMovesAndReversals();
    void failingStatementLeavesNothing_data();
    void failingStatementLeavesNothing();

    void windowSubmitAgainstStoredStock_data();
    void windowSubmitAgainstStoredStock();
    void windowReasonPrompt_data();
    void windowReasonPrompt();
    void windowAmountBox_data();
    void windowAmountBox();
    void windowListsAndLedgerPages_data();
    void windowListsAndLedgerPages();
    void windowDeleteTopEntry_data();
    void windowDeleteTopEntry();
    void windowReset_data();
    void windowReset();
    void windowDatabaseFailure();
};

// ---- The store --------------------------------------------------------------

void StockTest::storeMovesAndReversals_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<double>("stock");
    QTest::addColumn<double>("order");
    QTest::addColumn<double>("after");
    // The stock set before the ledger row is deleted, and what deleting does.
    QTest::addColumn<double>("stockAtDeletion");
    QTest::addColumn<bool>("deletable");
    QTest::addColumn<double>("afterDeletion");

    QTest::newRow("reduce 50 from 200, give it back")
        << "variant" << 200.0 << -50.0 << 150.0 << 150.0 << true << 200.0;
    QTest::newRow("add 100, stock now 60: no reversal")
        << "variant" << 0.0 << 100.0 << 100.0 << 60.0 << false << 60.0;
    QTest::newRow("add 12,5 ml, reversal to exactly 0")
        << "variant" << 0.3 << 12.5 << 12.8 << 12.5 << true << 0.0;
    QTest::newRow("3 bottles off 10") << "botol" << 10.0 << -3.0 << 7.0 << 7.0 << true << 10.0;
    QTest::newRow("bottles added, since sold") << "botol" << 2.0 << 5.0 << 7.0 << 4.0 << false
                                               << 4.0;
}

void StockTest::storeMovesAndReversals()
{
    QFETCH(QString, kind);
    QFETCH(double, stock);
    QFETCH(double, order);
    QFETCH(double, after);
    QFETCH(double, stockAtDeletion);
    QFETCH(bool, deletable);
    QFETCH(double, afterDeletion);

    TestDb t;
    const qint64 id = addItem(kind, "A1", stock);
    const qint64 other = addItem(kind, "A2", 5);
    const Item item = itemOf(kind);

    const StockStore::Moved moved = StockStore::move(item, id, order, order < 0 ? "Tumpah" : "");
    QCOMPARE(moved.outcome, Outcome::Done);
    QCOMPARE(stockOf(kind, id), after);
    QCOMPARE(ledgerOf(kind, id),
             (QList<QVariantList>{{stock, order, after, order < 0 ? "Tumpah" : "", 0}}));
    const RowSet row = Db::select("SELECT idstock, stock_date, stock_author FROM tvr_stock");
    QCOMPARE(row.rows.first().mid(1), (QVariantList{Regional::today(), "tester"}));
    QCOMPARE(StockStore::countLedger(item, id), qint64(1));
    QCOMPARE(StockStore::countLedger(item, other), qint64(0));

    const qint64 idStock = row.value(0, 0).toLongLong();
    setStock(kind, id, stockAtDeletion);
    const Outcome expected = deletable ? Outcome::Done : Outcome::BelowZero;
    QCOMPARE(StockStore::checkDeletion(item, id, idStock), expected);
    // A row of another item is not this item's to delete.
    QCOMPARE(StockStore::deleteEntry(item, other, idStock), Outcome::Missing);
    QCOMPARE(StockStore::deleteEntry(item, id, idStock), expected);
    QCOMPARE(stockOf(kind, id), afterDeletion);
    QCOMPARE(ledgerOf(kind, id).size(), deletable ? 0 : 1);
    QCOMPARE(stockOf(kind, other), 5.0);

    // A reduction below the stored stock writes nothing.
    const QString before = snapshot();
    const StockStore::Moved refused = StockStore::move(item, id, -(afterDeletion + 1), "Hilang");
    QCOMPARE(refused.outcome, Outcome::BelowZero);
    QCOMPARE(refused.before, afterDeletion);
    QCOMPARE(snapshot(), before);
}

void StockTest::failingStatementLeavesNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("failingAt");

    for (const QString kind : {"variant", "botol"}) {
        const QString item = kind == "variant" ? "tvr_dtvariant" : "tvr_dtbotol";
        const QString update = "BEFORE UPDATE ON " + item;
        QTest::addRow("%s: addition, at the ledger row", qPrintable(kind))
            << kind << "add" << "BEFORE INSERT ON tvr_stock";
        QTest::addRow("%s: reduction, at the ledger row", qPrintable(kind))
            << kind << "reduce" << "BEFORE INSERT ON tvr_stock";
        QTest::addRow("%s: reduction, at the stock", qPrintable(kind))
            << kind << "reduce" << update;
        QTest::addRow("%s: deletion, at the stock", qPrintable(kind))
            << kind << "delete" << update;
        QTest::addRow("%s: deletion, at the ledger row", qPrintable(kind))
            << kind << "delete" << "BEFORE DELETE ON tvr_stock";
        QTest::addRow("%s: reset, at the ledger", qPrintable(kind))
            << kind << "reset" << "BEFORE UPDATE ON tvr_stock";
        QTest::addRow("%s: reset, at the item", qPrintable(kind)) << kind << "reset" << update;
        QTest::addRow("%s: reset, at the sales", qPrintable(kind))
            << kind << "reset" << "BEFORE UPDATE ON tvr_sales";
    }
}

void StockTest::failingStatementLeavesNothing()
{
    TAVORU_SQLITE_ONLY();
    QFETCH(QString, kind);
    QFETCH(QString, action);
    QFETCH(QString, failingAt);

    TestDb t;
    const qint64 variant = addItem("variant", "A1", 100);
    const qint64 botol = addItem("botol", "SPRAY", 10);
    const qint64 id = kind == "variant" ? variant : botol;
    const Item item = itemOf(kind);
    sell(addCustomer(), variant, botol, 5);
    StockStore::move(item, id, 4, "");
    const qint64 idStock = Db::scalar("SELECT MAX(idstock) FROM tvr_stock").toLongLong();
    Db::exec("CREATE TRIGGER failing " + failingAt +
             " BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    const QString before = snapshot();

    try {
        if (action == "add")
            StockStore::move(item, id, 3, "");
        else if (action == "reduce")
            StockStore::move(item, id, -3, "Tumpah");
        else if (action == "delete")
            StockStore::deleteEntry(item, id, idStock);
        else
            StockStore::reset(item, id);
        QFAIL("the failing statement must throw");
    } catch (const DbError& e) {
        QVERIFY2(e.text().contains("disk full"), qPrintable(e.text()));
    }
    QCOMPARE(snapshot(), before);

    // The connection is usable at once.
    Db::exec("DROP TRIGGER failing");
    QCOMPARE(StockStore::reset(item, id), Outcome::Done);
    QCOMPARE(stockOf(kind, id), 0.0);
}

// ---- The windows ------------------------------------------------------------

void StockTest::windowSubmitAgainstStoredStock_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<double>("stock");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<bool>("reduce");
    QTest::addColumn<bool>("saleMeanwhile");
    // Afterwards: the stored stock and the ledger row (none when refused).
    QTest::addColumn<double>("after");
    QTest::addColumn<QVariantList>("row");
    QTest::addColumn<QString>("shownStock");

    QTest::newRow("concentrate: 50 off 200")
        << "variant" << 200.0 << "50" << true << false << 150.0
        << QVariantList{200.0, -50.0, 150.0, "Tumpah", 0} << "150,00";
    QTest::newRow("concentrate: 12,5 added")
        << "variant" << 200.0 << "12,5" << false << false << 212.5
        << QVariantList{200.0, 12.5, 212.5, "", 0} << "212,50";
    QTest::newRow("concentrate: a sale of 10 ml between selecting and submitting")
        << "variant" << 200.0 << "50" << true << true << 140.0
        << QVariantList{190.0, -50.0, 140.0, "Tumpah", 0} << "140,00";
    QTest::newRow("concentrate: the sale leaves too little for the reduction")
        << "variant" << 55.0 << "50" << true << true << 45.0 << QVariantList{} << "45,00";
    QTest::newRow("bottles: 3 off 10") << "botol" << 10.0 << "3" << true << false << 7.0
                                       << QVariantList{10.0, -3.0, 7.0, "Tumpah", 0} << "7";
    QTest::newRow("bottles: a sale between selecting and adding")
        << "botol" << 10.0 << "1.000" << false << true << 1009.0
        << QVariantList{9.0, 1000.0, 1009.0, "", 0} << "1.009";
    QTest::newRow("bottles: the last bottle sold meanwhile")
        << "botol" << 1.0 << "1" << true << true << 0.0 << QVariantList{} << "0";
}

void StockTest::windowSubmitAgainstStoredStock()
{
    QFETCH(QString, kind);
    QFETCH(double, stock);
    QFETCH(QString, amount);
    QFETCH(bool, reduce);
    QFETCH(bool, saleMeanwhile);
    QFETCH(double, after);
    QFETCH(QVariantList, row);
    QFETCH(QString, shownStock);

    TestDb t;
    const bool variantWindow = kind == "variant";
    const qint64 variant = addItem("variant", "A1", variantWindow ? stock : 1000);
    const qint64 botol = addItem("botol", "SPRAY", variantWindow ? 1000 : stock);
    addItem(kind, "B2", 1);
    const qint64 id = variantWindow ? variant : botol;
    ScriptedPrompt prompt;
    Window win = open(kind);
    select(win, id);
    if (reduce)
        reduceMode(win.w.get());
    type(win.w->txtOperasi, amount);
    if (saleMeanwhile)
        sell(addCustomer(), variant, botol, 10);
    if (reduce)
        prompt.inputs << QString("Tumpah");
    QTest::mouseClick(win.w->cmdSubmit, Qt::LeftButton);

    QCOMPARE(stockOf(kind, id), after);
    if (row.isEmpty()) {
        QCOMPARE(ledgerOf(kind, id).size(), 0);
        QCOMPARE(prompt.calls.last().title, QString("Periksa Entri"));
        QVERIFY(prompt.lastText().startsWith("Stock tidak mencukupi."));
        // The screen now shows the stored stock and why the amount cannot go.
        QCOMPARE(Regional::read(win.w->txtOperasi->text()), Regional::read(amount));
        QVERIFY(!win.w->cmdSubmit->isEnabled());
    } else {
        QCOMPARE(ledgerOf(kind, id), QList<QVariantList>{row});
        QCOMPARE(prompt.lastText(), QString(variantWindow ? "Data disimpan!" : "Data direkam!"));
        QCOMPARE(prompt.calls.last().title, win.w->windowTitle());
        QCOMPARE(prompt.calls.last().icon, Prompt::Icon::Information);
        // The new row on top of the first ledger page, its reason below.
        QCOMPARE(shown(win.ledger, "stock_order").value(0).toDouble(), row.at(1).toDouble());
        QCOMPARE(win.w->lblPesan->text(), row.at(3).toString());
        QCOMPARE(win.w->txtOperasi->text(), QString("0"));
        QVERIFY(win.w->txtOperasi->hasFocus());
    }
    QCOMPARE(win.w->lblStockAwal_i->text(), shownStock);
    QCOMPARE(win.w->selectedId().value_or(0), id);
    QCOMPARE(win.w->cmdOperasi->text(), QString(reduce ? "-" : "+"));
}

void StockTest::windowReasonPrompt_data()
{
    QTest::addColumn<QList<std::optional<QString>>>("answers");
    QTest::addColumn<QString>("written"); // the reason stored, empty for nothing written
    QTest::addColumn<int>("messages");    // messages besides the input boxes

    using Answers = QList<std::optional<QString>>;
    QTest::newRow("given at once") << Answers{"Tumpah"} << "Tumpah" << 1;
    QTest::newRow("cancelled") << Answers{std::nullopt} << "" << 0;
    QTest::newRow("empty, blank, then given")
        << Answers{"", "   ", " Botol pecah "} << "Botol pecah" << 1;
    QTest::newRow("empty, then cancelled") << Answers{"", std::nullopt} << "" << 0;
    QTest::newRow("too long, then given")
        << Answers{QString(101, QChar('x')), QString(100, QChar('y'))} << QString(100, QChar('y'))
        << 2;
}

void StockTest::windowReasonPrompt()
{
    QFETCH(QList<std::optional<QString>>, answers);
    QFETCH(QString, written);
    QFETCH(int, messages);

    TestDb t;
    const qint64 id = addItem("variant", "A1", 200);
    ScriptedPrompt prompt;
    Window win = open("variant");
    reduceMode(win.w.get());
    type(win.w->txtOperasi, "20");
    const QString before = snapshot();
    prompt.inputs = answers;
    // From the keyboard: Enter moves on to the submit button, Enter there presses it.
    QTest::keyClick(win.w->txtOperasi, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), win.w->cmdSubmit);
    QTest::keyClick(win.w->cmdSubmit, Qt::Key_Return);

    QVERIFY(prompt.inputs.isEmpty()); // asked exactly as often as answered
    for (const ScriptedPrompt::Call& c : prompt.calls)
        if (c.buttons == Prompt::Buttons::OkCancel) {
            QCOMPARE(c.text, QString("Berikan alasan pengurangan!"));
            QCOMPARE(c.title, QString("Konfirmasi Rekaman"));
        }
    QCOMPARE(int(prompt.calls.size() - answers.size()), messages);
    if (written.isEmpty()) {
        QCOMPARE(snapshot(), before);
        QCOMPARE(stockOf("variant", id), 200.0);
        QVERIFY(win.w->txtOperasi->hasFocus());
    } else {
        QCOMPARE(ledgerOf("variant", id),
                 (QList<QVariantList>{{200.0, -20.0, 180.0, written, 0}}));
    }
}

void StockTest::windowAmountBox_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<double>("stock");
    QTest::addColumn<bool>("reduce");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text");  // in the box while typing
    QTest::addColumn<QString>("akhir"); // Stock Akhir
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("left"); // the box once left

    QTest::newRow("concentrate: add with decimals")
        << "variant" << 200.0 << false << "1234,5" << "1234,5" << "1.434,50" << true
        << "1.234,50";
    QTest::newRow("concentrate: a second comma is refused")
        << "variant" << 200.0 << false << "1,2,5" << "1,25" << "201,25" << true << "1,25";
    QTest::newRow("concentrate: more than the stock off")
        << "variant" << 200.0 << true << "250" << "250" << "-50,00" << false << "250,00";
    QTest::newRow("concentrate: exactly the stock off")
        << "variant" << 200.5 << true << "200,5" << "200,5" << "0,00" << true << "200,50";
    QTest::newRow("concentrate: a lone comma reads as 0")
        << "variant" << 200.0 << true << "," << "," << "200,00" << true << "0,00";
    QTest::newRow("bottles: a comma is refused")
        << "botol" << 10.0 << true << "3,5" << "35" << "-25" << false << "35";
    QTest::newRow("bottles: 3 off 10") << "botol" << 10.0 << true << "3" << "3" << "7" << true
                                       << "3";
    QTest::newRow("bottles: thousands") << "botol" << 10.0 << false << "1.500" << "1.500"
                                        << "1.510" << true << "1.500";
}

void StockTest::windowAmountBox()
{
    QFETCH(QString, kind);
    QFETCH(double, stock);
    QFETCH(bool, reduce);
    QFETCH(QString, keys);
    QFETCH(QString, text);
    QFETCH(QString, akhir);
    QFETCH(bool, enabled);
    QFETCH(QString, left);

    TestDb t;
    addItem(kind, "A1", stock);
    ScriptedPrompt prompt;
    Window win = open(kind);
    StockWindow* w = win.w.get();
    QCOMPARE(w->lblStockAkhir_i->text(), w->lblStockAwal_i->text());
    if (reduce) {
        reduceMode(w);
        QCOMPARE(w->lblMililiter->text(), QString("Kurang :"));
        QCOMPARE(w->cmdSubmit->text(), QString("Kurang >>"));
    }
    type(w->txtOperasi, keys);
    QCOMPARE(w->txtOperasi->text(), text);
    QCOMPARE(w->lblStockAkhir_i->text(), akhir);
    QCOMPARE(w->cmdSubmit->isEnabled(), enabled);

    // Enter moves on to the submit button; leaving formats the amount.
    QTest::keyClick(w->txtOperasi, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), w->cmdSubmit->isEnabled()
                                              ? static_cast<QWidget*>(w->cmdSubmit)
                                              : static_cast<QWidget*>(win.ledger));
    QCOMPARE(w->txtOperasi->text(), left);

    // Switching the operation recomputes at once.
    QTest::mouseClick(w->cmdOperasi, Qt::LeftButton);
    const double amount = Regional::read(left);
    const double other = reduce ? stock + amount : stock - amount;
    QCOMPARE(w->lblStockAkhir_i->text(),
             kind == "variant" ? Regional::amount(other) : Regional::whole(other));
    QCOMPARE(w->cmdSubmit->isEnabled(), other >= 0);
    QCOMPARE(w->lblMililiter->text(), QString(reduce ? "Tambah :" : "Kurang :"));

    // A lone comma or zero submits nothing and asks nothing.
    type(w->txtOperasi, "0");
    const QString before = snapshot();
    QTest::mouseClick(w->cmdSubmit, Qt::LeftButton);
    QCOMPARE(snapshot(), before);
    QVERIFY(prompt.calls.isEmpty());

    // Escape closes the window.
    QTest::keyClick(w, Qt::Key_Escape);
    QVERIFY(!w->isVisible());
}

void StockTest::windowListsAndLedgerPages_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("concentrate") << "variant";
    QTest::newRow("bottles") << "botol";
}

void StockTest::windowListsAndLedgerPages()
{
    QFETCH(QString, kind);
    TestDb t;
    const bool variantWindow = kind == "variant";
    // REFILL has stock and ledger rows here, yet is never listed.
    Db::exec("UPDATE tvr_dtbotol SET botol_stock = 50 WHERE botol_tipe = 'REFILL'");
    const qint64 zeta = addItem(kind, "ZETA", 5);
    const qint64 alfa = addItem(kind, "ALFA", variantWindow ? 1234.5 : 1234);
    addLedgerRows(kind, alfa, 5, 1); // retired by an earlier reset
    addLedgerRows(kind, alfa, 23);
    addLedgerRows("botol", Db::scalar("SELECT idbotol FROM tvr_dtbotol WHERE botol_tipe = "
                                      "'REFILL'").toLongLong(), 3);
    ScriptedPrompt prompt;
    Window win = open(kind);
    StockWindow* w = win.w.get();

    const QString label = variantWindow ? "variant_kode" : "botol_tipe";
    QCOMPARE(shown(win.list, label), (QStringList{"ALFA", "ZETA"}));
    // A bottle is priced by the piece, concentrate by the millilitre.
    QCOMPARE(modelOf(win.list)->headerData(variantWindow ? 3 : 2, Qt::Horizontal).toString(),
             variantWindow ? QString("Harga/ml") : QString("Harga"));
    QCOMPARE(QApplication::focusWidget(), win.list);
    // The first item is selected on opening.
    QCOMPARE(w->selectedId().value_or(0), alfa);
    QCOMPARE(w->lblStockAwal_i->text(), variantWindow ? QString("1.234,50") : QString("1.234"));
    if (variantWindow) {
        QCOMPARE(static_cast<frmStockC*>(w)->lblKode_i->text(), QString("ALFA"));
        QCOMPARE(static_cast<frmStockC*>(w)->lblNamaVariant_i->text(), QString("Aroma ALFA"));
    } else {
        QCOMPARE(static_cast<frmStockB*>(w)->lblTipe_i->text(), QString("ALFA"));
    }
    const QString suffix = variantWindow ? ": Stock Concentrate" : ": Stock Botol";

    // Live rows only, newest first, 10 a page: 23, 22 ... 1.
    auto page = [&](int n) {
        QStringList reasons;
        for (int i = 23 - (n - 1) * 10; i >= std::max(1, 23 - n * 10 + 1); --i)
            reasons << QStringLiteral("row %1").arg(i);
        QCOMPARE(shown(win.ledger, "stock_keterangan"), reasons);
        QCOMPARE(win.page->text(), QStringLiteral("Page %1 of 3").arg(n) + suffix);
        QCOMPARE(w->lblPesan->text(), reasons.first());
    };
    // Every way a page is read: from either end, after and before the page on show.
    page(1);
    QCOMPARE(navStates(w), (QList<bool>{false, false, true, true}));
    w->cmdNavigasi.at(3)->click();
    page(3);
    QCOMPARE(navStates(w), (QList<bool>{true, true, false, false}));
    w->cmdNavigasi.at(1)->click();
    page(2);
    w->cmdNavigasi.at(2)->click();
    page(3);
    w->cmdNavigasi.at(0)->click();
    page(1);
    w->cmdNavigasi.at(2)->click();
    page(2);
    w->cmdNavigasi.at(0)->click();

    // The reason follows the ledger row.
    clickRow(win.ledger, 2);
    QCOMPARE(w->lblPesan->text(), QString("row 21"));

    // Another item: its own (empty) ledger from page 1.
    w->cmdNavigasi.at(2)->click();
    select(win, zeta);
    QCOMPARE(modelOf(win.ledger)->rowCount(), 0);
    QCOMPARE(win.page->text(), "Page 1 of 1" + suffix);
    QCOMPARE(navStates(w), (QList<bool>{false, false, false, false}));
    QCOMPARE(w->lblPesan->text(), QString());
    QVERIFY(prompt.calls.isEmpty());
}

void StockTest::windowDeleteTopEntry_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("done");
    QTest::newRow("concentrate") << "variant"
                                 << "Hapus Record"
                                 << "Record telah dihapus!";
    QTest::newRow("bottles") << "botol"
                             << "Hapus Rekaman"
                             << "Rekaman telah dihapus!";
}

void StockTest::windowDeleteTopEntry()
{
    QFETCH(QString, kind);
    QFETCH(QString, title);
    QFETCH(QString, done);

    TestDb t;
    const qint64 id = addItem(kind, "A1", 200);
    ScriptedPrompt prompt;
    Window win = open(kind);
    StockWindow* w = win.w.get();
    const Item item = itemOf(kind);

    // Two reductions through the window: 200 -> 150 -> 140.
    reduceMode(w);
    for (const QString amount : {"50", "10"}) {
        type(w->txtOperasi, amount);
        prompt.inputs << QString("Tumpah");
        QTest::mouseClick(w->cmdSubmit, Qt::LeftButton);
    }
    QCOMPARE(stockOf(kind, id), 140.0);
    prompt.clear();

    // Only the top row of the page: another row asks nothing.
    clickRow(win.ledger, 1);
    QTest::keyClick(win.ledger, Qt::Key_Delete);
    QVERIFY(prompt.calls.isEmpty());

    // No: nothing changes. Yes: the reduction of 10 is given back.
    clickRow(win.ledger, 0);
    prompt.answers << Prompt::Answer::No;
    QTest::keyClick(win.ledger, Qt::Key_Delete);
    QCOMPARE(prompt.calls.size(), 1);
    QCOMPARE(prompt.calls.first().text, QString("Yakin akan menghapus rekaman ini?"));
    QCOMPARE(prompt.calls.first().title, title);
    QCOMPARE(stockOf(kind, id), 140.0);
    prompt.clear();
    prompt.answers << Prompt::Answer::Yes;
    prompt.inputs << QStringLiteral("salah hitung");
    QTest::keyClick(win.ledger, Qt::Key_Delete);
    QCOMPARE(prompt.texts(),
             (QStringList{"Yakin akan menghapus rekaman ini?",
                          "Tulis alasan menghapus rekaman stock (dicatat di jejak perubahan):", done}));
    QCOMPARE(prompt.calls.last().title, title);
    QCOMPARE(stockOf(kind, id), 150.0);
    QCOMPARE(ledgerOf(kind, id), (QList<QVariantList>{{200.0, -50.0, 150.0, "Tumpah", 0}}));
    QCOMPARE(w->lblStockAwal_i->text(), kind == "variant" ? QString("150,00") : QString("150"));

    // An addition of 100 cannot be taken back once the stock is 60 (sold by
    // another till after the window read it): refused, saying why, and the
    // stock as stored now is shown.
    StockStore::move(item, id, 100, "");
    win = open(kind);
    w = win.w.get();
    const auto shownStock = [&](double v) {
        return kind == "variant" ? Regional::amount(v) : Regional::whole(v);
    };
    QCOMPARE(w->lblStockAwal_i->text(), shownStock(250));
    setStock(kind, id, 70);
    // Activating the window reads the stored stock again.
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(w, &activate);
    QCOMPARE(w->lblStockAwal_i->text(), shownStock(70));
    setStock(kind, id, 60);
    prompt.clear();
    clickRow(win.ledger, 0);
    QTest::keyClick(win.ledger, Qt::Key_Delete);
    QCOMPARE(prompt.texts(),
             QStringList{QStringLiteral("Rekaman ini tidak dapat dihapus: stock saat ini %1, dan "
                                        "membatalkan penambahan %2 akan membuat stock di bawah "
                                        "nol.")
                             .arg(shownStock(60), shownStock(100))});
    QCOMPARE(prompt.calls.first().title, title);
    QCOMPARE(w->lblStockAwal_i->text(), shownStock(60));
    QCOMPARE(stockOf(kind, id), 60.0);
    QCOMPARE(ledgerOf(kind, id).size(), 2);

    // On a later page the top row of that page is the one deleted.
    addLedgerRows(kind, id, 12);
    StockStore::move(item, id, 1, "");
    win = open(kind);
    w = win.w.get();
    w->cmdNavigasi.at(2)->click();
    const qint64 top = modelOf(win.ledger)->value(0, "idstock").toLongLong();
    const double order = modelOf(win.ledger)->value(0, "stock_order").toDouble();
    const double stock = stockOf(kind, id);
    clickRow(win.ledger, 0);
    prompt.clear();
    prompt.answers << Prompt::Answer::Yes;
    prompt.inputs << QStringLiteral("salah hitung");
    QTest::keyClick(win.ledger, Qt::Key_Delete);
    QCOMPARE(Db::scalar("SELECT COUNT(*) FROM tvr_stock WHERE idstock = ?", {top}).toInt(), 0);
    QCOMPARE(stockOf(kind, id), stock - order);
    // The ledger starts again at its first page.
    QVERIFY(win.page->text().startsWith("Page 1 of 2"));
}

void StockTest::windowReset_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("ledgerRows");
    QTest::addColumn<bool>("confirmed");
    QTest::newRow("concentrate with 25 ledger rows") << "variant" << 25 << true;
    QTest::newRow("concentrate without ledger rows") << "variant" << 0 << true;
    QTest::newRow("concentrate, answered No") << "variant" << 25 << false;
    QTest::newRow("bottles with 3 ledger rows") << "botol" << 3 << true;
    QTest::newRow("bottles without ledger rows") << "botol" << 0 << true;
}

void StockTest::windowReset()
{
    QFETCH(QString, kind);
    QFETCH(int, ledgerRows);
    QFETCH(bool, confirmed);

    TestDb t;
    const qint64 variant = addItem("variant", "A1", 80);
    const qint64 botol = addItem("botol", "SPRAY", 9);
    const qint64 otherVariant = addItem("variant", "B2", 30);
    const qint64 otherBotol = addItem("botol", "ROLL", 4);
    const qint64 cust = addCustomer();
    sell(cust, variant, botol, 5);
    sell(cust, variant, otherBotol, 5);
    sell(cust, otherVariant, botol, 5);
    sell(cust, otherVariant, otherBotol, 5);
    const bool variantWindow = kind == "variant";
    const qint64 id = variantWindow ? variant : botol;
    const QString salesColumn = variantWindow ? "sales_idvariant" : "sales_idbotol";
    addLedgerRows(kind, id, ledgerRows);
    const double oldStock = stockOf(kind, id);
    const QString before = snapshot();

    ScriptedPrompt prompt;
    Window win = open(kind);
    select(win, id);
    prompt.answers << Prompt::Answer::Ok << (confirmed ? Prompt::Answer::Yes : Prompt::Answer::No);
    if (confirmed)
        prompt.inputs << QStringLiteral("stock opname");
    QTest::mouseClick(win.w->cmdReset, Qt::LeftButton);

    QCOMPARE(prompt.calls.first().title, QString("Reset Rekaman"));
    QCOMPARE(prompt.calls.first().icon, Prompt::Icon::Exclamation);
    QVERIFY(prompt.calls.first().text.startsWith("Peringatan!\n\nRekaman stock akan direset"));
    QCOMPARE(prompt.calls.at(1).text, QString("Anda yakin ingin menormalkan stock ke nol?"));
    QCOMPARE(prompt.calls.at(1).buttons, Prompt::Buttons::YesNo);
    if (!confirmed) {
        QCOMPARE(prompt.calls.size(), 2);
        QCOMPARE(snapshot(), before);
        return;
    }
    QCOMPARE(prompt.calls.size(), 4);
    QCOMPARE(prompt.calls.at(2).text, QString("Tulis alasan me-reset stock (dicatat di jejak perubahan):"));
    QCOMPARE(prompt.lastText(), QString("Data dinormalkan!"));
    QCOMPARE(prompt.calls.last().title, QString("Konfirmasi Rekaman"));

    const QString p = variantWindow ? "variant_" : "botol_";
    const RowSet row = Db::select(QStringLiteral("SELECT %1stock, %1date, %1author, %1ls_stock, "
                                                 "%1ls_date, %1ls_author FROM %2 WHERE %3 = ?")
                                      .arg(p, variantWindow ? "tvr_dtvariant" : "tvr_dtbotol",
                                           variantWindow ? "idvariant" : "idbotol"),
                                  {id});
    QCOMPARE(row.rows.first(), (QVariantList{0.0, Regional::today(), "tester", oldStock,
                                             "2020-01-01", "admin"}));
    QCOMPARE(StockStore::countLedger(itemOf(kind), id), qint64(0));
    QCOMPARE(ledgerOf(kind, id).size(), ledgerRows);
    // Every sale of the item is locked, and only those.
    const QList<QVariantList> marked =
        variantWindow ? QList<QVariantList>{{variant, 1}, {variant, 1}, {otherVariant, 0},
                                            {otherVariant, 0}}
                      : QList<QVariantList>{{botol, 1}, {otherBotol, 0}, {botol, 1},
                                            {otherBotol, 0}};
    QCOMPARE(Db::select("SELECT " + salesColumn + ", sales_status FROM tvr_sales ORDER BY idsales")
                 .rows,
             marked);
    // The other kind of stock is untouched.
    QCOMPARE(stockOf(variantWindow ? "botol" : "variant", variantWindow ? botol : variant),
             variantWindow ? 7.0 : 70.0);

    // The window shows the empty ledger: one page, no buttons to an empty page.
    QCOMPARE(modelOf(win.ledger)->rowCount(), 0);
    QVERIFY(win.page->text().startsWith("Page 1 of 1"));
    QCOMPARE(navStates(win.w.get()), (QList<bool>{false, false, false, false}));
    QCOMPARE(win.w->lblStockAwal_i->text(), variantWindow ? QString("0,00") : QString("0"));
    QVERIFY(win.w->txtOperasi->hasFocus());
}

void StockTest::windowDatabaseFailure()
{
    TAVORU_SQLITE_ONLY();
    TestDb t;
    const qint64 id = addItem("variant", "A1", 200);
    ScriptedPrompt prompt;
    Window win = open("variant");
    Db::exec("CREATE TRIGGER failing BEFORE INSERT ON tvr_stock "
             "BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    const QString before = snapshot();
    type(win.w->txtOperasi, "25");
    QTest::mouseClick(win.w->cmdSubmit, Qt::LeftButton);

    QCOMPARE(prompt.calls.size(), 1);
    QCOMPARE(prompt.calls.first().title, QString("DATABASE ERROR"));
    QVERIFY(prompt.lastText().contains("disk full"));
    QCOMPARE(snapshot(), before);
    // The amount stays; saving works once the fault is gone.
    QCOMPARE(win.w->txtOperasi->text(), QString("25,00"));
    Db::exec("DROP TRIGGER failing");
    prompt.clear();
    QTest::mouseClick(win.w->cmdSubmit, Qt::LeftButton);
    QCOMPARE(prompt.texts(), QStringList{"Data disimpan!"});
    QCOMPARE(stockOf("variant", id), 225.0);
}

QTEST_MAIN(StockTest)
#include "tst_stock.moc"
