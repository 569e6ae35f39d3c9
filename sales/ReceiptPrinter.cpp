#include "ReceiptPrinter.h"

#include "core/Db.h"
#include "sales/Receipt.h"
#include "sales/SalesStore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QUrl>

#include <algorithm>

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
    QString base = QCoreApplication::applicationDirPath();
    if (Db::isOpen() && Db::isSqlite()) {
        // The connection names the file as a URI with its options after "?".
        const QString name = Db::connection().databaseName().section(QLatin1Char('?'), 0, 0);
        const QString path =
            name.startsWith(QLatin1String("file:")) ? QUrl(name).toLocalFile() : name;
        if (!path.isEmpty())
            base = QFileInfo(path).absolutePath();
    }
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

std::optional<Failure> paint(QPrinter* printer, const QStringList& lines, int paperMm)
{
    const int columns = Receipt::columnsFor(paperMm);
    const double side = sideMarginMm(paperMm);
    // The font's height per width, so that the page is as long as the receipt.
    const QFontMetricsF shape(baseFont());
    const double advanceMm = (paperMm - 2 * side) / columns;
    const double lineMm =
        advanceMm * shape.lineSpacing() / std::max(1.0, shape.horizontalAdvance(QLatin1Char('M')));
    const double heightMm = TopMarginMm + BottomMarginMm + lineMm * (lines.size() + 1);
    printer->setPageLayout(
        QPageLayout(QPageSize(QSizeF(paperMm, heightMm), QPageSize::Millimeter,
                              QStringLiteral("Nota %1 mm").arg(paperMm), QPageSize::ExactMatch),
                    QPageLayout::Portrait, QMarginsF(side, TopMarginMm, side, BottomMarginMm),
                    QPageLayout::Millimeter));

    QPainter painter;
    if (!painter.begin(printer))
        return Failure{{}, QStringLiteral("printer tidak dapat memulai pencetakan")};
    const QFont font = fontFor(printer, columns);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(font, printer);
    const double lineHeight = metrics.lineSpacing();
    const int perPage = std::max(1, int(printer->height() / lineHeight));
    for (int i = 0; i < lines.size(); ++i) {
        const int row = i % perPage;
        if (i > 0 && row == 0 && !printer->newPage()) {
            painter.end();
            return Failure{{}, QStringLiteral("printer tidak dapat memulai halaman baru")};
        }
        painter.drawText(QPointF(0, row * lineHeight + metrics.ascent()), lines.at(i));
    }
    if (!painter.end() || printer->printerState() == QPrinter::Error)
        return Failure{{}, QStringLiteral("printer tidak dapat menyelesaikan pencetakan")};
    return std::nullopt;
}

std::optional<Failure> print(const QStringList& lines, const Config::Values& settings,
                             const QString& documentName)
{
    if (Config::receiptIsPdf(settings.receiptPrinter)) {
        const QString folder = pdfFolder();
        const QString path = QDir(folder).filePath(documentName + QStringLiteral(".pdf"));
        const QString target = QStringLiteral("file PDF \"%1\"").arg(path);
        if (!QDir().mkpath(folder))
            return Failure{target, QStringLiteral("folder %1 tidak dapat dibuat").arg(folder)};
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setDocName(documentName);
        if (auto failure = paint(&printer, lines, settings.receiptPaperMm)) {
            failure->target = target;
            failure->reason = QStringLiteral("file tidak dapat ditulis");
            return failure;
        }
        return std::nullopt;
    }

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
    const QString documentName = QStringLiteral("nota-%1").arg(id);
    const std::optional<Failure> failure =
        output() ? output()(lines, settings, documentName) : print(lines, settings, documentName);
    if (failure)
        return message(*failure);
    return std::nullopt;
}

} // namespace ReceiptPrinter
