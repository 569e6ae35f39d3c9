#pragma once

#include <QDateTime>
#include <QString>
#include <QVariantList>

#include <functional>

// The trail of changes (tvr_jejak): who did what, when, at which till, what
// it was before and after, and why. A row is written inside the transaction
// of the change it records, so the change and its row are kept or lost
// together; the database refuses to change or delete a row afterwards.
namespace Trail {

// The kinds of row (jejak_jenis).
namespace Kind {
inline const QString Login = QStringLiteral("login");
inline const QString LoginFailed = QStringLiteral("login gagal");
inline const QString SaleCorrected = QStringLiteral("koreksi penjualan");
inline const QString SaleDeleted = QStringLiteral("hapus penjualan");
inline const QString Refund = QStringLiteral("pengembalian bayar");
inline const QString LedgerDeleted = QStringLiteral("hapus kartu stock");
inline const QString StockReset = QStringLiteral("reset stock");
inline const QString RegisterChanged = QStringLiteral("ubah register");
inline const QString RegisterDeleted = QStringLiteral("hapus register");
inline const QString UserAdded = QStringLiteral("tambah user");
inline const QString UserChanged = QStringLiteral("ubah user");
inline const QString UserDeleted = QStringLiteral("hapus user");
inline const QString PasswordChanged = QStringLiteral("ganti password");
} // namespace Kind

// Every kind, in the order the trail window offers them.
QStringList kinds();

// Longest reason a user can give (jejak_alasan).
inline constexpr int MaxReason = 100;

// Writes one row in the caller's open transaction: jejak_author is `author`
// (the logged-in user when empty), jejak_izin the owner of the live
// permission, jejak_kasir the till, jejak_alasan the reason of the live
// Reason scope. Throws DbError when there is no open transaction or the row
// cannot be written, so the change it records is not done either.
void write(const QString& kind, const QString& object, const QString& before = {},
           const QString& after = {}, const QString& author = {});

// One row read as "column=value; ..." for jejak_sebelum/jejak_sesudah;
// empty when there is no row.
QString rowText(const QString& sql, const QVariantList& values);

// The till's name written in each row (Config's till name), set at start-up.
void setTillName(const QString& name);
QString tillName();

// The clock of the trail's rows and of the login's waits.
QDateTime now();
void setClock(std::function<QDateTime()> clock);

// Text of jejak_waktu.
QString timeText(const QDateTime& when);

// The reason the user typed for the one deletion or reset done while it lives.
class Reason {
public:
    explicit Reason(const QString& text);
    ~Reason();
    Reason(const Reason&) = delete;
    Reason& operator=(const Reason&) = delete;
};
QString currentReason();

} // namespace Trail
