// The customer's receipt: its lines to the character for both paper widths,
// its settings in cfg.cae, the page it is painted on, and the till printing
// the right sale at the right moment, with the printer failing.
#include "ScriptedPrompt.h"
#include "TestDb.h"

#include "core/Config.h"
#include "core/Db.h"
#include "core/Regional.h"
#include "sales/Receipt.h"
#include "sales/ReceiptPrinter.h"
#include "sales/SalesStore.h"
#include "sales/frmTransaksi.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using ReceiptMode = Config::Values::ReceiptMode;

Q_DECLARE_METATYPE(SalesStore::ReceiptSale)

namespace {

QString sp(int n)
{
    return QString(n, QLatin1Char(' '));
}

int insert(const QString& sql, const QVariantList& values)
{
    return int(Db::insertedId(Db::exec(sql, values)));
}

// A bottle type, two variants, a customer, a cashier with a full name and one
// earlier sale of today (into the customer's own bottle).
struct Shop {
    int spray = 0, v1 = 0, v2 = 0, ani = 0;
    qint64 earlier = 0;
};

Shop makeShop()
{
    Shop s;
    s.spray = insert("INSERT INTO tvr_dtbotol (botol_tipe, botol_harga, botol_stock) "
                     "VALUES ('SPRAY', 5000, 5)",
                     {});
    s.v1 = insert("INSERT INTO tvr_dtvariant (variant_kode, variant_nama, variant_harga, "
                  "variant_stock) VALUES ('V1', 'Melati', 2500, 100)",
                  {});
    s.v2 = insert("INSERT INTO tvr_dtvariant (variant_kode, variant_nama, variant_harga, "
                  "variant_stock) VALUES ('V2', 'Mawar', 3000, 5)",
                  {});
    s.ani = insert("INSERT INTO tvr_customer (cust_nomor, cust_nama) VALUES ('C001', 'Ani')", {});
    insert("INSERT INTO tvr_user (user_name, user_password, user_namalengkap) "
           "VALUES ('tester', 'x', 'Tester Satu')",
           {});
    const int refill =
        Db::scalar("SELECT idbotol FROM tvr_dtbotol WHERE botol_tipe = 'REFILL'").toInt();
    s.earlier =
        insert("INSERT INTO tvr_sales (sales_idcust, sales_idvariant, sales_mililiter, "
               "sales_totalml, sales_idbotol, sales_hargavariant, sales_hargabotol, "
               "sales_hargatotal, sales_diskon, sales_hargadiskon, sales_date, "
               "sales_author) VALUES (?, ?, 4, 4, ?, 2500, 0, 10000, 0, 10000, ?, 'kasir1')",
               {s.ani, s.v1, refill, Regional::today()});
    return s;
}

int count(const QString& table)
{
    return Db::scalar("SELECT COUNT(*) FROM " + table).toInt();
}

// The receipts the till sends out, read back by their sale number; the
// settings come from cfg.cae in the test's folder.
struct Receipts {
    QList<QStringList> printed;
    std::optional<ReceiptPrinter::Failure> failure;

