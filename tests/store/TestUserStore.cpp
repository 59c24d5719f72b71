#include "db/DbError.h"
#include "db/SharedConnection.h"
#include "db/StatementLog.h"
#include "store/Base64Encode.h"
#include "store/UserStore.h"
#include "support/FixtureRows.h"
#include "support/TempServer.h"

#include <QDate>
#include <QTest>
#include <memory>

using store::DropUser;
using store::StoreUser;

namespace {

QString today() {
    return QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
}

// The date as the link tables hold it; the statements write it as a "yyyyMMdd" literal.
QString storedToday() {
    return QDate::currentDate().toString(Qt::ISODate);
}

QString membership(int usID, int grID) {
    return QStringLiteral(" Insert Into admUserGrup (usID,grID,IdOperator,DataAct) Values (%1,%2,55,'%3')")
        .arg(usID)
        .arg(grID)
        .arg(today());
}

QStringList loginStatements(const QString& name, const QString& bracketName, const QString& password) {
    return {QStringLiteral(" EXEC sp_addlogin N'%1', N'%2'").arg(name, password),
            QStringLiteral("  IF EXISTS (SELECT * FROM sys.server_principals WHERE name = N'%1')        ALTER LOGIN "
                           "[%2] WITH PASSWORD = N'%3'")
                .arg(name, bracketName, password),
            QStringLiteral(" EXEC sp_addsrvrolemember N'%1', N'sysadmin'").arg(name)};
}

// The recorded statements that write, in order: the reads around them (checks of the code and of
// the login, the ids of the rows to replace) are left out.
QStringList recordedWrites() {
    QStringList writes;
    for (const QString& sql : TempServer::recordedStatements())
        if (!sql.trimmed().startsWith(QLatin1String("select"), Qt::CaseInsensitive) ||
            sql.startsWith(QLatin1String("Select max(")) || sql.startsWith(QLatin1String("Select * ")))
            writes << sql;
    return writes;
}

} // namespace

class TestUserStore : public QObject {
    Q_OBJECT

    std::unique_ptr<TempServer> m_server;

    QString login(const QString& name) const {
        return m_server->value("master", "SELECT password_b64 FROM server_principals WHERE name = ?", {name})
            .toString();
    }
    bool isSysadmin(const QString& name) const {
        return m_server
                   ->value("master", "SELECT count(*) FROM server_role_members WHERE role = 'sysadmin' AND member = ?",
                           {name})
                   .toInt() == 1;
    }

private slots:
    void init() {
        m_server = std::make_unique<TempServer>();
        FixtureRows(*m_server)
            .group(1, "ADM")
            .group(2, "VANZ")
            .group(3, "CONTAB")
            .person(10, "Ionescu", "Maria")
            .person(11, "Pop", QString())
            .person(12, "Avram", "Ion");
    }
    void cleanup() {
        db::StatementLog::stopRecording();
        db::StatementLog::clearFailure();
        m_server.reset();
    }

    // A new user on an empty table gets id 1: row, person link and memberships, in this order,
    // with the login created before the transaction and the Base64 text as its password.
    void newUserWithPassword() {
        int usID = 0;
        db::StatementLog::startRecording();
        QVERIFY(StoreUser(usID, 10, "maria.ionescu", "Maria Ionescu", "SUITE", "mionescu", {"1", "3"}, "Parolă1"));
        db::StatementLog::stopRecording();
        QCOMPARE(usID, 1);

        const QString password = QStringLiteral("UGFyb2zjMQ==");
        QStringList expected = loginStatements("maria.ionescu", "maria.ionescu", password);
        expected << "Select max(usID) From AdmUser WITH (UPDLOCK, HOLDLOCK)"
                 << "Select * From AdmUser Where usID = 0"
                 << "<write AdmUser>"
                 << "Update PSR_Pers Set usID = 0 Where usID = 1"
                 << "Update PSR_Pers Set usID = 1 Where IdPers = 10"
                 << " Delete From CRM_User Where UserId = 1"
                 << " Delete From admUserGrup Where usID = 1" << membership(1, 1) << membership(1, 3);
        QCOMPARE(recordedWrites(), expected);

        const QVariantList row = m_server->rows("suitedb", "SELECT * FROM admUser").value(0);
        QCOMPARE(row.mid(0, 6), QVariantList({1, "maria.ionescu", "Maria Ionescu", "SUITE", "mionescu", 55}));
        QVERIFY(row.at(6).toString().startsWith(QDate::currentDate().toString(Qt::ISODate)));
        QCOMPARE(m_server->tableRows("suitedb", "admUserGrup"),
                 QStringList({"1 | 1 | 55 | " + storedToday(), "1 | 3 | 55 | " + storedToday()}));
        QCOMPARE(m_server->tableRows("suitedb", "PSR_Pers"),
                 QStringList({"10 | Ionescu | Maria | 1", "11 | Pop | NULL | 0", "12 | Avram | Ion | 0"}));
        QCOMPARE(login("maria.ionescu"), password);
        QVERIFY(isSysadmin("maria.ionescu"));
    }

