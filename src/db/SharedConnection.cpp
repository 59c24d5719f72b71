#include "db/SharedConnection.h"

#include "db/DbError.h"
#include "db/OneConnectionAttempt.h"

namespace db {

namespace {

ConnectionOpener& opener() {
    static ConnectionOpener o;
    return o;
}

} // namespace

std::shared_ptr<Connection>& SharedConnection() {
    static std::shared_ptr<Connection> shared;
    return shared;
}

void setConnectionOpener(ConnectionOpener o) {
    opener() = std::move(o);
}

std::shared_ptr<Connection> OpenConnection() {
    if (!opener())
        throw DbError(DbError::GeneralError, QStringLiteral("No connection opener is installed."),
                      QStringLiteral("Talvane data layer"));
    if (const auto& failed = OneConnectionAttempt::failure())
        throw *failed;
    std::shared_ptr<Connection> connection;
    try {
        connection = opener()();
    } catch (const ConnectionError& e) {
        OneConnectionAttempt::remember(e);
        throw;
    }
    if (!connection)
        throw DbError(DbError::GeneralError, QStringLiteral("The connection opener gave no connection."),
                      QStringLiteral("Talvane data layer"));
    return connection;
}

std::shared_ptr<Connection> ReplaceSharedConnection() {
    SharedConnection() = OpenConnection();
    return SharedConnection();
}

} // namespace db
