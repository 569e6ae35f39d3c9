#pragma once

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QString>

class QLabel;
class QLineEdit;
class QWidget;

// How a window's input fields behave. Fields are marked by their "tag"
// property: "input" for every input, "_int" for numeric fields, "_str" for
// letters-only fields, "_e" / "_e1" / "_id" for lockable groups.
struct InputRules {
    enum class NumberKeys {
        None,
        Number, // "0123456789."
        Amount, // "0123456789.," with at most one decimal comma
        Phone,  // "0123456789.-"
    };
    enum class NumberFormat {
        None,
        Amount, // 1.234,50
        Whole,  // 12.500
    };

    NumberKeys intKeys = NumberKeys::Number;
    NumberFormat intFormat = NumberFormat::None;
    // An emptied numeric field shows "0".
    bool intZeroWhenEmpty = true;
    // Thousands points are removed while a numeric field is being edited.
    bool intStripPoints = true;
    // Allowed characters of "_str" fields; empty means unfiltered.
    QString strKeys;
    // Allowed characters of every line edit whose name begins with "txt"
    // (login and user windows); empty means no such rule.
    QString txtKeys;
};

// The input conventions as one mechanism: Enter moves to the next control
// (and presses a focused button), mnemonics press their button at once,
// keys are filtered by the field's marker, numeric fields select their text on
// entry, are formatted when left and show "0" when emptied. A window installs
// it once, after its controls exist.
//
// A typed key that a field refuses never opens a box, which would take the
// keys typed after it: the field keeps the focus and a note under it
// (lblCatatan) says why. A number whose "." does not group thousands is kept
// as typed when the field is left, with such a note, and is refused by
// checkNumbers() when the window saves. Throughout the program Alt with a
// letter never types the letter: a mnemonic or shortcut takes it, or nothing.
class InputConventions : public QObject {
    Q_OBJECT
public:
    static InputConventions* install(QWidget* window, const InputRules& rules);

    // Locks or unlocks every control whose tag contains `tag`, with the two colours.
    static void setGroupEnabled(QWidget* window, const QString& tag, bool enabled);

    static QColor editableColor() { return QColor(255, 224, 192); }
    static QColor lockedColor() { return QColor(224, 224, 224); }

    // The characters allowed in `field` now, or a null string when unfiltered.
    QString allowedKeys(const QLineEdit* field) const;

    // The entry check of the numbers typed in `window`: the first numeric field
    // whose text cannot be read as a number is named in a "Periksa Entri" box
    // and gets the focus, and false is returned.
    static bool checkNumbers(QWidget* window);

    // The note shown under a field of `window`, or an empty text when none is shown.
    static QString noteText(const QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Inserts the clipboard's text into `field` when every character passes the
    // field's filter and the result fits its length; otherwise refuses it as a
    // whole, with a message.
    void paste(QLineEdit* field);

private:
    InputConventions(QWidget* window, const InputRules& rules);
    static int lengthAfterInsert(const QLineEdit* field, const QString& inserted);
    static QString lengthLimitText(const QLineEdit* field);
    // True when pasted `inserted` fits the field's length; otherwise says the limit in a box.
    static bool fitsLength(QLineEdit* field, const QString& inserted);
    // Why the field refuses the typed `text`, or an empty string when it takes it.
    QString keyRefusal(const QLineEdit* field, const QString& text) const;
    void showContextMenu(QLineEdit* field, const QPoint& globalPos);
    void attach(QWidget* control);
    void formatNumber(QLineEdit* field) const;
    bool decimals() const { return m_rules.intKeys == InputRules::NumberKeys::Amount; }
    // Numeric fields hold numbers to be read (not telephone numbers).
    bool readsNumbers() const { return m_rules.intFormat != InputRules::NumberFormat::None; }

    enum class NoteKind { Key, Number };
    // Shows `text` under `field` without taking the focus.
    void showNote(QLineEdit* field, const QString& text, NoteKind kind);
    void hideNote();

    QWidget* m_window;
    InputRules m_rules;
    QLabel* m_note = nullptr;
    QPointer<QLineEdit> m_noteField;
    // A numeric field entered by a click, to be selected when the button is released.
    QPointer<QLineEdit> m_selectOnRelease;
    NoteKind m_noteKind = NoteKind::Key;
};
