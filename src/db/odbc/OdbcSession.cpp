#include "db/odbc/OdbcSession.h"

#include <QSqlDriver>
#include <QSqlError>

namespace db {

OdbcSession::OdbcSession(const QString& odbcConnectionString, int loginTimeoutSeconds, const QString& source)
    : m_driver(QStringLiteral("QODBC"), source), m_timeout(qMax(0, loginTimeoutSeconds)), m_source(source) {
    QSqlDatabase& db = m_driver.database();
    // The whole string is ours: Qt would append a user name and password last, unescaped.
    db.setDatabaseName(odbcConnectionString);
    db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1").arg(m_timeout));
    if (!db.open())
        throw m_driver.errorOf(db.lastError());
    const QVariant handle = db.driver()->handle();
    if (handle.isValid() && qstrcmp(handle.typeName(), "void*") == 0)
        m_handle = *static_cast<SQLHDBC const*>(handle.constData());
    if (m_handle == SQL_NULL_HDBC)
        throw DbError(DbError::GeneralError, QStringLiteral("The ODBC driver gave no connection handle."), m_source);
}

OdbcSession::~OdbcSession() {
    if (m_transaction && !m_lost) {
        SQLEndTran(SQL_HANDLE_DBC, m_handle, SQL_ROLLBACK);
        SQLSetConnectAttr(m_handle, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
    }
}

std::unique_ptr<OdbcStatement> OdbcSession::statement() {
    return std::make_unique<OdbcStatement>(m_handle, m_source, m_lost);
}

StatementResult OdbcSession::run(const QString& text, const QList<QVariant>& values) {
    return statement()->run(text, values);
}

void OdbcSession::fail(const QString& what) {
    const QList<OdbcDiagnostic> records = OdbcDiagnostics::read(SQL_HANDLE_DBC, m_handle);
    m_lost = m_lost || OdbcDiagnostics::connectionLost(records);
    throw OdbcDiagnostics::error(records, m_source, QStringLiteral("The driver failed to %1.").arg(what));
}

void OdbcSession::setAutocommit(bool on) {
    const SQLRETURN r = SQLSetConnectAttr(m_handle, SQL_ATTR_AUTOCOMMIT,
                                          reinterpret_cast<SQLPOINTER>(on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF), 0);
    if (!SQL_SUCCEEDED(r))
        fail(on ? QStringLiteral("end the transaction") : QStringLiteral("begin a transaction"));
}

void OdbcSession::begin() {
    setAutocommit(false);
    m_transaction = true;
}

void OdbcSession::endTransaction(short completion) {
    const SQLRETURN r = SQLEndTran(SQL_HANDLE_DBC, m_handle, completion);
    if (!SQL_SUCCEEDED(r))
        fail(completion == SQL_COMMIT ? QStringLiteral("commit") : QStringLiteral("roll back"));
    setAutocommit(true);
}

void OdbcSession::commit() {
    endTransaction(SQL_COMMIT);
    m_transaction = false;
}

void OdbcSession::rollback() {
    // Whatever the server answers, the transaction is over for the tool: a lost connection has
    // ended it on the server too. A login whose rollback failed is not trusted again.
    m_transaction = false;
    try {
        endTransaction(SQL_ROLLBACK);
    } catch (const DbError&) {
        m_lost = true;
        throw;
    }
}

bool OdbcSession::answers() {
    if (m_lost)
        return false;
    try {
        OdbcStatement(m_handle, m_source, m_lost).run(QStringLiteral("SELECT 1"), {}, qMax(1, m_timeout));
        return true;
    } catch (const DbError&) {
        return false;
    }
}

} // namespace db
