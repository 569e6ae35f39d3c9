#pragma once

#include <QString>

class QWidget;

// Helpers shared by the windows.

// Allowed-character sets of the key filters.
namespace KeySet {
inline const QString Number = QStringLiteral("0123456789.");
inline const QString Amount = QStringLiteral("0123456789.,");
inline const QString Phone = QStringLiteral("0123456789.-");
inline const QString Letters =
    QStringLiteral("AaBbCcDdEeFfGgHhIiJjKkLlMmNnOoPpQqRrSsTtUuVvWwXxYyZz.");
inline const QString UserName =
    QStringLiteral("AaBbCcDdEeFfGgHhIiJjKkLlMmNnOoPpQqRrSsTtUuVvWwXxYyZz0123456789");
} // namespace KeySet

// True when the typed character is in `allowed` or is Backspace (8); otherwise
// sets `keyAscii` to 0, which cancels the key, and returns false.
bool KeyIsAllowed(int& keyAscii, const QString& allowed);

// Replaces every `search` character of `text` (in place) and returns the result.
QString DoReplace(QString& text, const QString& search, const QString& replacement);

// Clears the input controls of `window` whose "tag" contains `marker`: line
// edits get "0" when the tag also holds "_int", else nothing; combo boxes lose
// their selection. With no window given, the active window is meant.
void DoClearInputs(const QString& marker, QWidget* window = nullptr);

// True while a top-level window of that object name (any letter case) exists.
bool FormIsLoaded(const QString& name);

// Puts the picture `resource` behind `widget` and its children: repeated
// sideways, stretched to the widget's height.
void DoSetTiledBackground(QWidget* widget, const QString& resource);

// Back colour and icon common to all working windows. The window opens at
// the size it asks for, shrunk to the free area of its screen where that is
// smaller (down to its minimum size).
void DoApplyWindowLook(QWidget* window);

// The largest minimum size of a working window (logical pixels): a 1024 x 768
// screen at a display scale of 1,5 gives 682 x 512, less a title bar, a frame
// and a panel.
inline constexpr int SmallScreenWidth = 660;
inline constexpr int SmallScreenHeight = 460;

// The tag marker of an input control ("input", "input_int", ...).
QString tagOf(const QWidget* control);
