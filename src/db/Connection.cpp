#include "db/Connection.h"

#include "db/ConnectionError.h"
#include "db/ConnectionString.h"
#include "db/EnginePool.h"
#include "db/StatementLog.h"
#include "db/embedded/EmbeddedEngine.h"
#include "db/odbc/OdbcEngine.h"

#include <QDir>
#include <optional>

namespace db {

namespace {

const QString Source = QStringLiteral("Talvane data layer");
const QLatin1String EmbeddedPrefix("sqlite:");

// The numbers a client reports for transaction calls out of turn.
constexpr int TransactionExists = -2147168237;
constexpr int NoTransaction = -2147168242;

} // namespace

std::shared_ptr<Connection> Connection::open(const QString& connectionString, int loginTimeoutSeconds) {
    const ConnectionString attributes = ConnectionString::parse(connectionString);
    const QString server = attributes.value(QStringLiteral("Server"));
    std::shared_ptr<Connection> connection(new Connection());
    connection->m_connectionString = connectionString;
    try {
        if (server.startsWith(EmbeddedPrefix, Qt::CaseInsensitive)) {
            const QString directory = server.mid(EmbeddedPrefix.size());
            const QString database = attributes.value(QStringLiteral("DATABASE"));
            connection->m_poolKey = QDir(directory).absolutePath() + QLatin1Char('|') + database.toLower();
            connection->m_engine = EnginePool::take(connection->m_poolKey);
            if (!connection->m_engine)
                connection->m_engine = std::make_unique<EmbeddedEngine>(directory, database);
        } else
            connection->m_engine = std::make_unique<OdbcEngine>(attributes, loginTimeoutSeconds);
    } catch (const DbError& e) {
        // The server answered: a database file locked by another session or read-only is no
        // reason to doubt the login profile.
        if (e.number() == DatabaseFiles::Locked || e.number() == DatabaseFiles::ReadOnly)
            throw;
        throw ConnectionError(e, server);
    }
    return connection;
}

Connection::~Connection() {
    // Closing an ODBC connection with an open transaction fails and leaves it open on the server.
    if (m_inTransaction) {
        try {
            m_engine->rollback();
        } catch (...) {
            // The connection goes away anyway, and with it the transaction.
        }
    }
    if (!m_poolKey.isEmpty())
        EnginePool::give(m_poolKey, std::move(m_engine));
}

void Connection::execute(const QString& sql) {
    StatementLog::pass(sql);
    m_engine->run(sql, {});
}

ResultRows Connection::query(const QString& sql) {
    StatementLog::pass(sql);
    return m_engine->run(sql, {}).rows;
}

std::unique_ptr<Cursor> Connection::openCursor(const QString& sql) {
    StatementLog::pass(sql);
    return m_engine->openCursor(sql);
}

void Connection::executeBound(const QString& sql, const QList<QVariant>& values) {
    executeCounted(sql, values);
}

int Connection::executeCounted(const QString& sql, const QList<QVariant>& values) {
    StatementLog::pass(sql, values);
    return m_engine->run(sql, values).rowsAffected;
}

void Connection::executeBatch(const QStringList& statements) {
    if (!m_inTransaction) {
        for (const QString& sql : statements)
            execute(sql);
        return;
    }
    QStringList passed;
    passed.reserve(statements.size());
    std::optional<DbError> injected;
    for (const QString& sql : statements) {
        try {
            StatementLog::pass(sql);
        } catch (const DbError& e) {
            injected = e;
            break;
        }
        passed.append(sql);
    }
    if (!passed.isEmpty())
        m_engine->runBatch(passed);
    if (injected)
        throw *injected;
}

void Connection::beginTrans() {
    if (m_inTransaction && m_engine->transactionActive())
        throw DbError(TransactionExists, QStringLiteral("Only one transaction can be active on this session."), Source);
    m_engine->begin();
    m_inTransaction = true;
}

void Connection::commitTrans() {
    if (!m_inTransaction)
        throw DbError(NoTransaction, QStringLiteral("No transaction is active."), Source);
    try {
        m_engine->commit();
    } catch (const DbError&) {
        m_inTransaction = m_engine->transactionActive();
        throw;
    }
    m_inTransaction = false;
}

void Connection::rollbackTrans() {
    if (!m_inTransaction)
        throw DbError(NoTransaction, QStringLiteral("No transaction is active."), Source);
    try {
        m_engine->rollback();
    } catch (const DbError&) {
        m_inTransaction = m_engine->transactionActive();
        throw;
    }
    m_inTransaction = false;
}

bool Connection::isEmbedded() const {
    return m_engine->isEmbedded();
}

} // namespace db
