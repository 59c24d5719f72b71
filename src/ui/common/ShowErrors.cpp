#include "ui/common/ShowErrors.h"

#include "db/OneConnectionAttempt.h"

namespace {

int g_commandDepth = 0;
bool g_commandShowedError = false;

} // namespace

void reportError(const db::DbError& error, const QString& origin) {
    if (g_commandDepth == 0) {
        ShowErrorBox(error, origin);
        return;
    }
    if (g_commandShowedError || db::OneConnectionAttempt::failure())
        return;
    if (const auto* failure = dynamic_cast<const db::ConnectionError*>(&error)) {
        // Shown once by the command when it ends.
        db::OneConnectionAttempt::remember(*failure);
        return;
    }
    ShowErrorBox(error, origin);
    g_commandShowedError = true;
}

bool runCommand(const QString& origin, const std::function<void()>& body) {
    const bool outermost = g_commandDepth == 0;
    const db::OneConnectionAttempt attempt;
    ++g_commandDepth;
    showErrors(origin, body);
    const std::optional<db::ConnectionError> failure = db::OneConnectionAttempt::failure();
    --g_commandDepth;
    if (outermost) {
        const bool shown = g_commandShowedError;
        g_commandShowedError = false;
        if (failure && !shown)
            ShowErrorBox(*failure, origin);
    }
    return !failure;
}
