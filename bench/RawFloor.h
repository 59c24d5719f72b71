#pragma once

#include <QList>
#include <QStringList>
#include <QVariant>

// The floor of a window action that writes: the same statements, with the same bound values,
// run straight on SQLite in one transaction, every row of every result read as text; no data
// layer, no widget. The statements are the tool's own texts, turned into SQLite's dialect
// before the clock starts.
namespace RawFloor {

// Opens the suite server in directory the way the embedded engine does (database main, every
// other database file attached under its name), runs statements with values in one
// BEGIN IMMEDIATE ... COMMIT and returns the elapsed milliseconds of that transaction. Raises
// std::runtime_error when a statement fails.
double run(const QString& directory, const QString& database, const QStringList& statements,
           const QList<QList<QVariant>>& values);

// Runs sql (several statements allowed) on the server in directory outside any timing: the
// benchmark's own set-up rows.
void exec(const QString& directory, const QString& database, const QString& sql);

} // namespace RawFloor
