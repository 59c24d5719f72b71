#pragma once

#include "db/odbc/OdbcSession.h"

#include <QString>
#include <memory>

namespace db {

// Logins to SQL Server kept between statements and between commands, as a driver's connection
// pool keeps them: each login costs a TCP handshake, a pre-login and a login, and the window
// runs a query or a store for every list and click. A session is kept under its whole ODBC
// connection string, only while it is idle (no transaction, no result being read), only on the
// application's main thread, and at most MostKept of them. Before a kept session serves again
// it is checked with one round trip, unless the running command (OneConnectionAttempt::command)
// used it last (within a minute), or, outside any command, it served less than a second ago: a
// server that was restarted or dropped an idle login is then met by a new login, never by a
// statement sent twice. The pool is emptied when the application ends.
namespace OdbcSessionPool {

constexpr int MostKept = 2;

// Whether sessions are kept on this thread.
bool keepsHere();
// A kept session for key that still answers, or null. When one does not answer, every session
// kept for key is let go.
std::unique_ptr<OdbcSession> take(const QString& key);
// Keeps session for the next use of key; a session that is lost or in a transaction, or given
// on another thread, is let go (closed).
void give(const QString& key, std::unique_ptr<OdbcSession> session);

} // namespace OdbcSessionPool

} // namespace db
