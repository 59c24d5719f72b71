#include "db/Engine.h"

namespace db {

void Engine::runBatch(const QStringList& statements) {
    for (const QString& sql : statements)
        run(sql, {});
}

} // namespace db
