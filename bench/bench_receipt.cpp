// The customer's receipt on the large database: reading one sale with its
// names, laying out its lines, and painting it into a PDF as a printer gets it.
#include "Bench.h"

#include "core/Db.h"
#include "sales/Receipt.h"
#include "sales/ReceiptPrinter.h"
#include "sales/SalesStore.h"

#include <QDateTime>
#include <QPrinter>
#include <QTemporaryDir>

namespace {

void receipt()
{
    Bench::open(Bench::bigDatabase());
    const qint64 newest =
        Db::scalar(QStringLiteral("SELECT MAX(idsales) FROM tvr_sales")).toLongLong();
    const qint64 middle = newest / 2;

    Bench::measure(
        QStringLiteral("receipt: read the newest sale"), 200,
        [&] { SalesStore::receiptSale(newest); }, 2);
    Bench::measure(
        QStringLiteral("receipt: read a sale from the middle"), 200,
        [&] { SalesStore::receiptSale(middle); }, 2);

    const std::optional<SalesStore::ReceiptSale> sale = SalesStore::receiptSale(newest);
    if (!sale)
        throw DbError(QStringLiteral("the large database has no sale to print"));
    const QDateTime now = QDateTime::currentDateTime();
    Bench::measure(
        QStringLiteral("receipt: lines for 48 columns"), 500,
        [&] {
            Receipt::lines(*sale,
                           {QStringLiteral("Tavoru Aromatic"), QStringLiteral("Jl. Melati 5")}, 48,
                           now);
        },
        1);

    QTemporaryDir dir;
    const QStringList lines =
        Receipt::lines(*sale, {QStringLiteral("Tavoru Aromatic"), {}}, 32, now);
    int n = 0;
    Bench::measure(
        QStringLiteral("receipt: painted on a 58 mm page (PDF)"), 30,
        [&] {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(dir.filePath(QStringLiteral("nota-%1.pdf").arg(++n)));
            if (ReceiptPrinter::paint(&printer, lines, 58))
                throw DbError(QStringLiteral("the receipt could not be painted"));
        },
        100);
    Db::close();
}

} // namespace

BENCH_SUITE(receipt);
