#pragma once

#include "db/DbError.h"
#include "db/Engine.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

class QSqlError;
class QSqlField;

namespace db {

// A uniquely named connection of one Qt SQL driver, removed from Qt's list when destroyed.
class DriverConnection {
public:
    // The connection is made, not opened; errors it reports carry source.
    DriverConnection(const QString& driver, QString source);
    ~DriverConnection();
    DriverConnection(const DriverConnection&) = delete;
    DriverConnection& operator=(const DriverConnection&) = delete;

    QSqlDatabase& database() { return m_db; }
    const QSqlDatabase& database() const { return m_db; }

    // Runs text on the driver as it is, with positional "?" values bound; every row of its result
    // is read and the statement finished before this returns. Raises DbError.
    StatementResult run(const QString& text, const QList<QVariant>& values);

    // The driver's error as a DbError: its native number where it has one, and its message.
    DbError errorOf(const QSqlError& error) const;

private:
    QString m_connectionName;
    QSqlDatabase m_db;
    QString m_source;
};

} // namespace db
