#pragma once

#include "payments/ShiftStore.h"

#include <QDateTime>
#include <QStringList>

// The closing report of a shift ("Laporan Tutup Kasir") as lines of text for
// the receipt printer: the shop, the till, who opened and closed it and when,
// the visits, per method what was taken and given back, the cash moves, the
// cash expected and counted and the difference.
namespace ShiftReport {

// A stored moment "2026-12-08 21:05:13" as people read it: "08/12/2026 21:05".
QString moment(const QString& stored);

QStringList lines(const ShiftStore::Summary& summary, const QString& shopName, int columns,
                  const QDateTime& printedAt);

} // namespace ShiftReport
