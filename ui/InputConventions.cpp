#include "InputConventions.h"

#include "core/Regional.h"
#include "ui/Module1.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>

namespace {
bool isNumeric(const QWidget* w)
{
    return tagOf(w).contains(QLatin1String("_int"));
}

void setBaseColour(QWidget* w, const QColor& colour)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Base, colour);
    pal.setColor(QPalette::Button, colour);
    w->setPalette(pal);
}
} // namespace

InputConventions::InputConventions(QWidget* window, const InputRules& rules)
    : QObject(window), m_window(window), m_rules(rules)
{
}

InputConventions* InputConventions::install(QWidget* window, const InputRules& rules)
{
    auto* conventions = new InputConventions(window, rules);
    for (QWidget* w : window->findChildren<QWidget*>())
        conventions->attach(w);
    return conventions;
}

void InputConventions::attach(QWidget* control)
{
    control->installEventFilter(this);
    auto* edit = qobject_cast<QLineEdit*>(control);
    if (!edit)
        return;
    if (tagOf(edit).contains(QLatin1String("input")))
        setBaseColour(edit, editableColor());
    if (isNumeric(edit) && m_rules.intZeroWhenEmpty) {
        connect(edit, &QLineEdit::textChanged, edit, [edit](const QString& text) {
            if (!text.isEmpty())
                return;
            // Selected, so the next digit typed replaces the zero.
            edit->setText(QStringLiteral("0"));
            edit->selectAll();
        });
    }
}

QString InputConventions::allowedKeys(const QLineEdit* field) const
{
    const QString tag = tagOf(field);
    if (tag.contains(QLatin1String("_int"))) {
        switch (m_rules.intKeys) {
        case InputRules::NumberKeys::None: return {};
        case InputRules::NumberKeys::Number: return KeySet::Number;
        case InputRules::NumberKeys::Phone: return KeySet::Phone;
        case InputRules::NumberKeys::Amount: {
            // One decimal comma at most; a comma inside the selection is being replaced.
            QString rest = field->text();
            if (field->hasSelectedText())
                rest.remove(field->selectionStart(), field->selectedText().size());
            return rest.contains(QLatin1Char(',')) ? KeySet::Number : KeySet::Amount;
        }
        }
    }
    if (tag.contains(QLatin1String("_str")) && !m_rules.strKeys.isEmpty())
        return m_rules.strKeys;
    if (!m_rules.txtKeys.isEmpty() && field->objectName().startsWith(QLatin1String("txt")))
        return m_rules.txtKeys;
    return {};
}

void InputConventions::formatNumber(QLineEdit* field) const
{
    switch (m_rules.intFormat) {
    case InputRules::NumberFormat::None: return;
    case InputRules::NumberFormat::Amount:
        field->setText(Regional::amount(Regional::read(field->text())));
        return;
    case InputRules::NumberFormat::Whole:
        field->setText(Regional::whole(Regional::read(field->text())));
        return;
    }
}

bool InputConventions::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget)
        return false;
    auto* edit = qobject_cast<QLineEdit*>(widget);

    if (event->type() == QEvent::FocusIn && edit && isNumeric(edit)) {
        if (m_rules.intStripPoints && !edit->isReadOnly()) {
            QString text = edit->text();
            edit->setText(DoReplace(text, QStringLiteral("."), QString()));
        }
        // After the mouse release that may have placed the cursor.
        QTimer::singleShot(0, edit, [edit] {
            if (edit->hasFocus())
                edit->selectAll();
        });
        return false;
    }
    if (event->type() == QEvent::FocusOut && edit && isNumeric(edit)) {
        formatNumber(edit);
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;

    auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (enter && !(key->modifiers() & ~Qt::KeypadModifier)) {
        // Lists and multi-line texts give Enter its own meaning.
        if (qobject_cast<QAbstractItemView*>(widget) || qobject_cast<QPlainTextEdit*>(widget) ||
            qobject_cast<QTextEdit*>(widget))
            return false;
        if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->view()->isVisible())
            return false;
        // Enter moves on like Tab, and never reaches a dialog's default button.
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &tab);
        return true;
    }

    if (!edit || edit->isReadOnly())
        return false;
    const QString allowed = allowedKeys(edit);
    if (allowed.isNull())
        return false;
    if (key->matches(QKeySequence::Paste) || key->matches(QKeySequence::Cut) ||
        key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo))
        return true;
    switch (key->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
        return false;
    default:
        break;
    }
    const QString text = key->text();
    if (text.isEmpty())
        return false; // cursor movement and other keys that type nothing
    int code = text.at(0).unicode();
    return !KeyIsAllowed(code, allowed);
}

void InputConventions::setGroupEnabled(QWidget* window, const QString& tag, bool enabled)
{
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!tagOf(w).contains(tag))
            continue;
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            edit->setReadOnly(!enabled);
        else
            w->setEnabled(enabled);
        setBaseColour(w, enabled ? editableColor() : lockedColor());
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            edit->setFrame(enabled);
    }
}
