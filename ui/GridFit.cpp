#include "GridFit.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>

#include <algorithm>

int textWidthOfColumn(const QTableView* grid, int column)
{
    const QAbstractItemModel* model = grid->model();
    const QAbstractItemView* view = grid; // where the size hints are public
    const int rows = model->rowCount();
    if (rows == 0)
        return 0;
    // Digits are equally wide, so the widest number is the largest or the
    // smallest (a minus sign); other text is widest where it is longest.
    int longest = 0, largest = -1, smallest = -1;
    qsizetype longestSize = -1;
    double high = 0, low = 0;
    for (int r = 0; r < rows; ++r) {
        const QVariant v = model->index(r, column).data();
        // Numbers are compared as numbers: turning each into text would
        // cost more than the rest of a long list's display.
        const bool isText = v.typeId() == QMetaType::QString || !v.canConvert<double>();
        if (isText || v.isNull()) {
            const qsizetype size = v.toString().size();
            if (size > longestSize) {
                longestSize = size;
                longest = r;
            }
            continue;
        }
        const double d = v.toDouble();
        if (largest < 0 || d > high) {
            high = d;
            largest = r;
        }
        if (smallest < 0 || d < low) {
            low = d;
            smallest = r;
        }
    }
    // The grid line takes one pixel of the column, as in the view's own hint.
    const int gridLine = grid->showGrid() ? 1 : 0;
    int width = 0;
    for (const int r : {longest, largest, smallest})
        if (r >= 0)
            width = std::max(width, view->sizeHintForIndex(model->index(r, column)).width() +
                                        gridLine);
    return width;
}

void fitColumnsToText(QTableView* grid)
{
    const QAbstractItemModel* model = grid->model();
    for (int c = 0; c < model->columnCount(); ++c) {
        if (grid->isColumnHidden(c))
            continue;
        // The caption is never clipped either.
        const int width = std::max({grid->columnWidth(c),
                                    grid->horizontalHeader()->sectionSizeHint(c),
                                    textWidthOfColumn(grid, c)});
        if (width != grid->columnWidth(c))
            grid->setColumnWidth(c, width);
    }
}

int gridWidthFor(const QTableView* grid)
{
    int width = 0;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        if (!grid->isColumnHidden(c))
            width += grid->columnWidth(c);
    return width + grid->verticalScrollBar()->sizeHint().width() + 2 * grid->frameWidth() + 2;
}
