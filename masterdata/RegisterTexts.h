#pragma once

#include <QString>
#include <QValidator>

// Texts and small rules shared by the three register windows.
namespace RegisterTexts {

inline const QString DeleteTitle = QStringLiteral("Hapus Rekaman");
inline const QString Deleted = QStringLiteral("Rekaman telah dihapus!");
inline const QString EntryTitle = QStringLiteral("Periksa Entri");
// The row an action was meant for was deleted meanwhile, from another till.
inline const QString Missing =
    QStringLiteral("Rekaman tidak ditemukan; mungkin sudah dihapus dari komputer lain.\n"
                   "Tidak ada data yang diubah.");

// A new key, or a changed one, that another row already holds in any letter case.
QString duplicateKey(const QString& keyCaption, const QString& key);

// The list could not be read again after a change that was written.
QString listNotRefreshed(const QString& reason);

// The short question for a row nothing else refers to, or the warning for a
// row whose deletion takes sales or ledger rows with it.
QString deleteQuestion(const QString& name, bool referenced);

} // namespace RegisterTexts

// Lets a price box hold at most `maxDigits` digits, thousands points not
// counted, so a value typed in full is never cut when it is shown with its
// points again.
class DigitsValidator : public QValidator {
    Q_OBJECT
public:
    explicit DigitsValidator(int maxDigits, QObject* parent = nullptr);
    State validate(QString& input, int& pos) const override;

private:
    int m_maxDigits;
};
