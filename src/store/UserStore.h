#pragma once

#include <QString>
#include <QStringList>

namespace store {

// The four operations answer a Boolean because Save and Delete test it: they either answer true
// or raise, never false.

// Writes a user (usID 0: a new one, whose id is returned in usID), ties it to the person
// IdPers, rewrites its group memberships and, with a non-empty password, creates or updates
// its server login. Returns true once committed; raises the error that happened otherwise.
bool StoreUser(int& usID, int IdPers, const QString& usCod, const QString& usDenumire, const QString& usDomeniu,
               const QString& usAlias, const QStringList& groups, const QString& password);

// Deletes a user with its memberships, person link and brand roles, then drops its login
// (a missing login is not an error). Returns true; raises a failure of its transaction.
bool DropUser(int usID, const QString& login);

} // namespace store
