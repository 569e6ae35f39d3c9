#pragma once

#include <QApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QWidget>

class QLineEdit;
class QPushButton;
class QTableView;
class RowSetModel;

// Driving real windows from the tests as a user does: keys, clicks, modal windows.

// Shows `window`, waits until it is active and puts the focus in `field`.
void showAndFocus(QWidget* window, QWidget* field);

// Replaces the text of `field` by typing `text` into it.
void type(QLineEdit* field, const QString& text);

// Clicks row `row` of `grid` (in its second column), scrolling it into view first.
void clickRow(QTableView* grid, int row);

// The model of a grid built on a RowSetModel.
RowSetModel* modelOf(QTableView* grid);

// The values of `column` in the rows `grid` holds, as text.
QStringList shown(QTableView* grid, const QString& column);

// Whether each of `buttons` is enabled, in their order.
QList<bool> enabledStates(const QList<QPushButton*>& buttons);

// Whether each page button of `window` ("<<", "<", ">", ">>") is enabled.
template <typename Window> QList<bool> navStates(const Window* window)
{
    return enabledStates(window->cmdNavigasi);
}

// Logs in as the administrator at the login window, once it is open.
void loginWhenAsked();

// Runs `inside` on the modal window that `open` shows, once it is up (null
// when none is active), then closes that window if it is still open. Fails
// when `open` returns without having run `inside`.
template <typename Open, typename Inside> void withModal(Open open, Inside inside)
{
    bool ran = false;
    // Owned here, so it never fires after a window that did not open.
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        ran = true;
        inside(modal);
        if (modal && modal->isVisible())
            modal->close();
    });
    timer.start(0);
    open();
    QVERIFY(ran);
}

// Every row `sql` selects, as text: each value followed by "|", each row by a
// line break. Equal texts before and after an action mean nothing changed.
QString rowsAsText(const QString& sql);

// rowsAsText() of every row of each of `tables`, in the order of their first column.
QString tablesAsText(const QStringList& tables);

// Types `keys` into whichever widget has the focus at each key, with no pause
// between keys, as a scanner or a fast cashier does: characters type
// themselves, "\n" is Enter, and braces name other keys ({Alt+N}, {Ctrl+S},
// {Shift+Tab}, {Home}, {End}, {Down}, {Esc}, {F2}).
void typeKeys(const QString& keys);
