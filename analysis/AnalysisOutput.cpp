#include "AnalysisOutput.h"

#include "ui/CsvText.h"
#include "core/Regional.h"

#include <QAbstractItemModel>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTableView>

#include <algorithm>

namespace AnalysisOutput {

namespace {

bool isNumber(const GridColumn& c)
{
    return c.format != GridColumn::Format::Text;
}

QString shown(const GridColumn& c, const QVariant& v)
{
    if (v.isNull() || !v.isValid())
        return {};
    switch (c.format) {
    case GridColumn::Format::Amount: return Regional::amount(v.toDouble());
    case GridColumn::Format::Whole: return Regional::whole(v.toDouble());
    case GridColumn::Format::Text: break;
    }
    return v.toString();
}

QList<QVariantList> allRows(const Sheet& sheet)
{
    QList<QVariantList> rows = sheet.rows;
    if (!sheet.totals.isEmpty())
        rows << sheet.totals;
    return rows;
}

} // namespace

Sheet fromGrid(const QTableView* grid, const QList<GridColumn>& columns)
{
    Sheet sheet;
    const QAbstractItemModel* m = grid->model();
    QList<int> visible;
    for (int c = 0; c < std::min<int>(int(columns.size()), m->columnCount()); ++c)
        if (!grid->isColumnHidden(c) && columns.at(c).widthTwips > 0) {
            visible << c;
            sheet.columns << columns.at(c);
        }
    for (int r = 0; r < m->rowCount(); ++r) {
        QVariantList row;
        for (int c : visible)
            row << m->data(m->index(r, c));
        sheet.rows << row;
    }
    return sheet;
}

QString csvText(const Sheet& sheet)
{
    const QString sep = QStringLiteral(";");
    const QString end = QStringLiteral("\r\n");
    QStringList head;
    for (const GridColumn& c : sheet.columns)
        head << csvField(c.caption);
    QString csv = head.join(sep) + end;
    for (const QVariantList& row : allRows(sheet)) {
        QStringList cells;
        for (int i = 0; i < sheet.columns.size(); ++i) {
            const QVariant v = i < row.size() ? row.at(i) : QVariant();
            if (v.isNull() || !v.isValid())
                cells << QString();
            else
                cells << (isNumber(sheet.columns.at(i)) ? Regional::plain(v.toDouble())
                                                        : csvField(v.toString()));
        }
        csv += cells.join(sep) + end;
    }
    return csv;
}

QStringList textLines(const Sheet& sheet)
{
    const QList<QVariantList> rows = allRows(sheet);
    QList<int> widths;
    for (int i = 0; i < sheet.columns.size(); ++i) {
        int w = int(sheet.columns.at(i).caption.size());
        for (const QVariantList& row : rows)
            w = std::max(w, int(shown(sheet.columns.at(i), row.value(i)).size()));
        widths << w;
    }
    auto line = [&](const QStringList& cells) {
        QString s;
        for (int i = 0; i < cells.size(); ++i) {
            if (i > 0)
                s += QStringLiteral("  ");
            s += isNumber(sheet.columns.at(i)) ? cells.at(i).rightJustified(widths.at(i))
                                               : cells.at(i).leftJustified(widths.at(i));
        }
        return s;
    };
    QStringList head;
    for (const GridColumn& c : sheet.columns)
        head << c.caption;
    QStringList out{line(head)};
    out << QString(out.first().size(), QLatin1Char('-'));
    for (int r = 0; r < rows.size(); ++r) {
        if (!sheet.totals.isEmpty() && r == rows.size() - 1)
            out << QString(out.first().size(), QLatin1Char('-'));
        QStringList cells;
        for (int i = 0; i < sheet.columns.size(); ++i)
            cells << shown(sheet.columns.at(i), rows.at(r).value(i));
        out << line(cells);
    }
    return out;
}

TextPagePainter::Document document(const Sheet& sheet)
{
    TextPagePainter::Document d;
    d.heading = sheet.heading;
    d.heading << QString();
    d.body = textLines(sheet);
    d.pageNumber = QStringLiteral("Halaman %1 dari %2");
    return d;
}

std::optional<ReportOutput::Failure> savePdf(const Sheet& sheet, const QString& path,
                                             QWidget* chart)
{
    using F = ReportOutput::Failure;
    if (!chart)
        return ReportOutput::savePdf(document(sheet), path);
    const std::unique_ptr<QPrinter> printer = ReportOutput::pdfPrinter(path);
    QPainter p;
    if (!p.begin(printer.get()))
        return F{F::CannotWrite, QStringLiteral("File PDF tidak dapat dibuat.")};
    QFont font(QStringLiteral("Courier New"), 8);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    p.setFont(QFont(font, printer.get()));
    const QRectF page = printer->pageLayout().paintRectPixels(printer->resolution());
    const QRectF area(0, 0, page.width(), page.height());
    const QFontMetricsF fm(p.font(), printer.get());
    const double lineHeight = fm.lineSpacing();
    double y = fm.ascent();
    for (const QString& l : sheet.heading) {
        p.drawText(QPointF(0, y), l);
        y += lineHeight;
    }
    // The chart as the window shows it, scaled to the page's width.
    const double chartHeight = std::min(area.height() * 0.4,
                                        area.width() * chart->height() / std::max(1, chart->width()));
    const QRectF target(0, y, area.width(), chartHeight);
    p.save();
    p.translate(target.topLeft());
    p.scale(target.width() / std::max(1, chart->width()), chartHeight / std::max(1, chart->height()));
    chart->render(&p, QPoint(), QRegion(), QWidget::DrawChildren);
    p.restore();
    y += chartHeight + lineHeight * 2;
    for (const QString& l : textLines(sheet)) {
        if (y > area.height()) {
            if (!printer->newPage())
                return F{F::NewPageFailed, QStringLiteral("Halaman baru tidak dapat dibuat.")};
            y = fm.ascent();
        }
        p.drawText(QPointF(0, y), l);
        y += lineHeight;
    }
    if (!p.end())
        return F{F::CannotFinish, QStringLiteral("File PDF tidak dapat diselesaikan.")};
    if (!QFileInfo::exists(path))
        return F{F::CannotWrite, QStringLiteral("File PDF tidak dapat ditulis.")};
    return std::nullopt;
}

} // namespace AnalysisOutput
