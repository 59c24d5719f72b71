#pragma once

#include "db/ErrorModes.h"
#include "ui/common/ShowErrorBox.h"

#include <QString>
#include <exception>

// The window's handlers run their body through showErrors; the modes that show nothing are in
// db/ErrorModes.h.

// Runs body; an error ends it and is shown in the error box with origin. Returns false when
// an error was shown.
template <typename Body> bool showErrors(const QString& origin, Body&& body) {
    try {
        body();
        return true;
    } catch (const db::DbError& e) {
        ShowErrorBox(e, origin);
    } catch (const std::exception& e) {
        ShowErrorBox(asDbError(e), origin);
    }
    return false;
}
