// The customer's receipt: its lines to the character for both paper widths,
// its settings in cfg.cae, its page, and the till printing the right sale at
// the right moment, with the printer failing.
#include "ScriptedPrompt.h"
#include "TestDb.h"

#include "core/Config.h"
#include "core/Db.h"
#include "core/Regional.h"
#include "sales/EscPos.h"
#include "sales/PrinterPort.h"
#include "sales/Receipt.h"
#include "sales/ReceiptPrinter.h"
#include "sales/frmTransaksi.h"
#include "core/Config.h"
#include "payments/PaymentPanel.h"
#include "payments/ShiftStore.h"

#include <QComboBox>
#include <QDir>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QLabel>
#include <QTest>

#include <QProcess>

#include <memory>
#include <thread>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(SalesStore::ReceiptSale)

namespace {

// Expected receipt lines: one per text line, "|" marking where each one ends.
QStringList receipt(const char* text)
{
    QStringList lines = QString::fromUtf8(text).split('\n', Qt::SkipEmptyParts);
    for (QString& l : lines)
        l.chop(1);
    return lines;
}

// A bottle type, two variants, a customer, the cashier's full name and one
// earlier refill sale of today.
qint64 makeShop()
{
    for (const char* sql :
         {"INSERT INTO tvr_dtbotol (botol_tipe, botol_harga, botol_stock) VALUES ('SPRAY', 5000, "
          "5)",
          "INSERT INTO tvr_dtvariant (variant_kode, variant_nama, variant_harga, variant_stock) "
          "VALUES ('V1', 'Melati', 2500, 100), ('V2', 'Mawar', 3000, 5)",
          "INSERT INTO tvr_customer (cust_nomor, cust_nama) VALUES ('C001', 'Ani')",
          "INSERT INTO tvr_user (user_name, user_namalengkap) VALUES ('tester', 'Tester Satu')"})
        Db::exec(sql);
    return Db::insertedId(Db::exec(
        "INSERT INTO tvr_sales (sales_idcust, sales_idvariant, sales_mililiter, sales_idbotol, "
        "sales_hargavariant, sales_hargabotol, sales_hargatotal, sales_diskon, sales_hargadiskon, "
        "sales_date, sales_author) SELECT 1, 1, 4, idbotol, 2500, 0, 10000, 0, 10000, ?, 'kasir1' "
        "FROM tvr_dtbotol WHERE botol_tipe = 'REFILL'",
        {Regional::today()}));
}

void touch(const QString& path, const QByteArray& content)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(content);
}

int salesCount()
{
    return Db::scalar("SELECT COUNT(*) FROM tvr_sales").toInt();
}

// cfg.cae with the receipt lines in the test's folder, and the receipts the
// till sends out caught instead of printed (unless the real printer is wanted).
struct Receipts {
    QList<QStringList> printed;
    std::optional<ReceiptPrinter::Failure> failure;

    Receipts(const TestDb& t, const QStringList& lines, bool realPrinter = false)
    {
        t.writeConfig(QStringList{"provider=:Driver=QSQLITE;Database=", "filedata=:tavoru.db"} +
                      lines);
        ReceiptPrinter::setConfigFolder(t.dir());
        if (!realPrinter)
            ReceiptPrinter::setOutput(
                [this](const QStringList& l, const Config::Values&, const QString&) {
                    printed << l;
                    return failure;
                });
    }
    ~Receipts()
    {
        ReceiptPrinter::setOutput({});
        ReceiptPrinter::setConfigFolder({});
    }
    // The sale number of each receipt sent.
    QList<qint64> ids() const
    {
        QList<qint64> ids;
        for (const QStringList& lines : printed)
            ids << lines.filter("No. Nota").value(0).section(": ", 1).toLongLong();
        return ids;
    }
};

