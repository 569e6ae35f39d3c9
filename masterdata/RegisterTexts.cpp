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

QString duplicateKey(const QString& keyCaption, const QString& key)
{
    return QStringLiteral("%1 '%2' sudah terdaftar (huruf besar dan kecil tidak dibedakan).\n"
                          "Tidak ada data yang disimpan.")
        .arg(keyCaption, key);
}

QString listNotRefreshed(const QString& reason)
{
    return QStringLiteral("Perubahan sudah tersimpan, tetapi daftar tidak dapat dimuat ulang.\n\n"
                          "Keterangan: %1")
        .arg(reason);
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
