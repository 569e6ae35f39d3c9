#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The bytes an ESC/POS thermal printer (Epson and the many printers that
// follow its commands) is sent for a receipt or a drawer pulse. Pure: lines
// of text in, bytes out; nothing is written anywhere.
namespace EscPos {

// The code page selected on the printer: WPC1252 (ESC t 16). It holds every
// letter of Indonesian and of the Western European names in the registers
// (é, ü, ñ ...), and it is in the table of nearly every ESC/POS printer.
inline constexpr char CodePage = 16;

// A text in the printer's code page. A character the page lacks becomes a
// plain look-alike: curly quotes straight ones, dashes "-", a letter with a
// mark the page lacks the bare letter ("ā" "a", "ł" "l"); anything else "?".
// Control characters become "?" so that no text can pass as a command.
QByteArray encode(const QString& text);

// True for the lines printed in bold and double height: the total, the amount
// to pay, and the closing report's expected cash and difference.
bool isEmphasised(const QString& line);

// A whole document: initialise (ESC @), select the code page (ESC t), the
// lines, each at most `columns` characters (a longer one goes on in the next
// line, nothing is lost), then a feed and a partial paper cut (GS V 1).
QByteArray document(const QStringList& lines, int columns);

// The pulse that opens the cash drawer (ESC p): pin 2 or 5 of the drawer
// port, on for 50 ms and off for 500 ms.
QByteArray drawerPulse(int pin);

} // namespace EscPos
