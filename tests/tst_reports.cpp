// The sales report: the report of each period on a known set of sales, the
// choice of the period in the window, and the report on paper, as PDF and as
// CSV, with the printer failing through its seam.
#include "ScriptedPrompt.h"
#include "TestDb.h"
#include "WindowDriver.h"

#include "core/Db.h"
#include "core/Regional.h"
#include "reports/ReportLayout.h"
#include "reports/ReportOutput.h"
#include "reports/ReportStore.h"
#include "reports/frmSales.h"
#include "core/SalesSummary.h"
#include "masterdata/RegisterStore.h"
#include "sales/SalesStore.h"
#include "stock/StockStore.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using ReportStore::Mode;
using ReportStore::Period;

namespace {

int insert(const QString& sql, const QVariantList& values)
{
    return int(Db::insertedId(Db::exec(sql, values)));
}

int addCustomer(const QString& nomor, const QString& nama)
{
    return insert("INSERT INTO tvr_customer (cust_nomor, cust_nama) VALUES (?, ?)", {nomor, nama});
}

void addSale(int cust, double ml, double value, const QString& date, int status = 0)
{
    insert("INSERT INTO tvr_sales (sales_idcust, sales_idvariant, sales_mililiter, sales_totalml, "
           "sales_idbotol, sales_hargavariant, sales_hargabotol, sales_hargatotal, sales_diskon, "
           "sales_hargadiskon, sales_date, sales_author, sales_status) "
           "VALUES (?, 1, ?, ?, 1, 2000, 0, ?, 0, ?, ?, 'kasir1', ?)",
           {cust, ml, ml, value, value, date, status});
}

// Two customers and sales around the edges of March 2025: a day with three
// sales to two customers (one marked by a stock reset), a sale whose customer
// row is gone, and neighbours just outside the month and the year.
void makeSales()
{
    const int ani = addCustomer("C001", "Ani");
    const int budi = addCustomer("C002", "Budi Santoso");
    addSale(budi, 3, 6000, "2024-12-31");
    addSale(ani, 10, 25000, "2025-03-05");
    addSale(budi, 5.5, 15000.5, "2025-03-05");
    addSale(ani, 2, 4000, "2025-03-05", 1);
    addSale(999, 7, 14000, "2025-03-20");
    addSale(ani, 1.25, 1234.5, "2025-04-01");
    addSale(budi, 4, 8000, "2025-11-30");
}

// The day totals kept by the database and the same totals summed from the
// rows, each day as "date count ml value price", in date order.
QStringList keptDayTotals()
{
    QStringList kept;
    const RowSet rs = Db::select(
        "SELECT ringkasan_periode, ringkasan_jumlah, ringkasan_ml, ringkasan_total, ringkasan_harga "
        "FROM tvr_ringkasan WHERE ringkasan_jenis = ? AND ringkasan_satuan = ? "
        "AND ringkasan_jumlah > 0 ORDER BY ringkasan_periode",
        {int(SalesSummary::AllSales), int(SalesSummary::Day)});
    for (const QVariantList& r : rs.rows)
        kept << QStringList{r.at(0).toString(), r.at(1).toString(), QString::number(r.at(2).toDouble()),
                            QString::number(r.at(3).toDouble()), QString::number(r.at(4).toDouble())}
                    .join(' ');
    return kept;
}

QStringList summedDayTotals()
{
    QStringList summed;
    const RowSet rs = Db::select(
        "SELECT sales_date, COUNT(*), SUM(sales_mililiter), SUM(sales_hargadiskon), "
        "SUM(sales_hargatotal) FROM tvr_sales GROUP BY sales_date ORDER BY sales_date");
    for (const QVariantList& r : rs.rows)
        summed << QStringList{r.at(0).toString(), r.at(1).toString(), QString::number(r.at(2).toDouble()),
                              QString::number(r.at(3).toDouble()), QString::number(r.at(4).toDouble())}
                      .join(' ');
    return summed;
}

QStringList labels(const ReportStore::Report& r)
{
    QStringList l;
    for (const ReportStore::Line& line : r.lines)
        l << line.label;
    return l;
}

QList<double> values(const ReportStore::Report& r)
{
    QList<double> v;
    for (const ReportStore::Line& line : r.lines)
        v << line.mililiter << line.value;
    return v;
}

std::unique_ptr<frmSales> openReport()
{
    auto w = std::make_unique<frmSales>();
    w->show();
    if (!QTest::qWaitForWindowActive(w.get()))
        qWarning("the report window did not become active");
    return w;
}

// Picks an entry as the user does with the keyboard: the arrow keys move the
// choice one entry at a time, each move a click of the box.
void choose(QComboBox* box, const QString& text)
{
    QVERIFY2(box->isEnabled(), qPrintable(box->objectName() + " is locked"));
    const int target = box->findText(text);
    QVERIFY(target >= 0);
    box->setFocus();
    if (box->currentIndex() == target) // the shown entry again: off it and back
        QTest::keyClick(box, target > 0 ? Qt::Key_Up : Qt::Key_Down);
    while (box->currentIndex() < target)
        QTest::keyClick(box, Qt::Key_Down);
    while (box->currentIndex() > target)
        QTest::keyClick(box, Qt::Key_Up);
    QCOMPARE(box->currentText(), text);
}

QStringList gridColumn(const frmSales& w, int column)
{
    QStringList texts;
    auto* model = w.dtGridSales->model();
    for (int r = 0; r < model->rowCount(); ++r)
        texts << model->index(r, column).data().toString();
    return texts;
}

// What the window shows in its labels, as one text.
QString shown(const frmSales& w)
{
    return w.lblPreview_1->text() + w.lblPreview_2->text() + " | " + w.lblJumlahml_i->text() +
           " | " + w.lblValue_i->text();
}

int pdfPages(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray pdf = f.readAll();
    if (!pdf.startsWith("%PDF"))
        return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-z])"));
    return int(QString::fromLatin1(pdf).count(page));
}

