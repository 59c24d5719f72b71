#pragma once

#include "app/ShowErrorBox.h"
#include "db/DbError.h"
#include "db/PassOver.h"

#include <QString>
#include <exception>

// The three ways a procedure treats its errors:
//  - showErrors: the window's handlers run their body and show any error with their origin label;
//  - raise unchanged: simply let the DbError propagate (no helper needed);
//  - passOver (db/PassOver.h): a statement that fails is skipped without a message and the next
//    one runs.

// Any exception that is not a DbError is described as a general error, so nothing escapes.
db::DbError asDbError(const std::exception& e);

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
