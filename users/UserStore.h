#pragma once

#include "core/Db.h"

#include <QDateTime>
#include <QString>

#include <optional>

// Every SQL text about user accounts.
namespace UserStore {

struct User {
    int id = 0;
    QString name;
    QString fullName;
    bool owner = false; // user_peran 1 (pemilik)
};

// A user name finds an account in any letter case when exactly one account
// has that name; where older data hold it in two spellings only the exact one
// finds it. None for an empty or unknown name. Login and the user management
// share this rule; a name is stored as typed and never respelled.
std::optional<User> findUser(const QString& name);

// The account findUser() finds, when `password` is its password (exactly):
// checked against its hash, or against the plain text of an account not yet
// hashed. Writes nothing.
std::optional<User> findLogin(const QString& name, const QString& password);

// The owner's account of `name` when `password` is its password; none for a
// cashier, an unknown name or a wrong password. Writes nothing.
std::optional<User> findOwner(const QString& name, const QString& password);

// The number of wrong passwords after which each try waits, and the waits.
inline constexpr int FreeTries = 5;
int waitAfter(int failures); // seconds: 0, then 5, 10, 20, 40, 60 at most

// Seconds the next try for `name` must still wait at `now`: counted from the
// failed logins of the trail since that name's last successful login.
int secondsToWait(const QString& name, const QDateTime& now);

struct LoginResult {
    std::optional<User> user; // set when logged in
    int wait = 0;             // > 0: refused unchecked, try again after so many seconds
};

// A login at the trail's clock: refused unchecked while the name must wait;
// a wrong password writes a failed-login row; a right one writes the login
// row and, for an account still holding a plain-text password, stores its
// hash and empties the plain text, in one transaction.
LoginResult login(const QString& name, const QString& password);

// An owner's permission typed at the till: waits and wrong passwords count as
// for the login (a failed-login row each); a right password of a cashier
// gives no user. A success writes nothing: the allowed action's row names
// the owner.
LoginResult checkOwner(const QString& name, const QString& password);

// All accounts for the user list, by user name: iduser, user_name,
// user_namalengkap, user_date, user_author, user_peran ("Pemilik"/"Kasir").
// Passwords are not read.
RowSet listUsers();

// Replaces the password of `name` when `oldPassword` is its current one, in one
// transaction. False, with nothing written, when it is not (or the account is gone).
bool changePassword(const QString& name, const QString& oldPassword, const QString& newPassword);

// Adds an account, its name as typed, stamped with today and LoginUserName,
// a cashier unless `owner`; its password only as a hash. False, with nothing
// written, when the name is already taken in any letter case. Needs the
// right ManageUsers (Rights::Refused otherwise).
bool addUser(const QString& name, const QString& password, const QString& fullName,
             bool owner = false);

enum class Update { Done, NoSuchUser, LastOwner };

// Sets the password (as a hash; kept when empty), full name and role of the
// account `name`. Nothing is written when there is no such account or when
// it would take the role of the last owner. Needs ManageUsers.
Update updateUser(const QString& name, const QString& password, const QString& fullName,
                  bool owner);

// Whether an account may be deleted: it exists, no stock, variant, bottle type
// or sale row names it as author, it is not the last account and not the
// last owner.
enum class DeleteCheck { Allowed, NoSuchUser, HasWritten, LastAccount, LastOwner };

struct DeleteVerdict {
    DeleteCheck check = DeleteCheck::NoSuchUser;
    int id = 0; // the account the verdict is about, when it exists
    QString name, fullName;
};

DeleteVerdict checkDelete(const QString& name);

// Why the account may not be deleted, in the window's words; empty when it may.
QString refusalText(const DeleteVerdict& verdict);

// Deletes account `id` after making the checks of checkDelete again, with
// its trail row (the live Trail::Reason as the reason), all in one
// transaction. Anything but Allowed leaves the table as it was. Needs ManageUsers.
DeleteCheck deleteUser(int id);

} // namespace UserStore
