#pragma once

#include "db/Connection.h"
#include "store/GroupStore.h"
#include "store/RecordVersions.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <utility>

// A group's grants for one author as the database holds them inside the saving transaction, read
// under locks that keep them so until the commit: what the save replaces, what it keeps, and
// what someone else changed since the editor loaded them.
namespace store::support {

struct GroupGrants {
    // Every operation granted for the author, (opID, Id), and whether the window showed it.
    QHash<std::pair<int, int>, bool> operationShown;
    // The granted operations that belong to a module, as the editor reads its grants.
    QSet<std::pair<int, int>> moduleOperations;
    // Every work point granted to the group, whatever its author.
    QSet<int> workPoints;

    // The shown operation grants, which the save replaces, and whether any other stays.
    QList<std::pair<int, int>> shownOperations() const;
    bool keepsOperations() const;
    // The granted work points the window listed, which the save replaces.
    QList<int> shownWorkPoints(const GroupSaveContext& context) const;
};

GroupGrants readGroupGrants(db::Connection& connection, const QString& id, const QString& author,
                            const GroupSaveContext& context);

// What someone else changed in the group's row (the values the save is about to overwrite, Null
// read as empty text) and in the grants, compared with what the editor loaded.
ChangesElsewhere changesSince(const GroupVersion& loaded, const QString& grCod, const QString& grDenumire,
                              const QString& grobs, int auID, const GroupGrants& now);

// The group as the save leaves it: its fields, the operations checked plus the grants of modules
// the window did not show, and the work points ticked (the listed ones stay as the editor set
// them).
void recordSaved(GroupVersion& version, int grID, const QString& grCod, const QString& grDenumire, const QString& grobs,
                 int auID, const QStringList& operations, const QStringList& workPoints, const GroupGrants& before);

// The shown operation grants as conditions on (opID, ID), a bounded number per statement.
QStringList operationConditions(const QList<std::pair<int, int>>& operations);

} // namespace store::support
