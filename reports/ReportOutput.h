#pragma once

#include "ui/TextPagePainter.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QPagedPaintDevice;
class QPrinter;
class QWidget;

// Where a report goes: the printer, a PDF file or a CSV file. The printed page
// and the PDF are painted by the same painter from the same text lines.
namespace ReportOutput {

// A failure while printing or writing, as the messages report it.
struct Failure {
    enum Number { NoPrinter = 1, CannotStart = 2, NewPageFailed = 3, CannotFinish = 4,
                  CannotWrite = 5 };
    int number = 0;
    QString description;
};

// Puts the report on the device in "Courier New" 9 pt (or the fixed-pitch face
// the system gives for it), one character column per character: the heading
// on every page, a new page when one is full, each page numbered.
std::optional<Failure> paint(QPagedPaintDevice* device, const TextPagePainter::Document& report);

// The system's default printer; nullptr when there is none.
std::unique_ptr<QPrinter> defaultPrinter();
// A printer that writes an A4 PDF file.
std::unique_ptr<QPrinter> pdfPrinter(const QString& path);

// Prints the report on the printer of the printer source.
std::optional<Failure> print(const TextPagePainter::Document& report, const QString& documentName);
// Writes the report as an A4 PDF file, complete or not at all.
std::optional<Failure> savePdf(const TextPagePainter::Document& report, const QString& path);
// Writes text as a UTF-8 file (with a byte order mark, so spreadsheets read it as UTF-8).
std::optional<Failure> saveText(const QString& text, const QString& path);

// The printer "Print" uses; by default the system's default printer.
using PrinterSource = std::function<std::unique_ptr<QPrinter>()>;
void setPrinterSource(PrinterSource source); // an empty source restores the default

// The save dialog: the chosen path, or an empty text when cancelled.
using FileChooser = std::function<QString(QWidget* parent, const QString& caption,
                                          const QString& suggestedPath, const QString& filter)>;
void setFileChooser(FileChooser chooser); // an empty chooser restores the dialog
QString chooseSaveFile(QWidget* parent, const QString& caption, const QString& suggestedPath,
                       const QString& filter);

// Asks where to save `baseName`.`extension` (in the folder last used), adds the
// extension when none was typed and remembers the folder; empty when cancelled.
QString chooseFile(QWidget* parent, const QString& caption, const QString& baseName,
                   const QString& extension, const QString& filter);

// The one message of a file that could not be written, titled as `parent`.
void reportWriteFailure(QWidget* parent, const QString& path, const QString& description);

// The one message of a page the printer did not take.
void reportPrintFailure(const Failure& failure);

} // namespace ReportOutput
