#pragma once

#include "core/Db.h"

#include <QDate>
#include <QString>

// Reading the trail of changes (tvr_jejak) for the owner's list. Rows are
// only ever added, by Trail::write.
namespace TrailStore {

struct Filter {
    QDate from, to; // the period, both days included
    QString author; // the user (jejak_author), any letter case; empty: everyone
    QString kind;   // jejak_jenis; empty: every kind
};

// The rows of the filter, newest first, off the index of the period.
qint64 count(const Filter& filter);
// idjejak, jejak_waktu, jejak_author, jejak_izin, jejak_kasir, jejak_jenis,
// jejak_objek, jejak_sebelum, jejak_sesudah, jejak_alasan.
RowSet page(const Filter& filter, int offset, int limit);

// The rows of the filter as CSV text (a header line, then one line a row,
// separated by ";" as a spreadsheet with Indonesian settings reads it).
QString csv(const Filter& filter);

// Writes csv() to `path` whole or not at all; the error text when it fails.
QString saveCsv(const Filter& filter, const QString& path);

} // namespace TrailStore
