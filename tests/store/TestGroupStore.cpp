#include "db/DbError.h"
#include "db/SharedConnection.h"
#include "db/StatementLog.h"
#include "store/GroupStore.h"
#include "support/FixtureRows.h"
#include "support/TempServer.h"

#include <QDate>
#include <QTest>
#include <memory>

using store::DropGroup;
using store::StoreGroup;

namespace {

QString today() {
    return QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
}
QString storedToday() {
    return QDate::currentDate().toString(Qt::ISODate);
}

const QString StkCheck = QStringLiteral("SELECT count(*) FROM master..sysDatabases WHERE name = N'stk'");

} // namespace

class TestGroupStore : public QObject {
    Q_OBJECT

    std::unique_ptr<TempServer> m_server;

    // Two companies with three work points each (ids 1-3 and 4-6) and a few operations.
    void makeServer(bool withStk) {
        m_server = std::make_unique<TempServer>(withStk);
        FixtureRows(*m_server)
            .author(1, "Brădet")
            .author(2, "Carpatica")
            .workPoint(1, 1, "Brașov")
            .workPoint(2, 1, "Codlea")
            .workPoint(3, 1, "Râșnov")
            .workPoint(4, 2, "Cluj")
            .workPoint(5, 2, "Florești")
            .workPoint(6, 2, "Apahida")
            .module(1, "Vânzări")
            .operation(12, 1, 3, "Facturi")
            .operation(13, 1, 4, "Avize");
    }

    QStringList rowsOf(const QString& table) const { return m_server->tableRows("suitedb", table); }

private slots:
    void init() { makeServer(true); }
    void cleanup() {
        db::StatementLog::stopRecording();
        db::StatementLog::clearFailure();
        m_server.reset();
    }

    // A new group on an empty table gets id 1, returned in grID; every statement in order.
    void newGroup() {
        int grID = 0;
        db::StatementLog::startRecording();
        QVERIFY(StoreGroup(grID, "VANZ", "Vânzări", "note", 1, {"12#$#3", "13#$#4#$#Avize"}, {"2", "3"}));
        db::StatementLog::stopRecording();
        QCOMPARE(grID, 1);
        const QStringList expected{
            "Select max(grID) From AdmGrup WITH (UPDLOCK, HOLDLOCK)",
            "Select * From AdmGrup Where grID = 0",
            "<write AdmGrup>",
            StkCheck,
            "Select IdAuthor From Authors WITH (UPDLOCK, HOLDLOCK) Where IdAuthor = 1",
            "Select opID, Id From admOperatiiModul WITH (UPDLOCK, HOLDLOCK) Where opID In (12,13)",
            "Select IdPctLucru From stk..stk_PuncteLucru WITH (UPDLOCK, HOLDLOCK) Where IdAuthor = 1 And IdPctLucru "
            "In (2,3)",
            "Delete From admGrupAutor Where grID = 1",
            "Delete From admGrupOperatii Where grID = 1",
            "Delete From admGrupPuncteLucru Where grID = 1",
            "Delete From admUserGrup Where grID = 1",
            "Delete From stk..stk_cfgOperDrepturi Where grID = 1",
            "Delete From admGrupAutor Where grID = 1 And auID = 1",
            "Delete From admGrupPuncteLucru Where grID = 1 And IdPctLucru in (Select IdPctLucru From "
            "stk..stk_PuncteLucru (nolock) Where IdAuthor = 1)",
            "Delete From admGrupOperatii Where grID = 1 And auID = 1",
            " Insert Into admGrupAutor (auID,grID,IdOperator,DataAct) Values (1,1,55,'" + today() + "')",
            " Insert Into admGrupOperatii (auID,grID,opID,ID,IdOperator,DataAct) Values (1,1,12,3,55,'" + today() +
                "')",
            " Insert Into admGrupOperatii (auID,grID,opID,ID,IdOperator,DataAct) Values (1,1,13,4,55,'" + today() +
                "')",
            " Insert Into admGrupPuncteLucru (grID,IdPctLucru) Select 1,2 Where Not Exists (Select * From "
            "admGrupPuncteLucru Where grID = 1 And IdPctLucru = 2)",
            " Insert Into admGrupPuncteLucru (grID,IdPctLucru) Select 1,3 Where Not Exists (Select * From "
            "admGrupPuncteLucru Where grID = 1 And IdPctLucru = 3)",
        };
        QCOMPARE(TempServer::recordedStatements(), expected);

        const QVariantList row = m_server->rows("suitedb", "SELECT * FROM AdmGrup").value(0);
        QCOMPARE(row.mid(0, 5), QVariantList({1, "VANZ", "Vânzări", "note", 55}));
        QVERIFY(row.at(5).toString().startsWith(storedToday()));
        QCOMPARE(rowsOf("admGrupAutor"), QStringList{"1 | 1 | 55 | " + storedToday()});
        // A third field of an item is ignored.
        QCOMPARE(rowsOf("admGrupOperatii"),
                 QStringList({"1 | 1 | 12 | 3 | 55 | " + storedToday(), "1 | 1 | 13 | 4 | 55 | " + storedToday()}));
        QCOMPARE(rowsOf("admGrupPuncteLucru"), QStringList({"1 | 2", "1 | 3"}));
    }

