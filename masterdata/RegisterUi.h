#pragma once

#include "ui/GridColumns.h"

#include <QList>
#include <QString>

class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QTableView;
class QWidget;

// Building blocks the three register windows share.
namespace RegisterUi {

QPushButton* button(const QString& caption, const QString& name, QWidget* parent);
QLineEdit* lineEdit(const QString& name, const QString& tag, int maxLength, QWidget* parent);

// The four page buttons cmdNavigasi_0 .. _3 ("<<", "<", ">", ">>") in a row.
QHBoxLayout* navigationRow(QList<QPushButton*>& buttons, QWidget* parent);

// A read-only register grid of the given object name.
QTableView* grid(const QString& name, QWidget* parent);

// Makes the first row current, as a freshly loaded list stands on its first
// row. The window ignores the row change this reports.
void standOnFirstRow(QTableView* grid, int firstVisibleColumn);

// The row the grid stands on, or -1 when it holds none.
int currentRow(const QTableView* grid);

// Width of a grid that shows its visible columns without a horizontal scroll bar.
int gridWidthFor(const QTableView* grid);

} // namespace RegisterUi
