#pragma once

#include <QStringList>

namespace db {

class EmbeddedEngine;
struct LoginStatement;

// The embedded server's catalogue, the tables of its master.db:
//   sysDatabases(name)                       the databases of the server directory, kept in
//                                            step with the directory on every connection;
//   server_principals(name, password_b64,    the logins; password_b64 holds the password as
//     type, create_date, modify_date)        the login statement gave it (the tool passes the
//                                            Base64 text of the password's ANSI bytes);
//   server_role_members(role, member)        server role memberships ("sysadmin", ...).
// Names compare without regard to case. The login statements are carried out on these tables
// with SQL Server's failure rules and error numbers.
class ServerCatalogue {
public:
    // Creates the missing catalogue tables and brings sysDatabases in step with databases.
    static void prepare(EmbeddedEngine& engine, const QStringList& databases);

    // Carries out a login statement; raises DbError as SQL Server fails the same statement
    // (an existing login added, a missing one dropped or altered, a procedure inside a
    // transaction, ...).
    static void carryOut(EmbeddedEngine& engine, const LoginStatement& statement);
};

} // namespace db