    // Saving one company's grants leaves the other company's alone; a work point granted
    // before is rewritten, not added again, and an unticked one is removed.
    void existingGroupRewritesOneAuthor() {
        FixtureRows(*m_server)
            .group(5, "VANZ")
            .grant(5, 1, 12, 3)
            .grant(5, 2, 12, 3)
            .grantWorkPoint(5, 1)
            .grantWorkPoint(5, 2)
            .grantWorkPoint(5, 4);
        int grID = 5;
        QVERIFY(StoreGroup(grID, "VANZ2", "Vânzări noi", "", 1, {"13#$#4"}, {"2", "3"}));
        QCOMPARE(grID, 5);
        QCOMPARE(m_server->value("suitedb", "SELECT grCod FROM AdmGrup WHERE grID = 5").toString(),
                 QStringLiteral("VANZ2"));
        QCOMPARE(rowsOf("admGrupPuncteLucru"), QStringList({"5 | 2", "5 | 3", "5 | 4"}));
        QCOMPARE(rowsOf("admGrupOperatii"),
                 QStringList({"1 | 5 | 13 | 4 | 55 | " + storedToday(), "2 | 5 | 12 | 3 | 55 | 2025-03-07"}));
        QCOMPARE(rowsOf("admGrupAutor"), QStringList({"1 | 5 | 55 | " + storedToday(), "2 | 5 | 55 | 2025-03-07"}));

        // No operations: the company is no longer listed for the group.
        QVERIFY(StoreGroup(grID, "VANZ2", "Vânzări noi", "", 1, {}, {"2", "3"}));
        QCOMPARE(rowsOf("admGrupAutor"), QStringList{"2 | 5 | 55 | 2025-03-07"});
        QCOMPARE(rowsOf("admGrupOperatii"), QStringList{"2 | 5 | 12 | 3 | 55 | 2025-03-07"});
        QCOMPARE(rowsOf("admGrupPuncteLucru"), QStringList({"5 | 2", "5 | 3", "5 | 4"}));
    }

    // Without stk the company's work points are found through ordavia, so an unticked one is
    // removed there too; no statement names stk.
    void serverWithoutStk() {
        makeServer(false);
        FixtureRows(*m_server).group(5, "VANZ").grantWorkPoint(5, 1).grantWorkPoint(5, 2).grantWorkPoint(5, 4);
        int grID = 5;
        db::StatementLog::startRecording();
        QVERIFY(StoreGroup(grID, "VANZ", "Vânzări", "", 1, {"12#$#3"}, {"2", "3"}));
        db::StatementLog::stopRecording();
        QVERIFY(TempServer::recordedStatements().contains(
            "Delete From admGrupPuncteLucru Where grID = 5 And IdPctLucru in (Select IdPctLucru From "
            "ordavia..PSR_PuncteLucru (nolock) Where IdAuthor = 1)"));
        QCOMPARE(rowsOf("admGrupPuncteLucru"), QStringList({"5 | 2", "5 | 3", "5 | 4"}));

        db::StatementLog::startRecording();
        QVERIFY(DropGroup(5));
        db::StatementLog::stopRecording();
        QVERIFY(!TempServer::recordedStatements().join('\n').contains("stk.."));
        QCOMPARE(m_server->value("suitedb", "SELECT count(*) FROM AdmGrup").toInt(), 0);
        QCOMPARE(rowsOf("admGrupPuncteLucru"), QStringList());
    }

    // Deleting a group removes its row, grants, memberships, work points and stk settings; other
    // groups keep theirs.
    void dropGroup() {
        FixtureRows(*m_server)
            .group(5, "VANZ")
            .group(6, "ADM")
            .user(1, "ion")
            .member(1, 5)
            .member(1, 6)
            .grant(5, 1, 12, 3)
            .grant(6, 1, 12, 3)
            .grantWorkPoint(5, 1)
            .grantWorkPoint(6, 1)
            .stkSetting(5, "NIR")
            .stkSetting(6, "NIR");
        db::StatementLog::startRecording();
        QVERIFY(DropGroup(5));
        db::StatementLog::stopRecording();
        // The stk check comes first: the deletes then go to the server together.
        const QStringList expected{StkCheck,
                                   "Delete From admGrup Where grID = 5",
                                   "Delete From admGrupAutor Where grID = 5",
                                   "Delete From admGrupOperatii Where grID = 5",
                                   "Delete From admUserGrup Where grID = 5",
                                   "Delete From admGrupPuncteLucru Where grID = 5",
                                   "Delete From stk..stk_cfgOperDrepturi Where grID = 5"};
        QCOMPARE(TempServer::recordedStatements(), expected);
        const QString remaining = QStringLiteral("SELECT group_concat(DISTINCT grID) FROM %1");
        for (const char* table : {"AdmGrup", "admGrupAutor", "admGrupOperatii", "admUserGrup", "admGrupPuncteLucru"})
            QCOMPARE(m_server->value("suitedb", remaining.arg(table)).toString(), QStringLiteral("6"));
        QCOMPARE(m_server->value("stk", remaining.arg("stk_cfgOperDrepturi")).toString(), QStringLiteral("6"));
    }

