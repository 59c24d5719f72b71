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
            store::StoreBrandRole(2, 40, 2, true, true, 1);
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
        QVERIFY(store::StoreBrandRole(2, 40, 1, false, true, 1).stored);
        QCOMPARE(m_server->tableRows("suitedb", "CRM_User").size(), 1);
    }
};

QTEST_MAIN(TestBrandRoleStore)
#include "TestBrandRoleStore.moc"
