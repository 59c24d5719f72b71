#include "db/Connection.h"
#include "db/DbError.h"
#include "db/OneConnectionAttempt.h"
#include "db/PassOver.h"
#include "db/RecordSet.h"
#include "db/SharedConnection.h"
#include "db/StatementLog.h"
#include "db/Transaction.h"
#include "support/BatchChecks.h"
#include "support/TdsServer.h"
#include "support/TempServer.h"

#include <QDateTime>
#include <QJsonArray>
#include <QTest>
#include <memory>

using db::Connection;
using db::DbError;
using db::RecordSet;

namespace {

// Texts that a code page, a quoting slip or a split multi-byte character would change.
const QStringList HostileTexts = {
    QStringLiteral("Vânzări Ștefănești"),
    QStringLiteral("ț ș Ț Ș ă â î"),
    QStringLiteral("O'Brien \"quoted\" [x]] %_; --"),
    QStringLiteral("Grüße 😀 ≠ €"),
    // Longer than the column's declared width in bytes once in UTF-8, but not in characters.
    QStringLiteral("ȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘȘ"),
    QString(),
    QStringLiteral(""),
};

} // namespace

// The data layer's road to SQL Server (unixODBC, FreeTDS, Qt's ODBC driver) against the TDS server
// double, or a real server: text exactly both ways, the true error, and one login per command.
class TestOdbcServer : public QObject {
    Q_OBJECT

    std::unique_ptr<TempServer> m_files;
    std::unique_ptr<TdsServer> m_server;

    // False when there is no server to test against (the test then skips with the reason).
    bool startServer(const TdsServer::Options& options = {}) {
        m_server.reset();
        m_server = TdsServer::start(m_files->directory(), options);
        if (!m_server)
            return false;
        const QString connection = m_server->connectionString();
        db::setConnectionOpener([connection] { return Connection::open(connection); });
        removeOwnRows();
        return true;
    }

    std::shared_ptr<Connection> connect() { return Connection::open(m_server->connectionString()); }

    // A group id of this test's own, far above any a real suite holds.
    static constexpr int GroupId = 990001;

    // On a real server the rows of an earlier run that failed may still be there.
    void removeOwnRows() {
        if (m_server && !m_server->isDouble())
            connect()->execute(
                QStringLiteral("Delete From AdmGrup Where grID >= %1 And grID < %2").arg(GroupId).arg(GroupId + 100));
    }

private slots:
    void initTestCase() {
        if (!TdsServer::skipReason().isEmpty())
            QSKIP(qPrintable(TdsServer::skipReason()));
    }
    void init() { m_files = std::make_unique<TempServer>(); }
    void cleanup() {
        db::StatementLog::clearFailure();
        db::SharedConnection().reset();
        if (m_server)
            passOver([this] { removeOwnRows(); });
        m_server.reset();
        m_files.reset();
    }

    void textReachesTheServerExactly_data() {
        QTest::addColumn<QString>("collation");
        QTest::newRow("code page 1252") << QStringLiteral("0x0409");
        QTest::newRow("code page 1250") << QStringLiteral("0x0418");
    }