    // An existing user: its row is rewritten in place, and a new password reaches the existing
    // login through ALTER LOGIN although adding the login fails, once the rows are written.
    void existingUserNewPassword() {
        FixtureRows(*m_server).user(7, "ana", "Ana").user(8, "dan").member(7, 2).member(8, 2);
        int usID = 7;
        QVERIFY(StoreUser(usID, 12, "ana", "Ana Avram", "DOM", "aa", {"1"}, "prima"));
        QCOMPARE(login("ana"), Base64Encode("prima"));
        QVERIFY(StoreUser(usID, 12, "ana", "Ana Avram", "DOM", "aa", {"1"}, "a doua"));
        QCOMPARE(usID, 7);
        QCOMPARE(login("ana"), Base64Encode("a doua"));
        QCOMPARE(m_server->value("master", "SELECT count(*) FROM server_principals").toInt(), 1);
        QCOMPARE(m_server->value("suitedb", "SELECT count(*) FROM admUser").toInt(), 2);
        QCOMPARE(m_server->value("suitedb", "SELECT usDenumire FROM admUser WHERE usID = 7").toString(),
                 QStringLiteral("Ana Avram"));
        QCOMPARE(m_server->tableRows("suitedb", "admUserGrup"),
                 QStringList({"7 | 1 | 55 | " + storedToday(), "8 | 2 | 55 | 2025-03-07"}));

        // A save that fails (the user deleted elsewhere) leaves the login's password as it was.
        m_server->exec("suitedb", "DELETE FROM admUser WHERE usID = 7");
        QVERIFY_THROWS_EXCEPTION(db::DbError, StoreUser(usID, 12, "ana", "Ana", "", "", {}, "a treia"));
        QCOMPARE(login("ana"), Base64Encode("a doua"));
    }

    // With no password nothing touches the logins; no groups removes every membership.
    void emptyPasswordAndNoGroups() {
        FixtureRows(*m_server).user(4, "ion").member(4, 1).member(4, 2);
        int usID = 4;
        db::StatementLog::startRecording();
        QVERIFY(StoreUser(usID, 12, "ion", "Ion", "", "", {}, ""));
        db::StatementLog::stopRecording();
        const QStringList expected{
            "Select * From AdmUser Where usID = 4", "<write AdmUser>", "Update PSR_Pers Set usID = 0 Where usID = 4",
            "Update PSR_Pers Set usID = 4 Where IdPers = 12", " Delete From admUserGrup Where usID = 4"};
        QCOMPARE(recordedWrites(), expected);
        QCOMPARE(m_server->value("suitedb", "SELECT count(*) FROM admUserGrup").toInt(), 0);
        QCOMPARE(m_server->value("master", "SELECT count(*) FROM server_principals").toInt(), 0);
        // Empty texts are stored as empty texts, not as Null.
        QCOMPARE(m_server->value("suitedb", "SELECT typeof(usDomeniu) || typeof(usAlias) FROM admUser").toString(),
                 QStringLiteral("texttext"));
    }

    // Tying a user to a person unties any other person that pointed at it.
    void personLinkMoves() {
        FixtureRows(*m_server).user(4, "ion");
        m_server->exec("suitedb", "UPDATE PSR_Pers SET usID = 4 WHERE IdPers IN (10, 11)");
        int usID = 4;
        QVERIFY(StoreUser(usID, 12, "ion", "Ion", "", "", {}, ""));
        QCOMPARE(m_server->tableRows("suitedb", "PSR_Pers"),
                 QStringList({"10 | Ionescu | Maria | 0", "11 | Pop | NULL | 0", "12 | Avram | Ion | 4"}));

        // A person deleted elsewhere since the window listed it: nothing is written, neither the
        // user's change nor a new user with its login.
        m_server->exec("suitedb", "DELETE FROM PSR_Pers WHERE IdPers = 11");
        const auto refused = [](int id, const QString& code, const QString& password) {
            try {
                StoreUser(id, 11, code, "Nume nou", "", "", {"1"}, password);
            } catch (const db::DbError& e) {
                return e.number() == store::PersonGone;
            }
            return false;
        };
        QVERIFY(refused(4, "ion", ""));
        QVERIFY(refused(0, "nou", "parola"));
        QCOMPARE(m_server->tableRows("suitedb", "admUser").size(), 1);
        QCOMPARE(m_server->value("suitedb", "SELECT usDenumire FROM admUser WHERE usID = 4").toString(), "Ion");
        QCOMPARE(m_server->value("suitedb", "SELECT usID FROM PSR_Pers WHERE IdPers = 12").toInt(), 4);
        QCOMPARE(m_server->value("suitedb", "SELECT count(*) FROM admUserGrup").toInt(), 0);
        QCOMPARE(m_server->value("master", "SELECT count(*) FROM server_principals").toInt(), 0);
    }

