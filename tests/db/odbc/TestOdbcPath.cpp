#include "db/Connection.h"
#include "db/ConnectionString.h"
#include "db/DbError.h"
#include "db/odbc/OdbcDiagnostics.h"
#include "db/odbc/OdbcEngine.h"
#include "support/SilentListener.h"

#include <QSqlDatabase>
#include <QTest>

using db::Connection;
using db::ConnectionString;
using db::DbError;
using db::OdbcEngine;

class TestOdbcPath : public QObject {
    Q_OBJECT

private slots:
    void parsesOdbcAttributes() {
        const auto cs = ConnectionString::parse(
            QStringLiteral("DRIVER=SQL Server;uid=sa;PWD={a;b}}c};Database= d ;server=host,1433;Server=second;flag"));
        QCOMPARE(cs.value(QStringLiteral("UID")), QStringLiteral("sa"));
        QCOMPARE(cs.value(QStringLiteral("pwd")), QStringLiteral("a;b}c"));
        QCOMPARE(cs.value(QStringLiteral("DATABASE")), QStringLiteral(" d "));
        QCOMPARE(cs.value(QStringLiteral("SERVER")), QStringLiteral("host,1433"));
        QVERIFY(cs.value(QStringLiteral("flag")).isNull());
        QCOMPARE(cs.attributes().size(), 6);

        // A server name with an unescaped ";" splits into an extra attribute.
        const auto split = ConnectionString::parse(QStringLiteral("DATABASE=d;Server=a;b"));
        QCOMPARE(split.value(QStringLiteral("Server")), QStringLiteral("a"));
        QVERIFY(ConnectionString::parse(QStringLiteral("APP=;pwd=")).value(QStringLiteral("APP")).isEmpty());
        QVERIFY(!ConnectionString::parse(QStringLiteral("APP=;pwd=")).value(QStringLiteral("APP")).isNull());
    }

    void quotedValuesReadBackUnchanged() {
        QCOMPARE(ConnectionString::quote(QStringLiteral("plain value")), QStringLiteral("plain value"));
        QCOMPARE(ConnectionString::quote(QStringLiteral("a;b")), QStringLiteral("{a;b}"));
        QCOMPARE(ConnectionString::quote(QStringLiteral("x}y")), QStringLiteral("{x}}y}"));
        for (const QString& value : {QStringLiteral("a;b"), QStringLiteral("{x}"), QStringLiteral(" lead"),
                                     QStringLiteral("trail "), QStringLiteral("}}"), QStringLiteral("=;{")}) {
            const QString text = QStringLiteral("Server=") + ConnectionString::quote(value) + QStringLiteral(";UID=u");
            QCOMPARE(ConnectionString::parse(text).value(QStringLiteral("server")), value);
            QCOMPARE(ConnectionString::parse(text).value(QStringLiteral("uid")), QStringLiteral("u"));
        }
    }

    void buildsTheOdbcString() {
        QCOMPARE(OdbcEngine::odbcConnectionString(ConnectionString::parse(
                     QStringLiteral("DRIVER=SQL Server;UID=sa;pwd=p;w;DATABASE=suite;Server=srv\\inst"))),
                 QStringLiteral("DRIVER=SQL Server;UID=sa;pwd=p;DATABASE=suite;Server=srv\\inst;TDS_Version=7.4;"));
        QCOMPARE(OdbcEngine::odbcConnectionString(ConnectionString::parse(
                     QStringLiteral("DRIVER=SQL Server;UID=sa;pwd={a;b};DATABASE=suite;Server=srv"))),
                 QStringLiteral("DRIVER=SQL Server;UID=sa;pwd={a;b};DATABASE=suite;Server=srv;TDS_Version=7.4;"));
        QCOMPARE(OdbcEngine::odbcConnectionString(ConnectionString::parse(
                     QStringLiteral("provider=SQLOLEDB;UID=ion;SERVER=srv;APP=;WSID=;DATABASE=suite;Trusted_"
                                    "Connection=yes;pwd="))),
                 QStringLiteral("DRIVER={SQL Server};UID=ion;SERVER=srv;APP=;WSID=;DATABASE=suite;Trusted_"
                                "Connection=yes;pwd=;TDS_Version=7.4;"));
    }

