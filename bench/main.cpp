// Benchmarks on a large generated database. Run: build/bench/tavoru_bench [suite ...]
#include "Bench.h"

#include <QApplication>

#include <cstdio>

namespace Bench {
int runAll(const QStringList& only);
}

static void quietHandler(QtMsgType type, const QMessageLogContext&, const QString& msg)
{
    // The offscreen platform's notes about window hints are noise in a timing table.
    if (type == QtWarningMsg && msg.contains(QLatin1String("propagateSizeHints")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(msg));
}

int main(int argc, char** argv)
{
    qInstallMessageHandler(quietHandler);
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen"
                                                                   : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QStringList only;
    for (const QString& a : app.arguments().mid(1)) {
        if (a.startsWith(QLatin1String("--scale=")))
            qputenv("TAVORU_BENCH_SCALE", a.mid(8).toLatin1());
        else
            only << a;
    }
    return Bench::runAll(only);
}
