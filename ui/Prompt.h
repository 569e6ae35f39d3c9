#pragma once

#include <QString>

#include <optional>

class DbError;

// Every message box and input box of the program goes through here, so that
// the answers can be scripted when the windows are driven by tests.
namespace Prompt {

enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

class Handler {
public:
    virtual ~Handler() = default;
    virtual Answer message(const QString& text, const QString& title, Icon icon,
                           Buttons buttons) = 0;
    // std::nullopt when the box was cancelled.
    virtual std::optional<QString> input(const QString& text, const QString& title,
                                         const QString& defaultText) = 0;
};

// The answer Enter gives on a box of `buttons`. A Yes/No/Cancel question
// ("Simpan rekaman ini?") defaults to Cancel, which neither saves nor
// discards, so an Enter typed ahead never decides it.
Answer defaultAnswer(Buttons buttons);

Answer message(const QString& text, const QString& title, Icon icon = Icon::None,
               Buttons buttons = Buttons::Ok);
std::optional<QString> input(const QString& text, const QString& title,
                             const QString& defaultText = {});

// Replaces the real boxes; nullptr brings them back.
void setHandler(Handler* handler);

// The one report of a failed database action during normal work.
void databaseError(const DbError& error);

} // namespace Prompt

// Runs a user action that touches the database; a DbError is reported with
// Prompt::databaseError and false is returned, leaving the window usable.
// An action a cashier may not do is offered to the owner beside the till
// first: when the owner allows it, it runs once more, whole (the refused try
// rolled back and wrote nothing).
template <typename F> bool guardDb(F&& action);

#include "core/Db.h"
#include "core/Rights.h"

template <typename F> bool guardDb(F&& action)
{
    try {
        action();
        return true;
    } catch (const Rights::Refused& refused) {
        const Rights::Permit permit(refused.action());
        if (!permit) {
            Prompt::databaseError(refused);
            return false;
        }
        try {
            action();
            return true;
        } catch (const DbError& e) {
            Prompt::databaseError(e);
            return false;
        }
    } catch (const DbError& e) {
        Prompt::databaseError(e);
        return false;
    }
}
