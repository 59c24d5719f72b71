#include "support/BatchChecks.h"
#include "support/TinyServer.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/SharedConnection.h"
#include "db/StatementLog.h"
#include "db/Transaction.h"

#include <QSqlDatabase>
#include <QTest>
#include <QThread>

using db::Connection;
using db::DbError;
using db::StatementLog;

class TestConnection : public QObject {
    Q_OBJECT

private:
    TinyServer* m_server = nullptr;

    int rows() { return m_server->scalar(QStringLiteral("suite"), QStringLiteral("SELECT count(*) FROM t")).toInt(); }

private slots:
    void init() {
        m_server = new TinyServer;
        m_server->createDatabase(QStringLiteral("suite"), {QStringLiteral("CREATE TABLE t (a int)")});
    }

    void cleanup() {
        StatementLog::stopRecording();
        StatementLog::clearFailure();
        db::setConnectionOpener({});
        db::SharedConnection().reset();
        delete m_server;
    }

    void logRecordsTheTextsAsTheToolBuiltThem() {
        auto c = Connection::open(m_server->connectionString());
        StatementLog::startRecording();
        c->beginTrans();
        c->execute(QStringLiteral("Insert Into T (a) Values (1)"));
        c->query(QStringLiteral("Select * From t (nolock)"));
        c->commitTrans();
        c->executeBound(QStringLiteral("Insert Into t (a) Values (?)"), {2});
        StatementLog::stopRecording();
        c->execute(QStringLiteral("Delete From t Where a = 2"));
        QCOMPARE(StatementLog::recorded(), (QStringList{QStringLiteral("Insert Into T (a) Values (1)"),
                                                        QStringLiteral("Select * From t (nolock)"),
                                                        QStringLiteral("Insert Into t (a) Values (?)")}));
    }

    void failureIsInjectedAtTheNthStatement() {
        auto c = Connection::open(m_server->connectionString());
        StatementLog::failAt(2, DbError(-2147217900, QStringLiteral("injected"), QStringLiteral("test source"),
                                        QStringLiteral("help.chm"), 42));
        c->execute(QStringLiteral("Insert Into t (a) Values (1)"));
        c->beginTrans(); // not a statement of the tool: not counted
        try {
            c->execute(QStringLiteral("Insert Into t (a) Values (2)"));
            QFAIL("no failure at the second statement");
        } catch (const DbError& e) {
            QCOMPARE(e.number(), -2147217900);
            QCOMPARE(e.description(), QStringLiteral("injected"));
            QCOMPARE(e.source(), QStringLiteral("test source"));
            QCOMPARE(e.helpFile(), QStringLiteral("help.chm"));
            QCOMPARE(e.helpContext(), 42);
        }
        c->execute(QStringLiteral("Insert Into t (a) Values (3)"));
        c->commitTrans();
        QCOMPARE(StatementLog::count(), 3);
        QCOMPARE(rows(), 2);

        StatementLog::failAt(0, DbError(1, QStringLiteral("off")));
        c->execute(QStringLiteral("Delete From t"));
        QCOMPARE(rows(), 0);
    }

    void logCountsStatementsOfSeveralThreads() {
        StatementLog::resetCount();
        auto work = [] {
            for (int i = 0; i < 500; ++i)
                StatementLog::pass(QStringLiteral("Select 1"));
        };
        QThread* other = QThread::create(work);
        other->start();
        work();
        QVERIFY(other->wait());
        delete other;
        QCOMPARE(StatementLog::count(), 1000);
    }

    void transactionGuardRollsBackUnlessCommitted() {
        auto c = Connection::open(m_server->connectionString());
        try {
            db::Transaction t(*c);
            c->execute(QStringLiteral("Insert Into t (a) Values (1)"));
            c->execute(QStringLiteral("Insert Into nosuch (a) Values (1)"));
            t.commit();
            QFAIL("a failing statement did not raise");
        } catch (const DbError& e) {
            QVERIFY(e.description().contains(QLatin1String("nosuch")));
        }
        QVERIFY(!c->inTransaction());
        QCOMPARE(rows(), 0);
        {
            db::Transaction t(*c);
            c->execute(QStringLiteral("Insert Into t (a) Values (1)"));
            t.commit();
        }
        QCOMPARE(rows(), 1);
    }

