#pragma once

#include "db/Connection.h"
#include "db/Cursor.h"
#include "db/DbError.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

namespace db {

// What one statement gave back: its rows (when it returns any) and the rows it changed.
struct StatementResult {
    ResultRows rows;
    int rowsAffected = -1;
};

// Carries statements to one server.
class Engine {
public:
    virtual ~Engine() = default;
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    virtual bool isEmbedded() const = 0;

    // Runs one statement text as the tool built it, with positional "?" values bound; every row
    // of its first result is read and the statement finished before this returns.
    virtual StatementResult run(const QString& sql, const QList<QVariant>& values) = 0;
    // Runs statements in order, in as few round trips as the server allows, and raises the first
    // failure. This one runs them one at a time and stops at the first failure.
    virtual void runBatch(const QStringList& statements);
    // Runs one query as the tool built it and hands its rows over one at a time, as the caller
    // reads them. Raises DbError when the query fails.
    virtual std::unique_ptr<Cursor> openCursor(const QString& sql) = 0;

    virtual void begin() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
    // False when the server has ended the transaction on its own (some failures roll back).
    virtual bool transactionActive() const = 0;

    // What must be unchanged for the engine to serve another connection later (see EnginePool);
    // empty when it is never kept.
    virtual QByteArray reuseStamp() { return {}; }
    // Gives back what memory the engine can while it waits for its next connection.
    virtual void releaseMemory() {}

    // The source that this engine's errors carry.
    const QString& source() const { return m_source; }

protected:
    explicit Engine(QString source) : m_source(std::move(source)) {}

private:
    QString m_source;
};

} // namespace db