    // A user code with a quote or a closing bracket stays inside its quotes and makes exactly
    // that login.
    void userCodeWithQuote() {
        int usID = 0;
        db::StatementLog::startRecording();
        QVERIFY(StoreUser(usID, 10, "o'brien]x", "O'Brien", "", "", {}, "pw"));
        db::StatementLog::stopRecording();
        QCOMPARE(recordedWrites().mid(0, 3), loginStatements("o''brien]x", "o'brien]]x", Base64Encode("pw")));
        QCOMPARE(m_server->value("master", "SELECT name FROM server_principals").toString(),
                 QStringLiteral("o'brien]x"));
        QCOMPARE(login("o'brien]x"), Base64Encode("pw"));
        QVERIFY(isSysadmin("o'brien]x"));
        QCOMPARE(m_server->value("suitedb", "SELECT usCod FROM admUser").toString(), QStringLiteral("o'brien]x"));

        db::StatementLog::startRecording();
        QVERIFY(DropUser(usID, "o'brien]x"));
        db::StatementLog::stopRecording();
        QVERIFY(TempServer::recordedStatements().contains(" EXEC sp_droplogin N'o''brien]x'"));
        QCOMPARE(m_server->value("master", "SELECT count(*) FROM server_principals").toInt(), 0);
    }

    // Saving an id whose row is gone fails at the write and stores nothing; the login that the
    // statements before the transaction created is dropped again, so no login is left without
    // its user.
    void missingUserRollsBack() {
        FixtureRows(*m_server).user(4, "ion").member(4, 1);
        const QStringList before = m_server->snapshot();
        int usID = 9;
        QVERIFY_THROWS_EXCEPTION(db::DbError, StoreUser(usID, 12, "nou", "Nou", "", "", {"2"}, "pw"));
        QCOMPARE(usID, 9);
        QCOMPARE(m_server->snapshot(), before);
        QCOMPARE(m_server->value("master", "SELECT count(*) FROM server_principals").toInt(), 0);

        // A group item that is not an id never reaches a statement, and nothing is stored.
        usID = 4;
        try {
            StoreUser(usID, 12, "ion", "Ion", "", "", {"1", "1),(4,2"}, "");
            QFAIL("a group item that is not an id was written into a statement");
        } catch (const db::DbError& e) {
            QCOMPARE(e.number(), int(db::DbError::TypeMismatch));
        }
        QCOMPARE(m_server->snapshot(), before);
    }

    // A connection that cannot be opened is the error the caller sees, not a failed rollback.
    void openFailureRaisedAsItIs() {
        db::setConnectionOpener([]() -> std::shared_ptr<db::Connection> {
            throw db::DbError(-2147467259, QStringLiteral("[DBNETLIB] SQL Server does not exist"),
                              QStringLiteral("Microsoft OLE DB Provider"));
        });
        int usID = 0;
        for (int attempt = 0; attempt < 2; ++attempt) {
            try {
                if (attempt == 0)
                    StoreUser(usID, 10, "x", "x", "", "", {}, "pw");
                else
                    DropUser(1, "x");
                QFAIL("no error raised");
            } catch (const db::DbError& e) {
                QCOMPARE(e.description(), QStringLiteral("[DBNETLIB] SQL Server does not exist"));
                QCOMPARE(e.source(), QStringLiteral("Microsoft OLE DB Provider"));
            }
        }
    }