// Seams of the report's output, restored when the test ends.
struct OutputSeams {
    QStringList chosen; // paths the save dialog answers with, in order
    int printersMade = 0;
    std::function<std::unique_ptr<QPrinter>()> printer;

    OutputSeams()
    {
        ReportOutput::setFileChooser([this](QWidget*, const QString&, const QString& suggested,
                                            const QString&) {
            suggestions << suggested;
            return chosen.isEmpty() ? QString() : chosen.takeFirst();
        });
        ReportOutput::setPrinterSource([this] {
            ++printersMade;
            return printer ? printer() : nullptr;
        });
    }
    ~OutputSeams()
    {
        ReportOutput::setFileChooser({});
        ReportOutput::setPrinterSource({});
    }
    QStringList suggestions;
};

} // namespace

class ReportsTest : public QObject {
    Q_OBJECT
private slots:
    void reportOfEachPeriod_data();
    void reportOfEachPeriod();
    void totalsFollowEveryWrite_data();
    void totalsFollowEveryWrite();
    void yearList_data();
    void yearList();
    void windowChoosesPeriods();
    void emptyPeriodShowsZeroAndPrintsNothing();
    void pageLines_data();
    void pageLines();
    void pagesRepeatTheHeading_data();
    void pagesRepeatTheHeading();
    void printedAndSavedFiles();
    void writeFailures_data();
    void writeFailures();
};

void ReportsTest::reportOfEachPeriod_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QList<double>>("values"); // ml and value of each line
    QTest::addColumn<double>("totalMl");
    QTest::addColumn<double>("totalValue");

    QTest::newRow("year: months with sales, ascending")
        << 2025 << 0 << 0 << QStringList{"2025-03", "2025-04", "2025-11"}
        << QList<double>{24.5, 58000.5, 1.25, 1234.5, 4, 8000} << 29.75 << 67235.0;
    QTest::newRow("year before: only its own December")
        << 2024 << 0 << 0 << QStringList{"2024-12"} << QList<double>{3, 6000} << 3.0 << 6000.0;
    QTest::newRow("month: days with sales, status-1 sale counted")
        << 2025 << 3 << 0 << QStringList{"05", "20"} << QList<double>{17.5, 44000.5, 7, 14000}
        << 24.5 << 58000.5;
    QTest::newRow("day: three sales to two customers in entry order")
        << 2025 << 3 << 5 << QStringList{"Ani", "Budi Santoso", "Ani"}
        << QList<double>{10, 25000, 5.5, 15000.5, 2, 4000} << 17.5 << 44000.5;
    QTest::newRow("day: a sale whose customer is gone is listed")
        << 2025 << 3 << 20 << QStringList{""} << QList<double>{7, 14000} << 7.0 << 14000.0;
    QTest::newRow("day 31 of a month of 30 days")
        << 2025 << 4 << 31 << QStringList{} << QList<double>{} << 0.0 << 0.0;
    QTest::newRow("month without sales") << 2025 << 2 << 0 << QStringList{} << QList<double>{}
                                         << 0.0 << 0.0;
}

