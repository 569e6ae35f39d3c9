// The daily copy of the large database, and the cashier's sale saved while
// the copy is being made on its worker thread.
#include "Bench.h"

#include "core/Backup.h"
#include "core/Db.h"
#include "sales/SalesStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>

namespace {

SalesStore::NewSale benchSale()
{
    SalesStore::NewSale s;
    s.idCust = 4242;
    s.amounts = {17, 5, 12.5, 30, 31250 + 4000, 5, (31250 + 4000) * 0.95};
    s.hargaVariant = 2500;
    s.hargaBotol = 4000;
    return s;
}

void backup()
{
    // A copy of its own: sales are written to it while it is being copied.
    QTemporaryDir dir;
    const QString dbPath = dir.filePath("tavoru.db");
    if (!QFile::copy(Bench::bigDatabase(), dbPath))
        throw DbError(QStringLiteral("cannot copy the large database"));
    Bench::open(dbPath);

    const QString folder = dir.filePath("backup");
    const QDate day(2026, 12, 8);
    Bench::measure(
        "daily copy of the large database (VACUUM INTO + checks)", 3,
        [&] {
            const Backup::Outcome o = Backup::makeDailyCopy(dbPath, folder, true, day);
            if (o.status != Backup::Outcome::Made)
                throw DbError(o.message);
        },
        0, [&] { QFile::remove(QDir(folder).filePath(Backup::copyName(day))); });

    // Sales saved one after another for as long as the worker copies.
    QFile::remove(QDir(folder).filePath(Backup::copyName(day)));
    Backup::Plan plan;
    plan.enabled = true;
    plan.dbPath = dbPath;
    plan.folder = folder;
    QList<double> times;
    QList<qint64> made;
    QElapsedTimer whole;
    whole.start();
    {
        bool done = false;
        Backup::DailyBackup job(plan, day);
        QObject::connect(&job, &Backup::DailyBackup::finished, [&] { done = true; });
        while (!done) {
            QElapsedTimer t;
            t.start();
            made << SalesStore::addSale(benchSale());
            times << t.nsecsElapsed() / 1e6;
            QCoreApplication::processEvents();
        }
    }
    Bench::record("daily copy on its worker while sales are saved", whole.nsecsElapsed() / 1e6);
    std::sort(times.begin(), times.end());
    Bench::record(QStringLiteral("save a sale while the copy runs (median of %1)").arg(times.size()),
                  times.at(times.size() / 2), 20);
    Bench::record("save a sale while the copy runs (slowest)", times.last(), 20);
    for (qint64 id : made)
        SalesStore::deleteSale(id);
}

} // namespace

BENCH_SUITE(backup);
