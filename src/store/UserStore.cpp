#include "store/UserStore.h"

#include "db/DbError.h"
#include "db/PassOver.h"
#include "db/RecordSet.h"
#include "db/SharedConnection.h"
#include "db/Transaction.h"
#include "store/Base64Encode.h"
#include "store/StoreSupport.h"
#include "store/UserLinks.h"

#include <QDateTime>

namespace store {

using namespace support;

namespace {

// What a save did to the server's logins, so that a save that fails can take it back.
struct LoginChanges {
    QString created;
    QString renamedFrom;
    QString renamedTo;
};

bool loginExists(db::Connection& connection, const QString& name) {
    const db::ResultRows rows = connection.query(
        QStringLiteral("SELECT count(*) FROM sys.server_principals WHERE name = ") + unicodeLiteral(name));
    return rows.rows.value(0).value(0).toInt() > 0;
}

QString otherUserWithCode(db::Connection& connection, int usID, const QString& usCod, const QString& hint) {
    const db::ResultRows rows = connection.query(
        QStringLiteral("Select usCod From AdmUser") + hint + QStringLiteral(" Where usID <> ") + number(usID) +
        QStringLiteral(" And upper(rtrim(usCod)) = upper(rtrim(") + unicodeLiteral(usCod) + QStringLiteral("))"));
    return rows.rows.isEmpty() ? QString() : rows.rows.first().value(0).toString();
}

void refuseTakenCode(db::Connection& connection, int usID, const QString& usCod, const QString& hint) {
    const QString other = otherUserWithCode(connection, usID, usCod, hint);
    if (!other.isNull())
        throw db::DbError(UserCodeTaken,
                          QStringLiteral("The user code '%1' is already the code of user '%2'; a code names one "
                                         "server login, so two users cannot share it.")
                              .arg(usCod, other),
                          db::DbError::ToolSource());
}

// The person chosen for the user, read under lock: deleted elsewhere since the window listed it,
// the link would tie the user to no one while the save reported success.
void refuseGonePerson(db::Connection& connection, int IdPers) {
    if (IdPers != 0 && !lockedRowExists(connection, QStringLiteral("PSR_Pers"), QStringLiteral("IdPers"), IdPers))
        throw db::DbError(PersonGone,
                          QStringLiteral("The person chosen for the user was deleted by someone else since the "
                                         "list of persons was read. Refresh, then choose the person again."),
                          db::DbError::ToolSource());
}

void warn(const UserSaveContext& context, const QString& text) {
    if (context.loginWarnings)
        context.loginWarnings->append(text);
}

// A user that is renamed takes its login along, password and server roles included. The server
// refuses login changes inside a user transaction, so this runs before it.
void renameLogin(db::Connection& connection, int usID, const QString& usCod, LoginChanges& changes) {
    const db::ResultRows old =
        connection.query(QStringLiteral("Select usCod From AdmUser (nolock) Where usID = ") + number(usID));
    const QString oldCode = old.rows.value(0).value(0).toString();
    if (oldCode.isEmpty() || oldCode == usCod || !loginExists(connection, oldCode))
        return;
    connection.execute(QStringLiteral("ALTER LOGIN [") + bracketed(oldCode) + QStringLiteral("] WITH NAME = [") +
                       bracketed(usCod) + QStringLiteral("]"));
    changes.renamedFrom = oldCode;
    changes.renamedTo = usCod;
}

// Creates the login or changes its password (existed: whether the login was there before), and
// makes it a member of sysadmin. The server refuses these procedures inside a user transaction,
// so they run outside it, each on its own: adding an existing login fails and the ALTER then sets
// the password. What could not be done is reported, not raised: the user's row is saved all the
// same.
void storeLogin(db::Connection& connection, const QString& usCod, const QString& password, bool existed,
                LoginChanges& changes, const UserSaveContext& context) {
    const QString name = unicodeLiteral(usCod);
    try {
        connection.execute(QStringLiteral(" EXEC sp_addlogin ") + name + QStringLiteral(", ") +
                           unicodeLiteral(password));
        changes.created = usCod;
    } catch (const db::DbError& e) {
        if (!existed)
            warn(context, QStringLiteral("The login '%1' could not be created: %2").arg(usCod, e.description()));
    }
    try {
        connection.execute(QStringLiteral("  IF EXISTS (SELECT * FROM sys.server_principals WHERE name = ") + name +
                           QStringLiteral(")") + QStringLiteral("        ALTER LOGIN [") + bracketed(usCod) +
                           QStringLiteral("] WITH PASSWORD = ") + unicodeLiteral(password));
    } catch (const db::DbError& e) {
        warn(context,
             QStringLiteral("The password of the login '%1' could not be changed: %2").arg(usCod, e.description()));
    }
    try {
        connection.execute(QStringLiteral(" EXEC sp_addsrvrolemember ") + name + QStringLiteral(", N'sysadmin'"));
    } catch (const db::DbError& e) {
        if (existed || !changes.created.isEmpty())
            warn(context, QStringLiteral("The login '%1' could not be made a member of sysadmin: %2")
                              .arg(usCod, e.description()));
    }
}

// Takes back what the save did to the logins; the save's own error is the one reported.
void undoLoginChanges(db::Connection& connection, const LoginChanges& changes) {
    if (!changes.created.isEmpty())
        passOver([&] { connection.execute(QStringLiteral(" EXEC sp_droplogin ") + unicodeLiteral(changes.created)); });
    if (!changes.renamedFrom.isEmpty())
        passOver([&] {
            connection.execute(QStringLiteral("ALTER LOGIN [") + bracketed(changes.renamedTo) +
                               QStringLiteral("] WITH NAME = [") + bracketed(changes.renamedFrom) +
                               QStringLiteral("]"));
        });
}

// Raises ChangedElsewhere when user id differs from what the editor loaded, or is gone.
void refuseChangedElsewhere(const UserVersion& loaded, const UserFields* fields, const UserLinks& links) {
    ChangesElsewhere changes;
    if (!fields)
        changes.deleted = true;
    else
        changes = changesSince(loaded, *fields, links);
    if (changes.any())
        throw ChangedElsewhere(changes);
}

// Before any login change, which the transaction cannot take back: a user changed elsewhere is
// asked about first. Checked again under locks inside the transaction.
void refuseChangedBeforeLogins(db::Connection& connection, int usID, const UserSaveContext& context) {
    if (!context.version || context.version->usID != usID || usID == 0 || context.overwrite)
        return;
    UserFields fields;
    const bool exists = readUserFields(connection, number(usID), fields);
    refuseChangedElsewhere(*context.version, exists ? &fields : nullptr,
                           readUserLinks(connection, number(usID), QStringLiteral(" (nolock)")));
}

// The groups among groups that exist, in their order, read under lock so that none is deleted
// before the commit. A membership of a group deleted elsewhere since the window listed it would
// pass to the next group given its id.
QStringList existingGroups(db::Connection& connection, const QStringList& groups) {
    QList<int> ids;
    for (const QString& group : groups)
        ids << bareId(group).toInt();
    const QSet<int> found =
        idsFound(connection, QStringLiteral("Select grID From AdmGrup WITH (UPDLOCK, HOLDLOCK) Where grID In ("), ids);
    QStringList existing;
    for (const QString& group : groups)
        if (found.contains(bareId(group).toInt()))
            existing << group;
    return existing;
}

// Replaces the user's memberships of the groups the window listed; the memberships of groups it
// did not list (created elsewhere since, or not read) stay exactly as they are.
void addMemberships(QStringList& batch, const QString& id, const QStringList& groups, const UserLinks& before,
                    const UserSaveContext& context) {
    QList<int> replaced;
    bool keepsSome = false;
    for (const int grID : before.groups) {
        if (!context.showsGroup || context.showsGroup(grID))
            replaced << grID;
        else
            keepsSome = true;
    }
    if (!keepsSome)
        batch << QStringLiteral(" Delete From admUserGrup Where usID = ") + id;
    else
        for (const QString& list : idLists(replaced))
            batch << QStringLiteral(" Delete From admUserGrup Where usID = ") + id + QStringLiteral(" And grID In (") +
                         list + QStringLiteral(")");
    for (const QString& group : groups)
        batch << QStringLiteral(" Insert Into admUserGrup (usID,grID,IdOperator,DataAct)") +
                     QStringLiteral(" Values (") + id + QLatin1Char(',') + bareId(group) + QLatin1Char(',') +
                     number(OperatorId) + QStringLiteral(",'") + todayLiteral() + QStringLiteral("')");
}

// The user's row, person link and memberships, in one transaction; returns the user's id.
int writeUserRows(const std::shared_ptr<db::Connection>& shared, int usID, int IdPers, const UserFields& written,
                  const QStringList& groups, const UserSaveContext& context) {
    db::Connection& connection = *shared;
    db::Transaction transaction(connection);
    // Checked again under the lock: another administrator may have taken the code meanwhile.
    refuseTakenCode(connection, usID, written.usCod, QStringLiteral(" WITH (UPDLOCK, HOLDLOCK)"));
    int newId = 0;
    if (usID == 0)
        newId = nextKey(shared, QStringLiteral("Select max(usID) From AdmUser WITH (UPDLOCK, HOLDLOCK)"));
    refuseGonePerson(connection, IdPers);

    db::RecordSet user;
    user.open(QStringLiteral("Select * From AdmUser Where usID = ") + number(usID), shared);
    // The groups are locked before the memberships, in the order a group's deletion takes them.
    const QStringList memberOf = existingGroups(connection, groups);
    UserLinks before;
    if (usID == 0) {
        user.addNew();
        user.setField(QStringLiteral("usID"), newId);
    } else {
        before = readUserLinks(connection, number(usID), QStringLiteral(" WITH (UPDLOCK, HOLDLOCK)"));
        if (context.version && context.version->usID == usID && (!context.overwrite || user.eof())) {
            UserFields now;
            if (!user.eof())
                now = {user.field(QStringLiteral("usCod")).toString(),
                       user.field(QStringLiteral("usDenumire")).toString(),
                       user.field(QStringLiteral("usDomeniu")).toString(),
                       user.field(QStringLiteral("usAlias")).toString()};
            refuseChangedElsewhere(*context.version, user.eof() ? nullptr : &now, before);
        } else if (user.eof() && context.version) {
            // Shown as gone (the editor compares it with nothing), the user is found gone here
            // rather than failing on a row that is not there.
            throw ChangedElsewhere::deletedRecord();
        }
    }
    user.setField(QStringLiteral("usCod"), textValue(written.usCod));
    user.setField(QStringLiteral("usDenumire"), textValue(written.usDenumire));
    user.setField(QStringLiteral("usDomeniu"), textValue(written.usDomeniu));
    user.setField(QStringLiteral("usAlias"), textValue(written.usAlias));
    user.setField(QStringLiteral("IdOperator"), OperatorId);
    user.setField(QStringLiteral("DataAct"), QDateTime::currentDateTime());
    user.update();
    const QString id = number(user.field(QStringLiteral("usID")).toInt());
    user.close();

    // At most one person points at a user: every other person is untied first, when the person
    // changes. A user saved with the person it was loaded with, who still points at it, keeps its
    // links as they are: a second person pointing at it, which the box could not show, is not
    // untied by a save of something else.
    const bool personKept = usID != 0 && context.version && context.version->usID == usID &&
                            context.version->IdPers == IdPers && before.persons.contains(IdPers);
    QStringList batch;
    if (!personKept)
        batch << QStringLiteral("Update PSR_Pers Set usID = 0 Where usID = ") + id
              << QStringLiteral("Update PSR_Pers Set usID = ") + id + QStringLiteral(" Where IdPers = ") +
                     number(IdPers);
    // The id after the highest may be that of a user deleted by a program that left its brand
    // roles behind (deleting a user used to keep them): they are not the new user's.
    if (usID == 0)
        batch << QStringLiteral(" Delete From CRM_User Where UserId = ") + id;
    addMemberships(batch, id, memberOf, before, context);
    connection.executeBatch(batch);
    transaction.commit();
    if (context.groupsGone) {
        const QSet<QString> kept(memberOf.cbegin(), memberOf.cend());
        for (const QString& group : groups)
            if (!kept.contains(group))
                context.groupsGone->append(bareId(group).toInt());
    }
    if (context.version) {
        // Kept, the links are those read; otherwise the person written is the only one left.
        QSet<int> persons = before.persons;
        if (!personKept)
            persons = IdPers != 0 ? QSet<int>{IdPers} : QSet<int>();
        recordSaved(*context.version, id.toInt(), written, IdPers, persons, memberOf, before, context);
    }
    return id.toInt();
}

} // namespace

QString OtherUserWithCode(int usID, const QString& usCod) {
    return otherUserWithCode(*db::ReplaceSharedConnection(), usID, usCod, QStringLiteral(" (nolock)"));
}

bool StoreUser(int& usID, int IdPers, const QString& usCod, const QString& usDenumire, const QString& usDomeniu,
               const QString& usAlias, const QStringList& groups, const QString& password,
               const UserSaveContext& context) {
    // The login's password is the Base64 text of the typed password's ANSI bytes.
    const QString encoded = Base64Encode(AnsiBytes(password));
    const std::shared_ptr<db::Connection> shared = db::ReplaceSharedConnection();
    db::Connection& connection = *shared;
    // Before any login changes: a taken code would give this user another user's login.
    // A save that keeps the code the editor loaded and sets no password changes no login: then
    // the checks inside the transaction are enough, and the save costs no round trips more. An
    // overwrite may write that code over one given elsewhere, whose login must come back with it.
    const bool sameCode = context.version && context.version->usID == usID && usID != 0 &&
                          context.version->usCod == usCod && !context.overwrite;
    LoginChanges changes;
    bool existingLogin = false;
    if (!sameCode || !encoded.isEmpty()) {
        refuseTakenCode(connection, usID, usCod, QStringLiteral(" (nolock)"));
        refuseChangedBeforeLogins(connection, usID, context);
        if (usID != 0 && !sameCode)
            renameLogin(connection, usID, usCod, changes);
        // A new login is made before the rows and dropped again should they fail. An existing
        // login's password cannot be taken back: it changes once the rows are committed, so that
        // a save that fails leaves the login as it was.
        existingLogin = !encoded.isEmpty() && loginExists(connection, usCod);
        if (!encoded.isEmpty() && !existingLogin)
            storeLogin(connection, usCod, encoded, false, changes, context);
    }

    try {
        // The id goes back to the caller only once it is stored.
        usID = writeUserRows(shared, usID, IdPers, {usCod, usDenumire, usDomeniu, usAlias}, groups, context);
    } catch (...) {
        undoLoginChanges(connection, changes);
        throw;
    }
    if (existingLogin)
        storeLogin(connection, usCod, encoded, true, changes, context);
    return true;
}

bool DropUser(int usID, const QString& login, const UserVersion* loaded, bool overwrite, QString* loginLeft) {
    db::Connection& connection = *db::ReplaceSharedConnection();
    const QString id = number(usID);
    QString current = login;
    {
        db::Transaction transaction(connection);
        if (loaded && loaded->usID == usID) {
            UserFields fields;
            const bool exists = readUserFields(connection, id, fields);
            if (!exists || !overwrite)
                refuseChangedElsewhere(*loaded, exists ? &fields : nullptr,
                                       readUserLinks(connection, id, QStringLiteral(" WITH (UPDLOCK, HOLDLOCK)")));
            // A rename made elsewhere took the login with it: the login that goes is the one of the
            // code the row holds, not of the code the window showed.
            if (exists)
                current = fields.usCod;
        }
        // Nothing may keep pointing at the deleted user: its person and its brand roles go with it.
        connection.executeBatch({QStringLiteral(" Delete From admUser Where usID = ") + id,
                                 QStringLiteral(" Delete From admUserGrup Where usID = ") + id,
                                 QStringLiteral("Update PSR_Pers Set usID = 0 Where usID = ") + id,
                                 QStringLiteral(" Delete From CRM_User Where UserId = ") + id});
        transaction.commit();
    }
    // A login that another user's code names belongs to that user too; when that cannot be told,
    // the login stays.
    bool shared = true;
    passOver([&] { shared = !otherUserWithCode(connection, usID, current, QStringLiteral(" (nolock)")).isNull(); });
    if (shared)
        return true;
    // After the commit, outside any transaction; a login that does not exist is no error here. One
    // that is still there (the server refuses to drop a login that is signed in) is reported: it
    // keeps its server roles.
    const QString name = unicodeLiteral(current);
    try {
        connection.execute(QStringLiteral(" EXEC sp_droplogin ") + name);
    } catch (const db::DbError& e) {
        if (loginLeft)
            passOver([&] {
                if (loginExists(connection, current))
                    *loginLeft = QStringLiteral("The user was deleted, but its server login '%1' could not be "
                                                "dropped: %2")
                                     .arg(current, e.description());
            });
    }
    passOver([&] { connection.execute(QStringLiteral(" EXEC sp_dropuser ") + name); });
    return true;
}

} // namespace store
