#include "SqliteBulk.h"

#include <QFile>
#include <sqlite3.h>
#include <stdexcept>

SqliteBulk::SqliteBulk(const QString& file) : m_file(file) {
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        fail("open");
    // Nothing is lost if the generator dies half way (the suite is simply made again), so the
    // journal stays in memory and nothing waits for the disk. The file keeps its rollback
    // journal mode for the tool, which relies on it.
    exec("PRAGMA journal_mode = MEMORY; PRAGMA synchronous = OFF; PRAGMA cache_size = -262144; PRAGMA temp_store = "
         "MEMORY;");
}

SqliteBulk::~SqliteBulk() {
    if (m_insert) {
        sqlite3_finalize(m_insert);
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    sqlite3_close(m_db);
}

void SqliteBulk::exec(const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : "unknown error";
        sqlite3_free(message);
        throw std::runtime_error(QFile::encodeName(m_file).toStdString() + ": " + text + " in: " + sql);
    }
}

void SqliteBulk::suspendIndexes() {
    sqlite3_stmt* list = nullptr;
    if (sqlite3_prepare_v2(m_db, "SELECT name, sql FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL", -1,
                           &list, nullptr) != SQLITE_OK)
        fail("list indexes");
    std::vector<QByteArray> names;
    while (sqlite3_step(list) == SQLITE_ROW) {
        names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(list, 0)));
        m_suspendedIndexes.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(list, 1)));
    }
    sqlite3_finalize(list);
    for (const QByteArray& name : names)
        exec(QByteArray("DROP INDEX \"" + name + "\"").constData());
}

void SqliteBulk::restoreIndexes() {
    exec("BEGIN");
    for (const QByteArray& sql : m_suspendedIndexes)
        exec(sql.constData());
    exec("COMMIT");
    m_suspendedIndexes.clear();
}

void SqliteBulk::beginTable(const char* insertSql) {
    exec("BEGIN");
    if (sqlite3_prepare_v2(m_db, insertSql, -1, &m_insert, nullptr) != SQLITE_OK)
        fail(insertSql);
    m_nextParameter = 1;
    m_rows = 0;
}

SqliteBulk& SqliteBulk::bind(qint64 value) {
    if (sqlite3_bind_int64(m_insert, m_nextParameter++, value) != SQLITE_OK)
        fail("bind");
    return *this;
}

SqliteBulk& SqliteBulk::bind(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    if (sqlite3_bind_text(m_insert, m_nextParameter++, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT) !=
        SQLITE_OK)
        fail("bind");
    return *this;
}

SqliteBulk& SqliteBulk::bind(const char* text) {
    if (sqlite3_bind_text(m_insert, m_nextParameter++, text, -1, SQLITE_STATIC) != SQLITE_OK)
        fail("bind");
    return *this;
}

SqliteBulk& SqliteBulk::bindNull() {
    if (sqlite3_bind_null(m_insert, m_nextParameter++) != SQLITE_OK)
        fail("bind");
    return *this;
}

void SqliteBulk::insertRow() {
    if (sqlite3_step(m_insert) != SQLITE_DONE)
        fail("insert");
    sqlite3_reset(m_insert);
    m_nextParameter = 1;
    ++m_rows;
}

qint64 SqliteBulk::endTable() {
    sqlite3_finalize(m_insert);
    m_insert = nullptr;
    exec("COMMIT");
    return m_rows;
}

void SqliteBulk::fail(const char* what) const {
    throw std::runtime_error(QFile::encodeName(m_file).toStdString() + ": " + what + ": " + sqlite3_errmsg(m_db));
}
