#include "Application.h"

#include "core/Db.h"
#include "ui/Prompt.h"

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const DbError& e) {
        Prompt::databaseError(e);
        return false;
    }
}
