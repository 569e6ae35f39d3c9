#pragma once

#include "core/Db.h"
#include "masterdata/PagePlan.h"

#include <QString>
#include <QStringList>

#include <optional>

// Every SQL text of the three registers: variants, bottle types and customers.
// Values are always bound; each save and each delete with all it touches runs
// in one transaction.
namespace RegisterStore {

// ---- Variants (tvr_dtvariant), listed by code.
struct Variant {
    int id = 0;
    QString kode;
    QString nama;
    double harga = 0;
};

// Ordering key of the variant list, as columns of variantPage().
const QStringList& variantKeys();
int countVariants();
// Columns: idvariant, variant_kode, variant_nama, variant_harga, variant_stock,
// variant_date, variant_author, variant_ls_date, variant_ls_author.
RowSet variantPage(const PagePlan& plan);
std::optional<Variant> findVariant(const QString& kode);
// Adds a variant (no id) or changes code, name and price of the variant `id`.
// Returns the key of the row written.
int saveVariant(std::optional<int> id, const QString& kode, const QString& nama, double harga);
// True when sales or ledger rows name the variant.
bool variantIsReferenced(int id);
// Gives back one bottle for each of its sales (never of the refill type),
// deletes its sales, its ledger rows and the variant.
void deleteVariant(int id);

// ---- Bottle types (tvr_dtbotol), listed by type without the refill type.
struct Botol {
    int id = 0;
    QString tipe;
    double harga = 0;
};

const QStringList& botolKeys();
int countBotols();
// Columns: idbotol, botol_tipe, botol_harga, botol_stock, botol_date,
// botol_author, botol_ls_date, botol_ls_author.
RowSet botolPage(const PagePlan& plan);
// Finds the refill type as well: it is a bottle type like the others here.
std::optional<Botol> findBotol(const QString& tipe);
int saveBotol(std::optional<int> id, const QString& tipe, double harga);
bool botolIsReferenced(int id);
// Gives back the concentrate of each of its sales, deletes its ledger rows,
// its sales and the bottle type.
void deleteBotol(int id);

// ---- Customers (tvr_customer), listed by the first letter of the name, newest first.
struct Customer {
    int id = 0;
    QString nomor;
    QString nama;
    QString alamat;
    QString notelp;
};

// The letter a label stands for: "a".."z" as given, "." for "...".
QString customerLetter(const QString& selAbjad);
const QStringList& customerKeys();
// Customers whose name begins with `letter` in either letter case.
int countCustomers(const QString& letter);
// Columns: idcust, cust_nomor, cust_nama, cust_alamat, cust_notelp, cust_date, cust_author.
RowSet customerPage(const QString& letter, const PagePlan& plan);
std::optional<Customer> findCustomer(const QString& nomor);
int saveCustomer(std::optional<int> id, const QString& nomor, const QString& nama,
                 const QString& alamat, const QString& notelp);
bool customerIsReferenced(int id);
// Gives back one bottle (never of the refill type) and the concentrate of each
// of its sales, deletes its sales and the customer.
void deleteCustomer(int id);

} // namespace RegisterStore
