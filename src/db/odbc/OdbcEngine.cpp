#include "db/odbc/OdbcEngine.h"

#include <QSqlError>
#include <QSqlField>

namespace db {

namespace {

const QString Source = QStringLiteral("ODBC SQL Server Driver");

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
    : Engine(QStringLiteral("QODBC"), Source) {
    QSqlDatabase& db = database();
    // The whole string is ours: Qt would append a user name and password last, unescaped.
    db.setDatabaseName(odbcConnectionString(attributes));
    db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1").arg(qMax(0, loginTimeoutSeconds)));
    if (!db.open())
        throw errorOf(db.lastError());
}

StatementResult OdbcEngine::run(const QString& sql, const QList<QVariant>& values) {
    return runOnDriver(sql, values);
}

bool OdbcEngine::isComparable(const QSqlField& field) const {
    // SQL Server cannot compare its long types (SQL_LONGVARCHAR, SQL_WLONGVARCHAR,
    // SQL_LONGVARBINARY) with "=".
    const int odbcType = field.typeID();
    return Engine::isComparable(field) && odbcType != -1 && odbcType != -10 && odbcType != -4;
}

void OdbcEngine::begin() {
    if (!database().transaction())
        throw errorOf(database().lastError());
    m_transaction = true;
}

void OdbcEngine::commit() {
    if (!database().commit())
        throw errorOf(database().lastError());
    m_transaction = false;
}

void OdbcEngine::rollback() {
    const bool ok = database().rollback();
    m_transaction = false;
    if (!ok)
        throw errorOf(database().lastError());
}

} // namespace db
