#pragma once

#include "db/Connection.h"
#include "db/Cursor.h"
#include "db/DbError.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <memory>

class QSqlError;
class QSqlField;

namespace db {

// What one statement gave back: its rows (when it returns any) and the rows it changed.
struct StatementResult {
    ResultRows rows;
    int rowsAffected = -1;
};

// Carries statements to one server through a Qt SQL driver. Each engine owns a uniquely named
// QSqlDatabase connection and removes it when destroyed.
class Engine {
public:
    virtual ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    virtual bool isEmbedded() const = 0;

    // Runs one statement text as the tool built it, with positional "?" values bound; every row
    // of its first result is read and the statement finished before this returns.
    virtual StatementResult run(const QString& sql, const QList<QVariant>& values) = 0;
    // Runs one query as the tool built it and hands its rows over one at a time, as the caller
    // reads them. Raises DbError when the query fails.
    virtual std::unique_ptr<Cursor> openCursor(const QString& sql);

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
    Engine(const QString& driver, QString source);

    QSqlDatabase& database() { return m_db; }
    const QSqlDatabase& database() const { return m_db; }

    // Runs text on the driver as it is.
    StatementResult runOnDriver(const QString& text, const QList<QVariant>& values);

    // Whether the values of a result column compare exactly on the server, so that a record set
    // can find its row again by them: not so for floating point, dates and times.
    virtual bool isComparable(const QSqlField& field) const;

    // The driver's error as a DbError: its native number where it has one, and its message.
    DbError errorOf(const QSqlError& error) const;

private:
    QString m_connectionName;
    QSqlDatabase m_db;
    QString m_source;
};

} // namespace db
