#include "RegisterTexts.h"

#include <algorithm>

namespace RegisterTexts {

QString deleteQuestion(const QString& name, bool referenced)
{
    const QString question =
        QStringLiteral("Yakin akan menghapus rekaman '") + name + QStringLiteral("' ini?");
    if (!referenced)
        return question;
    return QStringLiteral("Peringatan!\n\nPenghapusan data akan berpengaruh\n"
                          "terhadap data yang lain.\n\n") +
           question;
}

} // namespace RegisterTexts

DigitsValidator::DigitsValidator(int maxDigits, QObject* parent)
    : QValidator(parent), m_maxDigits(maxDigits)
{
}

QValidator::State DigitsValidator::validate(QString& input, int&) const
{
    const auto digits =
        std::count_if(input.cbegin(), input.cend(), [](QChar c) { return c.isDigit(); });
    return digits > m_maxDigits ? Invalid : Acceptable;
}