void ReportsTest::reportOfEachPeriod()
{
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, day);
    QFETCH(QStringList, labels);
    QFETCH(QList<double>, values);
    QFETCH(double, totalMl);
    QFETCH(double, totalValue);
    TestDb t;
    makeSales();

    const ReportStore::Report r = ReportStore::report(Period{year, month, day});
    QCOMPARE(::labels(r), labels);
    QCOMPARE(::values(r), values);
    QCOMPARE(r.totalMililiter, totalMl);
    QCOMPARE(r.totalValue, totalValue);
    if (r.period.mode() == Mode::Daily) {
        for (int i = 1; i < r.lines.size(); ++i)
            QVERIFY(r.lines.at(i - 1).id < r.lines.at(i).id);
    }

    // The report reads the sales_date index by a bound range, never a function of the column.
    const QString sql = r.period.mode() == Mode::Daily
                            ? "SELECT 1 FROM tvr_sales WHERE sales_date = ?"
                            : "SELECT sales_date FROM tvr_sales WHERE sales_date >= ? AND "
                              "sales_date < ? GROUP BY sales_date";
    const QVariantList bounds = r.period.mode() == Mode::Daily
                                    ? QVariantList{QString("2025-03-05")}
                                    : QVariantList{QString("2025"), QString("2026")};
    if (!Db::isSqlite())
        return; // the query plan below is SQLite's
    const RowSet plan = Db::select("EXPLAIN QUERY PLAN " + sql, bounds);
    QVERIFY2(plan.size() > 0 && plan.rows.first().last().toString().contains("ix_sales_date"),
             qPrintable(plan.rows.first().last().toString()));
}

void ReportsTest::totalsFollowEveryWrite_data()
{
    QTest::addColumn<QString>("write");
    for (const char* w : {"sale", "correction", "deletion", "register cascade", "stock reset"})
        QTest::newRow(w) << QString::fromLatin1(w);
}

void ReportsTest::totalsFollowEveryWrite()
{
    QFETCH(QString, write);
    TestDb t;
    makeSales();
    const int variant = insert("INSERT INTO tvr_dtvariant (variant_kode, variant_nama, variant_harga, "
                               "variant_stock) VALUES ('V1', 'Melati', 2000, 500)",
                               {});
    const int botol =
        insert("INSERT INTO tvr_dtbotol (botol_tipe, botol_harga, botol_stock) VALUES ('B1', 3000, 9)", {});
    const int cust = addCustomer("C100", "Citra");
    SalesStore::NewSale sale;
    sale.idCust = cust;
    sale.amounts = {variant, botol, 10, 30, 23000, 0, 23000};
    sale.amounts.hargaVariant = 2000;
    sale.amounts.hargaBotol = 3000;
    const qint64 first = SalesStore::addSale(sale);
    const qint64 second = SalesStore::addSale(sale);
    const QStringList before = keptDayTotals();
    QCOMPARE(before, summedDayTotals());

    if (write == "sale") {
        SalesStore::addSale(sale);
    } else if (write == "correction") {
        SalesStore::Amounts a = sale.amounts;
        a.mililiter = 12.5;
        a.hargaTotal = a.hargaDiskon = 28000;
        QCOMPARE(SalesStore::correctSale(first, a), SalesStore::Outcome::Done);
    } else if (write == "deletion") {
        QCOMPARE(SalesStore::deleteSale(second), SalesStore::Outcome::Done);
    } else if (write == "register cascade") {
        RegisterStore::deleteCustomer(cust);
    } else {
        QCOMPARE(StockStore::reset(StockStore::Item::Variant, variant), StockStore::Outcome::Done);
    }
    QCOMPARE(keptDayTotals(), summedDayTotals());
    // The month report built from the totals adds up to the rows of the month.
    const Period march{2025, 3, 0};
    QCOMPARE(ReportStore::report(march).totalValue, 25000 + 15000.5 + 4000 + 14000.0);
}

