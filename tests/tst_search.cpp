// The customer search and the purchase history, driven as a cashier would:
// paging in the list's order, the keyword rules, the hand-over to the sales
// window and the history of one customer.
#include "ScriptedPrompt.h"
#include "TestDb.h"
#include "WindowDriver.h"

#include "core/Db.h"
#include "core/Globals.h"
#include "core/Schema.h"
#include "sales/SearchStore.h"
#include "sales/frmSearch.h"
#include "sales/frmSearchNext.h"
#include "sales/frmTransaksi.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// A customer as rows are written in the data tables: "<null>" stands for NULL.
struct Cust {
    QString nomor, nama, alamat;
};
using Custs = QList<Cust>;
using Ids = QList<int>;

QVariant orNull(const QString& text)
{
    return text == QLatin1String("<null>") ? QVariant(QMetaType::fromType<QString>()) : text;
}

// Inserts the customers in order; their ids are 1, 2, 3 ...
void addCustomers(const Custs& custs)
{
    for (const Cust& c : custs)
        Db::exec("INSERT INTO tvr_customer (cust_nomor, cust_nama, cust_alamat, cust_notelp) "
                 "VALUES (?, ?, ?, '0812')",
                 {orNull(c.nomor), orNull(c.nama), orNull(c.alamat)});
}

// Leaves the database as it was made before the search had its indexes and
// its trigram table: every search then matches on each row.
void makeOlderDatabase()
{
    // A PostgreSQL database has no trigram table to take away.
    if (!Db::isSqlite())
        return;
    for (const char* sql :
         {"DROP TRIGGER tr_customer_search_insert", "DROP TRIGGER tr_customer_search_delete",
          "DROP TRIGGER tr_customer_search_update", "DROP TABLE tvr_zsearch",
          "DROP INDEX ix_customer_nama", "DROP INDEX ix_customer_alamat"})
        Db::exec(sql);
}

std::unique_ptr<frmSearch> openSearch(frmTransaksi* sales = nullptr)
{
    auto w = std::make_unique<frmSearch>(nullptr, sales);
    w->show();
    if (!QTest::qWaitForWindowActive(w.get()))
        qWarning("the search window did not become active");
    return w;
}

// Chooses the entry (none for an empty text), types the keyword and presses Enter.
void search(frmSearch* w, const QString& entry, const QString& keyword)
{
    w->cmbSearchBy->setCurrentIndex(w->cmbSearchBy->findText(entry));
    w->txtKataKunci->setFocus();
    w->txtKataKunci->clear();
    // Typed key by key; a letter no key names comes as its text.
    for (const QChar c : keyword) {
        if (c.unicode() < 128)
            QTest::keyClick(w->txtKataKunci, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, w->txtKataKunci, Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
    }
    QTest::keyClick(w->txtKataKunci, Qt::Key_Return);
}

Ids shownIds(const frmSearch* w)
{
    Ids ids;
    const QAbstractItemModel* m = w->dtGridSearch->model();
    for (int r = 0; r < m->rowCount(); ++r)
        ids << m->index(r, 0).data().toInt();
    return ids;
}

// The text a grid cell shows, formatted by the grid's delegate.
struct DelegatePeek : QStyledItemDelegate {
    static auto styleOption() { return &DelegatePeek::initStyleOption; }
};
QString shownText(const QTableView* grid, int row, int column)
{
    QStyleOptionViewItem option;
    auto* delegate = static_cast<QStyledItemDelegate*>(grid->itemDelegate());
    (delegate->*DelegatePeek::styleOption())(&option, grid->model()->index(row, column));
    return option.text;
}

int addSale(int cust, int variant, int botol, double ml, double diskon, const QString& date)
{
    return int(Db::insertedId(
        Db::exec("INSERT INTO tvr_sales (sales_idcust, sales_idvariant, sales_mililiter, "
                 "sales_totalml, sales_idbotol, sales_hargavariant, sales_hargabotol, "
                 "sales_hargatotal, sales_diskon, sales_hargadiskon, sales_date, sales_author) "
                 "VALUES (?, ?, ?, ?, ?, 2000, 4000, ?, ?, ?, ?, 'kasir1')",
                 {cust, variant, ml, ml + 20, botol, ml * 2000 + 4000, diskon,
                  (ml * 2000 + 4000) * (100 - diskon) / 100, date})));
}


} // namespace

