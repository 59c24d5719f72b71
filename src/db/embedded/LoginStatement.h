#pragma once

#include <QString>
#include <optional>

namespace db {

// A server login statement of the tool, recognised from its text:
//   EXEC sp_addlogin 'name' [, 'password']
//   [IF EXISTS (SELECT * FROM sys.server_principals WHERE name = N'name')] ALTER LOGIN [name] WITH PASSWORD = N'pwd'
//   ALTER LOGIN [name] WITH NAME = [newName]
//   EXEC sp_addsrvrolemember 'name', 'role'
//   EXEC sp_droplogin 'name'
//   EXEC sp_dropuser 'name'
// Names and passwords come back with their quotes removed and doubled quotes undone.
struct LoginStatement {
    enum Kind { AddLogin, AlterLoginPassword, RenameLogin, AddServerRoleMember, DropLogin, DropUser };
    Kind kind;
    QString procedure; // as written, for messages ("sp_addlogin", "ALTER LOGIN")
    QString name;
    QString password; // AddLogin, AlterLoginPassword
    QString role;     // AddServerRoleMember
    QString newName;  // RenameLogin
    // AlterLoginPassword under "IF EXISTS": the login looked for; the statement does nothing when
    // it is missing.
    std::optional<QString> onlyIfExists;

    // The statement a text holds, or nullopt when it is no login statement. A text that calls
    // a procedure (EXEC) or alters a login in a form the embedded server does not know raises
    // a DbError instead.
    static std::optional<LoginStatement> parse(const QString& sql);
};

} // namespace db
