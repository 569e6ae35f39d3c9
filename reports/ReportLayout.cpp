#include "ReportLayout.h"

#include "ui/CsvText.h"
#include "core/Regional.h"

#include <cmath>

namespace ReportLayout {

namespace {

// The ruled table of one mode, in character columns (column 1 = first character).
struct Table {
    int ruleLength;
    int bars[4]; // the columns of the four "|"
    int mililiterEnd;
    int valueEnd;
    QString header;
};

const Table& tableOf(Mode mode)
{
    static const Table daily{
        70, {5, 40, 58, 74}, 56, 72,
        QStringLiteral("| NAMA CUST.                       | JML ML.         | VALUE         |")};
    static const Table monthly{49, {5, 19, 37, 53}, 35, 51,
                               QStringLiteral("| TANGGAL     | JML ML.         | VALUE         |")};
    static const Table yearly{
        59, {5, 29, 47, 63}, 45, 61,
        QStringLiteral("| BULAN                 | JML ML.         | VALUE         |")};
    switch (mode) {
    case Mode::Daily: return daily;
    case Mode::Monthly: return monthly;
    case Mode::Yearly: break;
    }
    return yearly;
}

// Prints `text` at character column `column`: the line is padded up to it.
void at(QString& line, int column, const QString& text)
{
    if (line.size() < column - 1)
        line += QString(column - 1 - line.size(), QLatin1Char(' '));
    line += text;
}

// A number ending at column `end` in a cell that starts at column `start`.
// A number wider than its cell fills it with "#" rather than move a bar.
void numberAt(QString& line, int start, int end, double v)
{
    QString text = number(v);
    const int width = end - start + 1;
    if (text.size() > width)
        text = QString(width, QLatin1Char('#'));
    at(line, end + 1 - int(text.size()), text);
}

} // namespace

const QStringList& monthNames()
{
    static const QStringList names = {
        QStringLiteral("JANUARI"), QStringLiteral("FEBRUARI"), QStringLiteral("MARET"),
        QStringLiteral("APRIL"),   QStringLiteral("MEI"),      QStringLiteral("JUNI"),
        QStringLiteral("JULI"),    QStringLiteral("AGUSTUS"),  QStringLiteral("SEPTEMBER"),
        QStringLiteral("OKTOBER"), QStringLiteral("NOVEMBER"), QStringLiteral("DESEMBER")};
    return names;
}

QString title(Mode mode)
{
    switch (mode) {
    case Mode::Daily: return QStringLiteral("Sales Daily: ");
    case Mode::Monthly: return QStringLiteral("Sales Monthly: ");
    case Mode::Yearly: break;
    }
    return QStringLiteral("Sales Yearly: ");
}

QString periodWords(const ReportStore::Period& period)
{
    const QString year = QString::number(period.year);
    if (period.month < 1 || period.month > 12)
        return year;
    const QString month = monthNames().at(period.month - 1) + QLatin1Char(' ') + year;
    if (period.day < 1)
        return month;
    return QStringLiteral("%1 ").arg(period.day, 2, 10, QLatin1Char('0')) + month;
}

QString number(double v)
{
    // Sums of many amounts carry binary noise (1234.4999999998); the report
    // counts in hundredths, as the screen shows them.
    double cents = std::round(v * 100) / 100;
    if (cents == 0)
        cents = 0; // no "-0"
    return Regional::plain(cents);
}

TextPagePainter::Document pageDocument(const Page& page)
{
    const Table& t = tableOf(page.mode);
    TextPagePainter::Document d;
    QStringList* out = &d.heading;
    auto heading = [&](const QString& text) {
        QString line;
        at(line, 5, text);
        *out << line;
    };

    d.heading << QString() << QString() << QString();
    // The section word: the title without "Sales " and without its colon.
    QString section = page.title.mid(6);
    section.remove(QLatin1Char(':'));
    heading(QStringLiteral("Section     : ") + section);
    heading(QStringLiteral("Order       : ") + page.period);
    heading(QStringLiteral("Printed by  : ") + page.user);
    heading(QStringLiteral("Printed date: ") +
            Regional::locale().toString(page.printedAt.date(), QStringLiteral("dd MMM yyyy")) +
            QLatin1Char(' ') + page.printedAt.time().toString(QStringLiteral("HH:mm:ss")));
    d.heading << QString();

    const QString rule(t.ruleLength, QLatin1Char('-'));
    heading(rule);
    heading(t.header);
    heading(rule);

    out = &d.body;
    const int labelWidth = t.bars[1] - t.bars[0] - 2;
    for (const ReportStore::Line& l : page.lines) {
        QString line;
        at(line, t.bars[0], QStringLiteral("| ") + l.label.left(labelWidth));
        at(line, t.bars[1], QStringLiteral("| "));
        numberAt(line, t.bars[1] + 2, t.mililiterEnd, l.mililiter);
        at(line, t.bars[2], QStringLiteral("| "));
        numberAt(line, t.bars[2] + 2, t.valueEnd, l.value);
        at(line, t.bars[3], QStringLiteral("| "));
        d.body << line;
    }
    heading(rule);

    auto labelled = [&](const QString& label, const QString& value) {
        QString line;
        at(line, 5, label);
        at(line, 20, QStringLiteral(": ") + value);
        d.body << line;
    };
    if (page.mode == Mode::Daily) {
        d.body << QString();
        labelled(QStringLiteral("Record"), QString::number(page.lines.size()));
    }
    labelled(QStringLiteral("Jumlah ml"), Regional::amount(page.totalMililiter) +
                                              QStringLiteral(" ml"));
    labelled(QStringLiteral("Value"), Regional::amount(page.totalValue));

    // A page the table goes on from is closed by its rule.
    QString closing;
    at(closing, 5, rule);
    d.pageBreak << closing;
    d.pageNumber = QStringLiteral("Halaman %1 dari %2");
    d.pageNumberColumn = 5;
    return d;
}

QStringList pageLines(const Page& page)
{
    const TextPagePainter::Document d = pageDocument(page);
    return d.heading + d.body;
}

QString csvText(const Page& page)
{
    QString first;
    switch (page.mode) {
    case Mode::Daily: first = QStringLiteral("Nama Cust."); break;
    case Mode::Monthly: first = QStringLiteral("Tgl"); break;
    case Mode::Yearly: first = QStringLiteral("Bulan"); break;
    }
    const QString sep = QStringLiteral(";");
    const QString end = QStringLiteral("\r\n");
    QString csv = first + sep + QStringLiteral("Mililiter") + sep + QStringLiteral("Value") + end;
    for (const ReportStore::Line& l : page.lines)
        csv += csvField(l.label) + sep + number(l.mililiter) + sep + number(l.value) + end;
    csv += QStringLiteral("Jumlah") + sep + number(page.totalMililiter) + sep +
           number(page.totalValue) + end;
    return csv;
}

QString fileBaseName(const ReportStore::Period& period)
{
    return QStringLiteral("penjualan-") + period.key();
}

} // namespace ReportLayout
