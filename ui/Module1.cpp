#include "Module1.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPalette>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace {

// Shrinks a window, when it is first shown, to the free area of its screen
// less its title bar and frame, never below its minimum size: a window opened
// on a small screen or at a large display scale keeps its title bar and
// buttons on the screen.
class ScreenFit : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            auto* window = static_cast<QWidget*>(watched);
            window->removeEventFilter(this);
            fitToScreen(window);
            deleteLater();
        }
        return false;
    }

    static void fitToScreen(QWidget* window)
    {
        const QScreen* screen = window->screen();
        if (!screen)
            return;
        const QSize free = screen->availableGeometry().size() - frameAllowance(window);
        const QSize fitted = window->size().boundedTo(free).expandedTo(window->minimumSizeHint());
        if (fitted != window->size())
            window->resize(fitted);
    }

    // Before the window manager has framed it, the frame is not known yet.
    static QSize frameAllowance(const QWidget* window)
    {
        const int frame = window->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
        const int title = window->style()->pixelMetric(QStyle::PM_TitleBarHeight);
        return {2 * frame, title + 2 * frame};
    }
};

} // namespace

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
    window->installEventFilter(new ScreenFit(window));
}
