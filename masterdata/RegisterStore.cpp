#include "RegisterStore.h"

#include "analysis/LowStock.h"
#include "core/Globals.h"
#include "core/Regional.h"
#include "core/Rights.h"
#include "core/Trail.h"

#include <QRegularExpression>

#include <algorithm>

namespace RegisterStore {

namespace {

// A register list: its columns, rows and unique ordering key.
struct ListSql {
    QString columns;
    QString table;
    QString filter; // condition with "?" placeholders, or empty
    QVariantList filterValues;
    QStringList keys;
    bool descending = false; // order of the list as shown
};

// Reads one page as planned. Pages read from the end or before an anchor are
// read in reverse order and turned round, so every page comes back in list order.
RowSet readPage(const ListSql& list, const PagePlan& plan)
{
    const bool reversed = plan.from == PagePlan::From::End || plan.from == PagePlan::From::Before;
    const bool descending = list.descending != reversed;
    const QString direction = descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC");

    QStringList conditions;
    QVariantList values;
    if (!list.filter.isEmpty()) {
        conditions << list.filter;
        values << list.filterValues;
    }
    if (plan.from == PagePlan::From::After || plan.from == PagePlan::From::Before) {
        // A row value comparison follows the index of the ordering key.
        QStringList marks;
        for (int i = 0; i < list.keys.size(); ++i)
            marks << QStringLiteral("?");
        conditions << QStringLiteral("(%1) %2 (%3)")
                          .arg(list.keys.join(QStringLiteral(", ")),
                               descending ? QStringLiteral("<") : QStringLiteral(">"),
                               marks.join(QStringLiteral(", ")));
        values << plan.anchor;
    }
    QStringList order;
    for (const QString& key : list.keys)
        order << key + direction;

    QString sql = QStringLiteral("SELECT ") + list.columns + QStringLiteral(" FROM ") + list.table;
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", ")) +
           QStringLiteral(" LIMIT ? OFFSET ?");
    values << plan.take << plan.skip;

    RowSet rows = Db::select(sql, values);
    if (reversed)
        std::reverse(rows.rows.begin(), rows.rows.end());
    return rows;
}

const QString VariantColumns = QStringLiteral(
    "idvariant, variant_kode, variant_nama, variant_harga, variant_stock, variant_date, "
    "variant_author, variant_ls_date, variant_ls_author");

const QString BotolColumns = QStringLiteral(
    "idbotol, botol_tipe, botol_harga, botol_stock, botol_date, botol_author, botol_ls_date, "
    "botol_ls_author");

const QString CustomerColumns = QStringLiteral(
    "idcust, cust_nomor, cust_nama, cust_alamat, cust_notelp, cust_date, cust_author");

// The letter a customer is filed under: the first letter of the name in lower
// case when it is one of a to z, otherwise "." (empty or missing name, digit,
// blank, punctuation, a letter of another script). ix_customer_letter indexes
// exactly this expression together with idcust.
const QString CustomerLetterFilter = QStringLiteral(
    "CASE WHEN lower(substr(cust_nama, 1, 1)) BETWEEN 'a' AND 'z' "
    "THEN lower(substr(cust_nama, 1, 1)) ELSE '.' END = ?");

