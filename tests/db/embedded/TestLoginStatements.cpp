#include "support/TinyServer.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/embedded/LoginStatement.h"

#include <QTest>

using db::Connection;
using db::DbError;
using db::LoginStatement;

namespace {

// The login statements exactly as the user store builds them.
QString addLogin(const QString& code, const QString& password) {
    return QStringLiteral(" EXEC sp_addlogin '") + code + QStringLiteral("', '") + password + QStringLiteral("'");
}

QString alterLogin(const QString& code, const QString& password) {
    return QStringLiteral("  IF EXISTS (SELECT * FROM sys.server_principals WHERE name = N'") + code +
           QStringLiteral("')") + QStringLiteral("        ALTER LOGIN [") + code +
           QStringLiteral("] WITH PASSWORD = N'") + password + QStringLiteral("'");
}

// The same with the user code escaped for each kind of quote it goes into.
QString alterLoginEscaped(const QString& code, const QString& password) {
    QString literal = code;
    literal.replace(QLatin1String("'"), QLatin1String("''"));
    QString bracketed = code;
    bracketed.replace(QLatin1String("]"), QLatin1String("]]"));
    return QStringLiteral("  IF EXISTS (SELECT * FROM sys.server_principals WHERE name = N'") + literal +
           QStringLiteral("')") + QStringLiteral("        ALTER LOGIN [") + bracketed +
           QStringLiteral("] WITH PASSWORD = N'") + password + QStringLiteral("'");
}

QString addToSysadmin(const QString& code) {
    return QStringLiteral(" EXEC sp_addsrvrolemember '") + code + QStringLiteral("', 'sysadmin'");
}

QString dropLogin(const QString& code) {
    return QStringLiteral(" EXEC sp_droplogin '") + code + QStringLiteral("'");
}

QString dropUser(const QString& code) {
    return QStringLiteral(" EXEC sp_dropuser '") + code + QStringLiteral("'");
}

} // namespace

class TestLoginStatements : public QObject {
    Q_OBJECT

private:
    TinyServer* m_server = nullptr;
    std::shared_ptr<Connection> m_c;

    int errorOf(const QString& sql) {
        try {
            m_c->execute(sql);
        } catch (const DbError& e) {
            return e.number();
        }
        return 0;
    }

    QVariant password(const QString& login) {
        return m_server->run(QStringLiteral("master"),
                             {QStringLiteral("SELECT password_b64 FROM server_principals WHERE name = '%1'")
                                  .arg(QString(login).replace(QLatin1String("'"), QLatin1String("''")))});
    }

    int logins() {
        return m_server->scalar(QStringLiteral("master"), QStringLiteral("SELECT count(*) FROM server_principals"))
            .toInt();
    }

    int sysadmins() {
        return m_server
            ->scalar(QStringLiteral("master"),
                     QStringLiteral("SELECT count(*) FROM server_role_members WHERE role = 'sysadmin'"))
            .toInt();
    }

private slots:
    void init() {
        m_server = new TinyServer;
        m_server->createDatabase(QStringLiteral("suite"), {QStringLiteral("CREATE TABLE t (a int)")});
        m_c = Connection::open(m_server->connectionString());
    }

    void cleanup() {
        m_c.reset();
        delete m_server;
    }

    void parsesTheStatementsOfTheUserStore() {
        const auto add = LoginStatement::parse(addLogin(QStringLiteral("ion"), QStringLiteral("cGFzcw==")));
        QVERIFY(add);
        QCOMPARE(add->kind, LoginStatement::AddLogin);
        QCOMPARE(add->name, QStringLiteral("ion"));
        QCOMPARE(add->password, QStringLiteral("cGFzcw=="));

        const auto alter = LoginStatement::parse(alterLoginEscaped(QStringLiteral("o'neil]x"), QStringLiteral("cHc=")));
        QVERIFY(alter);
        QCOMPARE(alter->kind, LoginStatement::AlterLoginPassword);
        QCOMPARE(alter->onlyIfExists.value_or(QString()), QStringLiteral("o'neil]x"));
        QCOMPARE(alter->name, QStringLiteral("o'neil]x"));
        QCOMPARE(alter->password, QStringLiteral("cHc="));

        const auto role = LoginStatement::parse(addToSysadmin(QStringLiteral("it''s")));
        QVERIFY(role);
        QCOMPARE(role->kind, LoginStatement::AddServerRoleMember);
        QCOMPARE(role->name, QStringLiteral("it's"));
        QCOMPARE(role->role, QStringLiteral("sysadmin"));

        QCOMPARE(LoginStatement::parse(dropLogin(QStringLiteral("ion")))->kind, LoginStatement::DropLogin);
        QCOMPARE(LoginStatement::parse(dropUser(QStringLiteral("ion")))->kind, LoginStatement::DropUser);
        QVERIFY(!LoginStatement::parse(QStringLiteral("Select * From t")));
        QVERIFY(!LoginStatement::parse(QStringLiteral("ALTER TABLE t ADD b int")));
    }

