#include "Config.h"

#include <QFile>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTextStream>

namespace Config {

namespace {
const QString Separator = QStringLiteral("=:");
const QStringList Keys = {
    QStringLiteral("provider"),    QStringLiteral("filedata"), QStringLiteral("listpage"),
    QStringLiteral("backupdir"),   QStringLiteral("nota"),     QStringLiteral("notalebar"),
    QStringLiteral("notaprinter"), QStringLiteral("toko"),     QStringLiteral("alamattoko"),
    QStringLiteral("laci"),        QStringLiteral("bayar"),       QStringLiteral("pembulatan"), QStringLiteral("kasir")};

// The till keys; returns the message of a bad value, or an empty text.
QString parseTillKey(const QString& key, const QString& value, const QString& fileName,
                     Values& v)
{
    const QString word = value.trimmed();
    if (key == QLatin1String("bayar")) {
        QStringList methods;
        for (const QString& part : value.split(QLatin1Char(','))) {
            const QString name = part.simplified();
            if (name.isEmpty() || name.size() > MaxMethodName)
                return QStringLiteral("Nilai \"bayar\" di file konfigurasi %1 harus nama cara "
                                      "pembayaran dipisah koma, masing-masing 1 sampai %2 "
                                      "karakter (tertulis: \"%3\").")
                    .arg(fileName)
                    .arg(MaxMethodName)
                    .arg(value);
            for (const QString& known : methods)
                if (known.compare(name, Qt::CaseInsensitive) == 0)
                    return QStringLiteral("Cara pembayaran \"%1\" tertulis dua kali di \"bayar\" "
                                          "file konfigurasi %2.")
                        .arg(name, fileName);
            methods << name;
        }
        v.paymentMethods = methods;
    } else if (key == QLatin1String("pembulatan")) {
        bool isNumber = false;
        const int step = word.toInt(&isNumber);
        if (!isNumber || step < 1 || step > MaxRoundingStep)
            return QStringLiteral("Nilai \"pembulatan\" di file konfigurasi %1 harus bilangan "
                                  "bulat rupiah dari 1 sampai %2 (tertulis: \"%3\").")
                .arg(fileName)
                .arg(MaxRoundingStep)
                .arg(value);
        v.roundingStep = step;
    } else {
        if (word.size() > MaxTillName)
            return QStringLiteral("Nilai \"kasir\" di file konfigurasi %1 paling banyak %2 "
                                  "karakter (tertulis: \"%3\").")
                .arg(fileName)
                .arg(MaxTillName)
                .arg(value);
        v.tillName = word;
    }
    return {};
}

Result failure(const QString& text)
{
    Result r;
    r.error = text;
    return r;
}

// An ESC/POS printer's place after "escpos:"; returns what is wrong with it,
// or an empty text.
QString parseEscPos(const QString& place, Values::EscPosPrinter& p)
{
    using Kind = Values::EscPosPrinter::Kind;
    const auto startsWith = [&place](const char* prefix) {
        return place.startsWith(QLatin1String(prefix), Qt::CaseInsensitive);
    };
    if (place.startsWith(QLatin1Char('/'))) {
        p.kind = Kind::Device;
        p.address = place;
        return {};
    }
    if (startsWith("tcp:")) {
        QString host = place.mid(4);
        QString port;
        if (host.startsWith(QLatin1Char('['))) { // [IPv6 address]:port
            const qsizetype end = host.indexOf(QLatin1Char(']'));
            if (end < 0)
                return QStringLiteral("alamat IPv6 ditulis di antara [ dan ]");
            const QString rest = host.mid(end + 1);
            if (!rest.isEmpty() && !rest.startsWith(QLatin1Char(':')))
                return QStringLiteral("setelah ] hanya boleh :PORT");
            port = rest.mid(1);
            host = host.mid(1, end - 1);
            if (rest.isEmpty())
                port = QString::number(DefaultEscPosPort);
        } else if (const qsizetype colon = host.lastIndexOf(QLatin1Char(':')); colon >= 0) {
            port = host.mid(colon + 1);
            host = host.left(colon);
        } else {
            port = QString::number(DefaultEscPosPort);
        }
        if (host.isEmpty() || host.contains(QLatin1Char(' ')) ||
            (host.contains(QLatin1Char(':')) && !place.mid(4).startsWith(QLatin1Char('['))))
            return QStringLiteral("nama atau alamat IP printer jaringan tidak terbaca");
        bool isNumber = false;
        const int n = port.toInt(&isNumber);
        if (!isNumber || n < 1 || n > 65535)
            return QStringLiteral("port printer jaringan harus bilangan 1 sampai 65535");
        p.kind = Kind::Network;
        p.address = host;
        p.port = n;
        return {};
    }
    if (startsWith("cups:")) {
        // CUPS allows no blank, "/" or "#" in a queue's name.
        const QString queue = place.mid(5);
        static const QRegularExpression bad(QStringLiteral("[\\s/#]"));
        if (queue.isEmpty() || queue.size() > 127 || queue.contains(bad))
            return QStringLiteral("nama antrean CUPS harus 1 sampai 127 karakter tanpa spasi, "
                                  "\"/\" atau \"#\"");
        p.kind = Kind::Cups;
        p.address = queue;
        return {};
    }
    return QStringLiteral("setelah \"escpos:\" harus jalur perangkat (/dev/usb/lp0), "
                          "\"tcp:HOST:9100\" atau \"cups:ANTREAN\"");
}

// The receipt keys; returns the message of a bad value, or an empty text.
QString parseReceiptKey(const QString& key, const QString& value, const QString& fileName,
                        Values& v)
{
    const QString word = value.trimmed();
    const auto is = [&word](const char* text) {
        return word.compare(QLatin1String(text), Qt::CaseInsensitive) == 0;
    };
    if (key == QLatin1String("nota")) {
        if (is("otomatis"))
            v.receiptMode = Values::ReceiptMode::Automatic;
        else if (is("manual"))
            v.receiptMode = Values::ReceiptMode::Manual;
        else if (is("off"))
            v.receiptMode = Values::ReceiptMode::Off;
        else
            return QStringLiteral("Nilai \"nota\" di file konfigurasi %1 harus \"otomatis\", "
                                  "\"manual\" atau \"off\" (tertulis: \"%2\").")
                .arg(fileName, value);
    } else if (key == QLatin1String("notalebar")) {
        if (word == QLatin1String("58") || word == QLatin1String("80"))
            v.receiptPaperMm = word.toInt();
        else
            return QStringLiteral("Nilai \"notalebar\" di file konfigurasi %1 harus 58 atau 80 "
                                  "(lebar kertas nota dalam mm; tertulis: \"%2\").")
                .arg(fileName, value);
    } else if (key == QLatin1String("notaprinter")) {
        // Empty: the system's default printer.
        v.receiptPrinter = word;
        v.escPos = {};
        if (word.startsWith(EscPosPrefix, Qt::CaseInsensitive))
            if (const QString wrong = parseEscPos(word.mid(EscPosPrefix.size()), v.escPos);
                !wrong.isEmpty())
                return QStringLiteral("Nilai \"notaprinter\" di file konfigurasi %1 tidak "
                                      "dapat dibaca: %2 (tertulis: \"%3\").")
                    .arg(fileName, wrong, value);
    } else if (key == QLatin1String("toko")) {
        v.shopName = word;
    } else if (key == QLatin1String("laci")) {
        if (word == QLatin1String("2") || word == QLatin1String("5"))
            v.drawerPin = word.toInt();
        else if (is("off"))
            v.drawerPin = 0;
        else
            return QStringLiteral("Nilai \"laci\" di file konfigurasi %1 harus 2 atau 5 (pin "
                                  "laci kas di printer nota) atau \"off\" (tertulis: \"%2\").")
                .arg(fileName, value);
    } else {
        v.shopAddress = word;
    }
    return {};
}

} // namespace

Result parse(const QStringList& lines, const QString& fileName)
{
    Values v;
    QString listPageText;
    bool listPageGiven = false;

    for (QString line : lines) {
        // Files written on Windows end their lines with CR LF.
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty())
            continue;
        const QStringList pieces = line.split(Separator);
        const QString& key = pieces.at(0);
        if (!Keys.contains(key))
            continue;
        if (pieces.size() < 2)
            return failure(QStringLiteral("Baris \"%1\" di file konfigurasi %2 tidak memiliki "
                                          "pemisah \"=:\" sebelum nilainya.")
                               .arg(key, fileName));
        // A value ends at a second "=:" on the same line; the last line of a key wins.
        const QString& value = pieces.at(1);
        if (key == Keys[0])
            v.provider = value;
        else if (key == Keys[1])
            v.filedata = value;
        else if (key == Keys[2]) {
            listPageText = value;
            listPageGiven = true;
        } else if (key == Keys[3]) {
            // Blanks around a folder name are a typing slip, never part of the name.
            v.backupDir = value.trimmed();
            if (v.backupDir.isEmpty())
                return failure(QStringLiteral("Nilai \"backupdir\" di file konfigurasi %1 "
                                              "harus nama folder atau \"off\".")
                                   .arg(fileName));
        } else if (const QString error = Keys.indexOf(key) >= Keys.indexOf("bayar")
                                             ? parseTillKey(key, value, fileName, v)
                                             : parseReceiptKey(key, value, fileName, v);
                   !error.isEmpty()) {
            return failure(error);
        }
    }