std::unique_ptr<frmTransaksi> openTill()
{
    // The till sells in its open shift.
    ShiftStore::open(Config::tillName(ReceiptPrinter::settings()), 0, nullptr);
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

void saveSale(frmTransaksi* w, const QString& kode, const QString& ml, const QString& botol)
{
    QTest::mouseClick(w->cmdNew, Qt::LeftButton);
    type(w->txtNoCust, "C001");
    type(w->txtKode, kode);
    type(w->txtMililiter, ml);
    w->cmbBotol->setCurrentIndex(w->cmbBotol->findText(botol));
    QTest::mouseClick(w->cmdSubmit, Qt::LeftButton);
    // Paid in exact cash: the visit of one item is saved.
    QTest::keyClick(w, Qt::Key_F3);
    QTest::keyClick(w->fraBayar->txtDiterima, Qt::Key_Return);
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

// Bytes written as a C literal, NULs included.
template <std::size_t N> QByteArray bytes(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

// A TCP listener on 127.0.0.1 that keeps what its first connection sends.
// Without listening, its port is taken and a connection to it refused.
struct Listener {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int port = 0;
    QByteArray received;
    std::thread reader;

    explicit Listener(bool listening)
    {
        sockaddr_in a{.sin_family = AF_INET, .sin_port = 0, .sin_addr = {htonl(INADDR_LOOPBACK)}};
        socklen_t size = sizeof a;
        ::bind(fd, reinterpret_cast<sockaddr*>(&a), size);
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &size);
        port = ntohs(a.sin_port);
        if (listening && ::listen(fd, 4) == 0)
            reader = std::thread([this] {
                char buffer[4096];
                pollfd p{fd, POLLIN, 0};
                for (int c = ::poll(&p, 1, 15000) > 0 ? ::accept(fd, nullptr, nullptr) : -1;
                     c >= 0 && ::poll(&(p = {c, POLLIN, 0}), 1, 15000) > 0;)
                    if (const ssize_t n = ::read(c, buffer, sizeof buffer); n > 0)
                        received.append(buffer, n);
                    else
                        c = (::close(c), -1);
            });
    }
    QByteArray wait()
    {
        if (reader.joinable())
            reader.join();
        return received;
    }
    ~Listener() { ::close((wait(), fd)); }
};

} // namespace

class ReceiptTest : public QObject {
    Q_OBJECT
private slots:
    void lines_data();
    void lines();
    void settings_data();
    void settings();
    void pageFitsThePaper();
    void printsTheSaleInTheEditor();
    void automaticPrintsOncePerSave();
    void offHidesTheButtonAndTheKey();
    void printerFailureKeepsTheSale();
    void whereTheReceiptGoes_data();
    void whereTheReceiptGoes();
    void escPosBytes_data();
    void escPosBytes();
    void escPosPrinters_data();
    void escPosPrinters();
};

void ReceiptTest::lines_data()
{
    QTest::addColumn<SalesStore::ReceiptSale>("sale");
    QTest::addColumn<QString>("shop");
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QDateTime>("printedAt");
    QTest::addColumn<QStringList>("expected");

    // clang-format off
    const SalesStore::ReceiptSale spray{
        .id = 7, .date = QDate(2026, 12, 8), .cashier = "Ani Kasir", .custNomor = "C001",
        .custNama = "Budi  Santoso", .variantKode = "V001", .variantNama = "Vanilla Oud",
        .botolTipe = "SPRAY30", .mililiter = 10, .hargaVariant = 2500, .hargaBotol = 5000,
        .hargaTotal = 30000, .diskon = 10, .hargaDiskon = 27000};
    const QDateTime sameDay(QDate(2026, 12, 8), QTime(14, 5, 59));
    QTest::newRow("58 mm, bottle and discount")
        << spray << "Tavoru Aromatic"
        << "Jl. Melati 5, Bandung" << 32 << sameDay << receipt(R"(
        Tavoru Aromatic|
     Jl. Melati 5, Bandung|
--------------------------------|
No. Nota  : 7|
Tanggal   : 08/12/2026 14:05|
Kasir     : Ani Kasir|
Pelanggan : C001 Budi Santoso|
--------------------------------|
V001 Vanilla Oud|
10 ml x 2.500             25.000|
Botol SPRAY30              5.000|
--------------------------------|
Total                     30.000|
Diskon 10%                -3.000|
Bayar                     27.000|
--------------------------------|
          Terima kasih|
)");
    QTest::newRow("80 mm, bottle and discount")
        << spray << "Tavoru Aromatic"
        << "Jl. Melati 5, Bandung" << 48 << sameDay << receipt(R"(
                Tavoru Aromatic|
             Jl. Melati 5, Bandung|
------------------------------------------------|
No. Nota  : 7|
Tanggal   : 08/12/2026 14:05|
Kasir     : Ani Kasir|
Pelanggan : C001 Budi Santoso|
------------------------------------------------|
V001 Vanilla Oud|
10 ml x 2.500                             25.000|
Botol SPRAY30                              5.000|
------------------------------------------------|
Total                                     30.000|
Diskon 10%                                -3.000|
Bayar                                     27.000|
------------------------------------------------|
                  Terima kasih|
)");

    // The customer's own bottle and no discount, printed again a day later.
    const SalesStore::ReceiptSale refill{
        .id = 123, .date = QDate(2026, 12, 7), .cashier = "Ani Kasir", .custNomor = "C002",
        .variantKode = "V2", .variantNama = "Mawar", .botolTipe = "REFILL", .refill = true,
        .mililiter = 2.5, .hargaVariant = 12500, .hargaTotal = 31250, .hargaDiskon = 31250};
    QTest::newRow("58 mm, refill without discount")
        << refill << "Tavoru Aromatic"
        << "" << 32 << QDateTime(QDate(2026, 12, 8), QTime(9, 30)) << receipt(R"(
        Tavoru Aromatic|
--------------------------------|
No. Nota  : 123|
Tanggal   : 07/12/2026|
Dicetak   : 08/12/2026 09:30|
Kasir     : Ani Kasir|
Pelanggan : C002|
--------------------------------|
V2 Mawar|
2,5 ml x 12.500           31.250|
--------------------------------|
Total                     31.250|
Bayar                     31.250|
--------------------------------|
          Terima kasih|
)");

    // Every name at its column's full width, amounts in the hundreds of millions.
    const SalesStore::ReceiptSale wide{
        .id = 7, .date = QDate(2026, 12, 8), .cashier = "Maria Goretti Susant",
        .custNomor = "C00000000012", .custNama = "Bernadette Kusumawardhani",
        .variantKode = "VARIANT00001", .variantNama = "Oud Wood Intense Ext",
        .botolTipe = "SPRAYKACA100", .mililiter = 1234, .hargaVariant = 125000,
        .hargaBotol = 125000, .hargaTotal = 154375000, .diskon = 12.5, .hargaDiskon = 135078125};
    QTest::newRow("58 mm, long names wrapped onto the next lines")
        << wide << "Toko Parfum Isi Ulang Tavoru Aromatic Sejahtera"
        << "Jalan Raya Kebayoran Lama Nomor 123, Jakarta Selatan" << 32 << sameDay << receipt(R"(
  Toko Parfum Isi Ulang Tavoru|
       Aromatic Sejahtera|
Jalan Raya Kebayoran Lama Nomor|
      123, Jakarta Selatan|
--------------------------------|
No. Nota  : 7|
Tanggal   : 08/12/2026 14:05|
Kasir     : Maria Goretti Susant|
Pelanggan : C00000000012|
            Bernadette|
            Kusumawardhani|
--------------------------------|
VARIANT00001 Oud Wood Intense|
Ext|
1234 ml x 125.000    154.250.000|
Botol SPRAYKACA100       125.000|
--------------------------------|
Total                154.375.000|
Diskon 12,5%         -19.296.875|
Bayar                135.078.125|
--------------------------------|
          Terima kasih|
)");
    // clang-format on
}

void ReceiptTest::lines()
{
    QFETCH(SalesStore::ReceiptSale, sale);
    QFETCH(QString, shop);
    QFETCH(QString, address);
    QFETCH(int, columns);
    QFETCH(QDateTime, printedAt);
    QFETCH(QStringList, expected);
    QCOMPARE(Receipt::lines(sale, {shop, address}, columns, printedAt).join('\n'),
             expected.join('\n'));
}

void ReceiptTest::settings_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("expected"); // mode paper printer|shop, or the key refused

    QTest::newRow("defaults") << QStringList{} << "1 58 |Tavoru Aromatic";
    QTest::newRow("all set") << QStringList{"nota=:otomatis", "notalebar=:80",
                                            "notaprinter=:TM-T82", "toko=: Wangi \r"}
                             << "0 80 TM-T82|Wangi";
    QTest::newRow("off, pdf") << QStringList{"nota=:OFF", "notaprinter=:pdf"}
                              << "2 58 pdf|Tavoru Aromatic";
    QTest::newRow("empty printer") << QStringList{"notaprinter=:"} << "1 58 |Tavoru Aromatic";
    QTest::newRow("unknown mode") << QStringList{"nota=:kadang"} << "\"nota\"";
    QTest::newRow("other paper") << QStringList{"notalebar=:57"} << "\"notalebar\"";
    QTest::newRow("no separator") << QStringList{"notalebar"} << "\"notalebar\"";
    // ESC/POS printers: "escpos=" kind, place, port, then the drawer's pin.
    QTest::newRow("escpos device, drawer on pin 2")
        << QStringList{"notaprinter=:ESCPOS:/dev/usb/lp0", "laci=:2"}
        << "1 58 ESCPOS:/dev/usb/lp0|Tavoru Aromatic escpos=1 /dev/usb/lp0 9100 2";
    QTest::newRow("escpos network, default port")
        << QStringList{"notaprinter=:escpos:tcp:printer.toko", "laci=:OFF"}
        << "1 58 escpos:tcp:printer.toko|Tavoru Aromatic escpos=2 printer.toko 9100 0";
    QTest::newRow("escpos network IPv6, drawer on pin 5")
        << QStringList{"notaprinter=:escpos:tcp:[fd00::5]:9101", "laci=:5"}
        << "1 58 escpos:tcp:[fd00::5]:9101|Tavoru Aromatic escpos=2 fd00::5 9101 5";
    QTest::newRow("escpos raw CUPS queue") << QStringList{"notaprinter=:escpos:cups:TM-T82"}
                                           << "1 58 escpos:cups:TM-T82|Tavoru Aromatic escpos=3 "
                                              "TM-T82 9100 0";
    QTest::newRow("escpos without a place") << QStringList{"notaprinter=:escpos:"}
                                            << "\"notaprinter\"";
    QTest::newRow("escpos relative path") << QStringList{"notaprinter=:escpos:lp0"}
                                          << "\"notaprinter\"";
    QTest::newRow("escpos bad port") << QStringList{"notaprinter=:escpos:tcp:10.0.0.5:99999"}
                                     << "\"notaprinter\"";
    QTest::newRow("escpos queue with a blank") << QStringList{"notaprinter=:escpos:cups:a b"}
                                               << "\"notaprinter\"";
    QTest::newRow("drawer pin 3") << QStringList{"notaprinter=:escpos:/dev/usb/lp0", "laci=:3"}
                                  << "\"laci\"";
    QTest::newRow("drawer without an ESC/POS printer") << QStringList{"laci=:2"} << "\"laci\"";
}

