#include "ShiftReport.h"

#include "core/Regional.h"
#include "ui/PaperText.h"

namespace ShiftReport {

using namespace PaperText;

QString moment(const QString& stored)
{
    const QDateTime t = QDateTime::fromString(stored, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return t.isValid() ? t.toString(QStringLiteral("dd/MM/yyyy HH:mm")) : stored;
}

QStringList lines(const ShiftStore::Summary& summary, const QString& shopName, int columns,
                  const QDateTime& printedAt)
{
    const ShiftStore::Shift& s = summary.shift;
    const QString rule(columns, QLatin1Char('-'));
    QStringList out;
    if (!shopName.trimmed().isEmpty())
        out << centredLines(shopName, columns);
    out << centred(QStringLiteral("Laporan Tutup Kasir"), columns) << rule;
    out << fieldLines(QStringLiteral("Kasir"), s.till, columns);
    out << field(QStringLiteral("Dibuka"), moment(s.openedAt), columns);
    out << fieldLines(QStringLiteral("Oleh"), s.openedBy, columns);
    out << field(QStringLiteral("Ditutup"),
                 s.closed ? moment(s.closedAt) : QStringLiteral("belum ditutup"), columns);
    if (s.closed)
        out << fieldLines(QStringLiteral("Oleh"), s.closedBy, columns);
    out << field(QStringLiteral("Kunjungan"), QString::number(summary.visits), columns) << rule;

    for (const ShiftStore::MethodTakings& m : summary.methods) {
        out << row(m.method, Regional::whole(m.sales), columns);
        if (m.corrections != 0)
            out << row(QStringLiteral("  Koreksi/refund"), Regional::whole(m.corrections), columns)
                << row(QStringLiteral("  Bersih"), Regional::whole(m.net()), columns);
    }
    if (summary.methods.isEmpty())
        out << cut(QStringLiteral("Tidak ada pembayaran."), columns);
    out << rule;

    out << row(QStringLiteral("Modal kas"), Regional::whole(s.opening), columns);
    out << row(QStringLiteral("Kas masuk"), Regional::whole(summary.cashIn), columns);
    out << row(QStringLiteral("Kas keluar"), Regional::amount(-summary.cashOut), columns);
    const double expected = s.closed ? s.expected : summary.expectedCash();
    out << row(QStringLiteral("Tunai seharusnya"), Regional::amount(expected), columns);
    if (s.closed) {
        out << row(QStringLiteral("Tunai dihitung"), Regional::amount(s.counted), columns);
        out << row(QStringLiteral("Selisih"), Regional::amount(s.difference), columns);
        if (!s.count.isEmpty())
            for (const QString& piece : s.count.split(QLatin1Char(' '))) {
                const int value = piece.section(QLatin1Char('x'), 0, 0).toInt();
                const int n = piece.section(QLatin1Char('x'), 1).toInt();
                out << row(QStringLiteral("  %1 x %2").arg(Regional::whole(value)).arg(n),
                           Regional::whole(double(value) * n), columns);
            }
    }
    out << rule;
    out << field(QStringLiteral("Dicetak"), printedAt.toString(QStringLiteral("dd/MM/yyyy HH:mm")),
                 columns);
    return out;
}

} // namespace ShiftReport
