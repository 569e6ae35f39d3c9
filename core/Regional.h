#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

// Numbers and dates as the shop reads them: Indonesian regional format
// ("." groups thousands, "," is the decimal sign) and yyyy-MM-dd in the database.
namespace Regional {

const QLocale& locale();

// "#,##0.00": 1234.5 -> 1.234,50
QString amount(double v);
// "#,##0": 12500 -> 12.500
QString whole(double v);
// Bare number text without grouping: 12.5 -> 12,5; 45000 -> 45000
QString plain(double v);

// Reads what a user typed or the screen shows: every "." is removed and ","
// is the decimal sign. Text that is not a number reads as 0.
double read(const QString& text);

// Dates as stored in the *_date columns.
QString dateText(const QDate& date);
QString today();

// True for the regional settings the program is made for.
bool isIndonesian(const QLocale& userLocale);

} // namespace Regional