    // Every hostile text written through a record set (bound values) comes back exactly, on a server
    // whose collation is a single-byte code page; so do Null, an empty text, a date and numbers.
    void textReachesTheServerExactly() {
        QFETCH(QString, collation);
        if (!startServer({{QStringLiteral("--lcid"), collation}, {}}))
            QSKIP(qPrintable(TdsServer::skipReason()));
        const QDateTime stamp(QDate(2025, 3, 7), QTime(14, 5, 9, 250));
        auto connection = connect();
        for (int i = 0; i < HostileTexts.size(); ++i) {
            RecordSet group;
            group.open(QStringLiteral("Select * From AdmGrup Where grID = 0"), connection);
            group.addNew();
            group.setField(QStringLiteral("grID"), GroupId + i);
            group.setField(QStringLiteral("grCod"), QStringLiteral("c%1").arg(i));
            group.setField(QStringLiteral("grDenumire"), HostileTexts.at(i));
            group.setField(QStringLiteral("IdOperator"), 55);
            group.setField(QStringLiteral("DataAct"), stamp);
            group.update();
            group.close();
        }
        // An update finds its row again by the hostile texts it read.
        RecordSet changed;
        changed.open(QStringLiteral("Select * From AdmGrup Where grID = %1").arg(GroupId), connection);
        changed.setField(QStringLiteral("grobs"), HostileTexts.at(1));
        changed.update();
        changed.close();
        // So does an update of the row whose text is empty, not Null.
        RecordSet empty;
        empty.open(QStringLiteral("Select * From AdmGrup Where grID = %1").arg(GroupId + HostileTexts.size() - 1),
                   connection);
        empty.setField(QStringLiteral("grCod"), QStringLiteral("gol"));
        empty.update();
        empty.close();

        const db::ResultRows back = connect()->query(
            QStringLiteral("Select grID, grDenumire, grobs, IdOperator, DataAct From AdmGrup Where grID >= %1 "
                           "Order By grID")
                .arg(GroupId));
        QCOMPARE(back.rows.size(), HostileTexts.size());
        for (int i = 0; i < HostileTexts.size(); ++i) {
            const QList<QVariant>& row = back.rows.at(i);
            QCOMPARE(row.at(0).toInt(), GroupId + i);
            QCOMPARE(row.at(1).toString().isNull(), HostileTexts.at(i).isNull());
            QCOMPARE(row.at(1).toString(), m_server->asStored("AdmGrup", "grDenumire", HostileTexts.at(i)));
            QCOMPARE(row.at(2).isNull(), i != 0);
            QCOMPARE(row.at(3).toInt(), 55);
            // SQL Server keeps datetime to 1/300 of a second.
            QVERIFY(qAbs(row.at(4).toDateTime().msecsTo(stamp)) <= 3);
        }
        QCOMPARE(back.rows.at(0).at(2).toString(), m_server->asStored("AdmGrup", "grobs", HostileTexts.at(1)));

        if (m_server->isDouble()) {
            const QList<QVariantList> stored = m_files->rows(
                "suitedb", QStringLiteral("SELECT grDenumire FROM AdmGrup WHERE grID >= ? ORDER BY grID"), {GroupId});
            for (int i = 0; i < HostileTexts.size(); ++i)
                QCOMPARE(stored.at(i).value(0).toString(), HostileTexts.at(i));
        }
    }

    // Rows read one at a time come back as exactly as rows read at once; a cursor let go before its
    // last row leaves the connection ready for the next statement.
    void cursorsReadTextExactly() {
        if (!startServer())
            QSKIP(qPrintable(TdsServer::skipReason()));
        auto connection = connect();
        for (int i = 0; i < HostileTexts.size(); ++i)
            connection->executeBound(QStringLiteral("Insert Into AdmGrup (grID, grDenumire) Values (?, ?)"),
                                     {GroupId + i, HostileTexts.at(i)});
        {
            RecordSet all;
            all.open(QStringLiteral("Select grDenumire From AdmGrup Where grID >= %1 Order By grID").arg(GroupId),
                     connection, RecordSet::ForwardOnly, RecordSet::ReadOnly);
            QStringList read;
            QStringList expected;
            for (; !all.eof(); all.moveNext())
                read << all.field(0).toString();
            for (const QString& text : HostileTexts)
                expected << m_server->asStored("AdmGrup", "grDenumire", text);
            QCOMPARE(read, expected);
        }
        {
            RecordSet first;
            first.open(QStringLiteral("Select grID From AdmGrup Where grID >= %1 Order By grID").arg(GroupId),
                       connection, RecordSet::ForwardOnly, RecordSet::ReadOnly);
            QCOMPARE(first.field(0).toInt(), GroupId);
        }
        QCOMPARE(connection->query(QStringLiteral("Select count(*) From AdmGrup Where grID >= %1").arg(GroupId))
                     .rows.at(0)
                     .at(0)
                     .toInt(),
                 HostileTexts.size());
    }

    // A text longer than one piece of the driver's answer comes back whole, the diacritics at the
    // seam between two pieces included.
    void longTextsComeBackWhole() {
        if (!startServer())
            QSKIP(qPrintable(TdsServer::skipReason()));
        const QString text = QString(2045, QChar(u'ț')) + QStringLiteral("ăîâșȘ") + QString(1000, QChar(u'a'));
        const db::ResultRows back = connect()->query(QStringLiteral("Select N'%1'").arg(text));
        QCOMPARE(back.rows.value(0).value(0).toString(), text);
    }