    if (v.drawerPin != 0 && v.escPos.kind == Values::EscPosPrinter::Kind::None)
        return failure(QStringLiteral("Nilai \"laci\" di file konfigurasi %1 membutuhkan printer "
                                      "ESC/POS di \"notaprinter\" (escpos:...): laci kas dibuka "
                                      "lewat printer nota.")
                           .arg(fileName));

    if (listPageGiven) {
        bool isNumber = false;
        const int n = listPageText.trimmed().toInt(&isNumber);
        if (!isNumber || n < 1 || n > MaxListPage)
            return failure(QStringLiteral("Nilai \"listpage\" di file konfigurasi %1 harus "
                                          "bilangan bulat dari 1 sampai %2 (tertulis: \"%3\").")
                               .arg(fileName)
                               .arg(MaxListPage)
                               .arg(listPageText));
        v.listPage = n;
    }

    Result r;
    r.ok = true;
    r.values = v;
    return r;
}

bool backupIsOff(const QString& backupDir)
{
    return backupDir.compare(QLatin1String("off"), Qt::CaseInsensitive) == 0;
}

bool receiptIsPdf(const QString& receiptPrinter)
{
    // "#" is the one character CUPS never allows in a queue's name, so "#pdf"
    // can name no printer. The earlier "pdf" keeps working exactly as written;
    // "PDF", the queue cups-pdf makes, or any other spelling is a printer.
    return receiptPrinter.compare(ReceiptPdf, Qt::CaseInsensitive) == 0 ||
           receiptPrinter == QLatin1String("pdf");
}

QString tillName(const Values& values)
{
    return values.tillName.isEmpty() ? QSysInfo::machineHostName().left(MaxTillName)
                                     : values.tillName;
}

Result readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return failure(QStringLiteral("File konfigurasi %1 tidak ditemukan atau tidak dapat "
                                      "dibaca.\nProgram tidak dapat dijalankan.")
                           .arg(path));
    QTextStream in(&file);
    QStringList lines;
    while (!in.atEnd())
        lines << in.readLine();
    if (in.status() != QTextStream::Ok)
        return failure(QStringLiteral("File konfigurasi %1 tidak dapat dibaca.").arg(path));
    return parse(lines, path);
}

} // namespace Config
