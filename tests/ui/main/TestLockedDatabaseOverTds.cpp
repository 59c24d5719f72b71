#include "db/LockWait.h"
#include "db/SharedConnection.h"
#include "session/OpenConnection.h"
#include "support/FileLocker.h"
#include "support/FixtureRows.h"
#include "support/LockedCommand.h"
#include "support/ModalAnswerer.h"
#include "support/TdsServer.h"
#include "support/TempServer.h"
#include "support/WindowFixture.h"
#include "ui/main/frmMain.h"

#include <QLineEdit>
#include <QtTest>
#include <memory>

// A Save through the real window over the TDS server double while another process holds the
// double's database file locked: the window goes on painting, the lock-wait dialog shows, Cancel
// or the time limit ends the wait with a message that names the server database, nothing is
// written, and a Save once the lock is gone works.
class TestLockedDatabaseOverTds : public QObject {
    Q_OBJECT

    std::unique_ptr<TempServer> m_files;
    std::unique_ptr<TdsServer> m_server;
    std::unique_ptr<MainWindowFixture> m_login;

private slots:
    void initTestCase() {
        const QString skip = TdsServer::doubleSkipReason(QStringLiteral("this test locks the double's database file"));
        if (!skip.isEmpty())
            QSKIP(qPrintable(skip));
        db::LockWait::setLimitMs(2500);
    }
    void init() {
        m_files = std::make_unique<TempServer>();
        FixtureRows(*m_files).twoOfEach();
        m_server = TdsServer::start(m_files->directory());
        m_login = std::make_unique<MainWindowFixture>(MainWindowFixture::Server{
            m_server->serverName(), m_server->databaseName(), m_server->userName(), m_server->password()});
        InstallConnectionSource(m_login->login());
    }
    void cleanup() {
        db::SharedConnection().reset();
        m_login.reset();
        m_server.reset();
        m_files.reset();
    }

    void aLockedServerDatabaseIsWaitedForWithTheWindowPainting_data() {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("cancelled") << true;
        QTest::newRow("timed out") << false;
    }
    void aLockedServerDatabaseIsWaitedForWithTheWindowPainting() {
        QFETCH(bool, cancel);
        WindowFixture form(*m_login);
        QCOMPARE(selectedKey(form->lstGroupsConfig), QStringLiteral("k1"));
        form->txtNotes->setText("dupa blocare");
        const QStringList before = m_files->snapshot();
        FileLocker other(m_files->databaseFile(m_server->databaseName()));
        QVERIFY(other.locked());

        const LockedCommand seen = LockedCommand::run([&] { form.press("keySave"); }, cancel);

        QVERIFY2(seen.dialogAfterMs >= 900 && seen.dialogAfterMs < 2000,
                 qPrintable(QString::number(seen.dialogAfterMs)));
        QVERIFY(seen.dialogLabel.startsWith("Waiting for the database: another session is writing"));
        QVERIFY2(cancel ? seen.tookMs < 2400 : seen.tookMs >= 2500, qPrintable(QString::number(seen.tookMs)));
        QVERIFY2(seen.keptPainting(), qPrintable(QStringLiteral("%1 ticks in %2 ms").arg(seen.ticks).arg(seen.tookMs)));
        QCOMPARE(seen.errorBoxes, 1);
        const QString named = QStringLiteral("The database '%1' on the server %2 is locked by another session")
                                  .arg(m_server->databaseName(), m_server->serverName());
        QVERIFY2(seen.errorText.contains(named) && seen.errorText.contains("Nothing was written"),
                 qPrintable(seen.errorText));
        QVERIFY(!seen.errorText.contains("login profile"));
        QVERIFY(!LockedCommand::dialog());
        QCOMPARE(m_files->snapshot(), before);

        other.release();
        ModalAnswerer none;
        form.press("keySave");
        QVERIFY2(none.count() == 0, qPrintable(none.text()));
        QCOMPARE(m_files->value("suitedb", "SELECT grobs FROM AdmGrup WHERE grID = 1").toString(),
                 QStringLiteral("dupa blocare"));
    }
};

QTEST_MAIN(TestLockedDatabaseOverTds)
#include "TestLockedDatabaseOverTds.moc"