void ReceiptTest::settings()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, expected);
    const Config::Result r = Config::parse(QStringList{"filedata=:F"} + lines, "/opt/t/cfg.cae");
    if (expected.startsWith('"')) {
        QVERIFY(!r.ok);
        QVERIFY2(r.error.contains(expected) && r.error.contains("/opt/t/cfg.cae"),
                 qPrintable(r.error));
        return;
    }
    QVERIFY2(r.ok, qPrintable(r.error));
    const Config::Values& v = r.values;
    QString text = QString("%1 %2 %3|%4")
                       .arg(int(v.receiptMode))
                       .arg(v.receiptPaperMm)
                       .arg(v.receiptPrinter, v.shopName);
    if (v.escPos.kind != Config::Values::EscPosPrinter::Kind::None)
        text += QString(" escpos=%1 %2 %3 %4")
                    .arg(int(v.escPos.kind))
                    .arg(v.escPos.address)
                    .arg(v.escPos.port)
                    .arg(v.drawerPin);
    QCOMPARE(text, expected);
}

void ReceiptTest::pageFitsThePaper()
{
    for (const int paper : {58, 80}) {
        // The font: every character as wide as the next, one line just inside the paper.
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("font.pdf"));
        printer.setPageLayout(QPageLayout(QPageSize(QSizeF(paper, 100), QPageSize::Millimeter),
                                          QPageLayout::Portrait, QMarginsF(4, 3, 4, 3),
                                          QPageLayout::Millimeter));
        const int columns = Receipt::columnsFor(paper);
        QCOMPARE(columns, paper == 58 ? 32 : 48);
        const QFontMetricsF m(ReceiptPrinter::fontFor(&printer, columns), &printer);
        const double line = m.horizontalAdvance(QString(columns, 'M'));
        QCOMPARE(m.horizontalAdvance(QString(columns, '.')), line);
        QVERIFY2(line <= printer.width() && line >= 0.97 * printer.width(),
                 qPrintable(QString("%1 of %2").arg(line).arg(printer.width())));
    }

    // The PDF choice: the selected sale's receipt in nota/ beside the database,
    // one page as wide as 80 mm paper (226,8 points) and as long as the receipt.
    TestDb t;
    ScriptedPrompt prompt;
    const qint64 earlier = makeShop();
    Receipts receipts(t, {"notaprinter=:pdf", "notalebar=:80"}, true);
    auto w = openTill();
    clickRow(w->dtGridTrans, 0);
    QTest::keyClick(w.get(), Qt::Key_F9);
    QCOMPARE(prompt.texts(), QStringList());
    QFile f(QDir(t.dir()).filePath(QString("nota/nota-%1.pdf").arg(earlier)));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString pdf = QString::fromLatin1(f.readAll());
    static const QRegularExpression box("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]");
    QCOMPARE(pdf.count(box), 1);
    const auto size = box.match(pdf);
    QVERIFY(qAbs(size.captured(1).toDouble() - 80 / 25.4 * 72) < 1);
    const double heightMm = size.captured(2).toDouble() / 72 * 25.4;
    QVERIFY2(heightMm > 55 && heightMm < 80, qPrintable(size.captured(2)));
}

