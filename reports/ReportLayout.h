#pragma once

#include "reports/ReportStore.h"
#include "ui/TextPagePainter.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// The sales report as text: the printed page (fixed-width, one string per
// line, column 1 being the first character), the CSV file, and the words the
// window shows. Pure functions, no widgets.
namespace ReportLayout {

using ReportStore::Mode;

// What the printed page and the CSV file show: the report on screen.
struct Page {
    Mode mode = Mode::Yearly;
    QString title;  // "Sales Daily: ", "Sales Monthly: ", "Sales Yearly: "
    QString period; // "05 MARET 2026", "MARET 2026", "2026"
    QString user;
    QDateTime printedAt;
    QList<ReportStore::Line> lines;
    double totalMililiter = 0;
    double totalValue = 0;
};

// "JANUARI" ... "DESEMBER"; a month's number is its position plus one.
const QStringList& monthNames();

QString title(Mode mode);
// The period in words: "2026", "MARET 2026" or "05 MARET 2026".
QString periodWords(const ReportStore::Period& period);

// A number as plain regional text to the cent, without grouping: 1234.5 -> "1234,5".
QString number(double v);

// The printed report: the heading block and the table's header, repeated on
// every page, the table's lines with the totals, and "Halaman n dari m".
TextPagePainter::Document pageDocument(const Page& page);
// The report as one page: the heading followed by the body.
QStringList pageLines(const Page& page);

// The report as CSV: ";" separated, a header row of the grid's captions, one
// row per line, then the totals; numbers as plain regional text; CRLF rows.
QString csvText(const Page& page);

// The name a saved report is offered under, without extension:
// "penjualan-2026", "penjualan-2026-03", "penjualan-2026-03-05".
QString fileBaseName(const ReportStore::Period& period);

} // namespace ReportLayout
