#include "Module1.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPalette>
#include <QWidget>

bool KeyIsAllowed(int& keyAscii, const QString& allowed)
{
    const QChar c(keyAscii);
    if (!allowed.contains(c) && keyAscii != 8) {
        keyAscii = 0;
        return false;
    }
    return true;
}

QString DoReplace(QString& text, const QString& search, const QString& replacement)
{
    if (!search.isEmpty() && !replacement.contains(search))
        text.replace(search, replacement);
    return text;
}

QString tagOf(const QWidget* control)
{
    return control->property("tag").toString();
}

void DoClearInputs(const QString& marker, QWidget* window)
{
    if (!window)
        window = QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                                   : QApplication::activeWindow();
    if (!window)
        return;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const QString tag = tagOf(w);
        if (!tag.contains(marker))
            continue;
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            edit->setText(tag.contains(QLatin1String("_int")) ? QStringLiteral("0") : QString());
        else if (auto* combo = qobject_cast<QComboBox*>(w))
            combo->setCurrentIndex(-1);
    }
}

bool FormIsLoaded(const QString& name)
{
    const QString wanted = name.toLower();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName().toLower() == wanted)
            return true;
    return false;
}

void DoSetTiledBackground(QWidget* widget, const QString& resource)
{
    // A style sheet, because styles paint toolbars and panels over a palette brush.
    widget->setStyleSheet(QStringLiteral("%1#%2 { border-image: url(%3) 0 0 0 0 repeat stretch; "
                                         "border: none; }")
                              .arg(QString::fromLatin1(widget->metaObject()->className()),
                                   widget->objectName(), resource) +
                          widget->styleSheet());
}

void DoApplyWindowLook(QWidget* window)
{
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, QColor(243, 178, 108));
    // Captions beside locked fields stay readable on the warm back colour.
    pal.setColor(QPalette::Disabled, QPalette::WindowText, QColor(96, 72, 48));
    window->setPalette(pal);
    window->setAutoFillBackground(true);
    window->setWindowIcon(QApplication::windowIcon());
}
