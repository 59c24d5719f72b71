#include "db/Connection.h"
#include "db/DbError.h"
#include "session/LoginComponent.h"
#include "session/OpenConnection.h"
#include "support/TdsServer.h"
#include "support/TempServer.h"

#include <QFile>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

// The login profile's user name and password reach the server exactly as the profile holds
// them, whatever characters they carry, through the real road: profile, connection string,
// unixODBC, FreeTDS, the TDS server double.
class TestProfileLogin : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void credentialsReachTheServerUnchanged_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::newRow("separators") << QStringLiteral("admin") << QStringLiteral("p;w{d=1'x]");
        QTest::newRow("blanks kept") << QStringLiteral("admin") << QStringLiteral("a b");
        QTest::newRow("Romanian letters") << QStringLiteral("admin") << QStringLiteral("Parolă ȘȚ");
        QTest::newRow("file name in the password") << QStringLiteral("admin") << QStringLiteral("old.dsn");
        QTest::newRow("file name in the user") << QStringLiteral("ion.dsn") << QStringLiteral("x");
        QTest::newRow("user with separators") << QStringLiteral("o'neil;[r]") << QStringLiteral("x");
    }

    void credentialsReachTheServerUnchanged() {
        QFETCH(QString, user);
        QFETCH(QString, password);
        TempServer files;
        TdsServer::Options options;
        options.arguments << QStringLiteral("--login") << user + QStringLiteral(":*");
        const auto server = TdsServer::start(files.directory(), options);
        if (!server)
            QSKIP(qPrintable(TdsServer::skipReason()));
        if (!server->isDouble())
            QSKIP("the logins of a real server are its own");

        const QString path = m_dir.filePath(QStringLiteral("profile.ini"));
        QFile profile(path);
        QVERIFY(profile.open(QIODevice::WriteOnly | QIODevice::Truncate));
        profile.write(QStringLiteral("[Access]\nHasAccess=true\nUserId=4\n[Connection]\nAuthenticationMode=0\n"
                                     "ServerName=%1\nDatabaseName=%2\nUserName=%3\nPassword=%4\n")
                          .arg(server->serverName(), server->databaseName(), user, password)
                          .toUtf8());
        profile.close();
        qputenv("SUITE_LOGIN_PROFILE", QFile::encodeName(path));
        LoginComponent login;
        bool flag = true;
        login.CheckAccess(flag);
        QCOMPARE(login.Password(), password);

        server->mark();
        try {
            const auto connection = db::Connection::open(BuildConnectionString(login));
            QCOMPARE(connection->query(QStringLiteral("Select 7")).rows.value(0).value(0).toInt(), 7);
        } catch (const db::DbError& e) {
            QFAIL(qPrintable(e.description()));
        }
        QJsonObject seen;
        for (const QJsonObject& event : server->events())
            if (event.value(QStringLiteral("event")).toString() == QLatin1String("login"))
                seen = event;
        QCOMPARE(seen.value(QStringLiteral("user")).toString(), user);
        QCOMPARE(seen.value(QStringLiteral("password")).toString(), password);
        QCOMPARE(seen.value(QStringLiteral("database")).toString(), server->databaseName());
    }
};

QTEST_GUILESS_MAIN(TestProfileLogin)
#include "TestProfileLogin.moc"