    // Empty bytes are read as empty, not as Null: a record set finds its row again by them, and
    // Null bytes stay Null.
    void emptyBytesAreNotNull() {
        if (!startServer())
            QSKIP(qPrintable(TdsServer::skipReason()));
        if (!m_server->isDouble())
            QSKIP("this test needs the TDS server double's files");
        m_files->exec("suitedb", "CREATE TABLE tvBlob (tvID INTEGER NOT NULL PRIMARY KEY, tvData BLOB, tvNote TEXT)");
        m_files->exec("suitedb", "INSERT INTO tvBlob VALUES (41, X'', 'a'), (42, NULL, 'b')");
        auto connection = connect();
        for (const int id : {41, 42}) {
            RecordSet row;
            row.open(QStringLiteral("Select * From tvBlob Where tvID = %1").arg(id), connection);
            QCOMPARE(row.field(QStringLiteral("tvData")).toByteArray().isNull(), id == 42);
            row.setField(QStringLiteral("tvNote"), QStringLiteral("changed %1").arg(id));
            row.update();
        }
        QCOMPARE(m_files->rows("suitedb", "SELECT tvID, typeof(tvData), tvNote FROM tvBlob ORDER BY tvID"),
                 QList<QVariantList>({{41, "blob", "changed 41"}, {42, "null", "changed 42"}}));
    }

    void theCauseIsTheError_data() {
        QTest::addColumn<QString>("widths");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("number");
        QTest::newRow("narrowed column") << QStringLiteral("admgrup.grcod=3")
                                         << QStringLiteral("Insert Into AdmGrup (grID, grCod) Values (%1, 'LUNG')")
                                         << 2628;
        QTest::newRow("duplicate key") << QString()
                                       << QStringLiteral("Insert Into AdmGrup (grID, grCod) Values (%1, 'DUP')")
                                       << 2627;
        QTest::newRow("Null into a column that takes none")
            << QString() << QStringLiteral("Insert Into admGrupAutor (auID, grID) Values (NULL, %1)") << 515;
    }

    // After a failed INSERT the server sends the cause and then 3621 "The statement has been
    // terminated": the error carries the cause's number, the other record in its description, and
    // the caller's rollback leaves nothing behind.
    void theCauseIsTheError() {
        QFETCH(QString, widths);
        QFETCH(QString, sql);
        QFETCH(int, number);
        if (!startServer(
                {{}, widths.isEmpty() ? QStringList() : QStringList{QStringLiteral("TDSEMU_WIDTHS=") + widths}}))
            QSKIP(qPrintable(TdsServer::skipReason()));
        if (!m_server->isDouble())
            QSKIP("this test needs the TDS server double's files or log");
        m_files->exec("suitedb", QStringLiteral("INSERT INTO AdmGrup (grID, grCod) VALUES (%1, 'DUP')").arg(GroupId));
        auto connection = connect();
        try {
            db::Transaction transaction(*connection);
            connection->execute(QStringLiteral("Insert Into AdmGrup (grID, grCod) Values (%1, 'X')").arg(GroupId + 1));
            connection->execute(sql.arg(GroupId));
            transaction.commit();
            QFAIL("the failing insert raised nothing");
        } catch (const DbError& e) {
            QCOMPARE(e.number(), number);
            QVERIFY2(e.description().contains(QLatin1String("The statement has been terminated")),
                     qPrintable(e.description()));
            QVERIFY(!e.description().startsWith(QLatin1String("The statement")));
        }
        QCOMPARE(m_files->value("suitedb", "SELECT count(*) FROM AdmGrup").toInt(), 1);
        // The connection serves on after the failure.
        QCOMPARE(connection->query(QStringLiteral("Select count(*) From AdmGrup")).rows.at(0).at(0).toInt(), 1);
    }

