#pragma once

#include "db/Cursor.h"

#include <QStringList>

struct sqlite3;
struct sqlite3_stmt;

namespace db {

// A cursor straight over an SQLite statement of the embedded server: each value is made from
// the row SQLite holds, with the types the Qt driver gives (integers as qlonglong, or int when they
// fit, text as QString, Null as a null QVariant), and no copy of the rows is kept.
class SqliteCursor : public Cursor {
public:
    // Prepares text (SQLite's dialect) on handle; raises DbError with source when it fails. utf8:
    // the databases keep their text in UTF-8, so a text value is read as SQLite holds it.
    SqliteCursor(sqlite3* handle, const QString& text, const QString& source, bool utf8 = false);
    ~SqliteCursor() override;
    SqliteCursor(const SqliteCursor&) = delete;
    SqliteCursor& operator=(const SqliteCursor&) = delete;

    bool next() override;
    int columnCount() const override { return m_columns.size(); }
    QString columnName(int column) const override { return m_columns.at(column); }
    QVariant value(int column) const override;

private:
    [[noreturn]] void fail() const;

    sqlite3* m_handle;
    sqlite3_stmt* m_statement = nullptr;
    QString m_source;
    QStringList m_columns;
    bool m_utf8;
    bool m_done = false;
};

} // namespace db
