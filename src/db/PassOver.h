#pragma once

#include <exception>

// Runs one statement; a failure is passed over without a message and the next statement runs.
// Returns false when it failed.
template <typename Statement> bool passOver(Statement&& statement) {
    try {
        statement();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}
