#include "TextPagePainter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace TextPagePainter {

QList<QStringList> pages(const Document& d, int linesPerPage) {
    const int foot = d.pageNumber.isEmpty() ? 0 : 2; // an empty line, then the number
    const int head = int(d.heading.size());
    // Each page carries at least one line of the body, however small it is.
    const int roomLast = std::max(1, linesPerPage - head - foot);
    const int roomBreaking = std::max(1, roomLast - int(d.pageBreak.size()));

    QList<QStringList> chunks;
    qsizetype at = 0;
    const qsizetype total = d.body.size();
    while (total - at > roomLast) {
        chunks << d.body.mid(at, roomBreaking);
        at += roomBreaking;
    }
    chunks << d.body.mid(at);

    QList<QStringList> out;
    const int count = int(chunks.size());
    for (int i = 0; i < count; ++i) {
        QStringList page = d.heading + chunks.at(i);
        if (i + 1 < count)
            page += d.pageBreak;
        if (foot > 0) {
            // The number sits on the page's last line, the same place on every page.
            while (page.size() < linesPerPage - 2)
                page << QString();
            page << QString();
            page << QString(std::max(0, d.pageNumberColumn - 1), QLatin1Char(' ')) +
                        d.pageNumber.arg(i + 1).arg(count);
        }
        out << page;
    }
    return out;
}

std::optional<Failure> paint(QPagedPaintDevice* device, const Document& document,
                             const QFont& font) {
    QPainter painter;
    if (!painter.begin(device))
        return Failure::CannotStart;
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(font, device);
    const double lineHeight = metrics.lineSpacing();
    const int perPage = std::max(1, int(device->height() / lineHeight));

    const QList<QStringList> all = pages(document, perPage);
    for (int p = 0; p < all.size(); ++p) {
        if (p > 0 && !device->newPage()) {
            painter.end();
            return Failure::NewPageFailed;
        }
        const QStringList& lines = all.at(p);
        for (int row = 0; row < lines.size(); ++row)
            painter.drawText(QPointF(0, row * lineHeight + metrics.ascent()), lines.at(row));
    }
    if (!painter.end())
        return Failure::CannotFinish;
    if (auto* printer = dynamic_cast<QPrinter*>(device);
        printer && printer->printerState() == QPrinter::Error)
        return Failure::CannotFinish;
    return std::nullopt;
}

} // namespace TextPagePainter
