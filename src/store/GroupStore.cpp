#include "store/GroupStore.h"

#include "db/RecordSet.h"
#include "db/SharedConnection.h"
#include "db/Transaction.h"
#include "store/GroupGrants.h"
#include "store/StoreSupport.h"

#include <QDateTime>
#include <QHash>

namespace store {

using namespace support;

namespace {

// The opID and Id of an operation item "opID#$#Id".
std::pair<int, int> operationIds(const QString& item) {
    const OperationFields fields = operationFields(item);
    return {fields.opID.toInt(), fields.id.toInt()};
}

// Whether the operations written are exactly the shown grants the database holds: the save then
// changes none of the author's operation grants.
bool sameOperations(const QStringList& operations, const GroupGrants& now) {
    QSet<std::pair<int, int>> written;
    for (const QString& item : operations)
        written.insert(operationIds(item));
    const QList<std::pair<int, int>> shown = now.shownOperations();
    return written == QSet<std::pair<int, int>>(shown.cbegin(), shown.cend());
}

// The author's listing for the group (unless the save leaves it as it is) and its operation
// grants. The author stays listed for the group while it keeps grants the window did not show.
void addOperations(QStringList& batch, const QString& id, const QString& author, const QStringList& operations,
                   const GroupGrants& now, bool listingKept) {
    const bool keepsGrants = now.keepsOperations();
    if (operations.isEmpty() && !keepsGrants)
        return;
    if (!listingKept)
        batch << QStringLiteral(" Insert Into admGrupAutor (auID,grID,IdOperator,DataAct)") +
                     QStringLiteral(" Values (") + author + QLatin1Char(',') + id + QLatin1Char(',') +
                     number(OperatorId) + QStringLiteral(",'") + todayLiteral() + QStringLiteral("')");
    for (const QString& item : operations) {
        const OperationFields operation = operationFields(item);
        // A grant the save keeps is there already: checked again, it is not written twice.
        const auto kept = now.operationShown.constFind({operation.opID.toInt(), operation.id.toInt()});
        if (kept != now.operationShown.cend() && !kept.value())
            continue;
        batch << QStringLiteral(" Insert Into admGrupOperatii (auID,grID,opID,ID,IdOperator,DataAct)") +
                     QStringLiteral(" Values (") + author + QLatin1Char(',') + id + QLatin1Char(',') + operation.opID +
                     QLatin1Char(',') + operation.id + QLatin1Char(',') + number(OperatorId) + QStringLiteral(",'") +
                     todayLiteral() + QStringLiteral("')");
    }
}

// A work point already granted stays as it is (rewriting it would write the same values), one
// that is not is added; never twice. One statement each, so that they all go in one batch.
void addWorkPoints(QStringList& batch, const QString& id, const QStringList& workPoints) {
    for (const QString& item : workPoints) {
        const QString point = bareId(item);
        batch << QStringLiteral(" Insert Into admGrupPuncteLucru (grID,IdPctLucru) Select ") + id + QLatin1Char(',') +
                     point + QStringLiteral(" Where Not Exists (Select * From admGrupPuncteLucru Where grID = ") + id +
                     QStringLiteral(" And IdPctLucru = ") + point + QLatin1Char(')');
    }
}

// The given grants whose author, operation or work point someone else deleted since the window
// listed them, read under lock so that none of the others goes before the commit. A grant of a
// record that is gone would pass to the next one given its id, or, as no list shows it, stay
// where no save takes it away.
GroupGrantsGone grantsGone(db::Connection& connection, int auID, const QStringList& operations,
                           const QStringList& workPoints, const QString& pointsTable) {
    GroupGrantsGone gone;
    gone.author = !lockedRowExists(connection, QStringLiteral("Authors"), QStringLiteral("IdAuthor"), auID);
    if (gone.author)
        return gone;
    const QString author = number(auID);
    QList<std::pair<int, int>> pairs;
    QList<int> opIDs; // each once, in the order given
    QSet<int> seen;
    for (const QString& item : operations) {
        pairs.append(operationIds(item));
        const int opID = pairs.last().first;
        if (!seen.contains(opID)) {
            seen.insert(opID);
            opIDs << opID;
        }
    }
    // Read by opID alone, a few statements for a large tree.
    QSet<std::pair<int, int>> listed;
    for (const QString& list : idLists(opIDs))
        for (const QList<QVariant>& row :
             connection
                 .query(
                     QStringLiteral("Select opID, Id From admOperatiiModul WITH (UPDLOCK, HOLDLOCK) Where opID In (") +
                     list + QStringLiteral(")"))
                 .rows)
            listed.insert({row.value(0).toInt(), row.value(1).toInt()});
    for (qsizetype i = 0; i < operations.size(); ++i)
        if (!listed.contains(pairs.at(i)))
            gone.operations << operations.at(i);
    QList<int> points;
    for (const QString& item : workPoints)
        points << bareId(item).toInt();
    const QSet<int> listedPoints = idsFound(connection,
                                            QStringLiteral("Select IdPctLucru From ") + pointsTable +
                                                QStringLiteral(" WITH (UPDLOCK, HOLDLOCK) Where IdAuthor = ") + author +
                                                QStringLiteral(" And IdPctLucru In ("),
                                            points);
    for (const int point : std::as_const(points))
        if (!listedPoints.contains(point))
            gone.workPoints << point;
    return gone;
}

// The items of all that are not among gone.
QStringList without(const QStringList& all, const QStringList& gone) {
    if (gone.isEmpty())
        return all;
    const QSet<QString> left(gone.cbegin(), gone.cend());
    QStringList kept;
    for (const QString& item : all)
        if (!left.contains(item))
            kept << item;
    return kept;
}

} // namespace

bool StoreGroup(int& grID, const QString& grCod, const QString& grDenumire, const QString& grobs, int auID,
                const QStringList& operations, const QStringList& workPoints, const GroupSaveContext& context) {
    const std::shared_ptr<db::Connection> shared = db::ReplaceSharedConnection();
    db::Connection& connection = *shared;
    db::Transaction transaction(connection);
    const bool isNew = grID == 0;
    const bool compares = !isNew && context.version && context.version->grID == grID && !context.overwrite;
    int newId = 0;
    if (isNew)
        newId = nextKey(shared, QStringLiteral("Select max(grID) From AdmGrup WITH (UPDLOCK, HOLDLOCK)"));

    db::RecordSet group;
    group.open(QStringLiteral("Select * From AdmGrup Where grID = ") + number(grID), shared);
    if (isNew) {
        group.addNew();
        group.setField(QStringLiteral("grID"), newId);
    } else if (group.eof() && context.version) {
        // Written again, the group would come back under the id of one that is gone.
        throw ChangedElsewhere::deletedRecord();
    }
    const QString author = number(auID);
    GroupGrants now;
    if (!isNew) {
        now = readGroupGrants(connection, number(grID), author, context);
        if (compares) {
            const ChangesElsewhere changes =
                changesSince(*context.version, group.field(QStringLiteral("grCod")).toString(),
                             group.field(QStringLiteral("grDenumire")).toString(),
                             group.field(QStringLiteral("grobs")).toString(), auID, now);
            if (changes.any())
                throw ChangedElsewhere(changes);
        }
    }
    group.setField(QStringLiteral("grCod"), textValue(grCod));
    group.setField(QStringLiteral("grDenumire"), textValue(grDenumire));
    group.setField(QStringLiteral("grobs"), textValue(grobs));
    group.setField(QStringLiteral("IdOperator"), OperatorId);
    group.setField(QStringLiteral("DataAct"), QDateTime::currentDateTime());
    group.update();
    const QString id = number(group.field(QStringLiteral("grID")).toInt());
    group.close();

    // The author's work points are those of ordavia, the list the editor shows, when the window
    // says what it listed (a work point listed there but missing from stk is unticked like any
    // other) and without an stk database; otherwise those of stk.
    const bool stk = (isNew || !context.showsWorkPoint) && stkExists(connection);
    const bool fromStk = !context.showsWorkPoint && stk;
    const QString pointsTable =
        fromStk ? QStringLiteral("stk..stk_PuncteLucru") : QStringLiteral("ordavia..PSR_PuncteLucru");
    const QString pointsOfAuthor = pointsTable + QStringLiteral(" (nolock) Where IdAuthor = ") + author;
    // Only a save that writes a row for the author reads what is gone.
    const bool writesAuthor = !operations.isEmpty() || !workPoints.isEmpty() || now.keepsOperations();
    const GroupGrantsGone gone =
        writesAuthor ? grantsGone(connection, auID, operations, workPoints, pointsTable) : GroupGrantsGone();
    const QStringList granted = gone.author ? QStringList() : without(operations, gone.operations);
    const QSet<int> pointsGone(gone.workPoints.cbegin(), gone.workPoints.cend());
    QStringList ticked;
    for (const QString& item : workPoints)
        if (!gone.author && !pointsGone.contains(bareId(item).toInt()))
            ticked << item;
    // The writes go to the server in as few round trips as it takes, in this order.
    QStringList batch;
    // The id after the highest may be that of a group deleted by a program that left its rights
    // behind (deleting a group used to keep its work points): they are not the new group's.
    if (isNew) {
        for (const char* table : {"admGrupAutor", "admGrupOperatii", "admGrupPuncteLucru", "admUserGrup"})
            batch << QStringLiteral("Delete From %1 Where grID = ").arg(QLatin1String(table)) + id;
        if (stk)
            batch << QStringLiteral("Delete From stk..stk_cfgOperDrepturi Where grID = ") + id;
    }
    // A save that changes none of the author's operation grants (a name, a work point) leaves the
    // author's listing as the database holds it: a listing without operations is not taken away,
    // and grants the group holds without a listing do not get one.
    const bool listingKept = !isNew && !gone.author && sameOperations(granted, now);
    if (!listingKept)
        batch << QStringLiteral("Delete From admGrupAutor Where grID = ") + id + QStringLiteral(" And auID = ") +
                     author;
    // The author's work point grants are cleared here and the ticked ones written again below;
    // only those the window listed, when it says what it listed.
    const QString deletePoints = QStringLiteral("Delete From admGrupPuncteLucru Where grID = ") + id +
                                 QStringLiteral(" And IdPctLucru in (Select IdPctLucru From ") + pointsOfAuthor +
                                 QStringLiteral(")");
    if (!context.showsWorkPoint)
        batch << deletePoints;
    else
        for (const QString& list : idLists(now.shownWorkPoints(context)))
            batch << deletePoints + QStringLiteral(" And IdPctLucru In (") + list + QStringLiteral(")");
    const QString deleteOperations =
        QStringLiteral("Delete From admGrupOperatii Where grID = ") + id + QStringLiteral(" And auID = ") + author;
    const bool keepsOperations = now.keepsOperations();
    if (!keepsOperations)
        batch << deleteOperations;
    else
        for (const QString& condition : operationConditions(now.shownOperations()))
            batch << deleteOperations + QStringLiteral(" And (") + condition + QStringLiteral(")");
    // An author that is gone gets no row at all, not even the listing of the grants kept.
    if (!gone.author)
        addOperations(batch, id, author, granted, now, listingKept);
    addWorkPoints(batch, id, ticked);
    connection.executeBatch(batch);
    transaction.commit();
    // The id goes back to the caller only once it is stored.
    grID = id.toInt();
    if (context.gone)
        *context.gone = gone;
    if (context.version)
        recordSaved(*context.version, grID, grCod, grDenumire, grobs, auID, granted, ticked, now);
    return true;
}

bool DropGroup(int grID, const GroupVersion* loaded, bool overwrite) {
    db::Connection& connection = *db::ReplaceSharedConnection();
    const QString id = number(grID);
    db::Transaction transaction(connection);
    if (loaded && loaded->grID == grID) {
        const db::ResultRows row =
            connection.query(QStringLiteral("Select grCod, grDenumire, grobs From AdmGrup WITH (UPDLOCK, HOLDLOCK) "
                                            "Where grID = ") +
                             id);
        ChangesElsewhere changes;
        if (row.rows.isEmpty())
            changes.deleted = true;
        else if (!overwrite) {
            // The grants of the company the editor showed are compared too: one given elsewhere
            // since would go with the group unasked.
            const GroupGrants now =
                loaded->auID != 0 ? readGroupGrants(connection, id, number(loaded->auID), {}) : GroupGrants();
            const QList<QVariant>& values = row.rows.first();
            changes = changesSince(*loaded, values.value(0).toString(), values.value(1).toString(),
                                   values.value(2).toString(), loaded->auID, now);
        }
        if (changes.any())
            throw ChangedElsewhere(changes);
    }
    // The stk settings exist only where the stk database does.
    const bool stk = stkExists(connection);
    QStringList batch{QStringLiteral("Delete From admGrup Where grID = ") + id,
                      QStringLiteral("Delete From admGrupAutor Where grID = ") + id,
                      QStringLiteral("Delete From admGrupOperatii Where grID = ") + id,
                      QStringLiteral("Delete From admUserGrup Where grID = ") + id,
                      QStringLiteral("Delete From admGrupPuncteLucru Where grID = ") + id};
    if (stk)
        batch << QStringLiteral("Delete From stk..stk_cfgOperDrepturi Where grID = ") + id;
    connection.executeBatch(batch);
    transaction.commit();
    return true;
}

} // namespace store
