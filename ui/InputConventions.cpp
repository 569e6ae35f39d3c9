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
#include <QFocusEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>
#include <QTimer>
#include <QValidator>

#include <algorithm>
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

const QString EntryTitle = QStringLiteral("Periksa Entri");
const QString NoteName = QStringLiteral("lblCatatan");

bool typesText(const QKeyEvent* key)
{
    const QString text = key->text();
    return !text.isEmpty() && text.at(0).unicode() >= 0x20 && text.at(0).unicode() != 0x7f;
}

// Key rules of the whole program, on the application object, so that no
// window or field is left out.
class KeyGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
            // A key reaches a widget only when no mnemonic or shortcut took it.
            // Alt with a letter then types nothing: a line edit would insert
            // the letter, a list or a drop-down jump to it. Menus keep their
            // own letter keys.
            const auto* key = static_cast<QKeyEvent*>(event);
            const Qt::KeyboardModifiers mods = key->modifiers();
            return (mods & Qt::AltModifier) && !(mods & (Qt::ControlModifier | Qt::MetaModifier)) &&
                   typesText(key) && !qobject_cast<QMenu*>(watched) &&
                   !qobject_cast<QMenuBar*>(watched);
        }
        if (event->type() == QEvent::Hide && !event->spontaneous() && watched->isWidgetType()) {
            auto* window = static_cast<QWidget*>(watched);
            if (window->isWindow() && window->windowModality() != Qt::NonModal)
                activateNextWindow(window);
        }
        return false;
    }

private:
    // Without a window manager nothing gives the keyboard back when a modal
    // window closes, and the keys typed next would go nowhere: the window that
    // is left in charge (the next modal one, else the one below) is activated,
    // so its focused field takes them.
    static void activateNextWindow(QWidget* closed)
    {
        QPointer<QWidget> below =
            closed->parentWidget() ? closed->parentWidget()->window() : nullptr;
        QTimer::singleShot(0, qApp, [below] {
            const QWidget* active = QApplication::activeWindow();
            if (active && active->isVisible())
                return;
            QWidget* next = QApplication::activeModalWidget();
            if (!next)
                next = below;
            if (next && next->isVisible())
                next->activateWindow();
        });
    }
};

void installKeyGuard()
{
    static QPointer<KeyGuard> guard;
    if (guard || !qApp)
        return;
    guard = new KeyGuard(qApp);
    qApp->installEventFilter(guard);
}

QString describeKeys(const QString& allowed)
{
    if (allowed == KeySet::Number)
        return QStringLiteral("isian ini hanya menerima angka (titik untuk ribuan).");
    if (allowed == KeySet::Amount)
        return QStringLiteral("isian ini hanya menerima angka, dengan koma sebagai tanda desimal.");
    if (allowed == KeySet::Phone)
        return QStringLiteral("isian ini hanya menerima angka, titik dan tanda minus.");
    if (allowed == KeySet::Letters)
        return QStringLiteral("isian ini hanya menerima huruf dan titik, tanpa spasi dan angka.");
    if (allowed == KeySet::UserName)
        return QStringLiteral("isian ini hanya menerima huruf dan angka.");
    return QStringLiteral("isian ini tidak menerima karakter itu.");
}
} // namespace

InputConventions::InputConventions(QWidget* window, const InputRules& rules)
    : QObject(window), m_window(window), m_rules(rules)
{
}

InputConventions* InputConventions::install(QWidget* window, const InputRules& rules)
{
    installKeyGuard();
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
    // A note about a refused key goes with the next change of the text; a
    // note about an unreadable number once the number can be read.
    connect(edit, &QLineEdit::textChanged, this, [this, edit](const QString& text) {
        if (m_noteField != edit)
            return;
        if (m_noteKind == NoteKind::Key || !Regional::hasMisplacedPoint(text))
            hideNote();
    });
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
        // An unreadable number stays as typed, to be mended.
        if (m_rules.intStripPoints && !edit->isReadOnly() &&
            !Regional::hasMisplacedPoint(edit->text())) {
            QString text = edit->text();
            edit->setText(DoReplace(text, QStringLiteral("."), QString()));
        }
        // Selected at once: a key typed right after entering replaces the
        // whole value, however fast it follows. A click that gave the focus
        // places the cursor on its release, so it selects again then.
        edit->selectAll();
        m_selectOnRelease =
            static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason ? edit : nullptr;
        return false;
    }
    if (event->type() == QEvent::MouseButtonRelease && edit && edit == m_selectOnRelease) {
        m_selectOnRelease = nullptr;
        // The press has placed the cursor; the release itself moves nothing.
        edit->selectAll();
        return false;
    }
    if (event->type() == QEvent::FocusOut && edit) {
        if (m_noteField == edit && m_noteKind == NoteKind::Key)
            hideNote();
        if (!isNumeric(edit))
            return false;
        const QString refusal = readsNumbers() && !edit->isReadOnly()
                                    ? Regional::pointRefusal(edit->text(), decimals())
                                    : QString();
        if (refusal.isEmpty())
            formatNumber(edit);
        else
            showNote(edit, refusal, NoteKind::Number);
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
    m_selectOnRelease = nullptr;
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
    if (!typesText(key))
        return false; // cursor movement, Backspace, Delete and other keys that type nothing
    // Refused without a box: the focus and the keys that follow stay here.
    const QString refusal = keyRefusal(edit, key->text());
    if (!refusal.isEmpty()) {
        showNote(edit, refusal, NoteKind::Key);
        return true;
    }
    return false;
}

