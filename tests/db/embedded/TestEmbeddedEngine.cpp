#include "support/TinyServer.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Transaction.h"

#include <QDateTime>
#include <QFile>
#include <QTest>
#include <QThread>

using db::Connection;
using db::DbError;

class TestEmbeddedEngine : public QObject {
    Q_OBJECT

private:
    TinyServer* m_server = nullptr;

    std::shared_ptr<Connection> open() { return Connection::open(m_server->connectionString()); }

private slots:
    void init() {
        m_server = new TinyServer;
        m_server->createDatabase(QStringLiteral("suite"),
                                 {QStringLiteral("CREATE TABLE AdmGrup (grID integer, grCod text, grDenumire text, "
                                                 "grobs text, IdOperator integer, DataAct datetime)"),
                                  QStringLiteral("CREATE TABLE admUserGrup (usID integer, grID integer, IdOperator "
                                                 "integer, DataAct date)"),
                                  QStringLiteral("INSERT INTO AdmGrup VALUES (1, 'ADM', 'Admins', NULL, 55, NULL)")});
        m_server->createDatabase(QStringLiteral("stk"),
                                 {QStringLiteral("CREATE TABLE FAZ_Brand (IdBrand integer, Brand text)"),
                                  QStringLiteral("CREATE TABLE stk_cfgOperDrepturi (grID integer)"),
                                  QStringLiteral("INSERT INTO FAZ_Brand VALUES (2, 'Zeta'), (1, 'Alfa')")});
    }

    void cleanup() {
        delete m_server;
        m_server = nullptr;
    }

    void openFailsClearlyForMissingServerOrDatabase() {
        try {
            Connection::open(m_server->connectionString(QStringLiteral("nosuch")));
            QFAIL("a missing database opened");
        } catch (const DbError& e) {
            QCOMPARE(e.number(), 4060);
            QVERIFY(e.description().contains(QLatin1String("nosuch")));
        }
        QVERIFY(!QFile::exists(m_server->path(QStringLiteral("nosuch"))));
        try {
            Connection::open(QStringLiteral("DATABASE=suite;Server=sqlite:") + m_server->directory() +
                             QLatin1String("/missing"));
            QFAIL("a missing server directory opened");
        } catch (const DbError& e) {
            QCOMPARE(e.number(), 17);
        }
    }

    void databaseNameAndServerKeyIgnoreCase() {
        auto c = Connection::open(QStringLiteral("SERVER=sqlite:%1;database=SUITE").arg(m_server->directory()));
        QVERIFY(c->isEmbedded());
        QCOMPARE(c->query(QStringLiteral("Select count(*) From admgrup")).rows.value(0).value(0).toInt(), 1);
    }

