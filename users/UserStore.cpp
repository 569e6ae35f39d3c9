#include "UserStore.h"

#include "core/Db.h"
#include "core/Globals.h"
#include "core/Regional.h"

namespace UserStore {

std::optional<User> findLogin(const QString& name, const QString& password)
{
    const RowSet rs = Db::select(
        QStringLiteral("SELECT iduser, user_name, user_namalengkap FROM tvr_user "
                       "WHERE user_name = ? AND user_password = ? ORDER BY iduser LIMIT 1"),
        {name, password});
    if (rs.isEmpty())
        return std::nullopt;
    return User{rs.value(0, 0).toInt(), rs.value(0, 1).toString(), rs.value(0, 2).toString()};
}

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

} // namespace

std::optional<User> findUser(const QString& name)
{
    if (name.isEmpty())
        return std::nullopt;
    const RowSet rs = Db::select(
        QStringLiteral("SELECT iduser, user_name, user_namalengkap FROM tvr_user "
                       "WHERE lower(user_name) = lower(?) "
                       "ORDER BY user_name = ? DESC, iduser LIMIT 1"),
        {name, name});
    if (rs.isEmpty())
        return std::nullopt;
    return User{rs.value(0, 0).toInt(), rs.value(0, 1).toString(), rs.value(0, 2).toString()};
}

RowSet listUsers()
{
    return Db::select(
        QStringLiteral("SELECT iduser, user_name, user_namalengkap, user_date, user_author "
                       "FROM tvr_user ORDER BY user_name ASC, iduser ASC"));
}

bool changePassword(const QString& name, const QString& oldPassword, const QString& newPassword)
{
    Transaction tx;
    const QVariant id = Db::scalar(
        QStringLiteral("SELECT iduser FROM tvr_user WHERE user_name = ? AND user_password = ? "
                       "ORDER BY iduser LIMIT 1"),
        {name, oldPassword});
    if (!id.isValid())
        return false;
    Db::exec(QStringLiteral("UPDATE tvr_user SET user_password = ? WHERE iduser = ?"),
             {text(newPassword), id});
    tx.commit();
    return true;
}

bool addUser(const QString& name, const QString& password, const QString& fullName)
{
    Transaction tx;
    if (findUser(name))
        return false;
    Db::exec(QStringLiteral("INSERT INTO tvr_user (user_name, user_password, user_namalengkap, "
                            "user_date, user_author) VALUES (?, ?, ?, ?, ?)"),
             {text(name), text(password), text(fullName), Regional::today(), text(LoginUserName)});
    tx.commit();
    return true;
}

bool updateUser(const QString& name, const QString& password, const QString& fullName)
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

DeleteVerdict checkDelete(const QString& name)
{
    const std::optional<User> user = findUser(name);
    if (!user)
        return {};
    return {verdictFor(user->name), user->id};
}

DeleteCheck deleteUser(int id)
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

} // namespace UserStore
