#pragma once

#include <QString>

class LoginComponent;

// The connection string of the suite's database, built from the login component's values:
// with AuthenticationMode 1 the trusted form
//   "provider=SQLOLEDB;UID=<user>;SERVER=<server>;APP=;WSID=;DATABASE=<db>;Trusted_Connection=yes;pwd="
// else the form with user name and password
//   "DRIVER=SQL Server;UID=<user>;pwd=<password>;DATABASE=<db>;Server=<server>".
// A value holding ";", "{" or "}" is put in braces, so it cannot split the string.
QString BuildConnectionString(const LoginComponent& login);

// Makes every OpenConnection() of the process build its string from login (read anew on
// every call, never cached). A server that does not answer fails after loginTimeoutSeconds.
void InstallConnectionSource(const LoginComponent& login, int loginTimeoutSeconds = 5);
