#include "GridColumns.h"

#include "core/Regional.h"

#include <QHeaderView>

#include <algorithm>
#include <QStyledItemDelegate>
#include <QTableView>

RowSetModel::RowSetModel(QObject* parent) : QAbstractTableModel(parent) {}

void RowSetModel::setRows(const RowSet& rows)
{
    beginResetModel();
    m_rows = rows;
    endResetModel();
}

bool RowSetModel::replaceRows(const RowSet& rows)
{
    if (rows.columns != m_rows.columns) {
        setRows(rows);
        return true;
    }
    const int before = m_rows.size();
    const int after = rows.size();
    if (after < before) {
        beginRemoveRows({}, after, before - 1);
        m_rows.rows = rows.rows;
        endRemoveRows();
    } else if (after > before) {
        beginInsertRows({}, before, after - 1);
        m_rows.rows = rows.rows;
        endInsertRows();
    } else {
        m_rows.rows = rows.rows;
    }
    if (after > 0 && !m_rows.columns.isEmpty())
        emit dataChanged(index(0, 0), index(after - 1, int(m_rows.columns.size()) - 1));
    return false;
}

void RowSetModel::setValue(int row, const QString& column, const QVariant& value)
{
    const int col = m_rows.column(column);
    if (row < 0 || row >= m_rows.size() || col < 0)
        return;
    m_rows.rows[row][col] = value;
    emit dataChanged(index(row, col), index(row, col));
}

int RowSetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

int RowSetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.columns.size());
}

QVariant RowSetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return m_rows.value(index.row(), index.column());
}

QVariant RowSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section < m_captions.size())
        return m_captions.at(section);
    return section < m_rows.columns.size() ? QVariant(m_rows.columns.at(section)) : QVariant();
}

bool RowSetModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                                int role)
{
    if (orientation != Qt::Horizontal || (role != Qt::EditRole && role != Qt::DisplayRole) ||
        section < 0)
        return false;
    while (m_captions.size() <= section)
        m_captions << QString();
    m_captions[section] = value.toString();
    emit headerDataChanged(orientation, section, section);
    return true;
}

namespace {

// Shows each column as its GridColumn entry says.
class GridDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QList<GridColumn> columns;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() >= columns.size())
            return;
        const GridColumn& c = columns.at(index.column());
        option->displayAlignment = c.align | Qt::AlignVCenter;
        const QVariant v = index.data();
        if (v.isNull())
            return;
        switch (c.format) {
        case GridColumn::Format::Text: break;
        case GridColumn::Format::Amount: option->text = Regional::amount(v.toDouble()); break;
        case GridColumn::Format::Whole: option->text = Regional::whole(v.toDouble()); break;
        }
    }
};

} // namespace

void setUpGrid(QTableView* grid, RowSetModel* model)
{
    grid->setModel(model);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setAlternatingRowColors(true);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->verticalHeader()->setVisible(false);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setItemDelegate(new GridDelegate(grid));
}

void applyGridColumns(QTableView* grid, const QList<GridColumn>& columns)
{
    auto* delegate = dynamic_cast<GridDelegate*>(grid->itemDelegate());
    if (!delegate) {
        delegate = new GridDelegate(grid);
        grid->setItemDelegate(delegate);
    }
    delegate->columns = columns;
    QAbstractItemModel* model = grid->model();
    for (int i = 0; i < columns.size(); ++i) {
        const GridColumn& c = columns.at(i);
        if (model)
            model->setHeaderData(i, Qt::Horizontal, c.caption);
        grid->setColumnHidden(i, c.widthTwips == 0);
        if (c.widthTwips > 0)
            grid->setColumnWidth(i, designedWidth(grid, c));
    }
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid->viewport()->update();
}

int designedWidth(const QTableView* grid, const GridColumn& column)
{
    // The designed widths fit a font in which ten digits take 60 pixels; wider
    // screen fonts get proportionally wider columns so nothing is clipped.
    const double scale =
        std::max(1.0, grid->fontMetrics().horizontalAdvance(QStringLiteral("0123456789")) / 60.0);
    return int(column.widthTwips / 15.0 * scale + 0.5);
}
