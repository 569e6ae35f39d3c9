#pragma once

#include "ui/GridColumns.h"

#include <QDate>

// The till's list of one day's sales, newest first, read a page at a time:
// the first page when the day is shown, the next one each time the view
// scrolls to the end of what it has (fetchMore). A saved sale is put on top,
// a corrected one is read again in its row and a deleted one taken out,
// without reading the day again; so no action costs more for a busy day.
class DayListModel : public RowSetModel {
    Q_OBJECT
public:
    // Rows read at a time: a few screens of the grid.
    static constexpr int PageRows = 64;

    explicit DayListModel(QObject* parent = nullptr);

    // Shows the first page of `day`.
    void showDay(const QDate& day);
    QDate day() const { return m_day; }

    // The sale `id` was recorded (newest of the day): put on top when it is
    // of the shown day and listed (its customer, variant and bottle type exist).
    void saleAdded(qint64 id);
    // The sale `id` changed: its row is read again where it stands.
    void saleChanged(qint64 id);
    // The sale `id` was deleted: its row goes.
    void saleRemoved(qint64 id);

    // The row of sale `id`, reading further pages of the shown day when it lies
    // beyond the rows read so far; -1 when the day does not list it.
    int rowOf(qint64 id);

    const RowSet& rows() const { return m_rows; }
    QVariant value(int row, const QString& column) const { return m_rows.value(row, column); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    int indexOf(qint64 id) const;
    QDate m_day;
    RowSet m_rows;
    bool m_atEnd = true; // every sale of the day is read
};
