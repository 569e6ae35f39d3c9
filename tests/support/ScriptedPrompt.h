#pragma once

#include "ui/Prompt.h"

#include <QList>
#include <QString>

#include <optional>

// Records every message and input box and answers from a queue. A question
// (any box with more than an OK button) asked with no answer queued is
// recorded as unexpected, answered with the cancelling choice, and fails the
// running test when the prompt goes out of scope.
class ScriptedPrompt : public Prompt::Handler {
public:
    struct Call {
        QString text;
        QString title;
        Prompt::Icon icon;
        Prompt::Buttons buttons;
    };

    ScriptedPrompt();
    ~ScriptedPrompt() override;

    QList<Call> calls;
    QList<Prompt::Answer> answers;
    QList<std::optional<QString>> inputs;
    QStringList unexpected;

    Prompt::Answer message(const QString& text, const QString& title, Prompt::Icon icon,
                           Prompt::Buttons buttons) override;
    std::optional<QString> input(const QString& text, const QString& title,
                                 const QString& defaultText) override;

    QString lastText() const { return calls.isEmpty() ? QString() : calls.last().text; }
    QStringList texts() const;
    void clear();
};
