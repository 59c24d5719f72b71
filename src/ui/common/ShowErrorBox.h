#pragma once

#include "db/DbError.h"

#include <QString>

namespace common {

// The one error message box: four lines (number, description, source, origin), title
// "Quillmark", critical icon, OK only. An error number of 0 means "no error": nothing is shown.
void ShowErrorBox(int number, const QString& description, const QString& source, const QString& origin);
// A connection that could not be opened adds, after the four lines, the server and what the
// administrator can check (server and database name, user name and password, the network).
void ShowErrorBox(const db::DbError& error, const QString& origin);

} // namespace common
