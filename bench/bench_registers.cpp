// The three registers on the large database: pages of every list (first,
// next, previous, last, and a page counted from the nearer end), the letter
// pages of 100 000 customers, the lookup run on every keystroke, and the
// deletes with all they take along.
#include "Bench.h"

#include "core/Db.h"
#include "masterdata/PagePlan.h"
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
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <stdexcept>

namespace {

constexpr double PageTarget = 20;
constexpr double LookupTarget = 1;

// A database made before the customer letter index was added is made again,
// so the figures are those of the current schema.
QString bigDatabaseWithCurrentSchema()
{
    QString path = Bench::bigDatabase();
    Bench::open(path);
    const bool current =
        Db::scalar("SELECT 1 FROM sqlite_master WHERE name = 'ix_customer_letter'").isValid();
    Db::close();
    if (!current) {
        std::printf("  the cached large database predates ix_customer_letter: making it again\n");
        QFile::remove(path);
        path = Bench::bigDatabase();
    }
    return path;
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
        list + ": last page (>>)", 25, [&] { click(nav.at(3)); }, PageTarget,
        [&] { click(nav.at(0)); });
    Bench::measure(
        list + ": first page (<<)", 25, [&] { click(nav.at(0)); }, PageTarget,
        [&] { click(nav.at(3)); });
    const auto toMiddle = [&] {
        click(nav.at(0));
        for (int page = 1; page < middlePage; ++page)
            click(nav.at(2));
    };
    Bench::measure(
        list + QStringLiteral(": next page (>) from page %1").arg(middlePage), 25,
        [&] { click(nav.at(2)); }, PageTarget, toMiddle);
    Bench::measure(
        list + QStringLiteral(": previous page (<) from page %1").arg(middlePage), 25,
        [&] { click(nav.at(1)); }, PageTarget, toMiddle);
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
    const QString big = bigDatabaseWithCurrentSchema();
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
    }
    Db::close();

    // Deletes, on a copy: each run removes another row with everything it takes along.
    QTemporaryDir dir;
    const QString copy = dir.filePath("registers.db");
    if (!QFile::copy(big, copy))
        throw std::runtime_error("cannot copy the large database");
    Bench::open(copy);
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
