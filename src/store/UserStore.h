#pragma once

#include "store/RecordVersions.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace store {

// The four operations answer a Boolean because Save and Delete test it: they either answer true
// or raise, never false.

// What the window showed of a user's rights, and where a save reports what it could not do.
struct UserSaveContext {
    // Whether the window listed group grID, so that the administrator could see and change the
    // membership; memberships of groups it did not list stay as they are. Null: every group was
    // listed.
    std::function<bool(int grID)> showsGroup;
    // Receives, one line each, the login changes that could not be made; the user's row is
    // saved all the same. May be null.
    QStringList* loginWarnings = nullptr;
    // Receives the ids of the groups among those given that someone else deleted since the
    // window listed them: the committed save wrote no membership of them. May be null.
    QList<int>* groupsGone = nullptr;
    // What the editor loaded. When given for the user being saved, a user deleted elsewhere, or
    // whose row, person or memberships differ from it, raises ChangedElsewhere before anything is
    // written (the login included), unless overwrite. Once the save is committed it holds the
    // user as saved. Given for another user (one the editor found gone), a user that is gone
    // raises ChangedElsewhere as deleted.
    UserVersion* version = nullptr;
    bool overwrite = false;
};

// The raised error's number when a user code is another user's already.
constexpr int UserCodeTaken = 5003;
// The raised error's number when the person chosen for a user is no longer in the suite.
constexpr int PersonGone = 5005;

// The code of a user other than usID whose code equals usCod as the server compares login names
// (without regard to case, trailing blanks ignored); a null text when there is none.
QString OtherUserWithCode(int usID, const QString& usCod);

// Writes a user (usID 0: a new one, whose id is returned in usID, and which takes none of the
// brand roles left under that id), ties it to the person IdPers (untying every other person; a
// user saved with the person of context.version, who still points at it, keeps its person links
// as they are), replaces its memberships of the listed groups (a group deleted meanwhile gets no
// member) and, with a non-empty password, creates or updates its server login. Renaming a user
// that has a login renames the login with it. A code that another user has already (see
// OtherUserWithCode) raises UserCodeTaken, and a person IdPers no longer in the suite raises
// PersonGone, before any row is written. When the rows cannot be written, a login this save
// created is dropped again and a renamed one gets its old name back before the error is raised;
// an existing login's password changes only once the rows are committed. Returns true once
// committed.
bool StoreUser(int& usID, int IdPers, const QString& usCod, const QString& usDenumire, const QString& usDomeniu,
               const QString& usAlias, const QStringList& groups, const QString& password,
               const UserSaveContext& context = {});

// Deletes a user with its memberships, person link and brand roles, then drops its login
// (a missing login is not an error) unless another user has the same code and so the same
// login. Returns true; raises a failure of its transaction. Given what the editor loaded, a user
// changed elsewhere since raises ChangedElsewhere before anything is deleted (unless overwrite),
// and one deleted elsewhere raises it with deleted set. A login that is there but could not be
// dropped leaves the deletion as it is and is described in loginLeft, when given.
bool DropUser(int usID, const QString& login, const UserVersion* loaded = nullptr, bool overwrite = false,
              QString* loginLeft = nullptr);

} // namespace store