    explicit Receipts(const TestDb& t, const QStringList& extraLines, bool realPrinter = false)
    {
        t.writeConfig(QStringList{"provider=:Driver=QSQLITE;Database=", "filedata=:tavoru.db",
                                  "listpage=:10"} +
                      extraLines);
        ReceiptPrinter::setConfigFolder(t.dir());
        if (!realPrinter)
            ReceiptPrinter::setOutput(
                [this](const QStringList& lines, const Config::Values&, const QString&) {
                    printed << lines;
                    return failure;
                });
    }
    ~Receipts()
    {
        ReceiptPrinter::setOutput({});
        ReceiptPrinter::setConfigFolder({});
    }
    QList<qint64> ids() const
    {
        static const QRegularExpression number(QStringLiteral("^No\\. Nota : (\\d+)$"));
        QList<qint64> ids;
        for (const QStringList& lines : printed)
            for (const QString& line : lines)
                if (const auto m = number.match(line); m.hasMatch())
                    ids << m.captured(1).toLongLong();
        return ids;
    }
};

std::unique_ptr<frmTransaksi> openTill()
{
    auto w = std::make_unique<frmTransaksi>();
    w->show();
    if (!QTest::qWaitForWindowActive(w.get()))
        qWarning("the sales window did not become active");
    return w;
}

void type(QLineEdit* field, const QString& text)
{
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
}

void enterSale(frmTransaksi* w, const QString& kode, const QString& ml, const QString& botol)
{
    type(w->txtNoCust, "C001");
    type(w->txtKode, kode);
    type(w->txtMililiter, ml);
    const int index = w->cmbBotol->findText(botol);
    w->cmbBotol->setCurrentIndex(index);
    emit w->cmbBotol->activated(index);
}

qint64 newestSale()
{
    return Db::scalar("SELECT MAX(idsales) FROM tvr_sales").toLongLong();
}

void clickRow(QTableView* grid, int row)
{
    const QModelIndex index = grid->model()->index(row, 1);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class ReceiptTest : public QObject {
    Q_OBJECT
private slots:
    void lines_data();
    void lines();
    void settings_data();
    void settings();
    void fontFillsTheLine_data();
    void fontFillsTheLine();
    void pdfBesideTheDatabase();
    void printsTheSaleInTheEditor();
    void automaticPrintsOncePerSave();
    void offHidesTheButtonAndTheKey();
    void printerFailureKeepsTheSale();
};

void ReceiptTest::lines_data()
{
    QTest::addColumn<SalesStore::ReceiptSale>("sale");
    QTest::addColumn<QString>("shopName");
    QTest::addColumn<QString>("shopAddress");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QDateTime>("printedAt");
    QTest::addColumn<QStringList>("expected");

    SalesStore::ReceiptSale spray;
    spray.id = 7;
    spray.date = QDate(2026, 12, 8);
    spray.cashier = "Ani Kasir";
    spray.custNomor = "C001";
    spray.custNama = "Budi Santoso";
    spray.variantKode = "V001";
    spray.variantNama = "Vanilla Oud";
    spray.botolTipe = "SPRAY30";
    spray.mililiter = 10;
    spray.hargaVariant = 2500;
    spray.hargaBotol = 5000;
    spray.hargaTotal = 30000;
    spray.diskon = 10;
    spray.hargaDiskon = 27000;
    const QDateTime sameDay(QDate(2026, 12, 8), QTime(14, 5, 59));
    const QString shop = "Tavoru Aromatic";
    const QString street = "Jl. Melati 5, Bandung";

    QTest::newRow("58 mm, bottle and discount") << spray << shop << street << 32 << sameDay
                                                << QStringList{sp(8) + "Tavoru Aromatic",
                                                               sp(5) + "Jl. Melati 5, Bandung",
                                                               QString(32, '-'),
                                                               "No. Nota : 7",
                                                               "Tanggal  : 08/12/2026 14:05",
                                                               "Kasir    : Ani Kasir",
                                                               "Pelanggan: C001 Budi Santoso",
                                                               QString(32, '-'),
                                                               "V001 Vanilla Oud",
                                                               "10 ml x 2.500" + sp(13) + "25.000",
                                                               "Botol SPRAY30" + sp(14) + "5.000",
                                                               QString(32, '-'),
                                                               "Total" + sp(21) + "30.000",
                                                               "Diskon 10%" + sp(16) + "-3.000",
                                                               "Bayar" + sp(21) + "27.000",
                                                               QString(32, '-'),
                                                               sp(10) + "Terima kasih"};

    QTest::newRow("80 mm, bottle and discount") << spray << shop << street << 48 << sameDay
                                                << QStringList{sp(16) + "Tavoru Aromatic",
                                                               sp(13) + "Jl. Melati 5, Bandung",
                                                               QString(48, '-'),
                                                               "No. Nota : 7",
                                                               "Tanggal  : 08/12/2026 14:05",
                                                               "Kasir    : Ani Kasir",
                                                               "Pelanggan: C001 Budi Santoso",
                                                               QString(48, '-'),
                                                               "V001 Vanilla Oud",
                                                               "10 ml x 2.500" + sp(29) + "25.000",
                                                               "Botol SPRAY30" + sp(30) + "5.000",
                                                               QString(48, '-'),
                                                               "Total" + sp(37) + "30.000",
                                                               "Diskon 10%" + sp(32) + "-3.000",
                                                               "Bayar" + sp(37) + "27.000",
                                                               QString(48, '-'),
                                                               sp(18) + "Terima kasih"};

    // The customer's own bottle: no bottle line; no discount: no discount line;
    // printed again a day later: both days named.
    SalesStore::ReceiptSale refill = spray;
    refill.id = 123;
    refill.date = QDate(2026, 12, 7);
    refill.custNomor = "C002";
    refill.custNama = "";
    refill.variantKode = "V2";
    refill.variantNama = "Mawar";
    refill.botolTipe = "REFILL";
    refill.refill = true;
    refill.mililiter = 2.5;
    refill.hargaVariant = 12500;
    refill.hargaBotol = 0;
    refill.hargaTotal = 31250;
    refill.diskon = 0;
    refill.hargaDiskon = 31250;
    QTest::newRow("58 mm, refill without discount, printed a day later")
        << refill << shop << QString() << 32 << QDateTime(QDate(2026, 12, 8), QTime(9, 30))
        << QStringList{sp(8) + "Tavoru Aromatic",
                       QString(32, '-'),
                       "No. Nota : 123",
                       "Tanggal  : 07/12/2026",
                       "Dicetak  : 08/12/2026 09:30",
                       "Kasir    : Ani Kasir",
                       "Pelanggan: C002",
                       QString(32, '-'),
                       "V2 Mawar",
                       "2,5 ml x 12.500" + sp(11) + "31.250",
                       QString(32, '-'),
                       "Total" + sp(21) + "31.250",
                       "Bayar" + sp(21) + "31.250",
                       QString(32, '-'),
                       sp(10) + "Terima kasih"};

    // Every name at its column's full width, and amounts in the hundreds of millions.
    SalesStore::ReceiptSale wide = spray;
    wide.cashier = "Maria Goretti Susant";
    wide.custNomor = "C00000000012";
    wide.custNama = "Bernadette Kusumawardhani";
    wide.variantKode = "VARIANT00001";
    wide.variantNama = "Oud Wood Intense Ext";
    wide.botolTipe = "SPRAYKACA100";
    wide.mililiter = 1234;
    wide.hargaVariant = 125000;
    wide.hargaBotol = 125000;
    wide.hargaTotal = 154375000;
    wide.diskon = 12.5;
    wide.hargaDiskon = 135078125;
    QTest::newRow("58 mm, long names cut to the line")
        << wide << "Toko Parfum Isi Ulang Tavoru Aromatic Sejahtera"
        << "Jalan Raya Kebayoran Lama Nomor 123, Jakarta Selatan" << 32 << sameDay
        << QStringList{"Toko Parfum Isi Ulang Tavoru Aro",
                       "Jalan Raya Kebayoran Lama Nomor",
                       QString(32, '-'),
                       "No. Nota : 7",
                       "Tanggal  : 08/12/2026 14:05",
                       "Kasir    : Maria Goretti Susant",
                       "Pelanggan: C00000000012 Bernadet",
                       QString(32, '-'),
                       "VARIANT00001 Oud Wood Intense Ex",
                       "1234 ml x 125.000" + sp(4) + "154.250.000",
                       "Botol SPRAYKACA100" + sp(7) + "125.000",
                       QString(32, '-'),
                       "Total" + sp(16) + "154.375.000",
                       "Diskon 12,5%" + sp(9) + "-19.296.875",
                       "Bayar" + sp(16) + "135.078.125",
                       QString(32, '-'),
                       sp(10) + "Terima kasih"};
}

void ReceiptTest::lines()
{
    QFETCH(SalesStore::ReceiptSale, sale);
    QFETCH(QString, shopName);
    QFETCH(QString, shopAddress);
    QFETCH(int, columns);
    QFETCH(QDateTime, printedAt);
    QFETCH(QStringList, expected);

    const QStringList got = Receipt::lines(sale, {shopName, shopAddress}, columns, printedAt);
    for (int i = 0; i < std::min(got.size(), expected.size()); ++i)
        QCOMPARE(got.at(i), expected.at(i));
    QCOMPARE(got.size(), expected.size());
    for (const QString& line : got)
        QVERIFY2(line.size() <= columns && !line.endsWith(' '), qPrintable(line));
}

void ReceiptTest::settings_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("refused"); // the key the message names; empty when accepted
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("paper");
    QTest::addColumn<QString>("printer");
    QTest::addColumn<QString>("shop");

    const int manual = int(ReceiptMode::Manual);
    QTest::newRow("defaults") << QStringList{} << "" << manual << 58 << ""
                              << "Tavoru Aromatic";
    QTest::newRow("all set") << QStringList{"nota=:otomatis", "notalebar=:80",
                                            "notaprinter=:TM-T82", "toko=: Parfum Wangi ",
                                            "alamattoko=:Jl. Mawar 1"}
                             << "" << int(ReceiptMode::Automatic) << 80 << "TM-T82"
                             << "Parfum Wangi";
    QTest::newRow("off, pdf, windows line ends") << QStringList{"nota=:OFF\r", "notaprinter=:pdf\r"}
                                                 << "" << int(ReceiptMode::Off) << 58 << "pdf"
                                                 << "Tavoru Aromatic";
    QTest::newRow("empty printer is the default one")
        << QStringList{"notaprinter=:", "nota=:manual"} << "" << manual << 58 << ""
        << "Tavoru Aromatic";
    QTest::newRow("unknown mode") << QStringList{"nota=:kadang"} << "nota" << 0 << 0 << ""
                                  << "";
    QTest::newRow("empty mode") << QStringList{"nota=:"} << "nota" << 0 << 0 << ""
                                << "";
    QTest::newRow("other paper") << QStringList{"notalebar=:57"} << "notalebar" << 0 << 0 << ""
                                 << "";
    QTest::newRow("paper in cm") << QStringList{"notalebar=:8"} << "notalebar" << 0 << 0 << ""
                                 << "";
    QTest::newRow("receipt key without separator")
        << QStringList{"notalebar"} << "notalebar" << 0 << 0 << ""
        << "";
}

void ReceiptTest::settings()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, refused);
    QFETCH(int, mode);
    QFETCH(int, paper);
    QFETCH(QString, printer);
    QFETCH(QString, shop);

    const Config::Result r =
        Config::parse(QStringList{"filedata=:tavoru.db"} + lines, "/opt/tavoru/cfg.cae");
    if (!refused.isEmpty()) {
        QVERIFY(!r.ok);
        QVERIFY2(r.error.contains('"' + refused + '"') && r.error.contains("/opt/tavoru/cfg.cae"),
                 qPrintable(r.error));
        return;
    }
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(int(r.values.receiptMode), mode);
    QCOMPARE(r.values.receiptPaperMm, paper);
    QCOMPARE(r.values.receiptPrinter, printer);
    QCOMPARE(r.values.shopName, shop);
}

