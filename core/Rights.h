#pragma once

#include <QString>

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

// The role of the logged-in user (LoginUserName), kept at login.
Role currentRole();
void setCurrentRole(Role role);

// Whether the logged-in user may do `action`. Reads no database.
bool may(Action action);

// The Indonesian refusal of `action` for a cashier.
QString refusal(Action action);

} // namespace Rights