void ReceiptTest::printsTheSaleInTheEditor()
{
    TestDb t;
    ScriptedPrompt prompt;
    const qint64 earlier = makeShop();
    Receipts receipts(t, {"toko=:Wangi", "nota=:manual"});
    auto w = openTill();
    QVERIFY(w->cmdNota->isVisible());
    QCOMPARE(w->cmdSubmit->nextInFocusChain(), static_cast<QWidget*>(w->cmdNota));
    const QString nothing = "Belum ada penjualan yang dapat dicetak notanya.";

    // Nothing saved or chosen yet: nothing to print.
    QTest::keyClick(w.get(), Qt::Key_F9);
    QCOMPARE(prompt.texts(), QStringList{nothing});

    // Saved: printed on request only, that sale, from what the store recorded.
    saveSale(w.get(), "V1", "10", "SPRAY");
    const qint64 saved = newestSale();
    QVERIFY(receipts.printed.isEmpty());
    QTest::keyClick(w.get(), Qt::Key_F9);
    QCOMPARE(receipts.ids(), QList<qint64>{saved});
    const QStringList& lines = receipts.printed.last();
    QCOMPARE(lines.at(0), QString(13, ' ') + "Wangi");
    QCOMPARE(lines.mid(4, 2), (QStringList{"Kasir     : Tester Satu", "Pelanggan : C001 Ani"}));
    QCOMPARE(lines.mid(8, 2),
             (QStringList{"10 ml x 2.500             25.000", "Botol SPRAY                5.000"}));

    // The earlier sale selected in the list: F9 and the button print it.
    clickRow(w->dtGridTrans, 1);
    QTest::keyClick(w->dtGridTrans, Qt::Key_F9);
    QTest::keyClick(w.get(), Qt::Key_C, Qt::AltModifier);
    QCOMPARE(receipts.ids(), (QList<qint64>{saved, earlier, earlier}));
    QVERIFY(receipts.printed.last().filter("Botol").isEmpty()); // a refill

    // While the next sale is typed, F9 prints the one saved last.
    QTest::mouseClick(w->cmdNew, Qt::LeftButton);
    type(w->txtNoCust, "C001");
    QTest::keyClick(w->txtNoCust, Qt::Key_F9);
    QCOMPARE(receipts.ids(), (QList<qint64>{saved, earlier, earlier, saved}));

    // A sale number that does not exist: nothing, and not another sale.
    prompt.answers << Prompt::Answer::No; // the typed customer number is dropped
    clickRow(w->dtGridTrans, 0);
    type(w->txtIDTrans, "999");
    QTest::keyClick(w.get(), Qt::Key_F9);
    QCOMPARE(receipts.printed.size(), 4);
    QCOMPARE(prompt.lastText(), nothing);
}

