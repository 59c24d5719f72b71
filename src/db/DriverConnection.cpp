#include "db/DriverConnection.h"

#include <QAtomicInteger>
#include <QMetaType>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

namespace db {

namespace {

QString nextConnectionName() {
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("talvane-db-%1").arg(counter.fetchAndAddRelaxed(1) + 1);
}

// Whether the values of a result column compare exactly on the server, so that a record set can
// find its row again by them: not so for floating point, dates and times.
bool isComparable(const QSqlField& field) {
    switch (field.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::QDate:
    case QMetaType::QTime:
    case QMetaType::QDateTime:
        return false;
    default:
        return true;
    }
}

} // namespace

DriverConnection::DriverConnection(const QString& driver, QString source)
    : m_connectionName(nextConnectionName()), m_db(QSqlDatabase::addDatabase(driver, m_connectionName)),
      m_source(std::move(source)) {}

DriverConnection::~DriverConnection() {
    m_db.close();
    // removeDatabase wants every QSqlDatabase and QSqlQuery of the connection gone first.
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

StatementResult DriverConnection::run(const QString& text, const QList<QVariant>& values) {
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    bool ok;
    if (values.isEmpty()) {
        ok = query.exec(text);
    } else {
        ok = query.prepare(text);
        for (const QVariant& value : values)
            // A typed Null binds on every driver; an invalid variant does not on all of them.
            query.addBindValue(value.isValid() ? value : QVariant(QMetaType::fromType<QString>()));
        ok = ok && query.exec();
    }
    if (!ok)
        throw errorOf(query.lastError());
    StatementResult result;
    if (query.isSelect()) {
        const QSqlRecord record = query.record();
        const int columns = record.count();
        for (int i = 0; i < columns; ++i) {
            result.rows.columns.append(record.fieldName(i));
            result.rows.comparable.append(isComparable(record.field(i)));
        }
        while (query.next()) {
            QList<QVariant> row;
            row.reserve(columns);
            for (int i = 0; i < columns; ++i)
                row.append(query.isNull(i) ? QVariant() : query.value(i));
            result.rows.rows.append(std::move(row));
        }
        if (query.lastError().isValid())
            throw errorOf(query.lastError());
    }
    result.rowsAffected = query.numRowsAffected();
    query.finish();
    return result;
}

DbError DriverConnection::errorOf(const QSqlError& error) const {
    bool numeric = false;
    const int native = error.nativeErrorCode().trimmed().toInt(&numeric);
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    return DbError(numeric ? native : DbError::GeneralError, text, m_source);
}

} // namespace db
