#include "db/Connection.h"
#include "db/LockWait.h"
#include "db/RecordSet.h"
#include "support/FileLocker.h"
#include "support/FixtureRows.h"
#include "support/TdsServer.h"
#include "support/TempServer.h"

#include <QTimer>
#include <QtTest>
#include <memory>

// A statement that the TDS server double holds up, because another process has its database file
// locked, leaves the application's main thread free: the lock-wait observer is told the statement
// is running, events go on (here a timer that ends the other process's lock), and the statement
// then goes through.
class TestOdbcLockWait : public QObject {
    Q_OBJECT

    // Counts what the engine tells it and lets events run, as the window's observer does.
    struct Observer : db::LockWait::Observer {
        int runs = 0;
        bool waiting(const QString&, int) override { return true; }
        void finished() override {}
        void running() override {
            ++runs;
            QCoreApplication::processEvents();
        }
    };

    std::unique_ptr<TempServer> m_files;
    std::unique_ptr<TdsServer> m_server;

private slots:
    void initTestCase() {
        const QString skip = TdsServer::doubleSkipReason(QStringLiteral("this test locks the double's database file"));
        if (!skip.isEmpty())
            QSKIP(qPrintable(skip));
        // Past the double's own wait for a lock (5 s), the statement would fail.
        db::LockWait::setLimitMs(4000);
    }
    void cleanup() {
        db::LockWait::setObserver(nullptr);
        m_server.reset();
        m_files.reset();
    }

    void aStatementHeldUpLeavesTheMainThreadFree_data() {
        QTest::addColumn<bool>("write");
        QTest::newRow("a write, readers let in") << true;
        QTest::newRow("a read, readers kept out") << false;
    }
    void aStatementHeldUpLeavesTheMainThreadFree() {
        QFETCH(bool, write);
        m_files = std::make_unique<TempServer>();
        FixtureRows(*m_files).twoOfEach();
        m_server = TdsServer::start(m_files->directory());
        auto connection = db::Connection::open(m_server->connectionString());
        Observer observer;
        db::LockWait::setObserver(&observer);

        FileLocker other(m_files->databaseFile(m_server->databaseName()),
                         write ? FileLocker::Lock::Write : FileLocker::Lock::Exclusive);
        QVERIFY(other.locked());
        QTimer::singleShot(1000, [&] { other.release(); });
        if (write) {
            connection->execute(QStringLiteral("Insert Into AdmGrup (grID, grCod) Values (7, 'NOU')"));
            QCOMPARE(m_files->value("suitedb", "SELECT grCod FROM AdmGrup WHERE grID = 7").toString(),
                     QStringLiteral("NOU"));
        } else {
            db::RecordSet group;
            group.open(QStringLiteral("Select grCod From AdmGrup Where grID = 2"), connection,
                       db::RecordSet::ForwardOnly, db::RecordSet::ReadOnly);
            QCOMPARE(group.field(0).toString(), QStringLiteral("VANZARI"));
        }
        QVERIFY(observer.runs > 0);
    }
};

QTEST_MAIN(TestOdbcLockWait)
#include "TestOdbcLockWait.moc"