class SearchTest : public QObject {
    Q_OBJECT

private slots:
    void pagesInListOrder_data();
    void pagesInListOrder();
    void keywordRules_data();
    void keywordRules();
    void keywordTakenLiterally_data();
    void keywordTakenLiterally();
    void searchFollowsChangesOfCustomers();
    void enterHandsOverToOpenSalesWindow();
    void purchaseHistory();
};

// ---- Paging -----------------------------------------------------------------

void SearchTest::pagesInListOrder_data()
{
    QTest::addColumn<Custs>("custs");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<Ids>("expected"); // ids in list order
    QTest::addColumn<bool>("older");   // a database made before the search indexes

    for (const bool older : {false, true}) {
        const char* db = older ? ", older database" : "";
        // Name, then number (then id): equal names, letters in either case
        // sorted as the database compares them, a missing number, a repeated number.
        QTest::addRow("name%s", db)
            << Custs{{"C10", "budi", "a"},   {"C02", "Budi", "a"},  {"C01", "Budi", "a"},
                     {"C05", "Abudi", "a"},  {"C03", "Budi", "a"},  {"<null>", "Budi", "a"},
                     {"C04", "BUDI", "a"},   {"C06", "Zbudi", "a"}, {"C07", "Ani", "budi"},
                     {"C02", "Budi", "a"},   {"C09", "Bu d", "a"},  {"C50", "Abudi", "a"},
                     {"C51", "Abudi", "a"},  {"C52", "Abudi", "a"}}
            << "NAMA CUST"
            << "bud" << Ids{4, 12, 13, 14, 7, 6, 3, 2, 10, 5, 8, 1} << older;
        // Address, then id: equal addresses, either case.
        QTest::addRow("address%s", db)
            << Custs{{"A1", "x", "Jl. Mawar 2"}, {"A2", "x", "jl. mawar 1"},
                     {"A3", "x", "Jl. Mawar 2"}, {"A4", "x", "Jl. Melati"},
                     {"A5", "x", "JL. MAWAR"},   {"A6", "Mawar", "x"},
                     {"A7", "x", "Jl. Mawar 2"}, {"A8", "x", "Jl. Mawar 1"}}
            << "ALAMAT CUST"
            << "mawar" << Ids{5, 8, 1, 3, 7, 2} << older;
        // The trigrams fold letters beyond ASCII; LIKE, which decides, does not.
        QTest::addRow("address beyond ASCII%s", db)
            << Custs{{"E1", "x", "ÉCOLE"}, {"E2", "x", "école"}, {"E3", "x", "Écolé"},
                     {"E4", "x", "rue de l'école"}}
            << "ALAMAT CUST"
            << "éco" << Ids{4, 2} << older;
        // Number: one character is enough; three go through the trigrams.
        const Custs numbers{{"C1", "a", "a"},   {"c10", "a", "a"}, {"B1", "a", "a"},
                            {"C2", "a", "a"},   {"01", "a", "a"},  {"A100", "a", "a"},
                            {"X9", "1", "1"},   {"C11", "a", "a"}, {"C12", "a", "a"},
                            {"C100", "a", "a"}, {"c1000", "a", "a"}};
        QTest::addRow("number, one character%s", db)
            << numbers << "NO. CUST"
            << "1" << Ids{5, 6, 3, 1, 10, 8, 9, 2, 11} << older;
        QTest::addRow("number, three characters%s", db)
            << numbers << "NO. CUST"
            << "C10" << Ids{10, 2, 11} << older;
    }
}

