#pragma once

#include "core/Rights.h"

#include <QString>

#include <optional>

// The reason a user gives for a deletion or a reset, asked through the
// Prompt seam and kept in the trail row of that one action.
namespace Reason {

// Asks for the reason of `what` (the deletion or reset) under `title`, again
// while the answer is empty or longer than the trail keeps. Nothing when
// the user cancels: the action is then not done.
std::optional<QString> ask(const QString& what, const QString& title);

// Whether the permit allows its action; when it does not, tells why under
// `title`. The permit has already asked the owner when one may allow it.
bool allowed(const Rights::Permit& permit, const QString& title);

} // namespace Reason
