#pragma once

#include <QString>

namespace db {

// What a statement does while another session holds the database it needs locked: it waits, at
// most limitMs(), and tells the installed observer every few milliseconds, so that the window
// keeps painting and the administrator can give up. Without an observer it just waits.
class LockWait {
public:
    class Observer {
    public:
        virtual ~Observer() = default;
        // A statement has waited waitedMs for database; false gives up.
        virtual bool waiting(const QString& database, int waitedMs) = 0;
        // The wait is over, whether the lock came free or the wait gave up.
        virtual void finished() = 0;
        // A statement has been running for a while without being known to wait for a lock (or its
        // wait was given up and the server has not answered yet): the window keeps painting, but
        // takes no clicks or keys.
        virtual void running() = 0;
    };

    // Installs (or with null removes) the observer; it must outlive its installation.
    static void setObserver(Observer* observer);

    // How long a statement waits before it gives up: 30 seconds unless changed.
    static int limitMs();
    static void setLimitMs(int ms);

    // For the engines while a statement waits for database: true to go on waiting, false once the
    // limit is reached or the observer gave up.
    static bool keepWaiting(const QString& database, int waitedMs);
    // For the engines once a statement that waited is done.
    static void finished();
    // For the engines every few milliseconds while a statement runs longer than a moment and is
    // not known to wait for a lock.
    static void running();
};

} // namespace db