void SearchTest::pagesInListOrder()
{
    QFETCH(Custs, custs);
    QFETCH(QString, entry);
    QFETCH(QString, keyword);
    QFETCH(Ids, expected);
    QFETCH(bool, older);
    TestDb t;
    if (older)
        makeOlderDatabase();
    ListPageSize = 3;
    addCustomers(custs);
    ScriptedPrompt prompt;
    auto w = openSearch();
    QCOMPARE(w->lblPage_i->text(), QString("Page 1 of 1"));
    QCOMPARE(w->dtGridSearch->model()->rowCount(), 0);

    // A rare keyword of three characters goes through the trigrams where they exist.
    QCOMPARE(SearchStore::prepare(*SearchStore::searchByOf(entry), keyword).byTrigrams,
             !older && keyword.size() >= 3 && Db::isSqlite());
    // Counted up to a cap, a common keyword's count is a lower bound; a rare one's is exact.
    const SearchStore::Search prepared = SearchStore::prepare(*SearchStore::searchByOf(entry), keyword);
    const SearchStore::Count capped = SearchStore::countMatches(prepared, 2, 60000);
    QCOMPARE(capped.exact, prepared.byTrigrams || expected.size() <= 2);
    QCOMPARE(capped.rows, prepared.byTrigrams ? int(expected.size()) : std::min(2, int(expected.size())));
    // A common keyword the trigrams have is counted through its candidates
    // up to the cap: a lower bound past it, exact below it.
    if (prepared.trigramsKnown) {
        SearchStore::Search common = prepared;
        common.byTrigrams = false;
        for (const int cap : {1, 2, 1000}) {
            const SearchStore::Count c = SearchStore::countMatches(common, cap, 60000);
            QCOMPARE(c.exact, expected.size() <= cap);
            QCOMPARE(c.rows, std::min(cap, int(expected.size())));
        }
    }
    search(w.get(), entry, keyword);
    const int pages = int((expected.size() + 2) / 3);
    QCOMPARE(navStates(w.get()), (QList<bool>{false, false, pages > 1, pages > 1}));
    QCOMPARE(w->dtGridSearch->currentIndex().row(), 0);
    QCOMPARE(w->focusWidget(), static_cast<QWidget*>(w->dtGridSearch));

    // Forward page by page, then back from the last page: each match once, in order.
    Ids forward = shownIds(w.get());
    for (int page = 2; page <= pages; ++page) {
        QTest::mouseClick(w->cmdNavigasi.at(2), Qt::LeftButton);
        QCOMPARE(w->lblPage_i->text(), QString("Page %1 of %2").arg(page).arg(pages));
        forward << shownIds(w.get());
    }
    QCOMPARE(forward, expected);
    QCOMPARE(navStates(w.get()), (QList<bool>{pages > 1, pages > 1, false, false}));
    Ids backward = shownIds(w.get());
    for (int page = pages - 1; page >= 1; --page) {
        QTest::mouseClick(w->cmdNavigasi.at(1), Qt::LeftButton);
        backward = shownIds(w.get()) + backward;
    }
    QCOMPARE(backward, expected);
    QTest::mouseClick(w->cmdNavigasi.at(3), Qt::LeftButton);
    QCOMPARE(shownIds(w.get()), expected.mid((pages - 1) * 3));
    QTest::mouseClick(w->cmdNavigasi.at(0), Qt::LeftButton);
    QCOMPARE(shownIds(w.get()), expected.mid(0, 3));

    // Columns as designed: the id and the phone kept but not shown.
    const QAbstractItemModel* m = w->dtGridSearch->model();
    QCOMPARE(m->columnCount(), 5);
    QCOMPARE(m->headerData(1, Qt::Horizontal).toString(), QString("Kode Cust."));
    QCOMPARE(m->headerData(2, Qt::Horizontal).toString(), QString("Nama Cust."));
    QCOMPARE(m->headerData(3, Qt::Horizontal).toString(), QString("Alamat Cust"));
    QVERIFY(w->dtGridSearch->isColumnHidden(0));
    QVERIFY(w->dtGridSearch->isColumnHidden(4));

    // A search without matches shows one empty page.
    search(w.get(), entry, "zzz");
    QCOMPARE(w->dtGridSearch->model()->rowCount(), 0);
    QCOMPARE(w->lblPage_i->text(), QString("Page 1 of 1"));
    QCOMPARE(navStates(w.get()), (QList<bool>{false, false, false, false}));
    QVERIFY(prompt.calls.isEmpty());
}