    void tableNamesCompareWithoutCase() {
        auto c = open();
        c->execute(QStringLiteral("Insert Into admGrup (grID, grCod) Values (2, 'X')"));
        const auto rows = c->query(QStringLiteral("Select * From AdmGrup (nolock) Order By GrCod")).rows;
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows.at(0).at(1).toString(), QStringLiteral("ADM"));
    }

    void siblingDatabasesAreAttached() {
        auto c = open();
        const auto result = c->query(QStringLiteral("Select * from stk..FAZ_Brand (nolock) order by 2"));
        QCOMPARE(result.columns, (QStringList{QStringLiteral("IdBrand"), QStringLiteral("Brand")}));
        QCOMPARE(result.rows.size(), 2);
        QCOMPARE(result.rows.at(0).at(1).toString(), QStringLiteral("Alfa"));
        QCOMPARE(result.rows.at(1).at(0).toInt(), 2);
    }

    void catalogueListsTheDatabases() {
        const QString countStk = QStringLiteral("SELECT count(*) FROM master..sysDatabases WHERE name = N'stk'");
        QCOMPARE(open()->query(countStk).rows.value(0).value(0).toInt(), 1);
        QVERIFY(QFile::exists(m_server->path(QStringLiteral("master"))));

        QVERIFY(QFile::remove(m_server->path(QStringLiteral("stk"))));
        auto c = open();
        QCOMPARE(c->query(countStk).rows.value(0).value(0).toInt(), 0);
        QCOMPARE(c->query(QStringLiteral("SELECT count(*) FROM master..sysDatabases WHERE name = 'SUITE'"))
                     .rows.value(0)
                     .value(0)
                     .toInt(),
                 1);
        try {
            c->execute(QStringLiteral("Delete From stk..stk_cfgOperDrepturi Where grID = 1"));
            QFAIL("a statement on a missing database ran");
        } catch (const DbError& e) {
            QVERIFY(e.description().contains(QLatin1String("stk")));
        }
    }

    void getdateIsTheLocalTime() {
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        const QString text = open()->query(QStringLiteral("Select getdate()")).rows.value(0).value(0).toString();
        const QDateTime stamp = QDateTime::fromString(text, Qt::ISODateWithMs);
        QVERIFY2(stamp.isValid(), qPrintable(text));
        QVERIFY(stamp >= before && stamp <= QDateTime::currentDateTime().addSecs(1));
    }

    void dateLiteralsAreStoredAsIsoDates() {
        auto c = open();
        c->execute(
            QStringLiteral(" Insert Into admUserGrup (usID,grID,IdOperator,DataAct) Values (1,1,55,'03/07/2025')"));
        c->execute(
            QStringLiteral(" Insert Into admUserGrup (usID,grID,IdOperator,DataAct) Values (2,1,55,'20250313')"));
        QCOMPARE(
            m_server
                ->scalar(QStringLiteral("suite"), QStringLiteral("SELECT group_concat(DataAct, ' ') FROM "
                                                                 "(SELECT DataAct FROM admUserGrup ORDER BY usID)"))
                .toString(),
            QStringLiteral("2025-03-07 2025-03-13"));
    }

    void nullIsDistinctFromEmptyText() {
        auto c = open();
        c->execute(QStringLiteral("Update AdmGrup Set grDenumire = '' Where grID = 1"));
        const auto row = c->query(QStringLiteral("Select grDenumire, grobs From AdmGrup")).rows.value(0);
        QVERIFY(!row.at(0).isNull());
        QCOMPARE(row.at(0).toString(), QString());
        QVERIFY(row.at(1).isNull());
        QVERIFY(!row.at(1).isValid());
    }

    void transactionSpansMainAndAttachedDatabases() {
        auto c = open();
        {
            db::Transaction t(*c);
            c->execute(QStringLiteral("Delete From AdmGrup Where grID = 1"));
            c->execute(QStringLiteral("Delete From stk..FAZ_Brand Where IdBrand = 1"));
        }
        QVERIFY(!c->inTransaction());
        QCOMPARE(m_server->scalar(QStringLiteral("suite"), QStringLiteral("SELECT count(*) FROM AdmGrup")).toInt(), 1);
        QCOMPARE(m_server->scalar(QStringLiteral("stk"), QStringLiteral("SELECT count(*) FROM FAZ_Brand")).toInt(), 2);
        {
            db::Transaction t(*c);
            c->execute(QStringLiteral("Delete From AdmGrup Where grID = 1"));
            c->execute(QStringLiteral("Delete From stk..FAZ_Brand Where IdBrand = 1"));
            t.commit();
        }
        QCOMPARE(m_server->scalar(QStringLiteral("suite"), QStringLiteral("SELECT count(*) FROM AdmGrup")).toInt(), 0);
        QCOMPARE(m_server->scalar(QStringLiteral("stk"), QStringLiteral("SELECT count(*) FROM FAZ_Brand")).toInt(), 1);
    }

    void transactionCallsOutOfTurnFail() {
        auto c = open();
        QVERIFY_THROWS_EXCEPTION(DbError, c->commitTrans());
        QVERIFY_THROWS_EXCEPTION(DbError, c->rollbackTrans());
        c->beginTrans();
        QVERIFY(c->inTransaction());
        QVERIFY_THROWS_EXCEPTION(DbError, c->beginTrans());
        c->rollbackTrans();
        QVERIFY(!c->inTransaction());
    }

    void writersWaitForEachOtherAndNewKeysDoNotCollide() {
        auto first = open();
        first->beginTrans();
        const int firstKey =
            first->query(QStringLiteral("Select max(grID) From AdmGrup WITH (UPDLOCK, HOLDLOCK)")).rows[0][0].toInt() +
            1;
        first->execute(QStringLiteral("Insert Into AdmGrup (grID, grCod) Values (%1, 'A')").arg(firstKey));

        QAtomicInteger<int> started = 0;
        QString failure;
        int secondKey = 0;
        QThread* second = QThread::create([&] {
            try {
                auto c = Connection::open(m_server->connectionString());
                started = 1;
                c->beginTrans();
                secondKey = c->query(QStringLiteral("Select max(grID) From AdmGrup WITH (UPDLOCK, HOLDLOCK)"))
                                .rows[0][0]
                                .toInt() +
                            1;
                c->execute(QStringLiteral("Insert Into AdmGrup (grID, grCod) Values (%1, 'B')").arg(secondKey));
                c->commitTrans();
            } catch (const DbError& e) {
                failure = e.description();
            }
        });
        second->start();
        QTRY_VERIFY(started == 1);
        first->commitTrans();
        QTRY_VERIFY(second->isFinished());
        delete second;
        QCOMPARE(failure, QString());
        QCOMPARE(firstKey, 2);
        QCOMPARE(secondKey, 3);
    }

    void moreThanOneStatementIsRefused() {
        auto c = open();
        QVERIFY_THROWS_EXCEPTION(DbError, c->execute(QStringLiteral("Delete From AdmGrup; Delete From admUserGrup")));
        QCOMPARE(m_server->scalar(QStringLiteral("suite"), QStringLiteral("SELECT count(*) FROM AdmGrup")).toInt(), 1);
        c->execute(QStringLiteral("Delete From AdmGrup Where grID = 1;"));
    }
};

QTEST_GUILESS_MAIN(TestEmbeddedEngine)
#include "TestEmbeddedEngine.moc"
