#pragma once

#include <QList>
#include <QLocale>
#include <QMainWindow>
#include <QPixmap>

namespace Rights {
class Permit;
}

class QAction;
class QLabel;
class QMenu;
class QToolBar;
class QToolButton;

// The program's frame: menus and picture toolbar from which every working
// window is opened, modally.
class MDIForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit MDIForm1(QWidget* parent = nullptr);
    ~MDIForm1() override;

    // The start-up sequence: regional check, toolbar, database, drop-downs and
    // the start-up login. False when the program must end (already reported).
    bool startUp(const QLocale& userLocale, const QString& appDir);

    // Runs the command of a menu item or toolbar drop-down entry, identified by
    // the caption of its parent ("File", "Menu", "Stock", "Database", "Help", or
    // empty for a plain toolbar button) and its own caption, without mnemonic.
    void runCommand(const QString& parentCaption, const QString& caption);

    // A caption as the user reads it: without the mnemonic marker.
    static QString plainCaption(const QString& text);

    QToolBar* Toolbar1;
    QList<QMenu*> mnUtama;
    QList<QAction*> mnFile, mnMenu, mnKas, mnStock, mnDB, mnHelp;
    QList<QAction*> mnAnalisa;
    // How many items are below their minimum; empty when none.
    QLabel* lblStokMinimum = nullptr;
    QMenu* mnStockMenu;
    QMenu* mnDBMenu;
    QList<QToolButton*> toolbarButtons;

signals:
    void quitRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildToolbar();
    void DoPaintToolbar();
    void fillDropDown(QToolButton* button, const QList<QAction*>& items);
    template <typename W> void showModal();
    bool showLogin();
    // Greys the commands the logged-in user's role may not give.
    void applyRights();
    static bool permitted(const Rights::Permit& permit);
    // The till's drawer: opening, cash moves, closing and the list of shifts.
    void runKasCommand(const QString& caption);
    void showShift(qint64 idShift);
};
