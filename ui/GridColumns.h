#pragma once

#include "core/Db.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>

class QTableView;

// A read-only model over the rows a store returned. Values stay as read from
// the database; formatting is done only in display.
class RowSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RowSetModel(QObject* parent = nullptr);

    void setRows(const RowSet& rows);
    // Shows `rows` in place of the rows on show. Where the columns are the same,
    // the view keeps its columns (captions, widths, hidden ones) and its
    // selection model, and only the rows that differ in number are inserted or
    // removed: a page change costs what the rows cost. Otherwise the model is
    // reset as setRows() does. Returns true when it was reset.
    bool replaceRows(const RowSet& rows);
    const RowSet& rows() const { return m_rows; }
    // Value of the row by column name, as read from the database.
    QVariant value(int row, const QString& column) const { return m_rows.value(row, column); }
    // Replaces one value of a row with what was read again from the database.
    void setValue(int row, const QString& column, const QVariant& value);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role = Qt::EditRole) override;

private:
    RowSet m_rows;
    QStringList m_captions; // captions by column; the column name where none is set
};

// One column of a grid as designed: caption, width in twips (0 hides the
// column), alignment and number format.
struct GridColumn {
    enum class Format { Text, Amount /* #,##0.00 */, Whole /* #,##0 */ };

    QString caption;
    int widthTwips = 1000;
    Qt::Alignment align = Qt::AlignLeft;
    Format format = Format::Text;
};

// Sets a list up once: read-only rows, whole-row selection, the model and one
// delegate that shows numbers in regional format.
void setUpGrid(QTableView* grid, RowSetModel* model);

// Applies captions, widths, alignment, formats and hidden columns, by position.
// Widths are in twips (15 to a pixel) of the designed font, scaled to the grid's.
void applyGridColumns(QTableView* grid, const QList<GridColumn>& columns);

// The designed width of `column` in pixels on `grid`, as applyGridColumns() sets it.
int designedWidth(const QTableView* grid, const GridColumn& column);
