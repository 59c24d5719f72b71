#pragma once

#include "db/DbError.h"

namespace db {

// A connection that could not be opened (server unreachable, login refused, database missing):
// the driver's number, description and source unchanged, plus the server that was asked. Callers
// that only know DbError treat it as any other error.
class ConnectionError : public DbError {
public:
    ConnectionError(const DbError& error, QString server)
        : DbError(error.number(), error.description(), error.source(), error.helpFile(), error.helpContext()),
          m_server(std::move(server)) {}

    const QString& server() const { return m_server; }

private:
    QString m_server;
};

} // namespace db
