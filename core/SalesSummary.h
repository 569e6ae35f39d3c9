#pragma once

#include <QString>

// The totals of tvr_sales that the database keeps in step with every write
// (its triggers on tvr_sales): per day, month and year, for all sales and per
// variant, bottle type, cashier and customer. Reports and the owner's figures
// read them instead of the sales of a whole month or year.
namespace SalesSummary {

// ringkasan_jenis: what the totals are kept per.
enum Kind { AllSales = 0, PerVariant = 1, PerBottle = 2, PerCashier = 3, PerCustomer = 4 };

// ringkasan_satuan: the length of the period ringkasan_periode names.
enum Unit { Day = 0, Month = 1, Year = 2 };

// Makes every total afresh from the rows of tvr_sales, on the program's
// connection, inside the caller's transaction (the schema upgrade, the bench's
// generator). Throws DbError.
void rebuild();

} // namespace SalesSummary
