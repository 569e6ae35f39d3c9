#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QFont;
class QPagedPaintDevice;

// Pages of fixed-pitch text, as the printed report and the receipt are made:
// one character column per character, a heading repeated at the top of every
// page, the body running on over as many pages as it needs, and the page's
// number at its foot.
namespace TextPagePainter {

struct Document {
    QStringList heading; // at the top of every page
    QStringList body;
    // Closes a page the body goes on from (the table's rule), above its foot.
    QStringList pageBreak;
    // The foot of each page, "%1" the page and "%2" their count ("Halaman %1
    // dari %2"), printed from character column `pageNumberColumn` on the last
    // line of the page; empty for none.
    QString pageNumber;
    int pageNumberColumn = 1;
};

// The lines of each page at `linesPerPage` lines a page; always one page at least.
QList<QStringList> pages(const Document& document, int linesPerPage);

enum class Failure { CannotStart, NewPageFailed, CannotFinish };

// Paints the pages on the device in `font` (made for the device), as many
// lines a page as its height holds.
std::optional<Failure> paint(QPagedPaintDevice* device, const Document& document,
                             const QFont& font);

} // namespace TextPagePainter
