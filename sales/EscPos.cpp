#include "EscPos.h"

#include <QHash>

#include <algorithm>

namespace EscPos {

namespace {

constexpr char Esc = 0x1b;
constexpr char Gs = 0x1d;

// Look-alikes for characters outside the code page that no decomposition
// gives. Windows-1252's own curly quotes, dashes and bullet (0x80-0x9F) are
// sent as plain ASCII too: printer makers draw that range differently.
const QHash<char32_t, QByteArray>& lookAlikes()
{
    static const QHash<char32_t, QByteArray> table = {
        {U'\u2018', "'"},  {U'\u2019', "'"},  {U'\u201A', "'"},  {U'\u201B', "'"},
        {U'\u2032', "'"},  {U'\u201C', "\""}, {U'\u201D', "\""}, {U'\u201E', "\""},
        {U'\u201F', "\""}, {U'\u2033', "\""}, {U'\u2010', "-"},  {U'\u2011', "-"},
        {U'\u2012', "-"},  {U'\u2013', "-"},  {U'\u2014', "-"},  {U'\u2015', "-"},
        {U'\u2212', "-"},  {U'\u2026', "..."}, {U'\u2022', "*"},
        {U'\u2122', "TM"}, {U'\u20AC', "EUR"}, {U'\u0152', "OE"}, {U'\u0153', "oe"},
        {U'\u0131', "i"},  {U'\u0141', "L"},  {U'\u0142', "l"},  {U'\u0110', "D"},
        {U'\u0111', "d"},  {U'\u00A0', " "},  {U'\u202F', " "},  {U'\u00AD', ""},
        {U'\u200B', ""},   {U'\uFEFF', ""},
    };
    return table;
}

bool isControl(char32_t c)
{
    return c < 0x20 || (c >= 0x7f && c < 0xa0);
}

void append(QByteArray& out, char32_t c)
{
    if (const auto it = lookAlikes().constFind(c); it != lookAlikes().cend()) {
        out += *it;
        return;
    }
    if (c == U'\t') {
        out += ' ';
        return;
    }
    if (isControl(c)) {
        out += '?';
        return;
    }
    if (c <= 0xff) { // Windows-1252 is Latin-1 from 0xA0 on
        out += char(c);
        return;
    }
    if (c >= 0x2000 && c <= 0x200a) { // the typographic blanks
        out += ' ';
        return;
    }
    // A letter with marks the page lacks: its letters without the marks
    // ("ệ" e, "ﬁ" fi); else a question mark.
    const char32_t one[] = {c};
    QByteArray plain;
    for (const QChar ch : QString::fromUcs4(one, 1).normalized(QString::NormalizationForm_KD))
        if (ch.unicode() <= 0xff && !isControl(ch.unicode()) && ch.category() != QChar::Mark_NonSpacing)
            plain += char(ch.unicode());
    out += plain.isEmpty() ? QByteArray("?") : plain;
}

} // namespace

QByteArray encode(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (const char32_t c : text.toUcs4())
        append(out, c);
    return out;
}

bool isEmphasised(const QString& line)
{
    for (const char* label : {"Total", "Bayar", "Tunai seharusnya", "Selisih"})
        if (line.startsWith(QLatin1String(label) + QLatin1Char(' ')))
            return true;
    return false;
}

QByteArray document(const QStringList& lines, int columns)
{
    columns = std::max(columns, 1);
    QByteArray out;
    out += Esc;
    out += '@';
    out += Esc;
    out += 't';
    out += CodePage;
    for (const QString& line : lines) {
        const bool strong = isEmphasised(line);
        if (strong)
            out += QByteArray("\x1b" "E\x01" "\x1d!\x01"); // bold, double height
        const QList<uint> chars = line.toUcs4();
        for (qsizetype at = 0; at < chars.size() || at == 0; at += columns) {
            const qsizetype n = std::min<qsizetype>(columns, chars.size() - at);
            out += encode(QString::fromUcs4(reinterpret_cast<const char32_t*>(chars.constData()) + at, n));
            out += '\n';
        }
        if (strong)
            out += QByteArray("\x1b" "E\x00" "\x1d!\x00", 6);
    }
    out += Esc; // feed the last line past the cutter
    out += 'd';
    out += char(4);
    out += Gs;
    out += 'V';
    out += char(1);
    return out;
}

QByteArray drawerPulse(int pin)
{
    QByteArray out;
    out += Esc;
    out += 'p';
    out += char(pin == 5 ? 1 : 0);
    out += char(25);         // on: 25 x 2 ms
    out += char(0xfa);        // off: 250 x 2 ms
    return out;
}

} // namespace EscPos
