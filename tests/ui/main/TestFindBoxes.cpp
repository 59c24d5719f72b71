#include "support/ModalAnswerer.h"
#include "support/TempServer.h"
#include "support/WindowFixture.h"
#include "ui/common/FindBox.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/TabControl.h"
#include "ui/main/UnsavedChanges.h"
#include "ui/main/frmMain.h"

#include <QLineEdit>
#include <QtTest>
#include <memory>

// The find boxes above the group and user lists, on the demo suite: what they keep in view, and
// that the selected record stays what the editors show while the filter hides it.
class TestFindBoxes : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> m_suite;
    std::unique_ptr<TempServer> m_server;
    WindowFixture m_window;

    // The codes the list shows, in order.
    static QStringList shown(const QTreeWidget* list) {
        QStringList codes;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            codes << list->topLevelItem(i)->text(0);
        return codes;
    }
    // Types text key by key, letters with diacritics too, and waits for the change.
    void type(QWidget* box, const QString& text) {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        settle();
    }
    // Waits until the user list has the whole change of the last key in view.
    void settle() { QTRY_VERIFY(!m_window->lstUsers->isFilterPending()); }
    void showUsers() {
        m_window->SSTab1->setCurrentIndex(1);
        m_window->SSTab1_Click(0);
    }

private slots:
    void initTestCase() { m_suite = std::make_unique<MainWindowFixture>(); }
    void init() {
        m_server = std::make_unique<TempServer>(true, true);
        QVERIFY(m_window.open(*m_suite));
        QTRY_COMPARE(m_window->lstUsers->topLevelItemCount(), 15);
        // The user list takes its changes in slices of two, as a list of tens of thousands takes
        // them in slices of 20,000; the group list makes them at once.
        m_window->lstUsers->setFilterSlices(2, 1);
    }
    void cleanup() {
        m_window.reset();
        m_server.reset();
    }

    // Code, display name or person, without regard to case or diacritics.
    void usersFound_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("codes");
        QTest::newRow("diacritics typed") << "ȘTEFAN" << QStringList{"stefan.radulescu"};
        QTest::newRow("diacritics in the name") << "radulescu" << QStringList{"stefan.radulescu"};
        QTest::newRow("only the display name") << "bălan" << QStringList{"tudor.balan"};
        QTest::newRow("several") << "escu"
                                 << QStringList{"andrei.popescu", "elena.dumitrescu", "ioana.ionescu",
                                                "stefan.radulescu", "vlad.georgescu"};
        QTest::newRow("the person, surname first") << "popescu andrei" << QStringList{"andrei.popescu"};
        QTest::newRow("nothing") << "zzz" << QStringList{};
    }
    void usersFound() {
        QFETCH(QString, typed);
        QFETCH(QStringList, codes);
        showUsers();
        type(m_window->txtFindUsers, typed);
        QCOMPARE(shown(m_window->lstUsers), codes);
        // Every user is still in the list, found by key.
        QCOMPARE(m_window->lstUsers->keyedCount(), 15);
        QVERIFY(m_window->lstUsers->find("k1"));
        QTest::keyClick(m_window->txtFindUsers, Qt::Key_Escape);
        settle();
        QVERIFY(m_window->txtFindUsers->text().isEmpty());
        QCOMPARE(m_window->lstUsers->topLevelItemCount(), 15);
    }

    // Group codes, and full names, which the list shows as the codes' tooltips.
    void groupsFound() {
        type(m_window->txtFindGroups, "vânz");
        QCOMPARE(shown(m_window->lstGroupsConfig), QStringList{"VANZARI"});
        m_window->txtFindGroups->clear();
        type(m_window->txtFindGroups, "UMANE");
        QCOMPARE(shown(m_window->lstGroupsConfig), QStringList{"HR"});
        m_window->txtFindGroups->clear();
        QCOMPARE(m_window->lstGroupsConfig->topLevelItemCount(), 8);
    }

    // A selected user the filter hides is still the user the editor shows and Save writes; it is
    // selected in view again when it shows, and a refresh keeps the filter.
    void hiddenSelectionStaysLoaded() {
        showUsers();
        KeyedTreeWidget* list = m_window->lstUsers;
        clickItem(list, list->find("k2"));
        QCOMPARE(m_window->txtUserName->text(), QStringLiteral("andrei.popescu"));
        type(m_window->txtFindUsers, "radu");
        QCOMPARE(shown(list), QStringList({"radu.munteanu", "stefan.radulescu"}));
        QCOMPARE(selectedKey(list), QStringLiteral("k2"));
        QCOMPARE(m_window->txtUserName->text(), QStringLiteral("andrei.popescu"));
        QVERIFY(!m_window->unsavedChanges().changed(UnsavedChanges::Part::User));

        m_window->RefreshMe();
        QTRY_COMPARE(shown(list), QStringList({"radu.munteanu", "stefan.radulescu"}));
        QCOMPARE(selectedKey(list), QStringLiteral("k2"));
        QCOMPARE(m_window->txtUserName->text(), QStringLiteral("andrei.popescu"));

        m_window->txtFindUsers->clear();
        settle();
        QCOMPARE(list->topLevelItemCount(), 15);
        QVERIFY(list->find("k2")->isSelected());

        // A click on a user in view loads it, as without a filter.
        type(m_window->txtFindUsers, "radu");
        clickItem(list, list->find("k6"));
        QCOMPARE(selectedKey(list), QStringLiteral("k6"));
        QCOMPARE(m_window->txtUserName->text(), QStringLiteral("radu.munteanu"));
    }

    // A change to the user the filter hides is asked about before a click on another user loses it;
    // Cancel keeps the hidden user selected and its change.
    void unsavedChangesOfAHiddenUser() {
        showUsers();
        KeyedTreeWidget* list = m_window->lstUsers;
        clickItem(list, list->find("k2"));
        type(m_window->txtFindUsers, "radu");
        m_window->txtDisplay->setText(QStringLiteral("Andrei P."));
        {
            ModalAnswerer answerer(QMessageBox::Cancel);
            clickItem(list, list->find("k6"));
            QCOMPARE(answerer.count(), 1);
        }
        QCOMPARE(selectedKey(list), QStringLiteral("k2"));
        QCOMPARE(m_window->txtDisplay->text(), QStringLiteral("Andrei P."));
        {
            ModalAnswerer answerer(QMessageBox::Discard);
            clickItem(list, list->find("k6"));
            QCOMPARE(answerer.count(), 1);
        }
        QCOMPARE(selectedKey(list), QStringLiteral("k6"));
        QCOMPARE(m_window->txtUserName->text(), QStringLiteral("radu.munteanu"));
    }

    // A right click (for a context menu) neither selects nor loads the user under the mouse: the
    // editor keeps what Save will write for the selected user.
    void rightClickKeepsTheSelection() {
        showUsers();
        KeyedTreeWidget* list = m_window->lstUsers;
        clickItem(list, list->find("k3"));
        QTreeWidgetItem* other = list->find("k5");
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, list->visualItemRect(other).center());
        QCOMPARE(selectedKey(list), QStringLiteral("k3"));
        QCOMPARE(m_window->txtUserName->text(), QStringLiteral("ioana.ionescu"));
    }

    // Ctrl+F puts the focus in the find box of the page in front.
    void ctrlFFocusesTheFindBox() {
        QTest::keyClick(m_window.operator->(), Qt::Key_F, Qt::ControlModifier);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(m_window->txtFindGroups));
        showUsers();
        QTest::keyClick(m_window.operator->(), Qt::Key_F, Qt::ControlModifier);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(m_window->txtFindUsers));
    }
};

QTEST_MAIN(TestFindBoxes)
#include "TestFindBoxes.moc"
