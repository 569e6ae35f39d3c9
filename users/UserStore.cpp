#include "UserStore.h"

#include "core/Db.h"
#include "core/Globals.h"
#include "core/Password.h"
#include "core/Regional.h"
#include "core/Rights.h"
#include "core/Trail.h"

#include <algorithm>

namespace UserStore {

namespace {

// A null QString would be bound as NULL: empty text stays empty text.
QVariant text(const QString& value)
{
    return value.isNull() ? QVariant(QString(QLatin1String(""))) : QVariant(value);
}

QString roleText(bool owner)
{
    return owner ? QStringLiteral("pemilik") : QStringLiteral("kasir");
}

// What the trail says about an account; never anything of its password.
QString describe(const QString& fullName, bool owner)
{
    return QStringLiteral("nama lengkap: %1; peran: %2").arg(fullName, roleText(owner));
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

qint64 ownerCount()
{
    return Db::scalar(QStringLiteral("SELECT COUNT(*) FROM tvr_user WHERE user_peran = 1"))
        .toLongLong();
}

DeleteCheck verdictFor(const QString& storedName, bool owner)
{
    if (hasWritten(storedName))
        return DeleteCheck::HasWritten;
    if (Db::scalar(QStringLiteral("SELECT COUNT(*) FROM tvr_user")).toLongLong() <= 1)
        return DeleteCheck::LastAccount;
    if (owner && ownerCount() <= 1)
        return DeleteCheck::LastOwner;
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

struct Secret {
    QString plain; // the old plain text, for an account not hashed yet
    QString hash;
};

Secret secretOf(int id)
{
    const RowSet rs = Db::select(
        QStringLiteral("SELECT user_password, user_hash FROM tvr_user WHERE iduser = ?"), {id});
    if (rs.isEmpty())
        return {};
    return {rs.value(0, 0).toString(), rs.value(0, 1).toString()};
}

// A hashed account is checked against its hash only; one not hashed yet
// against its plain text, which is never empty for a real password.
bool matches(const Secret& s, const QString& password)
{
    if (!s.hash.isEmpty())
        return Password::verify(s.hash, password);
    return !s.plain.isEmpty() && s.plain == password;
}

} // namespace

std::optional<User> findUser(const QString& name)
{
    if (name.isEmpty())
        return std::nullopt;
    // The accounts of that name in any letter case. Older data may hold one
    // name in two spellings: then only the exact spelling finds an account.
    const RowSet rs = Db::select(
        QStringLiteral("SELECT iduser, user_name, user_namalengkap, user_peran FROM tvr_user "
                       "WHERE lower(user_name) = lower(?) ORDER BY iduser"),
        {name});
    int found = rs.size() == 1 ? 0 : -1;
    for (int r = 0; r < rs.size(); ++r)
        if (rs.value(r, 1).toString() == name)
            found = r;
    if (found < 0)
        return std::nullopt;
    return User{rs.value(found, 0).toInt(), rs.value(found, 1).toString(),
                rs.value(found, 2).toString(), rs.value(found, 3).toInt() == 1};
}

std::optional<User> findLogin(const QString& name, const QString& password)
{
    // The same rule finds the account as in the user management.
    const std::optional<User> user = findUser(name);
    if (!user || password.isEmpty() || !matches(secretOf(user->id), password))
        return std::nullopt;
    return user;
}

std::optional<User> findOwner(const QString& name, const QString& password)
{
    std::optional<User> user = findLogin(name, password);
    if (!user || !user->owner)
        return std::nullopt;
    return user;
}

int waitAfter(int failures)
{
    if (failures < FreeTries)
        return 0;
    const int doublings = std::min(failures - FreeTries, 4);
    return std::min(5 << doublings, 60);
}

int secondsToWait(const QString& name, const QDateTime& now)
{
    // The failed tries of this name since its last successful login; both
    // are read off the index on (jejak_jenis, jejak_waktu).
    const QVariant lastLogin = Db::scalar(
        QStringLiteral("SELECT MAX(jejak_waktu) FROM tvr_jejak WHERE jejak_jenis = ? AND "
                       "lower(jejak_objek) = lower(?)"),
        {Trail::Kind::Login, name});
    const QString since = lastLogin.isNull() ? QString(QLatin1String("")) : lastLogin.toString();
    const RowSet rs = Db::select(
        QStringLiteral("SELECT COUNT(*), MAX(jejak_waktu) FROM tvr_jejak WHERE jejak_jenis = ? "
                       "AND lower(jejak_objek) = lower(?) AND jejak_waktu > ?"),
        {Trail::Kind::LoginFailed, name, since});
    const int failures = rs.isEmpty() ? 0 : rs.value(0, 0).toInt();
    const int wait = waitAfter(failures);
    if (wait == 0)
        return 0;
    const QDateTime last = QDateTime::fromString(rs.value(0, 1).toString(),
                                                 QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!last.isValid())
        return 0;
    // The trail keeps whole seconds: so is the clock read here.
    const QDateTime at = QDateTime::fromString(Trail::timeText(now),
                                               QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    const qint64 left = at.secsTo(last.addSecs(wait));
    return left > 0 ? int(left) : 0;
}

namespace {

LoginResult loginOnce(const QString& name, const QString& password, const QString& newHash,
                      bool* needsHash, bool ownerCheck = false)
{
    Transaction tx;
    if (const int wait = secondsToWait(name, Trail::now()); wait > 0)
        return {std::nullopt, wait};
    const std::optional<User> user = findUser(name);
    const Secret secret = user ? secretOf(user->id) : Secret{};
    if (!user || password.isEmpty() || !matches(secret, password)) {
        // Kept under the name as typed: the count of tries is by that name.
        Trail::write(Trail::Kind::LoginFailed, name, {}, {}, name);
        tx.commit();
        return {};
    }
    if (ownerCheck) {
        // An owner's permission at the till is no login: nothing more is written.
        if (!user->owner)
            return {};
        return {user, 0};
    }
    if (secret.hash.isEmpty()) {
        if (newHash.isEmpty()) {
            // The hash is made outside the transaction, then the login runs again.
            *needsHash = true;
            return {};
        }
        Db::exec(QStringLiteral("UPDATE tvr_user SET user_hash = ?, user_password = ? "
                                "WHERE iduser = ?"),
                 {newHash, QString(QLatin1String("")), user->id});
    }
    Trail::write(Trail::Kind::Login, user->name, {}, {}, user->name);
    tx.commit();
    return {user, 0};
}

bool changePasswordOnce(const QString& name, const QString& oldPassword,
                        const QString& newHash)
{
    Transaction tx;
    const std::optional<User> user = findLogin(name, oldPassword);
    if (!user)
        return false;
    Db::exec(QStringLiteral("UPDATE tvr_user SET user_hash = ?, user_password = ? WHERE iduser = ?"),
             {newHash, QString(QLatin1String("")), user->id});
    Trail::write(Trail::Kind::PasswordChanged, user->name);
    tx.commit();
    return true;
}

bool addUserOnce(const QString& name, const QString& hash, const QString& fullName, bool owner)
{
    Transaction tx;
    Rights::require(Rights::Action::ManageUsers);
    // Two tills adding one name take turns; the name is stored as typed.
    Db::lockKey(QStringLiteral("tvr_user"), name);
    if (nameTaken(name))
        return false;
    Db::exec(QStringLiteral("INSERT INTO tvr_user (user_name, user_password, user_namalengkap, "
                            "user_date, user_author, user_peran, user_hash) "
                            "VALUES (?, ?, ?, ?, ?, ?, ?)"),
             {text(name), QString(QLatin1String("")), text(fullName), Regional::today(),
              text(LoginUserName), owner ? 1 : 0, hash});
    Trail::write(Trail::Kind::UserAdded, name, {}, describe(fullName, owner));
    tx.commit();
    return true;
}

Update updateUserOnce(const QString& name, const QString& hash, const QString& fullName,
                      bool owner)
{
    Transaction tx;
    Rights::require(Rights::Action::ManageUsers);
    const std::optional<User> user = findUser(name);
    if (!user)
        return Update::NoSuchUser;
    // The owners are counted inside the transaction, so two tills cannot
    // each demote one of the last two.
    Db::select(QStringLiteral("SELECT iduser FROM tvr_user WHERE user_peran = 1") +
               Db::lockRows());
    if (user->owner && !owner && ownerCount() <= 1)
        return Update::LastOwner;
    if (hash.isEmpty())
        Db::exec(QStringLiteral("UPDATE tvr_user SET user_namalengkap = ?, user_peran = ? "
                                "WHERE iduser = ?"),
                 {text(fullName), owner ? 1 : 0, user->id});
    else
        Db::exec(QStringLiteral("UPDATE tvr_user SET user_hash = ?, user_password = ?, "
                                "user_namalengkap = ?, user_peran = ? WHERE iduser = ?"),
                 {hash, QString(QLatin1String("")), text(fullName), owner ? 1 : 0, user->id});
    QString after = describe(fullName, owner);
    if (!hash.isEmpty())
        after += QStringLiteral("; password diganti");
    Trail::write(Trail::Kind::UserChanged, user->name, describe(user->fullName, user->owner),
                 after);
    tx.commit();
    return Update::Done;
}

DeleteCheck deleteUserOnce(int id)
{
    Transaction tx;
    Rights::require(Rights::Action::ManageUsers);
    const RowSet rs = Db::select(QStringLiteral("SELECT user_name, user_namalengkap, user_peran "
                                                "FROM tvr_user WHERE iduser = ?") +
                                     Db::lockRows(),
                                 {id});
    if (rs.isEmpty())
        return DeleteCheck::NoSuchUser;
    const QString name = rs.value(0, 0).toString();
    const bool owner = rs.value(0, 2).toInt() == 1;
    if (owner)
        Db::select(QStringLiteral("SELECT iduser FROM tvr_user WHERE user_peran = 1") +
                   Db::lockRows());
    const DeleteCheck check = verdictFor(name, owner);
    if (check != DeleteCheck::Allowed)
        return check;
    Db::exec(QStringLiteral("DELETE FROM tvr_user WHERE iduser = ?"), {id});
    Trail::write(Trail::Kind::UserDeleted, name, describe(rs.value(0, 1).toString(), owner));
    tx.commit();
    return DeleteCheck::Allowed;
}

} // namespace

RowSet listUsers()
{
    return Db::select(
        QStringLiteral("SELECT iduser, user_name, user_namalengkap, user_date, user_author, "
                       "CASE WHEN user_peran = 1 THEN 'Pemilik' ELSE 'Kasir' END AS user_peran "
                       "FROM tvr_user ORDER BY user_name ASC, iduser ASC"));
}

DeleteVerdict checkDelete(const QString& name)
{
    const std::optional<User> user = findUser(name);
    if (!user)
        return {};
    return {verdictFor(user->name, user->owner), user->id, user->name, user->fullName};
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
    case DeleteCheck::LastOwner:
        return QStringLiteral("User '%1' tidak dapat dihapus: pemilik terakhir harus tetap ada.")
            .arg(verdict.name);
    }
    return {};
}

// Each write runs once more when the server cancelled it as a deadlock victim.
// The slow hashes are made before the transaction, so no lock waits on them.

LoginResult login(const QString& name, const QString& password)
{
    bool needsHash = false;
    LoginResult r = Db::retryOnce([&] { return loginOnce(name, password, {}, &needsHash); });
    if (!needsHash)
        return r;
    const QString hash = Password::hash(password);
    return Db::retryOnce([&] { return loginOnce(name, password, hash, &needsHash); });
}

LoginResult checkOwner(const QString& name, const QString& password)
{
    bool needsHash = false;
    return Db::retryOnce([&] { return loginOnce(name, password, {}, &needsHash, true); });
}

bool changePassword(const QString& name, const QString& oldPassword, const QString& newPassword)
{
    const QString hash = Password::hash(newPassword);
    return Db::retryOnce([&] { return changePasswordOnce(name, oldPassword, hash); });
}

bool addUser(const QString& name, const QString& password, const QString& fullName, bool owner)
{
    Rights::require(Rights::Action::ManageUsers);
    const QString hash = Password::hash(password);
    return Db::retryOnce([&] { return addUserOnce(name, hash, fullName, owner); });
}

Update updateUser(const QString& name, const QString& password, const QString& fullName,
                  bool owner)
{
    Rights::require(Rights::Action::ManageUsers);
    const QString hash = password.isEmpty() ? QString() : Password::hash(password);
    return Db::retryOnce([&] { return updateUserOnce(name, hash, fullName, owner); });
}

DeleteCheck deleteUser(int id)
{
    return Db::retryOnce([&] { return deleteUserOnce(id); });
}

} // namespace UserStore
