#include "db/odbc/OdbcEngine.h"

#include "db/ConnectionError.h"
#include "db/OneConnectionAttempt.h"
#include "db/odbc/OdbcCursor.h"
#include "db/odbc/OdbcSessionPool.h"

#include <QScopeGuard>

namespace db {

namespace {

const QString Source = QStringLiteral("ODBC SQL Server Driver");

// A statement as one piece of a batch: without the ";" and blanks it may end with.
QString batchPiece(const QString& sql) {
    qsizetype end = sql.size();
    while (end > 0 && (sql.at(end - 1).isSpace() || sql.at(end - 1) == QLatin1Char(';')))
        --end;
    return sql.left(end);
}

} // namespace

QString OdbcEngine::odbcConnectionString(const ConnectionString& attributes) {
    for (const auto& [key, value] : attributes.attributes())
        if (value.contains(QLatin1Char('}')))
            throw DbError(DbError::GeneralError,
                          QStringLiteral("The value of the connection attribute %1 contains \"}\", which the ODBC "
                                         "driver cannot receive.")
                              .arg(key),
                          QStringLiteral("Talvane data layer"));
    const bool oleDbForm = attributes.contains(QStringLiteral("Provider"));
    QString text;
    if (oleDbForm)
        text = QStringLiteral("DRIVER={SQL Server};");
    for (const auto& [key, value] : attributes.attributes()) {
        const bool replaced = key.compare(QLatin1String("Provider"), Qt::CaseInsensitive) == 0 ||
                              (oleDbForm && key.compare(QLatin1String("DRIVER"), Qt::CaseInsensitive) == 0);
        if (!replaced)
            text += key + QLatin1Char('=') + ConnectionString::quote(value) + QLatin1Char(';');
    }
    if (!attributes.contains(QStringLiteral("TDS_Version")))
        text += QStringLiteral("TDS_Version=7.4;");
    return text;
}

OdbcEngine::OdbcEngine(const ConnectionString& attributes, int loginTimeoutSeconds)
    : Engine(Source), m_key(odbcConnectionString(attributes)), m_server(attributes.value(QStringLiteral("Server"))),
      m_loginTimeout(qMax(0, loginTimeoutSeconds)) {
    m_session = OdbcSessionPool::take(m_key);
    if (!m_session)
        m_session = std::make_unique<OdbcSession>(m_key, m_loginTimeout, Source);
    lendBack();
}

OdbcEngine::~OdbcEngine() {
    if (m_transaction && m_session) {
        try {
            rollback();
        } catch (const DbError&) {
            // The session is not kept after a failed rollback; the error has nobody to go to.
        }
    }
    lendBack();
}

OdbcSession& OdbcEngine::session() {
    if (m_session)
        return *m_session;
    if (const auto& failed = OneConnectionAttempt::failure())
        throw *failed;
    m_session = OdbcSessionPool::take(m_key);
    if (m_session)
        return *m_session;
    try {
        m_session = std::make_unique<OdbcSession>(m_key, m_loginTimeout, Source);
    } catch (const DbError& e) {
        const ConnectionError failure(e, m_server);
        OneConnectionAttempt::remember(failure);
        throw failure;
    }
    return *m_session;
}

void OdbcEngine::lendBack() {
    // Off the main thread a login is not kept between statements: the engine keeps its own.
    if (!m_session || m_transaction || m_cursors > 0 || !OdbcSessionPool::keepsHere())
        return;
    OdbcSessionPool::give(m_key, std::move(m_session));
}

StatementResult OdbcEngine::run(const QString& sql, const QList<QVariant>& values) {
    OdbcSession& login = session();
    const auto lend = qScopeGuard([this] { lendBack(); });
    return login.run(sql, values);
}

void OdbcEngine::runBatch(const QStringList& statements) {
    OdbcSession& login = session();
    const auto lend = qScopeGuard([this] { lendBack(); });
    for (qsizetype first = 0; first < statements.size(); first += MostPerBatch) {
        QStringList pieces;
        for (qsizetype i = first; i < qMin(statements.size(), first + MostPerBatch); ++i)
            pieces.append(batchPiece(statements.at(i)));
        // A line break before each ";" ends a "--" comment that a statement may close with.
        login.run(pieces.join(QStringLiteral("\n;\n")), {}, OdbcSession::Resend::No);
    }
}

std::unique_ptr<Cursor> OdbcEngine::openCursor(const QString& sql) {
    OdbcSession& login = session();
    std::unique_ptr<OdbcStatement> statement;
    try {
        // The first row is read with the statement: until it comes, a lock met is waited for and
        // the statement may be sent again, as no row has been handed out.
        statement = login.call(
            [&](OdbcStatement& attempt) {
                attempt.execute(sql);
                attempt.fetchAhead();
            },
            OdbcSession::Resend::WhileWaiting);
    } catch (const DbError&) {
        lendBack();
        throw;
    }
    ++m_cursors;
    return std::make_unique<OdbcCursor>(
        std::move(statement),
        [this] {
            --m_cursors;
            lendBack();
        },
        [locked = login.locked()](const DbError& e) { return e.number() == OdbcSession::Locked ? locked : e; });
}

void OdbcEngine::begin() {
    OdbcSession& login = session();
    try {
        login.begin();
    } catch (const DbError&) {
        lendBack();
        throw;
    }
    m_transaction = true;
}

void OdbcEngine::commit() {
    session().commit();
    m_transaction = false;
    lendBack();
}

void OdbcEngine::rollback() {
    m_transaction = false;
    if (!m_session)
        return;
    const auto lend = qScopeGuard([this] { lendBack(); });
    m_session->rollback();
}

} // namespace db
