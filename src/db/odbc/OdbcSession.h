#pragma once

#include "db/DriverConnection.h"
#include "db/Engine.h"
#include "db/odbc/OdbcStatement.h"

#include <QElapsedTimer>
#include <QString>
#include <functional>
#include <memory>

namespace db {

// One login to SQL Server. Qt's ODBC driver opens and closes it (connection string, login
// timeout); the statements and transactions run on the driver's connection handle through
// OdbcStatement, so that text goes to the server and comes back as Unicode and every error
// keeps the server's first record.
//
// A statement that meets a lock held by another session does not hold the window: its calls run
// on OdbcWorker, and the login's LOCK_TIMEOUT makes the server give up each lock wait after
// LockTimeoutMs with error 1222, which leaves the statement without effect, so that a single
// statement is sent again while LockWait says to go on waiting.
class OdbcSession {
public:
    // Whether a statement that failed on a lock is sent again.
    enum class Resend { No, WhileWaiting };

    // Logs in with the whole ODBC connection string; a server that is down or refuses the login
    // fails within loginTimeoutSeconds with the driver's number and message.
    OdbcSession(const QString& odbcConnectionString, int loginTimeoutSeconds, const QString& source);
    // An open transaction is rolled back first.
    ~OdbcSession();
    OdbcSession(const OdbcSession&) = delete;
    OdbcSession& operator=(const OdbcSession&) = delete;

    // Runs attempt on a new statement of this login and answers that statement. Its calls run on
    // OdbcWorker; after QuietMs the window is let paint (LockWait::running). When the server
    // answers that a lock of another session did not come free (1222) and resend allows, the
    // attempt is made again on a new statement after RetryPauseMs, for as long as
    // LockWait::keepWaiting says (which then tells the window); once it gives up, an attempt in
    // flight is cancelled. A wait that ends without the lock raises locked().
    std::unique_ptr<OdbcStatement> call(const std::function<void(OdbcStatement&)>& attempt, Resend resend);
    // Runs text with values bound and reads all its results (see OdbcStatement::run and call).
    StatementResult run(const QString& text, const QList<QVariant>& values = {}, Resend resend = Resend::WhileWaiting);

    // The error for a statement that met a lock it could not wait out (number 1222), in plain
    // words: the database and the server, locked by another session, nothing written.
    DbError locked() const;

    // Transactions are the server's own statements, one round trip each (the driver's transaction
    // calls cost two to commit: it begins a new transaction and rolls that one back).
    void begin();
    void commit();
    void rollback();
    bool inTransaction() const { return m_transaction; }

    // Whether the server still answers on this login: one round trip, within the login timeout.
    bool answers();
    // Whether an error has shown that the connection is gone; such a session serves no more.
    bool lost() const { return m_lost; }

    static constexpr int Locked = 1222;
    static constexpr int LockTimeoutMs = 1000;
    static constexpr int QuietMs = 200;
    static constexpr int RetryPauseMs = 100;

private:
    std::unique_ptr<OdbcStatement> statement();
    // Waits RetryPauseMs before a statement is sent again, telling LockWait how long the statement
    // has waited; false when LockWait gives up.
    bool pauseBeforeResend(const QElapsedTimer& waited) const;
    // What LockWait is told the statement waits for: the database and the server.
    QString lockWaitName() const;

    DriverConnection m_driver;
    SQLHDBC m_handle = SQL_NULL_HDBC;
    int m_timeout;
    QString m_source;
    QString m_database;
    QString m_server;
    bool m_transaction = false;
    bool m_lost = false;
};

} // namespace db
