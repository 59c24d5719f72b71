#pragma once

#include "db/DbError.h"

#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <utility>

struct sqlite3;

namespace db {

// The database files of one embedded connection, as SQLite meets them: a statement that finds
// one locked by another session waits (see LockWait) instead of failing or freezing, and a file
// that is locked, read-only or missing is said in plain words, naming it.
class DatabaseFiles {
public:
    // files: each database's name and file; the first is the connection's own database.
    void attach(sqlite3* handle, QList<std::pair<QString, QString>> files);

    // Runs body, a statement of the connection: a wait it met is reported finished, and a failure
    // of a database file is raised in plain words.
    template <typename Body> auto guard(Body&& body) -> decltype(body()) {
        try {
            auto result = body();
            endWait();
            return result;
        } catch (const DbError& e) {
            endWait();
            throw plainWords(e);
        }
    }

    // SQL Server's numbers for the same failures: a lock that did not come free in time, and a
    // database that cannot be written.
    static constexpr int Locked = 1222;
    static constexpr int ReadOnly = 3906;

private:
    static int busy(void* self, int count);
    void endWait();
    DbError plainWords(const DbError& error) const;
    // The first database file that another session holds locked, if any.
    const std::pair<QString, QString>* lockedFile() const;
    // The first database file, or the directory its journal goes into, that cannot be written.
    const std::pair<QString, QString>* unwritableFile() const;

    QList<std::pair<QString, QString>> m_files;
    QElapsedTimer m_waiting;
};

} // namespace db
