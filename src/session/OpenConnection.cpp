#include "session/OpenConnection.h"

#include "db/ConnectionString.h"
#include "db/SharedConnection.h"
#include "session/LoginComponent.h"

QString BuildConnectionString(const LoginComponent& login) {
    using db::ConnectionString;
    if (login.AuthenticationMode() == 1) {
        const QString user = login.UserName();
        const QString server = login.ServerName();
        const QString database = login.DatabaseName();
        return QStringLiteral("provider=SQLOLEDB;UID=") + ConnectionString::quote(user) + QStringLiteral(";SERVER=") +
               ConnectionString::quote(server) + QStringLiteral(";APP=;WSID=;DATABASE=") +
               ConnectionString::quote(database) + QStringLiteral(";Trusted_Connection=yes;pwd=");
    }
    const QString user = login.UserName();
    const QString password = login.Password();
    const QString database = login.DatabaseName();
    const QString server = login.ServerName();
    return QStringLiteral("DRIVER=SQL Server;UID=") + ConnectionString::quote(user) + QStringLiteral(";pwd=") +
           ConnectionString::quote(password) + QStringLiteral(";DATABASE=") + ConnectionString::quote(database) +
           QStringLiteral(";Server=") + ConnectionString::quote(server);
}

void InstallConnectionSource(const LoginComponent& login, int loginTimeoutSeconds) {
    const LoginComponent* source = &login;
    db::setConnectionOpener([source, loginTimeoutSeconds] {
        return db::Connection::open(BuildConnectionString(*source), loginTimeoutSeconds);
    });
}
