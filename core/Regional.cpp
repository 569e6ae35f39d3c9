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

namespace {

bool isNumberText(const QString& t)
{
    static const QString allowed = QStringLiteral("0123456789.,-+");
    for (const QChar c : t)
        if (!allowed.contains(c))
            return false;
    return true;
}

// Every "." of `t` stands in the whole part, between groups of three digits
// whose first has one to three: 1.250, 12.500.000.
bool pointsGroupThousands(const QString& t)
{
    qsizetype start = 0;
    if (!t.isEmpty() && (t.at(0) == QLatin1Char('-') || t.at(0) == QLatin1Char('+')))
        start = 1;
    const qsizetype comma = t.indexOf(QLatin1Char(','), start);
    if (comma >= 0 && t.indexOf(QLatin1Char('.'), comma) >= 0)
        return false; // a point among the decimals
    const QString whole = t.mid(start, comma < 0 ? -1 : comma - start);
    if (!whole.contains(QLatin1Char('.')))
        return true;
    const QStringList groups = whole.split(QLatin1Char('.'));
    if (groups.first().isEmpty() || groups.first().size() > 3)
        return false;
    for (qsizetype i = 1; i < groups.size(); ++i)
        if (groups.at(i).size() != 3)
            return false;
    return true;
}

} // namespace

bool hasMisplacedPoint(const QString& text)
{
    const QString t = text.trimmed();
    return t.contains(QLatin1Char('.')) && isNumberText(t) && !pointsGroupThousands(t);
}

QString pointRefusal(const QString& text, bool decimals)
{
    if (!hasMisplacedPoint(text))
        return {};
    const QString t = text.trimmed();
    QString message =
        QStringLiteral("Angka \"%1\" tidak dapat dibaca: titik (.) hanya memisahkan ribuan, "
                       "tiga angka sekelompok (1.250 atau 12.500.000).")
            .arg(t);
    if (!decimals)
        return message + QStringLiteral(" Isian ini berupa bilangan bulat; koma (,) adalah "
                                        "tanda desimal dan tidak dipakai di sini.");
    // One point and no comma, not before three digits (where a misgrouped
    // thousand may be meant): the comma that was meant.
    if (t.count(QLatin1Char('.')) == 1 && !t.contains(QLatin1Char(',')) &&
        t.size() - t.indexOf(QLatin1Char('.')) - 1 != 3)
        return message + QStringLiteral(" Gunakan koma sebagai tanda desimal: %1")
                             .arg(QString(t).replace(QLatin1Char('.'), QLatin1Char(',')));
    return message + QStringLiteral(" Gunakan koma sebagai tanda desimal, misalnya 7,5.");
}

double read(const QString& text)
{
    QString t = text.trimmed();
    if (!isNumberText(t) || !pointsGroupThousands(t))
        return 0;
    t.remove(QLatin1Char('.'));
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    // Only digits, a sign and a decimal point reach toDouble(), which keeps
    // "nan", "inf" and exponents out.
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
