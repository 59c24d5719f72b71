#include "store/StoreSupport.h"

#include "db/DbError.h"
#include "db/RecordSet.h"

#include <QDate>

namespace store::support {

QString quoted(const QString& text) {
    return QString(text).replace(QLatin1Char('\''), QStringLiteral("''"));
}

QString unicodeLiteral(const QString& text) {
    return QStringLiteral("N'") + quoted(text) + QLatin1Char('\'');
}

QString bracketed(const QString& name) {
    return QString(name).replace(QLatin1Char(']'), QStringLiteral("]]"));
}

QString todayLiteral() {
    return QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
}

QVariant textValue(const QString& text) {
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

int nextKey(const std::shared_ptr<db::Connection>& connection, const QString& sql) {
    db::RecordSet maximum;
    maximum.open(sql, connection, db::RecordSet::ForwardOnly, db::RecordSet::ReadOnly);
    const int next = maximum.field(0).toInt() + 1;
    maximum.close();
    return next;
}

bool stkExists(db::Connection& connection) {
    const db::ResultRows result =
        connection.query(QStringLiteral("SELECT count(*) FROM master..sysDatabases WHERE name = N'stk'"));
    return !result.rows.isEmpty() && !result.rows.first().isEmpty() && result.rows.first().first().toInt() > 0;
}

QStringList idLists(const QList<int>& ids, int chunk) {
    QStringList lists;
    for (qsizetype start = 0; start < ids.size(); start += chunk) {
        QStringList numbers;
        for (const int id : ids.mid(start, chunk))
            numbers << number(id);
        lists << numbers.join(QLatin1Char(','));
    }
    return lists;
}

bool lockedRowExists(db::Connection& connection, const QString& table, const QString& column, int id) {
    return !connection
                .query(QStringLiteral("Select ") + column + QStringLiteral(" From ") + table +
                       QStringLiteral(" WITH (UPDLOCK, HOLDLOCK) Where ") + column + QStringLiteral(" = ") + number(id))
                .rows.isEmpty();
}

QSet<int> idsFound(db::Connection& connection, const QString& head, const QList<int>& ids) {
    QSet<int> found;
    for (const QString& list : idLists(ids))
        for (const QList<QVariant>& row : connection.query(head + list + QLatin1Char(')')).rows)
            found.insert(row.value(0).toInt());
    return found;
}

QString bareId(const QString& item) {
    bool ok = false;
    item.trimmed().toInt(&ok);
    if (!ok)
        throw db::DbError(db::DbError::TypeMismatch, QStringLiteral("Type mismatch: \"%1\" is not an id.").arg(item),
                          db::DbError::ToolSource());
    return item.trimmed();
}

OperationFields operationFields(const QString& item) {
    const QStringList fields = item.split(QStringLiteral("#$#"));
    if (fields.size() < 2)
        throw db::DbError(db::DbError::SubscriptOutOfRange, QStringLiteral("Subscript out of range"),
                          db::DbError::ToolSource());
    return {bareId(fields.at(0)), bareId(fields.at(1))};
}

} // namespace store::support
