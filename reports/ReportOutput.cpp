#include "ReportOutput.h"

#include "ui/FileDialogs.h"
#include "ui/Prompt.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QWidget>


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

std::optional<Failure> paint(QPagedPaintDevice* device, const TextPagePainter::Document& report)
{
    // The font measured on the device itself, so that points are points on paper.
    const auto failure = TextPagePainter::paint(device, report, QFont(reportFont(), device));
    if (!failure)
        return std::nullopt;
    switch (*failure) {
    case TextPagePainter::Failure::CannotStart:
        return Failure{Failure::CannotStart,
                       QStringLiteral("Printer tidak dapat memulai pencetakan.")};
    case TextPagePainter::Failure::NewPageFailed:
        return Failure{Failure::NewPageFailed,
                       QStringLiteral("Printer tidak dapat memulai halaman baru.")};
    case TextPagePainter::Failure::CannotFinish: break;
    }
    return Failure{Failure::CannotFinish,
                   QStringLiteral("Printer tidak dapat menyelesaikan pencetakan.")};
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

std::optional<Failure> print(const TextPagePainter::Document& report, const QString& documentName)
{
    std::unique_ptr<QPrinter> printer =
        printerSource() ? printerSource()() : defaultPrinter();
    if (!printer)
        return Failure{Failure::NoPrinter,
                       QStringLiteral("Tidak ada printer default yang terpasang.")};
    printer->setDocName(documentName);
    return paint(printer.get(), report);
}

std::optional<Failure> savePdf(const TextPagePainter::Document& report, const QString& path)
{
    // Written beside and renamed at the end: a failed write leaves no half
    // file, and a link at the name is replaced, never written through.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Failure{Failure::CannotWrite, file.errorString()};
    {
        QPdfWriter pdf(&file);
        pdf.setResolution(1200);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
        if (paint(&pdf, report))
            return Failure{Failure::CannotWrite, QStringLiteral("File PDF tidak dapat ditulis.")};
    }
    if (!file.commit())
        return Failure{Failure::CannotWrite, file.errorString()};
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

QString chooseFile(QWidget* parent, const QString& caption, const QString& baseName,
                   const QString& extension, const QString& filter)
{
    const QString suggested =
        QDir(FileDialogs::startFolder()).filePath(baseName + QLatin1Char('.') + extension);
    QString path = chooseSaveFile(parent, caption, suggested, filter);
    if (path.isEmpty())
        return {};
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + extension;
    FileDialogs::remember(path);
    return path;
}

void reportWriteFailure(QWidget* parent, const QString& path, const QString& description)
{
    Prompt::message(QStringLiteral("File tidak dapat disimpan:\n%1\n\nKeterangan: %2")
                        .arg(QDir::toNativeSeparators(path), description),
                    parent ? parent->windowTitle() : QString(), Prompt::Icon::Critical);
}

void reportPrintFailure(const Failure& failure)
{
    Prompt::message(QStringLiteral("Kesalahan nomor: %1. Keterangan: %2\n"
                                   "\n"
                                   "Kemungkinan printer belum diaktifkan\n"
                                   "atau kertas habis/belum dipasang!\n"
                                   "Nyalakan printer atau pasang kertas,\n"
                                   "lalu klik tombol Print kembali!")
                        .arg(failure.number)
                        .arg(failure.description),
                    QStringLiteral("Printer Error"), Prompt::Icon::Critical);
}

} // namespace ReportOutput
