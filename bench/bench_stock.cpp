// The two stock windows on the large database, with one variant and one bottle
// type given 20 000 live ledger rows: opening, selecting an item, the ledger
// pages from both ends and from their neighbours, and the writing operations,
// each durably committed.
#include "Bench.h"

#include "ScriptedPrompt.h"

#include "core/Db.h"
#include "stock/StockStore.h"
#include "stock/frmStockB.h"
#include "stock/frmStockC.h"

#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <stdexcept>

namespace {

constexpr double Target = 20;
constexpr double PagingTarget = 2;
constexpr int LedgerRows = 20000;
constexpr qint64 HeavyVariant = 250;
constexpr qint64 HeavyBotol = 25;

// Gives item `id` LedgerRows more live ledger rows, the newest last.
void addLedger(const QString& name, qint64 id)
{
    Db::exec(QStringLiteral(
                 "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
                 "INSERT INTO tvr_stock (stock_name, stock_idname, stock_awal, stock_order, "
                 "stock_akhir, stock_date, stock_author, stock_status, stock_keterangan) "
                 "SELECT ?, ?, 1000, 5, 1005, '2024-01-01', 'admin', 0, 'stok masuk' FROM n"),
             {LedgerRows, name, id});
}

void click(QPushButton* b)
{
    b->click();
    QCoreApplication::processEvents();
}

// The list row of item `id`.
int rowOf(QTableView* list, const QString& idColumn, qint64 id)
{
    const auto* model = static_cast<const RowSetModel*>(list->model());
    for (int r = 0; r < model->rowCount(); ++r)
        if (model->value(r, idColumn).toLongLong() == id)
            return r;
    throw std::runtime_error("item not listed");
}

void selectRow(QTableView* list, int row)
{
    list->setCurrentIndex(list->model()->index(row, 1));
    QCoreApplication::processEvents();
}

template <class Window>
void window(const QString& title, QTableView* Window::*listOf, QTableView* Window::*ledgerOf,
            const QString& idColumn, qint64 heavy)
{
    Bench::measure(title + ": open the window (list and first ledger page)", 15, [] {
        Window w;
        w.show();
        QCoreApplication::processEvents();
    }, Target);

    Window w;
    w.show();
    QCoreApplication::processEvents();
    QTableView* list = w.*listOf;
    QTableView* ledger = w.*ledgerOf;
    const int heavyRow = rowOf(list, idColumn, heavy);
    const int otherRow = heavyRow == 0 ? 1 : heavyRow - 1;
    Bench::measure(
        title + ": select the item with 20 000 ledger rows", 25,
        [&] { selectRow(list, heavyRow); }, Target, [&] { selectRow(list, otherRow); });
    selectRow(list, heavyRow);

    const QList<QPushButton*>& nav = w.cmdNavigasi;
    Bench::measure(
        title + ": last ledger page (>>, page 2 000+)", 25, [&] { click(nav.at(3)); }, PagingTarget,
        [&] { click(nav.at(0)); });
    Bench::measure(
        title + ": first ledger page (<<)", 25, [&] { click(nav.at(0)); }, PagingTarget,
        [&] { click(nav.at(3)); });
    Bench::measure(
        title + ": next ledger page (>) from page 1", 25, [&] { click(nav.at(2)); }, PagingTarget,
        [&] { click(nav.at(0)); });
    Bench::measure(
        title + ": previous ledger page (<) from the last", 25, [&] { click(nav.at(1)); }, PagingTarget,
        [&] { click(nav.at(3)); });
    click(nav.at(0));
    Bench::measure(
        title + ": next ledger page (>) to a page not shown before", 25,
        [&] { click(nav.at(2)); }, PagingTarget);

    // Writing through the window: the move, its ledger row, the list and the
    // ledger shown again. Additions and reductions alternate so the stock stays.
    ScriptedPrompt prompt;
    bool reduce = false;
    Bench::measure(
        title + ": submit with its ledger row (committed, list reloaded)", 30,
        [&] { click(w.cmdSubmit); }, Target,
        [&] {
            selectRow(list, heavyRow);
            if ((w.cmdOperasi->text() == QLatin1String("-")) != reduce)
                click(w.cmdOperasi);
            w.txtOperasi->setText(QStringLiteral("3"));
            prompt.inputs = {QStringLiteral("Bench")};
            reduce = !reduce;
        });
    Bench::measure(
        title + ": delete the top ledger row with its reversal (committed)", 30,
        [&] {
            QTest::keyClick(ledger, Qt::Key_Delete);
            QCoreApplication::processEvents();
        },
        Target,
        [&] {
            selectRow(list, heavyRow);
            prompt.answers = {Prompt::Answer::Yes};
        });
    prompt.clear();
}

void stock()
{
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("stock.db"));
    if (!QFile::copy(Bench::bigDatabase(), copy))
        throw std::runtime_error("cannot copy the large database");
    Bench::open(copy);
    // A database made before the ledger index gets it as the schema has it.
    Db::exec(QStringLiteral("CREATE INDEX IF NOT EXISTS ix_stock_ledger "
                            "ON tvr_stock(stock_name, stock_idname, stock_status, idstock)"));
    addLedger(QStringLiteral("variant"), HeavyVariant);
    addLedger(QStringLiteral("botol"), HeavyBotol);
    Db::exec(QStringLiteral("ANALYZE"));

