#pragma once

#include <QString>
#include <QStringList>

// The embedded demo suite served when no login profile exists, and the making of embedded
// servers with the suite's schema (tests and the benchmark generator build theirs the same way).

// The name of the suite's main database on the demo server.
inline constexpr const char* DemoDatabaseName = "suitedb";

// Creates the demo server in directory (databases with schema and demo rows) when it does not
// exist yet; an existing suite is never overwritten. Returns the directory. Raises db::DbError
// when the suite cannot be created.
QString EnsureDemoSuite(const QString& directory);

// The databases of a suite server, the main one first: suitedb, ordavia and, with withStk, stk.
QStringList SuiteDatabaseNames(bool withStk);

// Creates a server in directory (made when missing): one <name>.db per database of
// SuiteDatabaseNames(withStk), each with its schema and, with withDemoRows, the demo rows. The
// catalogue master.db is left to the engine, which creates it on first open. Raises db::DbError
// when a database file already exists (nothing is overwritten) or a script fails.
void CreateSuiteServer(const QString& directory, bool withStk, bool withDemoRows);
