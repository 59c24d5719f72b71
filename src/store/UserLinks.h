#pragma once

#include "db/Connection.h"
#include "store/RecordVersions.h"
#include "store/UserStore.h"

#include <QSet>
#include <QString>
#include <QStringList>

// What ties a user to persons and groups as the database holds it, and what someone else changed
// in a user since the editor loaded it.
namespace store::support {

struct UserLinks {
    QSet<int> persons; // the persons that point at the user
    QSet<int> groups;  // the groups the user belongs to
};

// The links of user id; hint is the table hint of both reads (" WITH (UPDLOCK, HOLDLOCK)" inside
// the saving transaction, so that they stay as read until the commit).
UserLinks readUserLinks(db::Connection& connection, const QString& id, const QString& hint);

// The user's row as the database holds it now ("Select usCod, usDenumire, usDomeniu, usAlias"),
// Null read as empty text; false when there is no such row.
struct UserFields {
    QString usCod;
    QString usDenumire;
    QString usDomeniu;
    QString usAlias;
};
bool readUserFields(db::Connection& connection, const QString& id, UserFields& fields);

ChangesElsewhere changesSince(const UserVersion& loaded, const UserFields& now, const UserLinks& links);

// The user as the save leaves it: its fields, the person written and the persons that point at
// the user after the save, the groups ticked plus the memberships of groups the window did not
// list.
void recordSaved(UserVersion& version, int usID, const UserFields& fields, int IdPers, const QSet<int>& persons,
                 const QStringList& groups, const UserLinks& before, const UserSaveContext& context);

} // namespace store::support
