#include "Rights.h"

namespace Rights {

namespace {
Role role = Role::Owner;
}

Role currentRole()
{
    return role;
}

void setCurrentRole(Role r)
{
    role = r;
}

bool may(Action)
{
    return role == Role::Owner;
}

QString refusal(Action)
{
    return QStringLiteral("Hanya pemilik toko yang boleh melakukan ini.");
}

} // namespace Rights
