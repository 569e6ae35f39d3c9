#include "WindowDriver.h"

#include "core/Db.h"
#include "ui/GridColumns.h"
#include "users/frmSystemLogin.h"

#include <QCoreApplication>
#include <QKeySequence>
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
    for (qsizetype i = 0; i < keys.size(); ++i) {
        QWidget* target = QApplication::focusWidget();
        QVERIFY2(target, "no widget has the focus");
        if (keys.at(i) != QLatin1Char('{')) {
            QTest::keyClick(target, keys.at(i) == QLatin1Char('\n') ? '\r' : keys.at(i).toLatin1());
            continue;
        }
        const qsizetype end = keys.indexOf(QLatin1Char('}'), i);
        const QKeyCombination key = QKeySequence(keys.mid(i + 1, end - i - 1))[0];
        QTest::keyClick(target, key.key(), key.keyboardModifiers());
        i = end;
    }
}