void ReceiptTest::automaticPrintsOncePerSave()
{
    TestDb t;
    ScriptedPrompt prompt;
    makeShop();
    Receipts receipts(t, {"nota=:otomatis"});
    auto w = openTill();
    saveSale(w.get(), "V1", "10", "SPRAY");
    const qint64 first = newestSale();
    QCOMPARE(receipts.ids(), QList<qint64>{first});

    // Refused saves print nothing: too little concentrate, an unknown variant.
    saveSale(w.get(), "V2", "6", "REFILL");
    QCOMPARE(prompt.lastText(), QString("Stock Konsentrat tidak tersedia."));
    saveSale(w.get(), "XX", "1", "REFILL");
    QCOMPARE(prompt.lastText(), QString("Kode variant tidak dikenal!"));
    QCOMPARE(receipts.ids(), QList<qint64>{first});

    // A sale, then its correction: one receipt each, the second with the new amounts.
    saveSale(w.get(), "V2", "5", "REFILL");
    const qint64 second = newestSale();
    clickRow(w->dtGridTrans, 0);
    type(w->txtMililiter, "4");
    QTest::mouseClick(w->cmdSubmit, Qt::LeftButton);
    QCOMPARE(receipts.ids(), (QList<qint64>{first, second, second}));
    QVERIFY(receipts.printed.last().contains("4 ml x 3.000              12.000"));
    QCOMPARE(salesCount(), 3);
}

