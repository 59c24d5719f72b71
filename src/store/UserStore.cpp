#include "store/UserStore.h"

#include "db/PassOver.h"
#include "db/RecordSet.h"
#include "db/SharedConnection.h"
#include "db/Transaction.h"
#include "store/Base64Encode.h"
#include "store/StoreSupport.h"

#include <QDateTime>

namespace store {

using namespace support;

namespace {

// Creates the login or changes its password, and makes it a member of sysadmin. The server
// refuses these procedures inside a user transaction, so they run before it, each on its own:
// adding an existing login fails and the ALTER then sets the password.
void storeLogin(db::Connection& connection, const QString& usCod, const QString& password) {
    const QString name = quoted(usCod);
    passOver([&] {
        connection.execute(QStringLiteral(" EXEC sp_addlogin '") + name + QStringLiteral("', '") + password +
                           QStringLiteral("'"));
    });
    passOver([&] {
        connection.execute(QStringLiteral("  IF EXISTS (SELECT * FROM sys.server_principals WHERE name = N'") + name +
                           QStringLiteral("')") + QStringLiteral("        ALTER LOGIN [") + bracketed(usCod) +
                           QStringLiteral("] WITH PASSWORD = N'") + password + QStringLiteral("'"));
    });
    passOver([&] {
        connection.execute(QStringLiteral(" EXEC sp_addsrvrolemember '") + name + QStringLiteral("', 'sysadmin'"));
    });
}

} // namespace

bool StoreUser(int& usID, int IdPers, const QString& usCod, const QString& usDenumire, const QString& usDomeniu,
               const QString& usAlias, const QStringList& groups, const QString& password) {
    // The login's password is the Base64 text of the typed password's ANSI bytes.
    const QString encoded = Base64Encode(AnsiBytes(password));
    const std::shared_ptr<db::Connection> shared = db::ReplaceSharedConnection();
    db::Connection& connection = *shared;
    if (!encoded.isEmpty())
        storeLogin(connection, usCod, encoded);

    db::Transaction transaction(connection);
    int newId = 0;
    if (usID == 0)
        newId = nextKey(shared, QStringLiteral("Select max(usID) From AdmUser WITH (UPDLOCK, HOLDLOCK)"));

    db::RecordSet user;
    user.open(QStringLiteral("Select * From AdmUser Where usID = ") + number(usID), shared);
    if (usID == 0) {
        user.addNew();
        user.setField(QStringLiteral("usID"), newId);
    }
    user.setField(QStringLiteral("usCod"), textValue(usCod));
    user.setField(QStringLiteral("usDenumire"), textValue(usDenumire));
    user.setField(QStringLiteral("usDomeniu"), textValue(usDomeniu));
    user.setField(QStringLiteral("usAlias"), textValue(usAlias));
    user.setField(QStringLiteral("IdOperator"), OperatorId);
    user.setField(QStringLiteral("DataAct"), QDateTime::currentDateTime());
    user.update();
    const QString id = number(user.field(QStringLiteral("usID")).toInt());
    user.close();

    // At most one person points at a user: every other person is untied first.
    connection.execute(QStringLiteral("Update PSR_Pers Set usID = 0 Where usID = ") + id);
    connection.execute(QStringLiteral("Update PSR_Pers Set usID = ") + id + QStringLiteral(" Where IdPers = ") +
                       number(IdPers));
    connection.execute(QStringLiteral(" Delete From admUserGrup Where usID = ") + id);
    for (const QString& group : groups) {
        connection.execute(QStringLiteral(" Insert Into admUserGrup (usID,grID,IdOperator,DataAct)") +
                           QStringLiteral(" Values (") + id + QLatin1Char(',') + bareId(group) + QLatin1Char(',') +
                           number(OperatorId) + QStringLiteral(",'") + todayLiteral() + QStringLiteral("')"));
    }
    transaction.commit();
    // The id goes back to the caller only once it is stored.
    usID = id.toInt();
    return true;
}

bool DropUser(int usID, const QString& login) {
    db::Connection& connection = *db::ReplaceSharedConnection();
    const QString id = number(usID);
    {
        db::Transaction transaction(connection);
        connection.execute(QStringLiteral(" Delete From admUser Where usID = ") + id);
        connection.execute(QStringLiteral(" Delete From admUserGrup Where usID = ") + id);
        // Nothing may keep pointing at the deleted user: its person and its brand roles go with it.
        connection.execute(QStringLiteral("Update PSR_Pers Set usID = 0 Where usID = ") + id);
        connection.execute(QStringLiteral(" Delete From CRM_User Where UserId = ") + id);
        transaction.commit();
    }
    // After the commit, outside any transaction; a login that does not exist is no error here.
    const QString name = quoted(login);
    passOver([&] { connection.execute(QStringLiteral(" EXEC sp_droplogin '") + name + QStringLiteral("'")); });
    passOver([&] { connection.execute(QStringLiteral(" EXEC sp_dropuser '") + name + QStringLiteral("'")); });
    return true;
}

} // namespace store
