#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

namespace db {

class Cursor;
class Engine;

// Every row of one statement's result, read at once. A Null value is a null QVariant,
// distinct from an empty text.
struct ResultRows {
    QStringList columns;
    QList<QList<QVariant>> rows;
    // Per column: whether its values compare exactly on the server, so that a record set can
    // find its row again by them (not so for floating point, dates and long text).
    QList<bool> comparable;
};

// One open connection to a server, opened from the tool's connection string. The attribute
// Server (any case) decides the engine: "sqlite:<directory>" is the embedded server, anything
// else goes to SQL Server through ODBC. Every failure is raised as a DbError. A connection is
// used by the thread that opened it.
class Connection : public std::enable_shared_from_this<Connection> {
public:
    // Opens a connection; a server that is down or refuses the login fails within
    // loginTimeoutSeconds with the driver's number and message, raised as a ConnectionError that
    // names the server. On SQL Server a login kept from earlier connections to the same string
    // serves again (see OdbcSessionPool); on the embedded server a kept engine (see EnginePool).
    static std::shared_ptr<Connection> open(const QString& connectionString, int loginTimeoutSeconds = 5);
    ~Connection();

    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Runs a statement that returns no rows (a statement that returns rows is read and dropped).
    void execute(const QString& sql);
    // Runs a statement and reads every row of its first result.
    ResultRows query(const QString& sql);
    // Runs a query whose rows are read one at a time, forward only (see Cursor).
    std::unique_ptr<Cursor> openCursor(const QString& sql);
    // Runs a statement with positional "?" parameters bound to values (text never enters the
    // statement text). Used by record sets to write rows.
    void executeBound(const QString& sql, const QList<QVariant>& values);
    // executeBound() that answers the number of rows the statement changed.
    int executeCounted(const QString& sql, const QList<QVariant>& values);
    // Runs statements that return no rows, in order. Inside a transaction they go to the server in
    // as few round trips as it allows (SQL Server: joined into batches; the embedded server: one
    // after another); outside one they run one at a time, so that none runs after a failure. The
    // first failure is raised, with the cause's number; statements after it may have run on SQL
    // Server (a batch goes on after most errors) and are undone by the caller's rollback. Each
    // statement passes the statement log on its own: when a failure is injected at one, those
    // before it run first and then the injected error is raised.
    void executeBatch(const QStringList& statements);

    void beginTrans();
    void commitTrans();
    void rollbackTrans();
    bool inTransaction() const { return m_inTransaction; }

    bool isEmbedded() const;
    const QString& connectionString() const { return m_connectionString; }

    // The engine that carries statements to the server (rewrites the dialect where needed).
    Engine& engine() { return *m_engine; }

private:
    Connection() = default;

    QString m_connectionString;
    std::unique_ptr<Engine> m_engine;
    bool m_inTransaction = false;
    // An embedded server's engine goes back to the engine pool under this key when the
    // connection is let go; empty for other servers.
    QString m_poolKey;
};

} // namespace db
