#pragma once

#include "db/ConnectionString.h"
#include "db/Engine.h"

namespace db {

// SQL Server through Qt's ODBC driver (unixODBC with FreeTDS registered as "SQL Server" here,
// the system's own driver on Windows). Statements go to the server unchanged.
class OdbcEngine : public Engine {
public:
    // Opens the connection; a server that is down or refuses the login fails within
    // loginTimeoutSeconds with the driver's native number and message.
    OdbcEngine(const ConnectionString& attributes, int loginTimeoutSeconds);

    // The ODBC connection string for the tool's connection string. The ODBC form passes through;
    // the OLE DB form ("provider=...") goes to the same server, database and sign-on through the
    // driver "SQL Server". TDS_Version is pinned to 7.4 (with "auto" a server that never answers
    // hangs the connect for minutes) and the text ends with ";". A value holding "}" is refused:
    // the driver does not undo a doubled "}".
    static QString odbcConnectionString(const ConnectionString& attributes);

    bool isEmbedded() const override { return false; }
    StatementResult run(const QString& sql, const QList<QVariant>& values) override;
    void begin() override;
    void commit() override;
    void rollback() override;
    bool transactionActive() const override { return m_transaction; }

protected:
    bool isComparable(const QSqlField& field) const override;

private:
    bool m_transaction = false;
};

} // namespace db
