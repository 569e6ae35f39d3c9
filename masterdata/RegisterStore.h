#pragma once

#include "core/Db.h"
#include "ui/PagePlan.h"

#include <QString>
#include <QStringList>

#include <optional>

// Every SQL text of the three registers: variants, bottle types and customers.
// Values are always bound; each save and each delete with all it touches runs
// in one transaction.
namespace RegisterStore {

// What became of a save or a delete. A key is taken without its leading and
// trailing blanks and compared without regard to letter case.
enum class Outcome {
    Done,
    Missing,   // the row was deleted meanwhile (by another till): nothing written
    Duplicate, // another row holds the key: nothing written
};

struct Saved {
    Outcome outcome = Outcome::Done;
    int id = 0; // the row written
};

// The cost price (per ml of a variant, per bottle) and the minimum stock
// (ml, bottles; 0 for none) of an item: written only by those who may see costs.
struct CostFields {
    double pokok = 0;
    double minimum = 0;
};

// ---- Variants (tvr_dtvariant), listed by code.
struct Variant {
    int id = 0;
    QString kode;
    QString nama;
    double harga = 0;
    CostFields cost;
};

// Ordering key of the variant list, as columns of variantPage().
const QStringList& variantKeys();
int countVariants();
// Columns: idvariant, variant_kode, variant_nama, variant_harga, variant_stock,
// variant_date, variant_author, variant_ls_date, variant_ls_author.
RowSet variantPage(const PagePlan& plan);
std::optional<Variant> findVariant(const QString& kode);
// Adds a variant (no id) or changes code, name and price of the variant `id`.
// A code another variant holds is refused.
// With `cost`, the cost price and minimum are written in the same transaction.
Saved saveVariant(std::optional<int> id, const QString& kode, const QString& nama, double harga,
                  const std::optional<CostFields>& cost = std::nullopt);
// True when sales or ledger rows name the variant.
bool variantIsReferenced(int id);
// Gives back one bottle for each of its sales (never of the refill type),
// deletes its sales, its ledger rows and the variant.
Outcome deleteVariant(int id);

// ---- Bottle types (tvr_dtbotol), listed by type without the refill type.
struct Botol {
    int id = 0;
    QString tipe;
    double harga = 0;
    CostFields cost;
};

const QStringList& botolKeys();
int countBotols();
// Columns: idbotol, botol_tipe, botol_harga, botol_stock, botol_date,
// botol_author, botol_ls_date, botol_ls_author.
RowSet botolPage(const PagePlan& plan);
// Finds the refill type as well: it is a bottle type like the others here.
std::optional<Botol> findBotol(const QString& tipe);
// The refill type keeps its name, and no other type may take it in any case.
Saved saveBotol(std::optional<int> id, const QString& tipe, double harga,
                const std::optional<CostFields>& cost = std::nullopt);
bool botolIsReferenced(int id);
// Gives back the concentrate of each of its sales, deletes its ledger rows,
// its sales and the bottle type.
Outcome deleteBotol(int id);

// ---- Customers (tvr_customer), listed by the first letter of the name, newest first.
struct Customer {
    int id = 0;
    QString nomor;
    QString nama;
    QString alamat;
    QString notelp;
};

// The letter a label stands for: "a".."z" as given, "." for "...", which
// files every name that does not begin with a letter A to Z (empty, digit,
// blank, punctuation, other scripts).
QString customerLetter(const QString& selAbjad);
const QStringList& customerKeys();
// Customers filed under `letter` (a first letter in either case, or ".").
int countCustomers(const QString& letter);
// Columns: idcust, cust_nomor, cust_nama, cust_alamat, cust_notelp, cust_date, cust_author.
RowSet customerPage(const QString& letter, const PagePlan& plan);
std::optional<Customer> findCustomer(const QString& nomor);
// The address is kept on one line: line breaks become blanks.
Saved saveCustomer(std::optional<int> id, const QString& nomor, const QString& nama,
                   const QString& alamat, const QString& notelp);
bool customerIsReferenced(int id);
// Gives back one bottle (never of the refill type) and the concentrate of each
// of its sales, deletes its sales and the customer.
Outcome deleteCustomer(int id);

} // namespace RegisterStore