void ReportsTest::yearList_data()
{
    QTest::addColumn<QList<int>>("saleYears"); // years from the current one
    QTest::addColumn<QList<int>>("offered");   // newest first

    QTest::newRow("no sales: the current year") << QList<int>{} << QList<int>{0};
    QTest::newRow("old years with gaps") << QList<int>{-6, -3, -3} << QList<int>{0, -3, -6};
    QTest::newRow("this year and a dated-ahead sale")
        << QList<int>{0, 1, -1} << QList<int>{1, 0, -1};
}

void ReportsTest::yearList()
{
    QFETCH(QList<int>, saleYears);
    QFETCH(QList<int>, offered);
    TestDb t;
    const int now = QDate::currentDate().year();
    const int cust = addCustomer("C001", "Ani");
    for (int offset : saleYears) {
        addSale(cust, 1, 1000, QString::number(now + offset) + "-01-01");
        addSale(cust, 1, 1000, QString::number(now + offset) + "-12-31");
    }
    QList<int> expected;
    for (int o : offered)
        expected << now + o;
    QCOMPARE(ReportStore::years(now), expected);

    // The window offers the same years and opens on the newest one's yearly report.
    ScriptedPrompt prompt;
    auto w = openReport();
    QStringList items;
    for (int i = 0; i < w->cmbTahun->count(); ++i)
        items << w->cmbTahun->itemText(i);
    QStringList expectedItems;
    for (int y : expected)
        expectedItems << QString::number(y);
    QCOMPARE(items, expectedItems);
    QCOMPARE(w->cmbTahun->currentText(), expectedItems.first());
    QCOMPARE(w->lblPreview_1->text(), QString("Sales Yearly: "));
    QCOMPARE(w->lblJumlahml_i->text(), Regional::amount(2.0 * saleYears.count(offered.first())));
    QVERIFY(w->cmbBulan->isEnabled());
    QVERIFY(!w->cmbTanggal->isEnabled());
    QCOMPARE(w->cmbBulan->currentIndex(), -1);
    QCOMPARE(w->cmbBulan->count(), 12);
    QCOMPARE(w->cmbTanggal->itemText(0), QString("01"));
    QCOMPARE(w->cmbTanggal->itemText(30), QString("31"));
    QCOMPARE(w->focusWidget(), w->cmbTahun);
}

void ReportsTest::windowChoosesPeriods()
{
    TestDb t;
    makeSales();
    ScriptedPrompt prompt;
    auto w = openReport();

    choose(w->cmbTahun, "2025");
    QCOMPARE(shown(*w), QString("Sales Yearly: 2025 | 29,75 | 67.235,00"));
    QCOMPARE(gridColumn(*w, 0), (QStringList{"2025-03", "2025-04", "2025-11"}));
    QCOMPARE(w->dtGridSales->model()->headerData(0, Qt::Horizontal).toString(), QString("Bulan"));
    QCOMPARE(w->dtGridSales->currentIndex().row(), 0);

    choose(w->cmbBulan, "MARET");
    QCOMPARE(shown(*w), QString("Sales Monthly: MARET 2025 | 24,50 | 58.000,50"));
    QCOMPARE(gridColumn(*w, 0), (QStringList{"05", "20"}));
    QCOMPARE(w->dtGridSales->model()->headerData(0, Qt::Horizontal).toString(), QString("Tgl"));

    choose(w->cmbTanggal, "05");
    QCOMPARE(shown(*w), QString("Sales Daily: 05 MARET 2025 | 17,50 | 44.000,50"));
    QCOMPARE(gridColumn(*w, 1), (QStringList{"Ani", "Budi Santoso", "Ani"}));
    QVERIFY(w->dtGridSales->isColumnHidden(0));
    QCOMPARE(w->dtGridSales->model()->headerData(1, Qt::Horizontal).toString(),
             QString("Nama Cust."));

    // A month again drops the day: the monthly report of the new month.
    choose(w->cmbBulan, "APRIL");
    QCOMPARE(w->cmbTanggal->currentIndex(), -1);
    QCOMPARE(shown(*w), QString("Sales Monthly: APRIL 2025 | 1,25 | 1.234,50"));

    // A year again drops month and day and locks the day until a month is chosen.
    choose(w->cmbTanggal, "01");
    choose(w->cmbTahun, "2024");
    QCOMPARE(w->cmbBulan->currentIndex(), -1);
    QCOMPARE(w->cmbTanggal->currentIndex(), -1);
    QVERIFY(!w->cmbTanggal->isEnabled());
    QCOMPARE(shown(*w), QString("Sales Yearly: 2024 | 3,00 | 6.000,00"));
    QCOMPARE(gridColumn(*w, 0), QStringList{"2024-12"});
    QVERIFY(!w->dtGridSales->isColumnHidden(0));
    QVERIFY(prompt.calls.isEmpty());

    // A failing query is reported once and leaves no figures of another period on screen.
    // (the yearly report reads the kept totals)
    Db::exec("ALTER TABLE tvr_ringkasan RENAME TO tvr_ringkasan_gone");
    choose(w->cmbTahun, "2025");
    QCOMPARE(prompt.calls.size(), 1);
    QCOMPARE(prompt.calls.first().title, QString("DATABASE ERROR"));
    QCOMPARE(shown(*w), QString("Sales Yearly: 2025 |  | "));
    QCOMPARE(w->dtGridSales->model()->rowCount(), 0);
}

