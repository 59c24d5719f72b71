#include "store/GroupStore.h"

#include "db/RecordSet.h"
#include "db/SharedConnection.h"
#include "db/Transaction.h"
#include "store/StoreSupport.h"

#include <QDateTime>
#include <QHash>

namespace store {

using namespace support;

namespace {

// The author's grants that the window showed, which the save replaces, and whether there are
// others, which it keeps.
struct ShownGrants {
    QList<std::pair<int, int>> operations; // (opID, Id)
    QList<int> workPoints;
    bool keepsOperations = false;
    bool keepsWorkPoints = false;
};

void readOperationGrants(db::Connection& connection, const QString& id, const QString& author,
                         const GroupSaveContext& context, ShownGrants& grants) {
    const db::ResultRows rows = connection.query(
        QStringLiteral("Select a0.opID, a0.ID, a1.mdID From admGrupOperatii a0 Left Join admOperatiiModul a1 On "
                       "a0.opID = a1.opID And a0.ID = a1.Id Where a0.grID = ") +
        id + QStringLiteral(" And a0.auID = ") + author);
    // An operation listed in two modules counts as shown when either shows it.
    QHash<std::pair<int, int>, bool> shown;
    for (const QList<QVariant>& row : rows.rows) {
        const std::pair<int, int> operation{row.value(0).toInt(), row.value(1).toInt()};
        shown[operation] |= context.showsOperation(operation.first, row.value(2).toInt(), operation.second);
    }
    for (auto it = shown.cbegin(); it != shown.cend(); ++it) {
        if (it.value())
            grants.operations << it.key();
        else
            grants.keepsOperations = true;
    }
}

void readWorkPointGrants(db::Connection& connection, const QString& id, const QString& pointsOfAuthor,
                         const GroupSaveContext& context, ShownGrants& grants) {
    const db::ResultRows rows = connection.query(
        QStringLiteral("Select IdPctLucru From admGrupPuncteLucru Where grID = ") + id +
        QStringLiteral(" And IdPctLucru in (Select IdPctLucru From ") + pointsOfAuthor + QStringLiteral(")"));
    for (const QList<QVariant>& row : rows.rows) {
        const int point = row.value(0).toInt();
        if (context.showsWorkPoint(point))
            grants.workPoints << point;
        else
            grants.keepsWorkPoints = true;
    }
}

// The shown operation grants as a condition on (opID, ID), a bounded number per statement.
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

void writeOperations(db::Connection& connection, const QString& id, const QString& author,
                     const QStringList& operations, bool keepsGrants) {
    // The author stays listed for the group while it keeps grants the window did not show.
    if (operations.isEmpty() && !keepsGrants)
        return;
    connection.execute(QStringLiteral(" Insert Into admGrupAutor (auID,grID,IdOperator,DataAct)") +
                       QStringLiteral(" Values (") + author + QLatin1Char(',') + id + QLatin1Char(',') +
                       number(OperatorId) + QStringLiteral(",'") + todayLiteral() + QStringLiteral("')"));
    for (const QString& item : operations) {
        const OperationFields operation = operationFields(item);
        connection.execute(QStringLiteral(" Insert Into admGrupOperatii (auID,grID,opID,ID,IdOperator,DataAct)") +
                           QStringLiteral(" Values (") + author + QLatin1Char(',') + id + QLatin1Char(',') +
                           operation.opID + QLatin1Char(',') + operation.id + QLatin1Char(',') + number(OperatorId) +
                           QStringLiteral(",'") + todayLiteral() + QStringLiteral("')"));
    }
}

// A work point already granted is rewritten with the same values, never added twice.
void writeWorkPoints(const std::shared_ptr<db::Connection>& connection, const QString& id,
                     const QStringList& workPoints) {
    for (const QString& item : workPoints) {
        db::RecordSet point;
        point.open(QStringLiteral(" Select * From admGrupPuncteLucru Where grID = ") + id +
                       QStringLiteral(" And IdPctLucru = ") + bareId(item),
                   connection);
        if (point.eof())
            point.addNew();
        point.setField(QStringLiteral("grID"), id.toInt());
        point.setField(QStringLiteral("idpctLucru"), bareId(item).toInt());
        point.update();
        point.close();
    }
}

} // namespace

bool StoreGroup(int& grID, const QString& grCod, const QString& grDenumire, const QString& grobs, int auID,
                const QStringList& operations, const QStringList& workPoints, const GroupSaveContext& context) {
    const std::shared_ptr<db::Connection> shared = db::ReplaceSharedConnection();
    db::Connection& connection = *shared;
    db::Transaction transaction(connection);
    const bool isNew = grID == 0;
    int newId = 0;
    if (isNew)
        newId = nextKey(shared, QStringLiteral("Select max(grID) From AdmGrup WITH (UPDLOCK, HOLDLOCK)"));

    db::RecordSet group;
    group.open(QStringLiteral("Select * From AdmGrup Where grID = ") + number(grID), shared);
    if (isNew) {
        group.addNew();
        group.setField(QStringLiteral("grID"), newId);
    }
    group.setField(QStringLiteral("grCod"), textValue(grCod));
    group.setField(QStringLiteral("grDenumire"), textValue(grDenumire));
    group.setField(QStringLiteral("grobs"), textValue(grobs));
    group.setField(QStringLiteral("IdOperator"), OperatorId);
    group.setField(QStringLiteral("DataAct"), QDateTime::currentDateTime());
    group.update();
    const QString id = number(group.field(QStringLiteral("grID")).toInt());
    group.close();

    const QString author = number(auID);
    ShownGrants shown;
    if (!isNew && context.showsOperation)
        readOperationGrants(connection, id, author, context, shown);
    connection.execute(QStringLiteral("Delete From admGrupAutor Where grID = ") + id + QStringLiteral(" And auID = ") +
                       author);
    // Without an stk database the work points are those of ordavia, the list the editor shows.
    const QString pointsOfAuthor =
        (stkExists(connection) ? QStringLiteral("stk..stk_PuncteLucru (nolock) Where IdAuthor = ")
                               : QStringLiteral("ordavia..PSR_PuncteLucru (nolock) Where IdAuthor = ")) +
        author;
    if (!isNew && context.showsWorkPoint)
        readWorkPointGrants(connection, id, pointsOfAuthor, context, shown);
    // The author's work point grants are cleared here and the ticked ones written again below.
    const QString deletePoints = QStringLiteral("Delete From admGrupPuncteLucru Where grID = ") + id +
                                 QStringLiteral(" And IdPctLucru in (Select IdPctLucru From ") + pointsOfAuthor +
                                 QStringLiteral(")");
    if (!shown.keepsWorkPoints)
        connection.execute(deletePoints);
    else
        for (const QString& list : idLists(shown.workPoints))
            connection.execute(deletePoints + QStringLiteral(" And IdPctLucru In (") + list + QStringLiteral(")"));
    const QString deleteOperations =
        QStringLiteral("Delete From admGrupOperatii Where grID = ") + id + QStringLiteral(" And auID = ") + author;
    if (!shown.keepsOperations)
        connection.execute(deleteOperations);
    else
        for (const QString& condition : operationConditions(shown.operations))
            connection.execute(deleteOperations + QStringLiteral(" And (") + condition + QStringLiteral(")"));
    writeOperations(connection, id, author, operations, shown.keepsOperations);
    writeWorkPoints(shared, id, workPoints);
    transaction.commit();
    // The id goes back to the caller only once it is stored.
    grID = id.toInt();
    return true;
}

bool DropGroup(int grID) {
    db::Connection& connection = *db::ReplaceSharedConnection();
    const QString id = number(grID);
    db::Transaction transaction(connection);
    connection.execute(QStringLiteral("Delete From admGrup Where grID = ") + id);
    connection.execute(QStringLiteral("Delete From admGrupAutor Where grID = ") + id);
    connection.execute(QStringLiteral("Delete From admGrupOperatii Where grID = ") + id);
    connection.execute(QStringLiteral("Delete From admUserGrup Where grID = ") + id);
    connection.execute(QStringLiteral("Delete From admGrupPuncteLucru Where grID = ") + id);
    // The stk settings exist only where the stk database does.
    if (stkExists(connection))
        connection.execute(QStringLiteral("Delete From stk..stk_cfgOperDrepturi Where grID = ") + id);
    transaction.commit();
    return true;
}

} // namespace store
