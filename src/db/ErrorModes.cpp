#include "db/ErrorModes.h"

db::DbError asDbError(const std::exception& e) {
    if (const auto* dbError = dynamic_cast<const db::DbError*>(&e))
        return *dbError;
    return db::DbError(db::DbError::GeneralError, QString::fromLocal8Bit(e.what()), db::DbError::ToolSource());
}
