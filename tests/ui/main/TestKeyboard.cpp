#include "db/DbError.h"
#include "db/StatementLog.h"
#include "support/ModalAnswerer.h"
#include "support/TempServer.h"
#include "support/WindowFixture.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/TabControl.h"
#include "ui/main/frmMain.h"

#include <QAction>
#include <QLineEdit>
#include <QToolBar>
#include <QtTest>
#include <memory>

// The window's keys run the toolbar's commands, and long commands show the wait cursor.
class TestKeyboard : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> m_fixture;
    std::unique_ptr<TempServer> m_server;
    WindowFixture m_form;
    QHash<QString, int> m_runs;

    void countCommand(const QString& key) {
        m_form->setCommand(key, [this, key] { ++m_runs[key]; });
    }

private slots:
    void initTestCase() {
        m_fixture = std::make_unique<MainWindowFixture>();
        m_server = std::make_unique<TempServer>(true, true);
    }

    void init() {
        QVERIFY(m_form.open(*m_fixture));
        m_runs.clear();
        for (const char* key : {"keyNewGrp", "keyNewUser", "keySave", "keyRefresh", "keyDelete"})
            countCommand(key);
    }

    void cleanup() { m_form.reset(); }

    void keysRunTheirToolbarCommand_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("command");
        QTest::newRow("Ctrl+S") << "txtGrpName" << QKeySequence("Ctrl+S") << "keySave";
        QTest::newRow("F5") << "lstGroupsConfig" << QKeySequence("F5") << "keyRefresh";
        QTest::newRow("Ctrl+Shift+G") << "txtNotes" << QKeySequence("Ctrl+Shift+G") << "keyNewGrp";
        QTest::newRow("Ctrl+Shift+U") << "lstAuthors" << QKeySequence("Ctrl+Shift+U") << "keyNewUser";
        QTest::newRow("Delete in lstGroupsConfig") << "lstGroupsConfig" << QKeySequence("Del") << "keyDelete";
        QTest::newRow("Delete in lstUsers") << "lstUsers" << QKeySequence("Del") << "keyDelete";
        QTest::newRow("Delete in a text box") << "txtGrpName" << QKeySequence("Del") << "";
        QTest::newRow("Delete in lstGroups") << "lstGroups" << QKeySequence("Del") << "";
    }

    void keysRunTheirToolbarCommand() {
        QFETCH(QString, focus);
        QFETCH(QKeySequence, keys);
        QFETCH(QString, command);
        QWidget* target = m_form->findChild<QWidget*>(focus);
        QVERIFY(target);
        // The users page for the controls that live on it, so the focus can go there.
        m_form->SSTab1->setCurrentIndex(focus == "lstUsers" || focus == "lstGroups" ? 1 : 0);
        target->setFocus();
        QTRY_VERIFY(target->hasFocus());
        QTest::keySequence(target, keys);
        QHash<QString, int> expected;
        if (!command.isEmpty())
            expected.insert(command, 1);
        QCOMPARE(m_runs, expected);
    }

    void tooltipsNameTheKeys() {
        const QHash<QString, QString> keys = {{"keyClose", "Ctrl+Q"},         {"keyNewGrp", "Ctrl+Shift+G"},
                                              {"keyNewUser", "Ctrl+Shift+U"}, {"keySave", "Ctrl+S"},
                                              {"keyRefresh", "F5"},           {"keyDelete", "Del"}};
        for (auto it = keys.cbegin(); it != keys.cend(); ++it) {
            auto* action = m_form->Toolbar1->findChild<QAction*>(it.key());
            QVERIFY(action);
            QVERIFY2(action->toolTip().endsWith("(" + it.value() + ")"), qPrintable(action->toolTip()));
        }
    }

    void ctrlQClosesTheWindow() {
        QTest::keySequence(m_form->txtGrpName, QKeySequence("Ctrl+Q"));
        QTRY_VERIFY(!m_form->isVisible());
    }

    void aFailingCommandShowsTheWaitCursorThenGivesItBack() {
        Qt::CursorShape during = Qt::ArrowCursor;
        m_form->setCommand("keySave", [&during] {
            during = QGuiApplication::overrideCursor() ? QGuiApplication::overrideCursor()->shape() : Qt::ArrowCursor;
            throw db::DbError(5, "broken", "test");
        });
        ModalAnswerer box;
        m_form.press("keySave");
        QVERIFY(box.seen());
        QCOMPARE(during, Qt::WaitCursor);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void aFailingRefreshShowsTheWaitCursorThenGivesItBack() {
        // The statement after the group list's fill fails: find its number in a sound refresh. A
        // group new to the list before each refresh makes the fill add an item.
        int filledAt = 0;
        Qt::CursorShape during = Qt::ArrowCursor;
        connect(m_form->lstGroupsConfig->model(), &QAbstractItemModel::rowsInserted, this, [&] {
            filledAt = db::StatementLog::count();
            during = QGuiApplication::overrideCursor() ? QGuiApplication::overrideCursor()->shape() : Qt::ArrowCursor;
        });
        m_server->exec("suitedb", "INSERT INTO AdmGrup (grID, grCod) VALUES (90, '0NOU')");
        db::StatementLog::resetCount();
        m_form->RefreshMe();
        QVERIFY(filledAt > 0);

        during = Qt::ArrowCursor;
        db::StatementLog::failAt(filledAt + 1, db::DbError(5, "broken", "test"));
        ModalAnswerer box;
        m_server->exec("suitedb", "INSERT INTO AdmGrup (grID, grCod) VALUES (91, '00NOU')");
        m_form->RefreshMe();
        db::StatementLog::clearFailure();
        QVERIFY(m_form->lstGroupsConfig->topLevelItemCount() > 0);
        QCOMPARE(during, Qt::WaitCursor);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }
};

QTEST_MAIN(TestKeyboard)
#include "TestKeyboard.moc"
