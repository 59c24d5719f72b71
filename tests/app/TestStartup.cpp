#include "session/DemoSuite.h"
#include "ui/common/ShowErrors.h"
#include "session/LoginComponent.h"
#include "ui/common/ShowErrorBox.h"
#include "session/OpenConnection.h"
#include "app/modMain.h"
#include "db/SharedConnection.h"
#include "support/ModalAnswerer.h"
#include "ui/main/frmMain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// Start-up's access decision and its refusal, and the one error box.
class TestStartup : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_server;

    void writeProfile(const QByteArray& hasAccess, const QByteArray& userId) {
        const QString path = m_dir.filePath(QStringLiteral("profile.ini"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("[Access]\nHasAccess=" + hasAccess + "\nUserId=" + userId + "\n[Connection]\nServerName=sqlite:" +
                m_server.toUtf8() + "\nDatabaseName=" + DemoDatabaseName + "\nUserName=ana\n");
        f.close();
        qputenv("SUITE_LOGIN_PROFILE", path.toUtf8());
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_server = EnsureDemoSuite(m_dir.filePath(QStringLiteral("server")));
    }

    void decisionIsSignedAndEitherValueGrants_data() {
        QTest::addColumn<bool>("hasAccess");
        QTest::addColumn<int>("userId");
        QTest::addColumn<bool>("granted");
        QTest::newRow("no access, id 0") << false << 0 << false;
        QTest::newRow("no access, id 1") << false << 1 << true;
        QTest::newRow("no access, id 32767") << false << 32767 << true;
        QTest::newRow("access, id 0") << true << 0 << true;
        QTest::newRow("access, negative id") << true << -4 << true;
        QTest::newRow("no access, negative id") << false << -1 << false;
        QTest::newRow("no access, lowest id") << false << -32768 << false;
    }
    void decisionIsSignedAndEitherValueGrants() {
        QFETCH(bool, hasAccess);
        QFETCH(int, userId);
        QFETCH(bool, granted);
        QCOMPARE(modMain::AccessGranted(hasAccess, static_cast<short>(userId)), granted);
    }

    void refusalShowsTheMessageAndOpensNoWindow_data() {
        QTest::addColumn<QByteArray>("userId");
        QTest::newRow("id 0") << QByteArray("0");
        QTest::newRow("id -1") << QByteArray("-1");
    }
    void refusalShowsTheMessageAndOpensNoWindow() {
        QFETCH(QByteArray, userId);
        writeProfile("false", userId);
        ModalAnswerer answer;
        modMain::Main();
        QCOMPARE(answer.count(), 1);
        QCOMPARE(answer.text(), QStringLiteral("You don't have rights to use this application !"));
        QCOMPARE(answer.title(), QStringLiteral("Talvane"));
        QCOMPARE(answer.icon(), QMessageBox::Warning);
        QCOMPARE(answer.buttons(), QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(modMain::MainWindow() == nullptr);
        QCOMPARE(modMain::Login().ApplicationKey(), QStringLiteral("Ketrolis"));
    }

    void grantedOpensTheMainWindowModeless() {
        writeProfile("false", "1");
        modMain::Main();
        frmMain* window = modMain::MainWindow();
        QVERIFY(window != nullptr);
        QTRY_VERIFY(window->isVisible());
        QVERIFY(!window->isModal());
        QVERIFY(window->parentWidget() == nullptr);
        window->close();
        QTRY_VERIFY(modMain::MainWindow() == nullptr);
    }

    void errorBoxShowsFourLines() {
        ModalAnswerer answer;
        ShowErrorBox(db::DbError(-2147217900, QStringLiteral("Invalid object name 'X'."), QStringLiteral("ODBC")),
                     QStringLiteral("Form_Load()"));
        QCOMPARE(answer.count(), 1);
        QCOMPARE(answer.title(), QStringLiteral("Quillmark"));
        QCOMPARE(answer.icon(), QMessageBox::Critical);
        QCOMPARE(answer.buttons(), QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(answer.text(), QStringLiteral("Number : -2147217900\nDescription : Invalid object name 'X'.\n"
                                               "Source : ODBC\nOrigin : Form_Load()"));
    }

    void errorNumberZeroShowsNothing() {
        ModalAnswerer answer;
        ShowErrorBox(0, QStringLiteral("none"), QStringLiteral("none"), QStringLiteral("RefreshMe()"));
        QCoreApplication::processEvents();
        QCOMPARE(answer.count(), 0);
    }

    // A server that is down: the connection built from the login component fails with the
    // driver's own number and message, and the error box shows them.
    void closedPortFailsWithAClearErrorBox() {
        const QString path = m_dir.filePath(QStringLiteral("closed.ini"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("[Access]\nHasAccess=true\n[Connection]\nAuthenticationMode=0\nServerName=127.0.0.1,1\n"
                "DatabaseName=Firma\nUserName=sa\nPassword=x\n");
        f.close();
        qputenv("SUITE_LOGIN_PROFILE", path.toUtf8());
        LoginComponent login;
        bool flag = true;
        login.CheckAccess(flag);
        InstallConnectionSource(login);
        const auto before = db::SharedConnection();
        ModalAnswerer answer;
        const bool ok = showErrors(QStringLiteral("RefreshMe()"), [] { db::ReplaceSharedConnection(); });
        QVERIFY(!ok);
        QCOMPARE(answer.count(), 1);
        QCOMPARE(answer.title(), QStringLiteral("Quillmark"));
        QVERIFY2(answer.text().startsWith(QStringLiteral("Number : 20009\nDescription : ")), qPrintable(answer.text()));
        QVERIFY(answer.text().contains(QStringLiteral("Unable to connect")));
        QVERIFY(answer.text().endsWith(QStringLiteral("\nOrigin : RefreshMe()")));
        // The shared connection keeps what it held before the failed open.
        QCOMPARE(db::SharedConnection(), before);
    }

    void showErrorsHelperReportsWithItsOrigin() {
        ModalAnswerer answer;
        const bool ok = showErrors(QStringLiteral("LoadGrp()"), [] { throw std::runtime_error("boom"); });
        QVERIFY(!ok);
        QVERIFY(answer.text().endsWith(QStringLiteral("Origin : LoadGrp()")));
        QVERIFY(answer.text().contains(QStringLiteral("Description : boom")));
        QVERIFY(!passOver([] { throw db::DbError(5, QStringLiteral("x")); }));
        QCOMPARE(answer.count(), 1);
    }
};

QTEST_MAIN(TestStartup)
#include "TestStartup.moc"
