#include "db/odbc/OdbcSession.h"

#include "db/ConnectionString.h"
#include "db/LockWait.h"
#include "db/odbc/OdbcWorker.h"

#include <QScopeGuard>
#include <QSqlDriver>
#include <QSqlError>
#include <QThread>

namespace db {

namespace {

// The database the server made current at login.
QString currentCatalog(SQLHDBC handle) {
    SQLWCHAR name[256] = {};
    SQLINTEGER length = 0;
    if (!SQL_SUCCEEDED(SQLGetConnectAttrW(handle, SQL_ATTR_CURRENT_CATALOG, name, sizeof(name), &length)))
        return {};
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(name),
                              qBound<qsizetype>(0, length / qsizetype(sizeof(SQLWCHAR)), std::size(name) - 1));
}

// Gives Qt's ODBC driver the whole connection string. The driver takes a string that holds ".dsn"
// anywhere (in a password, a user or host name) for the name of a file data source and the
// connection fails; it appends the user name as ";UID=<user name>" without looking into it. Such a
// string then goes as the driver alone, and the user name carries UID's value and every other
// attribute after it: the driver receives the same attributes.
void setConnectionString(QSqlDatabase& db, const QString& text) {
    const ConnectionString attributes = ConnectionString::parse(text);
    const QLatin1String driver("DRIVER"), user("UID");
    if (!text.contains(QLatin1String(".dsn"), Qt::CaseInsensitive) || !attributes.contains(driver)) {
        db.setDatabaseName(text);
        return;
    }
    QString rest = ConnectionString::quote(attributes.value(user)) + QLatin1Char(';');
    for (const auto& [key, value] : attributes.attributes())
        if (key.compare(driver, Qt::CaseInsensitive) != 0 && key.compare(user, Qt::CaseInsensitive) != 0)
            rest += key + QLatin1Char('=') + ConnectionString::quote(value) + QLatin1Char(';');
    db.setDatabaseName(driver + QLatin1Char('=') + ConnectionString::quote(attributes.value(driver)));
    db.setUserName(rest);
}

} // namespace

OdbcSession::OdbcSession(const QString& odbcConnectionString, int loginTimeoutSeconds, const QString& source)
    : m_driver(QStringLiteral("QODBC"), source), m_timeout(qMax(0, loginTimeoutSeconds)), m_source(source) {
    QSqlDatabase& db = m_driver.database();
    // The whole string is ours: Qt's own password would go last, unescaped.
    setConnectionString(db, odbcConnectionString);
    db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1").arg(m_timeout));
    if (!db.open())
        throw m_driver.errorOf(db.lastError());
    const QVariant handle = db.driver()->handle();
    if (handle.isValid() && qstrcmp(handle.typeName(), "void*") == 0)
        m_handle = *static_cast<SQLHDBC const*>(handle.constData());
    if (m_handle == SQL_NULL_HDBC)
        throw DbError(DbError::GeneralError, QStringLiteral("The ODBC driver gave no connection handle."), m_source);
    const ConnectionString attributes = ConnectionString::parse(odbcConnectionString);
    m_database = attributes.value(QStringLiteral("DATABASE"));
    if (m_database.isEmpty())
        m_database = currentCatalog(m_handle);
    m_server = attributes.contains(QStringLiteral("Server")) ? attributes.value(QStringLiteral("Server"))
                                                             : attributes.value(QStringLiteral("DSN"));
    // Without it the server waits for a lock as long as it is held, and the tool cannot tell that
    // wait from a slow statement.
    run(QStringLiteral("SET LOCK_TIMEOUT %1").arg(LockTimeoutMs), {}, Resend::No);
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

StatementResult OdbcSession::run(const QString& text, const QList<QVariant>& values, Resend resend) {
    StatementResult result;
    call([&](OdbcStatement& statement) { result = statement.run(text, values); }, resend);
    return result;
}

std::unique_ptr<OdbcStatement> OdbcSession::call(const std::function<void(OdbcStatement&)>& attempt, Resend resend) {
    const QString database = lockWaitName();
    QElapsedTimer waited;
    waited.start();
    bool metLock = false;
    bool gaveUp = false;
    const auto over = qScopeGuard([&] {
        if (metLock)
            LockWait::finished();
    });
    for (;;) {
        std::unique_ptr<OdbcStatement> statement = this->statement();
        OdbcStatement* current = statement.get();
        const auto waiting = [&](int runningMs) {
            if (metLock && !gaveUp)
                gaveUp = !LockWait::keepWaiting(database, int(waited.elapsed()));
            else if (metLock || runningMs >= QuietMs)
                LockWait::running();
            return !gaveUp;
        };
        try {
            OdbcWorker::run([&] { attempt(*current); }, waiting, [current] { current->cancel(); });
            return statement;
        } catch (const DbError& e) {
            // A cancelled statement fails with the driver's own words; it was cancelled for a lock.
            if (!gaveUp && e.number() != Locked)
                throw;
            metLock = true;
            if (gaveUp || resend == Resend::No || !pauseBeforeResend(waited))
                throw locked();
        }
    }
}

bool OdbcSession::pauseBeforeResend(const QElapsedTimer& waited) const {
    const QString database = lockWaitName();
    QElapsedTimer paused;
    paused.start();
    for (;;) {
        if (!LockWait::keepWaiting(database, int(waited.elapsed())))
            return false;
        if (paused.elapsed() >= RetryPauseMs)
            return true;
        QThread::msleep(OdbcWorker::PollMs);
    }
}

DbError OdbcSession::locked() const {
    return DbError(Locked,
                   QStringLiteral("The database '%1' on the server %2 is locked by another session. Nothing was "
                                  "written; try again once the other session has finished.")
                       .arg(m_database, m_server),
                   m_source);
}

QString OdbcSession::lockWaitName() const {
    return QStringLiteral("%1 on %2").arg(m_database, m_server);
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
        run(QStringLiteral("IF @@TRANCOUNT > 0 ROLLBACK TRANSACTION"), {}, Resend::No);
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
