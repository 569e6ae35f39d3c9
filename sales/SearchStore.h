#pragma once

#include "core/Db.h"
#include "ui/PagePlan.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <optional>

// Every SQL text of the customer search and the purchase history. The keyword
// is bound and matched literally anywhere in one column; pages are read in the
// list's order at a cost that does not grow with the page number.
namespace SearchStore {

enum class SearchBy { Nomor, Nama, Alamat };

// The entries of the "Search by" list, in their order.
QStringList entries();
std::optional<SearchBy> searchByOf(const QString& entry);

// Shortest keyword a search accepts: one character of a customer number,
// three of a name or an address.
int minimumKeyword(SearchBy by);

// A LIKE pattern (escape character "\") that finds `keyword` anywhere, with
// "%", "_" and "\" in it standing for themselves.
QString containsPattern(const QString& keyword);

// One search: the keyword in the column of `by`, and how its matches are found.
struct Search {
    SearchBy by = SearchBy::Nomor;
    QString keyword;
    bool byTrigrams = false; // through the trigram index, where the database has it
    bool trigramsKnown = false; // the index has the keyword's trigrams (it may still be common)
};

// Decides how the matches of a search are found: a keyword of three
// characters or more that is rare goes through the trigram index; any other,
// and every keyword in a database without that index, is matched on each row.
Search prepare(SearchBy by, const QString& keyword);

int countMatches(const Search& search);

// The matches counted within about `budgetMs` milliseconds and up to `cap`:
// exact when every customer was looked at in time, else a lower bound (`rows`
// matches at least). A keyword the trigram index has is counted through its
// candidates up to the cap (a rare one exactly); any other in ranges of
// idcust until the cap or the time is reached.
struct Count {
    int rows = 0;
    bool exact = true;
};
Count countMatches(const Search& search, int cap, int budgetMs);

// What a list of at least `count.rows` matches may page through when the count
// is not exact: whole pages only, the page buttons going no further.
inline constexpr int CountCap = 1000;

// Plans page `page` (1-based) of `recordCount` matches, `pageSize` a page.
// `shownPage` and `shownRows` are the page on show (0 / empty for none). Each
// page the four page buttons lead to is read from an end of the list or from
// the key of the boundary row of the page on show; only a page far from both
// (never reached by the buttons) skips rows.
PagePlan planPage(SearchBy by, int page, int pageSize, int recordCount, int shownPage,
                  const RowSet& shownRows);

// One page of matches as planned, in list order, with the columns idcust,
// cust_nomor, cust_nama, cust_alamat, cust_notelp.
RowSet readPage(const Search& search, const PagePlan& plan);

// Every purchase of a customer, newest first, with the columns idsales,
// sales_date, variant_kode, sales_mililiter, sales_totalml, botol_tipe,
// sales_hargatotal, sales_diskon, sales_hargadiskon. A sale whose variant or
// bottle type is no longer in the register is not listed.
RowSet purchases(int idcust);

} // namespace SearchStore
