#pragma once

#include "db/DbError.h"

#include <QString>

// The one error message box: four lines (number, description, source, origin), title
// "Quillmark", critical icon, OK only. An error number of 0 means "no error": nothing is shown.
void ShowErrorBox(int number, const QString& description, const QString& source, const QString& origin);
void ShowErrorBox(const db::DbError& error, const QString& origin);
