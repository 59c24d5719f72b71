#pragma once

#include <QProcess>
#include <QString>

// Another process, the sqlite3 shell, that holds the write lock of a SQLite database file (as a
// session of another program that is writing to it) from construction until release(). An
// exclusive lock keeps readers out too.
class FileLocker {
public:
    enum class Lock { Write, Exclusive };

    explicit FileLocker(const QString& file, Lock lock = Lock::Write);
    ~FileLocker();
    FileLocker(const FileLocker&) = delete;
    FileLocker& operator=(const FileLocker&) = delete;

    // Whether the lock is held: the shell said so within a few seconds.
    bool locked();
    // Gives the lock up and ends the shell.
    void release();

private:
    QProcess m_process;
};
