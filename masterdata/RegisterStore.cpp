#include "RegisterStore.h"

#include "core/Globals.h"
#include "core/Regional.h"

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

// The first letter of the name in lower case; ix_customer_letter indexes
// exactly this expression together with idcust.
const QString CustomerLetterFilter = QStringLiteral("lower(substr(cust_nama, 1, 1)) = ?");

// A null QString would be bound as NULL: an empty box is stored as empty text.
QVariant typed(const QString& text)
{
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

bool exists(const QString& sql, const QVariantList& values)
{
    return Db::scalar(sql, values).isValid();
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
                                "WHERE idbotol = ? AND botol_tipe <> ?"),
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

std::optional<Variant> findVariant(const QString& kode)
{
    const RowSet rows = Db::select(
        QStringLiteral("SELECT idvariant, variant_kode, variant_nama, variant_harga "
                       "FROM tvr_dtvariant WHERE variant_kode = ? ORDER BY idvariant LIMIT 1"),
        {kode});
    if (rows.isEmpty())
        return std::nullopt;
    return Variant{rows.value(0, 0).toInt(), rows.value(0, 1).toString(),
                   rows.value(0, 2).toString(), rows.value(0, 3).toDouble()};
}

int saveVariant(std::optional<int> id, const QString& kode, const QString& nama, double harga)
{
    Transaction t;
    int written = 0;
    if (id) {
        Db::exec(QStringLiteral("UPDATE tvr_dtvariant SET variant_kode = ?, variant_nama = ?, "
                                "variant_harga = ? WHERE idvariant = ?"),
                 {typed(kode), typed(nama), harga, *id});
        written = *id;
    } else {
        const QString today = Regional::today();
        const QSqlQuery q = Db::exec(
            QStringLiteral("INSERT INTO tvr_dtvariant (variant_kode, variant_nama, variant_harga, "
                           "variant_date, variant_author, variant_ls_date, variant_ls_author) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?)"),
            {typed(kode), typed(nama), harga, today, LoginUserName, today, LoginUserName});
        written = int(Db::insertedId(q));
    }
    t.commit();
    return written;
}

bool variantIsReferenced(int id)
{
    return exists(QStringLiteral("SELECT 1 FROM tvr_sales WHERE sales_idvariant = ? LIMIT 1"),
                  {id}) ||
           exists(QStringLiteral("SELECT 1 FROM tvr_stock WHERE stock_name = 'variant' "
                                 "AND stock_idname = ? LIMIT 1"),
                  {id});
}

void deleteVariant(int id)
{
    Transaction t;
    // The concentrate of these sales is not given back: the variant goes away.
    giveBottlesBack(QStringLiteral("sales_idvariant = ?"), id);
    Db::exec(QStringLiteral("DELETE FROM tvr_sales WHERE sales_idvariant = ?"), {id});
    Db::exec(
        QStringLiteral("DELETE FROM tvr_stock WHERE stock_name = 'variant' AND stock_idname = ?"),
        {id});
    Db::exec(QStringLiteral("DELETE FROM tvr_dtvariant WHERE idvariant = ?"), {id});
    t.commit();
}

// ---- Bottle types

const QStringList& botolKeys()
{
    static const QStringList keys{QStringLiteral("botol_tipe"), QStringLiteral("idbotol")};
    return keys;
}

int countBotols()
{
    return Db::scalar(QStringLiteral("SELECT COUNT(*) FROM tvr_dtbotol WHERE botol_tipe <> ?"),
                      {RefillBottleType})
        .toInt();
}

RowSet botolPage(const PagePlan& plan)
{
    return readPage({BotolColumns,
                     QStringLiteral("tvr_dtbotol"),
                     QStringLiteral("botol_tipe <> ?"),
                     {RefillBottleType},
                     botolKeys(),
                     false},
                    plan);
}

std::optional<Botol> findBotol(const QString& tipe)
{
    const RowSet rows = Db::select(QStringLiteral("SELECT idbotol, botol_tipe, botol_harga "
                                                  "FROM tvr_dtbotol WHERE botol_tipe = ? "
                                                  "ORDER BY idbotol LIMIT 1"),
                                   {tipe});
    if (rows.isEmpty())
        return std::nullopt;
    return Botol{rows.value(0, 0).toInt(), rows.value(0, 1).toString(),
                 rows.value(0, 2).toDouble()};
}

int saveBotol(std::optional<int> id, const QString& tipe, double harga)
{
    Transaction t;
    int written = 0;
    if (id) {
        // The refill type keeps its name whatever the editor holds.
        Db::exec(QStringLiteral("UPDATE tvr_dtbotol SET botol_tipe = CASE WHEN botol_tipe = ? "
                                "THEN botol_tipe ELSE ? END, botol_harga = ? WHERE idbotol = ?"),
                 {RefillBottleType, typed(tipe), harga, *id});
        written = *id;
    } else {
        const QString today = Regional::today();
        const QSqlQuery q =
            Db::exec(QStringLiteral(
                         "INSERT INTO tvr_dtbotol (botol_tipe, botol_harga, botol_date, "
                         "botol_author, botol_ls_date, botol_ls_author) VALUES (?, ?, ?, ?, ?, ?)"),
                     {typed(tipe), harga, today, LoginUserName, today, LoginUserName});
        written = int(Db::insertedId(q));
    }
    t.commit();
    return written;
}

bool botolIsReferenced(int id)
{
    return exists(QStringLiteral("SELECT 1 FROM tvr_sales WHERE sales_idbotol = ? LIMIT 1"),
                  {id}) ||
           exists(QStringLiteral("SELECT 1 FROM tvr_stock WHERE stock_name = 'botol' "
                                 "AND stock_idname = ? LIMIT 1"),
                  {id});
}

void deleteBotol(int id)
{
    Transaction t;
    giveConcentrateBack(QStringLiteral("sales_idbotol = ?"), id);
    Db::exec(
        QStringLiteral("DELETE FROM tvr_stock WHERE stock_name = 'botol' AND stock_idname = ?"),
        {id});
    Db::exec(QStringLiteral("DELETE FROM tvr_sales WHERE sales_idbotol = ?"), {id});
    Db::exec(QStringLiteral("DELETE FROM tvr_dtbotol WHERE idbotol = ?"), {id});
    t.commit();
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
    const RowSet rows =
        Db::select(QStringLiteral("SELECT idcust, cust_nomor, cust_nama, cust_alamat, cust_notelp "
                                  "FROM tvr_customer WHERE cust_nomor = ? ORDER BY idcust LIMIT 1"),
                   {nomor});
    if (rows.isEmpty())
        return std::nullopt;
    return Customer{rows.value(0, 0).toInt(), rows.value(0, 1).toString(),
                    rows.value(0, 2).toString(), rows.value(0, 3).toString(),
                    rows.value(0, 4).toString()};
}

int saveCustomer(std::optional<int> id, const QString& nomor, const QString& nama,
                 const QString& alamat, const QString& notelp)
{
    Transaction t;
    int written = 0;
    if (id) {
        Db::exec(QStringLiteral("UPDATE tvr_customer SET cust_nomor = ?, cust_nama = ?, "
                                "cust_alamat = ?, cust_notelp = ? WHERE idcust = ?"),
                 {typed(nomor), typed(nama), typed(alamat), typed(notelp), *id});
        written = *id;
    } else {
        const QSqlQuery q = Db::exec(
            QStringLiteral("INSERT INTO tvr_customer (cust_nomor, cust_nama, cust_alamat, "
                           "cust_notelp, cust_date, cust_author) VALUES (?, ?, ?, ?, ?, ?)"),
            {typed(nomor), typed(nama), typed(alamat), typed(notelp), Regional::today(),
             LoginUserName});
        written = int(Db::insertedId(q));
    }
    t.commit();
    return written;
}

bool customerIsReferenced(int id)
{
    return exists(QStringLiteral("SELECT 1 FROM tvr_sales WHERE sales_idcust = ? LIMIT 1"), {id});
}

void deleteCustomer(int id)
{
    Transaction t;
    giveBottlesBack(QStringLiteral("sales_idcust = ?"), id);
    giveConcentrateBack(QStringLiteral("sales_idcust = ?"), id);
    Db::exec(QStringLiteral("DELETE FROM tvr_sales WHERE sales_idcust = ?"), {id});
    Db::exec(QStringLiteral("DELETE FROM tvr_customer WHERE idcust = ?"), {id});
    t.commit();
}

} // namespace RegisterStore
