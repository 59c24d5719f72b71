#include "db/odbc/OdbcCursor.h"

namespace db {

OdbcCursor::OdbcCursor(std::unique_ptr<OdbcStatement> statement, std::function<void()> done,
                       std::function<DbError(const DbError&)> words)
    : m_statement(std::move(statement)), m_done(std::move(done)), m_words(std::move(words)) {
    for (const OdbcValues::Column& column : m_statement->columns())
        m_columns.append(column.name);
}

OdbcCursor::~OdbcCursor() {
    finish();
}

bool OdbcCursor::next() {
    m_row.clear();
    if (!m_statement)
        return false;
    try {
        if (m_statement->fetch(m_row))
            return true;
        // Whatever follows the rows is read too: the connection serves one statement at a time.
        while (m_statement->nextResult()) {
        }
    } catch (const DbError& e) {
        finish();
        throw m_words(e);
    }
    finish();
    return false;
}

void OdbcCursor::finish() {
    if (!m_statement)
        return;
    m_statement.reset();
    if (m_done)
        m_done();
}

} // namespace db
