#include "ReportOutput.h"

#include "ui/FileDialogs.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>

#include <algorithm>

namespace ReportOutput {

namespace {

PrinterSource& printerSource()
{
    static PrinterSource source;
    return source;
}

FileChooser& fileChooser()
{
    static FileChooser chooser;
    return chooser;
}

QFont reportFont()
{
    QFont font(QStringLiteral("Courier New"), 9);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setKerning(false);
    return font;
}

} // namespace

std::optional<Failure> paint(QPagedPaintDevice* device, const QStringList& lines)
{
    QPainter painter;
    if (!painter.begin(device))
        return Failure{Failure::CannotStart,
                       QStringLiteral("Printer tidak dapat memulai pencetakan.")};
    // The font measured on the device itself, so that points are points on paper.
    const QFont font(reportFont(), device);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(font, device);
    const double lineHeight = metrics.lineSpacing();
    const double pageHeight = device->height();
    const int perPage = std::max(1, int(pageHeight / lineHeight));

    for (int i = 0; i < lines.size(); ++i) {
        const int row = i % perPage;
        if (i > 0 && row == 0 && !device->newPage()) {
            painter.end();
            return Failure{Failure::NewPageFailed,
                           QStringLiteral("Printer tidak dapat memulai halaman baru.")};
        }
        painter.drawText(QPointF(0, row * lineHeight + metrics.ascent()), lines.at(i));
    }
    if (!painter.end())
        return Failure{Failure::CannotFinish,
                       QStringLiteral("Printer tidak dapat menyelesaikan pencetakan.")};
    if (auto* printer = dynamic_cast<QPrinter*>(device);
        printer && printer->printerState() == QPrinter::Error)
        return Failure{Failure::CannotFinish,
                       QStringLiteral("Printer tidak dapat menyelesaikan pencetakan.")};
    return std::nullopt;
}

std::unique_ptr<QPrinter> defaultPrinter()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

std::unique_ptr<QPrinter> pdfPrinter(const QString& path)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    printer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                       QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
    return printer;
}

std::optional<Failure> print(const QStringList& lines, const QString& documentName)
{
    std::unique_ptr<QPrinter> printer =
        printerSource() ? printerSource()() : defaultPrinter();
    if (!printer)
        return Failure{Failure::NoPrinter,
                       QStringLiteral("Tidak ada printer default yang terpasang.")};
    printer->setDocName(documentName);
    return paint(printer.get(), lines);
}

std::optional<Failure> savePdf(const QStringList& lines, const QString& path)
{
    std::unique_ptr<QPrinter> printer = pdfPrinter(path);
    if (auto failure = paint(printer.get(), lines)) {
        failure->number = Failure::CannotWrite;
        failure->description = QStringLiteral("File PDF tidak dapat ditulis.");
        return failure;
    }
    return std::nullopt;
}

std::optional<Failure> saveText(const QString& text, const QString& path)
{
    // Written beside and renamed at the end: a failed write leaves no half file.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write("\xEF\xBB\xBF");
        file.write(text.toUtf8());
        if (file.commit())
            return std::nullopt;
    }
    return Failure{Failure::CannotWrite, file.errorString()};
}

void setPrinterSource(PrinterSource source)
{
    printerSource() = std::move(source);
}

void setFileChooser(FileChooser chooser)
{
    fileChooser() = std::move(chooser);
}

QString chooseSaveFile(QWidget* parent, const QString& caption, const QString& suggestedPath,
                       const QString& filter)
{
    if (fileChooser())
        return fileChooser()(parent, caption, suggestedPath, filter);
    return FileDialogs::saveFileName(parent, caption, suggestedPath, filter);
}

} // namespace ReportOutput
