#include "InputConventions.h"

#include "core/Regional.h"
#include "ui/Module1.h"
#include "ui/Prompt.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>

#include <memory>

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
    // A locked field is read, not typed in: its text stays dark.
    pal.setColor(QPalette::Disabled, QPalette::Text, pal.color(QPalette::Active, QPalette::Text));
    pal.setColor(QPalette::Disabled, QPalette::ButtonText,
                 pal.color(QPalette::Active, QPalette::ButtonText));
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
    if (event->type() == QEvent::Shortcut) {
        // A mnemonic presses its button at once: the animated click would
        // press it a tenth of a second later, after keys typed in between.
        if (auto* button = qobject_cast<QAbstractButton*>(widget);
            button && !qobject_cast<QCheckBox*>(button)) {
            if (button->isEnabled())
                button->click();
            return true;
        }
        return false;
    }
    if (event->type() == QEvent::ContextMenu && edit) {
        showContextMenu(edit, static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
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
        // Enter on a focused button presses it.
        if (auto* button = qobject_cast<QAbstractButton*>(widget);
            button && !qobject_cast<QCheckBox*>(button)) {
            if (button->isEnabled())
                button->click();
            return true;
        }
        // Elsewhere Enter moves on like Tab, and never reaches a dialog's default button.
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &tab);
        return true;
    }

    if (!edit || edit->isReadOnly())
        return false;
    if (key->matches(QKeySequence::Paste)) {
        paste(edit);
        return true;
    }
    // Selecting, copying, cutting, undoing and moving are never filtered.
    if (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        return false;
    const QString text = key->text();
    if (text.isEmpty() || text.at(0).unicode() < 0x20 || text.at(0).unicode() == 0x7f)
        return false; // cursor movement, Backspace, Delete and other keys that type nothing
    const QString allowed = allowedKeys(edit);
    if (!allowed.isNull()) {
        int code = text.at(0).unicode();
        if (!KeyIsAllowed(code, allowed))
            return true;
    }
    return !fitsLength(edit, text);
}

int InputConventions::lengthAfterInsert(const QLineEdit* field, const QString& inserted)
{
    const qsizetype kept = field->text().size() - field->selectedText().size();
    return int(kept + inserted.size());
}

bool InputConventions::fitsLength(QLineEdit* field, const QString& inserted)
{
    if (field->maxLength() >= 32767 || lengthAfterInsert(field, inserted) <= field->maxLength())
        return true;
    // The box never cuts a key silently: the user is told the limit instead.
    Prompt::message(QStringLiteral("Isian ini paling banyak %1 karakter.").arg(field->maxLength()),
                    QStringLiteral("Periksa Entri"), Prompt::Icon::Critical);
    field->setFocus();
    return false;
}

void InputConventions::paste(QLineEdit* field)
{
    QString text = QGuiApplication::clipboard()->text();
    // A line break would end the pasted line; an address or a name is one line.
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    if (text.isEmpty())
        return;
    const QString allowed = allowedKeys(field);
    if (!allowed.isNull()) {
        for (QChar c : std::as_const(text)) {
            if (!allowed.contains(c)) {
                Prompt::message(QStringLiteral("Teks yang ditempel berisi karakter \"%1\" yang "
                                               "tidak boleh ada di isian ini.")
                                    .arg(c),
                                QStringLiteral("Periksa Entri"), Prompt::Icon::Critical);
                field->setFocus();
                return;
            }
        }
    }
    if (!fitsLength(field, text))
        return;
    field->insert(text);
}

void InputConventions::showContextMenu(QLineEdit* field, const QPoint& globalPos)
{
    // The standard menu, with its paste going through the same checks as Ctrl+V.
    std::unique_ptr<QMenu> menu(field->createStandardContextMenu());
    for (QAction* action : menu->actions()) {
        if (action->objectName() == QLatin1String("edit-paste")) {
            action->disconnect();
            connect(action, &QAction::triggered, this, [this, field] { paste(field); });
        }
    }
    menu->exec(globalPos);
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
        // Only the colour changes: the field keeps its frame and its place.
        setBaseColour(w, enabled ? editableColor() : lockedColor());
    }
}
