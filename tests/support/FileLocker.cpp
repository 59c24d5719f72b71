#include "support/FileLocker.h"

FileLocker::FileLocker(const QString& file, Lock lock) {
    m_process.start(QStringLiteral("sqlite3"), {file});
    m_process.write(lock == Lock::Write ? "BEGIN IMMEDIATE;\n" : "BEGIN EXCLUSIVE;\n");
    m_process.write("SELECT 'locked';\n");
}

FileLocker::~FileLocker() {
    release();
}

bool FileLocker::locked() {
    return m_process.waitForReadyRead(5000) && m_process.readAll().contains("locked");
}

void FileLocker::release() {
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.write("ROLLBACK;\n.quit\n");
    m_process.closeWriteChannel();
    m_process.waitForFinished(5000);
}
