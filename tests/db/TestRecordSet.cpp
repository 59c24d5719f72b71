#include "support/TinyServer.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/RecordSet.h"
#include "db/StatementLog.h"

#include <QDateTime>
#include <QTest>

using db::Connection;
using db::DbError;
using db::RecordSet;

namespace {

int errorNumber(const std::function<void()>& body) {
    try {
        body();
    } catch (const DbError& e) {
        return e.number();
    }
    return 0;
}

} // namespace

class TestRecordSet : public QObject {
    Q_OBJECT

private:
    TinyServer* m_server = nullptr;
    std::shared_ptr<Connection> m_connection;

    int count(const QString& where) {
        return m_server->scalar(QStringLiteral("suite"), QStringLiteral("SELECT count(*) FROM AdmGrup WHERE ") + where)
            .toInt();
    }

private slots:
    void init() {
        m_server = new TinyServer;
        m_server->createDatabase(
            QStringLiteral("suite"),
            {QStringLiteral("CREATE TABLE AdmGrup (grID integer, grCod text, grDenumire text, grobs text, "
                            "IdOperator integer, DataAct datetime, Weight real)"),
             QStringLiteral(
                 "INSERT INTO AdmGrup VALUES (1, 'ADM', 'Admins', NULL, 55, '2024-01-02T03:04:05.000', 0.1)"),
             QStringLiteral("INSERT INTO AdmGrup VALUES (2, 'OPS', '', 'x', 55, NULL, NULL)"),
             QStringLiteral("CREATE TABLE admGrupPuncteLucru (grID integer, IdPctLucru integer)")});
        m_server->createDatabase(QStringLiteral("stk"),
                                 {QStringLiteral("CREATE TABLE FAZ_Brand (IdBrand integer, Brand "
                                                 "text)"),
                                  QStringLiteral("INSERT INTO FAZ_Brand VALUES (1, 'Alfa')")});
        m_connection = Connection::open(m_server->connectionString());
    }

    void cleanup() {
        m_connection.reset();
        delete m_server;
        m_server = nullptr;
    }

    void readsRowsByNameAndPosition() {
        RecordSet rs;
        QVERIFY(!rs.isOpen());
        rs.open(QStringLiteral("Select * From AdmGrup (nolock) Order By GrCod"), m_connection);
        QVERIFY(rs.isOpen());
        QCOMPARE(rs.recordCount(), 2);
        QCOMPARE(rs.fieldCount(), 7);
        QCOMPARE(rs.fieldName(1), QStringLiteral("grCod"));
        QCOMPARE(rs.field(QStringLiteral("GRCOD")).toString(), QStringLiteral("ADM"));
        QCOMPARE(rs.field(0).toInt(), 1);
        QVERIFY(rs.field(QStringLiteral("grobs")).isNull());
        rs.moveNext();
        QVERIFY(!rs.eof());
        QVERIFY(!rs.field(QStringLiteral("grDenumire")).isNull());
        QCOMPARE(rs.field(QStringLiteral("grDenumire")).toString(), QString());
        rs.moveNext();
        QVERIFY(rs.eof());
        QCOMPARE(errorNumber([&] { rs.field(0); }), DbError::NoCurrentRecord);
        QCOMPARE(errorNumber([&] { rs.moveNext(); }), DbError::NoCurrentRecord);
        rs.moveFirst();
        QCOMPARE(rs.field(QStringLiteral("grID")).toInt(), 1);
        QCOMPARE(errorNumber([&] { rs.field(QStringLiteral("nosuch")); }), DbError::ItemNotFound);
        QCOMPARE(errorNumber([&] { rs.field(7); }), DbError::ItemNotFound);
        rs.close();
        QVERIFY(!rs.isOpen());
        QCOMPARE(errorNumber([&] { rs.field(0); }), DbError::ObjectClosed);
        QCOMPARE(errorNumber([&] { rs.eof(); }), DbError::ObjectClosed);
    }

