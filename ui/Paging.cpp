#include "Paging.h"

#include "core/Globals.h"

#include <QAbstractButton>
#include <QApplication>
#include <QWidget>

#include <algorithm>

int NavFirstRecord = 1;
int NavFirstPage = 1;
int NavRecordCount = 0;
int NavPageSize = 0;
int NavLastPage = 1;
int NavCurrentPage = 1;
int NavPrevPage = 1;
int NavNextPage = 1;
QVector<int> NavPageStart;

void DoSetPages()
{
    NavCurrentPage = NavFirstPage;
    NavPageSize = std::max(1, ListPageSize);
    // Whole-number arithmetic: (count - 1) / size truncated toward zero, plus one,
    // so an empty list still has one page.
    NavLastPage = std::max(0, NavRecordCount - 1) / NavPageSize + 1;
    NavPageStart = QVector<int>(NavLastPage + 1, 0);
    NavPageStart[NavFirstPage] = NavFirstRecord;
    for (int p = NavFirstPage + 1; p <= NavLastPage; ++p)
        NavPageStart[p] = NavPageStart[p - 1] + NavPageSize;
}

static QAbstractButton* navButton(QWidget* window, int index)
{
    return window ? window->findChild<QAbstractButton*>(QStringLiteral("cmdNavigasi_%1").arg(index))
                  : nullptr;
}

static void setButton(QWidget* window, int index, bool enabled)
{
    if (QAbstractButton* b = navButton(window, index); b && b->isEnabled() != enabled)
        b->setEnabled(enabled);
}

void DoSetNavButtons(QWidget* window)
{
    const bool atFirst = NavCurrentPage == NavFirstPage;
    const bool atLast = NavCurrentPage == NavLastPage;
    // Each button is set once, to its final state: a change of state restyles
    // the button, and a page turn would otherwise switch some off and on again.
    setButton(window, 0, !atFirst);
    setButton(window, 1, !atFirst);
    setButton(window, 2, !atLast);
    setButton(window, 3, !atLast);
    NavPrevPage = atFirst ? NavCurrentPage : NavCurrentPage - 1;
    NavNextPage = atLast ? NavCurrentPage : NavCurrentPage + 1;
}

void DoGoPage(int index, QWidget* window)
{
    switch (index) {
    case 0: NavCurrentPage = NavFirstPage; break;
    case 1: NavCurrentPage = NavPrevPage; break;
    case 2: NavCurrentPage = NavNextPage; break;
    case 3: NavCurrentPage = NavLastPage; break;
    default: break;
    }
    if (!window)
        window = QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                                   : QApplication::activeWindow();
    DoSetNavButtons(window);
}

int NavPageOffset()
{
    if (NavCurrentPage < 0 || NavCurrentPage >= NavPageStart.size())
        return 0;
    return std::max(0, NavPageStart[NavCurrentPage] - 1);
}

QString NavPageLabel()
{
    return QStringLiteral("Page %1 of %2").arg(NavCurrentPage).arg(NavLastPage);
}
