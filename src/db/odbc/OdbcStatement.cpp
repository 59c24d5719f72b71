#include "db/odbc/OdbcStatement.h"

#include <algorithm>
#include <string>

namespace db {

namespace {

bool succeeded(SQLRETURN result) {
    return SQL_SUCCEEDED(result) || result == SQL_NO_DATA;
}

// Whether the driver knows its connection is gone: a server that went away is often reported
// first as an error of no particular kind.
bool connectionDead(SQLHDBC connection) {
    SQLUINTEGER dead = SQL_CD_FALSE;
    return SQL_SUCCEEDED(SQLGetConnectAttr(connection, SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr)) &&
           dead == SQL_CD_TRUE;
}

} // namespace

OdbcStatement::OdbcStatement(SQLHDBC connection, QString source, bool& lost)
    : m_connection(connection), m_source(std::move(source)), m_lost(lost) {
    const SQLRETURN r = SQLAllocHandle(SQL_HANDLE_STMT, connection, &m_handle);
    if (!SQL_SUCCEEDED(r)) {
        const QList<OdbcDiagnostic> records = OdbcDiagnostics::read(SQL_HANDLE_DBC, connection);
        m_lost = m_lost || OdbcDiagnostics::connectionLost(records);
        m_handle = SQL_NULL_HSTMT;
        throw OdbcDiagnostics::error(records, m_source, QStringLiteral("The driver could not make a statement."));
    }
}

OdbcStatement::~OdbcStatement() {
    if (m_handle != SQL_NULL_HSTMT) {
        SQLFreeStmt(m_handle, SQL_CLOSE);
        SQLFreeHandle(SQL_HANDLE_STMT, m_handle);
    }
}

QList<OdbcDiagnostic> OdbcStatement::diagnostics() const {
    return OdbcDiagnostics::read(SQL_HANDLE_STMT, m_handle);
}

void OdbcStatement::fail(SQLRETURN result, const QString& what) {
    const QList<OdbcDiagnostic> records = diagnostics();
    const bool saidLost = OdbcDiagnostics::connectionLost(records);
    const bool lostNow = !m_lost && !saidLost && connectionDead(m_connection);
    m_lost = m_lost || saidLost || lostNow;
    const DbError error = OdbcDiagnostics::error(
        records, m_source, QStringLiteral("The driver failed to %1 (ODBC result %2).").arg(what).arg(result));
    if (!lostNow)
        throw error;
    throw DbError(error.number(), error.description() + QStringLiteral("\nThe connection to the server is lost."),
                  error.source());
}

void OdbcStatement::execute(const QString& text, const QList<QVariant>& values, int timeoutSeconds) {
    m_columns.clear();
    m_ahead.reset();
    m_bound.assign(std::size_t(values.size()), {});
    SQLFreeStmt(m_handle, SQL_RESET_PARAMS);
    for (qsizetype i = 0; i < values.size(); ++i) {
        const SQLRETURN r = OdbcValues::bind(m_handle, SQLUSMALLINT(i + 1), values.at(i), m_bound[std::size_t(i)]);
        if (!SQL_SUCCEEDED(r))
            fail(r, QStringLiteral("bind value %1").arg(i + 1));
    }
    if (timeoutSeconds > 0)
        SQLSetStmtAttr(m_handle, SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(SQLULEN(timeoutSeconds)), 0);
    std::u16string wide(reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size()));
    const SQLRETURN r = SQLExecDirectW(m_handle, reinterpret_cast<SQLWCHAR*>(wide.data()), SQLINTEGER(wide.size()));
    // A searched UPDATE or DELETE that meets no row answers SQL_NO_DATA.
    if (!succeeded(r))
        fail(r, QStringLiteral("run the statement"));
    describe();
}