    void newLoginIsCreatedAndAddedToSysadmin() {
        QCOMPARE(errorOf(addLogin(QStringLiteral("ion"), QStringLiteral("cGFzcw=="))), 0);
        QCOMPARE(errorOf(alterLogin(QStringLiteral("ion"), QStringLiteral("cGFzcw=="))), 0);
        QCOMPARE(errorOf(addToSysadmin(QStringLiteral("ion"))), 0);
        QCOMPARE(password(QStringLiteral("ion")).toString(), QStringLiteral("cGFzcw=="));
        QCOMPARE(sysadmins(), 1);
        // Being added again changes nothing.
        QCOMPARE(errorOf(addToSysadmin(QStringLiteral("ION"))), 0);
        QCOMPARE(sysadmins(), 1);
    }

    void existingLoginGetsItsPasswordChangedThroughAlter() {
        m_c->execute(addLogin(QStringLiteral("Ion"), QStringLiteral("b2xk")));
        QCOMPARE(errorOf(addLogin(QStringLiteral("ION"), QStringLiteral("bmV3"))), 15025);
        QCOMPARE(password(QStringLiteral("Ion")).toString(), QStringLiteral("b2xk"));
        QCOMPARE(errorOf(alterLogin(QStringLiteral("ion"), QStringLiteral("bmV3"))), 0);
        QCOMPARE(password(QStringLiteral("Ion")).toString(), QStringLiteral("bmV3"));
        QCOMPARE(logins(), 1);
    }

    void alterOfAMissingLoginDoesNothing() {
        QCOMPARE(errorOf(alterLogin(QStringLiteral("ghost"), QStringLiteral("cHc="))), 0);
        QCOMPARE(logins(), 0);
        // Without its IF EXISTS guard the same change fails.
        QCOMPARE(errorOf(QStringLiteral("ALTER LOGIN [ghost] WITH PASSWORD = N'cHc='")), 15151);
    }

    void missingLoginsFailLikeTheServer() {
        QCOMPARE(errorOf(addToSysadmin(QStringLiteral("ghost"))), 15007);
        QCOMPARE(errorOf(dropLogin(QStringLiteral("ghost"))), 15151);
        QCOMPARE(errorOf(dropUser(QStringLiteral("ghost"))), 15008);
        QCOMPARE(errorOf(QStringLiteral(" EXEC sp_addsrvrolemember 'ghost', 'nosuchrole'")), 15412);
        QCOMPARE(sysadmins(), 0);
    }

    void droppingALoginRemovesItsMemberships() {
        m_c->execute(addLogin(QStringLiteral("ion"), QStringLiteral("cHc=")));
        m_c->execute(addToSysadmin(QStringLiteral("ion")));
        QCOMPARE(errorOf(dropLogin(QStringLiteral("ION"))), 0);
        QCOMPARE(logins(), 0);
        QCOMPARE(sysadmins(), 0);
        QCOMPARE(errorOf(dropUser(QStringLiteral("ion"))), 15008);
    }

    void quotesAndBracketsInCodesAreUndone() {
        const QString code = QStringLiteral("o'neil]x");
        QString literal = code;
        literal.replace(QLatin1String("'"), QLatin1String("''"));
        QCOMPARE(errorOf(addLogin(literal, QStringLiteral("b2xk"))), 0);
        QCOMPARE(errorOf(alterLoginEscaped(code, QStringLiteral("bmV3"))), 0);
        QCOMPARE(password(code).toString(), QStringLiteral("bmV3"));
        QCOMPARE(errorOf(addToSysadmin(literal)), 0);
        QCOMPARE(sysadmins(), 1);
        QCOMPARE(errorOf(dropLogin(literal)), 0);
        QCOMPARE(logins(), 0);
    }

