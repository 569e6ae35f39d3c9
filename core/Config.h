#pragma once

#include <QString>
#include <QStringList>

// Reading of cfg.cae: lines of key "=:" value, keys compared exactly.
namespace Config {

// Page size used when cfg.cae has no "listpage" line.
inline constexpr int DefaultListPage = 10;
inline constexpr int MaxListPage = 32767;

struct Values {
    QString provider;
    QString filedata;
    int listPage = DefaultListPage;
    // Folder for the daily database copies: empty for the default (backup/
    // beside the database file), "off" to make none.
    QString backupDir;

    // The customer's receipt at the till.
    enum class ReceiptMode { Automatic, Manual, Off };
    ReceiptMode receiptMode = ReceiptMode::Manual; // "nota": otomatis, manual, off
    int receiptPaperMm = 58;                       // "notalebar": 58 or 80
    // "notaprinter": a printer's (CUPS queue's) name, "#pdf" for files beside
    // the database, an ESC/POS printer ("escpos:..."), or empty for the
    // system's default printer.
    QString receiptPrinter;
    // The ESC/POS printer "notaprinter" names, if it names one.
    struct EscPosPrinter {
        enum class Kind { None, Device, Network, Cups };
        Kind kind = Kind::None;
        QString address; // the device or file path, the host, or the CUPS queue
        int port = 9100; // of a network printer
    };
    EscPosPrinter escPos;
    // "laci": the pin of the printer's drawer port the cash drawer hangs on,
    // 2 or 5; 0 when there is no drawer ("off").
    int drawerPin = 0;
    QString shopName = QStringLiteral("Tavoru Aromatic"); // "toko"
    QString shopAddress;                                  // "alamattoko"; no line when empty

    // Payment at the till.
    // "bayar": the methods in their order (F1, F2 ...); "Tunai" is the cash.
    QStringList paymentMethods = {QStringLiteral("Tunai"), QStringLiteral("QRIS"),
                                  QStringLiteral("Debit"), QStringLiteral("Kredit"),
                                  QStringLiteral("Transfer")};
    int roundingStep = 1; // "pembulatan": what is paid is a multiple of it, in rupiah
    // "kasir": the till's name, which keeps its own shift and drawer; the
    // computer's name when empty.
    QString tillName;
};

// Longest name of a payment method, and of a till.
inline constexpr int MaxMethodName = 12;
inline constexpr int MaxTillName = 20;
inline constexpr int MaxRoundingStep = 100000;

// The till's name: the configured one, else the computer's name.
QString tillName(const Values& values);

// True for the "backupdir" value that turns the daily copies off.
bool backupIsOff(const QString& backupDir);

// The "notaprinter" value that writes receipts as PDF files: no CUPS queue
// name can hold a "#".
inline const QString ReceiptPdf = QStringLiteral("#pdf");

// True for the "notaprinter" values that write receipts as PDF files: "#pdf"
// in any letter case, and the earlier "pdf" in small letters exactly.
bool receiptIsPdf(const QString& receiptPrinter);

// The "notaprinter" prefix of an ESC/POS printer, in any letter case:
// "escpos:/dev/usb/lp0", "escpos:tcp:192.168.1.50:9100", "escpos:cups:QUEUE".
inline const QString EscPosPrefix = QStringLiteral("escpos:");
inline constexpr int DefaultEscPosPort = 9100;

struct Result {
    bool ok = false;
    Values values;
    QString error; // Indonesian, names the file and the key; empty when ok
};

// Parses the lines of a configuration file; fileName only appears in messages.
Result parse(const QStringList& lines, const QString& fileName);

// Reads and parses the file; a missing or unreadable file is an error.
Result readFile(const QString& path);

} // namespace Config
