#pragma once

class QTableView;

// Widens each shown column of `grid` whose caption or widest text does not fit its
// designed width, so that no amount, code or name is cut off; a long address
// makes the list scroll sideways instead. Only the rows whose text can be the
// widest are measured (the longest text, the largest and the smallest number
// of a column), so a long list costs little.
void fitColumnsToText(QTableView* grid);

// The width column `column` of `grid` needs for its widest text on show, as
// the delegate shows it (0 for no rows). Measures only the rows whose text can
// be the widest, as fitColumnsToText() does.
int textWidthOfColumn(const QTableView* grid, int column);

// Width of a grid that shows its visible columns without a horizontal scroll bar.
int gridWidthFor(const QTableView* grid);
