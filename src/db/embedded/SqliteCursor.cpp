#include "db/embedded/SqliteCursor.h"

#include "db/DbError.h"

#include <QByteArray>
#include <limits>
#include <sqlite3.h>

namespace db {

SqliteCursor::SqliteCursor(sqlite3* handle, const QString& text, const QString& source, bool utf8)
    : m_handle(handle), m_source(source), m_utf8(utf8) {
    if (!m_handle)
        throw DbError(DbError::GeneralError, QStringLiteral("The embedded server's connection is not open."), source);
    if (sqlite3_prepare16_v2(m_handle, text.utf16(), int(text.size() * sizeof(QChar)), &m_statement, nullptr) !=
        SQLITE_OK)
        fail();
    const int columns = sqlite3_column_count(m_statement);
    for (int i = 0; i < columns; ++i)
        m_columns.append(QString::fromUtf16(static_cast<const char16_t*>(sqlite3_column_name16(m_statement, i))));
}

SqliteCursor::~SqliteCursor() {
    sqlite3_finalize(m_statement);
}

void SqliteCursor::fail() const {
    throw DbError(sqlite3_errcode(m_handle), QString::fromUtf8(sqlite3_errmsg(m_handle)), m_source);
}

bool SqliteCursor::next() {
    if (m_done)
        return false;
    const int step = sqlite3_step(m_statement);
    if (step == SQLITE_ROW)
        return true;
    m_done = true;
    if (step != SQLITE_DONE)
        fail();
    // Ending the statement now gives up its read lock before the cursor itself is gone.
    sqlite3_reset(m_statement);
    return false;
}

QVariant SqliteCursor::value(int column) const {
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_INTEGER: {
        // Ids are read as int by the window: a value that fits is given as one, which spares a
        // conversion on every read.
        const qint64 value = sqlite3_column_int64(m_statement, column);
        if (value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max())
            return QVariant(int(value));
        return QVariant(qlonglong(value));
    }
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_statement, column));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(m_statement, column)),
                                   sqlite3_column_bytes(m_statement, column)));
    case SQLITE_NULL:
        return QVariant();
    default: {
        // One conversion, and no UTF-16 copy inside SQLite. Text read as a blob is the bytes of the
        // row as SQLite holds them; read as text, SQLite first copies it to end it with a NUL.
        const void* bytes =
            m_utf8 ? sqlite3_column_blob(m_statement, column) : sqlite3_column_text(m_statement, column);
        const int size = sqlite3_column_bytes(m_statement, column);
        // An empty text stays an empty text, not a null one (the blob of an empty text is null).
        return QVariant(QString::fromUtf8(bytes ? static_cast<const char*>(bytes) : "", size));
    }
    }
}

} // namespace db