void ReceiptTest::offHidesTheButtonAndTheKey()
{
    TestDb t;
    ScriptedPrompt prompt;
    makeShop();
    Receipts receipts(t, {"nota=:off"});
    auto w = openTill();
    QVERIFY(w->cmdNota->isHidden());
    saveSale(w.get(), "V1", "10", "SPRAY");
    QTest::keyClick(w.get(), Qt::Key_F9);
    QTest::keyClick(w.get(), Qt::Key_C, Qt::AltModifier);
    QCOMPARE(w->lblStatus_i->text(), QString("Data telah disimpan."));
    QVERIFY(prompt.texts().isEmpty());
    QVERIFY(receipts.printed.isEmpty());
}

void ReceiptTest::printerFailureKeepsTheSale()
{
    TestDb t;
    ScriptedPrompt prompt;
    makeShop();
    {
        // Through the seam: the printer refuses the job of an automatic receipt.
        Receipts receipts(t, {"nota=:otomatis"});
        receipts.failure = {"printer \"Kasir-1\"", "printer tidak dapat memulai pencetakan"};
        auto w = openTill();
        saveSale(w.get(), "V1", "10", "SPRAY");
        QCOMPARE(w->lblStatus_i->text(), QString("Data telah disimpan."));
        QCOMPARE(prompt.texts(),
                 (QStringList{"Nota tidak dapat dicetak ke printer \"Kasir-1\": printer tidak "
                              "dapat memulai pencetakan.\n\nPenjualan tetap tersimpan."}));
        QCOMPARE(prompt.calls.last().icon, Prompt::Icon::Critical);
        QCOMPARE(salesCount(), 2);
        // Ready to try again: F9 prints the sale saved last.
        receipts.failure.reset();
        QTest::keyClick(w.get(), Qt::Key_F9);
        QCOMPARE(receipts.ids().last(), newestSale());
    }
    prompt.clear();
    {
        // The real printer path: a printer name the system does not know.
        Receipts receipts(t, {"notaprinter=:TidakAda"}, true);
        auto w = openTill();
        clickRow(w->dtGridTrans, 0);
        QTest::keyClick(w.get(), Qt::Key_F9);
        QCOMPARE(prompt.texts(), QStringList{"Nota tidak dapat dicetak ke printer \"TidakAda\": "
                                             "printer tidak ditemukan.\n\nPenjualan tetap "
                                             "tersimpan."});
        QCOMPARE(salesCount(), 2);
    }
}

void ReceiptTest::whereTheReceiptGoes_data()
{
    QTest::addColumn<QString>("printer");
    QTest::addColumn<QString>("planted"); // what another account left in nota/
    QTest::addColumn<QString>("outcome"); // "file", or what the message says

    QTest::newRow("#pdf") << "#pdf" << "" << "file";
    QTest::newRow("#PDF") << "#PDF" << "" << "file";
    QTest::newRow("pdf as before") << "pdf" << "" << "file";
    QTest::newRow("PDF, the cups-pdf queue") << "PDF" << "" << "printer \"PDF\"";
    QTest::newRow("Pdf, a queue") << "Pdf" << "" << "printer \"Pdf\"";
    QTest::newRow("a link at the receipt's name") << "#pdf" << "file link" << "file";
    QTest::newRow("a program that ended while writing one") << "#pdf" << "half-written receipt"
                                                           << "file";
    QTest::newRow("a link in place of the folder") << "#pdf" << "folder link" << "adalah link";
}

