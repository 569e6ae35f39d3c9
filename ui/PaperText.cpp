#include "PaperText.h"

#include <algorithm>

namespace PaperText {

QString cut(const QString& text, int columns)
{
    QString t = text.left(columns);
    while (t.endsWith(QLatin1Char(' ')))
        t.chop(1);
    return t;
}

QString clean(const QString& text)
{
    return text.simplified();
}

QString centred(const QString& text, int columns)
{
    const QString t = cut(clean(text), columns);
    return QString((columns - t.size()) / 2, QLatin1Char(' ')) + t;
}

QStringList wrap(const QString& text, int columns)
{
    columns = std::max(columns, 1);
    QStringList out;
    QString line;
    for (QString word : clean(text).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() <= columns) {
            line += QLatin1Char(' ') + word;
            continue;
        }
        if (!line.isEmpty())
            out << line;
        while (word.size() > columns) {
            out << word.left(columns);
            word.remove(0, columns);
        }
        line = word;
    }
    if (!line.isEmpty() || out.isEmpty())
        out << line;
    return out;
}

QStringList centredLines(const QString& text, int columns)
{
    QStringList out;
    for (const QString& line : wrap(text, columns))
        out << centred(line, columns);
    return out;
}

namespace {
constexpr int LabelWidth = 10;
}

QString field(const QString& label, const QString& value, int columns)
{
    return cut(label.leftJustified(LabelWidth) + QStringLiteral(": ") + clean(value), columns);
}

QStringList fieldLines(const QString& label, const QString& value, int columns)
{
    const QString head = label.leftJustified(LabelWidth) + QStringLiteral(": ");
    if (clean(value).isEmpty() || columns <= head.size())
        return {field(label, value, columns)};
    QStringList out;
    for (const QString& part : wrap(value, columns - int(head.size())))
        out << (out.isEmpty() ? head : QString(head.size(), QLatin1Char(' '))) + part;
    return out;
}

QString row(const QString& left, const QString& right, int columns)
{
    const int room = std::max(0, columns - int(right.size()) - 1);
    return (cut(left, room).leftJustified(room) + QLatin1Char(' ') + right).right(columns);
}

} // namespace PaperText