// ---- Keyword rules ----------------------------------------------------------

void SearchTest::keywordRules_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<bool>("refused");  // "minimal 3 karakter" shown
    QTest::addColumn<bool>("searched"); // the list changed to the new search
    QTest::addColumn<Ids>("found");

    QTest::newRow("name, two letters") << "NAMA CUST"
                                       << "an" << true << false << Ids{};
    QTest::newRow("address, two letters") << "ALAMAT CUST"
                                          << "Jl" << true << false << Ids{};
    QTest::newRow("name, spaces round two letters") << "NAMA CUST"
                                                    << "  an  " << true << false << Ids{};
    QTest::newRow("name, three letters") << "NAMA CUST"
                                         << "ani" << false << true << Ids{1};
    QTest::newRow("number, one character") << "NO. CUST"
                                           << "2" << false << true << Ids{2};
    QTest::newRow("number, two characters") << "NO. CUST"
                                            << "C0" << false << true << Ids{1, 2, 3};
    QTest::newRow("nothing chosen") << ""
                                    << "Ani" << false << false << Ids{};
    QTest::newRow("empty keyword") << "NAMA CUST"
                                   << "" << false << false << Ids{};
}

void SearchTest::keywordRules()
{
    QFETCH(QString, entry);
    QFETCH(QString, keyword);
    QFETCH(bool, refused);
    QFETCH(bool, searched);
    QFETCH(Ids, found);
    TestDb t;
    addCustomers({{"C01", "Ani", "Jl. Mawar"}, {"C02", "Budi", "Jl. Melati"},
                  {"C03", "Citra", "Jl. Anggrek"}});
    ScriptedPrompt prompt;
    auto w = openSearch();
    QCOMPARE(w->cmbSearchBy->count(), 3);
    QCOMPARE(w->cmbSearchBy->currentIndex(), -1);
    QCOMPARE(w->cmbSearchBy->itemText(0), QString("NO. CUST"));
    QCOMPARE(w->cmbSearchBy->itemText(1), QString("NAMA CUST"));
    QCOMPARE(w->cmbSearchBy->itemText(2), QString("ALAMAT CUST"));

    // An earlier search stays on show unless the new one runs.
    search(w.get(), "ALAMAT CUST", "Jl. M");
    QCOMPARE(shownIds(w.get()), (Ids{1, 2}));

    search(w.get(), entry, keyword);
    if (refused) {
        QCOMPARE(prompt.texts(), QStringList{"Kata kunci minimal terdiri dari 3 karakter."});
        QCOMPARE(prompt.calls.first().title, QString("Search Customer"));
        QCOMPARE(prompt.calls.first().icon, Prompt::Icon::Critical);
    } else {
        QVERIFY(prompt.calls.isEmpty());
    }
    QCOMPARE(shownIds(w.get()), searched ? found : (Ids{1, 2}));
    // Paging keeps the search that ran.
    QTest::mouseClick(w->cmdNavigasi.at(0), Qt::LeftButton);
    QCOMPARE(shownIds(w.get()), searched ? found : (Ids{1, 2}));
}