    void aForwardOnlySetReadsWhatTheClientSideSetReads() {
        const QString sql = QStringLiteral("Select * From AdmGrup (nolock) Order By GrCod");
        RecordSet all;
        all.open(sql, m_connection);
        RecordSet stream;
        stream.open(sql, m_connection, RecordSet::ForwardOnly, RecordSet::ReadOnly);
        QCOMPARE(stream.recordCount(), -1);
        QCOMPARE(stream.fieldCount(), all.fieldCount());
        int rows = 0;
        for (; !stream.eof(); stream.moveNext(), all.moveNext(), ++rows) {
            QVERIFY(!all.eof());
            for (int i = 0; i < all.fieldCount(); ++i) {
                QCOMPARE(stream.field(i).isNull(), all.field(i).isNull());
                QCOMPARE(stream.field(i), all.field(i));
            }
        }
        QVERIFY(all.eof());
        QCOMPARE(rows, 2);
        QCOMPARE(errorNumber([&] { stream.moveFirst(); }), -2147217884);
        QCOMPARE(errorNumber([&] { stream.setField(QStringLiteral("grCod"), 1); }), 3251);

        // Other databases of the server, failures at open, and the statement log as for any set.
        RecordSet brands;
        brands.open(QStringLiteral("Select Brand From stk..FAZ_Brand"), m_connection, RecordSet::ForwardOnly,
                    RecordSet::ReadOnly);
        QCOMPARE(brands.field(0).toString(), QStringLiteral("Alfa"));
        RecordSet missing;
        QVERIFY(errorNumber([&] {
                    missing.open(QStringLiteral("Select * From NoSuchTable"), m_connection, RecordSet::ForwardOnly,
                                 RecordSet::ReadOnly);
                }) != 0);
        QVERIFY(!missing.isOpen());
        db::StatementLog::failAt(1, DbError(-7, QStringLiteral("injected"), QStringLiteral("test")));
        QCOMPARE(errorNumber([&] { RecordSet().open(sql, m_connection, RecordSet::ForwardOnly, RecordSet::ReadOnly); }),
                 -7);
    }

    void keepsItsConnectionWhileOpen() {
        std::weak_ptr<Connection> watch = m_connection;
        RecordSet rs;
        rs.open(QStringLiteral("Select * From AdmGrup"), m_connection);
        m_connection.reset();
        QVERIFY(!watch.expired());
        rs.setField(QStringLiteral("grobs"), QStringLiteral("kept"));
        rs.update();
        rs.close();
        QVERIFY(watch.expired());
        QCOMPARE(count(QStringLiteral("grobs = 'kept'")), 1);
    }

    void failedOpenLeavesTheSetClosed() {
        RecordSet rs;
        QVERIFY_THROWS_EXCEPTION(DbError, rs.open(QStringLiteral("Select * From NoSuchTable"), m_connection));
        QVERIFY(!rs.isOpen());
    }

    void addNewInsertsTheSetFields() {
        RecordSet rs;
        rs.open(QStringLiteral("Select * From AdmGrup Where grID = 0"), m_connection);
        QVERIFY(rs.eof());
        rs.addNew();
        QVERIFY(!rs.eof());
        QVERIFY(rs.field(QStringLiteral("grCod")).isNull());
        rs.setField(QStringLiteral("grID"), 3);
        rs.setField(QStringLiteral("grCod"), QStringLiteral("O'Brien; --"));
        rs.setField(QStringLiteral("grDenumire"), QString(QLatin1String("")));
        rs.setField(QStringLiteral("DataAct"), QDateTime::currentDateTime());
        rs.update();
        QCOMPARE(rs.field(QStringLiteral("grID")).toInt(), 3);
        QCOMPARE(rs.recordCount(), 1);
        QCOMPARE(count(QStringLiteral("grID = 3 AND grCod = 'O''Brien; --' AND grDenumire = '' AND grobs IS NULL")), 1);

        // The row just added can be changed again, found by the values it was written with.
        rs.setField(QStringLiteral("grobs"), QStringLiteral("second"));
        rs.update();
        QCOMPARE(count(QStringLiteral("grID = 3 AND grobs = 'second'")), 1);
        QCOMPARE(count(QStringLiteral("1 = 1")), 3);
    }

    void updateWritesOnlyTheCurrentRow() {
        RecordSet rs;
        rs.open(QStringLiteral("Select * From AdmGrup Where grID = 1"), m_connection);
        rs.setField(QStringLiteral("grDenumire"), QStringLiteral("Administrators"));
        rs.setField(QStringLiteral("grobs"), QVariant());
        rs.setField(QStringLiteral("DataAct"), QDateTime(QDate(2025, 3, 7), QTime(10, 0)));
        QCOMPARE(rs.field(QStringLiteral("grDenumire")).toString(), QStringLiteral("Administrators"));
        rs.update();
        QCOMPARE(count(QStringLiteral("grID = 1 AND grDenumire = 'Administrators' AND grobs IS NULL")), 1);
        QCOMPARE(count(QStringLiteral("grID = 2 AND grDenumire = '' AND grobs = 'x'")), 1);
        QCOMPARE(count(QStringLiteral("grID = 1 AND DataAct LIKE '2025-03-07%'")), 1);
    }

