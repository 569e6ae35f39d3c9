#include "DayListModel.h"

#include "core/Regional.h"
#include "sales/SalesStore.h"

DayListModel::DayListModel(QObject* parent) : RowSetModel(parent) {}

void DayListModel::showDay(const QDate& day)
{
    beginResetModel();
    m_day = day;
    m_rows = SalesStore::dayListPage(day, 0, PageRows);
    m_atEnd = m_rows.size() < PageRows;
    endResetModel();
}

int DayListModel::indexOf(qint64 id) const
{
    for (int r = 0; r < m_rows.size(); ++r)
        if (m_rows.rows.at(r).at(0).toLongLong() == id)
            return r;
    return -1;
}

void DayListModel::saleAdded(qint64 id)
{
    if (indexOf(id) >= 0)
        return;
    const RowSet one = SalesStore::dayListRow(id);
    if (one.isEmpty() || one.value(0, 1).toString() != Regional::dateText(m_day))
        return;
    if (m_rows.columns.isEmpty())
        m_rows.columns = one.columns;
    // Newest first: a sale of another till saved meanwhile may be newer still.
    int at = 0;
    while (at < m_rows.size() && m_rows.rows.at(at).at(0).toLongLong() > id)
        ++at;
    beginInsertRows({}, at, at);
    m_rows.rows.insert(at, one.rows.first());
    endInsertRows();
}

void DayListModel::saleChanged(qint64 id)
{
    const int r = indexOf(id);
    if (r < 0)
        return;
    const RowSet one = SalesStore::dayListRow(id);
    if (one.isEmpty())
        return saleRemoved(id);
    m_rows.rows[r] = one.rows.first();
    emit dataChanged(index(r, 0), index(r, columnCount() - 1));
}

void DayListModel::saleRemoved(qint64 id)
{
    const int r = indexOf(id);
    if (r < 0)
        return;
    beginRemoveRows({}, r, r);
    m_rows.rows.removeAt(r);
    endRemoveRows();
}

int DayListModel::rowOf(qint64 id)
{
    int r = indexOf(id);
    // Only a sale older than the last one read can lie further down.
    while (r < 0 && !m_atEnd && !m_rows.isEmpty() &&
           id < m_rows.rows.last().at(0).toLongLong()) {
        fetchMore({});
        r = indexOf(id);
    }
    return r;
}

int DayListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

int DayListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.columns.size());
}

QVariant DayListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return m_rows.value(index.row(), index.column());
}

bool DayListModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && !m_atEnd;
}

void DayListModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid() || m_atEnd)
        return;
    const qint64 before = m_rows.isEmpty() ? 0 : m_rows.rows.last().at(0).toLongLong();
    const RowSet more = SalesStore::dayListPage(m_day, before, PageRows);
    m_atEnd = more.size() < PageRows;
    if (more.isEmpty())
        return;
    beginInsertRows({}, m_rows.size(), m_rows.size() + more.size() - 1);
    m_rows.rows += more.rows;
    endInsertRows();
}