void ReportsTest::emptyPeriodShowsZeroAndPrintsNothing()
{
    TestDb t;
    makeSales();
    ScriptedPrompt prompt;
    OutputSeams seams;
    auto w = openReport();
    choose(w->cmbTahun, "2025");
    choose(w->cmbBulan, "APRIL");
    choose(w->cmbTanggal, "31");
    QCOMPARE(shown(*w), QString("Sales Daily: 31 APRIL 2025 | 0,00 | 0,00"));
    QCOMPARE(w->dtGridSales->model()->rowCount(), 0);

    for (QPushButton* b : {w->cmdPrint, w->cmdPdf, w->cmdCsv}) {
        prompt.clear();
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(prompt.calls.size(), 1);
        QCOMPARE(prompt.lastText(), QString("Belum ada informasi yang akan dicetak!"));
        QCOMPARE(prompt.calls.last().title, QString("Sales Report"));
        QCOMPARE(prompt.calls.last().icon, Prompt::Icon::Critical);
    }
    QCOMPARE(seams.printersMade, 0);
    QVERIFY(seams.suggestions.isEmpty());
}

void ReportsTest::pageLines_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("table"); // the lines after the heading

    const QString r70(70, '-'), r49(49, '-'), r59(59, '-');
    QTest::newRow("daily") << int(Mode::Daily)
                           << QStringList{
                                  "    " + r70,
                                  "    | NAMA CUST.                       | JML ML.         | VALUE         |",
                                  "    " + r70,
                                  "    | Ani                              |            12,5 |        1234,5 | ",
                                  "    | A name far longer than its cell, |             0,3 | ############# | ",
                                  "    |                                  |               7 |         45000 | ",
                                  "    " + r70,
                                  "",
                                  "    Record         : 3",
                                  "    Jumlah ml      : 19,80 ml",
                                  "    Value          : 1.234.567.891.011,12"};
    QTest::newRow("monthly") << int(Mode::Monthly)
                             << QStringList{
                                    "    " + r49,
                                    "    | TANGGAL     | JML ML.         | VALUE         |",
                                    "    " + r49,
                                    "    | Ani         |            12,5 |        1234,5 | ",
                                    "    | A name far l|             0,3 | ############# | ",
                                    "    |             |               7 |         45000 | ",
                                    "    " + r49,
                                    "    Jumlah ml      : 19,80 ml",
                                    "    Value          : 1.234.567.891.011,12"};
    QTest::newRow("yearly") << int(Mode::Yearly)
                            << QStringList{
                                   "    " + r59,
                                   "    | BULAN                 | JML ML.         | VALUE         |",
                                   "    " + r59,
                                   "    | Ani                   |            12,5 |        1234,5 | ",
                                   "    | A name far longer than|             0,3 | ############# | ",
                                   "    |                       |               7 |         45000 | ",
                                   "    " + r59,
                                   "    Jumlah ml      : 19,80 ml",
                                   "    Value          : 1.234.567.891.011,12"};
}

