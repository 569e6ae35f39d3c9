#include "RegisterUi.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>

#include <algorithm>

namespace RegisterUi {

QPushButton* button(const QString& caption, const QString& name, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    // Enter moves between the fields; it never presses a button by itself.
    b->setAutoDefault(false);
    return b;
}

QLineEdit* lineEdit(const QString& name, const QString& tag, int maxLength, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setProperty("tag", tag);
    e->setMaxLength(maxLength);
    return e;
}

QHBoxLayout* navigationRow(QList<QPushButton*>& buttons, QWidget* parent)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(2);
    const QStringList captions{QStringLiteral("<<"), QStringLiteral("<"), QStringLiteral(">"),
                               QStringLiteral(">>")};
    for (int i = 0; i < captions.size(); ++i) {
        QPushButton* b = button(captions.at(i), QStringLiteral("cmdNavigasi_%1").arg(i), parent);
        b->setFixedWidth(34);
        buttons << b;
        row->addWidget(b);
    }
    return row;
}

QTableView* grid(const QString& name, QWidget* parent)
{
    auto* g = new QTableView(parent);
    g->setObjectName(name);
    g->setTabKeyNavigation(false);
    g->horizontalHeader()->setStretchLastSection(false);
    return g;
}

void standOnFirstRow(QTableView* grid, int firstVisibleColumn)
{
    QItemSelectionModel* selection = grid->selectionModel();
    if (!selection || grid->model()->rowCount() == 0)
        return;
    selection->setCurrentIndex(grid->model()->index(0, firstVisibleColumn),
                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int currentRow(const QTableView* grid)
{
    if (!grid->model() || grid->model()->rowCount() == 0)
        return -1;
    const QModelIndex current = grid->currentIndex();
    return current.isValid() ? current.row() : 0;
}

int gridWidthFor(const QTableView* grid)
{
    int width = 0;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        if (!grid->isColumnHidden(c))
            width += grid->columnWidth(c);
    return width + grid->verticalScrollBar()->sizeHint().width() + 2 * grid->frameWidth() + 2;
}

} // namespace RegisterUi
