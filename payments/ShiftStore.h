#pragma once

#include "core/Db.h"

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

// A till's shift: opened with the cash in the drawer, closed with the cash
// counted. Every visit, payment and cash move belongs to the shift it was
// recorded in, so a shift that runs past midnight keeps its sales and a closed
// shift never changes again.
namespace ShiftStore {

struct Shift {
    qint64 id = 0;
    QString till;
    bool closed = false;
    double opening = 0; // cash in the drawer at the opening
    QString openedAt, openedBy;
    QString closedAt, closedBy;
    double expected = 0, counted = 0, difference = 0; // of a closed shift
    QString count; // the counted cash by note and coin
};

// The open shift of a till, if any.
std::optional<Shift> openShift(const QString& till);
std::optional<Shift> shift(qint64 id);

enum class Outcome {
    Done,
    AlreadyOpen, // the till has an open shift
    Closed,      // the shift was closed (on this till or another)
    Missing,
};
QString refusalText(Outcome outcome);

// Opens a shift on the till by the logged-in user.
Outcome open(const QString& till, double openingCash, qint64* id);

// Inside a transaction: locks the shift's row until it ends and says whether
// the shift still takes rows (Done), or is closed or missing.
Outcome lockOpen(qint64 idShift);

// Cash put into the drawer (positive) or taken out (negative) with its reason.
Outcome moveCash(qint64 idShift, double amount, const QString& reason);

// Takings of one method in a shift: the visits' payments, less refunds and
// corrections (the differences booked for their items).
struct MethodTakings {
    QString method;
    bool cash = false;
    double sales = 0;
    double corrections = 0;
    double net() const;
};

struct Summary {
    Shift shift;
    int visits = 0;
    QList<MethodTakings> methods; // by method name
    double cashIn = 0, cashOut = 0; // moves of the drawer, both positive
    // Opening cash + cash takings + cash put in - cash taken out.
    double expectedCash() const;
};

// Everything the close shows and keeps, read from the shift's own rows.
Summary summary(qint64 idShift);

// Closes the shift with the counted cash: the expected cash and the difference
// are computed from the rows in the same transaction and kept with it. A shift
// closed already is refused and left as it was.
Outcome close(qint64 idShift, double counted, const QString& count, Summary* closed);

// The shifts of every till opened in a period, newest first, with their
// figures: idshift, shift_kasir, shift_buka, shift_buka_author, shift_tutup,
// shift_tutup_author, shift_modal, shift_harap, shift_hitung, shift_selisih,
// shift_status.
RowSet list(const QDate& from, const QDate& to);

// Notes and coins of the rupiah, largest first, for counting the drawer.
const QList<int>& denominations();
// The count "100000x2 500x3" of the pieces per denomination (none left out
// when zero), and its total.
QString countText(const QList<QPair<int, int>>& pieces);
double countTotal(const QList<QPair<int, int>>& pieces);

} // namespace ShiftStore