    // SQL Server sends the cause of a failed write first and "The statement has been terminated"
    // after it; a warning may come before both. The cause is the error; the rest is told after it.
    void theFirstErrorRecordIsTheCause() {
        const QList<db::OdbcDiagnostic> records{
            {QStringLiteral("01000"), 5701, QStringLiteral("Changed database context to 'suite'.")},
            {QStringLiteral("22001"), 2628, QStringLiteral("String or binary data would be truncated.")},
            {QStringLiteral("01000"), 3621, QStringLiteral("The statement has been terminated.")}};
        const DbError error = db::OdbcDiagnostics::error(records, QStringLiteral("driver"), QStringLiteral("none"));
        QCOMPARE(error.number(), 2628);
        QCOMPARE(error.description(), QStringLiteral("String or binary data would be truncated.\n"
                                                     "Changed database context to 'suite'.\n"
                                                     "The statement has been terminated."));
        QCOMPARE(error.source(), QStringLiteral("driver"));
        // Warnings alone: the first one; no record at all: the fallback, as a general error.
        QCOMPARE(db::OdbcDiagnostics::error(records.mid(2), {}, {}).number(), 3621);
        const DbError none = db::OdbcDiagnostics::error({}, QStringLiteral("driver"), QStringLiteral("no record"));
        QCOMPARE(none.number(), DbError::GeneralError);
        QCOMPARE(none.description(), QStringLiteral("no record"));
        QVERIFY(!db::OdbcDiagnostics::connectionLost(records));
        QVERIFY(db::OdbcDiagnostics::connectionLost({{QStringLiteral("08S01"), 20017, QStringLiteral("EOF")}}));
    }

    void closingBraceIsRefused() {
        try {
            Connection::open(QStringLiteral("DRIVER=SQL Server;UID=sa;pwd={a}}b};DATABASE=d;Server=127.0.0.1,1"));
            QFAIL("a value with a closing brace went to the driver");
        } catch (const DbError& e) {
            QVERIFY(e.description().contains(QLatin1String("pwd")));
            QVERIFY(e.description().contains(QLatin1String("}")));
        }
    }

    void closedPortFailsWithTheDriversError() {
        const int connections = QSqlDatabase::connectionNames().size();
        for (const QString& cs :
             {QStringLiteral("DRIVER=SQL Server;UID=sa;pwd=x;DATABASE=d;Server=127.0.0.1,1"),
              QStringLiteral("provider=SQLOLEDB;UID=sa;SERVER=127.0.0.1,1;APP=;WSID=;DATABASE=d;Trusted_Connection="
                             "yes;pwd=")}) {
            try {
                Connection::open(cs, 3);
                QFAIL("a closed port accepted the connection");
            } catch (const DbError& e) {
                QCOMPARE(e.number(), 20009);
                QVERIFY2(e.description().contains(QLatin1String("Unable to connect")), qPrintable(e.description()));
                QVERIFY(!e.source().isEmpty());
            }
        }
        // Failed opens leave no driver connection behind.
        QCOMPARE(QSqlDatabase::connectionNames().size(), connections);
    }

    void serverThatNeverAnswersTimesOut() {
        SilentListener listener;
        QVERIFY(listener.port() > 0);
        try {
            Connection::open(
                QStringLiteral("DRIVER=SQL Server;UID=sa;pwd=x;DATABASE=d;Server=127.0.0.1,%1").arg(listener.port()),
                1);
            QFAIL("a silent server accepted the login");
        } catch (const DbError& e) {
            QVERIFY2(e.description().contains(QLatin1String("Timeout")), qPrintable(e.description()));
        }
    }
};

QTEST_GUILESS_MAIN(TestOdbcPath)
#include "TestOdbcPath.moc"
