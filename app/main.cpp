#include "core/Backup.h"
#include "ui/Application.h"
#include "app/MDIForm1.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QIcon>
#include <QLocale>

#include <cstdio>
#include <cstring>

// proTavoruh --restore FILE: puts a checked copy in the place of the configured
// database, before any window and without a display.
static int restoreFromCommandLine(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "Pemakaian: proTavoruh --restore FILE\n");
        return 2;
    }
    const Backup::RestoreOutcome r = Backup::restoreConfigured(
        QCoreApplication::applicationDirPath(), args.at(2), QDateTime::currentDateTime());
    std::fprintf(r.ok ? stdout : stderr, "%s\n", qPrintable(r.message));
    return r.ok ? 0 : 1;
}

int main(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "--restore") == 0)
        return restoreFromCommandLine(argc, argv);

    Application app(argc, argv);
    Application::setApplicationName(QStringLiteral("proTavoruh"));
    QIcon icon(QStringLiteral(":/app_icon_256.png"));
    icon.addFile(QStringLiteral(":/app_icon.png"));
    Application::setWindowIcon(icon);

    MDIForm1 window;
    QObject::connect(&window, &MDIForm1::quitRequested, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    if (!window.startUp(QLocale::system(), QCoreApplication::applicationDirPath()))
        return 1;
    window.showMaximized();
    return app.exec();
}
