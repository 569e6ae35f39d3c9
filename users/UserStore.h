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

// A user name finds an account in any letter case when exactly one account
// has that name; where older data hold it in two spellings only the exact one
// finds it. None for an empty or unknown name. Login and the user management
// share this rule; a name is stored as typed and never respelled.
std::optional<User> findUser(const QString& name);

// The account findUser() finds, when `password` is its password (exactly).
std::optional<User> findLogin(const QString& name, const QString& password);

// All accounts for the user list, by user name: iduser, user_name,
// user_namalengkap, user_date, user_author. Passwords are not read.
RowSet listUsers();

// Replaces the password of `name` when `oldPassword` is its current one, in one
// transaction. False, with nothing written, when it is not (or the account is gone).
bool changePassword(const QString& name, const QString& oldPassword, const QString& newPassword);

// Adds an account, its name as typed, stamped with today and LoginUserName.
// False, with nothing written, when the name is already taken in any letter case.
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
    QString name, fullName;
};

DeleteVerdict checkDelete(const QString& name);

// Why the account may not be deleted, in the window's words; empty when it may.
QString refusalText(const DeleteVerdict& verdict);

// Deletes account `id` after making the checks of checkDelete again, all in
// one transaction. Anything but Allowed leaves the table as it was.
DeleteCheck deleteUser(int id);

} // namespace UserStore