void ReceiptTest::whereTheReceiptGoes()
{
    QFETCH(QString, printer);
    QFETCH(QString, planted);
    QFETCH(QString, outcome);
    TestDb t;
    const QString folder = t.dir() + "/nota";
    const QString victim = t.dir() + "/milik-orang-lain.txt";
    touch(victim, "jangan ditimpa");
    QDir().mkpath(t.dir() + "/lain");
    if (planted == "half-written receipt") {
        QDir().mkpath(folder);
        touch(folder + "/.nota-6.999999999-1.tmp", "%PDF-1.4");
    }
    if (planted == "file link")
        QVERIFY(QDir().mkpath(folder) && QFile::link(victim, folder + "/nota-7.pdf"));
    else if (planted == "folder link")
        QVERIFY(QFile::link(t.dir() + "/lain", folder));

    Config::Values settings;
    settings.receiptPrinter = printer;
    const auto failure = ReceiptPrinter::print({"No. Nota  : 7"}, settings, "nota-7");
    QCOMPARE(QFileInfo(victim).size(), qint64(14));
    QVERIFY(QDir(t.dir() + "/lain").isEmpty());
    if (outcome != "file") {
        QVERIFY(failure && ReceiptPrinter::message(*failure).contains(outcome));
        return;
    }
    QVERIFY2(!failure, qPrintable(failure ? ReceiptPrinter::message(*failure) : QString()));
    QVERIFY(!QFileInfo(folder + "/nota-7.pdf").isSymLink());
    QFile pdf(folder + "/nota-7.pdf");
    QVERIFY(pdf.open(QIODevice::ReadOnly) && pdf.readAll().startsWith("%PDF"));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System),
             QStringList{"nota-7.pdf"});
}

void ReceiptTest::escPosBytes_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("n"); // columns, or the drawer's pin
    QTest::addColumn<QByteArray>("expected");

    // Initialise, code page WPC1252; total and amount to pay bold and double
    // height; feed 4 lines and cut.
    QTest::newRow("receipt, 32 columns")
        << "document"
        << QStringList{"        Tavoru Aromatic", "V1 Melati", "Total                     25.000",
                       "Bayar                     25.000", "", "          Terima kasih"}
        << 32
        << bytes("\x1b@\x1bt\x10"
                 "        Tavoru Aromatic\nV1 Melati\n"
                 "\x1b" "E\x01\x1d!\x01" "Total                     25.000\n\x1b" "E\x00\x1d!\x00"
                 "\x1b" "E\x01\x1d!\x01" "Bayar                     25.000\n\x1b" "E\x00\x1d!\x00"
                 "\n          Terima kasih\n"
                 "\x1b" "d\x04\x1dV\x01");
    // A line longer than the paper goes on in the next one.
    QTest::newRow("closing report, 48 columns")
        << "document"
        << QStringList{"Tunai seharusnya                      211.999,50",
                       "Selisih                                     0,50",
                       "Catatan: " + QString(45, 'x')}
        << 48
        << bytes("\x1b@\x1bt\x10"
                 "\x1b" "E\x01\x1d!\x01" "Tunai seharusnya                      211.999,50\n"
                 "\x1b" "E\x00\x1d!\x00"
                 "\x1b" "E\x01\x1d!\x01" "Selisih                                     0,50\n"
                 "\x1b" "E\x00\x1d!\x00"
                 "Catatan: xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\nxxxxxx\n"
                 "\x1b" "d\x04\x1dV\x01");
    // What WPC1252 holds stays (é ó), what it lacks becomes a look-alike; a
    // control character never reaches the printer.
    QTest::newRow("code page")
        << "encode" << QStringList{"Café “Wangi” — Łódź ā ‘x’ … 日\tEsc\x1b"} << 0
        << bytes("Caf\xe9 \"Wangi\" - L\xf3" "dz a 'x' ... ? Esc?");
    QTest::newRow("drawer on pin 2") << "pulse" << QStringList{} << 2 << bytes("\x1bp\x00\x19\xfa");
    QTest::newRow("drawer on pin 5") << "pulse" << QStringList{} << 5 << bytes("\x1bp\x01\x19\xfa");
}

void ReceiptTest::escPosBytes()
{
    QFETCH(QString, what);
    QFETCH(QStringList, lines);
    QFETCH(int, n);
    QFETCH(QByteArray, expected);
    const QByteArray actual = what == "document" ? EscPos::document(lines, n)
                              : what == "encode"  ? EscPos::encode(lines.join('\n'))
                                                  : EscPos::drawerPulse(n);
    QCOMPARE(actual.toHex(' '), expected.toHex(' '));
}

