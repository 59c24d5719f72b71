#include "db/DbError.h"
#include "db/SharedConnection.h"
#include "db/StatementLog.h"
#include "store/RecordQueries.h"
#include "support/FixtureRows.h"
#include "support/TempServer.h"

#include <QFile>
#include <QTest>
#include <functional>
#include <memory>

using store::GetAuthors;
using store::GetGroupAuthors;
using store::GetGroupOperations;
using store::GetGroups;
using store::GetModules;
using store::GetOperations;
using store::GetPersons;
using store::GetUserGroups;
using store::GetUsers;
using store::GetWorkPoints;

namespace {

struct Query {
    const char* name;
    std::function<db::RecordSet()> run;
    QString statement;
};

// Every query with arguments that exercise its text, and the exact statement it must send.
QList<Query> allQueries() {
    return {
        {"GetGroups(0)", [] { return GetGroups(0); }, "Select * From AdmGrup (nolock) Order By GrCod"},
        {"GetGroups(2)", [] { return GetGroups(2); }, "Select * From AdmGrup (nolock) Where grID = 2 Order By GrCod"},
        {"GetGroups(-5)", [] { return GetGroups(-5); },
         "Select * From AdmGrup (nolock) Where grID = -5 Order By GrCod"},
        {"GetGroupAuthors", [] { return GetGroupAuthors(1); }, "Select * From AdmGrupAutor (nolock) Where grID = 1"},
        {"GetUserGroups", [] { return GetUserGroups(0); }, "Select * From AdmUserGrup (nolock) Where usID = 0"},
        {"GetGroupOperations", [] { return GetGroupOperations(2, 1); },
         " Select a1.opID , mdId , a1.Id   From AdmGrupOperatii a0(nolock)  inner join admOperatiiModul a1(nolock)  "
         "on a0.opId = a1.opId and a0.Id = a1.Id   Where auID = 2 And grID = 1"},
        {"GetUsers(0)", [] { return GetUsers(0); },
         " Select distinct u.*, p.IdPers, p.Nume, p.Prenume  From admUser u (nolock)  Left Join PSR_Pers p (nolock) "
         "On u.usID = p.usID  Order By usCod"},
        {"GetUsers(7)", [] { return GetUsers(7); },
         " Select distinct u.*, p.IdPers, p.Nume, p.Prenume  From admUser u (nolock)  Left Join PSR_Pers p (nolock) "
         "On u.usID = p.usID  Where u.usID = 7 Order By usCod"},
        {"GetAuthors", [] { return GetAuthors(); }, "Select * From Authors (nolock) Order By Name"},
        {"GetModules", [] { return GetModules(); }, "Select * From admModul (nolock) Order By mdDenumire"},
        {"GetOperations", [] { return GetOperations(); },
         "Select * From admOperatiiModul (nolock) Order By opDenumire"},
        {"GetPersons", [] { return GetPersons(); }, "Select * From PSR_Pers (nolock) Order By Nume, Prenume"},
        {"GetWorkPoints", [] { return GetWorkPoints(1, 2); },
         " Select p.*, a.grID From ordavia..PSR_PuncteLucru p (nolock)  Left Join admGrupPuncteLucru a (nolock) On "
         "a.IdPctLucru = p.IdPctLucru And grID = 2 Where p.IdAuthor = 1 Order By Name "},
    };
}

QStringList column(db::RecordSet set, const QString& name) {
    QStringList values;
    for (; !set.eof(); set.moveNext())
        values << (set.field(name).isNull() ? QStringLiteral("NULL") : set.field(name).toString());
    set.close();
    return values;
}

QStringList sorted(QStringList values) {
    values.sort();
    return values;
}

} // namespace

class TestRecordQueries : public QObject {
    Q_OBJECT

