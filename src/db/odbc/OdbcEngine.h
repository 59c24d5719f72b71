#pragma once

#include "db/ConnectionString.h"
#include "db/Engine.h"
#include "db/odbc/OdbcSession.h"

#include <memory>

namespace db {

// SQL Server through ODBC (unixODBC with FreeTDS registered as "SQL Server" here, the system's
// own driver on Windows). Statements go to the server unchanged, text as Unicode both ways.
//
// The engine holds a login (OdbcSession) only while it needs one: for a statement, while a
// transaction is open and while a cursor is being read. In between it lends the login back to
// OdbcSessionPool, so the connections that the window opens one after another for its queries
// and stores share one login, and a login in a transaction or reading rows serves no one else.
class OdbcEngine : public Engine {
public:
    // Takes a kept login for the connection string, or logs in: a server that is down or refuses
    // the login fails within loginTimeoutSeconds with the driver's native number and message.
    OdbcEngine(const ConnectionString& attributes, int loginTimeoutSeconds);
    ~OdbcEngine() override;

    // The ODBC connection string for the tool's connection string. The ODBC form passes through;
    // the OLE DB form ("provider=...") goes to the same server, database and sign-on through the
    // driver "SQL Server". TDS_Version is pinned to 7.4 (with "auto" a server that never answers
    // hangs the connect for minutes) and the text ends with ";". A value holding "}" is refused:
    // the driver does not undo a doubled "}".
    static QString odbcConnectionString(const ConnectionString& attributes);

    // At most this many statements go to the server in one batch.
    static constexpr int MostPerBatch = 500;

    bool isEmbedded() const override { return false; }
    StatementResult run(const QString& sql, const QList<QVariant>& values) override;
    // The statements joined into batches of up to MostPerBatch, one round trip each. A batch is
    // read to its end; its first failure is raised with the records of every failure in it.
    void runBatch(const QStringList& statements) override;
    std::unique_ptr<Cursor> openCursor(const QString& sql) override;
    void begin() override;
    void commit() override;
    void rollback() override;
    bool transactionActive() const override { return m_transaction; }

private:
    // The login this engine holds, else a kept one, else a new one. A login that fails here is a
    // ConnectionError, tried once per command (see OneConnectionAttempt).
    OdbcSession& session();
    // Lends the login back when nothing holds it: no transaction, no cursor being read.
    void lendBack();

    QString m_key;
    QString m_server;
    int m_loginTimeout;
    std::unique_ptr<OdbcSession> m_session;
    bool m_transaction = false;
    int m_cursors = 0;
};

} // namespace db
