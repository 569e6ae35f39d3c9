// The user accounts on the large database: opening the user list, the lookup
// run on every keystroke of a user name, the delete checks that look for rows
// an account has written, a change of password, durably committed; the login
// with its Argon2id hash, the check of a right, and a month of the trail.
#include "Bench.h"

#include "core/Db.h"
#include "core/Password.h"
#include "core/Rights.h"
#include "core/Trail.h"
#include "users/TrailStore.h"
#include "users/UserStore.h"
#include "users/frmSystemManager.h"

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include <stdexcept>

namespace {

constexpr double OpenTarget = 20;
constexpr double LookupTarget = 1;
constexpr double DeleteTarget = 50;
constexpr double LoginTarget = 300;
constexpr double RightTarget = 1;
constexpr double TrailTarget = 50;

// A trail of a busy shop: 300 rows a day over two years, by four users.
void fillTrail()
{
    Transaction tx;
    const QDateTime start(QDate::currentDate().addYears(-2), QTime(8, 0));
    const QStringList kinds = Trail::kinds();
    QSqlQuery q(Db::connection());
    q.prepare(QStringLiteral("INSERT INTO tvr_jejak (jejak_waktu, jejak_author, jejak_izin, "
                             "jejak_kasir, jejak_jenis, jejak_objek, jejak_sebelum, jejak_sesudah, "
                             "jejak_alasan) VALUES (?, ?, '', 'kasir-1', ?, ?, ?, ?, ?)"));
    for (int day = 0; day < 730; ++day)
        for (int i = 0; i < 300; ++i) {
            q.addBindValue(Trail::timeText(start.addDays(day).addSecs(i * 120)));
            q.addBindValue(QStringLiteral("kasir%1").arg(i % 4));
            q.addBindValue(kinds.at(i % kinds.size()));
            q.addBindValue(QStringLiteral("penjualan %1").arg(day * 300 + i));
            q.addBindValue(QStringLiteral("sales_mililiter=10; sales_hargadiskon=15000"));
            q.addBindValue(QStringLiteral("sales_mililiter=20; sales_hargadiskon=25000"));
            q.addBindValue(i % 3 ? QString() : QStringLiteral("salah ketik"));
            if (!q.exec())
                throw std::runtime_error("cannot fill the trail");
        }
    tx.commit();
}

void users()
{
    // On a copy: an account that has written nothing is added, and deleted again.
    QTemporaryDir dir;
    const QString copy = dir.filePath("users.db");
    if (!QFile::copy(Bench::bigDatabase(), copy))
        throw std::runtime_error("cannot copy the large database");
    Bench::open(copy);
    // As in a database made with the current schema, whenever the cached one was made.
    Db::exec(QStringLiteral("CREATE INDEX IF NOT EXISTS ix_sales_author ON tvr_sales(sales_author)"));
    Db::exec(QStringLiteral("CREATE INDEX IF NOT EXISTS ix_stock_author ON tvr_stock(stock_author)"));
    Db::exec(QStringLiteral("INSERT INTO tvr_user (user_name, user_password, user_namalengkap, "
                            "user_date, user_author) VALUES ('idle', 'idle', 'Idle', "
                            "'2024-01-01', 'admin')"));

    Bench::measure(
        "open the user management window", 25, [] { frmSystemManager w; }, OpenTarget);
    {
        frmSystemManager w;
        w.show();
        Bench::measure(
            "user name lookup (one keystroke)", 50,
            [&] { w.txtUsername->setText(QStringLiteral("kasir1")); }, LookupTarget,
            [&] { w.txtUsername->setText(QStringLiteral("kasir")); });
    }
    Bench::measure(
        "delete check, account with 333 000 sales", 25,
        [] { UserStore::checkDelete(QStringLiteral("kasir1")); }, DeleteTarget);
    Bench::measure(
        "delete check, account that has written nothing", 25,
        [] { UserStore::checkDelete(QStringLiteral("idle")); }, DeleteTarget);
    int n = 0;
    Bench::measure(
        "change password (committed)", 25,
        [&] {
            const QString from = n % 2 ? QStringLiteral("idle2") : QStringLiteral("idle");
            const QString to = n % 2 ? QStringLiteral("idle") : QStringLiteral("idle2");
            ++n;
            UserStore::changePassword(QStringLiteral("idle"), from, to);
        },
        LoginTarget); // the old password checked and the new one hashed: two slow hashes
    int id = 0;
    Bench::measure(
        "delete an account that has written nothing (checks + delete, committed)", 15,
        [&] { UserStore::deleteUser(id); }, DeleteTarget,
        [&] {
            UserStore::addUser(QStringLiteral("idle%1").arg(++n), QStringLiteral("x"),
                               QStringLiteral("Idle"));
            id = UserStore::findUser(QStringLiteral("idle%1").arg(n))->id;
        });

    // The login: the slow hash is the cost, chosen to stay well under the target.
    UserStore::changePassword(QStringLiteral("idle"), n % 2 ? QStringLiteral("idle2")
                                                            : QStringLiteral("idle"),
                              QStringLiteral("rahasia"));
    Bench::measure(
        QStringLiteral("login with an Argon2id hash (opslimit %1, memlimit %2 MiB)")
            .arg(Password::opsLimit())
            .arg(Password::memLimit() / (1024 * 1024)),
        15, [] { UserStore::login(QStringLiteral("idle"), QStringLiteral("rahasia")); },
        LoginTarget);
    Bench::measure(
        "hash a password (Argon2id)", 15, [] { Password::hash(QStringLiteral("rahasia")); },
        LoginTarget);
    Rights::setCurrentRole(Rights::Role::Cashier);
    Bench::measure(
        "check of a right (1000 checks)", 25,
        [] {
            volatile bool any = false;
            for (int i = 0; i < 1000; ++i)
                any = any || Rights::may(Rights::Action::ResetStock);
        },
        RightTarget);
    Rights::setCurrentRole(Rights::Role::Owner);

    fillTrail();
    const QDate to = QDate::currentDate().addDays(-40);
    const TrailStore::Filter month{to.addDays(-30), to, {}, {}};
    Bench::measure(
        "trail of a month (9 000 of 219 000 rows): count and first page", 25,
        [&] {
            TrailStore::count(month);
            TrailStore::page(month, 0, 50);
        },
        TrailTarget);
    Bench::measure(
        "trail of a month, one user and one kind: count and first page", 25,
        [&] {
            const TrailStore::Filter f{month.from, month.to, QStringLiteral("kasir1"),
                                       Trail::kinds().at(1)};
            TrailStore::count(f);
            TrailStore::page(f, 0, 50);
        },
        TrailTarget);
    Bench::measure(
        "trail of a month: last page", 25,
        [&] { TrailStore::page(month, 9000 - 50, 50); }, TrailTarget);
    Db::close();
}

} // namespace

BENCH_SUITE(users);
