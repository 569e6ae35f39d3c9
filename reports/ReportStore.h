#pragma once

#include <QList>
#include <QString>

// Every SQL text of the sales report; every sale counts, whatever its
// sales_status. A day's report reads its sales (a bound sales_date, served by
// its index); a month or a year reads the day or month totals that the
// database keeps in step with tvr_sales (tvr_ringkasan), so its cost does not
// grow with the sales of the period.
namespace ReportStore {

enum class Mode { Daily, Monthly, Yearly };

// The chosen period: a year, optionally a month (1..12), optionally a day (1..31).
struct Period {
    int year = 0;
    int month = 0; // 0: the whole year
    int day = 0;   // 0: the whole month (or year)

    Mode mode() const
    {
        return month > 0 && day > 0 ? Mode::Daily : month > 0 ? Mode::Monthly : Mode::Yearly;
    }
    // "yyyy", "yyyy-MM" or "yyyy-MM-dd": the prefix of sales_date this period covers.
    QString key() const;
};

// One report line. Daily: one sale (id, customer name; empty when the
// customer row is missing). Monthly: one day ("dd"). Yearly: one month ("yyyy-MM").
struct Line {
    qint64 id = 0; // idsales; daily lines only
    QString label;
    double mililiter = 0;
    double value = 0; // sales_hargadiskon, the price charged
};

struct Report {
    Period period;
    QList<Line> lines;
    double totalMililiter = 0;
    double totalValue = 0;
};

// The lines of the period in report order (sales in order of entry, days or
// months ascending) and their totals, which the lines always add up to.
Report report(const Period& period);

// The years a report can be made for: `currentYear` and every year that has
// sales, newest first.
QList<int> years(int currentYear);

} // namespace ReportStore
