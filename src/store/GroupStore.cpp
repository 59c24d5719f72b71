#include "store/GroupStore.h"

#include "db/RecordSet.h"
#include "db/SharedConnection.h"
#include "db/Transaction.h"
#include "store/StoreSupport.h"

#include <QDateTime>

namespace store {

using namespace support;

namespace {

void writeOperations(db::Connection& connection, const QString& id, const QString& author,
                     const QStringList& operations) {
    if (operations.isEmpty())
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
                const QStringList& operations, const QStringList& workPoints) {
    const std::shared_ptr<db::Connection> shared = db::ReplaceSharedConnection();
    db::Connection& connection = *shared;
    db::Transaction transaction(connection);
    int newId = 0;
    if (grID == 0)
        newId = nextKey(shared, QStringLiteral("Select max(grID) From AdmGrup WITH (UPDLOCK, HOLDLOCK)"));

    db::RecordSet group;
    group.open(QStringLiteral("Select * From AdmGrup Where grID = ") + number(grID), shared);
    if (grID == 0) {
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
    connection.execute(QStringLiteral("Delete From admGrupAutor Where grID = ") + id + QStringLiteral(" And auID = ") +
                       author);
    // The author's work point grants are cleared here and the ticked ones written again below.
    // Without an stk database the work points are those of ordavia, the list the editor shows.
    const QString workPointsOfAuthor = stkExists(connection)
                                           ? QStringLiteral("stk..stk_PuncteLucru (nolock) Where IdAuthor = ")
                                           : QStringLiteral("ordavia..PSR_PuncteLucru (nolock) Where IdAuthor = ");
    connection.execute(QStringLiteral("Delete From admGrupPuncteLucru Where grID = ") + id +
                       QStringLiteral(" And IdPctLucru in (Select IdPctLucru From ") + workPointsOfAuthor + author +
                       QStringLiteral(")"));
    connection.execute(QStringLiteral("Delete From admGrupOperatii Where grID = ") + id +
                       QStringLiteral(" And auID = ") + author);
    writeOperations(connection, id, author, operations);
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
