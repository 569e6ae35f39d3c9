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
#include <QThread>

#include <algorithm>
#include <functional>

namespace {

SalesStore::NewSale benchSale()
{
    SalesStore::NewSale s;
    s.idCust = 4242;
    s.amounts = {17, 5, 12.5, 30, 31250 + 4000, 5, (31250 + 4000) * 0.95};
    s.amounts.hargaVariant = 2500;
    s.amounts.hargaBotol = 4000;
    return s;
}

// Sales saved at a busy till's pace (one every 20 ms) until `enough` says
// so; adds each save's time to `times`.
void tillAtWork(QList<double>& times, const std::function<bool(int)>& enough)
{
    QList<qint64> made;
    for (int n = 0; !enough(n); ++n) {
        QElapsedTimer t;
        t.start();
        made << SalesStore::addSale(benchSale());
        times << t.nsecsElapsed() / 1e6;
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
    for (qint64 id : made)
        SalesStore::deleteSale(id);
}

// The median, 99th percentile and slowest of the saves.
void recordSaves(const QString& name, QList<double> times)
{
    std::sort(times.begin(), times.end());
    Bench::record(QStringLiteral("%1: median of %2").arg(name).arg(times.size()),
                  times.at(times.size() / 2), 20);
    Bench::record(QStringLiteral("%1: 99th percentile").arg(name),
                  times.at(std::min<qsizetype>(times.size() - 1, times.size() * 99 / 100)), 20);
    Bench::record(QStringLiteral("%1: slowest").arg(name), times.last(), 20);
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
    const QString copy = QDir(folder).filePath(Backup::copyName(day));
    Bench::measure(
        "daily copy of the large database (VACUUM INTO + checks)", 3,
        [&] {
            const Backup::Outcome o = Backup::makeDailyCopy(dbPath, folder, true, day);
            if (o.status != Backup::Outcome::Made)
                throw DbError(o.message);
        },
        0, [&] { QFile::remove(copy); });

    // The checks on their own, on the day's copy: the full one a restore
    // keeps and the page-level one the daily copy uses.
    {
        const Backup::Outcome o = Backup::makeDailyCopy(dbPath, folder, true, day);
        Bench::measure("raw: integrity_check + table check of the copy", 1,
                       [&] { Backup::checkCopy(o.copy, Backup::CheckDepth::Full); });
        Bench::measure("raw: quick_check + table check of the copy", 1,
                       [&] { Backup::checkCopy(o.copy, Backup::CheckDepth::Pages); });
        QFile::remove(copy);
    }

    // Rounds of the till beside the copy and the till alone, in turn and of
    // the same length, so that the machine's own swings (the disk, and on a
    // virtual machine its host) fall on both alike.
    Backup::Plan plan;
    plan.enabled = true;
    plan.dbPath = dbPath;
    plan.folder = folder;
    plan.createFolder = true;
    QList<double> alone, beside, copies;
    for (int round = 0; round < 3; ++round) {
        QFile::remove(copy);
        Backup::Outcome outcome;
        bool done = false;
        QElapsedTimer whole;
        whole.start();
        int sales = 0;
        {
            Backup::DailyBackup job(plan, day);
            QObject::connect(&job, &Backup::DailyBackup::finished,
                             [&](const Backup::Outcome& o) {
                                 outcome = o;
                                 done = true;
                             });
            tillAtWork(beside, [&](int n) {
                sales = n;
                return done;
            });
        }
        if (outcome.status != Backup::Outcome::Made)
            throw DbError(outcome.message);
        copies << whole.nsecsElapsed() / 1e6;
        tillAtWork(alone, [&](int n) { return n >= sales; });
    }
    recordSaves(QStringLiteral("save a sale, no copy running"), alone);
    recordSaves(QStringLiteral("save a sale while the copy runs"), beside);
    std::sort(copies.begin(), copies.end());
    Bench::record("daily copy on its worker beside the till", copies.at(copies.size() / 2));
}

} // namespace

BENCH_SUITE(backup);
