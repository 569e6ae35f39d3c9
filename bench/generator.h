#pragma once

#include <QDate>
#include <QString>

// A database of realistic size and shape made through the schema script:
// 100 000 customers, 500 variants, 50 bottle types (REFILL among them),
// 1 000 000 sales over the five years up to `today`, 200 000 ledger rows and
// three users.
//
// The sales grow over the years, weekends are busier than weekdays and the two
// weeks before Lebaran and the end of the year are busier still. `today` is a
// full day of TodaySales sales, and exactly one day holds BusiestDaySales, more
// than any other: the last day before the latest Lebaran that lies in the five
// years (find it with the day of the largest count). Customer names begin with
// letters as often as in real life (many A, S, M, D, R; few Q, X, Z), a few
// with a digit, a blank, a non-Latin letter or in lower case; five customers
// buy more than 500 times each. Everything follows from `today` alone: two
// runs on the same day make the same database.
//
// `scale` multiplies the shop: 4 gives 400 000 customers, 4 000 000 sales,
// 800 000 ledger rows and a today of 3 200 sales (the busiest day 10 400).
// Variants and bottle types get cost prices and minimums, each sale the cost
// at its time; the sales totals (tvr_ringkasan) are made from the rows once at
// the end, with the summary triggers of tvr_sales left out while the sales go
// in and then made again as the schema script makes them.
void generateBigDatabase(const QString& path, const QDate& today = QDate::currentDate(),
                         int scale = 1);

// The busiest day the generator gives the database made on `today`.
QDate busiestGeneratedDay(const QDate& today);

inline constexpr int TodaySales = 800;      // at scale 1
inline constexpr int BusiestDaySales = 2600; // at scale 1
inline constexpr int GeneratedCustomers = 100000; // at scale 1

// A database with the tables only.
void createEmptyDatabase(const QString& path);
