// The customer search and the purchase history on the large database: a part
// of a name, an address or a number among 100 000 customers, on the first, a
// middle and the last page, each with its count. Three times: on a database
// made before the search indexes (a scan and a sort), with the ordered indexes
// only (a scan, pages walked in order), and with the whole schema (rare
// keywords through the trigram table).
#include "Bench.h"

#include "ScriptedPrompt.h"

#include "TestDb.h"

#include "core/Db.h"
#include "core/Globals.h"
#include "sales/SearchStore.h"
#include "sales/frmSearch.h"
#include "sales/frmSearchNext.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>

#include <QSqlQuery>

#include <cstdio>
#include <limits>
#include <stdexcept>

namespace {

using SearchStore::SearchBy;

struct Keyword {
    const char* label;
    SearchBy by;
    const char* keyword;
};

// Sparse and dense matches of each search: ~3 700 names, ~3 700 and all
// 100 000 addresses, 300 and ~40 000 numbers.
const Keyword Keywords[] = {
    {"name 'udi' (3 704 matches)", SearchBy::Nama, "udi"},
    {"address 'No. 15' (3 664)", SearchBy::Alamat, "No. 15"},
    {"address 'Bandung' (100 000)", SearchBy::Alamat, "Bandung"},
    {"number '123' (300)", SearchBy::Nomor, "123"},
    {"number '7' (40 951)", SearchBy::Nomor, "7"},
};

// The window's count: exact, or a lower bound once the time or the cap is reached.
constexpr int CountBudgetMs = 6;

// What the window pages through for the count: an inexact count never reads from the end.
int pagedCount(const SearchStore::Count& c)
{
    return c.exact ? c.rows : std::numeric_limits<int>::max() / 2;
}

int lastPage(const SearchStore::Count& c)
{
    const int rows = c.exact ? c.rows : std::max(ListPageSize, c.rows / ListPageSize * ListPageSize);
    return std::max(1, (rows + ListPageSize - 1) / ListPageSize);
}

// The page the window shows after counting, as the search window reads it.
RowSet countAndRead(const Keyword& k, int page, int shownPage, const RowSet& shown)
{
    const SearchStore::Search search = SearchStore::prepare(k.by, k.keyword);
    const SearchStore::Count count =
        SearchStore::countMatches(search, SearchStore::CountCap, CountBudgetMs);
    return SearchStore::readPage(search, SearchStore::planPage(k.by, page, ListPageSize,
                                                               pagedCount(count), shownPage, shown));
}

// The first page's statement raw, as readPage runs it for an ordered walk.
void rawFirstPage(const Keyword& k)
{
    QString order;
    QString column;
    switch (k.by) {
    case SearchBy::Nomor: column = "cust_nomor"; order = "cust_nomor ASC, idcust ASC"; break;
    case SearchBy::Nama:
        column = "cust_nama";
        order = "cust_nama ASC, ifnull(cust_nomor, '') ASC, idcust ASC";
        break;
    case SearchBy::Alamat: column = "cust_alamat"; order = "cust_alamat ASC, idcust ASC"; break;
    }
    QSqlQuery q(Db::connection());
    q.setForwardOnly(true);
    q.prepare("SELECT idcust, cust_nomor, cust_nama, cust_alamat, cust_notelp FROM tvr_customer "
              "WHERE " + column + " LIKE ? ESCAPE '\\' ORDER BY " + order + " LIMIT ? OFFSET 0");
    q.addBindValue(SearchStore::containsPattern(QString::fromUtf8(k.keyword)));
    q.addBindValue(ListPageSize);
    q.exec();
    QVariant v;
    while (q.next())
        v = q.value(2);
}

// Runs the statements of the schema script that mention one of `names`.
void runSchemaStatements(const QStringList& names)
{
    QFile f(TestDb::schemaPath());
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        throw std::runtime_error("cannot read the schema script");
    QString text = QString::fromUtf8(f.readAll());
    text.remove(QRegularExpression(QStringLiteral("--[^\n]*")));
    for (const QString& statement :
         text.split(QRegularExpression(QStringLiteral(";\\s*(\n|$)")), Qt::SkipEmptyParts))
        for (const QString& name : names)
            if (statement.contains(name)) {
                Db::exec(statement);
                break;
            }
}

void searchCases(const QString& prefix)
{
    for (const Keyword& k : Keywords) {
        const SearchStore::Search search = SearchStore::prepare(k.by, k.keyword);
        const SearchStore::Count count =
            SearchStore::countMatches(search, SearchStore::CountCap, CountBudgetMs);
        const int last = lastPage(count);
        const int middle = std::max(1, last / 2);
        // The page before the middle one is on show when ">" leads to it.
        const RowSet before = SearchStore::readPage(
            search,
            SearchStore::planPage(k.by, middle - 1, ListPageSize, pagedCount(count), 0, {}));
        const QString name = prefix + QString::fromLatin1(k.label);
        std::printf("  %s: %s%d matches, %d pages, %s\n", qPrintable(name),
                    count.exact ? "" : "at least ", count.rows, last,
                    search.byTrigrams ? "trigrams" : "ordered walk");
        if (!search.byTrigrams)
            Bench::measure(name + ", raw SQL: first page", 15, [&] { rawFirstPage(k); });
        // The search with its count and first page; the window then pages
        // without counting again.
        Bench::measure(name + ", search: count and first page", 15,
                       [&] { countAndRead(k, 1, 0, {}); }, 20);
        const auto read = [&](int page, int shownPage, const RowSet& shown) {
            SearchStore::readPage(search, SearchStore::planPage(k.by, page, ListPageSize,
                                                                pagedCount(count), shownPage, shown));
        };
        Bench::measure(
            name + ", middle page by >", 15, [&] { read(middle, middle - 1, before); }, 20);
        Bench::measure(name + ", last page", 15, [&] { read(last, 0, {}); }, 20);
    }
}

void search()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("search.db"));
    if (!QFile::copy(Bench::bigDatabase(), path))
        throw std::runtime_error("cannot copy the large database");
    Bench::open(path);

    // As a database made before the search indexes: the keyword scan and a
    // sort (at the first scale only: at four times it only shows the sort grow).
    if (Bench::scale() == 1) {
    for (const char* sql :
         {"DROP TRIGGER IF EXISTS tr_customer_search_insert",
          "DROP TRIGGER IF EXISTS tr_customer_search_delete",
          "DROP TRIGGER IF EXISTS tr_customer_search_update", "DROP TABLE IF EXISTS tvr_zsearch",
          "DROP INDEX IF EXISTS ix_customer_nama", "DROP INDEX IF EXISTS ix_customer_alamat"})
        Db::exec(QString::fromLatin1(sql));
    searchCases(QStringLiteral("older db: "));

    // The ordered indexes only: every keyword still scanned.
    runSchemaStatements({QStringLiteral("ix_customer_nama"), QStringLiteral("ix_customer_alamat")});
    searchCases(QStringLiteral("scan: "));

    // The whole schema again.
    runSchemaStatements({QStringLiteral("tvr_zsearch")});
    }
    searchCases(QString());

    // A regular customer with 500 purchases.
    const int idcust = int(Db::insertedId(Db::exec(QStringLiteral(
        "INSERT INTO tvr_customer (cust_nomor, cust_nama, cust_alamat, cust_notelp, cust_date, "
        "cust_author) VALUES ('LANGGANAN', 'Pelanggan Setia', 'Jl. Mawar 1', '0812', "
        "'2024-01-01', 'bench')"))));
    Db::exec(QStringLiteral(
                 "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 500) "
                 "INSERT INTO tvr_sales (sales_idcust, sales_idvariant, sales_mililiter, "
                 "sales_totalml, sales_idbotol, sales_hargavariant, sales_hargabotol, "
                 "sales_hargatotal, sales_diskon, sales_hargadiskon, sales_date, sales_author) "
                 "SELECT ?, 1 + i % 500, 10, 30, 1 + i % 50, 2000, 4000, 24000, 5, 22800, "
                 "date('2020-01-01', '+' || (i * 3) || ' days'), 'bench' FROM n"),
             {idcust});
    Bench::measure(
        "purchase history, 500 sales (query)", 30, [&] { SearchStore::purchases(idcust); }, 20);

    ScriptedPrompt prompt;
    SalesStore::Customer customer;
    customer.id = idcust;
    customer.nomor = QStringLiteral("LANGGANAN");
    Bench::measure(
        "window: purchase history of 500 sales shown", 15,
        [&] {
            frmSearchNext history;
            history.setCustomer(customer);
            history.show();
            QCoreApplication::processEvents();
        },
        20);

    frmSearch w;
    w.show();
    QCoreApplication::processEvents();
    w.cmbSearchBy->setCurrentIndex(1);
    w.txtKataKunci->setText(QStringLiteral("udi"));
    Bench::measure(
        "window: Search by name (count, first page)", 15, [&] { w.cmdSearch->click(); }, 20);
    Bench::measure(
        "window: next page of a name search", 30, [&] { w.cmdNavigasi.at(2)->click(); }, 20);
    Bench::measure(
        "window: last page of a name search", 15, [&] { w.cmdNavigasi.at(3)->click(); }, 20,
        [&] { w.cmdNavigasi.at(0)->click(); });
    Db::close();
}

} // namespace

BENCH_SUITE(search);