void SearchTest::keywordTakenLiterally_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<Ids>("found");

    // 1 "50% off", 2 "5000 off", 3 "a_b c", 4 "axb c", 5 "back\slash", 6 "backslash",
    // 7 "O'Neil", 8 "ONeil "x""
    QTest::newRow("percent") << "NAMA CUST"
                             << "50%" << Ids{1};
    QTest::newRow("underscore") << "NAMA CUST"
                                << "a_b" << Ids{3};
    QTest::newRow("backslash") << "NAMA CUST"
                               << "k\\s" << Ids{5};
    QTest::newRow("quote") << "NAMA CUST"
                           << "O'N" << Ids{7};
    QTest::newRow("double quote") << "NAMA CUST"
                                  << "l \"x" << Ids{8};
    QTest::newRow("quote and statement") << "ALAMAT CUST"
                                         << "x' OR '1'='1" << Ids{};
    QTest::newRow("number, lone percent") << "NO. CUST"
                                          << "%" << Ids{1};
    QTest::newRow("number, lone underscore") << "NO. CUST"
                                             << "_" << Ids{3};
    QTest::newRow("number, lone quote") << "NO. CUST"
                                        << "'" << Ids{7};
}

void SearchTest::keywordTakenLiterally()
{
    QFETCH(QString, entry);
    QFETCH(QString, keyword);
    QFETCH(Ids, found);
    for (const bool older : {false, true}) {
        TestDb t;
        if (older)
            makeOlderDatabase();
        addCustomers({{"N%1", "50% off", "Jl. 1"},
                      {"N2", "5000 off", "Jl. 2"},
                      {"N_3", "a_b c", "Jl. 3"},
                      {"N4", "axb c", "Jl. 4"},
                      {"N5", "back\\slash", "Jl. 5"},
                      {"N6", "backslash", "Jl. 6"},
                      {"N'7", "O'Neil", "Jl. 7"},
                      {"N8", "ONeil \"x\"", "Jl. 8"}});
        ScriptedPrompt prompt;
        auto w = openSearch();
        search(w.get(), entry, keyword);
        QCOMPARE(shownIds(w.get()), found);
        QVERIFY(prompt.calls.isEmpty());
        QCOMPARE(Db::scalar("SELECT COUNT(*) FROM tvr_customer").toInt(), 8);
    }
}

void SearchTest::searchFollowsChangesOfCustomers()
{
    TAVORU_SQLITE_ONLY();
    TestDb t;
    QVERIFY(Schema::verify(Db::connection()));
    addCustomers({{"C01", "Bambang", "Jl. Kenanga"}, {"C02", "Budi", "Jl. Kamboja"}});
    ScriptedPrompt prompt;
    auto w = openSearch();
    search(w.get(), "NAMA CUST", "mbang");
    QCOMPARE(shownIds(w.get()), Ids{1});

    // Renamed, moved and deleted as the registers do it.
    Db::exec("UPDATE tvr_customer SET cust_nama = 'Slamet', cust_alamat = 'Jl. Kenari' "
             "WHERE idcust = 1");
    Db::exec("DELETE FROM tvr_customer WHERE idcust = 2");
    addCustomers({{"C03", "Bambang Jr", "Jl. Kamboja"}});
    search(w.get(), "NAMA CUST", "mbang");
    QCOMPARE(shownIds(w.get()), Ids{3});
    search(w.get(), "NAMA CUST", "lamet");
    QCOMPARE(shownIds(w.get()), Ids{1});
    search(w.get(), "ALAMAT CUST", "kenari");
    QCOMPARE(shownIds(w.get()), Ids{1});
    search(w.get(), "ALAMAT CUST", "kamboja");
    QCOMPARE(shownIds(w.get()), Ids{3});
    QCOMPARE(Db::scalar("SELECT COUNT(*) FROM tvr_zsearch WHERE tvr_zsearch MATCH 'Budi'").toInt(),
             0);
    QVERIFY(prompt.calls.isEmpty());
}

// ---- Hand-over and history ----------------------------------------------------

