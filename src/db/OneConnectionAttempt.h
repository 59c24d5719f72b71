#pragma once

#include "db/ConnectionError.h"

#include <QtGlobal>
#include <optional>

namespace db {

// While a guard lives, the first connection that cannot be opened is remembered and every later
// OpenConnection() raises the same error again without trying the server: one command makes at
// most one failed login attempt (a lockout policy counts each one) and waits at most one login
// timeout. Guards nest; only the outermost one keeps the failure, and it forgets it when it ends.
class OneConnectionAttempt {
public:
    OneConnectionAttempt();
    ~OneConnectionAttempt();
    OneConnectionAttempt(const OneConnectionAttempt&) = delete;
    OneConnectionAttempt& operator=(const OneConnectionAttempt&) = delete;

    // Whether a guard is alive.
    static bool active();
    // The failure remembered by the living guards, if any.
    static const std::optional<ConnectionError>& failure();
    // Remembers error when a guard lives and none is remembered yet.
    static void remember(const ConnectionError& error);
    // The number of the running command: a new one for each outermost guard, 0 while no guard
    // lives. A kept connection last used by the running command needs no check before its reuse.
    static quint64 command();

private:
    bool m_outermost;
};

} // namespace db
