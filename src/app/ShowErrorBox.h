#pragma once

#include "db/DbError.h"

#include <QString>

// The one error message box: four lines (number, description, source, origin), title
// "Quillmark", critical icon, OK only. An error whose number is 0 shows nothing.
void ShowErrorBox(const db::DbError& error, const QString& origin);
