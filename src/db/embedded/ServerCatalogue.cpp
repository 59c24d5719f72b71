#include "db/embedded/ServerCatalogue.h"

#include "db/DbError.h"
#include "db/embedded/EmbeddedEngine.h"
#include "db/embedded/LoginStatement.h"

#include <QSet>

namespace db {

namespace {

const QString Source = QStringLiteral("Talvane embedded server");

struct Table {
    const char* name;
    const char* definition;
};

const Table Tables[] = {
    {"sysDatabases", "(name TEXT NOT NULL PRIMARY KEY COLLATE NOCASE)"},
    {"server_principals", "(name TEXT NOT NULL PRIMARY KEY COLLATE NOCASE, password_b64 TEXT NOT NULL DEFAULT '', "
                          "type TEXT NOT NULL DEFAULT 'S', create_date TEXT, modify_date TEXT)"},
    {"server_role_members", "(role TEXT NOT NULL COLLATE NOCASE, member TEXT NOT NULL COLLATE NOCASE, "
                            "PRIMARY KEY (role, member))"},
};

const char* const FixedServerRoles[] = {"sysadmin",   "serveradmin", "securityadmin", "processadmin",
                                        "setupadmin", "bulkadmin",   "diskadmin",     "dbcreator"};

// The catalogue's own transaction around a change of several rows.
template <typename Body> void inTransaction(EmbeddedEngine& engine, Body&& body) {
    engine.begin();
    try {
        body();
        engine.commit();
    } catch (...) {
        engine.rollback();
        throw;
    }
}

int count(EmbeddedEngine& engine, const QString& sql, const QList<QVariant>& values) {
    return engine.runNative(sql, values).rows.rows.value(0).value(0).toInt();
}

class Carrier {
public:
    Carrier(EmbeddedEngine& engine, const LoginStatement& s)
        : m_engine(engine), m_s(s), m_principals(engine.catalogueSchema() + QLatin1String(".server_principals")),
          m_members(engine.catalogueSchema() + QLatin1String(".server_role_members")) {}

    void run() {
        refuseInsideTransaction();
        switch (m_s.kind) {
        case LoginStatement::AddLogin:
            addLogin();
            break;
        case LoginStatement::AlterLoginPassword:
            alterLogin();
            break;
        case LoginStatement::RenameLogin:
            renameLogin();
            break;
        case LoginStatement::AddServerRoleMember:
            addRoleMember();
            break;
        case LoginStatement::DropLogin:
            dropLogin();
            break;
        case LoginStatement::DropUser:
            // The embedded server keeps no database users, so there is never one to drop.
            fail(15008, QStringLiteral("User '%1' does not exist in the current database.").arg(m_s.name));
        }
    }

private:
    [[noreturn]] static void fail(int number, const QString& message) { throw DbError(number, message, Source); }

    void refuseInsideTransaction() {
        if (!m_engine.transactionActive())
            return;
        if (m_s.kind == LoginStatement::AlterLoginPassword || m_s.kind == LoginStatement::RenameLogin)
            fail(574, QStringLiteral("ALTER LOGIN statement not allowed within multi-statement transaction."));
        fail(15002, QStringLiteral("The procedure '%1' cannot be executed within a transaction.").arg(m_s.procedure));
    }

    bool exists(const QString& name) {
        return count(m_engine, QStringLiteral("SELECT count(*) FROM %1 WHERE name = ?").arg(m_principals), {name}) > 0;
    }

    void addLogin() {
        if (m_s.name.trimmed().isEmpty())
            fail(15006,
                 QStringLiteral("'%1' is not a valid name because it contains invalid characters.").arg(m_s.name));
        const int added = m_engine
                              .runNative(QStringLiteral("INSERT INTO %1 (name, password_b64, type, create_date, "
                                                        "modify_date) SELECT ?, ?, 'S', getdate(), getdate() "
                                                        "WHERE NOT EXISTS (SELECT 1 FROM %1 WHERE name = ?)")
                                             .arg(m_principals),
                                         {m_s.name, m_s.password, m_s.name})
                              .rowsAffected;
        if (added == 0)
            fail(15025, QStringLiteral("The server principal '%1' already exists.").arg(m_s.name));
    }

    void alterLogin() {
        if (m_s.onlyIfExists && !exists(*m_s.onlyIfExists))
            return;
        const int changed =
            m_engine
                .runNative(QStringLiteral("UPDATE %1 SET password_b64 = ?, modify_date = getdate() WHERE name = ?")
                               .arg(m_principals),
                           {m_s.password, m_s.name})
                .rowsAffected;
        if (changed == 0)
            fail(15151, QStringLiteral("Cannot alter the login '%1', because it does not exist or you do not have "
                                       "permission.")
                            .arg(m_s.name));
    }

