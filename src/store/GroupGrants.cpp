#include "store/GroupGrants.h"

#include "store/StoreSupport.h"

namespace store::support {

QList<std::pair<int, int>> GroupGrants::shownOperations() const {
    QList<std::pair<int, int>> shown;
    for (auto it = operationShown.cbegin(); it != operationShown.cend(); ++it)
        if (it.value())
            shown << it.key();
    return shown;
}

bool GroupGrants::keepsOperations() const {
    for (const bool shown : operationShown)
        if (!shown)
            return true;
    return false;
}

QList<int> GroupGrants::shownWorkPoints(const GroupSaveContext& context) const {
    QList<int> shown;
    for (const int point : workPoints)
        if (!context.showsWorkPoint || context.showsWorkPoint(point))
            shown << point;
    return shown;
}

GroupGrants readGroupGrants(db::Connection& connection, const QString& id, const QString& author,
                            const GroupSaveContext& context) {
    GroupGrants grants;
    // One read for both kinds of grant, one round trip: the author's operations (kind 1, with
    // their module where they have one) and every work point of the group (kind 2).
    const db::ResultRows rows = connection.query(
        QStringLiteral("Select 1, a0.opID, a0.ID, a1.mdID From admGrupOperatii a0 WITH (UPDLOCK, HOLDLOCK) Left Join "
                       "admOperatiiModul a1 (nolock) On a0.opID = a1.opID And a0.ID = a1.Id Where a0.grID = ") +
        id + QStringLiteral(" And a0.auID = ") + author +
        QStringLiteral(" Union All Select 2, IdPctLucru, 0, 0 From admGrupPuncteLucru WITH (UPDLOCK, HOLDLOCK) "
                       "Where grID = ") +
        id);
    for (const QList<QVariant>& row : rows.rows) {
        if (row.value(0).toInt() == 2) {
            grants.workPoints.insert(row.value(1).toInt());
            continue;
        }
        const std::pair<int, int> operation{row.value(1).toInt(), row.value(2).toInt()};
        const bool inModule = !row.value(3).isNull();
        if (inModule)
            grants.moduleOperations.insert(operation);
        // An operation listed in two modules counts as shown when either shows it.
        const bool shown =
            !context.showsOperation ||
            (inModule && context.showsOperation(operation.first, row.value(3).toInt(), operation.second));
        grants.operationShown[operation] |= shown;
    }
    return grants;
}

ChangesElsewhere changesSince(const GroupVersion& loaded, const QString& grCod, const QString& grDenumire,
                              const QString& grobs, int auID, const GroupGrants& now) {
    ChangesElsewhere changes;
    if (grCod != loaded.grCod)
        changes.fields << QStringLiteral("Name");
    if (grDenumire != loaded.grDenumire)
        changes.fields << QStringLiteral("Full Name");
    if (grobs != loaded.grobs)
        changes.fields << QStringLiteral("Notes");
    if (loaded.auID != auID)
        return changes;
    std::tie(changes.operationsAdded, changes.operationsRemoved) =
        setDifference(loaded.operations, now.moduleOperations);
    std::tie(changes.workPointsAdded, changes.workPointsRemoved) =
        setDifference(loaded.workPoints, now.workPoints & loaded.listedWorkPoints);
    return changes;
}

void recordSaved(GroupVersion& version, int grID, const QString& grCod, const QString& grDenumire, const QString& grobs,
                 int auID, const QStringList& operations, const QStringList& workPoints, const GroupGrants& before) {
    version.grID = grID;
    version.grCod = grCod;
    version.grDenumire = grDenumire;
    version.grobs = grobs;
    version.auID = auID;
    version.operations.clear();
    for (const QString& item : operations) {
        const OperationFields fields = operationFields(item);
        version.operations.insert({fields.opID.toInt(), fields.id.toInt()});
    }
    for (const std::pair<int, int>& kept : before.moduleOperations)
        if (!before.operationShown.value(kept))
            version.operations.insert(kept);
    version.workPoints.clear();
    for (const QString& point : workPoints)
        version.workPoints.insert(bareId(point).toInt());
}

QStringList operationConditions(const QList<std::pair<int, int>>& operations) {
    constexpr int Chunk = 100;
    QStringList conditions;
    for (qsizetype start = 0; start < operations.size(); start += Chunk) {
        QStringList pairs;
        for (const auto& [opID, Id] : operations.mid(start, Chunk))
            pairs << QStringLiteral("(opID = %1 And ID = %2)").arg(opID).arg(Id);
        conditions << pairs.join(QStringLiteral(" Or "));
    }
    return conditions;
}

} // namespace store::support
