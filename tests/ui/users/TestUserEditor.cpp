#include "db/DbError.h"
#include "db/StatementLog.h"
#include "support/FixtureRows.h"
#include "support/MainWindowFixture.h"
#include "support/ModalAnswerer.h"
#include "support/TempServer.h"
#include "ui/common/ItemKey.h"
#include "ui/common/KeyedComboBox.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/groups/GroupListFillers.h"
#include "ui/main/frmMain.h"
#include "ui/users/UserListFillers.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QtTest>
#include <memory>

// LoadUser: the user's fields, person and groups in the user editor, and the person list's
// drop-down width.
class TestUserEditor : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> m_login;
    std::unique_ptr<TempServer> m_server;
    std::unique_ptr<frmMain> m_form;

    // The editor's lists filled from the fixture, as a refresh leaves them.
    void fillLists() {
        groups::FillGroupList(m_form->lstGroups, true);
        users::FillUserList(m_form->lstUsers);
        users::FillPersonCombo(m_form->cmbPers);
    }
    QStringList tickedGroups() const {
        QStringList keys;
        for (int i = 0; i < m_form->lstGroups->topLevelItemCount(); ++i)
            if (m_form->lstGroups->topLevelItem(i)->checkState(0) == Qt::Checked)
                keys << KeyedTreeWidget::keyOf(m_form->lstGroups->topLevelItem(i));
        return keys;
    }
    QStringList fields() const {
        return {m_form->txtDomain->text(), m_form->txtUserName->text(), m_form->txtAlias->text(),
                m_form->txtDisplay->text()};
    }

private slots:
    void initTestCase() { m_login = std::make_unique<MainWindowFixture>(); }

    void init() {
        m_server = std::make_unique<TempServer>();
        FixtureRows(*m_server)
            .group(1, "ADMIN")
            .group(2, "VANZARI")
            .group(3, "DEPOZIT")
            .user(10, "ana.pop", "Pop Ana")
            .user(11, "dan", "Dan Mihai")
            .user(12, "ion", "Ion Ene")
            .person(40, "Pop", "Ana", 10)
            .person(41, "Zaharia", "Ion")
            .member(10, 1)
            .member(10, 3)
            .member(11, 1)
            .member(11, 2)
            .member(11, 3);
        m_server->exec("suitedb", "UPDATE admUser SET usDomeniu = 'FIRMA', usAlias = 'ana' WHERE usID = 10");
        m_server->exec("suitedb", "UPDATE admUser SET usDomeniu = NULL, usAlias = NULL WHERE usID = 11");
        m_form = std::make_unique<frmMain>(m_login->login());
        fillLists();
    }
    void cleanup() {
        db::StatementLog::clearFailure();
        m_form.reset();
        m_server.reset();
    }

    void loadsFieldsPersonAndGroups() {
        m_form->LoadUser(10);
        QCOMPARE(fields(), QStringList({"FIRMA", "ana.pop", "ana", "Pop Ana"}));
        QCOMPARE(m_form->cmbPers->selectedKey(), QStringLiteral("k40"));
        QCOMPARE(m_form->cmbPers->currentText(), QStringLiteral("Pop Ana"));
        QCOMPARE(tickedGroups(), QStringList({"k1", "k3"}));
    }

    void nullFieldsShowEmptyAndNoPersonLeavesTheComboEmpty() {
        m_form->LoadUser(10);
        m_form->LoadUser(11);
        QCOMPARE(fields(), QStringList({"", "dan", "", "Dan Mihai"}));
        QCOMPARE(m_form->cmbPers->currentIndex(), -1);
        QCOMPARE(m_form->cmbPers->currentText(), QString());
        QCOMPARE(tickedGroups(), QStringList({"k1", "k3", "k2"}));
    }

    void aGroupThatIsNotListedIsLeftOutSilently() {
        m_form->lstGroups->removeKeyed("k2");
        ModalAnswerer answer;
        m_form->LoadUser(11);
        QCOMPARE(tickedGroups(), QStringList({"k1", "k3"}));
        QCOMPARE(answer.count(), 0);
    }

    void typedPasswordsAreEmptied() {
        m_form->LoadUser(10);
        m_form->txtPassword->setText("secret");
        m_form->txtVerifyPassword->setText("secret2");
        m_form->LoadUser(11);
        QCOMPARE(m_form->txtPassword->text(), QString());
        QCOMPARE(m_form->txtVerifyPassword->text(), QString());
    }

    void aUserWithoutARowEmptiesTheFields() {
        m_form->LoadUser(10);
        m_form->LoadUser(99);
        QCOMPARE(fields(), QStringList({"", "", "", ""}));
        QCOMPARE(m_form->cmbPers->currentIndex(), -1);
        QVERIFY(tickedGroups().isEmpty());
    }

    void aFailingUserQueryEndsTheLoadWithTheBox() {
        m_form->LoadUser(10);
        db::StatementLog::failAt(1, db::DbError(-2147217900, "Injected failure", "Test source"));
        ModalAnswerer answer;
        m_form->LoadUser(11);
        QCOMPARE(answer.count(), 1);
        QCOMPARE(answer.title(), QStringLiteral("Quillmark"));
        QVERIFY(answer.text().contains("Origin : LoadGrp()"));
        // Nothing of the previous user stays under the new selection.
        QCOMPARE(fields(), QStringList({"", "", "", ""}));
        QCOMPARE(m_form->cmbPers->currentIndex(), -1);
        QVERIFY(tickedGroups().isEmpty());
    }

    void aFailingGroupQueryShowsItsErrorAfterUncheckingTheGroups() {
        m_form->LoadUser(10);
        db::StatementLog::failAt(2, db::DbError(-2147217900, "Injected failure", "Test source"));
        ModalAnswerer answer;
        m_form->LoadUser(11);
        QCOMPARE(answer.count(), 1);
        QVERIFY(answer.text().contains("Number : -2147217900"));
        QVERIFY(answer.text().contains("Description : Injected failure"));
        QVERIFY(answer.text().contains("Origin : LoadGrp()"));
        // A user without its groups is not shown as one that belongs to none.
        QCOMPARE(fields(), QStringList({"", "", "", ""}));
        QVERIFY(tickedGroups().isEmpty());
    }

    void thePersonListOpensAtLeast200PixelsWide() {
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        m_form->cmbPers->setFixedWidth(60);
        static_cast<QComboBox*>(m_form->cmbPers)->showPopup();
        QTRY_VERIFY(m_form->cmbPers->view()->isVisible());
        QVERIFY(m_form->cmbPers->view()->width() >= 200);
        QVERIFY(m_form->cmbPers->view()->window()->width() >= 200);
        m_form->cmbPers->hidePopup();
    }
};

QTEST_MAIN(TestUserEditor)
#include "TestUserEditor.moc"
