#include "Trail.h"

#include "core/Config.h"
#include "core/Db.h"
#include "core/Globals.h"
#include "core/Rights.h"

#include <QStringList>

namespace Trail {

namespace {
QString till;
bool tillSet = false;
std::function<QDateTime()> clock;
QString reason;

QVariant text(const QString& value)
{
    return value.isNull() ? QVariant(QString(QLatin1String(""))) : QVariant(value);
}
} // namespace

QStringList kinds()
{
    return {Kind::Login,         Kind::LoginFailed,   Kind::SaleCorrected,   Kind::SaleDeleted,
            Kind::Refund,        Kind::LedgerDeleted, Kind::StockReset,      Kind::RegisterChanged,
            Kind::RegisterDeleted, Kind::UserAdded,   Kind::UserChanged,     Kind::UserDeleted,
            Kind::PasswordChanged};
}

void write(const QString& kind, const QString& object, const QString& before,
           const QString& after, const QString& author)
{
    if (!Db::inTransaction())
        throw DbError(QStringLiteral("Jejak perubahan hanya ditulis di dalam transaksi."));
    Db::exec(QStringLiteral("INSERT INTO tvr_jejak (jejak_waktu, jejak_author, jejak_izin, "
                            "jejak_kasir, jejak_jenis, jejak_objek, jejak_sebelum, jejak_sesudah, "
                            "jejak_alasan) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
             {timeText(now()), text(author.isEmpty() ? LoginUserName : author),
              text(Rights::grantedBy()), text(tillName()), text(kind), text(object), text(before),
              text(after), text(reason)});
}

QString rowText(const QString& sql, const QVariantList& values)
{
    const RowSet rs = Db::select(sql, values);
    if (rs.isEmpty())
        return {};
    QStringList parts;
    for (int c = 0; c < rs.columns.size(); ++c)
        parts << rs.columns.at(c) + QLatin1Char('=') + rs.value(0, c).toString();
    return parts.join(QStringLiteral("; "));
}

void setTillName(const QString& name)
{
    till = name;
    tillSet = true;
}

QString tillName()
{
    if (!tillSet)
        setTillName(Config::tillName(Config::Values{}));
    return till;
}

QDateTime now()
{
    return clock ? clock() : QDateTime::currentDateTime();
}

void setClock(std::function<QDateTime()> c)
{
    clock = std::move(c);
}

QString timeText(const QDateTime& when)
{
    return when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

Reason::Reason(const QString& text)
{
    reason = text;
}

Reason::~Reason()
{
    reason.clear();
}

QString currentReason()
{
    return reason;
}

} // namespace Trail