    // Deleting a user removes its row, memberships, person link and brand roles in one
    // transaction, then drops its login; other users keep theirs.
    void dropUser() {
        FixtureRows(*m_server)
            .user(4, "ion")
            .user(5, "ana")
            .member(4, 1)
            .member(5, 1)
            .brand(1, "Brădet Natur", 1)
            .brandRole(4, 1, true, false)
            .brandRole(5, 1, false, true);
        m_server->exec("suitedb", "UPDATE PSR_Pers SET usID = 4 WHERE IdPers = 10; "
                                  "UPDATE PSR_Pers SET usID = 5 WHERE IdPers = 12");
        int usID = 4;
        QVERIFY(StoreUser(usID, 10, "ion", "Ion", "", "", {"1"}, "pw"));
        QVERIFY(!login("ion").isEmpty());

        db::StatementLog::startRecording();
        QVERIFY(DropUser(4, "ion"));
        db::StatementLog::stopRecording();
        const QStringList expected{" Delete From admUser Where usID = 4",
                                   " Delete From admUserGrup Where usID = 4",
                                   "Update PSR_Pers Set usID = 0 Where usID = 4",
                                   " Delete From CRM_User Where UserId = 4",
                                   " EXEC sp_droplogin N'ion'",
                                   " EXEC sp_dropuser N'ion'"};
        QCOMPARE(recordedWrites(), expected);
        QCOMPARE(m_server->tableRows("suitedb", "admUser").size(), 1);
        QCOMPARE(m_server->tableRows("suitedb", "admUserGrup"), QStringList{"5 | 1 | 55 | 2025-03-07"});
        QCOMPARE(m_server->value("suitedb", "SELECT group_concat(IdPers) FROM PSR_Pers WHERE usID <> 0").toString(),
                 QStringLiteral("12"));
        QCOMPARE(m_server->value("suitedb", "SELECT group_concat(UserId) FROM CRM_User").toString(),
                 QStringLiteral("5"));
        QCOMPARE(m_server->value("suitedb", "SELECT count(*) FROM CRM_Author").toInt(), 1);
        QCOMPARE(m_server->value("master", "SELECT count(*) FROM server_principals").toInt(), 0);
        QCOMPARE(m_server->value("master", "SELECT count(*) FROM server_role_members WHERE member = 'ion'").toInt(), 0);

        // A login that does not exist is no failure.
        QVERIFY(DropUser(5, "ana"));
        QCOMPARE(m_server->value("suitedb", "SELECT count(*) FROM admUser").toInt(), 0);

        // Deleted anyway after a rename elsewhere, which took the login along: that login goes.
        FixtureRows(*m_server).user(6, "dan");
        usID = 6;
        QVERIFY(StoreUser(usID, 11, "dan", "Dan", "", "", {}, "pw"));
        m_server->exec("suitedb", "UPDATE admUser SET usCod = 'dan.pop' WHERE usID = 6");
        m_server->exec("master", "UPDATE server_principals SET name = 'dan.pop' WHERE name = 'dan'");
        store::UserVersion shown;
        shown.usID = 6;
        shown.usCod = QStringLiteral("dan");
        QVERIFY(DropUser(6, "dan", &shown, true));
        QCOMPARE(m_server->value("master", "SELECT count(*) FROM server_principals").toInt(), 0);
    }

    // A new user takes the id after the highest one, which may be that of a user deleted by a
    // program that left its brand roles behind: the new user gets none of them.
    void aNewUserTakesNoRolesLeftByADeletedOne() {
        FixtureRows(*m_server)
            .user(1, "ana")
            .brand(3, "Brădet Natur", 1)
            .brandRole(1, 3, true, false)
            .brandRole(2, 3, true, true);
        int usID = 0;
        QVERIFY(StoreUser(usID, 0, "dan", "Dan", "", "", {}, "pw"));
        QCOMPARE(usID, 2);
        QCOMPARE(m_server->value("suitedb", "SELECT group_concat(UserId) FROM CRM_User").toString(),
                 QStringLiteral("1"));
    }

    // The same saves on a server without stk: the user store never names it.
    void serverWithoutStk() {
        m_server = std::make_unique<TempServer>(false);
        FixtureRows(*m_server).group(1, "ADM").person(10, "Ionescu", "Maria");
        int usID = 0;
        QVERIFY(StoreUser(usID, 10, "maria", "Maria", "", "", {"1"}, "pw"));
        QCOMPARE(usID, 1);
        QVERIFY(DropUser(usID, "maria"));
        QCOMPARE(m_server->value("suitedb", "SELECT count(*) FROM admUser").toInt(), 0);
    }
};

QTEST_GUILESS_MAIN(TestUserStore)
#include "TestUserStore.moc"
