#include "GridColumns.h"

#include "core/Regional.h"

#include <QApplication>
#include <QHeaderView>
#include <QHash>
#include <QPainter>
#include <QStaticText>

#include <cmath>

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
//
// The style's item painting lays each cell's text out as a paragraph several
// times over (to size it, to place it, to elide it, to draw it): most of a
// page turn. A cell here is one line of plain text (the rows are one line
// high, so the view's word wrap shows nothing more): it is shaped once, kept
// shaped while it is seen again, and elided when it does not fit. Anything
// else goes the style's way.
class GridDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QList<GridColumn> columns;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        if (!isPlainLine(opt)) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        const QWidget* widget = opt.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        const QString text = opt.text;
        // Background, selection and focus as the style draws them, without the text.
        opt.text.clear();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

        const int margin = textMargin(style, widget);
        const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget)
                               .adjusted(margin, 0, -margin, 0);
        useFont(opt.font);
        const QStaticText* shaped = &shapedText(text, opt.font);
        QStaticText elided;
        if (shaped->size().width() > area.width()) {
            elided = QStaticText(opt.fontMetrics.elidedText(text, opt.textElideMode, area.width()));
            elided.setTextFormat(Qt::PlainText);
            elided.prepare(QTransform(), opt.font);
            shaped = &elided;
        }
        const qreal width = shaped->size().width();
        qreal x = area.left();
        if (opt.displayAlignment & Qt::AlignRight)
            x = area.right() + 1 - width;
        else if (opt.displayAlignment & Qt::AlignHCenter)
            x = area.left() + (area.width() - width) / 2;
        const qreal y = area.top() + (area.height() - opt.fontMetrics.height()) / 2;

        const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
                                           : !(opt.state & QStyle::State_Active) ? QPalette::Inactive
                                                                                  : QPalette::Normal;
        painter->save();
        painter->setClipRect(area);
        painter->setFont(opt.font);
        painter->setPen(opt.palette.color(group, (opt.state & QStyle::State_Selected)
                                                     ? QPalette::HighlightedText
                                                     : QPalette::Text));
        painter->drawStaticText(QPointF(x, y), *shaped);
        painter->restore();
    }

    // The style's size of a one-line text: that of a one-digit text, wider
    // by the difference of the two texts' widths.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        if (!isPlainLine(opt))
            return QStyledItemDelegate::sizeHint(option, index);
        useFont(opt.font);
        if (!m_digitSize.isValid()) {
            const QWidget* widget = opt.widget;
            const QStyle* style = widget ? widget->style() : QApplication::style();
            QStyleOptionViewItem digit = opt;
            digit.text = QStringLiteral("0");
            m_digitSize = style->sizeFromContents(QStyle::CT_ItemViewItem, &digit, QSize(), widget);
            m_digitWidth = int(std::ceil(shapedText(digit.text, opt.font).size().width()));
        }
        const int width = int(std::ceil(shapedText(opt.text, opt.font).size().width()));
        return {m_digitSize.width() - m_digitWidth + width,
                m_digitSize.height()};
    }

private:
    static bool isPlainLine(const QStyleOptionViewItem& opt)
    {
        return !opt.text.isEmpty() && opt.direction != Qt::RightToLeft &&
               !(opt.features &
                 (QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDecoration)) &&
               !opt.text.contains(QLatin1Char('\n')) && !opt.text.contains(QChar::LineSeparator);
    }

    static int textMargin(const QStyle* style, const QWidget* widget)
    {
        return style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    }

    // What is kept is for one font.
    void useFont(const QFont& font) const
    {
        if (font == m_shapedFont)
            return;
        m_shapedFont = font;
        m_shaped.clear();
        m_digitSize = QSize();
    }

    // `text` shaped in `font`. The texts of the last pages shown are kept:
    // paging back and forth shapes nothing again.
    const QStaticText& shapedText(const QString& text, const QFont& font) const
    {
        if (m_shaped.size() >= MaxShaped)
            m_shaped.clear();
        auto it = m_shaped.find(text);
        if (it == m_shaped.end()) {
            QStaticText shaped(text);
            shaped.setTextFormat(Qt::PlainText);
            shaped.prepare(QTransform(), font);
            it = m_shaped.insert(text, shaped);
        }
        return *it;
    }

    static constexpr int MaxShaped = 4000;
    mutable QHash<QString, QStaticText> m_shaped;
    mutable QFont m_shapedFont;
    mutable QSize m_digitSize;
    mutable int m_digitWidth = 0;

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
