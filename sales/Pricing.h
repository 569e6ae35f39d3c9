#pragma once

// The price of a sale: millilitres of concentrate at a price per millilitre,
// plus the bottle, less a percentage discount. No widgets, no database.
struct SalePrice {
    double harga = 0; // before discount
    double total = 0; // after discount
};

// Both amounts rounded to cents, as shown and stored; the total is taken from
// the unrounded price. The discount is not limited: 100 gives 0, more gives a
// negative total.
SalePrice salePrice(double mililiter, double hargaVariant, double hargaBotol, double diskon);

// An amount rounded to cents exactly as the regional "#,##0.00" text shows it.
double roundToCents(double amount);
