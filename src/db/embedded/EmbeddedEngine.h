#pragma once

#include "db/DriverConnection.h"
#include "db/Engine.h"
#include "db/embedded/DatabaseFiles.h"

struct sqlite3;

namespace db {

// The embedded server: a directory is a server, each "<name>.db" file in it a database. The
// connection opens the named database as its main one and attaches every other database file
// under its name; "master.db" is the server's catalogue (see ServerCatalogue), created when
// missing. Statements run through the dialect rewrite; login statements are carried out on
// the catalogue.
//
// The embedded server does not authenticate: user name and password of the connection string
// are not checked. It is a local directory, and its file permissions are what guard it.
class EmbeddedEngine : public Engine {
public:
    // Raises DbError when the directory or the database file does not exist (the file is never
    // created) or a file cannot be opened.
    EmbeddedEngine(const QString& directory, const QString& databaseName);

    bool isEmbedded() const override { return true; }
    StatementResult run(const QString& sql, const QList<QVariant>& values) override;
    // The schema version of every database and the name and identity of every database file of
    // the directory: a connection whose schemas or files changed meanwhile would work on old ones.
    QByteArray reuseStamp() override;
    // Drops the pages SQLite keeps in its cache for this connection.
    void releaseMemory() override;
    // Reads straight from SQLite, with no copy of the rows in the driver.
    std::unique_ptr<Cursor> openCursor(const QString& sql) override;

    // A writing transaction: "BEGIN IMMEDIATE" takes the write lock at once, so a "max + 1" read
    // inside it cannot race another process. A database another session holds locked is waited
    // for, at most LockWait::limitMs(), while the lock-wait observer is told.
    void begin() override;
    void commit() override;
    void rollback() override;
    bool transactionActive() const override;

    // Runs SQLite text as it is (no rewrite, no login statements). A database file that is
    // locked, read-only or missing fails in plain words that name it (see DatabaseFiles).
    StatementResult runNative(const QString& text, const QList<QVariant>& values = {});

    // The schema under which this connection sees the catalogue: "master", or "main" when the
    // catalogue is the connection's own database.
    const QString& catalogueSchema() const { return m_catalogue; }

private:
    sqlite3* handle() const;
    void registerFunctions();
    void attach(const QString& name, const QString& path, const char* mode);
    void keepRollbackJournal(const QStringList& schemas);
    // Whether the databases keep their text in UTF-8 (SQLite's default).
    bool textIsUtf8() const;

    DriverConnection m_driver;
    QString m_catalogue;
    QStringList m_schemas;
    QString m_directory;
    DatabaseFiles m_files;
    bool m_utf8 = false;
};

} // namespace db
