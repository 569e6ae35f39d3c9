#include "ShiftStore.h"

#include "core/Globals.h"
#include "core/Regional.h"

#include <QDateTime>
#include <QTime>

#include <cmath>

namespace ShiftStore {

namespace {
const QString Columns = QStringLiteral(
    "idshift, shift_kasir, shift_status, shift_modal, shift_buka, shift_buka_author, "
    "shift_tutup, shift_tutup_author, shift_harap, shift_hitung, shift_selisih, shift_pecahan");

QString nowText()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

std::optional<Shift> firstShift(const RowSet& rs)
{
    if (rs.isEmpty())
        return std::nullopt;
    const QVariantList& r = rs.rows.first();
    Shift s;
    s.id = r.at(0).toLongLong();
    s.till = r.at(1).toString();
    s.closed = r.at(2).toInt() != 0;
    s.opening = r.at(3).toDouble();
    s.openedAt = r.at(4).toString();
    s.openedBy = r.at(5).toString();
    s.closedAt = r.at(6).toString();
    s.closedBy = r.at(7).toString();
    s.expected = r.at(8).toDouble();
    s.counted = r.at(9).toDouble();
    s.difference = r.at(10).toDouble();
    s.count = r.at(11).toString();
    return s;
}

// Sums are kept in whole cents, so they never print as 1234,4999.
double cents(double v)
{
    return std::round(v * 100) / 100;
}
} // namespace

double MethodTakings::net() const
{
    return cents(sales + corrections);
}

double Summary::expectedCash() const
{
    double cash = shift.opening + cashIn - cashOut;
    for (const MethodTakings& m : methods)
        if (m.cash)
            cash += m.net();
    return cents(cash);
}

std::optional<Shift> openShift(const QString& till)
{
    return firstShift(Db::select(
        QStringLiteral("SELECT %1 FROM tvr_shift WHERE shift_kasir = ? AND shift_status = 0")
            .arg(Columns),
        {till}));
}

std::optional<Shift> shift(qint64 id)
{
    return firstShift(
        Db::select(QStringLiteral("SELECT %1 FROM tvr_shift WHERE idshift = ?").arg(Columns), {id}));
}

QString refusalText(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Done: return {};
    case Outcome::AlreadyOpen:
        return QStringLiteral("Kasir ini sudah memiliki shift yang terbuka.");
    case Outcome::Closed:
        return QStringLiteral("Shift ini sudah ditutup; shift yang sudah ditutup tidak dapat "
                              "diubah.");
    case Outcome::Missing: return QStringLiteral("Shift ini tidak ditemukan.");
    }
    return {};
}

namespace {
Outcome openOnce(const QString& till, double openingCash, qint64* id)
{
    Transaction tx;
    // Two programs opening a shift on the same till take turns: the second
    // finds the first one's shift.
    Db::lockKey(QStringLiteral("tvr_shift"), till);
    if (openShift(till))
        return Outcome::AlreadyOpen;
    const QSqlQuery q = Db::exec(
        QStringLiteral("INSERT INTO tvr_shift (shift_kasir, shift_status, shift_modal, shift_buka, "
                       "shift_buka_author) VALUES (?, 0, ?, ?, ?)"),
        {till, cents(openingCash), nowText(), LoginUserName});
    const qint64 newId = Db::insertedId(q);
    tx.commit();
    if (id)
        *id = newId;
    return Outcome::Done;
}
} // namespace

Outcome open(const QString& till, double openingCash, qint64* id)
{
    return Db::retryOnce([&] { return openOnce(till, openingCash, id); });
}

Outcome lockOpen(qint64 idShift)
{
    const QVariant status = Db::scalar(
        QStringLiteral("SELECT shift_status FROM tvr_shift WHERE idshift = ?") + Db::lockRows(),
        {idShift});
    if (!status.isValid())
        return Outcome::Missing;
    return status.toInt() == 0 ? Outcome::Done : Outcome::Closed;
}

namespace {
Outcome moveCashOnce(qint64 idShift, double amount, const QString& reason)
{
    Transaction tx;
    if (const Outcome o = lockOpen(idShift); o != Outcome::Done)
        return o;
    Db::exec(QStringLiteral("INSERT INTO tvr_kas (kas_idshift, kas_jumlah, kas_keterangan, kas_date, "
                            "kas_jam, kas_author) VALUES (?, ?, ?, ?, ?, ?)"),
             {idShift, cents(amount), reason.trimmed(), Regional::today(),
              QTime::currentTime().toString(QStringLiteral("HH:mm:ss")), LoginUserName});
    tx.commit();
    return Outcome::Done;
}
} // namespace

