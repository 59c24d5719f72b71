#pragma once

#include <QAtomicInteger>
#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <stdexcept>

// A small embedded server in a temporary directory, built with raw SQLite, for the data layer's
// own tests (they must not depend on the demo schema).
class TinyServer {
public:
    // Creates <name>.db and runs the statements on it, as plain SQLite.
    void createDatabase(const QString& name, const QStringList& statements = {}) { run(name, statements); }

    // Runs plain SQLite statements on <name>.db; answers the first column of the last row read.
    QVariant run(const QString& name, const QStringList& statements) {
        static QAtomicInteger<int> counter;
        const QString connection = QStringLiteral("tiny-server-%1").arg(counter.fetchAndAddRelaxed(1));
        QVariant last;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
            db.setDatabaseName(path(name));
            if (!db.open())
                throw std::runtime_error(db.lastError().text().toStdString());
            for (const QString& sql : statements) {
                QSqlQuery q(db);
                if (!q.exec(sql))
                    throw std::runtime_error((sql + QLatin1String(": ") + q.lastError().text()).toStdString());
                while (q.next())
                    last = q.value(0);
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(connection);
        return last;
    }

    QVariant scalar(const QString& name, const QString& sql) { return run(name, {sql}); }

    QString path(const QString& name) const { return QDir(m_dir.path()).filePath(name + QLatin1String(".db")); }
    QString directory() const { return m_dir.path(); }

    // The tool's ODBC-form string, pointed at this server.
    QString connectionString(const QString& database = QStringLiteral("suite")) const {
        return QStringLiteral("DRIVER=SQL Server;UID=sa;pwd=x;DATABASE=%1;Server=sqlite:%2")
            .arg(database, m_dir.path());
    }

private:
    QTemporaryDir m_dir;
};
