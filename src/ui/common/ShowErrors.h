#pragma once

#include "db/ErrorModes.h"
#include "ui/common/ShowErrorBox.h"

#include <QString>
#include <exception>
#include <functional>

class QWidget;

// The window's handlers run their body through showErrors, which shows an error with the
// handler's origin label; the modes that show nothing are in db/ErrorModes.h.

namespace common {

// Shows error in the error box with origin, unless a command (see runCommand) already reported
// an error or could not open a connection: its later errors are consequences of the first.
void reportError(const db::DbError& error, const QString& origin);

// Runs body; an error ends it and is reported (see reportError) with origin. Returns false when
// an error ended it.
template <typename Body> bool showErrors(const QString& origin, Body&& body) {
    try {
        body();
        return true;
    } catch (const db::DbError& e) {
        reportError(e, origin);
    } catch (const std::exception& e) {
        reportError(asDbError(e), origin);
    }
    return false;
}

// Tells what the running command could not read or show, in one exclamation box titled with the
// application title (parent: the window). Nothing is shown when the command has shown its error
// box already or could not open a connection: that box tells the cause, and what followed from
// it is not told again.
void showIncomplete(const QString& text, QWidget* parent);

// Runs body as one command of the window (the load, a toolbar button, a refresh, loading a group
// or a user), which shows at most one error box. A connection that cannot be opened is tried only
// once (db::OneConnectionAttempt); its failure is shown when the body ends, with origin, also when
// only passed-over statements met it, and the command's other errors are not shown. Without a
// connection failure the first error that showErrors reports is the command's one box. A command
// run inside another is part of the outer one. Returns false when a connection could not be opened.
bool runCommand(const QString& origin, const std::function<void()>& body);

} // namespace common