Outcome moveCash(qint64 idShift, double amount, const QString& reason)
{
    return Db::retryOnce([&] { return moveCashOnce(idShift, amount, reason); });
}

Summary summary(qint64 idShift)
{
    Summary s;
    if (const auto found = shift(idShift))
        s.shift = *found;
    s.visits = Db::scalar(QStringLiteral("SELECT COUNT(*) FROM tvr_visit WHERE visit_idshift = ?"),
                          {idShift})
                   .toInt();
    // One pass over the shift's payments on its index, split by method.
    const RowSet rs = Db::select(
        QStringLiteral("SELECT payment_metode, MAX(payment_tunai), "
                       "SUM(CASE WHEN payment_jenis = 0 THEN payment_jumlah ELSE 0 END), "
                       "SUM(CASE WHEN payment_jenis = 0 THEN 0 ELSE payment_jumlah END) "
                       "FROM tvr_payment WHERE payment_idshift = ? "
                       "GROUP BY payment_metode ORDER BY payment_metode"),
        {idShift});
    for (const QVariantList& r : rs.rows)
        s.methods << MethodTakings{r.at(0).toString(), r.at(1).toInt() != 0, cents(r.at(2).toDouble()),
                                   cents(r.at(3).toDouble())};
    const RowSet kas = Db::select(
        QStringLiteral("SELECT SUM(CASE WHEN kas_jumlah > 0 THEN kas_jumlah ELSE 0 END), "
                       "SUM(CASE WHEN kas_jumlah < 0 THEN -kas_jumlah ELSE 0 END) "
                       "FROM tvr_kas WHERE kas_idshift = ?"),
        {idShift});
    s.cashIn = cents(kas.value(0, 0).toDouble());
    s.cashOut = cents(kas.value(0, 1).toDouble());
    return s;
}

namespace {
Outcome closeOnce(qint64 idShift, double counted, const QString& count, Summary* closed)
{
    Transaction tx;
    if (const Outcome o = lockOpen(idShift); o != Outcome::Done)
        return o;
    Summary s = summary(idShift);
    const double expected = s.expectedCash();
    const double difference = cents(counted - expected);
    const QString now = nowText();
    const QSqlQuery q = Db::exec(
        QStringLiteral("UPDATE tvr_shift SET shift_status = 1, shift_tutup = ?, "
                       "shift_tutup_author = ?, shift_harap = ?, shift_hitung = ?, "
                       "shift_selisih = ?, shift_pecahan = ? WHERE idshift = ? AND shift_status = 0"),
        {now, LoginUserName, expected, cents(counted), difference, count, idShift});
    if (Db::affected(q) != 1)
        return Outcome::Closed;
    tx.commit();
    if (closed) {
        s.shift.closed = true;
        s.shift.closedAt = now;
        s.shift.closedBy = LoginUserName;
        s.shift.expected = expected;
        s.shift.counted = cents(counted);
        s.shift.difference = difference;
        s.shift.count = count;
        *closed = s;
    }
    return Outcome::Done;
}
} // namespace

Outcome close(qint64 idShift, double counted, const QString& count, Summary* closed)
{
    return Db::retryOnce([&] { return closeOnce(idShift, counted, count, closed); });
}

RowSet list(const QDate& from, const QDate& to)
{
    // shift_buka begins with its date: a range of text from the first day to
    // the day after the last.
    return Db::select(
        QStringLiteral("SELECT idshift, shift_kasir, shift_buka, shift_buka_author, shift_tutup, "
                       "shift_tutup_author, shift_modal, shift_harap, shift_hitung, shift_selisih, "
                       "shift_status FROM tvr_shift WHERE shift_buka >= ? AND shift_buka < ? "
                       "ORDER BY shift_buka DESC, idshift DESC"),
        {Regional::dateText(from), Regional::dateText(to.addDays(1))});
}

const QList<int>& denominations()
{
    static const QList<int> list = {100000, 50000, 20000, 10000, 5000, 2000, 1000, 500, 200, 100};
    return list;
}

QString countText(const QList<QPair<int, int>>& pieces)
{
    QStringList parts;
    for (const auto& [value, n] : pieces)
        if (n != 0)
            parts << QStringLiteral("%1x%2").arg(value).arg(n);
    return parts.join(QLatin1Char(' '));
}

double countTotal(const QList<QPair<int, int>>& pieces)
{
    qint64 total = 0;
    for (const auto& [value, n] : pieces)
        total += qint64(value) * n;
    return double(total);
}

} // namespace ShiftStore
