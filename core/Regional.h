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

// Reads what a user typed or the screen shows: "." groups thousands and ","
// is the decimal sign. A "." that does not stand between groups of three
// digits (7.5, 12.34, 1.2345) makes the text unreadable rather than a number
// a thousand times larger; such text, and text that is not a number, reads as 0.
double read(const QString& text);

// True when `text` would be a number but for a "." that does not separate
// groups of three digits; pointRefusal() says why it is not read.
bool hasMisplacedPoint(const QString& text);

// The message for such a text, naming the comma as the decimal sign; with
// `decimals` false the field takes whole numbers only. Empty when the points
// of `text` are where they belong.
QString pointRefusal(const QString& text, bool decimals = true);

// Dates as stored in the *_date columns.
QString dateText(const QDate& date);
QString today();

// True for the regional settings the program is made for.
bool isIndonesian(const QLocale& userLocale);

} // namespace Regional
