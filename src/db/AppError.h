#pragma once

#include "db/DbError.h"

// A fault of the tool itself (not of a database), raised and shown like a database error.
class AppError : public db::DbError {
public:
    static constexpr int LoginComponentError = 5001;
    static constexpr int StartupError = 5002;

    AppError(int number, const QString& description, const QString& source)
        : db::DbError(number, description, source) {}
};
