#pragma once

#include "store/RecordVersions.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace store {

// The four operations answer a Boolean because Save and Delete test it: they either answer true
// or raise, never false.

// What a committed save left out because someone else deleted it since the window listed it.
struct GroupGrantsGone {
    // The author: then none of its grants was written.
    bool author = false;
    // The operation items and the work point ids given that were not written.
    QStringList operations;
    QList<int> workPoints;

    bool any() const { return author || !operations.isEmpty() || !workPoints.isEmpty(); }
};

// What the window showed of a group's rights for the author being saved: only those grants are
// replaced, every other one stays exactly as it is in the database.
struct GroupSaveContext {
    // Whether the window showed operation (opID, Id) of module mdID with a check box the
    // administrator could change (mdID is 0 for a grant whose operation is in no module). Null:
    // every operation was shown.
    std::function<bool(int opID, int mdID, int Id)> showsOperation;
    // Whether the window listed work point IdPctLucru. Null: every work point was listed.
    std::function<bool(int IdPctLucru)> showsWorkPoint;
    // What the editor loaded. When given for the group being saved, a group deleted elsewhere, or
    // whose row or grants for the author differ from it, raises ChangedElsewhere before anything
    // is written, unless overwrite. Once the save is committed it holds the group as saved.
    GroupVersion* version = nullptr;
    bool overwrite = false;
    // Receives what the committed save left out (see GroupGrantsGone). May be null.
    GroupGrantsGone* gone = nullptr;
};

// Writes a group (grID 0: a new one, whose id is returned in grID) and, for the author auID,
// its operations (items "opID#$#Id[#$#...]") and work points (ids): the shown grants of the
// author are replaced by these, the others kept (see GroupSaveContext). A save that changes none
// of the author's operation grants leaves the author's listing for the group (admGrupAutor), or
// its absence, as the database holds it. No grant is written of an author, operation or work
// point that is no longer listed. A new group takes none of the
// rows left under its id. Returns true once committed; raises the error that happened otherwise,
// with nothing stored.
bool StoreGroup(int& grID, const QString& grCod, const QString& grDenumire, const QString& grobs, int auID,
                const QStringList& operations, const QStringList& workPoints, const GroupSaveContext& context = {});

// Deletes a group with all its grants and memberships. Returns true once committed. Given what
// the editor loaded, a group whose row or grants for the loaded author changed elsewhere since
// raises ChangedElsewhere before anything is deleted (unless overwrite), and one deleted
// elsewhere raises it with deleted set.
bool DropGroup(int grID, const GroupVersion* loaded = nullptr, bool overwrite = false);

} // namespace store
