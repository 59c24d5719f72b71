#pragma once

#include <QStringList>

// The floor of a window action: the same statements, run the way the record queries run them
// (a fresh shared connection each, a client-side record set), with every field of every row
// read as text, and no widget involved.
namespace StatementFloor {

// Runs statements in order; returns the elapsed milliseconds. Raises db::DbError when one fails.
double run(const QStringList& statements);

} // namespace StatementFloor
