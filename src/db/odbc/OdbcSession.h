#pragma once

#include "db/DriverConnection.h"
#include "db/Engine.h"
#include "db/odbc/OdbcStatement.h"

#include <QString>
#include <memory>

namespace db {

// One login to SQL Server. Qt's ODBC driver opens and closes it (connection string, login
// timeout); the statements and transactions run on the driver's connection handle through
// OdbcStatement, so that text goes to the server and comes back as Unicode and every error
// keeps the server's first record.
class OdbcSession {
public:
    // Logs in with the whole ODBC connection string; a server that is down or refuses the login
    // fails within loginTimeoutSeconds with the driver's number and message.
    OdbcSession(const QString& odbcConnectionString, int loginTimeoutSeconds, const QString& source);
    // An open transaction is rolled back first.
    ~OdbcSession();
    OdbcSession(const OdbcSession&) = delete;
    OdbcSession& operator=(const OdbcSession&) = delete;

    // A new statement on this login.
    std::unique_ptr<OdbcStatement> statement();
    // Runs text with values bound and reads all its results (see OdbcStatement::run).
    StatementResult run(const QString& text, const QList<QVariant>& values = {});

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

private:
    DriverConnection m_driver;
    SQLHDBC m_handle = SQL_NULL_HDBC;
    int m_timeout;
    QString m_source;
    bool m_transaction = false;
    bool m_lost = false;
};

} // namespace db
