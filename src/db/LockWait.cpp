#include "db/LockWait.h"

namespace db {

namespace {

LockWait::Observer* g_observer = nullptr;
int g_limitMs = 30000;

} // namespace

void LockWait::setObserver(Observer* observer) {
    g_observer = observer;
}

int LockWait::limitMs() {
    return g_limitMs;
}

void LockWait::setLimitMs(int ms) {
    g_limitMs = ms;
}

bool LockWait::keepWaiting(const QString& database, int waitedMs) {
    if (waitedMs >= g_limitMs)
        return false;
    return !g_observer || g_observer->waiting(database, waitedMs);
}

void LockWait::finished() {
    if (g_observer)
        g_observer->finished();
}

void LockWait::running() {
    if (g_observer)
        g_observer->running();
}

} // namespace db