void ReceiptTest::escPosPrinters_data()
{
    QTest::addColumn<QString>("place");   // after "escpos:"; {dir} the test's folder
    QTest::addColumn<QString>("action");  // "nota" or "laci"
    QTest::addColumn<QString>("outcome"); // "arrived", or what the message says

    QTest::newRow("a file") << "{dir}/printer.bin" << "nota" << "arrived";
    QTest::newRow("a folder") << "{dir}" << "nota" << "bukan printer";
    QTest::newRow("a full device") << "/dev/full" << "nota" << "kertas habis";
    QTest::newRow("a device unplugged") << "{dir}/usb/lp0" << "nota" << "printer mati";
    QTest::newRow("a FIFO no one reads") << "{dir}/fifo" << "nota" << "tidak tersambung";
    QTest::newRow("a FIFO whose reader hangs") << "{dir}/fifo" << "nota" << "tidak menjawab dalam 3 detik";
    QTest::newRow("the network") << "tcp:127.0.0.1:{port}" << "nota" << "arrived";
    QTest::newRow("the network, the drawer") << "tcp:127.0.0.1:{port}" << "laci" << "arrived";
    QTest::newRow("the network, refused") << "tcp:127.0.0.1:{port}" << "nota" << "menolak sambungan";
    QTest::newRow("a raw CUPS queue") << "cups:{queue}" << "nota" << "arrived";
    QTest::newRow("a CUPS queue that is stopped") << "cups:{queue}" << "nota" << "dihentikan";
    QTest::newRow("a CUPS queue that does not exist") << "cups:tidak-ada" << "nota" << "tidak ada";
}

void ReceiptTest::escPosPrinters()
{
    QFETCH(QString, place);
    QFETCH(QString, action);
    QFETCH(QString, outcome);
    const QString row = QTest::currentDataTag();
    QTemporaryDir dir;
    const QString lpadmin = qEnvironmentVariable("TAVORU_LPADMIN");
    if (place.startsWith("cups:") && (qEnvironmentVariableIsEmpty("CUPS_SERVER") || lpadmin.isEmpty()))
        QSKIP("No CUPS test server (scripts/cups-test-server.sh, started by test.sh).");

    std::optional<Listener> listener;
    if (place.contains("{port}") || place.contains("{queue}"))
        listener.emplace(!row.contains("refused") && !row.contains("stopped"));
    QString queue;
    if (place.contains("{queue}")) {
        // A raw queue whose device is the listener.
        queue = QString("tavoru-uji-%1").arg(listener->port);
        QCOMPARE(QProcess::execute(lpadmin, {"-p", queue, "-E", "-v",
                                             QString("socket://127.0.0.1:%1").arg(listener->port)}),
                 0);
        if (row.contains("stopped"))
            QCOMPARE(QProcess::execute(QFileInfo(lpadmin).dir().filePath("cupsdisable"), {queue}), 0);
    }
    place.replace("{dir}", dir.path())
        .replace("{port}", QString::number(listener ? listener->port : 0))
        .replace("{queue}", queue);
    if (place.endsWith("printer.bin"))
        touch(place, "");
    int fifoReader = -1;
    QStringList lines = {"Total                     25.000", "Nama: Café"};
    if (place.endsWith("fifo")) {
        QCOMPARE(::mkfifo(QFile::encodeName(place).constData(), 0600), 0);
        if (row.contains("hangs")) {
            // Opened for reading and never read: the pipe fills and stays full.
            fifoReader = ::open(QFile::encodeName(place).constData(), O_RDONLY | O_NONBLOCK);
            for (int i = 0; i < 5000; ++i)
                lines << QString(31, 'x');
        }
    }

    const Config::Result config = Config::parse(
        {"filedata=:F", "notaprinter=:escpos:" + place, "laci=:5"}, "cfg.cae");
    QVERIFY2(config.ok, qPrintable(config.error));
    const Config::Values& settings = config.values;
    const std::optional<ReceiptPrinter::Failure> failure =
        action == "laci" ? ReceiptPrinter::openDrawer(settings)
                         : ReceiptPrinter::print(lines, settings, "nota-7");
    if (fifoReader >= 0)
        ::close(fifoReader);
    if (outcome != "arrived") {
        QVERIFY(failure);
        const QString message = ReceiptPrinter::message(*failure);
        QVERIFY2(message.contains(outcome) && message.contains(PrinterPort::name(settings.escPos)) &&
                     message.contains("Penjualan tetap tersimpan"),
                 qPrintable(message));
        return;
    }
    QVERIFY2(!failure, qPrintable(failure ? ReceiptPrinter::message(*failure) : QString()));
    QByteArray arrived;
    if (listener) {
        arrived = listener->wait();
    } else {
        QFile f(place);
        QVERIFY(f.open(QIODevice::ReadOnly));
        arrived = f.readAll();
    }
    QCOMPARE(arrived.toHex(' '),
             (action == "laci" ? EscPos::drawerPulse(5) : EscPos::document(lines, 32)).toHex(' '));
}

QTEST_MAIN(ReceiptTest)
#include "tst_receipt.moc"