void ReceiptTest::fontFillsTheLine_data()
{
    QTest::addColumn<int>("paper");
    QTest::newRow("58 mm") << 58;
    QTest::newRow("80 mm") << 80;
}

void ReceiptTest::fontFillsTheLine()
{
    QFETCH(int, paper);
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("font.pdf"));
    printer.setPageLayout(QPageLayout(QPageSize(QSizeF(paper, 100), QPageSize::Millimeter),
                                      QPageLayout::Portrait, QMarginsF(4, 3, 4, 3),
                                      QPageLayout::Millimeter));
    const int columns = Receipt::columnsFor(paper);
    QCOMPARE(columns, paper == 58 ? 32 : 48);
    const QFont font = ReceiptPrinter::fontFor(&printer, columns);
    const QFontMetricsF m(font, &printer);
    // Every character as wide as the next, and one line just inside the paper.
    const double line = m.horizontalAdvance(QString(columns, 'M'));
    QCOMPARE(m.horizontalAdvance(QString(columns, '1')), line);
    QCOMPARE(m.horizontalAdvance(QString(columns, '.')), line);
    QVERIFY2(line <= printer.width() && line >= 0.97 * printer.width(),
             qPrintable(QString("%1 of %2").arg(line).arg(printer.width())));
}

void ReceiptTest::pdfBesideTheDatabase()
{
    TestDb t;
    ScriptedPrompt prompt;
    const Shop s = makeShop();
    Receipts receipts(t, {"notaprinter=:pdf", "notalebar=:80"}, true);
    auto w = openTill();
    clickRow(w->dtGridTrans, 0);
    QTest::keyClick(w.get(), Qt::Key_F9);
    QCOMPARE(prompt.texts(), QStringList());

    const QByteArray pdf =
        readAll(QDir(t.dir()).filePath(QString("nota/nota-%1.pdf").arg(s.earlier)));
    QVERIFY(pdf.startsWith("%PDF"));
    // One page as wide as the 80 mm paper (226,8 points) and as long as the
    // receipt: some 2,9 mm a line for 17 lines and the margins, not a sheet.
    static const QRegularExpression box(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"));
    const QString text = QString::fromLatin1(pdf);
    QCOMPARE(text.count(box), 1);
    const auto m = box.match(text);
    QVERIFY(qAbs(m.captured(1).toDouble() - 80 / 25.4 * 72) < 1);
    const double heightMm = m.captured(2).toDouble() / 72 * 25.4;
    QVERIFY2(heightMm > 55 && heightMm < 80, qPrintable(m.captured(2)));
}

void ReceiptTest::printsTheSaleInTheEditor()
{
    TestDb t;
    ScriptedPrompt prompt;
    const Shop s = makeShop();
    Receipts receipts(t, {"toko=:Wangi", "notalebar=:58"});
    auto w = openTill();
    QVERIFY(w->cmdNota->isVisible());
    QCOMPARE(w->cmdNota->text(), QString("&Cetak Nota"));

    // Nothing saved or chosen yet: nothing to print.
    QTest::keyClick(w.get(), Qt::Key_F9);
    QCOMPARE(prompt.texts(), QStringList{"Belum ada penjualan yang dapat dicetak notanya."});
    QVERIFY(receipts.printed.isEmpty());
    prompt.clear();

    // Saved: printed on request only, and that sale.
    enterSale(w.get(), "V1", "10", "SPRAY");
    QTest::mouseClick(w->cmdSubmit, Qt::LeftButton);
    QCOMPARE(prompt.texts(), QStringList{"Data telah disimpan."});
    const qint64 saved = newestSale();
    QVERIFY(receipts.printed.isEmpty());
    QTest::keyClick(w.get(), Qt::Key_F9);
    QCOMPARE(receipts.ids(), QList<qint64>{saved});
    const QStringList& lines = receipts.printed.last();
    QCOMPARE(lines.first(), sp(13) + "Wangi");
    QVERIFY(lines.contains("Kasir    : Tester Satu"));
    QVERIFY(lines.contains("Pelanggan: C001 Ani"));
    QVERIFY(lines.contains("Botol SPRAY" + sp(16) + "5.000"));
    QVERIFY(lines.contains("Bayar" + sp(21) + "30.000"));

    // The earlier sale selected in the list: F9 and the button print it.
    clickRow(w->dtGridTrans, 1);
    QCOMPARE(w->txtIDTrans->text(), QString::number(s.earlier));
    QTest::keyClick(w->dtGridTrans, Qt::Key_F9);
    QTest::keyClick(w.get(), Qt::Key_C, Qt::AltModifier);
    QCOMPARE(receipts.ids(), (QList<qint64>{saved, s.earlier, s.earlier}));
    QVERIFY(!receipts.printed.last().join('\n').contains("Botol")); // a refill

    // While the next sale is typed, F9 prints the one saved last.
    QTest::mouseClick(w->cmdNew, Qt::LeftButton);
    type(w->txtNoCust, "C001");
    QTest::keyClick(w->txtNoCust, Qt::Key_F9);
    QCOMPARE(receipts.ids().last(), saved);
    QCOMPARE(receipts.ids().size(), 4);

    // A sale number that does not exist: nothing to print, not another sale.
    clickRow(w->dtGridTrans, 0);
    type(w->txtIDTrans, "999");
    QTest::keyClick(w.get(), Qt::Key_F9);
    QCOMPARE(receipts.ids().size(), 4);
    QCOMPARE(prompt.lastText(), QString("Belum ada penjualan yang dapat dicetak notanya."));

    // In the tab order the button comes right after Submit.
    QCOMPARE(w->cmdSubmit->nextInFocusChain(), static_cast<QWidget*>(w->cmdNota));
}

void ReceiptTest::automaticPrintsOncePerSave()
{
    TestDb t;
    ScriptedPrompt prompt;
    makeShop();
    Receipts receipts(t, {"nota=:otomatis"});
    auto w = openTill();

    enterSale(w.get(), "V1", "10", "SPRAY");
    QTest::mouseClick(w->cmdSubmit, Qt::LeftButton);
    const qint64 first = newestSale();
    QCOMPARE(receipts.ids(), QList<qint64>{first});

    // Refused saves print nothing: too little concentrate, no variant.
    QTest::mouseClick(w->cmdNew, Qt::LeftButton);
    enterSale(w.get(), "V2", "6", "REFILL");
    QTest::mouseClick(w->cmdSubmit, Qt::LeftButton);
    QCOMPARE(prompt.lastText(), QString("Stock Konsentrat tidak tersedia."));
    type(w->txtKode, "XX");
    QTest::mouseClick(w->cmdSubmit, Qt::LeftButton);
    QCOMPARE(prompt.lastText(), QString("Kode variant tidak dikenal!"));
    QCOMPARE(receipts.ids(), QList<qint64>{first});

    // The next sale, then a correction of it: one receipt each.
    type(w->txtKode, "V2");
    type(w->txtMililiter, "5");
    QTest::mouseClick(w->cmdSubmit, Qt::LeftButton);
    const qint64 second = newestSale();
    QVERIFY(second != first);
    type(w->txtMililiter, "4");
    QCOMPARE(w->cmdSubmit->text(), QString("&Update"));
    QTest::mouseClick(w->cmdSubmit, Qt::LeftButton);
    QCOMPARE(receipts.ids(), (QList<qint64>{first, second, second}));
    QVERIFY(receipts.printed.last().contains("4 ml x 3.000" + sp(14) + "12.000"));
    QCOMPARE(count("tvr_sales"), 3);
}

void ReceiptTest::offHidesTheButtonAndTheKey()
{
    TestDb t;
    ScriptedPrompt prompt;
    makeShop();
    Receipts receipts(t, {"nota=:off"});
    auto w = openTill();
    QVERIFY(w->cmdNota->isHidden());
    enterSale(w.get(), "V1", "10", "SPRAY");
    QTest::mouseClick(w->cmdSubmit, Qt::LeftButton);
    QTest::keyClick(w.get(), Qt::Key_F9);
    QTest::keyClick(w.get(), Qt::Key_C, Qt::AltModifier);
    QCOMPARE(prompt.texts(), QStringList{"Data telah disimpan."});
    QVERIFY(receipts.printed.isEmpty());
}

void ReceiptTest::printerFailureKeepsTheSale()
{
    TestDb t;
    ScriptedPrompt prompt;
    makeShop();
    {
        // Through the seam: the printer refuses the job.
        Receipts receipts(t, {"nota=:otomatis"});
        receipts.failure = ReceiptPrinter::Failure{"printer \"Kasir-1\"",
                                                   "printer tidak dapat memulai pencetakan"};
        auto w = openTill();
        enterSale(w.get(), "V1", "10", "SPRAY");
        QTest::mouseClick(w->cmdSubmit, Qt::LeftButton);
        QCOMPARE(prompt.calls.size(), 2);
        QCOMPARE(prompt.calls.at(0).text, QString("Data telah disimpan."));
        QCOMPARE(prompt.calls.at(1).text,
                 QString("Nota tidak dapat dicetak ke printer \"Kasir-1\": printer tidak dapat "
                         "memulai pencetakan.\n\nPenjualan tetap tersimpan."));
        QCOMPARE(prompt.calls.at(1).icon, Prompt::Icon::Critical);
        QCOMPARE(count("tvr_sales"), 2);
        // The sale stays in the editor, ready for another try.
        QCOMPARE(w->txtIDTrans->text(), QString::number(newestSale()));
        QCOMPARE(w->cmdSubmit->text(), QString("&Update"));
    }
    prompt.clear();
    {
        // The real printer path: a printer name the system does not know.
        Receipts receipts(t, {"notaprinter=:TidakAda"}, true);
        auto w = openTill();
        clickRow(w->dtGridTrans, 0);
        const QString before = w->txtIDTrans->text();
        QTest::keyClick(w.get(), Qt::Key_F9);
        QCOMPARE(prompt.texts(),
                 QStringList{"Nota tidak dapat dicetak ke printer \"TidakAda\": printer tidak "
                             "ditemukan.\n\nPenjualan tetap tersimpan."});
        QCOMPARE(w->txtIDTrans->text(), before);
        QCOMPARE(count("tvr_sales"), 2);
    }
}

QTEST_MAIN(ReceiptTest)
#include "tst_receipt.moc"