// A null QString would be bound as NULL: an empty box is stored as empty text.
QVariant typed(const QString& text)
{
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

bool exists(const QString& sql, const QVariantList& values)
{
    return Db::scalar(sql, values).isValid();
}

// A register table with the key users type for its rows.
struct Keyed {
    QString table;
    QString id;
    QString key;
};

const Keyed Variants{QStringLiteral("tvr_dtvariant"), QStringLiteral("idvariant"),
                     QStringLiteral("variant_kode")};
const Keyed Botols{QStringLiteral("tvr_dtbotol"), QStringLiteral("idbotol"),
                   QStringLiteral("botol_tipe")};
const Keyed Customers{QStringLiteral("tvr_customer"), QStringLiteral("idcust"),
                      QStringLiteral("cust_nomor")};

// Keys are stored and looked up without their leading and trailing blanks.
QVariant key(const QString& typedKey)
{
    return typed(typedKey.trimmed());
}

bool rowExists(const Keyed& t, int id)
{
    return exists(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ?").arg(t.table, t.id), {id});
}

// rowExists() that keeps the row locked until the transaction ends: a sale
// another till is writing against it finishes first, and the cascade that
// follows sees it.
bool lockRow(const Keyed& t, int id)
{
    return exists(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ?").arg(t.table, t.id) +
                      Db::lockRows(),
                  {id});
}

// Run inside the save's transaction, so another till cannot slip in between:
// why writing `typedKey` to row `id` (or to a new row) must not go ahead.
std::optional<Outcome> refusal(const Keyed& t, std::optional<int> id, const QString& typedKey)
{
    Db::lockKey(t.table, typedKey);
    if (id) {
        if (!rowExists(t, *id))
            return Outcome::Missing;
        // A row keeps a key it already holds, even where older data hold it twice.
        if (exists(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ? AND %3")
                       .arg(t.table, t.id, Db::equalsIgnoringCase(t.key)),
                   {*id, key(typedKey)}))
            return std::nullopt;
    }
    // The comparison ignores letter case and is served by the NOCASE index on the key.
    if (exists(QStringLiteral("SELECT 1 FROM %1 WHERE %3 AND %2 <> ? LIMIT 1")
                   .arg(t.table, t.id, Db::equalsIgnoringCase(t.key)),
               {key(typedKey), id.value_or(0)}))
        return Outcome::Duplicate;
    return std::nullopt;
}

// The row of `t` whose key equals `typedKey` ignoring case and blanks; the
// oldest one where older data hold a key twice.
RowSet findByKey(const Keyed& t, const QString& columns, const QString& typedKey)
{
    return Db::select(
        QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %4 LIMIT 1")
            .arg(columns, t.table, Db::equalsIgnoringCase(t.key), t.id),
        {key(typedKey)});
}

// An address is one line: every kind of line break becomes a blank.
QString oneLine(QString text)
{
    static const QRegularExpression breaks(
        QStringLiteral("\\r\\n|[\\r\\n\\x{2028}\\x{2029}]"));
    return text.replace(breaks, QStringLiteral(" "));
}

// Locks the sales in `salesFilter` before the cascade reads what they took: a
// correction another till is writing to one of them finishes first, and the
// sums read after it see its amounts. (SQLite's write lock covers the file.)
void lockSales(const QString& salesFilter, int id)
{
    if (!Db::lockRows().isEmpty())
        Db::select(QStringLiteral("SELECT idsales FROM tvr_sales WHERE ") + salesFilter +
                       Db::lockRows(),
                   {id});
}

// Locks the rows of an item table that the sales in `salesFilter` name,
// smallest key first. A cascade takes them before the sales: items before
// their sales, customer, variant, bottle type, is the order of every writer,
// so two tills never wait on each other in a circle.
void lockNamedItems(const QString& table, const QString& idColumn, const QString& salesColumn,
                    const QString& salesFilter, int id)
{
    if (!Db::lockRows().isEmpty())
        Db::select(QStringLiteral("SELECT %1 FROM %2 WHERE %1 IN (SELECT %3 FROM tvr_sales "
                                  "WHERE %4) ORDER BY %1")
                           .arg(idColumn, table, salesColumn, salesFilter) +
                       Db::lockRows(),
                   {id});
}

void lockNamedVariants(const QString& salesFilter, int id)
{
    lockNamedItems(QStringLiteral("tvr_dtvariant"), QStringLiteral("idvariant"),
                   QStringLiteral("sales_idvariant"), salesFilter, id);
}

void lockNamedBotols(const QString& salesFilter, int id)
{
    lockNamedItems(QStringLiteral("tvr_dtbotol"), QStringLiteral("idbotol"),
                   QStringLiteral("sales_idbotol"), salesFilter, id);
}

// One bottle back for every sale in `salesFilter`, never for the refill type.
void giveBottlesBack(const QString& salesFilter, int id)
{
    const RowSet counts =
        Db::select(QStringLiteral("SELECT sales_idbotol, COUNT(*) FROM tvr_sales WHERE ") +
                       salesFilter + QStringLiteral(" GROUP BY sales_idbotol"),
                   {id});
    for (const QVariantList& row : counts.rows)
        Db::exec(QStringLiteral("UPDATE tvr_dtbotol SET botol_stock = botol_stock + ? "
                                "WHERE idbotol = ? AND ") +
                     Db::differsIgnoringCase(QStringLiteral("botol_tipe")),
                 {row.at(1).toDouble(), row.at(0), RefillBottleType});
}

// The millilitres of every sale in `salesFilter` back to the sale's variant.
void giveConcentrateBack(const QString& salesFilter, int id)
{
    const RowSet sums = Db::select(
        QStringLiteral("SELECT sales_idvariant, SUM(sales_mililiter) FROM tvr_sales WHERE ") +
            salesFilter + QStringLiteral(" GROUP BY sales_idvariant"),
        {id});
    for (const QVariantList& row : sums.rows) {
        if (row.at(1).isNull())
            continue;
        Db::exec(QStringLiteral("UPDATE tvr_dtvariant SET variant_stock = variant_stock + ? "
                                "WHERE idvariant = ?"),
                 {row.at(1).toDouble(), row.at(0)});
    }
}

} // namespace

// ---- Variants

const QStringList& variantKeys()
{
    static const QStringList keys{QStringLiteral("variant_kode"), QStringLiteral("idvariant")};
    return keys;
}

int countVariants()
{
    return Db::scalar(QStringLiteral("SELECT COUNT(*) FROM tvr_dtvariant")).toInt();
}

RowSet variantPage(const PagePlan& plan)
{
    return readPage({VariantColumns, QStringLiteral("tvr_dtvariant"), {}, {}, variantKeys(), false},
                    plan);
}

// The trail of the registers: a row as it stands, and the right to change a
// price, checked inside the transaction of the change.
static QString registerText(const QString& table, const QString& idColumn, int id)
{
    return Trail::rowText(QStringLiteral("SELECT * FROM %1 WHERE %2 = ?").arg(table, idColumn), {id});
}

static void requirePriceRight(const QString& table, const QString& idColumn,
                              const QString& priceColumn, int id, double price)
{
    if (Rights::may(Rights::Action::ChangeRegister))
        return;
    const QVariant stored = Db::scalar(
        QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?").arg(priceColumn, table, idColumn), {id});
    if (stored.isValid() && stored.toDouble() != price)
        throw Rights::Refused(Rights::Action::ChangeRegister);
}

static void trailChange(const QString& table, const QString& idColumn, int id,
                        const QString& before)
{
    Trail::write(Trail::Kind::RegisterChanged, QStringLiteral("%1 %2").arg(table).arg(id), before,
                 registerText(table, idColumn, id));
}

static void trailDeletion(const QString& table, int id, const QString& before)
{
    Trail::write(Trail::Kind::RegisterDeleted, QStringLiteral("%1 %2").arg(table).arg(id), before);
}

std::optional<Variant> findVariant(const QString& kode)
{
    const RowSet rows = findByKey(
        Variants,
        QStringLiteral("idvariant, variant_kode, variant_nama, variant_harga, variant_pokok, "
                       "variant_minimum"),
        kode);
    if (rows.isEmpty())
        return std::nullopt;
    return Variant{rows.value(0, 0).toInt(), rows.value(0, 1).toString(),
                   rows.value(0, 2).toString(), rows.value(0, 3).toDouble(),
                   {rows.value(0, 4).toDouble(), rows.value(0, 5).toDouble()}};
}

static Saved saveVariantOnce(std::optional<int> id, const QString& kode, const QString& nama,
                             double harga, const std::optional<CostFields>& cost)
{
    Transaction t;
    if (const std::optional<Outcome> refused = refusal(Variants, id, kode))
        return {*refused, 0};
    int written = 0;
    if (id) {
        requirePriceRight(QStringLiteral("tvr_dtvariant"), QStringLiteral("idvariant"),
                          QStringLiteral("variant_harga"), *id, harga);
        const QString before = registerText(QStringLiteral("tvr_dtvariant"), QStringLiteral("idvariant"), *id);
        Db::exec(QStringLiteral("UPDATE tvr_dtvariant SET variant_kode = ?, variant_nama = ?, "
                                "variant_harga = ? WHERE idvariant = ?"),
                 {key(kode), typed(nama), harga, *id});
        trailChange(QStringLiteral("tvr_dtvariant"), QStringLiteral("idvariant"), *id, before);
        written = *id;
    } else {
        const QString today = Regional::today();
        const QSqlQuery q = Db::exec(
            QStringLiteral("INSERT INTO tvr_dtvariant (variant_kode, variant_nama, variant_harga, "
                           "variant_date, variant_author, variant_ls_date, variant_ls_author) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?)"),
            {key(kode), typed(nama), harga, today, LoginUserName, today, LoginUserName});
        written = int(Db::insertedId(q));
    }
    if (cost)
        Db::exec(QStringLiteral("UPDATE tvr_dtvariant SET variant_pokok = ?, variant_minimum = ? "
                                "WHERE idvariant = ?"),
                 {cost->pokok, cost->minimum, written});
    t.commit();
    return {Outcome::Done, written};
}

bool variantIsReferenced(int id)
{
    return exists(QStringLiteral("SELECT 1 FROM tvr_sales WHERE sales_idvariant = ? LIMIT 1"),
                  {id}) ||
           exists(QStringLiteral("SELECT 1 FROM tvr_stock WHERE stock_name = 'variant' "
                                 "AND stock_idname = ? LIMIT 1"),
                  {id});
}

static Outcome deleteVariantOnce(int id)
{
    Transaction t;
    if (!lockRow(Variants, id))
        return Outcome::Missing;
    Rights::require(Rights::Action::DeleteRegister);
    const QString before = registerText(QStringLiteral("tvr_dtvariant"), QStringLiteral("idvariant"), id);
    // Every writer of a sale of this variant locks the variant first: from
    // here on the bottle types its sales name stay the same.
    lockNamedBotols(QStringLiteral("sales_idvariant = ?"), id);
    lockSales(QStringLiteral("sales_idvariant = ?"), id);
    // The concentrate of these sales is not given back: the variant goes away.
    giveBottlesBack(QStringLiteral("sales_idvariant = ?"), id);
    Db::exec(QStringLiteral("DELETE FROM tvr_sales WHERE sales_idvariant = ?"), {id});
    Db::exec(
        QStringLiteral("DELETE FROM tvr_stock WHERE stock_name = 'variant' AND stock_idname = ?"),
        {id});
    Db::exec(QStringLiteral("DELETE FROM tvr_dtvariant WHERE idvariant = ?"), {id});
    trailDeletion(QStringLiteral("tvr_dtvariant"), id, before);
    t.commit();
    return Outcome::Done;
}

// ---- Bottle types

const QStringList& botolKeys()
{
    static const QStringList keys{QStringLiteral("botol_tipe"), QStringLiteral("idbotol")};
    return keys;
}

// The refill type in any letter case is left out of the list.
int countBotols()
{
    return Db::scalar(QStringLiteral("SELECT COUNT(*) FROM tvr_dtbotol WHERE ") +
                          Db::differsIgnoringCase(QStringLiteral("botol_tipe")),
                      {RefillBottleType})
        .toInt();
}

RowSet botolPage(const PagePlan& plan)
{
    return readPage({BotolColumns,
                     QStringLiteral("tvr_dtbotol"),
                     Db::differsIgnoringCase(QStringLiteral("botol_tipe")),
                     {RefillBottleType},
                     botolKeys(),
                     false},
                    plan);
}

std::optional<Botol> findBotol(const QString& tipe)
{
    const RowSet rows =
        findByKey(Botols,
                  QStringLiteral("idbotol, botol_tipe, botol_harga, botol_pokok, botol_minimum"),
                  tipe);
    if (rows.isEmpty())
        return std::nullopt;
    return Botol{rows.value(0, 0).toInt(), rows.value(0, 1).toString(),
                 rows.value(0, 2).toDouble(),
                 {rows.value(0, 3).toDouble(), rows.value(0, 4).toDouble()}};
}

static Saved saveBotolOnce(std::optional<int> id, const QString& tipe, double harga,
                           const std::optional<CostFields>& cost)
{
    Transaction t;
    // A new type named like the refill type would take stock as an ordinary
    // bottle: it is refused even if the refill row were missing.
    if (!id && tipe.trimmed().compare(RefillBottleType, Qt::CaseInsensitive) == 0)
        return {Outcome::Duplicate, 0};
    if (const std::optional<Outcome> refused = refusal(Botols, id, tipe))
        return {*refused, 0};
    int written = 0;
    if (id) {
        requirePriceRight(QStringLiteral("tvr_dtbotol"), QStringLiteral("idbotol"),
                          QStringLiteral("botol_harga"), *id, harga);
        const QString before = registerText(QStringLiteral("tvr_dtbotol"), QStringLiteral("idbotol"), *id);
        // The refill type keeps its name whatever the editor holds.
        Db::exec(QStringLiteral("UPDATE tvr_dtbotol SET botol_tipe = CASE WHEN %1 "
                                "THEN botol_tipe ELSE ? END, botol_harga = ? WHERE idbotol = ?")
                     .arg(Db::equalsIgnoringCase(QStringLiteral("botol_tipe"))),
                 {RefillBottleType, key(tipe), harga, *id});
        trailChange(QStringLiteral("tvr_dtbotol"), QStringLiteral("idbotol"), *id, before);
        written = *id;
    } else {
        const QString today = Regional::today();
        const QSqlQuery q =
            Db::exec(QStringLiteral(
                         "INSERT INTO tvr_dtbotol (botol_tipe, botol_harga, botol_date, "
                         "botol_author, botol_ls_date, botol_ls_author) VALUES (?, ?, ?, ?, ?, ?)"),
                     {key(tipe), harga, today, LoginUserName, today, LoginUserName});
        written = int(Db::insertedId(q));
    }
    if (cost)
        Db::exec(QStringLiteral("UPDATE tvr_dtbotol SET botol_pokok = ?, botol_minimum = ? "
                                "WHERE idbotol = ?"),
                 {cost->pokok, cost->minimum, written});
    t.commit();
    return {Outcome::Done, written};
}

bool botolIsReferenced(int id)
{
    return exists(QStringLiteral("SELECT 1 FROM tvr_sales WHERE sales_idbotol = ? LIMIT 1"),
                  {id}) ||
           exists(QStringLiteral("SELECT 1 FROM tvr_stock WHERE stock_name = 'botol' "
                                 "AND stock_idname = ? LIMIT 1"),
                  {id});
}

static Outcome deleteBotolOnce(int id)
{
    Transaction t;
    // Variants come before bottle types: those its sales name are locked
    // first, then the type, then any a sale written meanwhile added.
    lockNamedVariants(QStringLiteral("sales_idbotol = ?"), id);
    if (!lockRow(Botols, id))
        return Outcome::Missing;
    Rights::require(Rights::Action::DeleteRegister);
    const QString before = registerText(QStringLiteral("tvr_dtbotol"), QStringLiteral("idbotol"), id);
    lockNamedVariants(QStringLiteral("sales_idbotol = ?"), id);
    lockSales(QStringLiteral("sales_idbotol = ?"), id);
    giveConcentrateBack(QStringLiteral("sales_idbotol = ?"), id);
    Db::exec(
        QStringLiteral("DELETE FROM tvr_stock WHERE stock_name = 'botol' AND stock_idname = ?"),
        {id});
    Db::exec(QStringLiteral("DELETE FROM tvr_sales WHERE sales_idbotol = ?"), {id});
    Db::exec(QStringLiteral("DELETE FROM tvr_dtbotol WHERE idbotol = ?"), {id});
    trailDeletion(QStringLiteral("tvr_dtbotol"), id, before);
    t.commit();
    return Outcome::Done;
}

// ---- Customers

QString customerLetter(const QString& selAbjad)
{
    return selAbjad == QLatin1String("...") ? QStringLiteral(".") : selAbjad.toLower();
}

const QStringList& customerKeys()
{
    static const QStringList keys{QStringLiteral("idcust")};
    return keys;
}

int countCustomers(const QString& letter)
{
    return Db::scalar(QStringLiteral("SELECT COUNT(*) FROM tvr_customer WHERE ") +
                          CustomerLetterFilter,
                      {letter.toLower()})
        .toInt();
}

RowSet customerPage(const QString& letter, const PagePlan& plan)
{
    return readPage({CustomerColumns,
                     QStringLiteral("tvr_customer"),
                     CustomerLetterFilter,
                     {letter.toLower()},
                     customerKeys(),
                     true},
                    plan);
}

std::optional<Customer> findCustomer(const QString& nomor)
{
    const RowSet rows = findByKey(
        Customers, QStringLiteral("idcust, cust_nomor, cust_nama, cust_alamat, cust_notelp"),
        nomor);
    if (rows.isEmpty())
        return std::nullopt;
    return Customer{rows.value(0, 0).toInt(), rows.value(0, 1).toString(),
                    rows.value(0, 2).toString(), rows.value(0, 3).toString(),
                    rows.value(0, 4).toString()};
}

static Saved saveCustomerOnce(std::optional<int> id, const QString& nomor, const QString& nama,
                              const QString& alamat, const QString& notelp)
{
    Transaction t;
    if (const std::optional<Outcome> refused = refusal(Customers, id, nomor))
        return {*refused, 0};
    int written = 0;
    if (id) {
        const QString before = registerText(QStringLiteral("tvr_customer"), QStringLiteral("idcust"), *id);
        Db::exec(QStringLiteral("UPDATE tvr_customer SET cust_nomor = ?, cust_nama = ?, "
                                "cust_alamat = ?, cust_notelp = ? WHERE idcust = ?"),
                 {key(nomor), typed(nama), typed(oneLine(alamat)), typed(notelp), *id});
        trailChange(QStringLiteral("tvr_customer"), QStringLiteral("idcust"), *id, before);
        written = *id;
    } else {
        const QSqlQuery q = Db::exec(
            QStringLiteral("INSERT INTO tvr_customer (cust_nomor, cust_nama, cust_alamat, "
                           "cust_notelp, cust_date, cust_author) VALUES (?, ?, ?, ?, ?, ?)"),
            {key(nomor), typed(nama), typed(oneLine(alamat)), typed(notelp), Regional::today(),
             LoginUserName});
        written = int(Db::insertedId(q));
    }
    t.commit();
    return {Outcome::Done, written};
}

bool customerIsReferenced(int id)
{
    return exists(QStringLiteral("SELECT 1 FROM tvr_sales WHERE sales_idcust = ? LIMIT 1"), {id});
}

static Outcome deleteCustomerOnce(int id)
{
    Transaction t;
    if (!lockRow(Customers, id))
        return Outcome::Missing;
    Rights::require(Rights::Action::DeleteRegister);
    const QString before = registerText(QStringLiteral("tvr_customer"), QStringLiteral("idcust"), id);
    // Every writer of this customer's sales locks the customer first: the
    // goods they name stay the same from here on.
    lockNamedVariants(QStringLiteral("sales_idcust = ?"), id);
    lockNamedBotols(QStringLiteral("sales_idcust = ?"), id);
    lockSales(QStringLiteral("sales_idcust = ?"), id);
    // Concentrate before bottles: the order in which a sale locks them.
    giveConcentrateBack(QStringLiteral("sales_idcust = ?"), id);
    giveBottlesBack(QStringLiteral("sales_idcust = ?"), id);
    Db::exec(QStringLiteral("DELETE FROM tvr_sales WHERE sales_idcust = ?"), {id});
    Db::exec(QStringLiteral("DELETE FROM tvr_customer WHERE idcust = ?"), {id});
    trailDeletion(QStringLiteral("tvr_customer"), id, before);
    t.commit();
    return Outcome::Done;
}

// Each write runs once more when the server cancelled it as a deadlock victim.

Saved saveVariant(std::optional<int> id, const QString& kode, const QString& nama, double harga,
                  const std::optional<CostFields>& cost)
{
    const Saved saved = Db::retryOnce([&] { return saveVariantOnce(id, kode, nama, harga, cost); });
    LowStock::saved();
    return saved;
}

Outcome deleteVariant(int id)
{
    return Db::retryOnce([&] { return deleteVariantOnce(id); });
}

Saved saveBotol(std::optional<int> id, const QString& tipe, double harga,
                const std::optional<CostFields>& cost)
{
    const Saved saved = Db::retryOnce([&] { return saveBotolOnce(id, tipe, harga, cost); });
    LowStock::saved();
    return saved;
}

Outcome deleteBotol(int id)
{
    return Db::retryOnce([&] { return deleteBotolOnce(id); });
}

Saved saveCustomer(std::optional<int> id, const QString& nomor, const QString& nama,
                   const QString& alamat, const QString& notelp)
{
    return Db::retryOnce([&] { return saveCustomerOnce(id, nomor, nama, alamat, notelp); });
}

Outcome deleteCustomer(int id)
{
    return Db::retryOnce([&] { return deleteCustomerOnce(id); });
}

} // namespace RegisterStore