    std::unique_ptr<TempServer> m_server;

private slots:
    void init() {
        m_server = std::make_unique<TempServer>();
        FixtureRows(*m_server)
            .author(1, "Brădet Distribuție")
            .author(2, "Alfa Construct")
            .author(3, "fără puncte")
            .workPoint(1, 1, "Depozit Codlea")
            .workPoint(2, 1, "Birou Brașov")
            .workPoint(3, 2, "Șantier")
            .module(1, "Vânzări")
            .module(2, "Contabilitate")
            .operation(1, 1, 10, "Facturi")
            .operation(2, 1, 11, "Avize")
            .operation(1, 2, 12, "Balanță")
            .group(1, "VANZ")
            .group(2, "ADM")
            .group(3, "contab")
            .user(1, "maria")
            .user(2, "andrei")
            .person(10, "Ionescu", "Maria", 1)
            .person(11, "Ionescu", QString())
            .person(12, "Avram", "Ion")
            .member(1, 1)
            .member(1, 3)
            .grant(1, 2, 2, 11)
            .grant(1, 2, 1, 12)
            .grant(1, 1, 1, 10)
            .grantWorkPoint(1, 2);
    }
    void cleanup() {
        db::StatementLog::stopRecording();
        db::StatementLog::clearFailure();
        m_server.reset();
    }

    // Each query sends exactly its statement, on a fresh connection that becomes the shared one.
    void statementTexts() {
        for (const Query& query : allQueries()) {
            const std::shared_ptr<db::Connection> before = db::SharedConnection();
            db::StatementLog::startRecording();
            db::RecordSet set = query.run();
            db::StatementLog::stopRecording();
            QVERIFY2(set.isOpen(), query.name);
            QCOMPARE(db::StatementLog::recorded(), QStringList{query.statement});
            QVERIFY2(db::SharedConnection() && db::SharedConnection() != before, query.name);
        }
    }

    void groups() {
        QCOMPARE(column(GetGroups(0), "grCod"), QStringList({"ADM", "contab", "VANZ"}));
        QCOMPARE(column(GetGroups(3), "grCod"), QStringList{"contab"});
        db::RecordSet missing = GetGroups(99);
        QVERIFY(missing.isOpen());
        QVERIFY(missing.eof());
        QCOMPARE(sorted(column(GetGroupAuthors(1), "auID")), QStringList({"1", "2"}));
        QCOMPARE(sorted(column(GetUserGroups(1), "grID")), QStringList({"1", "3"}));
    }

    void groupOperations() {
        db::RecordSet set = GetGroupOperations(2, 1);
        QCOMPARE(set.fieldCount(), 3);
        QStringList pairs;
        for (; !set.eof(); set.moveNext())
            pairs << QStringLiteral("%1/%2/%3")
                         .arg(set.field("opID").toInt())
                         .arg(set.field("mdId").toInt())
                         .arg(set.field("Id").toInt());
        pairs.sort();
        QCOMPARE(pairs, QStringList({"1/2/12", "2/1/11"}));
        QVERIFY(GetGroupOperations(3, 1).eof());
    }

    // Users in code order with their person's names, Null where no person is tied.
    void usersWithPersons() {
        db::RecordSet set = GetUsers(0);
        QCOMPARE(set.field("usCod").toString(), QStringLiteral("andrei"));
        QVERIFY(set.field("IdPers").isNull());
        QVERIFY(set.field("Nume").isNull());
        set.moveNext();
        QCOMPARE(set.field("usCod").toString(), QStringLiteral("maria"));
        QCOMPARE(set.field("IdPers").toInt(), 10);
        QCOMPARE(set.field("Prenume").toString(), QStringLiteral("Maria"));
        QCOMPARE(set.field("usDomeniu").toString(), QStringLiteral("SUITE"));
        set.moveNext();
        QVERIFY(set.eof());
        QCOMPARE(column(GetUsers(2), "usCod"), QStringList{"andrei"});
    }

    void catalogueLists() {
        QCOMPARE(column(GetAuthors(), "Name"), QStringList({"Alfa Construct", "Brădet Distribuție", "fără puncte"}));
        QCOMPARE(column(GetModules(), "mdDenumire"), QStringList({"Contabilitate", "Vânzări"}));
        QCOMPARE(column(GetOperations(), "opDenumire"), QStringList({"Avize", "Balanță", "Facturi"}));
        QCOMPARE(column(GetOperations(), "opIdParinte"), QStringList({"NULL", "NULL", "NULL"}));
        QCOMPARE(column(GetPersons(), "IdPers"), QStringList({"12", "11", "10"}));
    }

