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
        try {
            rollback();
        } catch (const DbError&) {
            // The server rolls the transaction back when the connection closes.
        }
    }
}

std::unique_ptr<OdbcStatement> OdbcSession::statement() {
    return std::make_unique<OdbcStatement>(m_handle, m_source, m_lost);
}

StatementResult OdbcSession::run(const QString& text, const QList<QVariant>& values) {
    return statement()->run(text, values);
}

void OdbcSession::begin() {
    run(QStringLiteral("BEGIN TRANSACTION"));
    m_transaction = true;
}

void OdbcSession::commit() {
    run(QStringLiteral("COMMIT TRANSACTION"));
    m_transaction = false;
}

void OdbcSession::rollback() {
    // Whatever the server answers, the transaction is over for the tool: a failure may have ended
    // it on the server already, and a lost connection ends it there. A login whose rollback
    // failed is not trusted again.
    m_transaction = false;
    try {
        run(QStringLiteral("IF @@TRANCOUNT > 0 ROLLBACK TRANSACTION"));
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
