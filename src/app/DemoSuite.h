#pragma once

#include <QString>

// The embedded demo suite served when no login profile exists.
// The name of the suite's main database on the demo server.
inline constexpr const char* DemoDatabaseName = "suitedb";

// Creates the demo server in directory (databases with schema and demo rows) when it does not
// exist yet; an existing suite is never overwritten. Returns the directory. Raises db::DbError
// when the suite cannot be created.
QString EnsureDemoSuite(const QString& directory);
