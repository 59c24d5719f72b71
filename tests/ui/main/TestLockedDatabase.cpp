#include "db/LockWait.h"
#include "support/FixtureRows.h"
#include "support/ModalAnswerer.h"
#include "support/TempServer.h"
#include "support/WindowFixture.h"
#include "ui/main/frmMain.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QProgressDialog>
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

    // Another process that holds the write lock of file until release().
    class Locker {
    public:
        explicit Locker(const QString& file) {
            m_process.start(QStringLiteral("sqlite3"), {file});
            m_process.write("BEGIN IMMEDIATE;\nSELECT 'locked';\n");
        }
        bool locked() { return m_process.waitForReadyRead(5000) && m_process.readAll().contains("locked"); }
        void release() {
            m_process.write("ROLLBACK;\n.quit\n");
            m_process.closeWriteChannel();
            m_process.waitForFinished(5000);
        }
        ~Locker() { release(); }

    private:
        QProcess m_process;
    };

    static QProgressDialog* lockDialog() {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->objectName() == QLatin1String("dlgLockWait") && widget->isVisible())
                return qobject_cast<QProgressDialog*>(widget);
        return nullptr;
    }

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
        Locker other(m_server->databaseFile("suitedb"));
        QVERIFY(other.locked());

        int ticks = 0;
        QTimer painter;
        QObject::connect(&painter, &QTimer::timeout, [&] { ++ticks; });
        painter.start(20);
        QElapsedTimer clock;
        qint64 dialogAfter = -1;
        QTimer watcher;
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            QProgressDialog* dialog = lockDialog();
            if (!dialog || dialogAfter >= 0)
                return;
            dialogAfter = clock.elapsed();
            QVERIFY(dialog->labelText().startsWith("Waiting for the database: another session is writing"));
            if (cancel)
                dialog->cancel();
        });
        watcher.start(10);
        ModalAnswerer error;
        clock.start();
        form.press("keySave");
        const qint64 waited = clock.elapsed();
        painter.stop();
        watcher.stop();

        QVERIFY2(dialogAfter >= 900 && dialogAfter < 2000, qPrintable(QString::number(dialogAfter)));
        QVERIFY(cancel ? waited < 2400 : waited >= 2500);
        // The window's timers went on firing all along the wait.
        QVERIFY2(ticks >= waited / 20 / 3, qPrintable(QStringLiteral("%1 ticks in %2 ms").arg(ticks).arg(waited)));
        QCOMPARE(error.count(), 1);
        QVERIFY2(error.text().contains("The database 'suitedb'") && error.text().contains("locked by another session"),
                 qPrintable(error.text()));
        QVERIFY(!error.text().contains("login profile"));
        QVERIFY(!lockDialog());
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
