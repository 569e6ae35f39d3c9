#pragma once

#include "core/Db.h"

#include <QString>

#include <optional>

// Every SQL text of the two stock windows. Concentrate (tvr_dtvariant,
// ledger rows named "variant") and bottle types (tvr_dtbotol, ledger rows
// named "botol", never the refill type) are handled by the same statements.
//
// Stock always moves relative to what is stored (stock = stock + ?), so a
// sale recorded meanwhile is never overwritten, and each operation writes its
// ledger row, its stock move and everything else it marks in one transaction.
namespace StockStore {

enum class Item { Variant, Botol };

// Stock arithmetic on doubles: 0,7 - 0,4 may still take 0,3 off.
constexpr double Tolerance = 1e-9;

// The value of stock_name for the ledger rows of `item`.
QString stockName(Item item);

// All items with their stock, in the order of the list.
// Variants: idvariant, variant_kode, variant_nama, variant_harga, variant_stock.
// Bottle types: idbotol, botol_tipe, botol_harga, botol_stock (no refill type).
RowSet items(Item item);

// Number of live ledger rows (stock_status 0) of item `id`.
qint64 countLedger(Item item, qint64 id);

// One page of the live ledger of an item, newest first. `shownPage` and the
// first and last idstock of the page on show let the neighbouring pages be
// read from their boundary; the first and the last page are read from their
// own end; so the cost does not grow with the page number.
struct LedgerPage {
    int page = 1;
    int pageSize = 10;
    qint64 recordCount = 0;
    int shownPage = 0; // 0: none on show
    qint64 shownFirst = 0;
    qint64 shownLast = 0;
};

// Columns: idstock, stock_date, stock_order, stock_author, stock_status,
// stock_name, stock_idname, stock_awal, stock_akhir, stock_keterangan.
RowSet ledgerPage(Item item, qint64 id, const LedgerPage& page);
// The columns of ledgerPage() with no rows, for a ledger of no item.
RowSet emptyLedger();

enum class Outcome {
    Done,
    Missing,   // the item (or ledger row) no longer exists; nothing written
    BelowZero, // the stored stock would go below zero; nothing written
};

struct Moved {
    Outcome outcome = Outcome::Done;
    double before = 0; // the stored stock, read inside the transaction
    double after = 0;
};

// Adds `quantity` to the stock of item `id` (negative for a reduction) and
// writes its ledger row dated today by the logged-in user with `reason`.
Moved move(Item item, qint64 id, double quantity, const QString& reason);

// The stored stock of item `id`, or nothing when there is no such item.
std::optional<double> stockOf(Item item, qint64 id);

// Whether deleting ledger row `idStock` of item `id` could reverse its
// effect without taking the stock below zero. Reads only.
Outcome checkDeletion(Item item, qint64 id, qint64 idStock);

// Deletes live ledger row `idStock` of item `id` and takes its order back
// off the stock (a reduction is given back).
Outcome deleteEntry(Item item, qint64 id, qint64 idStock);

// Sets the stock of item `id` to 0, keeping the old stock, date and author in
// its _ls_ columns, retires its ledger rows and marks every sale of it with
// sales_status 1. An item without ledger rows is reset as well.
Outcome reset(Item item, qint64 id);

} // namespace StockStore
