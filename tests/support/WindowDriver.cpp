#include "WindowDriver.h"

#include "core/Db.h"
#include "ui/GridColumns.h"
#include "users/frmSystemLogin.h"

#include <QCoreApplication>
#include <QHash>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

void showAndFocus(QWidget* window, QWidget* field)
{
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window));
    field->setFocus();
    QTRY_VERIFY(field->hasFocus());
}

void type(QLineEdit* field, const QString& text)
{
    field->setFocus();
    QCoreApplication::processEvents();
    field->selectAll();
    QTest::keyClicks(field, text);
}

void clickRow(QTableView* grid, int row)
{
    const QModelIndex index = grid->model()->index(row, 1);
    grid->scrollTo(index);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
}

RowSetModel* modelOf(QTableView* grid)
{
    return static_cast<RowSetModel*>(grid->model());
}

QStringList shown(QTableView* grid, const QString& column)
{
    QStringList values;
    for (int r = 0; r < modelOf(grid)->rowCount(); ++r)
        values << modelOf(grid)->value(r, column).toString();
    return values;
}

QList<bool> enabledStates(const QList<QPushButton*>& buttons)
{
    QList<bool> states;
    for (const QPushButton* b : buttons)
        states << b->isEnabled();
    return states;
}

void loginWhenAsked()
{
    QTimer::singleShot(0, [] {
        auto* login = qobject_cast<frmSystemLogin*>(QApplication::activeModalWidget());
        QVERIFY(login);
        login->txtUsername->setText("admin");
        login->txtPassword->setText("pinus");
        login->cmdLogin->click();
    });
}

QString rowsAsText(const QString& sql)
{
    QString text;
    for (const QVariantList& row : Db::select(sql).rows) {
        for (const QVariant& v : row)
            text += v.toString() + QLatin1Char('|');
        text += QLatin1Char('\n');
    }
    return text;
}

QString tablesAsText(const QStringList& tables)
{
    QString text;
    for (const QString& table : tables)
        text += rowsAsText(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(table));
    return text;
}

void typeKeys(const QString& keys)
{
    const auto send = [](Qt::Key key, Qt::KeyboardModifiers mods, const QString& text) {
        QWidget* target = QApplication::focusWidget();
        QVERIFY2(target, "no widget has the focus");
        QTest::sendKeyEvent(QTest::Press, target, key, text, mods);
        // The release goes to wherever the focus now is, as on a keyboard.
        if (QWidget* now = QApplication::focusWidget())
            QTest::sendKeyEvent(QTest::Release, now, key, text, mods);
    };
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const QChar c = keys.at(i);
        if (c == QLatin1Char('\n')) {
            send(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
            continue;
        }
        if (c != QLatin1Char('{')) {
            const QChar upper = c.toUpper();
            const bool shifted = c.isUpper();
            send(Qt::Key(upper.unicode()), shifted ? Qt::ShiftModifier : Qt::NoModifier,
                 QString(c));
            continue;
        }
        const qsizetype end = keys.indexOf(QLatin1Char('}'), i);
        const QString name = keys.mid(i + 1, end - i - 1);
        i = end;
        static const QHash<QString, Qt::Key> named = {
            {"tab", Qt::Key_Tab},   {"backtab", Qt::Key_Backtab}, {"down", Qt::Key_Down},
            {"up", Qt::Key_Up},     {"home", Qt::Key_Home},       {"end", Qt::Key_End},
            {"esc", Qt::Key_Escape}, {"f2", Qt::Key_F2}};
        if (named.contains(name)) {
            send(named.value(name), name == "backtab" ? Qt::ShiftModifier : Qt::NoModifier, {});
            continue;
        }
        const bool alt = name.startsWith("alt+");
        QVERIFY2(alt || name.startsWith("ctrl+"), qPrintable(name));
        const QChar letter = name.back();
        // Alt with a letter carries the letter's text, as a keyboard sends it.
        send(Qt::Key(letter.toUpper().unicode()), alt ? Qt::AltModifier : Qt::ControlModifier,
             alt ? QString(letter) : QString(QChar(letter.toUpper().unicode() - 'A' + 1)));
    }
}
