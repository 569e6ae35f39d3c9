#pragma once

#include "core/SalesSummary.h"

#include <QDate>
#include <QList>
#include <QString>

// Every SQL text of the owner's figures. Totals per variant, bottle type,
// cashier, customer and day come from the summary the database keeps in step
// with tvr_sales (tvr_ringkasan): a date range is read as the day rows of the
// partial months at its ends, the month rows of its whole months and the year
// rows of its whole years, so a year costs a few rows, not its sales.
namespace AnalysisStore {

// A period, both ends included.
struct Range {
    QDate from, to;
    bool isValid() const { return from.isValid() && to.isValid() && from <= to; }
    // The same days a year earlier (29 February becomes the 28th).
    Range yearBefore() const { return {from.addYears(-1), to.addYears(-1)}; }
};

// A stretch of ringkasan_periode of one length: periods from..to (texts) of `unit`.
struct Piece {
    SalesSummary::Unit unit = SalesSummary::Day;
    QString from, to;
    bool operator==(const Piece&) const = default;
};

// The fewest summary periods that make up `range` exactly: whole years, else
// whole months, else days. Without `days`, the partial months at the ends are
// left out and returned in `rest` as day ranges (customers have no day rows).
QList<Piece> cover(const Range& range, bool days = true, QList<Range>* rest = nullptr);

// What the figures are grouped by.
enum class Grouping { Variant, Bottle, Cashier, Payment, Customer, Weekday, Hour };

// One line of a figure table. For payments `count` counts the visits paid and
// `total` the money net of later corrections; `ml`, `harga` and `pokok` are 0.
struct Figure {
    QString key;  // the id, cashier, method, weekday (1 Monday .. 7) or hour ("09")
    QString name; // what the owner reads: code and name, bottle type, customer
    qint64 count = 0;
    double ml = 0;
    double harga = 0; // before discount
    double total = 0; // charged (sales_hargadiskon)
    double pokok = 0; // cost at the time of sale
};

// The figures of `range` grouped by `grouping`, largest total first. For
// customers only the `top` largest; 0 gives every one; with `only`, just the
// customers of those ids (unnamed: to set a list beside another). Throws DbError.
QList<Figure> figures(Grouping grouping, const Range& range, int top = 0,
                      const QList<qint64>& only = {});

// The takings of each day of the range that has sales, in date order (from
// the summary's day rows).
struct DayTotal {
    QDate day;
    qint64 count = 0;
    double ml = 0, total = 0, pokok = 0;
};
QList<DayTotal> days(const Range& range);

// Sums of `days` by month ("yyyy-MM"), in order.
struct MonthTotal {
    QString month;
    qint64 count = 0;
    double total = 0;
};
QList<MonthTotal> months(const QList<DayTotal>& days);

// One value of stock times cost.
struct Valuation {
    QString jenis; // "Variant" or "Botol"
    int id = 0;
    QString kode, nama;
    double stock = 0, pokok = 0, nilai = 0;
};
// Every variant and bottle type (not the refill type), by kind then code.
QList<Valuation> stockValuation();

// Weekday names: 1 "Senin" .. 7 "Minggu".
QString weekdayName(int dayOfWeek);

} // namespace AnalysisStore
