#include "Reason.h"

#include "core/Trail.h"
#include "ui/Prompt.h"

namespace Reason {

std::optional<QString> ask(const QString& what, const QString& title)
{
    const QString question = QStringLiteral("Tulis alasan %1 (dicatat di jejak perubahan):").arg(what);
    for (;;) {
        const std::optional<QString> answer = Prompt::input(question, title);
        if (!answer)
            return std::nullopt;
        const QString reason = answer->trimmed();
        if (reason.isEmpty()) {
            Prompt::message(QStringLiteral("Alasan harus diisi."), title, Prompt::Icon::Exclamation);
            continue;
        }
        if (reason.size() > Trail::MaxReason) {
            Prompt::message(QStringLiteral("Alasan paling banyak %1 karakter.").arg(Trail::MaxReason),
                            title, Prompt::Icon::Exclamation);
            continue;
        }
        return reason;
    }
}

bool allowed(const Rights::Permit& permit, const QString& title)
{
    if (permit)
        return true;
    Prompt::message(Rights::refusal(permit.action()), title, Prompt::Icon::Exclamation);
    return false;
}

} // namespace Reason