void ReportsTest::pageLines()
{
    QFETCH(int, mode);
    QFETCH(QStringList, table);
    ReportLayout::Page page;
    page.mode = Mode(mode);
    page.title = ReportLayout::title(page.mode);
    page.period = "05 MARET 2026";
    page.user = "kasir1";
    page.printedAt = QDateTime(QDate(2026, 8, 7), QTime(9, 5, 3));
    // 1234.5 as plain text; a sum with binary noise to the cent; a value too
    // wide for its cell; a name too long for its cell.
    page.lines = {{1, "Ani", 12.5, 1234.5},
                  {2, "A name far longer than its cell, by far", 0.1 + 0.2, 12345678901234.5},
                  {3, "", 7, 45000}};
    page.totalMililiter = 19.8;
    page.totalValue = 1234567891011.12;

    const QStringList lines = ReportLayout::pageLines(page);
    const QString section = QStringList{"Daily ", "Monthly ", "Yearly "}.at(mode);
    const QStringList heading = {"",
                                 "",
                                 "",
                                 "    Section     : " + section,
                                 "    Order       : 05 MARET 2026",
                                 "    Printed by  : kasir1",
                                 "    Printed date: 07 Agu 2026 09:05:03",
                                 ""};
    QCOMPARE(lines.mid(0, heading.size()), heading);
    QCOMPARE(lines.mid(heading.size()), table);

    // Every table line's bars stand under the header's bars.
    const QString header = table.at(1);
    for (int i = 3; i < 6; ++i)
        for (int c = 0; c < header.size(); ++c)
            if (header.at(c) == '|')
                QVERIFY2(table.at(i).at(c) == '|', qPrintable(table.at(i)));
}

void ReportsTest::pagesRepeatTheHeading_data()
{
    QTest::addColumn<int>("sales");
    QTest::addColumn<int>("perPage");
    QTest::addColumn<int>("pages");

    // 11 heading lines and 2 of foot: 47 of a 60-line page for the body, 46
    // where the table goes on and its rule closes the page.
    QTest::newRow("a short day") << 3 << 60 << 1;
    QTest::newRow("the body just fills the page") << 42 << 60 << 1;
    QTest::newRow("one line more") << 43 << 60 << 2;
    QTest::newRow("a long day") << 120 << 60 << 3;
    QTest::newRow("a page too small for its heading") << 5 << 10 << 10;
}

void ReportsTest::pagesRepeatTheHeading()
{
    QFETCH(int, sales);
    QFETCH(int, perPage);
    QFETCH(int, pages);
    ReportLayout::Page page;
    page.mode = Mode::Daily;
    page.title = ReportLayout::title(page.mode);
    page.period = "05 MARET 2026";
    page.user = "kasir1";
    page.printedAt = QDateTime(QDate(2026, 3, 5), QTime(18, 0));
    for (int i = 0; i < sales; ++i)
        page.lines << ReportStore::Line{i, QString("Pelanggan %1").arg(i), 1, 1000};
    const TextPagePainter::Document d = ReportLayout::pageDocument(page);
    QCOMPARE(d.heading.size(), 11);
    QCOMPARE(d.heading + d.body, ReportLayout::pageLines(page));

    const QList<QStringList> printed = TextPagePainter::pages(d, perPage);
    QCOMPARE(printed.size(), pages);
    QStringList body;
    for (int p = 0; p < pages; ++p) {
        const QStringList& lines = printed.at(p);
        QCOMPARE(lines.mid(0, d.heading.size()), d.heading);
        QCOMPARE(lines.last(), QString("    Halaman %1 dari %2").arg(p + 1).arg(pages));
        QVERIFY(lines.size() >= perPage && lines.at(lines.size() - 2).isEmpty());
        // Between heading and foot: the body, closed by the table's rule where
        // it goes on, blank lines down to the foot on the last page.
        QStringList part = lines.mid(d.heading.size(), lines.size() - d.heading.size() - 2);
        if (p + 1 < pages)
            QCOMPARE(part.takeLast(), d.pageBreak.first());
        while (p + 1 == pages && part.last().isEmpty())
            part.removeLast();
        body += part;
    }
    QCOMPARE(body, d.body); // every line once, in order
}

