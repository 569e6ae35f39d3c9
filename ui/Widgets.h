#pragma once

#include <QList>
#include <QString>
#include <Qt>

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Small controls the windows build alike. Each control is named, so a window's
// member and its objectName agree.

// A push button that Enter never presses as a dialog's default button: the
// input conventions press a focused button, and Enter elsewhere moves on.
QPushButton* namedButton(QWidget* parent, const QString& name, const QString& caption,
                         int minimumWidth = 0);

// A line edit marked `tag` (see InputConventions) that holds at most `maxLength`
// characters.
QLineEdit* namedLineEdit(QWidget* parent, const QString& name, const QString& tag, int maxLength);

// A sunken panel that shows a value, `minimumWidth` pixels wide at least.
QLabel* valueLabel(QWidget* parent, const QString& name, Qt::Alignment align, int minimumWidth);

// The buttons in a row at the right, in their order.
QHBoxLayout* buttonRow(const QList<QPushButton*>& buttons);

// The "Page n of m" label beside the page buttons. Its text changes with every
// page; a label sized by its text would lay the whole window out again (and
// resize its lists) each time. showPageText() widens it only when a text needs more.
QLabel* pageLabel(QWidget* parent, const QString& name);
void showPageText(QLabel* label, const QString& text);

// The four page buttons cmdNavigasi_0 .. _3 ("<<", "<", ">", ">>") in a row;
// they are appended to `buttons`.
QHBoxLayout* pageButtonRow(QList<QPushButton*>& buttons, QWidget* parent);
