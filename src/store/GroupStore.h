#pragma once

#include <QString>
#include <QStringList>

namespace store {

// The four operations answer a Boolean because Save and Delete test it: they either answer true
// or raise, never false.

// Writes a group (grID 0: a new one, whose id is returned in grID) and, for the author auID,
// its operations (items "opID#$#Id[#$#...]") and work points (ids). Returns true once
// committed; raises the error that happened otherwise, with nothing stored.
bool StoreGroup(int& grID, const QString& grCod, const QString& grDenumire, const QString& grobs, int auID,
                const QStringList& operations, const QStringList& workPoints);

// Deletes a group with all its grants and memberships. Returns true once committed.
bool DropGroup(int grID);

} // namespace store
