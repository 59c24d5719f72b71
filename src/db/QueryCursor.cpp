#include "db/QueryCursor.h"

#include "db/DbError.h"

#include <QSqlError>
#include <QSqlRecord>

namespace db {

QueryCursor::QueryCursor(QSqlQuery query, std::function<DbError(const QSqlError&)> errorOf)
    : m_query(std::move(query)), m_errorOf(std::move(errorOf)) {
    const QSqlRecord record = m_query.record();
    for (int i = 0; i < record.count(); ++i)
        m_columns.append(record.fieldName(i));
}

bool QueryCursor::next() {
    if (m_query.next())
        return true;
    if (m_query.lastError().isValid())
        throw m_errorOf(m_query.lastError());
    m_query.finish();
    return false;
}

QVariant QueryCursor::value(int column) const {
    return m_query.isNull(column) ? QVariant() : m_query.value(column);
}

} // namespace db
