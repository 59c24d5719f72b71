#pragma once

#include <QString>

namespace db {

// Turns the tool's T-SQL statement texts into texts SQLite runs with the same meaning:
//  - table hints "(nolock)", "a0(nolock)", "WITH (UPDLOCK, HOLDLOCK)" after a table of a FROM,
//    JOIN or UPDATE clause (or its alias) are dropped (SQLite locks whole files; a writing
//    transaction already holds the write lock from its start);
//  - three-part names with an empty schema "stk..T" become "stk.T" (the attached database);
//    "master" and "sys.server_principals" name the server's catalogue schema;
//  - N'...' literals become '...';
//  - a bracketed name holding "]]" becomes a `quoted` one (SQLite brackets know no escape);
//  - in the VALUES of an INSERT, a date literal 'yyyymmdd' or 'mm/dd/yyyy' is stored as
//    'yyyy-mm-dd', so that every date of the server reads and sorts the same way.
// Nothing inside a quoted literal, quoted identifier or comment is touched. A text that holds
// more than one statement is refused with a DbError: SQLite would run only the first one.
class DialectRewriter {
public:
    // catalogueSchema: the schema name under which the connection sees the catalogue ("master",
    // or "main" when the catalogue is the connection's own database). Results are cached.
    static QString rewrite(const QString& sql, const QString& catalogueSchema);
};

} // namespace db
