#include "db/DbError.h"
#include "store/BrandRoleStore.h"
#include "store/UserStore.h"
#include "support/FixtureRows.h"
#include "support/TempServer.h"

#include <QTest>
#include <memory>

// A brand role is given only to a user that exists: a role written for a user deleted since the
// window showed it would pass to the next user made, who gets the same id.
class TestBrandRoleStore : public QObject {
    Q_OBJECT

    std::unique_ptr<TempServer> m_server;

private slots:
    void init() {
        m_server = std::make_unique<TempServer>();
        FixtureRows(*m_server).twoOfEach().brand(40, "Bravo", 2);
    }
    void cleanup() { m_server.reset(); }

    void aUserDeletedElsewhereGetsNoRole() {
        QVERIFY(store::DropUser(2, QStringLiteral("dan")));
        bool refused = false;
        try {
            store::StoreBrandRole(2, 40, 2, "dan", {}, true, true, 1);
        } catch (const db::DbError&) {
            refused = true;
        }
        int usID = 0;
        QVERIFY(store::StoreUser(usID, 0, QStringLiteral("ion"), QStringLiteral("Ion Pop"), QString(),
                                 QStringLiteral("ion"), {}, QString()));
        QCOMPARE(usID, 2);
        QCOMPARE(m_server->value("suitedb", "SELECT count(*) FROM CRM_User WHERE UserId = 2").toInt(), 0);
        QVERIFY(refused);
        // A user that exists still gets its role.
        QVERIFY(store::StoreBrandRole(2, 40, 1, "ana", {}, false, true, 1).stored);
        QCOMPARE(m_server->tableRows("suitedb", "CRM_User").size(), 1);
    }

    void nothingIsWrittenForARecordDeletedElsewhere_data() {
        QTest::addColumn<int>("IdAuthor");
        QTest::addColumn<int>("IdBrand");
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("deletion");
        QTest::addColumn<bool>("brandGone");
        QTest::newRow("linked brand") << 2 << 40 << "stk"
                                      << "DELETE FROM FAZ_Brand WHERE IdBrand = 40" << true;
        QTest::newRow("unlinked brand") << 1 << 41 << "stk"
                                        << "DELETE FROM FAZ_Brand WHERE IdBrand = 41" << true;
        QTest::newRow("company of the link") << 1 << 41 << "suitedb"
                                             << "DELETE FROM Authors WHERE IdAuthor = 1" << false;
    }
    // A brand or company deleted since the window listed it gets no role nor link: the next one
    // given its id would inherit them, and a brand linked to a company that is gone would refuse
    // every other company.
    void nothingIsWrittenForARecordDeletedElsewhere() {
        QFETCH(int, IdAuthor);
        QFETCH(int, IdBrand);
        QFETCH(QString, database);
        QFETCH(QString, deletion);
        QFETCH(bool, brandGone);
        m_server->exec("stk", "INSERT INTO FAZ_Brand (IdBrand, Brand) VALUES (41, 'Delta')");
        m_server->exec(database, deletion);
        const store::BrandRoleOutcome outcome = store::StoreBrandRole(IdAuthor, IdBrand, 1, "ana", {}, true, false, 1);
        QCOMPARE(m_server->lines("suitedb", "SELECT IdAuthor, IdBrand FROM CRM_Author ORDER BY 2"),
                 QStringList{"2/40"});
        QCOMPARE(m_server->value("suitedb", "SELECT count(*) FROM CRM_User").toInt(), 0);
        QVERIFY(!outcome.stored);
        QCOMPARE(outcome.brandGone, brandGone);
        QCOMPARE(outcome.companyGone, !brandGone);
    }
};

QTEST_MAIN(TestBrandRoleStore)
#include "TestBrandRoleStore.moc"