    // The login keeps its password and its server roles under the new name.
    void renameLogin() {
        if (!exists(m_s.name))
            fail(15151, QStringLiteral("Cannot alter the login '%1', because it does not exist or you do not have "
                                       "permission.")
                            .arg(m_s.name));
        if (m_s.newName.trimmed().isEmpty())
            fail(15006,
                 QStringLiteral("'%1' is not a valid name because it contains invalid characters.").arg(m_s.newName));
        // Only a change of case may keep the name the catalogue compares as the same.
        if (m_s.newName.compare(m_s.name, Qt::CaseInsensitive) != 0 && exists(m_s.newName))
            fail(15025, QStringLiteral("The server principal '%1' already exists.").arg(m_s.newName));
        inTransaction(m_engine, [&] {
            m_engine.runNative(
                QStringLiteral("UPDATE %1 SET name = ?, modify_date = getdate() WHERE name = ?").arg(m_principals),
                {m_s.newName, m_s.name});
            m_engine.runNative(QStringLiteral("UPDATE %1 SET member = ? WHERE member = ?").arg(m_members),
                               {m_s.newName, m_s.name});
        });
    }

    void addRoleMember() {
        const QString role = m_s.role.toLower();
        const bool known = std::any_of(std::begin(FixedServerRoles), std::end(FixedServerRoles),
                                       [&](const char* r) { return role == QLatin1String(r); });
        if (!known)
            fail(15412, QStringLiteral("'%1' is not a known fixed role.").arg(m_s.role));
        if (!exists(m_s.name))
            fail(15007, QStringLiteral("'%1' is not a valid login or you do not have permission.").arg(m_s.name));
        // A login that already is a member stays one; SQL Server does not complain either.
        m_engine.runNative(QStringLiteral("INSERT OR IGNORE INTO %1 (role, member) SELECT ?, name FROM %2 "
                                          "WHERE name = ?")
                               .arg(m_members, m_principals),
                           {role, m_s.name});
    }

    void dropLogin() {
        inTransaction(m_engine, [&] {
            const int dropped =
                m_engine.runNative(QStringLiteral("DELETE FROM %1 WHERE name = ?").arg(m_principals), {m_s.name})
                    .rowsAffected;
            if (dropped == 0)
                fail(15151, QStringLiteral("Cannot drop the login '%1', because it does not exist or you do not "
                                           "have permission.")
                                .arg(m_s.name));
            m_engine.runNative(QStringLiteral("DELETE FROM %1 WHERE member = ?").arg(m_members), {m_s.name});
        });
    }

    EmbeddedEngine& m_engine;
    const LoginStatement& m_s;
    const QString m_principals;
    const QString m_members;
};

} // namespace

void ServerCatalogue::prepare(EmbeddedEngine& engine, const QStringList& databases) {
    const QString schema = engine.catalogueSchema();
    QSet<QString> present;
    for (const auto& row :
         engine.runNative(QStringLiteral("SELECT name FROM %1.sqlite_master WHERE type = 'table'").arg(schema))
             .rows.rows)
        present.insert(row.value(0).toString().toLower());
    QStringList missing;
    for (const Table& t : Tables)
        if (!present.contains(QString::fromLatin1(t.name).toLower()))
            missing.append(QStringLiteral("CREATE TABLE IF NOT EXISTS %1.%2 %3")
                               .arg(schema, QLatin1String(t.name), QLatin1String(t.definition)));

    QStringList listed;
    if (missing.isEmpty())
        for (const auto& row :
             engine.runNative(QStringLiteral("SELECT name FROM %1.sysDatabases").arg(schema)).rows.rows)
            listed.append(row.value(0).toString());
    QStringList wanted = databases;
    wanted.sort(Qt::CaseInsensitive);
    listed.sort(Qt::CaseInsensitive);
    // Most connections find the catalogue as it should be and write nothing.
    if (missing.isEmpty() && listed == wanted)
        return;
    inTransaction(engine, [&] {
        for (const QString& create : missing)
            engine.runNative(create);
        engine.runNative(QStringLiteral("DELETE FROM %1.sysDatabases").arg(schema));
        for (const QString& name : wanted)
            engine.runNative(QStringLiteral("INSERT OR IGNORE INTO %1.sysDatabases (name) VALUES (?)").arg(schema),
                             {name});
    });
}

void ServerCatalogue::carryOut(EmbeddedEngine& engine, const LoginStatement& statement) {
    Carrier(engine, statement).run();
}

} // namespace db
