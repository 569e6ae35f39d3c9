#include "ui/Application.h"
#include "app/MDIForm1.h"

#include <QIcon>
#include <QLocale>

int main(int argc, char** argv)
{
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