void OdbcStatement::describe() {
    m_columns.clear();
    SQLSMALLINT count = 0;
    if (!SQL_SUCCEEDED(SQLNumResultCols(m_handle, &count)))
        return;
    for (SQLSMALLINT i = 1; i <= count; ++i) {
        SQLWCHAR name[256] = {};
        SQLSMALLINT nameLength = 0;
        OdbcValues::Column column;
        SQLULEN size = 0;
        SQLSMALLINT nullable = 0;
        SQLDescribeColW(m_handle, SQLUSMALLINT(i), name, SQLSMALLINT(std::size(name)), &nameLength, &column.type, &size,
                        &column.digits, &nullable);
        column.name = QString::fromUtf16(reinterpret_cast<const char16_t*>(name),
                                         qMin<qsizetype>(nameLength, qsizetype(std::size(name)) - 1));
        m_columns.append(column);
    }
}

int OdbcStatement::rowsAffected() const {
    SQLLEN count = -1;
    if (!SQL_SUCCEEDED(SQLRowCount(m_handle, &count)))
        return -1;
    return int(count);
}

bool OdbcStatement::fetch(QList<QVariant>& row) {
    if (m_ahead) {
        row = std::move(*m_ahead);
        m_ahead.reset();
        return true;
    }
    if (m_columns.isEmpty())
        return false;
    const SQLRETURN r = SQLFetch(m_handle);
    if (r == SQL_NO_DATA)
        return false;
    if (!SQL_SUCCEEDED(r))
        fail(r, QStringLiteral("read a row"));
    row.clear();
    row.reserve(m_columns.size());
    for (qsizetype i = 0; i < m_columns.size(); ++i) {
        bool ok = true;
        row.append(OdbcValues::read(m_handle, SQLUSMALLINT(i + 1), m_columns.at(i), ok));
        if (!ok)
            fail(SQL_ERROR, QStringLiteral("read the value of column %1").arg(m_columns.at(i).name));
    }
    return true;
}

void OdbcStatement::fetchAhead() {
    QList<QVariant> row;
    if (fetch(row))
        m_ahead = std::move(row);
}

bool OdbcStatement::nextResult() {
    m_ahead.reset();
    const SQLRETURN r = SQLMoreResults(m_handle);
    if (r == SQL_NO_DATA) {
        m_columns.clear();
        return false;
    }
    if (!SQL_SUCCEEDED(r)) {
        m_columns.clear();
        fail(r, QStringLiteral("read the next result"));
    }
    describe();
    return true;
}

void OdbcStatement::cancel() {
    SQLCancel(m_handle);
}

StatementResult OdbcStatement::run(const QString& text, const QList<QVariant>& values, int timeoutSeconds) {
    StatementResult result;
    QList<OdbcDiagnostic> failures;
    std::optional<DbError> first;
    // Notes a failure; answers whether the results after it can still be read: only past an
    // error the server sent (a batch goes on after most of them on SQL Server), not past one of
    // the driver's own or a lost connection.
    const auto noteFailure = [&](const DbError& error) {
        const QList<OdbcDiagnostic> records = diagnostics();
        const bool fromServer = std::any_of(records.cbegin(), records.cend(),
                                            [](const OdbcDiagnostic& record) { return record.native != 0; });
        if (!first)
            first = error;
        if (fromServer || failures.isEmpty())
            failures += records;
        return fromServer && !m_lost;
    };
    bool more = true;
    try {
        execute(text, values, timeoutSeconds);
        result.rowsAffected = rowsAffected();
    } catch (const DbError& error) {
        more = noteFailure(error);
    }
    bool rowsRead = false;
    while (more) {
        if (!rowsRead && !m_columns.isEmpty()) {
            rowsRead = true;
            for (const OdbcValues::Column& column : std::as_const(m_columns)) {
                result.rows.columns.append(column.name);
                result.rows.comparable.append(OdbcValues::comparable(column.type));
            }
            QList<QVariant> row;
            try {
                while (fetch(row))
                    result.rows.rows.append(row);
            } catch (const DbError& error) {
                if (!noteFailure(error))
                    break;
            }
        }
        try {
            more = nextResult();
        } catch (const DbError& error) {
            more = noteFailure(error);
        }
    }
    if (first)
        throw OdbcDiagnostics::error(failures, m_source, first->description());
    return result;
}

} // namespace db
