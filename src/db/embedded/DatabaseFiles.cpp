#include "db/embedded/DatabaseFiles.h"

#include "db/LockWait.h"

#include <QDir>
#include <QFileInfo>

#include <sqlite3.h>
#include <unistd.h>

namespace db {

namespace {

const QString Source = QStringLiteral("Talvane embedded server");

QString named(const std::pair<QString, QString>& file) {
    return QStringLiteral("The database '%1' (file %2)").arg(file.first, QDir::toNativeSeparators(file.second));
}

} // namespace

void DatabaseFiles::attach(sqlite3* handle, QList<std::pair<QString, QString>> files) {
    m_files = std::move(files);
    sqlite3_busy_handler(handle, &DatabaseFiles::busy, this);
}

int DatabaseFiles::busy(void* self, int count) {
    auto* files = static_cast<DatabaseFiles*>(self);
    if (count == 0 || !files->m_waiting.isValid())
        files->m_waiting.start();
    const QString database = files->m_files.isEmpty() ? QString() : files->m_files.first().first;
    if (!LockWait::keepWaiting(database, int(files->m_waiting.elapsed())))
        return 0;
    // Short naps at first: most locks are a commit of another session that ends at once.
    sqlite3_sleep(count < 10 ? 2 : 15);
    return 1;
}

void DatabaseFiles::endWait() {
    if (!m_waiting.isValid())
        return;
    m_waiting.invalidate();
    LockWait::finished();
}

const std::pair<QString, QString>* DatabaseFiles::lockedFile() const {
    for (const auto& file : m_files) {
        sqlite3* probe = nullptr;
        bool locked = false;
        if (sqlite3_open_v2(QFile::encodeName(file.second).constData(), &probe, SQLITE_OPEN_READWRITE, nullptr) ==
            SQLITE_OK)
            locked = sqlite3_exec(probe, "BEGIN IMMEDIATE; ROLLBACK;", nullptr, nullptr, nullptr) == SQLITE_BUSY;
        sqlite3_close(probe);
        if (locked)
            return &file;
    }
    return nullptr;
}

const std::pair<QString, QString>* DatabaseFiles::unwritableFile() const {
    for (const auto& file : m_files) {
        const QByteArray path = QFile::encodeName(file.second);
        const QByteArray directory = QFile::encodeName(QFileInfo(file.second).absolutePath());
        if (::access(path.constData(), W_OK) != 0 || ::access(directory.constData(), W_OK) != 0)
            return &file;
    }
    return nullptr;
}

DbError DatabaseFiles::plainWords(const DbError& error) const {
    switch (error.number() & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: {
        const auto* file = lockedFile();
        return DbError(Locked,
                       (file ? named(*file) : named(m_files.value(0))) +
                           QStringLiteral(" is locked by another session, which is writing to it. Nothing was "
                                          "written; try again once the other session has finished."),
                       Source);
    }
    case SQLITE_READONLY:
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN: {
        for (const auto& file : m_files)
            if (!QFileInfo::exists(file.second))
                return DbError(error.number(),
                               named(file) + QStringLiteral(" is missing: its file is gone from the server's "
                                                            "directory. (%1)")
                                                 .arg(error.description()),
                               Source);
        if (const auto* file = unwritableFile())
            return DbError(ReadOnly,
                           named(*file) + QStringLiteral(" cannot be written: the file, or the directory it is "
                                                         "in, is read-only. Nothing was written. (%1)")
                                              .arg(error.description()),
                           Source);
        return error;
    }
    default:
        return error;
    }
}

} // namespace db
