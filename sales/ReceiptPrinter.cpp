#include "ReceiptPrinter.h"

#include "core/Connection.h"
#include "core/Db.h"
#include "core/Regional.h"
#include "ui/PaperText.h"
#include "ui/TextPagePainter.h"
#include "sales/EscPos.h"
#include "sales/PrinterPort.h"
#include "sales/Receipt.h"
#include "sales/VisitStore.h"
#include "sales/SalesStore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace ReceiptPrinter {

namespace {

Output& output()
{
    static Output o;
    return o;
}

QString& configFolder()
{
    static QString folder;
    return folder;
}

QFont baseFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setKerning(false);
    return font;
}

// Printable width of the usual thermal printers: 48 mm of 58 mm paper, 72 mm of 80 mm.
double sideMarginMm(int paperMm)
{
    return paperMm >= 80 ? 4.0 : 5.0;
}

constexpr double TopMarginMm = 3.0;
constexpr double BottomMarginMm = 10.0; // room above the cutter

QString printerName(const QString& configured)
{
    if (!configured.isEmpty())
        return configured;
    const QString name = QPrinterInfo::defaultPrinterName();
    return name.isEmpty() ? QStringLiteral("default") : name;
}

} // namespace

QString message(const Failure& failure)
{
    return QStringLiteral("Nota tidak dapat dicetak ke %1: %2.\n\nPenjualan tetap tersimpan.")
        .arg(failure.target, failure.reason);
}

Config::Values settings()
{
    const QString folder =
        configFolder().isEmpty() ? QCoreApplication::applicationDirPath() : configFolder();
    const Config::Result r = Config::readFile(QDir(folder).filePath(QStringLiteral("cfg.cae")));
    return r.ok ? r.values : Config::Values{};
}

void setConfigFolder(const QString& folder)
{
    configFolder() = folder;
}

QString pdfFolder()
{
    const QString db = Connection::databaseFile();
    const QString base =
        db.isEmpty() ? QCoreApplication::applicationDirPath() : QFileInfo(db).absolutePath();
    return QDir(base).filePath(QStringLiteral("nota"));
}

QFont fontFor(QPaintDevice* device, int columns)
{
    const QString line(columns, QLatin1Char('M'));
    const double width = device->width();
    QFont font = baseFont();
    double size = 10;
    // Glyph advances do not scale exactly with the size: measure again until it fits.
    for (int i = 0; i < 6; ++i) {
        font.setPointSizeF(size);
        const double advance = QFontMetricsF(QFont(font, device), device).horizontalAdvance(line);
        if (advance <= 0)
            break;
        if (advance <= width && advance >= width * 0.98)
            break;
        size *= width / advance * 0.995;
    }
    font.setPointSizeF(size);
    return QFont(font, device);
}

std::optional<Failure> paint(QPagedPaintDevice* device, const QStringList& lines, int paperMm)
{
    const int columns = Receipt::columnsFor(paperMm);
    const double side = sideMarginMm(paperMm);
    // The font's height per width, so that the page is as long as the receipt.
    const QFontMetricsF shape(baseFont());
    const double advanceMm = (paperMm - 2 * side) / columns;
    const double lineMm =
        advanceMm * shape.lineSpacing() / std::max(1.0, shape.horizontalAdvance(QLatin1Char('M')));
    const double heightMm = TopMarginMm + BottomMarginMm + lineMm * (lines.size() + 1);
    device->setPageLayout(
        QPageLayout(QPageSize(QSizeF(paperMm, heightMm), QPageSize::Millimeter,
                              QStringLiteral("Nota %1 mm").arg(paperMm), QPageSize::ExactMatch),
                    QPageLayout::Portrait, QMarginsF(side, TopMarginMm, side, BottomMarginMm),
                    QPageLayout::Millimeter));

    TextPagePainter::Document receipt;
    receipt.body = lines;
    const auto failure = TextPagePainter::paint(device, receipt, fontFor(device, columns));
    if (!failure)
        return std::nullopt;
    switch (*failure) {
    case TextPagePainter::Failure::CannotStart:
        return Failure{{}, QStringLiteral("printer tidak dapat memulai pencetakan")};
    case TextPagePainter::Failure::NewPageFailed:
        return Failure{{}, QStringLiteral("printer tidak dapat memulai halaman baru")};
    case TextPagePainter::Failure::CannotFinish: break;
    }
    return Failure{{}, QStringLiteral("printer tidak dapat menyelesaikan pencetakan")};
}

