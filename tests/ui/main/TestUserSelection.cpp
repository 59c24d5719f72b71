#include "support/FixtureRows.h"
#include "support/ModalAnswerer.h"
#include "support/TempServer.h"
#include "support/WindowFixture.h"
#include "ui/common/FindBox.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/TabControl.h"
#include "ui/main/frmMain.h"

#include <QLineEdit>
#include <QtTest>
#include <memory>

// The user Save writes is the user the editor shows: a key or a mouse gesture that moves the
// selection of lstUsers to another user loads that user (or asks first), whatever the find box
// hides.
class TestUserSelection : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> m_login;
    std::unique_ptr<TempServer> m_server;

    QList<QVariantList> users() const {
        return m_server->rows("suitedb", "SELECT usID, usCod, usDenumire FROM admUser ORDER BY usID");
    }
    QList<QVariantList> links() const {
        return m_server->rows("suitedb", "SELECT 'group', usID, grID FROM admUserGrup UNION ALL "
                                         "SELECT 'person', usID, IdPers FROM PSR_Pers ORDER BY 1, 2, 3");
    }
    static void showUsers(frmMain& form) {
        form.SSTab1->setCurrentIndex(1);
        form.SSTab1_Click(0);
    }

private slots:
    void initTestCase() { m_login = std::make_unique<MainWindowFixture>(); }
    void init() {
        m_server = std::make_unique<TempServer>();
        FixtureRows(*m_server)
            .author(61, "Brad")
            .group(41, "ADMIN", "Administratori")
            .user(31, "ana", "Ana Avram")
            .user(32, "dan", "Dan Barbu")
            .user(33, "ion", "Ion Pop")
            .member(31, 41)
            .person(51, "Avram", "Ana", 31);
    }
    void cleanup() { m_server.reset(); }

    // New User, then Tab into the list and Space: the first user gets selected. Its edits are
    // asked about, and Cancel keeps the new user, which Save adds beside the others.
    void aNewUserIsNotWrittenOverTheSelectedOne() {
        WindowFixture form(*m_login);
        showUsers(*form);
        form.press("keyNewUser");
        form->txtUserName->setText("nou");
        form->txtAlias->setText("nou");
        form->txtDisplay->setText("Nou Nou");
        form->txtPassword->setText("p");
        form->txtVerifyPassword->setText("p");
        form->lstUsers->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(form->lstUsers->hasFocus());
        {
            ModalAnswerer answer(QMessageBox::Cancel);
            QTest::keyClick(form->lstUsers, Qt::Key_Space);
            QCOMPARE(answer.count(), 1);
        }
        QCOMPARE(selectedKey(form->lstUsers), QString());
        ModalAnswerer none;
        QVERIFY(form->Save());
        QCOMPARE(none.count(), 0);
        QCOMPARE(
            users(),
            QList<QVariantList>(
                {{31, "ana", "Ana Avram"}, {32, "dan", "Dan Barbu"}, {33, "ion", "Ion Pop"}, {34, "nou", "Nou Nou"}}));
        QCOMPARE(links(), QList<QVariantList>({{"group", 31, 41}, {"person", 31, 51}}));
    }

    void anotherUserSelectedIsLoaded_data() {
        QTest::addColumn<bool>("drag");
        QTest::newRow("a drag from one user to another") << true;
        QTest::newRow("Space on a user while the find box hides the loaded one") << false;
    }
    void anotherUserSelectedIsLoaded() {
        QFETCH(bool, drag);
        WindowFixture form(*m_login);
        showUsers(*form);
        KeyedTreeWidget* list = form->lstUsers;
        clickItem(list, list->find("k31"));
        if (drag) {
            const QPoint from = list->visualItemRect(list->find("k32")).center();
            const QPoint to = list->visualItemRect(list->find("k33")).center();
            QTest::mousePress(list->viewport(), Qt::LeftButton, {}, from);
            QTest::mouseMove(list->viewport(), to);
            QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, to);
        } else {
            form->txtFindUsers->setFocus();
            QTest::keyClicks(form->txtFindUsers, "ion");
            QTRY_VERIFY(!list->isFilterPending());
            QTest::keyClick(form->txtFindUsers, Qt::Key_Down);
            QTRY_VERIFY(list->hasFocus());
            QTest::keyClick(list, Qt::Key_Space);
        }
        QCOMPARE(selectedKey(list), QStringLiteral("k33"));
        QCOMPARE(form->txtUserName->text(), QStringLiteral("ion"));
        form->txtDisplay->setText("Ion P.");
        ModalAnswerer none;
        QVERIFY(form->Save());
        QCOMPARE(none.count(), 0);
        QCOMPARE(users(),
                 QList<QVariantList>({{31, "ana", "Ana Avram"}, {32, "dan", "Dan Barbu"}, {33, "ion", "Ion P."}}));
        QCOMPARE(links(), QList<QVariantList>({{"group", 31, 41}, {"person", 31, 51}}));
    }
};

QTEST_MAIN(TestUserSelection)
#include "TestUserSelection.moc"
