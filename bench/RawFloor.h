#pragma once

#include <QList>
#include <QStringList>
#include <QVariant>

// The floor of a window action: the same statements, with the same bound values, run straight
// on SQLite's C API, every column of every row read as text; no data layer, no widget. The
// statements are the tool's own texts, turned into SQLite's dialect before the clock starts.
namespace RawFloor {

// Opens the suite server in directory the way the embedded engine does (database main, every
// other database file attached under its name), then times statements with values run one after
// another, each on its own (autocommit); returns the elapsed milliseconds. Raises
// std::runtime_error when a statement fails.
double read(const QString& directory, const QString& database, const QStringList& statements,
            const QList<QList<QVariant>>& values);

// The floor of an action that writes: opens the suite as read() does, runs statements with
// values in one BEGIN IMMEDIATE ... COMMIT and returns the elapsed milliseconds of that
// transaction. Raises std::runtime_error when a statement fails.
double run(const QString& directory, const QString& database, const QStringList& statements,
           const QList<QList<QVariant>>& values);

// The floor of an export to a file: the statements read as read() does, every row written to the
// file at path as its columns' texts joined by commas, one line each, through one buffered stream.
struct FileFloor {
    double milliseconds = 0;
    qint64 rows = 0;
    qint64 bytes = 0;
};
FileFloor toFile(const QString& directory, const QString& database, const QStringList& statements, const QString& path);

// Runs sql (several statements allowed) on the server in directory outside any timing: the
// benchmark's own set-up rows.
void exec(const QString& directory, const QString& database, const QString& sql);

} // namespace RawFloor