namespace {

#ifdef Q_OS_UNIX
// Half-written receipts of programs that ended while writing one
// (".nota-12.PID-N.tmp"): removed, never followed.
void removeStaleTemporaries(const QString& folder)
{
    static const QRegularExpression pattern(QStringLiteral("^\\..+\\.(\\d+)-\\d+\\.tmp$"));
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const auto m = pattern.match(name);
        const pid_t pid = pid_t(m.captured(1).toLongLong());
        if (m.hasMatch() && pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH)
            ::unlink(QFile::encodeName(dir.filePath(name)).constData());
    }
}
#endif

// Writes the receipt as a PDF file in `folder`. The folder is shared by the
// group's members, so nothing there is written through a link: the file is
// made new (exclusively, refusing a link) under a name of its own, written
// through its descriptor, and renamed to its name, which replaces whatever
// stood there (a link included) instead of following it.
std::optional<Failure> writePdf(const QString& folder, const QString& documentName,
                                const QStringList& lines, int paperMm)
{
    const QString path = QDir(folder).filePath(documentName + QStringLiteral(".pdf"));
    const QString target = QStringLiteral("file PDF \"%1\"").arg(path);
    const QFileInfo folderInfo(folder);
    if (folderInfo.isSymLink())
        return Failure{target, QStringLiteral("folder %1 adalah link, bukan folder; nota tidak "
                                              "ditulis lewat link")
                                   .arg(folder)};
    if (!folderInfo.isDir() && !QDir().mkpath(folder))
        return Failure{target, QStringLiteral("folder %1 tidak dapat dibuat").arg(folder)};
#ifdef Q_OS_UNIX
    removeStaleTemporaries(folder);
    QString temp;
    int fd = -1;
    for (int n = 0; n < 100 && fd < 0; ++n) {
        temp = QDir(folder).filePath(QStringLiteral(".%1.%2-%3.tmp")
                                         .arg(documentName)
                                         .arg(QCoreApplication::applicationPid())
                                         .arg(QRandomGenerator::global()->generate()));
        fd = ::open(QFile::encodeName(temp).constData(),
                    O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return Failure{target, QStringLiteral("file tidak dapat dibuat: %1")
                                   .arg(QString::fromLocal8Bit(std::strerror(errno)))};
    bool ok = false;
    {
        QFile file;
        if (file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
            {
                QPdfWriter pdf(&file);
                pdf.setResolution(1200);
                pdf.setTitle(documentName);
                ok = !paint(&pdf, lines, paperMm);
            }
            ok = ok && file.flush() && ::fsync(fd) == 0;
            file.close();
        } else {
            ::close(fd);
        }
    }
    if (ok && ::rename(QFile::encodeName(temp).constData(), QFile::encodeName(path).constData()) == 0)
        return std::nullopt;
    ::unlink(QFile::encodeName(temp).constData());
    return Failure{target, QStringLiteral("file tidak dapat ditulis")};
#else
    QPdfWriter pdf(path);
    if (paint(&pdf, lines, paperMm))
        return Failure{target, QStringLiteral("file tidak dapat ditulis")};
    return std::nullopt;
#endif
}

} // namespace

std::optional<Failure> print(const QStringList& lines, const Config::Values& settings,
                             const QString& documentName)
{
    if (settings.escPos.kind != Config::Values::EscPosPrinter::Kind::None) {
        const QByteArray bytes =
            EscPos::document(lines, Receipt::columnsFor(settings.receiptPaperMm));
        if (auto reason = PrinterPort::send(settings.escPos, bytes, documentName))
            return Failure{PrinterPort::name(settings.escPos), *reason};
        return std::nullopt;
    }
    if (Config::receiptIsPdf(settings.receiptPrinter))
        return writePdf(pdfFolder(), documentName, lines, settings.receiptPaperMm);

    const QString name = printerName(settings.receiptPrinter);
    const QString target = QStringLiteral("printer \"%1\"").arg(name);
    const QPrinterInfo info = settings.receiptPrinter.isEmpty()
                                  ? QPrinterInfo::defaultPrinter()
                                  : QPrinterInfo::printerInfo(settings.receiptPrinter);
    if (info.isNull())
        return Failure{target, settings.receiptPrinter.isEmpty()
                                   ? QStringLiteral("tidak ada printer default yang terpasang")
                                   : QStringLiteral("printer tidak ditemukan")};
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(documentName);
    if (auto failure = paint(&printer, lines, settings.receiptPaperMm)) {
        failure->target = target;
        return failure;
    }
    return std::nullopt;
}

bool hasDrawer(const Config::Values& settings)
{
    return settings.drawerPin != 0 &&
           settings.escPos.kind != Config::Values::EscPosPrinter::Kind::None;
}

std::optional<Failure> openDrawer(const Config::Values& settings)
{
    if (!hasDrawer(settings))
        return std::nullopt;
    if (auto reason = PrinterPort::send(settings.escPos, EscPos::drawerPulse(settings.drawerPin),
                                        QStringLiteral("laci")))
        return Failure{PrinterPort::name(settings.escPos), *reason};
    return std::nullopt;
}

QString drawerMessage(const Failure& failure)
{
    return QStringLiteral("Laci kas tidak dapat dibuka lewat %1: %2.\n\nPembayaran tetap "
                          "tersimpan; buka laci dengan kuncinya.")
        .arg(failure.target, failure.reason);
}

QStringList testPageLines(const Config::Values& settings, const QDateTime& printedAt)
{
    using namespace PaperText;
    const int columns = Receipt::columnsFor(settings.receiptPaperMm);
    QString printer;
    if (settings.escPos.kind != Config::Values::EscPosPrinter::Kind::None)
        printer = PrinterPort::name(settings.escPos);
    else if (Config::receiptIsPdf(settings.receiptPrinter))
        printer = QStringLiteral("file PDF");
    else
        printer = printerName(settings.receiptPrinter);
    QString ruler;
    for (int i = 1; i <= columns; ++i)
        ruler += QChar(u'0' + i % 10);
    QStringList out;
    if (!settings.shopName.trimmed().isEmpty())
        out << centredLines(settings.shopName, columns);
    out << centred(QStringLiteral("Halaman Uji Printer"), columns)
        << QString(columns, QLatin1Char('-'));
    out << fieldLines(QStringLiteral("Printer"), printer, columns);
    out << field(QStringLiteral("Kertas"),
                 QStringLiteral("%1 mm, %2 karakter").arg(settings.receiptPaperMm).arg(columns),
                 columns);
    out << field(QStringLiteral("Laci"),
                 settings.drawerPin ? QStringLiteral("pin %1").arg(settings.drawerPin)
                                    : QStringLiteral("tidak diatur"),
                 columns);
    out << ruler;
    out << wrap(QStringLiteral("Huruf: AaBbCc 0123456789 é ü ñ ç Rp. \"Kembali\""), columns);
    out << row(QStringLiteral("Total"), Regional::whole(12345), columns);
    out << QString(columns, QLatin1Char('-'));
    out << field(QStringLiteral("Dicetak"), printedAt.toString(QStringLiteral("dd/MM/yyyy HH:mm")),
                 columns);
    return out;
}

std::optional<Failure> printTestPage(const Config::Values& settings)
{
    return print(testPageLines(settings, QDateTime::currentDateTime()), settings,
                 QStringLiteral("uji-printer"));
}

void setOutput(Output o)
{
    output() = std::move(o);
}

std::optional<QString> printSale(qint64 id, const Config::Values& settings)
{
    const std::optional<SalesStore::ReceiptSale> sale = SalesStore::receiptSale(id);
    if (!sale)
        return QStringLiteral("Penjualan nomor %1 tidak ditemukan; notanya tidak dicetak.").arg(id);
    const QStringList lines =
        Receipt::lines(*sale, {settings.shopName, settings.shopAddress},
                       Receipt::columnsFor(settings.receiptPaperMm), QDateTime::currentDateTime());
    return printLines(lines, settings, QStringLiteral("nota-%1").arg(id));
}

std::optional<QString> printLines(const QStringList& lines, const Config::Values& settings,
                                  const QString& documentName)
{
    const std::optional<Failure> failure =
        output() ? output()(lines, settings, documentName) : print(lines, settings, documentName);
    if (failure)
        return message(*failure);
    return std::nullopt;
}

std::optional<QString> printVisit(qint64 idVisit, const Config::Values& settings)
{
    const std::optional<VisitStore::ReceiptVisit> visit = VisitStore::receiptVisit(idVisit);
    if (!visit || visit->items.isEmpty())
        return QStringLiteral("Kunjungan nomor %1 tidak ditemukan; notanya tidak dicetak.")
            .arg(idVisit);
    const Receipt::Paid paid{visit->amountToPay,      visit->rounding,
                             visit->payment.method,   visit->payment.cash,
                             visit->payment.received, visit->payment.change};
    const QStringList lines =
        Receipt::lines(visit->items, paid, {settings.shopName, settings.shopAddress},
                       Receipt::columnsFor(settings.receiptPaperMm), QDateTime::currentDateTime());
    // Named by its first sale's number, as the receipt itself is.
    return printLines(lines, settings, QStringLiteral("nota-%1").arg(visit->items.first().id));
}

} // namespace ReceiptPrinter
