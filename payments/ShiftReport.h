#pragma once

#include "payments/ShiftStore.h"

#include <QDateTime>
#include <QStringList>

// The closing report of a shift ("Laporan Tutup Kasir") as lines of text for
// the receipt printer: the shop, the till, who opened and closed it and when,
// the visits, per method what was taken and given back, the cash moves, the
// cash expected and counted and the difference.
namespace ShiftReport {

QStringList lines(const ShiftStore::Summary& summary, const QString& shopName, int columns,
                  const QDateTime& printedAt);

} // namespace ShiftReport