    void sharedConnectionIsReplacedOnlyOnSuccess() {
        QVERIFY_THROWS_EXCEPTION(DbError, db::OpenConnection());
        QString target = m_server->connectionString();
        db::setConnectionOpener([&] { return Connection::open(target); });
        Connection& first = *db::ReplaceSharedConnection();
        QCOMPARE(&first, db::SharedConnection().get());
        std::weak_ptr<Connection> firstWatch = db::SharedConnection();

        target = m_server->connectionString(QStringLiteral("missing"));
        try {
            db::ReplaceSharedConnection();
            QFAIL("a missing database opened");
        } catch (const DbError& e) {
            QCOMPARE(e.number(), 4060);
        }
        QCOMPARE(db::SharedConnection().get(), &first);

        target = m_server->connectionString();
        Connection& second = *db::ReplaceSharedConnection();
        QVERIFY(&second == db::SharedConnection().get());
        QVERIFY(firstWatch.expired());
    }

    void connectionsReleaseTheirDriverConnection() {
        const int before = QSqlDatabase::connectionNames().size();
        {
            auto a = Connection::open(m_server->connectionString());
            auto b = Connection::open(m_server->connectionString());
            QCOMPARE(QSqlDatabase::connectionNames().size(), before + 2);
            a->query(QStringLiteral("Select * From t"));
        }
        // Released engines are kept for the next connections to the server, and reused.
        for (int i = 0; i < 5; ++i)
            Connection::open(m_server->connectionString())->query(QStringLiteral("Select * From t"));
        QVERIFY(QSqlDatabase::connectionNames().size() <= before + 2);
        QVERIFY_THROWS_EXCEPTION(DbError, Connection::open(m_server->connectionString(QStringLiteral("missing"))));
        QVERIFY(QSqlDatabase::connectionNames().size() <= before + 2);
    }

    void aKeptEngineSeesTheServerAsItIsNow() {
        auto first = Connection::open(m_server->connectionString());
        first->execute(QStringLiteral("Create Table later (x integer)"));
        first->beginTrans();
        first->execute(QStringLiteral("Insert Into later Values (1)"));
        first.reset(); // let go with its transaction open: rolled back, not kept in the transaction
        auto second = Connection::open(m_server->connectionString());
        QVERIFY(!second->inTransaction());
        QCOMPARE(second->query(QStringLiteral("Select count(*) From later")).rows.at(0).at(0).toInt(), 0);
        second.reset();
        // A database file added to the server is attached by the next connection.
        m_server->createDatabase(QStringLiteral("added"), {QStringLiteral("CREATE TABLE a (x integer)")});
        auto third = Connection::open(m_server->connectionString());
        QCOMPARE(third->query(QStringLiteral("Select count(*) From added..a")).rows.at(0).at(0).toInt(), 0);
        const int columns = third->query(QStringLiteral("Select * From t")).columns.size();
        third.reset();
        // A table changed elsewhere shows its new shape.
        m_server->createDatabase(QStringLiteral("suite"), {QStringLiteral("ALTER TABLE t ADD COLUMN extra text")});
        QCOMPARE(
            Connection::open(m_server->connectionString())->query(QStringLiteral("Select * From t")).columns.size(),
            columns + 1);
    }

    // executeBatch on the embedded server (TestOdbcServer runs the same checks on SQL Server).
    void batchesRunInOrder() {
        m_server->run(QStringLiteral("suite"), {QStringLiteral("CREATE TABLE AdmGrup (grID INTEGER PRIMARY KEY, "
                                                               "grCod TEXT)")});
        checkExecuteBatch(*Connection::open(m_server->connectionString()), 1, 0);
    }

    void droppedConnectionRollsBackItsTransaction() {
        {
            auto c = Connection::open(m_server->connectionString());
            c->beginTrans();
            c->execute(QStringLiteral("Insert Into t (a) Values (1)"));
        }
        QCOMPARE(rows(), 0);
        // The write lock went with it: another connection writes at once.
        auto other = Connection::open(m_server->connectionString());
        db::Transaction t(*other);
        other->execute(QStringLiteral("Insert Into t (a) Values (2)"));
        t.commit();
        QCOMPARE(rows(), 1);
    }
};

QTEST_GUILESS_MAIN(TestConnection)
#include "TestConnection.moc"
