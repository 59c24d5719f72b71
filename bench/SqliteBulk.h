#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// Fast bulk insertion into one SQLite database file: one transaction per table, one prepared
// statement reused for every row. Failures are raised as std::runtime_error with SQLite's
// message. Meant for the benchmark generator only; the tool itself writes through db::Connection.
class SqliteBulk {
public:
    explicit SqliteBulk(const QString& file);
    ~SqliteBulk();

    SqliteBulk(const SqliteBulk&) = delete;
    SqliteBulk& operator=(const SqliteBulk&) = delete;

    // Runs statements that return no rows.
    void exec(const char* sql);

    // Drops the file's indexes, to be made again by restoreIndexes() once the rows are in:
    // building an index over sorted rows is far faster than keeping it up to date row by row.
    void suspendIndexes();
    void restoreIndexes();

    // Starts a transaction and prepares insertSql (with "?" parameters) for the rows to come.
    void beginTable(const char* insertSql);
    // Bind the next parameter of the current row, left to right.
    SqliteBulk& bind(qint64 value);
    SqliteBulk& bind(int value) { return bind(qint64(value)); }
    SqliteBulk& bind(const QString& text);
    SqliteBulk& bind(const char* text);
    SqliteBulk& bindNull();
    // Inserts the bound row and resets the statement for the next one.
    void insertRow();
    // Commits the table's rows; returns how many rows were inserted since beginTable.
    qint64 endTable();

private:
    [[noreturn]] void fail(const char* what) const;

    QString m_file;
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_insert = nullptr;
    int m_nextParameter = 1;
    qint64 m_rows = 0;
    std::vector<QByteArray> m_suspendedIndexes; // their CREATE INDEX statements
};