    void updateOfARowChangedMeanwhileFails() {
        RecordSet rs;
        rs.open(QStringLiteral("Select * From AdmGrup Where grID = 2"), m_connection);
        m_server->run(QStringLiteral("suite"), {QStringLiteral("UPDATE AdmGrup SET grobs = 'other' WHERE grID = 2")});
        rs.setField(QStringLiteral("grCod"), QStringLiteral("NEW"));
        QVERIFY(errorNumber([&] { rs.update(); }) != 0);
        QCOMPARE(count(QStringLiteral("grCod = 'NEW'")), 0);
    }

    void updateWithoutACurrentRowFails() {
        RecordSet rs;
        rs.open(QStringLiteral("Select * From AdmGrup Where grID = 99"), m_connection);
        QCOMPARE(errorNumber([&] { rs.setField(QStringLiteral("grCod"), QStringLiteral("X")); }),
                 DbError::NoCurrentRecord);
        QCOMPARE(errorNumber([&] { rs.update(); }), DbError::NoCurrentRecord);
        QCOMPARE(count(QStringLiteral("grCod = 'X'")), 0);
    }

    void readOnlySetsAndOtherShapesAreNotWritten() {
        RecordSet maxima;
        maxima.open(QStringLiteral("Select max(grID) From AdmGrup"), m_connection, RecordSet::ForwardOnly,
                    RecordSet::ReadOnly);
        QCOMPARE(maxima.field(0).toInt(), 2);
        QVERIFY(errorNumber([&] { maxima.setField(QStringLiteral("max(grID)"), 5); }) != 0);

        RecordSet joined;
        joined.open(QStringLiteral("Select a.* From AdmGrup a Where grID = 1"), m_connection);
        joined.setField(QStringLiteral("grCod"), QStringLiteral("JOINED"));
        try {
            joined.update();
            QFAIL("an aliased select was written");
        } catch (const DbError& e) {
            QVERIFY(e.description().contains(QLatin1String("single-table")));
        }
        QCOMPARE(count(QStringLiteral("grCod = 'JOINED'")), 0);
    }

    void existingRowIsRewrittenNotDuplicated() {
        m_server->run(QStringLiteral("suite"), {QStringLiteral("INSERT INTO admGrupPuncteLucru VALUES (5, 7)")});
        for (int round = 0; round < 2; ++round) {
            RecordSet rs;
            rs.open(QStringLiteral(" Select * From admGrupPuncteLucru Where grID = 5 And IdPctLucru = 7"),
                    m_connection);
            if (rs.eof())
                rs.addNew();
            rs.setField(QStringLiteral("grID"), 5);
            rs.setField(QStringLiteral("idpctLucru"), QStringLiteral("7"));
            rs.update();
            rs.close();
        }
        QCOMPARE(m_server->scalar(QStringLiteral("suite"), QStringLiteral("SELECT count(*) FROM admGrupPuncteLucru"))
                     .toInt(),
                 1);
    }

    void tablesOfSiblingDatabasesAreWritable() {
        RecordSet rs;
        rs.open(QStringLiteral("Select * From stk..FAZ_Brand (nolock) Where IdBrand = 1"), m_connection);
        rs.setField(QStringLiteral("Brand"), QStringLiteral("Beta"));
        rs.update();
        QCOMPARE(m_server->scalar(QStringLiteral("stk"), QStringLiteral("SELECT Brand FROM FAZ_Brand")).toString(),
                 QStringLiteral("Beta"));
    }

    void writesPassTheStatementLog() {
        RecordSet rs;
        rs.open(QStringLiteral("Select * From AdmGrup Where grID = 1"), m_connection);
        db::StatementLog::failAt(1, DbError(77, QStringLiteral("injected")));
        rs.setField(QStringLiteral("grCod"), QStringLiteral("LOGGED"));
        QCOMPARE(errorNumber([&] { rs.update(); }), 77);
        db::StatementLog::clearFailure();
        QCOMPARE(count(QStringLiteral("grCod = 'LOGGED'")), 0);
        rs.update();
        QCOMPARE(count(QStringLiteral("grCod = 'LOGGED'")), 1);
    }
};

QTEST_GUILESS_MAIN(TestRecordSet)
#include "TestRecordSet.moc"