    // A renamed login keeps its password and its server roles; a name taken by another login, a
    // missing login and a transaction are refused as the server refuses them.
    void renamingALoginKeepsWhatItHad() {
        m_c->execute(addLogin(QStringLiteral("ion"), QStringLiteral("cHc=")));
        m_c->execute(addToSysadmin(QStringLiteral("ion")));
        m_c->execute(addLogin(QStringLiteral("dan"), QStringLiteral("ZGFu")));
        QCOMPARE(errorOf(QStringLiteral("ALTER LOGIN [ion] WITH NAME = [Ștefan]]x]")), 0);
        QCOMPARE(password(QStringLiteral("Ștefan]x")).toString(), QStringLiteral("cHc="));
        QCOMPARE(m_server
                     ->scalar(QStringLiteral("master"),
                              QStringLiteral("SELECT member FROM server_role_members WHERE role = 'sysadmin'"))
                     .toString(),
                 QStringLiteral("Ștefan]x"));
        QCOMPARE(errorOf(QStringLiteral("ALTER LOGIN [dan] WITH NAME = [ȘTEFAN]]X]")), 15025);
        QCOMPARE(errorOf(QStringLiteral("ALTER LOGIN [ion] WITH NAME = [nou]")), 15151);
        QCOMPARE(errorOf(QStringLiteral("ALTER LOGIN [dan] WITH NAME = [DAN]")), 0);
        m_c->beginTrans();
        QCOMPARE(errorOf(QStringLiteral("ALTER LOGIN [DAN] WITH NAME = [dana]")), 574);
        m_c->rollbackTrans();
        QCOMPARE(logins(), 2);
        QCOMPARE(password(QStringLiteral("DAN")).toString(), QStringLiteral("ZGFu"));
    }

    void loginProceduresRefuseToRunInsideATransaction() {
        m_c->beginTrans();
        QCOMPARE(errorOf(addLogin(QStringLiteral("ion"), QStringLiteral("cHc="))), 15002);
        QCOMPARE(errorOf(dropLogin(QStringLiteral("ion"))), 15002);
        QCOMPARE(errorOf(alterLogin(QStringLiteral("ion"), QStringLiteral("cHc="))), 574);
        m_c->rollbackTrans();
        QCOMPARE(logins(), 0);
    }

    void unknownProceduresAndFormsFailClearly() {
        QCOMPARE(errorOf(QStringLiteral("EXEC sp_who")), 2812);
        QCOMPARE(errorOf(QStringLiteral("EXEC sp_addlogin ion, 'pw'")), DbError::GeneralError);
        QCOMPARE(errorOf(QStringLiteral("IF 1 = 1 ALTER LOGIN [ion] WITH PASSWORD = N'pw'")), DbError::GeneralError);
        QCOMPARE(errorOf(QStringLiteral("ALTER LOGIN [ion] DISABLE")), DbError::GeneralError);
        QCOMPARE(logins(), 0);
    }

    void loginsArePartOfTheServerNotOfADatabase() {
        m_c->execute(addLogin(QStringLiteral("ion"), QStringLiteral("cHc=")));
        m_server->createDatabase(QStringLiteral("other"), {QStringLiteral("CREATE TABLE t (a int)")});
        auto other = Connection::open(m_server->connectionString(QStringLiteral("other")));
        QCOMPARE(other->query(QStringLiteral("SELECT count(*) FROM sys.server_principals WHERE name = N'ION'"))
                     .rows.value(0)
                     .value(0)
                     .toInt(),
                 1);
        auto master = Connection::open(m_server->connectionString(QStringLiteral("master")));
        QVERIFY_THROWS_EXCEPTION(DbError, master->execute(addLogin(QStringLiteral("ion"), QString())));
        QCOMPARE(master->query(QStringLiteral("SELECT count(*) FROM master..sysDatabases")).rows[0][0].toInt(), 3);
    }
};

QTEST_GUILESS_MAIN(TestLoginStatements)
#include "TestLoginStatements.moc"
