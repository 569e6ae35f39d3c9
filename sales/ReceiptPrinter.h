#pragma once

#include "core/Config.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QFont;
class QPagedPaintDevice;
class QPaintDevice;
class QPrinter;

// Puts receipts on paper: on the printer named in cfg.cae or the system's
// default one, without a dialog, or as PDF files in a folder beside the
// database, never written through a link. The page is as wide as the receipt paper and as long as the
// receipt; a fixed-pitch font is sized so that a line fills the printable width.
// An ESC/POS printer ("notaprinter=:escpos:...") is sent the lines as text in
// its own commands instead, within a hard time limit.
namespace ReceiptPrinter {

// What went wrong, for the one message the till shows.
struct Failure {
    QString target; // names the printer or the file
    QString reason;
};
// The message of a failure: names the printer and says that the sale stays saved.
QString message(const Failure& failure);

// The receipt settings of cfg.cae in the program's folder; the defaults when
// the file cannot be read (the program refuses to start on a bad value).
Config::Values settings();
// The folder cfg.cae is read from; an empty text means the program's folder.
void setConfigFolder(const QString& folder);

// "nota" beside the database file; beside the program for a server database.
QString pdfFolder();

// The receipt font on the device: `columns` characters fill its width.
QFont fontFor(QPaintDevice* device, int columns);

// Sizes the device's page to the paper and the receipt and paints the lines.
std::optional<Failure> paint(QPagedPaintDevice* device, const QStringList& lines, int paperMm);

// Prints the lines as the settings say; documentName names the job or the file.
std::optional<Failure> print(const QStringList& lines, const Config::Values& settings,
                             const QString& documentName);

// Opens the cash drawer: the pulse to the drawer port of the ESC/POS printer
// ("laci"), nothing printed. Nothing happens, and nothing fails, when no drawer
// is set ("laci=:off" or no "laci" line), so the till may call it after every
// cash payment.
std::optional<Failure> openDrawer(const Config::Values& settings);
// True when cfg.cae sets a drawer.
bool hasDrawer(const Config::Values& settings);
// The message of a drawer that did not open: names the printer and says that
// the payment stays saved.
QString drawerMessage(const Failure& failure);

// A test page: the shop, the printer, the paper and a full line of columns,
// some text with marks, and a total in the total's print.
QStringList testPageLines(const Config::Values& settings, const QDateTime& printedAt);
std::optional<Failure> printTestPage(const Config::Values& settings);

// Where printed receipts go; by default print(). An empty output restores it.
using Output = std::function<std::optional<Failure>(
    const QStringList& lines, const Config::Values& settings, const QString& documentName)>;
void setOutput(Output output);

// Sends receipt lines where receipts go (the printer of the settings, or the
// output set above). Returns the message to show when they cannot be printed.
std::optional<QString> printLines(const QStringList& lines, const Config::Values& settings,
                                  const QString& documentName);

// Reads a paid visit and prints its one receipt: every item and the payment.
// Returns the message to show when it cannot be printed. A failed read throws DbError.
std::optional<QString> printVisit(qint64 idVisit, const Config::Values& settings);

// Reads a recorded sale and prints its receipt. Returns the message to show
// when it cannot be printed. A failed read throws DbError.
std::optional<QString> printSale(qint64 id, const Config::Values& settings);

} // namespace ReceiptPrinter
