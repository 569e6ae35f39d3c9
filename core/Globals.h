#pragma once

#include <QString>

// Process-wide values of the running program. Only one working window is open
// at a time (each is modal), so none of these is ever used by two windows at once.

// Rows per page of the paged lists, from the "listpage" key of cfg.cae.
extern int ListPageSize;

// The built-in bottle type that stands for refilling the customer's own bottle.
extern QString RefillBottleType;

// The user of the last successful login; stamped into every *_author column.
extern QString LoginUserName;
extern QString LoginFullName;

// False while the start-up login window is open, true once it has returned.
extern bool StartupDone;
