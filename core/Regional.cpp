#include "Regional.h"

#include <cmath>

namespace Regional {

const QLocale& locale()
{
    static const QLocale id(QLocale::Indonesian, QLocale::Indonesia);
    return id;
}

QString amount(double v)
{
    return locale().toString(v, 'f', 2);
}

QString whole(double v)
{
    return locale().toString(v, 'f', 0);
}

QString plain(double v)
{
    static const QLocale bare = [] {
        QLocale l(QLocale::Indonesian, QLocale::Indonesia);
        l.setNumberOptions(QLocale::OmitGroupSeparator);
        return l;
    }();
    return bare.toString(v, 'f', QLocale::FloatingPointShortest);
}

double read(const QString& text)
{
    QString t = text.trimmed();
    t.remove(QLatin1Char('.'));
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    // Only digits, one sign and one decimal point make a number here; this also
    // keeps "nan", "inf" and exponents out.
    static const QString allowed = QStringLiteral("0123456789.-+");
    for (const QChar c : t)
        if (!allowed.contains(c))
            return 0;
    bool ok = false;
    const double v = t.toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0;
}

QString dateText(const QDate& date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

QString today()
{
    return dateText(QDate::currentDate());
}

bool isIndonesian(const QLocale& userLocale)
{
    return userLocale.language() == QLocale::Indonesian &&
           userLocale.territory() == QLocale::Indonesia;
}

} // namespace Regional
