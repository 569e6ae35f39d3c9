#pragma once

class QTableView;

// Widens each shown column of `grid` whose caption or widest text does not fit its
// designed width, so that no amount, code or name is cut off; a long address
// makes the list scroll sideways instead. Only the rows whose text can be the
// widest are measured (the longest text, the largest and the smallest number
// of a column), so a long list costs little.
void fitColumnsToText(QTableView* grid);

// Width of a grid that shows its visible columns without a horizontal scroll bar.
int gridWidthFor(const QTableView* grid);
