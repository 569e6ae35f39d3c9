#pragma once

#include <QApplication>

// The program's application object. A database failure that escaped a window's
// own handling is reported in the one database message box instead of ending
// the program.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
