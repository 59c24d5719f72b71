#pragma once

#include "db/DbError.h"
#include "db/PassOver.h"

#include <exception>

// The error modes that show nothing:
//  - raise unchanged: let the DbError propagate (no helper needed);
//  - passOver (db/PassOver.h): a statement that fails is skipped without a message and the next
//    one runs.
// Showing an error with its origin label is the window's (ui/common/ShowErrors.h).

// Any exception that is not a DbError is described as a general error, so nothing escapes.
db::DbError asDbError(const std::exception& e);
