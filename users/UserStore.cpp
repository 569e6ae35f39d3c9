#include "UserStore.h"

#include "core/Db.h"
#include "core/Globals.h"
#include "core/Regional.h"

namespace UserStore {

namespace {

// A null QString would be bound as NULL: empty text stays empty text.
QVariant text(const QString& value)
{
    return value.isNull() ? QVariant(QString(QLatin1String(""))) : QVariant(value);
}

// True when any stock, variant, bottle type or sale row names `name` as author.
// Customers and the accounts a user created do not count.
bool hasWritten(const QString& name)
{
    static const char* const checks[] = {
        "SELECT EXISTS (SELECT 1 FROM tvr_stock WHERE stock_author = ?)",
        "SELECT EXISTS (SELECT 1 FROM tvr_dtvariant WHERE variant_author = ?)",
        "SELECT EXISTS (SELECT 1 FROM tvr_dtbotol WHERE botol_author = ?)",
        "SELECT EXISTS (SELECT 1 FROM tvr_sales WHERE sales_author = ?)",
    };
    for (const char* sql : checks)
        if (Db::scalar(QString::fromLatin1(sql), {name}).toInt() != 0)
            return true;
    return false;
}

DeleteCheck verdictFor(const QString& storedName)
{
    if (hasWritten(storedName))
        return DeleteCheck::HasWritten;
    if (Db::scalar(QStringLiteral("SELECT COUNT(*) FROM tvr_user")).toLongLong() <= 1)
        return DeleteCheck::LastAccount;
    return DeleteCheck::Allowed;
}

// Whether any account has the name in any letter case.
bool nameTaken(const QString& name)
{
    return Db::scalar(QStringLiteral("SELECT 1 FROM tvr_user WHERE lower(user_name) = lower(?) "
                                     "LIMIT 1"),
                      {name})
        .isValid();
}

} // namespace

std::optional<User> findUser(const QString& name)
{
    if (name.isEmpty())
        return std::nullopt;
    // The accounts of that name in any letter case. Older data may hold one
    // name in two spellings: then only the exact spelling finds an account.
    const RowSet rs = Db::select(
        QStringLiteral("SELECT iduser, user_name, user_namalengkap FROM tvr_user "
                       "WHERE lower(user_name) = lower(?) ORDER BY iduser"),
        {name});
    int found = rs.size() == 1 ? 0 : -1;
    for (int r = 0; r < rs.size(); ++r)
        if (rs.value(r, 1).toString() == name)
            found = r;
    if (found < 0)
        return std::nullopt;
    return User{rs.value(found, 0).toInt(), rs.value(found, 1).toString(),
                rs.value(found, 2).toString()};
}

std::optional<User> findLogin(const QString& name, const QString& password)
{
    // The same rule finds the account as in the user management.
    const std::optional<User> user = findUser(name);
    if (!user || !Db::scalar(QStringLiteral("SELECT 1 FROM tvr_user WHERE iduser = ? AND "
                                            "user_password = ?"),
                             {user->id, password})
                      .isValid())
        return std::nullopt;
    return user;
}

RowSet listUsers()
{
    return Db::select(
        QStringLiteral("SELECT iduser, user_name, user_namalengkap, user_date, user_author "
                       "FROM tvr_user ORDER BY user_name ASC, iduser ASC"));
}

namespace {

bool changePasswordOnce(const QString& name, const QString& oldPassword,
                        const QString& newPassword)
{
    Transaction tx;
    const std::optional<User> user = findLogin(name, oldPassword);
    if (!user)
        return false;
    Db::exec(QStringLiteral("UPDATE tvr_user SET user_password = ? WHERE iduser = ?"),
             {text(newPassword), user->id});
    tx.commit();
    return true;
}

bool addUserOnce(const QString& name, const QString& password, const QString& fullName)
{
    Transaction tx;
    // Two tills adding one name take turns; the name is stored as typed.
    Db::lockKey(QStringLiteral("tvr_user"), name);
    if (nameTaken(name))
        return false;
    Db::exec(QStringLiteral("INSERT INTO tvr_user (user_name, user_password, user_namalengkap, "
                            "user_date, user_author) VALUES (?, ?, ?, ?, ?)"),
             {text(name), text(password), text(fullName), Regional::today(), text(LoginUserName)});
    tx.commit();
    return true;
}

bool updateUserOnce(const QString& name, const QString& password, const QString& fullName)
{
    Transaction tx;
    const std::optional<User> user = findUser(name);
    if (!user)
        return false;
    Db::exec(QStringLiteral("UPDATE tvr_user SET user_password = ?, user_namalengkap = ? "
                            "WHERE iduser = ?"),
             {text(password), text(fullName), user->id});
    tx.commit();
    return true;
}

DeleteCheck deleteUserOnce(int id)
{
    Transaction tx;
    const QVariant name =
        Db::scalar(QStringLiteral("SELECT user_name FROM tvr_user WHERE iduser = ?"), {id});
    if (!name.isValid())
        return DeleteCheck::NoSuchUser;
    const DeleteCheck check = verdictFor(name.toString());
    if (check != DeleteCheck::Allowed)
        return check;
    Db::exec(QStringLiteral("DELETE FROM tvr_user WHERE iduser = ?"), {id});
    tx.commit();
    return DeleteCheck::Allowed;
}

} // namespace

DeleteVerdict checkDelete(const QString& name)
{
    const std::optional<User> user = findUser(name);
    if (!user)
        return {};
    return {verdictFor(user->name), user->id, user->name, user->fullName};
}

QString refusalText(const DeleteVerdict& verdict)
{
    switch (verdict.check) {
    case DeleteCheck::Allowed: return {};
    case DeleteCheck::NoSuchUser: return QStringLiteral("Username tidak ditemukan!");
    case DeleteCheck::HasWritten:
        return QStringLiteral("User '%1' tidak dapat dihapus: namanya tercatat sebagai penulis "
                              "rekaman stock, variant, tipe botol atau penjualan.")
            .arg(verdict.name);
    case DeleteCheck::LastAccount:
        return QStringLiteral("User '%1' tidak dapat dihapus: user terakhir harus tetap ada.")
            .arg(verdict.name);
    }
    return {};
}

// Each write runs once more when the server cancelled it as a deadlock victim.

bool changePassword(const QString& name, const QString& oldPassword, const QString& newPassword)
{
    return Db::retryOnce([&] { return changePasswordOnce(name, oldPassword, newPassword); });
}

bool addUser(const QString& name, const QString& password, const QString& fullName)
{
    return Db::retryOnce([&] { return addUserOnce(name, password, fullName); });
}

bool updateUser(const QString& name, const QString& password, const QString& fullName)
{
    return Db::retryOnce([&] { return updateUserOnce(name, password, fullName); });
}

DeleteCheck deleteUser(int id)
{
    return Db::retryOnce([&] { return deleteUserOnce(id); });
}

} // namespace UserStore
