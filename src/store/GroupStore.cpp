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

// The author's listing for the group and its operation grants. The author stays listed for the
// group while it keeps grants the window did not show.
void addOperations(QStringList& batch, const QString& id, const QString& author, const QStringList& operations,
                   const GroupGrants& now) {
    const bool keepsGrants = now.keepsOperations();
    if (operations.isEmpty() && !keepsGrants)
        return;
    batch << QStringLiteral(" Insert Into admGrupAutor (auID,grID,IdOperator,DataAct)") + QStringLiteral(" Values (") +
                 author + QLatin1Char(',') + id + QLatin1Char(',') + number(OperatorId) + QStringLiteral(",'") +
                 todayLiteral() + QStringLiteral("')");
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
    const QString pointsOfAuthor = (fromStk ? QStringLiteral("stk..stk_PuncteLucru (nolock) Where IdAuthor = ")
                                            : QStringLiteral("ordavia..PSR_PuncteLucru (nolock) Where IdAuthor = ")) +
                                   author;
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
    batch << QStringLiteral("Delete From admGrupAutor Where grID = ") + id + QStringLiteral(" And auID = ") + author;
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
    addOperations(batch, id, author, operations, now);
    addWorkPoints(batch, id, workPoints);
    connection.executeBatch(batch);
    transaction.commit();
    // The id goes back to the caller only once it is stored.
    grID = id.toInt();
    if (context.version)
        recordSaved(*context.version, grID, grCod, grDenumire, grobs, auID, operations, workPoints, now);
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
            const QList<QVariant>& values = row.rows.first();
            changes = changesSince(*loaded, values.value(0).toString(), values.value(1).toString(),
                                   values.value(2).toString(), -1, {});
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
