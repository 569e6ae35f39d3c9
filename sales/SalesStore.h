#pragma once

#include "core/Db.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

// Every SQL text of the sales window. Sales move stock in two columns only,
// variant_stock and botol_stock; a sale, a correction and a deletion each write
// their sale row and their stock moves in one transaction. The refill bottle
// type never takes or gets back a bottle.
namespace SalesStore {

struct Customer {
    int id = 0;
    QString nomor, nama, alamat, notelp;
};
struct Variant {
    int id = 0;
    QString kode, nama;
    double harga = 0; // per millilitre
    double stock = 0; // millilitres
};
struct Botol {
    int id = 0;
    QString tipe;
    double harga = 0;
    double stock = 0;
};

// One indexed lookup each, by the text typed without its leading and trailing
// blanks, in any letter case (the row spelled exactly so wins).
std::optional<Customer> findCustomer(const QString& nomor);
std::optional<Variant> findVariant(const QString& kode);
std::optional<Botol> findBotol(const QString& tipe);

// The bottle types offered at the till: the refill type first, then the others by name.
QStringList bottleTypes();

// The day of the oldest sale; an invalid date when there is no sale.
QDate firstSaleDay();

// The sales of one day, newest first, in the list's column order: idsales,
// sales_date, cust_nama, variant_kode, sales_mililiter, sales_totalml,
// botol_tipe, sales_hargatotal, sales_diskon, sales_hargadiskon, sales_status.
RowSet dayList(const QDate& day);
// A page of it: at most `limit` sales of the day older than `beforeId`
// (0: from the newest), read from the sales_date index in the list's order.
RowSet dayListPage(const QDate& day, qint64 beforeId, int limit);
// One sale in the list's columns (none when it is gone or not listed).
RowSet dayListRow(qint64 id);

// A recorded sale as the editor loads it.
struct Sale {
    qint64 id = 0;
    int status = 0; // 1: locked by a stock reset
    QString custNomor;
    int idVariant = 0;
    QString variantKode;
    int idBotol = 0;
    QString botolTipe;
    double mililiter = 0, totalml = 0;
    double hargaVariant = 0, hargaBotol = 0; // unit prices applied to the sale
    double hargaTotal = 0, diskon = 0, hargaDiskon = 0;
};
std::optional<Sale> loadSale(qint64 id);

// A recorded sale with what its receipt names: the customer, the variant, the
// bottle type and the full name of the user who recorded it.
struct ReceiptSale {
    qint64 id = 0;
    QDate date;
    QString cashier; // full name of sales_author; the user name when the account is gone
    QString custNomor, custNama;
    QString variantKode, variantNama;
    QString botolTipe;
    bool refill = false; // the customer's own bottle: no bottle is sold
    double mililiter = 0;
    double hargaVariant = 0, hargaBotol = 0; // unit prices applied to the sale
    double hargaTotal = 0, diskon = 0, hargaDiskon = 0;
};
std::optional<ReceiptSale> receiptSale(qint64 id);

// What a sale or a correction records about the goods and the price.
struct Amounts {
    int idVariant = 0;
    int idBotol = 0;
    double mililiter = 0, totalml = 0;
    double hargaTotal = 0, diskon = 0, hargaDiskon = 0;
    double hargaVariant = 0, hargaBotol = 0; // unit prices the total was computed from
    // A correction: whether the total was computed again. When not, and the
    // variant and the bottle type stay, the sale keeps its stored unit prices.
    bool repriced = true;
};

struct NewCustomer {
    QString nomor, nama, alamat, notelp;
};

struct NewSale {
    int idCust = 0; // 0: the customer is created from `customer` first
    NewCustomer customer;
    Amounts amounts;
};

// Why a write did not go ahead; Done when it did.
enum class Outcome {
    Done,
    Missing,       // the sale is gone
    Locked,        // a stock reset locked the sale
    NoConcentrate, // the stored concentrate stock is too low
    NoBottle,      // no bottle of the type left in the stored stock
    CustomerGone,  // deleted by another till since it was looked up
    VariantGone,
    BotolGone,
};

// The message for a refusal, in the till's words.
QString refusalText(Outcome outcome);

// Records a sale dated today by the logged-in user and takes its stock, inside
// one transaction that finds the customer, variant and bottle type still there
// and the stored stock sufficient; otherwise nothing is written.
Outcome recordSale(const NewSale& sale, qint64* id);

// recordSale() for callers that expect success: a refusal throws DbError with
// its message. Returns the new idsales.
qint64 addSale(const NewSale& sale);

// Rewrites the goods, unit prices and amounts of a sale (never its customer,
// date or author), gives back the stock recorded on it and takes the new amounts.
// The unit prices stay as stored unless the correction repriced the sale or
// changed its variant or bottle type.
Outcome correctSale(qint64 id, const Amounts& amounts);

// Deletes a sale and gives back the stock recorded on it.
Outcome deleteSale(qint64 id);

} // namespace SalesStore
