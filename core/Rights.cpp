#include "Rights.h"

namespace Rights {

namespace {
Role role = Role::Owner;

// At most one permission lives at a time: each covers one action of one
// modal window.
struct Live {
    bool active = false;
    Action action = Action::ResetStock;
    QString owner;
};
Live live;

OwnerCheck ownerCheck;
} // namespace

Role currentRole()
{
    return role;
}

void setCurrentRole(Role r)
{
    role = r;
}

bool may(Action action)
{
    return role == Role::Owner || (live.active && live.action == action);
}

QString refusal(Action action)
{
    QString what;
    switch (action) {
    case Action::ResetStock: what = QStringLiteral("me-reset stock"); break;
    case Action::DeleteLedgerRow: what = QStringLiteral("menghapus baris kartu stock"); break;
    case Action::AddStock: what = QStringLiteral("menambah atau mengurangi stock"); break;
    case Action::ChangeRegister: what = QStringLiteral("mengubah data dan harga register"); break;
    case Action::DeleteRegister:
        what = QStringLiteral("menghapus customer, variant atau tipe botol");
        break;
    case Action::ManageUsers: what = QStringLiteral("mengatur user dan haknya"); break;
    case Action::SeeCost: what = QStringLiteral("melihat harga pokok dan margin"); break;
    case Action::SeeAnalysis: what = QStringLiteral("melihat laporan dan analisa pemilik"); break;
    case Action::SeeTrail: what = QStringLiteral("melihat jejak perubahan"); break;
    case Action::DeleteDaySales:
        what = QStringLiteral("mengoreksi atau menghapus penjualan di luar shift yang terbuka");
        break;
    case Action::ManageShifts: what = QStringLiteral("mengatur shift dan kas"); break;
    }
    return QStringLiteral("Hanya pemilik toko yang boleh %1. Minta pemilik mengetik username "
                          "dan password-nya untuk mengizinkan tindakan ini sekali.")
        .arg(what);
}

Refused::Refused(Action action) : DbError(refusal(action), {}, RefusedCode), m_action(action) {}

void require(Action action)
{
    if (!may(action))
        throw Refused(action);
}

Grant::Grant(Action action, const QString& owner)
{
    live = {true, action, owner};
}

Grant::~Grant()
{
    live = {};
}

QString grantedBy()
{
    return live.active ? live.owner : QString();
}

void setOwnerCheck(OwnerCheck check)
{
    ownerCheck = std::move(check);
}

Permit::Permit(Action action) : m_action(action)
{
    if (may(action)) {
        m_allowed = true;
        return;
    }
    if (!ownerCheck)
        return;
    if (const std::optional<QString> owner = ownerCheck(action)) {
        m_grant.emplace(action, *owner);
        m_allowed = true;
    }
}

Permit::~Permit() = default;

} // namespace Rights