void SearchTest::enterHandsOverToOpenSalesWindow()
{
    TestDb t;
    addCustomers({{"C01", "Ani", "Jl. Mawar 1"}, {"C02", "Budi", "Jl. Melati 2"},
                  {"C03", "Budiman", "Jl. Anggrek 3"}});
    ScriptedPrompt prompt;
    frmTransaksi till;
    till.show();
    QVERIFY(QTest::qWaitForWindowActive(&till));

    // "..." opens the search; Enter searches, Down, Space shows the history
    // and Enter hands the number over and closes the search.
    QString historyOf;
    bool closedByEnter = false;
    withModal([&] { QTest::mouseClick(till.cmdSearch, Qt::LeftButton); },
              [&](QWidget* modal) {
                  auto* w = qobject_cast<frmSearch*>(modal);
                  QVERIFY(w);
                  search(w, "NAMA CUST", "udi");
                  QTest::keyClick(w->dtGridSearch, Qt::Key_Down);
                  withModal([&] { QTest::keyClick(w->dtGridSearch, Qt::Key_Space); },
                            [&](QWidget* history) {
                                auto* h = qobject_cast<frmSearchNext*>(history);
                                QVERIFY(h);
                                historyOf = h->lblIDCust_i->text();
                            });
                  QVERIFY(w->isVisible());
                  QTest::keyClick(w->dtGridSearch, Qt::Key_Return);
                  closedByEnter = !w->isVisible() && w->result() == QDialog::Accepted;
              });
    QCOMPARE(historyOf, QString("C03"));
    QVERIFY(closedByEnter);
    QCOMPARE(till.txtNoCust->text(), QString("C03"));
    QCOMPARE(till.txtNama->text(), QString("Budiman"));
    QCOMPARE(till.txtAlamat->text(), QString("Jl. Anggrek 3"));
    QVERIFY(till.txtNama->isReadOnly());
    QCOMPARE(till.focusWidget(), static_cast<QWidget*>(till.txtKode));

    // F2 in the customer number box opens the search as well.
    QString opened;
    till.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&till));
    till.txtNoCust->setFocus();
    QTRY_VERIFY(till.txtNoCust->hasFocus());
    // Keys at once: a name search and Enter on the match; back in the till
    // (activated again, with or without a window manager) that Enter moved
    // nothing, and the code typed next goes to Kode.
    withModal([&] { QTest::keyClick(till.txtNoCust, Qt::Key_F2); },
              [&](QWidget* modal) {
                  opened = modal ? modal->objectName() : QString();
                  QTRY_VERIFY(modal->isActiveWindow());
                  typeKeys("{Down}{Down}\nani\n\n");
              });
    QCOMPARE(opened, QString("frmSearch"));
    QTRY_VERIFY(till.isActiveWindow());
    typeKeys("V1");
    QCOMPARE(till.txtNoCust->text() + "|" + till.txtKode->text(), QString("C01|V1"));

    // Without an open sales window Enter does nothing; Space still shows the history.
    for (frmTransaksi* sales : {static_cast<frmTransaksi*>(nullptr), &till}) {
        till.hide();
        auto w = openSearch(sales);
        search(w.get(), "NAMA CUST", "Ani");
        QTest::keyClick(w->dtGridSearch, Qt::Key_Return);
        QVERIFY(w->isVisible());
        QCOMPARE(till.txtNoCust->text(), QString("C01"));
        QString shown;
        withModal([&] { QTest::keyClick(w->dtGridSearch, Qt::Key_Space); },
                  [&](QWidget* history) {
                      shown = qobject_cast<frmSearchNext*>(history)->lblNama_i->text();
                  });
        QCOMPARE(shown, QString("Ani"));
    }
    QVERIFY(prompt.calls.isEmpty());
}

