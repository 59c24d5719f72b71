#pragma once

#include "db/Cursor.h"

#include <QSqlQuery>
#include <functional>

namespace db {

class DbError;

// A cursor over a forward-only query of a Qt SQL driver (the ODBC path).
class QueryCursor : public Cursor {
public:
    // query has been executed; errorOf turns the driver's errors into the engine's DbErrors.
    QueryCursor(QSqlQuery query, std::function<DbError(const QSqlError&)> errorOf);

    bool next() override;
    int columnCount() const override { return m_columns.size(); }
    QString columnName(int column) const override { return m_columns.at(column); }
    QVariant value(int column) const override;

private:
    QSqlQuery m_query;
    std::function<DbError(const QSqlError&)> m_errorOf;
    QStringList m_columns;
};

} // namespace db