    // grID says whether the group holds the work point: its id, or Null.
    void workPoints() {
        db::RecordSet set = GetWorkPoints(1, 1);
        QCOMPARE(set.field("Name").toString(), QStringLiteral("Birou Brașov"));
        QCOMPARE(set.field("grID").toInt(), 1);
        QCOMPARE(set.field("IdAuthor").toInt(), 1);
        set.moveNext();
        QCOMPARE(set.field("Name").toString(), QStringLiteral("Depozit Codlea"));
        QVERIFY(set.field("grID").isNull());
        set.moveNext();
        QVERIFY(set.eof());
        QCOMPARE(column(GetWorkPoints(1, 2), "grID"), QStringList({"NULL", "NULL"}));
        db::RecordSet none = GetWorkPoints(3, 1);
        QVERIFY(none.isOpen());
        QVERIFY(none.eof());
    }

    // A failing statement reaches the caller unchanged; the work point query alone returns a
    // closed set instead.
    void failuresRaisedUnchanged() {
        const db::DbError injected(-2147217900, QStringLiteral("Injected failure"), QStringLiteral("Test source"),
                                   QStringLiteral("help.chm"), 42);
        for (const Query& query : allQueries()) {
            db::StatementLog::failAt(1, injected);
            if (query.statement.contains("PSR_PuncteLucru")) {
                db::RecordSet set;
                try {
                    set = query.run();
                } catch (const db::DbError&) {
                    QFAIL("GetWorkPoints raised the failure of its open");
                }
                QVERIFY(!set.isOpen());
                QCOMPARE(db::StatementLog::count(), 1);
                continue;
            }
            try {
                query.run();
                QFAIL(query.name);
            } catch (const db::DbError& e) {
                QCOMPARE(e.number(), injected.number());
                QCOMPARE(e.description(), injected.description());
                QCOMPARE(e.source(), injected.source());
                QCOMPARE(e.helpFile(), injected.helpFile());
                QCOMPARE(e.helpContext(), injected.helpContext());
            }
        }
    }

    void workPointsWithoutOrdavia() {
        db::SharedConnection().reset();
        QVERIFY(QFile::remove(m_server->databaseFile("ordavia")));
        db::RecordSet set = GetWorkPoints(1, 1);
        QVERIFY(!set.isOpen());
    }

    // The demo suite answers every query with rows, through the engine's dialect.
    void demoSuiteAnswersEveryQuery() {
        m_server = std::make_unique<TempServer>(true, true);
        const QStringList emptyByDesign{"GetGroups(-5)", "GetUserGroups"};
        for (const Query& query : allQueries()) {
            if (emptyByDesign.contains(query.name))
                continue;
            db::RecordSet set = query.run();
            QVERIFY2(set.isOpen() && !set.eof(), query.name);
        }
        QCOMPARE(column(GetUsers(13), "usAlias"), QStringList{"NULL"});
        QCOMPARE(column(GetWorkPoints(3, 3), "grID"), QStringList({"3", "3", "3", "3"}));
    }

    // A connection that cannot be opened is raised by every query, GetWorkPoints included, and
    // the shared connection keeps what it held.
    void openFailureRaised() {
        GetAuthors().close();
        const std::shared_ptr<db::Connection> held = db::SharedConnection();
        db::setConnectionOpener([]() -> std::shared_ptr<db::Connection> {
            throw db::DbError(17, QStringLiteral("Server does not exist"), QStringLiteral("ODBC"));
        });
        for (const Query& query : allQueries()) {
            try {
                query.run();
                QFAIL(query.name);
            } catch (const db::DbError& e) {
                QCOMPARE(e.number(), 17);
            }
            QCOMPARE(db::SharedConnection(), held);
        }
    }
};

QTEST_GUILESS_MAIN(TestRecordQueries)
#include "TestRecordQueries.moc"