void ReportsTest::printedAndSavedFiles()
{
    TestDb t;
    makeSales();
    QTemporaryDir out;
    ScriptedPrompt prompt;
    OutputSeams seams;
    auto w = openReport();
    choose(w->cmbTahun, "2025");
    choose(w->cmbBulan, "MARET");

    // "Print" on a printer that writes its page to a file: one page, no message.
    const QString printed = out.filePath("printed.pdf");
    seams.printer = [&] { return ReportOutput::pdfPrinter(printed); };
    QTest::mouseClick(w->cmdPrint, Qt::LeftButton);
    QCOMPARE(pdfPages(printed), 1);

    // "&PDF" offers a name from the period and writes the same page there.
    seams.chosen << out.filePath("maret");
    QTest::keyClick(w.get(), Qt::Key_P, Qt::AltModifier);
    QCOMPARE(seams.suggestions.size(), 1);
    QCOMPARE(QFileInfo(seams.suggestions.last()).fileName(), QString("penjualan-2025-03.pdf"));
    QCOMPARE(pdfPages(out.filePath("maret.pdf")), 1);

    // "&CSV": the lines and totals read back to the same numbers.
    seams.chosen << out.filePath("maret.csv");
    QTest::keyClick(w.get(), Qt::Key_C, Qt::AltModifier);
    QCOMPARE(seams.suggestions.size(), 2);
    QCOMPARE(QFileInfo(seams.suggestions.last()).fileName(), QString("penjualan-2025-03.csv"));
    QFile f(out.filePath("maret.csv"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QByteArray bytes = f.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList rows = QString::fromUtf8(bytes.mid(3)).split("\r\n", Qt::SkipEmptyParts);
    QCOMPARE(rows, (QStringList{"Tgl;Mililiter;Value", "05;17,5;44000,5", "20;7;14000",
                                "Jumlah;24,5;58000,5"}));
    double ml = 0, value = 0;
    for (const QString& row : rows.mid(1, 2)) {
        ml += Regional::read(row.section(';', 1, 1));
        value += Regional::read(row.section(';', 2, 2));
    }
    QCOMPARE(ml, Regional::read(w->lblJumlahml_i->text()));
    QCOMPARE(value, Regional::read(w->lblValue_i->text()));

    // A long daily report runs onto a second page.
    const int cust = addCustomer("C003", "Citra");
    for (int i = 0; i < 120; ++i)
        addSale(cust, 1, 1000, "2025-03-05");
    choose(w->cmbTanggal, "05");
    seams.chosen << out.filePath("long.pdf");
    QTest::mouseClick(w->cmdPdf, Qt::LeftButton);
    QVERIFY(pdfPages(out.filePath("long.pdf")) > 1);
    QVERIFY(prompt.calls.isEmpty());
    QCOMPARE(seams.printersMade, 1);
}

void ReportsTest::writeFailures_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("hasPrinter");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("textStart");

    QTest::newRow("no printer") << "cmdPrint" << false << "Printer Error"
                                << "Kesalahan nomor: 1. Keterangan: ";
    QTest::newRow("printer fails to start") << "cmdPrint" << true << "Printer Error"
                                            << "Kesalahan nomor: 2. Keterangan: ";
    QTest::newRow("PDF in a missing folder") << "cmdPdf" << true << "Sales Report"
                                             << "File tidak dapat disimpan:\n";
    QTest::newRow("CSV in a missing folder") << "cmdCsv" << true << "Sales Report"
                                             << "File tidak dapat disimpan:\n";
}

void ReportsTest::writeFailures()
{
    QFETCH(QString, button);
    QFETCH(bool, hasPrinter);
    QFETCH(QString, title);
    QFETCH(QString, textStart);
    TestDb t;
    makeSales();
    QTemporaryDir out;
    const QString missing = out.filePath("no-such-folder/report.pdf");
    ScriptedPrompt prompt;
    OutputSeams seams;
    if (hasPrinter)
        seams.printer = [&] { return ReportOutput::pdfPrinter(missing); };
    seams.chosen << missing;
    auto w = openReport();
    choose(w->cmbTahun, "2025");
    const QString before = shown(*w);

    QTest::mouseClick(w->findChild<QPushButton*>(button), Qt::LeftButton);
    QCOMPARE(prompt.calls.size(), 1);
    QCOMPARE(prompt.calls.first().title, title);
    QCOMPARE(prompt.calls.first().icon, Prompt::Icon::Critical);
    QVERIFY2(prompt.lastText().startsWith(textStart), qPrintable(prompt.lastText()));
    if (title == "Printer Error")
        QVERIFY(prompt.lastText().endsWith("\n\nKemungkinan printer belum diaktifkan\n"
                                           "atau kertas habis/belum dipasang!\n"
                                           "Nyalakan printer atau pasang kertas,\n"
                                           "lalu klik tombol Print kembali!"));
    QVERIFY(!QFile::exists(missing));
    // The window stays as it was and can try again.
    QCOMPARE(shown(*w), before);
    QCOMPARE(w->dtGridSales->model()->rowCount(), 3);
    QVERIFY(w->isVisible());
}

QTEST_MAIN(ReportsTest)
#include "tst_reports.moc"
