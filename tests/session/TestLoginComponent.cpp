#include "db/AppError.h"
#include "session/DemoSuite.h"
#include "session/LoginComponent.h"
#include "session/OpenConnection.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The login profile: values read with their types, the demo suite when it is missing, and
// clear errors for a profile that is malformed or holds a value of the wrong type.
class TestLoginComponent : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString writeProfile(const QByteArray& text) {
        const QString path = m_dir.filePath(QStringLiteral("profile.ini"));
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(text);
        f.close();
        qputenv("SUITE_LOGIN_PROFILE", path.toUtf8());
        return path;
    }

    static LoginComponent checked() {
        LoginComponent login;
        login.setApplicationKey(QStringLiteral("Ketrolis"));
        bool flag = true;
        login.CheckAccess(flag);
        return login;
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("data")).toUtf8());
    }

    void readsEveryValueWithItsType() {
        writeProfile("; suite login\n[Access]\nHasAccess=false\nUserId=-3\n\n[Connection]\n"
                     "AuthenticationMode=2\nServerName=db01\\SUITE\nDatabaseName=Firma\n"
                     "UserName=admin\nPassword=a;b,c\n");
        const LoginComponent login = checked();
        QCOMPARE(login.HasAccess(), false);
        QCOMPARE(login.UserId(), qint16(-3));
        QCOMPARE(login.AuthenticationMode(), 2);
        QCOMPARE(login.ServerName(), QStringLiteral("db01\\SUITE"));
        QCOMPARE(login.DatabaseName(), QStringLiteral("Firma"));
        QCOMPARE(login.UserName(), QStringLiteral("admin"));
        QCOMPARE(login.Password(), QStringLiteral("a;b,c"));
    }

    void keysAndSectionsIgnoreCase() {
        writeProfile("[access]\nhasaccess=TRUE\nuserid=7\n[CONNECTION]\nservername=\"srv\"\n");
        const LoginComponent login = checked();
        QVERIFY(login.HasAccess());
        QCOMPARE(login.UserId(), qint16(7));
        QCOMPARE(login.ServerName(), QStringLiteral("srv"));
    }

    void wrongTypesAreErrorsThatNameTheKey_data() {
        QTest::addColumn<QByteArray>("profile");
        QTest::addColumn<QString>("key");
        QTest::newRow("boolean") << QByteArray("[Access]\nHasAccess=maybe\n") << QStringLiteral("Access/HasAccess");
        QTest::newRow("user id text") << QByteArray("[Access]\nUserId=abc\n") << QStringLiteral("Access/UserId");
        QTest::newRow("user id beyond 16 bits")
            << QByteArray("[Access]\nUserId=40000\n") << QStringLiteral("Access/UserId");
        QTest::newRow("mode") << QByteArray("[Connection]\nAuthenticationMode=1.5\n")
                              << QStringLiteral("Connection/AuthenticationMode");
    }
    void wrongTypesAreErrorsThatNameTheKey() {
        QFETCH(QByteArray, profile);
        QFETCH(QString, key);
        const QString path = writeProfile(profile);
        try {
            checked();
            QFAIL("a wrong type must raise");
        } catch (const AppError& e) {
            QCOMPARE(e.number(), int(AppError::LoginComponentError));
            QVERIFY2(e.description().contains(key), qPrintable(e.description()));
            QVERIFY(e.description().contains(path));
            QCOMPARE(e.source(), QStringLiteral("LoginComponent"));
        }
    }

    void malformedLineIsAnError() {
        writeProfile("[Access]\nthis line has no equals sign\n");
        QVERIFY_THROWS_EXCEPTION(AppError, checked());
    }

    void unreadableProfileIsAnError() {
        const QString path = m_dir.filePath(QStringLiteral("a-directory"));
        QDir().mkpath(path);
        qputenv("SUITE_LOGIN_PROFILE", path.toUtf8());
        QVERIFY_THROWS_EXCEPTION(AppError, checked());
    }

    void valuesBeforeCheckAccessAreAnError() {
        LoginComponent login;
        QVERIFY_THROWS_EXCEPTION(AppError, login.ServerName());
    }

    void missingProfileAtTheDefaultPlaceServesTheDemoSuite() {
        qunsetenv("SUITE_LOGIN_PROFILE");
        qputenv("XDG_CONFIG_HOME", m_dir.filePath(QStringLiteral("no-config")).toUtf8());
        const LoginComponent login = checked();
        QVERIFY(login.HasAccess());
        QCOMPARE(login.UserId(), qint16(1));
        QCOMPARE(login.ServerName(), QStringLiteral("sqlite:") + LoginComponent::DemoServerDirectory());
        QCOMPARE(login.DatabaseName(), QString::fromLatin1(DemoDatabaseName));
        QVERIFY(LoginComponent::DemoServerDirectory().startsWith(m_dir.filePath(QStringLiteral("data"))));
        QVERIFY(QFile::exists(LoginComponent::DemoServerDirectory() + QLatin1Char('/') +
                              QString::fromLatin1(DemoDatabaseName) + QStringLiteral(".db")));
    }

    void profilePathFollowsTheEnvironment() {
        qunsetenv("SUITE_LOGIN_PROFILE");
        qputenv("XDG_CONFIG_HOME", "/tmp/cfg-home");
        QCOMPARE(LoginComponent::ProfilePath(), QStringLiteral("/tmp/cfg-home/suite-login/profile.ini"));
    }

    void connectionStrings_data() {
        QTest::addColumn<QByteArray>("connection");
        QTest::addColumn<QString>("expected");
        QTest::newRow("trusted, empty password")
            << QByteArray("AuthenticationMode=1\nServerName=srv\nDatabaseName=Firma\nUserName=ana\n")
            << QStringLiteral("provider=SQLOLEDB;UID=ana;SERVER=srv;APP=;WSID=;DATABASE=Firma;"
                              "Trusted_Connection=yes;pwd=");
        QTest::newRow("mode 0") << QByteArray("AuthenticationMode=0\nServerName=srv\nDatabaseName=Firma\n"
                                              "UserName=ana\nPassword=p1\n")
                                << QStringLiteral("DRIVER=SQL Server;UID=ana;pwd=p1;DATABASE=Firma;Server=srv");
        QTest::newRow("mode 2") << QByteArray("AuthenticationMode=2\nServerName=s\nDatabaseName=d\nUserName=u\n"
                                              "Password=p\n")
                                << QStringLiteral("DRIVER=SQL Server;UID=u;pwd=p;DATABASE=d;Server=s");
        QTest::newRow("mode -1") << QByteArray("AuthenticationMode=-1\nServerName=s\nDatabaseName=d\nUserName=u\n"
                                               "Password=p\n")
                                 << QStringLiteral("DRIVER=SQL Server;UID=u;pwd=p;DATABASE=d;Server=s");
        // A semicolon or brace can no longer split the string into another attribute.
        QTest::newRow("password with semicolon")
            << QByteArray("AuthenticationMode=0\nServerName=s\nDatabaseName=d\nUserName=u\nPassword=a;b\n")
            << QStringLiteral("DRIVER=SQL Server;UID=u;pwd={a;b};DATABASE=d;Server=s");
        QTest::newRow("server with semicolon")
            << QByteArray("AuthenticationMode=1\nServerName=s;x=1\nDatabaseName=d\nUserName=u\n")
            << QStringLiteral("provider=SQLOLEDB;UID=u;SERVER={s;x=1};APP=;WSID=;DATABASE=d;"
                              "Trusted_Connection=yes;pwd=");
    }
    void connectionStrings() {
        QFETCH(QByteArray, connection);
        QFETCH(QString, expected);
        writeProfile("[Access]\nHasAccess=true\n[Connection]\n" + connection);
        QCOMPARE(BuildConnectionString(checked()), expected);
    }
};

QTEST_GUILESS_MAIN(TestLoginComponent)
#include "TestLoginComponent.moc"
