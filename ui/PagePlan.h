#pragma once

#include "core/Db.h"

#include <QStringList>
#include <QVariantList>

// How to read one page of a list at a cost that does not grow with the page
// number. Lists are ordered by a unique key (one or more columns).
// The first and the last page are read from their own end of the list; the
// page next to the one on show is read from the key of its boundary row; any
// other page counts rows from the nearer end of an index-ordered list.
struct PagePlan {
    enum class From {
        Start,  // skip `skip` rows from the start of the list
        End,    // skip `skip` rows from the end of the list (rows come back in list order)
        After,  // the rows that follow `anchor`
        Before, // the rows that precede `anchor`
    };
    From from = From::Start;
    int skip = 0;
    int take = 0;
    QVariantList anchor; // key values of the boundary row, for After and Before
};

// Plans page `page` (1-based) of a list of `recordCount` rows, `pageSize` rows
// a page. `shownPage` is the page on show (0 for none); `shownFirst` and
// `shownLast` are the keys of its first and last row, empty where unknown.
PagePlan planPageByKeys(int page, int pageSize, int recordCount, int shownPage,
                        const QVariantList& shownFirst, const QVariantList& shownLast);

// The same, with the page on show as rows (empty for none); `keyColumns` name
// the columns of the ordering key in `shownRows`.
PagePlan planPage(int page, int pageSize, int recordCount, int shownPage, const RowSet& shownRows,
                  const QStringList& keyColumns);
