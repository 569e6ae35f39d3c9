// The user accounts on the large database: opening the user list, the lookup
// run on every keystroke of a user name, the delete checks that look for rows
// an account has written, and a change of password, durably committed.
#include "Bench.h"

#include "core/Db.h"
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
        DeleteTarget);
    int id = 0;
    Bench::measure(
        "delete an account that has written nothing (checks + delete, committed)", 15,
        [&] { UserStore::deleteUser(id); }, DeleteTarget,
        [&] {
            UserStore::addUser(QStringLiteral("idle%1").arg(++n), QStringLiteral("x"),
                               QStringLiteral("Idle"));
            id = UserStore::findUser(QStringLiteral("idle%1").arg(n))->id;
        });
    Db::close();
}

} // namespace

BENCH_SUITE(users);
