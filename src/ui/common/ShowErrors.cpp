#include "ui/common/ShowErrors.h"

#include "db/OneConnectionAttempt.h"
#include "ui/common/MessageBox.h"

namespace {

// Whether the running command has shown its one box. A command is running while its connection
// guard (db::OneConnectionAttempt) lives.
bool g_commandShowedError = false;

} // namespace

namespace common {

void reportError(const db::DbError& error, const QString& origin) {
    if (!db::OneConnectionAttempt::active()) {
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

void showIncomplete(const QString& text, QWidget* parent) {
    if (g_commandShowedError || db::OneConnectionAttempt::failure())
        return;
    MsgBox(text, 48, AppTitle(), parent);
}

bool runCommand(const QString& origin, const std::function<void()>& body) {
    const bool outermost = !db::OneConnectionAttempt::active();
    const db::OneConnectionAttempt attempt;
    showErrors(origin, body);
    const std::optional<db::ConnectionError> failure = db::OneConnectionAttempt::failure();
    if (outermost) {
        const bool shown = g_commandShowedError;
        g_commandShowedError = false;
        if (failure && !shown)
            ShowErrorBox(*failure, origin);
    }
    return !failure;
}

} // namespace common
