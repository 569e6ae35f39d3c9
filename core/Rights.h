#pragma once

#include "core/Db.h"

#include <QString>

#include <functional>
#include <optional>

// What each role may do, checked in one place. An owner (pemilik) may do
// everything; a cashier (kasir) sells, corrects and deletes items of the open
// shift's visits, searches, prints receipts and changes their own password.
namespace Rights {

enum class Role { Cashier = 0, Owner = 1 };

// The commands a cashier may not give.
enum class Action {
    ResetStock,       // reset a variant's or bottle type's stock to zero
    DeleteLedgerRow,  // delete a row of the stock ledger
    AddStock,         // put stock in or take it out through the ledger
    ChangeRegister,   // change a register row's price, cost or minimum
    DeleteRegister,   // delete a customer, variant or bottle type
    ManageUsers,      // add, change or delete accounts and their rights
    SeeCost,          // see and change cost prices, margins, stock value
    SeeAnalysis,      // the owner's figures, reports of every day
    SeeTrail,         // list and save the trail
    DeleteDaySales,   // delete or correct sales outside the open shift
    ManageShifts,     // list every till's shifts, cash out of the drawer
};

// Every action, for tables and tests.
inline constexpr Action AllActions[] = {
    Action::ResetStock,     Action::DeleteLedgerRow, Action::AddStock,   Action::ChangeRegister,
    Action::DeleteRegister, Action::ManageUsers,     Action::SeeCost,    Action::SeeAnalysis,
    Action::SeeTrail,       Action::DeleteDaySales,  Action::ManageShifts,
};

// The role of the logged-in user (LoginUserName), kept at login.
Role currentRole();
void setCurrentRole(Role role);

// Whether the logged-in user may do `action`: an owner always, a cashier
// while an owner's Grant for it lives. Reads no database.
bool may(Action action);

// The Indonesian refusal of `action` for a cashier.
QString refusal(Action action);

// A refusal met inside a transaction: a DbError so that every handler's one
// catch reports it and the transaction rolls back. code() is RefusedCode.
inline const QString RefusedCode = QStringLiteral("TVR-HAK");
class Refused : public DbError {
public:
    explicit Refused(Action action);
    Action action() const { return m_action; }

private:
    Action m_action;
};

// Throws Refused unless may(action). Stores call it inside the transaction of
// the action, so a command reached by any path is checked where it is done.
void require(Action action);

// An owner's permission for a cashier's one forbidden action: while the
// object lives may(action) is true and the trail rows written name the owner
// in jejak_izin. A window keeps it around the one store call it allows.
class Grant {
public:
    Grant(Action action, const QString& owner);
    ~Grant();
    Grant(const Grant&) = delete;
    Grant& operator=(const Grant&) = delete;
};

// The owner of the live Grant, empty when none lives.
QString grantedBy();

// How the running program asks an owner at the till for a permission: gives
// the owner's user name once their password is checked, nothing when
// cancelled. Installed by the main window (a window of users/ does it).
using OwnerCheck = std::function<std::optional<QString>(Action)>;
void setOwnerCheck(OwnerCheck check);

// What a window holds while it does one guarded action: allowed at once for
// an owner, else after the owner's permission. Not allowed when the owner
// check is missing or cancelled.
class Permit {
public:
    explicit Permit(Action action);
    ~Permit();
    Permit(const Permit&) = delete;
    Permit& operator=(const Permit&) = delete;
    explicit operator bool() const { return m_allowed; }
    Action action() const { return m_action; }

private:
    Action m_action;
    bool m_allowed = false;
    std::optional<Grant> m_grant;
};

} // namespace Rights
