#pragma once

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

} // namespace UserStore
