#include "ScriptedPrompt.h"

#include <QTest>

ScriptedPrompt::ScriptedPrompt()
{
    Prompt::setHandler(this);
}

ScriptedPrompt::~ScriptedPrompt()
{
    Prompt::setHandler(nullptr);
    // A question nobody scripted an answer for is a fault of the test or the window.
    if (!unexpected.isEmpty())
        QTest::qFail(qPrintable(QStringLiteral("unanswered prompt: ") + unexpected.join(" | ")),
                     __FILE__, __LINE__);
}

Prompt::Answer ScriptedPrompt::message(const QString& text, const QString& title,
                                       Prompt::Icon icon, Prompt::Buttons buttons)
{
    calls << Call{text, title, icon, buttons};
    if (!answers.isEmpty())
        return answers.takeFirst();
    switch (buttons) {
    case Prompt::Buttons::Ok: return Prompt::Answer::Ok;
    case Prompt::Buttons::YesNo: unexpected << text; return Prompt::Answer::No;
    default: unexpected << text; return Prompt::Answer::Cancel;
    }
}

std::optional<QString> ScriptedPrompt::input(const QString& text, const QString& title,
                                             const QString&)
{
    calls << Call{text, title, Prompt::Icon::None, Prompt::Buttons::OkCancel};
    if (inputs.isEmpty()) {
        unexpected << text;
        return std::nullopt;
    }
    return inputs.takeFirst();
}

QStringList ScriptedPrompt::texts() const
{
    QStringList t;
    for (const Call& c : calls)
        t << c.text;
    return t;
}

void ScriptedPrompt::clear()
{
    calls.clear();
    answers.clear();
    inputs.clear();
    unexpected.clear();
}
