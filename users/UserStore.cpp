#include "UserStore.h"

#include "core/Db.h"

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

} // namespace UserStore