QString InputConventions::keyRefusal(const QLineEdit* field, const QString& text) const
{
    const QString allowed = allowedKeys(field);
    if (!allowed.isNull()) {
        int code = text.at(0).unicode();
        if (!KeyIsAllowed(code, allowed)) {
            if (text == QLatin1String(",") && decimals() && isNumeric(field))
                return QStringLiteral("Tanda desimal (koma) hanya boleh satu.");
            return QStringLiteral("Karakter \"%1\" ditolak: ").arg(text) + describeKeys(allowed);
        }
    }
    if (field->maxLength() < 32767 && lengthAfterInsert(field, text) > field->maxLength())
        return lengthLimitText(field);
    if (const QValidator* validator = field->validator()) {
        QString after = field->text();
        int at = field->cursorPosition();
        if (field->hasSelectedText()) {
            at = field->selectionStart();
            after.remove(at, field->selectedText().size());
        }
        after.insert(at, text);
        at += int(text.size());
        if (validator->validate(after, at) == QValidator::Invalid) {
            const QString why = validator->property("refusal").toString();
            return why.isEmpty() ? QStringLiteral("Karakter \"%1\" tidak dapat ditambahkan di "
                                                  "isian ini.")
                                       .arg(text)
                                 : why;
        }
    }
    return {};
}

QString InputConventions::lengthLimitText(const QLineEdit* field)
{
    return QStringLiteral("Isian ini paling banyak %1 karakter.").arg(field->maxLength());
}

void InputConventions::showNote(QLineEdit* field, const QString& text, NoteKind kind)
{
    if (!m_note) {
        // A child of the window, not a window of its own: it never takes the
        // focus or the keys, and it moves with the window.
        m_note = new QLabel(m_window);
        m_note->setObjectName(NoteName);
        m_note->setWordWrap(true);
        m_note->setFocusPolicy(Qt::NoFocus);
        m_note->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_note->setFrameShape(QFrame::Box);
        m_note->setMargin(3);
        m_note->setAutoFillBackground(true);
        QPalette pal = m_note->palette();
        pal.setColor(QPalette::Window, QColor(255, 255, 225));
        pal.setColor(QPalette::WindowText, QColor(96, 0, 0));
        m_note->setPalette(pal);
    }
    m_noteField = field;
    m_noteKind = kind;
    m_note->setText(text);
    const int width = std::max(120, std::min(std::max(field->width(), 320), m_window->width() - 8));
    m_note->setFixedWidth(width);
    m_note->setFixedHeight(m_note->heightForWidth(width));
    // Under the field, or above it where the window ends.
    QPoint at = field->mapTo(m_window, QPoint(0, field->height() + 2));
    at.setX(std::max(4, std::min(at.x(), m_window->width() - width - 4)));
    if (at.y() + m_note->height() > m_window->height())
        at.setY(field->mapTo(m_window, QPoint(0, 0)).y() - m_note->height() - 2);
    m_note->move(at);
    m_note->raise();
    m_note->show();
}

void InputConventions::hideNote()
{
    m_noteField = nullptr;
    if (m_note)
        m_note->hide();
}

QString InputConventions::noteText(const QWidget* window)
{
    const auto* note = window->findChild<QLabel*>(NoteName);
    return note && !note->isHidden() ? note->text() : QString();
}

bool InputConventions::checkNumbers(QWidget* window)
{
    const auto* conventions =
        window->findChild<InputConventions*>(QString(), Qt::FindDirectChildrenOnly);
    if (conventions && !conventions->readsNumbers())
        return true;
    const bool decimals = !conventions || conventions->decimals();
    for (QLineEdit* field : window->findChildren<QLineEdit*>()) {
        if (!isNumeric(field) || field->isReadOnly() || !field->isEnabled())
            continue;
        const QString refusal = Regional::pointRefusal(field->text(), decimals);
        if (refusal.isEmpty())
            continue;
        Prompt::message(refusal, EntryTitle, Prompt::Icon::Critical);
        field->setFocus();
        return false;
    }
    return true;
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
    // The box never cuts a paste silently: the user is told the limit instead.
    Prompt::message(lengthLimitText(field), EntryTitle, Prompt::Icon::Critical);
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
                                EntryTitle, Prompt::Icon::Critical);
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