    // The store alone: the count and pages of the heavy ledger.
    using StockStore::Item;
    const qint64 count = StockStore::countLedger(Item::Variant, HeavyVariant);
    Bench::measure(
        "store: count the live ledger (20 000+ rows)", 50,
        [] { StockStore::countLedger(Item::Variant, HeavyVariant); }, Target);
    for (const int page : {2, 1000, int(count / 10)}) {
        // The page after one on show, read from the boundary of that page.
        const RowSet before =
            StockStore::ledgerPage(Item::Variant, HeavyVariant, {page - 1, 10, count});
        StockStore::LedgerPage p{page, 10, count, page - 1,
                                 before.value(0, 0).toLongLong(),
                                 before.value(before.size() - 1, 0).toLongLong()};
        Bench::measure(
            QStringLiteral("store: ledger page %1 after page %2").arg(page).arg(page - 1), 50,
            [&] { StockStore::ledgerPage(Item::Variant, HeavyVariant, p); }, Target);
    }
    Bench::measure(
        "store: addition with its ledger row (committed)", 50,
        [] { StockStore::move(Item::Variant, HeavyVariant, 1, QString()); }, Target);
    Bench::measure(
        "store: reduction with its ledger row (committed)", 50,
        [] { StockStore::move(Item::Variant, HeavyVariant, -1, QStringLiteral("Bench")); },
        Target);
    Bench::measure(
        "store: delete a ledger row with its reversal (committed)", 50,
        [] {
            const qint64 top = StockStore::ledgerPage(Item::Variant, HeavyVariant,
                                                      {1, 1, 1})
                                   .value(0, 0)
                                   .toLongLong();
            StockStore::deleteEntry(Item::Variant, HeavyVariant, top);
        },
        Target);
    qint64 variant = 1;
    Bench::measure(
        "store: reset a variant (~300 ledger rows, ~2 000 sales)", 15,
        [&] { StockStore::reset(Item::Variant, variant++); });

    window<frmStockC>(QStringLiteral("concentrate"), &frmStockC::dtGridVariants,
                      &frmStockC::dtGridVariant,                       QStringLiteral("idvariant"), HeavyVariant);
    window<frmStockB>(QStringLiteral("bottles"), &frmStockB::dtGridBotols, &frmStockB::dtGridBotol,
                      QStringLiteral("idbotol"), HeavyBotol);
    Db::close();
}

} // namespace

BENCH_SUITE(stock);
