#pragma once

#include "core/Db.h"

#include <QString>

#include <optional>

// Every SQL text about user accounts.
namespace UserStore {

struct User {
    int id = 0;
    QString name;
    QString fullName;
};

// The account with exactly this name and password, if any.
std::optional<User> findLogin(const QString& name, const QString& password);

// The account of that user name, matched without regard to letter case (the
// exact spelling first), or none for an empty or unknown name.
std::optional<User> findUser(const QString& name);

// All accounts for the user list, by user name: iduser, user_name,
// user_namalengkap, user_date, user_author. Passwords are not read.
RowSet listUsers();

// Replaces the password of `name` when `oldPassword` is its current one, in one
// transaction. False, with nothing written, when it is not (or the account is gone).
bool changePassword(const QString& name, const QString& oldPassword, const QString& newPassword);

// Adds an account stamped with today and LoginUserName. False, with nothing
// written, when the name is already taken in any letter case.
bool addUser(const QString& name, const QString& password, const QString& fullName);

// Sets the password and full name of the account `name`. False, with nothing
// written, when there is no such account.
bool updateUser(const QString& name, const QString& password, const QString& fullName);

// Whether an account may be deleted: it exists, no stock, variant, bottle type
// or sale row names it as author, and it is not the last account.
enum class DeleteCheck { Allowed, NoSuchUser, HasWritten, LastAccount };

struct DeleteVerdict {
    DeleteCheck check = DeleteCheck::NoSuchUser;
    int id = 0; // the account the verdict is about, when it exists
};

DeleteVerdict checkDelete(const QString& name);

// Deletes account `id` after making the checks of checkDelete again, all in
// one transaction. Anything but Allowed leaves the table as it was.
DeleteCheck deleteUser(int id);

} // namespace UserStore