    // A new group takes the id after the highest one, which may be that of a group deleted by a
    // program that left its rights behind: the new group gets only what it was given.
    void aNewGroupTakesNoRightsLeftByADeletedOne() {
        FixtureRows(*m_server)
            .group(1, "ADM")
            .user(7, "ion")
            .member(7, 2)
            .grant(2, 2, 13, 4)
            .grantWorkPoint(2, 5)
            .stkSetting(2, "NIR");
        int grID = 0;
        QVERIFY(StoreGroup(grID, "VANZ", "Vânzări", "", 1, {"12#$#3"}, {"2"}));
        QCOMPARE(grID, 2);
        const QString ofGroup = QStringLiteral("SELECT group_concat(%1, ';') FROM %2 WHERE grID = 2");
        QCOMPARE(m_server->value("suitedb", ofGroup.arg("auID", "admGrupAutor")).toString(), QStringLiteral("1"));
        QCOMPARE(m_server->value("suitedb", ofGroup.arg("auID || '/' || opID", "admGrupOperatii")).toString(),
                 QStringLiteral("1/12"));
        QCOMPARE(m_server->value("suitedb", ofGroup.arg("IdPctLucru", "admGrupPuncteLucru")).toString(),
                 QStringLiteral("2"));
        QVERIFY(m_server->value("suitedb", ofGroup.arg("usID", "admUserGrup")).isNull());
        QVERIFY(m_server->value("stk", ofGroup.arg("TipDocument", "stk_cfgOperDrepturi")).isNull());
    }

    // Failures store nothing: an item with one field, and an id whose row is gone.
    void failuresStoreNothing() {
        FixtureRows(*m_server).group(5, "VANZ").grant(5, 1, 12, 3).grantWorkPoint(5, 1);
        const QStringList before = m_server->snapshot();
        int grID = 0;
        try {
            StoreGroup(grID, "NOU", "Nou", "", 1, {"12#$#3", "13"}, {"2"});
            QFAIL("an item with one field was accepted");
        } catch (const db::DbError& e) {
            QCOMPARE(e.number(), int(db::DbError::SubscriptOutOfRange));
        }
        QCOMPARE(grID, 0);
        QCOMPARE(m_server->snapshot(), before);

        grID = 9;
        QVERIFY_THROWS_EXCEPTION(db::DbError, StoreGroup(grID, "X", "X", "", 1, {"12#$#3"}, {"1"}));
        QCOMPARE(m_server->snapshot(), before);

        // Items are written bare into statements: anything but a whole number is refused.
        const QList<QPair<QStringList, QStringList>> tampered = {
            {{"12#$#3) ; Delete From admGrupAutor --"}, {}},
            {{"12 Or 1=1#$#3"}, {}},
            {{"12#$#3"}, {"2 Or 1=1"}},
        };
        for (const auto& [operations, workPoints] : tampered) {
            grID = 5;
            try {
                StoreGroup(grID, "VANZ", "Vânzări", "", 1, operations, workPoints);
                QFAIL("an item that is not an id was written into a statement");
            } catch (const db::DbError& e) {
                QCOMPARE(e.number(), int(db::DbError::TypeMismatch));
            }
            QCOMPARE(m_server->snapshot(), before);
        }
    }

    // A connection that cannot be opened is the error the caller sees, not a failed rollback.
    void openFailureRaisedAsItIs() {
        db::setConnectionOpener([]() -> std::shared_ptr<db::Connection> {
            throw db::DbError(-2147467259, QStringLiteral("Login failed"), QStringLiteral("ODBC"));
        });
        int grID = 0;
        try {
            StoreGroup(grID, "X", "X", "", 1, {}, {});
            QFAIL("no error raised");
        } catch (const db::DbError& e) {
            QCOMPARE(e.description(), QStringLiteral("Login failed"));
        }
        try {
            DropGroup(1);
            QFAIL("no error raised");
        } catch (const db::DbError& e) {
            QCOMPARE(e.description(), QStringLiteral("Login failed"));
        }
    }
};

QTEST_GUILESS_MAIN(TestGroupStore)
#include "TestGroupStore.moc"
