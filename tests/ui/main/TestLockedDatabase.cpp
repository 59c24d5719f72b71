#include "db/LockWait.h"
#include "support/FileLocker.h"
#include "support/FixtureRows.h"
#include "support/LockedCommand.h"
#include "support/ModalAnswerer.h"
#include "support/TempServer.h"
#include "support/WindowFixture.h"
#include "ui/main/frmMain.h"

#include <QLineEdit>
#include <QProcess>
#include <QtTest>
#include <memory>

// A Save that meets a database another process holds locked: the window goes on painting, a
// dialog with Cancel appears after about a second, the wait ends on Cancel or after the limit
// with a message that names the locked database, nothing is written, and a Save once the lock is
// gone works. A database file that cannot be written is named as read-only.
class TestLockedDatabase : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> m_login;
    std::unique_ptr<TempServer> m_server;

private slots:
    void initTestCase() {
        m_login = std::make_unique<MainWindowFixture>();
        db::LockWait::setLimitMs(2500);
    }
    void init() {
        m_server = std::make_unique<TempServer>();
        FixtureRows(*m_server).twoOfEach();
    }
    void cleanup() { m_server.reset(); }

    void aLockedDatabaseIsWaitedForWithTheWindowPainting_data() {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("cancelled") << true;
        QTest::newRow("timed out") << false;
    }
    void aLockedDatabaseIsWaitedForWithTheWindowPainting() {
        QFETCH(bool, cancel);
        WindowFixture form(*m_login);
        form->txtNotes->setText("dupa blocare");
        const QStringList before = m_server->snapshot();
        FileLocker other(m_server->databaseFile("suitedb"));
        QVERIFY(other.locked());

        const LockedCommand seen = LockedCommand::run([&] { form.press("keySave"); }, cancel);

        QVERIFY2(seen.dialogAfterMs >= 900 && seen.dialogAfterMs < 2000,
                 qPrintable(QString::number(seen.dialogAfterMs)));
        QVERIFY(seen.dialogLabel.startsWith("Waiting for the database: another session is writing"));
        QVERIFY(cancel ? seen.tookMs < 2400 : seen.tookMs >= 2500);
        QVERIFY2(seen.keptPainting(), qPrintable(QStringLiteral("%1 ticks in %2 ms").arg(seen.ticks).arg(seen.tookMs)));
        QCOMPARE(seen.errorBoxes, 1);
        QVERIFY2(seen.errorText.contains("The database 'suitedb'") &&
                     seen.errorText.contains("locked by another session"),
                 qPrintable(seen.errorText));
        QVERIFY(!seen.errorText.contains("login profile"));
        QVERIFY(!LockedCommand::dialog());
        QCOMPARE(m_server->snapshot(), before);

        other.release();
        ModalAnswerer none;
        form.press("keySave");
        QCOMPARE(none.count(), 0);
        QCOMPARE(m_server->value("suitedb", "SELECT grobs FROM AdmGrup WHERE grID = 1").toString(),
                 QStringLiteral("dupa blocare"));
    }

    void aReadOnlyDatabaseFileIsNamed() {
        WindowFixture form(*m_login);
        const QString file = m_server->databaseFile("suitedb");
        // Root may write to any file but an immutable one.
        if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), file}) != 0)
            QSKIP("chattr cannot make the database file read-only here");
        form->txtNotes->setText("nu se poate");
        ModalAnswerer error;
        form.press("keySave");
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), file});
        QCOMPARE(error.count(), 1);
        QVERIFY2(error.text().contains("The database 'suitedb'") && error.text().contains("read-only"),
                 qPrintable(error.text()));
        QVERIFY(!error.text().contains("login profile"));
    }
};

QTEST_MAIN(TestLockedDatabase)
#include "TestLockedDatabase.moc"
