#pragma once

#include "db/Connection.h"

#include <functional>
#include <memory>

namespace db {

// The process-wide connection that every query and store replaces with a fresh one before
// it runs; code without a query of its own uses whatever it holds.
std::shared_ptr<Connection>& SharedConnection();

// Where fresh connections come from. Start-up installs an opener that builds the connection
// string from the login component; tests install their own.
using ConnectionOpener = std::function<std::shared_ptr<Connection>()>;
void setConnectionOpener(ConnectionOpener opener);

// A new, open connection from the installed opener; raises DbError when none is installed, or
// ConnectionError when opening fails. While a OneConnectionAttempt guard lives, a failed open is
// not tried again: its error is raised at once.
std::shared_ptr<Connection> OpenConnection();

// OpenConnection() stored into SharedConnection() and returned, so that an operation takes its
// connection once and passes it on; on failure SharedConnection() keeps what it held and the
// error is raised unchanged.
std::shared_ptr<Connection> ReplaceSharedConnection();

} // namespace db
