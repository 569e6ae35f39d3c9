// Start-up: from reading cfg.cae to the login window, on the large and on an
// empty database. The table check and the first-run rows must not scan the
// big tables.
#include "Bench.h"

#include "core/Connection.h"
#include "core/Db.h"
#include "users/frmSystemLogin.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

void startUpOn(const QString& dbPath, const QString& name, double target)
{
    QTemporaryDir dir;
    QFile cfg(dir.filePath("cfg.cae"));
    cfg.open(QIODevice::WriteOnly);
    cfg.write(("provider=:Driver=QSQLITE;Database=\nfiledata=:" + dbPath + "\nlistpage=:10\n")
                  .toUtf8());
    cfg.close();
    Bench::measure(
        name, 15,
        [&] {
            if (!DoConnect(dir.path()))
                throw DbError("start-up failed");
            frmSystemLogin login;
            login.show();
            QCoreApplication::processEvents();
        },
        target, [] { Db::close(); });
}

void startup()
{
    startUpOn(Bench::emptyDatabase(), "start-up to login window, empty database", 300);
    startUpOn(Bench::bigDatabase(), "start-up to login window, large database", 300);
}

} // namespace

BENCH_SUITE(startup);