    // A command (the window's guard) logs in at most once; the next command reuses that login
    // after one round trip that checks it.
    void oneLoginPerCommand() {
        if (!startServer())
            QSKIP(qPrintable(TdsServer::skipReason()));
        if (!m_server->isDouble())
            QSKIP("this test needs the TDS server double's files or log");
        const auto command = [] {
            const db::OneConnectionAttempt guard;
            for (int i = 0; i < 4; ++i) {
                RecordSet set;
                set.open(QStringLiteral("Select * From AdmGrup"), db::ReplaceSharedConnection());
                set.close();
            }
            db::Transaction transaction(*db::ReplaceSharedConnection());
            db::SharedConnection()->execute(QStringLiteral("Delete From AdmGrup Where grID = 1"));
            transaction.commit();
        };
        // The requests that are not the command's own statements: the login's own and the checks.
        const auto overhead = [this] { return m_server->requests() - int(db::StatementLog::count()); };
        m_server->mark();
        db::StatementLog::resetCount();
        command();
        QCOMPARE(m_server->logins(), 1);
        const int afterLogin = overhead();
        m_server->mark();
        db::StatementLog::resetCount();
        command();
        QCOMPARE(m_server->logins(), 0);
        // The login's own two requests (the second sets its lock timeout) are gone; one check of the
        // kept login came instead.
        QCOMPARE(overhead(), afterLogin - 1);
    }

    // A login held by a transaction serves no other connection meanwhile; once it is over, it does.
    void aLoginInATransactionIsNotLent() {
        if (!startServer())
            QSKIP(qPrintable(TdsServer::skipReason()));
        if (!m_server->isDouble())
            QSKIP("this test needs the TDS server double's files or log");
        const db::OneConnectionAttempt guard;
        auto writer = connect();
        db::Transaction transaction(*writer);
        writer->execute(QStringLiteral("Insert Into AdmGrup (grID, grCod) Values (%1, 'T')").arg(GroupId));
        m_server->mark();
        auto reader = connect();
        QCOMPARE(reader->query(QStringLiteral("Select count(*) From AdmGrup")).rows.at(0).at(0).toInt(), 0);
        QCOMPARE(m_server->logins(), 1);
        transaction.commit();
        m_server->mark();
        QCOMPARE(connect()->query(QStringLiteral("Select count(*) From AdmGrup")).rows.at(0).at(0).toInt(), 1);
        QCOMPARE(m_server->logins(), 0);
    }

    // A restarted server has dropped the kept login: the next command logs in again, without an
    // error and without sending a statement twice.
    void aRestartedServerIsMetByANewLogin() {
        if (!startServer())
            QSKIP(qPrintable(TdsServer::skipReason()));
        if (!m_server->isDouble())
            QSKIP("this test needs the TDS server double's files or log");
        {
            const db::OneConnectionAttempt guard;
            connect()->query(QStringLiteral("Select count(*) From AdmGrup"));
        }
        m_server->restart();
        {
            const db::OneConnectionAttempt guard;
            connect()->execute(QStringLiteral("Insert Into AdmGrup (grID, grCod) Values (%1, 'R')").arg(GroupId));
        }
        QCOMPARE(m_server->logins(), 1);
        QCOMPARE(m_files->value("suitedb", "SELECT count(*) FROM AdmGrup").toInt(), 1);
    }

    // A server that goes away during a command fails the statement it was sent, which is not sent
    // again; the command then tries one login, and only one.
    void aServerGoneDuringACommandIsTriedOnce() {
        if (!startServer())
            QSKIP(qPrintable(TdsServer::skipReason()));
        if (!m_server->isDouble())
            QSKIP("this test needs the TDS server double's files or log");
        const db::OneConnectionAttempt guard;
        auto connection = connect();
        connection->query(QStringLiteral("Select count(*) From AdmGrup"));
        const QString serverName = m_server->serverName();
        m_server.reset();
        QVERIFY_THROWS_EXCEPTION(DbError, connection->query(QStringLiteral("Select count(*) From AdmGrup")));
        try {
            connection->query(QStringLiteral("Select count(*) From AdmGrup"));
            QFAIL("a server that is gone answered");
        } catch (const db::ConnectionError& e) {
            QCOMPARE(e.server(), serverName);
            QVERIFY(db::OneConnectionAttempt::failure().has_value());
        }
        QVERIFY_THROWS_EXCEPTION(db::ConnectionError, db::OpenConnection());
    }

    // executeBatch on SQL Server: the first failure is raised with its cause's number, and the
    // caller's rollback undoes the batch, also where SQL Server ran the statements after the failing
    // one (see checkExecuteBatch; TestConnection runs the same checks on the embedded server).
    void batchesRunInOrder() {
        if (!startServer())
            QSKIP(qPrintable(TdsServer::skipReason()));
        checkExecuteBatch(*connect(), GroupId, 2627);
    }
};

QTEST_GUILESS_MAIN(TestOdbcServer)
#include "TestOdbcServer.moc"
