#pragma once

#include <QString>
#include <QVector>

class QWidget;

// Paging state of the paged lists. One set for the whole program: only one
// paged window is active at a time. Counts are 32-bit, so lists of any
// realistic length page correctly.
extern int NavFirstRecord;
extern int NavFirstPage;
extern int NavRecordCount;
extern int NavPageSize;
extern int NavLastPage;
extern int NavCurrentPage;
extern int NavPrevPage;
extern int NavNextPage;
// First record number of each page, indexed by page number 0 .. NavLastPage.
extern QVector<int> NavPageStart;

// Starts the list on its first page from NavRecordCount and ListPageSize.
void DoSetPages();

// Enables the window's four buttons cmdNavigasi_0 .. cmdNavigasi_3 as the
// current page allows and sets NavPrevPage / NavNextPage.
void DoSetNavButtons(QWidget* window);

// Moves to the page of navigation button `index` (0 first, 1 previous,
// 2 next, 3 last) and updates the buttons of `window` (the active window
// when none is given). The caller loads the page afterwards.
void DoGoPage(int index, QWidget* window = nullptr);

// Rows to skip before the current page (for LIMIT/OFFSET queries).
int NavPageOffset();

// "Page n of m".
QString NavPageLabel();
