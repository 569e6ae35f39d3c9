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

QString field(const QString& label, const QString& value, int columns)
{
    constexpr int LabelWidth = 10;
    return cut(label.leftJustified(LabelWidth) + QStringLiteral(": ") + clean(value), columns);
}

QString row(const QString& left, const QString& right, int columns)
{
    const int room = std::max(0, columns - int(right.size()) - 1);
    return (cut(left, room).leftJustified(room) + QLatin1Char(' ') + right).right(columns);
}

} // namespace PaperText
