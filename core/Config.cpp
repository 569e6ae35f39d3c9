#include "Config.h"

#include <QFile>
#include <QTextStream>

namespace Config {

namespace {
const QString Separator = QStringLiteral("=:");
const QStringList Keys = {QStringLiteral("provider"), QStringLiteral("filedata"),
                          QStringLiteral("listpage"), QStringLiteral("backupdir")};

Result failure(const QString& text)
{
    Result r;
    r.error = text;
    return r;
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
        } else {
            // Blanks around a folder name are a typing slip, never part of the name.
            v.backupDir = value.trimmed();
            if (v.backupDir.isEmpty())
                return failure(QStringLiteral("Nilai \"backupdir\" di file konfigurasi %1 "
                                              "harus nama folder atau \"off\".")
                                   .arg(fileName));
        }
    }

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
