#include "app/modMain.h"
#include "db/SharedConnection.h"
#include "session/DemoSuite.h"
#include "session/LoginComponent.h"
#include "session/OpenConnection.h"
#include "support/ModalAnswerer.h"
#include "support/SilentListener.h"
#include "ui/common/ShowErrorBox.h"
#include "ui/common/ShowErrors.h"
#include "ui/main/frmMain.h"

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QWindow>
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
        common::ShowErrorBox(
            db::DbError(-2147217900, QStringLiteral("Invalid object name 'X'."), QStringLiteral("ODBC")),
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
        common::ShowErrorBox(0, QStringLiteral("none"), QStringLiteral("none"), QStringLiteral("RefreshMe()"));
        QCoreApplication::processEvents();
        QCOMPARE(answer.count(), 0);
    }

    // A server that is down or never answers: the window is on screen before the one connection
    // attempt, which runs under the wait cursor; the failure is shown once, with the driver's
    // number and message, the server and what to check; the status bar says "not connected".
    void unreachableServerIsTriedOnceAndReportedOnce_data() {
        QTest::addColumn<bool>("silent");
        QTest::newRow("closed port") << false;
        QTest::newRow("never answers") << true;
    }
    void unreachableServerIsTriedOnceAndReportedOnce() {
        QFETCH(bool, silent);
        const SilentListener listener;
        const QString server = QStringLiteral("127.0.0.1,%1").arg(silent ? listener.port() : 1);
        const QString path = m_dir.filePath(QStringLiteral("unreachable.ini"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("[Access]\nHasAccess=true\n[Connection]\nAuthenticationMode=0\nServerName=" + server.toUtf8() +
                "\nDatabaseName=Firma\nUserName=sa\nPassword=x\n");
        f.close();
        qputenv("SUITE_LOGIN_PROFILE", path.toUtf8());
        LoginComponent login;
        bool flag = true;
        login.CheckAccess(flag);

        frmMain form(login);
        int attempts = 0;
        bool windowWasShown = false;
        bool waitCursor = false;
        db::setConnectionOpener([&] {
            ++attempts;
            windowWasShown = form.windowHandle() && form.windowHandle()->isVisible();
            waitCursor =
                QGuiApplication::overrideCursor() && QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
            return db::Connection::open(BuildConnectionString(login), 1);
        });
        const auto before = db::SharedConnection();
        ModalAnswerer answer;
        form.show();
        QTRY_VERIFY(answer.seen());
        QTRY_VERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(attempts, 1);
        QVERIFY(windowWasShown);
        QVERIFY(waitCursor);
        QCOMPARE(answer.count(), 1);
        QCOMPARE(answer.title(), QStringLiteral("Quillmark"));
        QCOMPARE(answer.icon(), QMessageBox::Critical);
        QVERIFY2(answer.text().startsWith(silent ? QStringLiteral("Number : ") : QStringLiteral("Number : 20009\n")),
                 qPrintable(answer.text()));
        QVERIFY(answer.text().contains(silent ? QStringLiteral("Timeout") : QStringLiteral("Unable to connect")));
        QVERIFY(answer.text().contains(QStringLiteral("\nOrigin : RefreshMe()\n")));
        QVERIFY(answer.text().contains(QStringLiteral("could not connect to the server ") + server));
        QVERIFY(answer.text().contains(QStringLiteral("Check the server name")));
        QCOMPARE(form.Panel(1)->text(), QStringLiteral("Server : ") + server + QStringLiteral(" (not connected)"));
        // The shared connection keeps what it held before the failed open.
        QCOMPARE(db::SharedConnection(), before);
        db::setConnectionOpener({});
    }

    // A mistyped profile path stops the start with a message naming the file, never the demo.
    void missingExplicitProfileStopsTheStart() {
        const QString path = m_dir.filePath(QStringLiteral("mistyped.ini"));
        qputenv("SUITE_LOGIN_PROFILE", path.toUtf8());
        ModalAnswerer answer;
        try {
            modMain::Main();
            QFAIL("the start went on without the named profile");
        } catch (const std::exception& e) {
            modMain::ReportStartupFailure(e);
        }
        QCOMPARE(answer.count(), 1);
        QVERIFY2(answer.text().contains(path + QStringLiteral(" named by SUITE_LOGIN_PROFILE does not exist")),
                 qPrintable(answer.text()));
        QVERIFY(modMain::MainWindow() == nullptr);
    }

    void showErrorsHelperReportsWithItsOrigin() {
        ModalAnswerer answer;
        const bool ok = common::showErrors(QStringLiteral("LoadGrp()"), [] { throw std::runtime_error("boom"); });
        QVERIFY(!ok);
        QVERIFY(answer.text().endsWith(QStringLiteral("Origin : LoadGrp()")));
        QVERIFY(answer.text().contains(QStringLiteral("Description : boom")));
        QVERIFY(!passOver([] { throw db::DbError(5, QStringLiteral("x")); }));
        QCOMPARE(answer.count(), 1);
    }
};

QTEST_MAIN(TestStartup)
#include "TestStartup.moc"
