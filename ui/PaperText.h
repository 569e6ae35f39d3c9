#pragma once

#include <QString>
#include <QStringList>

// Lines of text for a receipt printer's paper, a fixed number of characters
// wide: nothing is ever longer than the line.
namespace PaperText {

// One line of text no longer than the line; a cut leaves no blank at the end.
QString cut(const QString& text, int columns);

// A name from the register or the settings on one line: tabs and runs of blanks as one blank.
QString clean(const QString& text);

QString centred(const QString& text, int columns);

// A name or an address over as many lines as it needs: broken between words,
// a word longer than the line broken inside it; nothing is cut away.
QStringList wrap(const QString& text, int columns);

// Each line of the wrapped text, centred.
QStringList centredLines(const QString& text, int columns);

// A label and its value, every colon in the same column with a blank before
// it, as wide as the longest label ("Pelanggan") needs: "Kasir     : Ani".
QString field(const QString& label, const QString& value, int columns);

// A field whose value wraps onto following lines, which start under its first
// character.
QStringList fieldLines(const QString& label, const QString& value, int columns);

// Text on the left, an amount flush with the line's end; the text gives way.
QString row(const QString& left, const QString& right, int columns);

} // namespace PaperText
