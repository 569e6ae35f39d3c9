#include "TrailStore.h"

#include "ui/CsvText.h"
#include "core/Rights.h"

#include <QSaveFile>
#include <QStringList>

namespace TrailStore {

namespace {

const QString Columns = QStringLiteral(
    "idjejak, jejak_waktu, jejak_author, jejak_izin, jejak_kasir, jejak_jenis, jejak_objek, "
    "jejak_sebelum, jejak_sesudah, jejak_alasan");

// The condition and its values: a range of jejak_waktu, so the period is read
// off an index whichever other filters apply.
QString where(const Filter& f, QVariantList* values)
{
    QString sql = QStringLiteral(" WHERE jejak_waktu >= ? AND jejak_waktu <= ?");
    *values << f.from.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00")
            << f.to.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 23:59:59");
    if (!f.author.isEmpty()) {
        sql += QStringLiteral(" AND lower(jejak_author) = lower(?)");
        *values << f.author;
    }
    if (!f.kind.isEmpty()) {
        sql += QStringLiteral(" AND jejak_jenis = ?");
        *values << f.kind;
    }
    return sql;
}

} // namespace

qint64 count(const Filter& filter)
{
    Rights::require(Rights::Action::SeeTrail);
    QVariantList values;
    const QString w = where(filter, &values);
    return Db::scalar(QStringLiteral("SELECT COUNT(*) FROM tvr_jejak") + w, values).toLongLong();
}

RowSet page(const Filter& filter, int offset, int limit)
{
    Rights::require(Rights::Action::SeeTrail);
    QVariantList values;
    const QString w = where(filter, &values);
    values << limit << offset;
    return Db::select(QStringLiteral("SELECT ") + Columns + QStringLiteral(" FROM tvr_jejak") + w +
                          QStringLiteral(" ORDER BY jejak_waktu DESC, idjejak DESC LIMIT ? OFFSET ?"),
                      values);
}

QString csv(const Filter& filter)
{
    Rights::require(Rights::Action::SeeTrail);
    QVariantList values;
    const QString w = where(filter, &values);
    const RowSet rs =
        Db::select(QStringLiteral("SELECT ") + Columns + QStringLiteral(" FROM tvr_jejak") + w +
                       QStringLiteral(" ORDER BY jejak_waktu, idjejak"),
                   values);
    QString out = QStringLiteral("No;Waktu;User;Izin;Kasir;Jenis;Objek;Sebelum;Sesudah;Alasan\r\n");
    for (const QVariantList& row : rs.rows) {
        QStringList fields;
        for (const QVariant& v : row)
            fields << csvField(v.toString());
        out += fields.join(QLatin1Char(';')) + QStringLiteral("\r\n");
    }
    return out;
}

QString saveCsv(const Filter& filter, const QString& path)
{
    const QString text = csv(filter);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    // With the byte order mark a spreadsheet reads the file as UTF-8.
    file.write("\xEF\xBB\xBF");
    file.write(text.toUtf8());
    if (!file.commit())
        return file.errorString();
    return {};
}

} // namespace TrailStore
