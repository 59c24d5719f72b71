#pragma once

#include "db/Engine.h"

#include <QString>
#include <memory>

namespace db {

// Opening the embedded server attaches every database of its directory and reads their schemas,
// which costs more than most of the window's queries; and the window opens a fresh connection
// for each query. As a driver's connection pool does, the engine of a connection that is let go
// is kept for the next connection to the same server and database. Only engines of the
// application's main thread with no transaction open are kept, one at a time; an engine is not
// reused when the database files of its directory, or the schema of one of its databases, have
// changed since it was let go. The pool is emptied when the application ends.
namespace EnginePool {

// The kept engine for key, or null when there is none or its reuse stamp has changed.
std::unique_ptr<Engine> take(const QString& key);
// Keeps engine for key, with its reuse stamp as it is now, or lets it go.
void give(const QString& key, std::unique_ptr<Engine> engine);

} // namespace EnginePool

} // namespace db