void SearchTest::purchaseHistory()
{
    TestDb t;
    addCustomers({{"C01", "Ani", "Jl. Mawar 1"}, {"C02", "Budi", "Jl. Melati 2"}});
    const int refill =
        Db::scalar("SELECT idbotol FROM tvr_dtbotol WHERE botol_tipe = 'REFILL'").toInt();
    const int spray = int(Db::insertedId(
        Db::exec("INSERT INTO tvr_dtbotol (botol_tipe, botol_harga, botol_stock) "
                 "VALUES ('SPRAY', 4000, 5)")));
    const int v1 = int(Db::insertedId(Db::exec(
        "INSERT INTO tvr_dtvariant (variant_kode, variant_nama, variant_harga, variant_stock) "
        "VALUES ('V1', 'Melati', 2000, 100)")));
    const int gone = int(Db::insertedId(Db::exec(
        "INSERT INTO tvr_dtvariant (variant_kode, variant_nama, variant_harga, variant_stock) "
        "VALUES ('V9', 'Lama', 2000, 100)")));
    const int first = addSale(1, v1, spray, 10, 10, "2023-12-31");
    addSale(2, v1, spray, 5, 0, "2024-01-01");  // another customer's
    addSale(1, gone, refill, 7, 0, "2024-01-02"); // its variant removed below
    const int last = addSale(1, v1, refill, 2.5, 0, "2024-01-01");
    Db::exec("DELETE FROM tvr_dtvariant WHERE idvariant = ?", {gone});

    ScriptedPrompt prompt;
    auto w = openSearch();
    search(w.get(), "NO. CUST", "C0");
    QString rows;
    withModal([&] { QTest::keyClick(w->dtGridSearch, Qt::Key_Space); },
              [&](QWidget* modal) {
                  auto* h = qobject_cast<frmSearchNext*>(modal);
                  QVERIFY(h);
                  QCOMPARE(h->windowTitle(), QString("Search Customer"));
                  QCOMPARE(h->lblIDCust_i->text(), QString("C01"));
                  QCOMPARE(h->lblNama_i->text(), QString("Ani"));
                  QCOMPARE(h->lblAlamat_i->text(), QString("Jl. Mawar 1"));
                  QCOMPARE(h->lblNoTelp_i->text(), QString("0812"));
                  const QTableView* g = h->dtGridNext;
                  const QStringList captions{"Date",  "Variant",     "Mililiter",
                                             "Total.ml", "Botol",   "Harga Total",
                                             "Diskon", "Harga Diskon"};
                  for (int c = 0; c < captions.size(); ++c)
                      QCOMPARE(g->model()->headerData(c + 1, Qt::Horizontal).toString(),
                               captions.at(c));
                  QVERIFY(g->isColumnHidden(0));
                  // Newest first, every day, the discount with two decimals.
                  for (int r = 0; r < g->model()->rowCount(); ++r) {
                      QStringList cells{g->model()->index(r, 0).data().toString()};
                      for (int c = 1; c < 9; ++c)
                          cells << shownText(g, r, c);
                      rows += cells.join('|') + '\n';
                  }
              });
    QCOMPARE(rows, QString("%1|2024-01-01|V1|2,50|22,50|REFILL|9.000,00|0,00|9.000,00\n"
                           "%2|2023-12-31|V1|10,00|30,00|SPRAY|24.000,00|10,00|21.600,00\n")
                       .arg(last)
                       .arg(first));

    // A customer without purchases: the details over an empty list.
    QTest::keyClick(w->dtGridSearch, Qt::Key_Down);
    Db::exec("DELETE FROM tvr_sales WHERE sales_idcust = 2");
    int shownRows = -1;
    QString nama;
    withModal([&] { QTest::keyClick(w->dtGridSearch, Qt::Key_Space); },
              [&](QWidget* modal) {
                  auto* h = qobject_cast<frmSearchNext*>(modal);
                  nama = h->lblNama_i->text();
                  shownRows = h->dtGridNext->model()->rowCount();
              });
    QCOMPARE(nama, QString("Budi"));
    QCOMPARE(shownRows, 0);
    QVERIFY(prompt.calls.isEmpty());
}

QTEST_MAIN(SearchTest)
#include "tst_search.moc"
