#pragma once

#include "db/Cursor.h"
#include "db/odbc/OdbcStatement.h"

#include <functional>
#include <memory>

namespace db {

// A cursor over the first result of an executed ODBC statement, read one row at a time. Once
// past its last row it reads the statement's remaining results (raising a failure among them),
// frees the statement and calls done; so does its destructor when the rows were not all read. A
// failure while reading is raised as words(failure).
class OdbcCursor : public Cursor {
public:
    OdbcCursor(std::unique_ptr<OdbcStatement> statement, std::function<void()> done,
               std::function<DbError(const DbError&)> words);
    ~OdbcCursor() override;
    OdbcCursor(const OdbcCursor&) = delete;
    OdbcCursor& operator=(const OdbcCursor&) = delete;

    bool next() override;
    int columnCount() const override { return m_columns.size(); }
    QString columnName(int column) const override { return m_columns.at(column); }
    QVariant value(int column) const override { return m_row.value(column); }

private:
    void finish();

    std::unique_ptr<OdbcStatement> m_statement;
    std::function<void()> m_done;
    std::function<DbError(const DbError&)> m_words;
    QStringList m_columns;
    QList<QVariant> m_row;
};

} // namespace db
