// The three registers on the large database: pages of every list (first,
// next, previous, last, and a page counted from the nearer end), the letter
// pages of 100 000 customers, the lookup run on every keystroke, and the
// deletes with all they take along.
#include "Bench.h"
#include "TestDb.h"

#include "core/Db.h"
#include "ui/PagePlan.h"
#include "masterdata/RegisterStore.h"
#include "masterdata/frmDBBotol.h"
#include "masterdata/frmDBCustomer.h"
#include "masterdata/frmDBVariant.h"
#include "ui/Paging.h"

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <stdexcept>

namespace {

constexpr double PageTarget = 20; // opening a window
constexpr double PagingTarget = 2;  // turning a page
constexpr double LookupTarget = 1;

// The register indexes as the schema script makes them now.
QStringList registerIndexes()
{
    QFile f(TestDb::schemaPath());
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        throw std::runtime_error("cannot read the schema script");
    QString text = QString::fromUtf8(f.readAll());
    text.remove(QRegularExpression(QStringLiteral("--[^\n]*")));
    QStringList statements;
    const QRegularExpression index(QStringLiteral(
        "CREATE INDEX \\w+ ON (tvr_customer|tvr_dtbotol|tvr_dtvariant)\\b[^;]*"));
    for (auto it = index.globalMatch(text); it.hasNext();)
        statements << it.next().captured(0);
    return statements;
}

// A copy of the large database in `dir` with the register indexes of the
// current schema (the cached database may predate a change of them) and a
// share of customers whose names begin with no letter A to Z, as a shop gets
// them: digits, blanks, no name, letters of other scripts.
QString registersDatabase(const QTemporaryDir& dir)
{
    const QString copy = dir.filePath("registers.db");
    if (!QFile::copy(Bench::bigDatabase(), copy))
        throw std::runtime_error("cannot copy the large database");
    Bench::open(copy);
    for (const QString& create : registerIndexes()) {
        const QString name = create.section(QLatin1Char(' '), 2, 2);
        Db::exec("DROP INDEX IF EXISTS " + name);
        Db::exec(create);
        Db::exec("ANALYZE " + name);
    }
    Db::exec("INSERT INTO tvr_customer (cust_nomor, cust_nama, cust_date, cust_author) "
             "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) "
             "SELECT printf('X%05d', i), CASE i % 4 WHEN 0 THEN '' WHEN 1 THEN i || ' Jaya' "
             "WHEN 2 THEN ' Sari' ELSE '\u00C9lodie' END, date('now'), 'bench' FROM n");
    Db::close();
    return copy;
}

// A click with the repaint that follows it.
void click(QPushButton* b)
{
    b->click();
    QCoreApplication::processEvents();
}

void clickLetter(frmDBCustomer& w, int index)
{
    QTest::mouseClick(w.lblAbjad.at(index), Qt::LeftButton);
    QCoreApplication::processEvents();
}

void pages(const QString& list, const QList<QPushButton*>& nav, int middlePage)
{
    Bench::measure(
        list + ": last page (>>)", 25, [&] { click(nav.at(3)); }, PagingTarget,
        [&] { click(nav.at(0)); });
    Bench::measure(
        list + ": first page (<<)", 25, [&] { click(nav.at(0)); }, PagingTarget,
        [&] { click(nav.at(3)); });
    // Straight to the middle page: from the first page, the next button is
    // pointed at it, so the window reads it as any far page (counted from the
    // nearer end) and then stands on it as if paged there one by one.
    const auto toMiddle = [&] {
        click(nav.at(0));
        NavNextPage = middlePage;
        click(nav.at(2));
    };
    Bench::measure(
        list + QStringLiteral(": next page (>) from page %1").arg(middlePage), 25,
        [&] { click(nav.at(2)); }, PagingTarget, toMiddle);
    Bench::measure(
        list + QStringLiteral(": previous page (<) from page %1").arg(middlePage), 25,
        [&] { click(nav.at(1)); }, PagingTarget, toMiddle);
    // The pages above were seen before; their texts are drawn from what was
    // kept. Pages never shown cost their texts' shaping once.
    if (NavLastPage > 2 * middlePage) {
        toMiddle();
        Bench::measure(
            list + QStringLiteral(": next page (>) to a page not shown before"), 25,
            [&] { click(nav.at(2)); }, PagingTarget);
    }
}

// Opening a register: the count and the first page of its list.
template <class Window>
void opening(const QString& name)
{
    Bench::measure(name, 15, [] { Window other; }, PageTarget);
}

// The lookup run when the last character of `key` is typed into `box`.
void keystroke(const QString& name, QLineEdit* box, const QString& key)
{
    Bench::measure(
        name, 25, [&] { box->setText(key); }, LookupTarget,
        [&] { box->setText(key.chopped(1)); });
}

void registers()
{
    QTemporaryDir dir;
    const QString big = registersDatabase(dir);
    Bench::open(big);

    {
        frmDBVariant w;
        w.show();
        opening<frmDBVariant>("variants: open the window (count + first page)");
        pages("variants (500)", w.cmdNavigasi, 25);
        Bench::measure(
            "variants: page 26 counted from the start", 25,
            [] { RegisterStore::variantPage(planPage(26, 10, 500, 0, {}, {})); }, PageTarget);
        keystroke("variants: keystroke lookup of a code", w.txtKode, "V0250");
    }
    {
        frmDBBotol w;
        w.show();
        opening<frmDBBotol>("bottle types: open the window (count + first page)");
        pages("bottle types (49)", w.cmdNavigasi, 3);
        keystroke("bottle types: keystroke lookup of a type", w.txtTipeBotol, "BTL-25");
    }
    {
        frmDBCustomer w;
        w.show();
        opening<frmDBCustomer>("customers: open the window (letter A, first page)");
        Bench::measure(
            "customers: letter click (count + first page)", 25, [&] { clickLetter(w, 0); },
            PageTarget, [&] { clickLetter(w, 1); });
        Bench::measure(
            "customers: letter ... click (count + first page)", 25, [&] { clickLetter(w, 26); },
            PageTarget, [&] { clickLetter(w, 1); });
        clickLetter(w, 0);
        std::printf("  letter A: %d customers, %d pages\n", NavRecordCount, NavLastPage);
        pages("customers, letter A", w.cmdNavigasi, 186);
        const int count = RegisterStore::countCustomers("a");
        Bench::measure(
            "customers: letter A, page 186 counted from the start", 25,
            [&] { RegisterStore::customerPage("a", planPage(186, 10, count, 0, {}, {})); },
            PageTarget);
        keystroke("customers: keystroke lookup of a number (100 000)", w.txtNoCust, "C0050000");
        keystroke("customers: keystroke lookup in lower case with a blank", w.txtNoCust,
                  " c0050000");
        std::printf("  letter ...: %d customers\n", [&] {
            clickLetter(w, 26);
            return NavRecordCount;
        }());
        pages("customers, letter ...", w.cmdNavigasi, 20);
        // A new customer: the key check, the insert and the list again.
        int next = 0;
        Bench::measure(
            "customers: Submit a new customer (key check, insert, list)", 25,
            [&] { click(w.cmdSubmit); }, PageTarget,
            [&] {
                w.txtNoCust->setText(QStringLiteral("N%1").arg(++next, 6, 10, QLatin1Char('0')));
                w.txtNama->setText(QStringLiteral("Baru"));
            });
    }

    // Deletes: each run removes another row with everything it takes along.
    int variant = 0, botol = 1, customer = 0;
    Bench::measure("delete a variant with its ~2 000 sales and ledger rows", 9,
                   [&] { RegisterStore::deleteVariant(++variant); });
    Bench::measure("delete a bottle type with its ~20 000 sales and ledger rows", 5,
                   [&] { RegisterStore::deleteBotol(++botol); });
    Bench::measure("delete a customer with its ~10 sales", 25,
                   [&] { RegisterStore::deleteCustomer(++customer); });
    Db::close();
}

} // namespace

BENCH_SUITE(registers);
