#include "Pricing.h"

#include <QString>

double roundToCents(double amount)
{
    // The same decimal conversion as the shown text, so stored and shown agree
    // even where amount * 100 would round the other way in binary.
    const double r = QString::number(amount, 'f', 2).toDouble();
    return r == 0 ? 0.0 : r; // no "-0,00"
}

SalePrice salePrice(double mililiter, double hargaVariant, double hargaBotol, double diskon)
{
    const double harga = mililiter * hargaVariant + hargaBotol;
    const double total = harga - harga * (diskon / 100);
    return {roundToCents(harga), roundToCents(total)};
}
