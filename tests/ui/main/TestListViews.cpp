#include "db/DbError.h"
#include "support/FixtureRows.h"
#include "support/ModalAnswerer.h"
#include "support/TempServer.h"
#include "support/WindowFixture.h"
#include "ui/common/ImageList.h"
#include "ui/common/ItemKey.h"
#include "ui/common/ItemRoles.h"
#include "ui/common/KeyedComboBox.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/TabControl.h"
#include "ui/groups/GroupListFillers.h"
#include "ui/main/frmMain.h"
#include "ui/users/UserListFillers.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QtTest>
#include <memory>

// The group, user and company lists and the person combo box: their items, the sorting by a
// column header and the item clicks that open a group or a user.
class TestListViews : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> m_login;
    std::unique_ptr<TempServer> m_server;

    static QStringList column(const QTreeWidget* list, int column) {
        QStringList texts;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            texts << list->topLevelItem(i)->text(column);
        return texts;
    }
    static QStringList keys(const QTreeWidget* list) {
        QStringList all;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            all << KeyedTreeWidget::keyOf(list->topLevelItem(i));
        return all;
    }
    static void clickHeader(QTreeWidget* list, int section) {
        QHeaderView* header = list->header();
        const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }

private slots:
    void initTestCase() { m_login = std::make_unique<MainWindowFixture>(); }

    void init() {
        m_server = std::make_unique<TempServer>();
        FixtureRows(*m_server)
            .group(7, "VANZARI", "Vanzari si facturare")
            .group(17, "ADMIN", "Administratori")
            .group(3, "DEPOZIT")
            .user(4, "maria", "Zamfir Maria")
            .user(12, "andrei", "Barbu Andrei")
            .user(9, "costin", "Albu Costin")
            .person(30, "Ionescu", "Andrei", 12)
            .person(31, "Popa", QString(), 9)
            .person(32, "Avram", "Elena")
            .author(2, "Stejar", "STJ")
            .author(5, "Brad");
        m_server->exec("suitedb", "UPDATE AdmGrup SET grDenumire = NULL WHERE grID = 3");
    }
    void cleanup() { m_server.reset(); }

    void groupListsAreKeyedByIdInCodeOrder() {
        frmMain form(m_login->login());
        groups::FillGroupList(form.lstGroupsConfig, false);
        groups::FillGroupList(form.lstGroups, true);

        for (KeyedTreeWidget* list : {form.lstGroupsConfig, form.lstGroups}) {
            QCOMPARE(column(list, 0), QStringList({"ADMIN", "DEPOZIT", "VANZARI"}));
            QCOMPARE(keys(list), QStringList({"k17", "k3", "k7"}));
            QCOMPARE(KeyedTreeWidget::tagOf(list->find("k17")), QVariant(17));
            QCOMPARE(list->find("k17")->icon(0).cacheKey(), form.ImageList1->image(ImageList::Group).cacheKey());
        }
        // Only the user editor's list shows the description, and a box on every item.
        QCOMPARE(column(form.lstGroups, 1), QStringList({"Administratori", "", "Vanzari si facturare"}));
        QCOMPARE(column(form.lstGroupsConfig, 1), QStringList({"", "", ""}));
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(form.lstGroups->topLevelItem(i)->checkState(0), Qt::Unchecked);
            QVERIFY(form.lstGroups->topLevelItem(i)->flags() & Qt::ItemIsUserCheckable);
            QVERIFY(!form.lstGroupsConfig->topLevelItem(i)->data(0, Qt::CheckStateRole).isValid());
        }

        // A second fill replaces the items, taking ticks and deleted groups with them.
        form.lstGroups->find("k7")->setCheckState(0, Qt::Checked);
        m_server->exec("suitedb", "DELETE FROM AdmGrup WHERE grID = 3");
        groups::FillGroupList(form.lstGroups, true);
        QCOMPARE(keys(form.lstGroups), QStringList({"k17", "k7"}));
        QCOMPARE(form.lstGroups->find("k7")->checkState(0), Qt::Unchecked);
        QVERIFY(!form.lstGroups->find("k3"));
    }

    void usersShowDisplayNameAndPerson() {
        frmMain form(m_login->login());
        users::FillUserList(form.lstUsers);
        QCOMPARE(column(form.lstUsers, 0), QStringList({"andrei", "costin", "maria"}));
        QCOMPARE(column(form.lstUsers, 1), QStringList({"Barbu Andrei", "Albu Costin", "Zamfir Maria"}));
        // A Null first name leaves the surname and its blank; no person leaves the blank alone.
        QCOMPARE(column(form.lstUsers, 2), QStringList({"Ionescu Andrei", "Popa ", " "}));
        QCOMPARE(keys(form.lstUsers), QStringList({"k12", "k9", "k4"}));
        QCOMPARE(KeyedTreeWidget::tagOf(form.lstUsers->find("k4")), QVariant(4));
        QCOMPARE(form.lstUsers->find("k4")->icon(0).cacheKey(), form.ImageList1->image(ImageList::User).cacheKey());
        QVERIFY(!form.lstUsers->find("k4")->data(0, Qt::CheckStateRole).isValid());
    }

    void aUserThatTwoPersonsPointAtIsListedOnce() {
        // Two persons point at costin: the query gives him twice, and the users after him still come.
        FixtureRows(*m_server).person(33, "Popa", "Costin", 9);
        frmMain form(m_login->login());
        users::FillUserList(form.lstUsers);
        QCOMPARE(column(form.lstUsers, 0), QStringList({"andrei", "costin", "maria"}));
        QCOMPARE(form.lstUsers->keyedCount(), 3);
        QVERIFY(QStringList({"Popa ", "Popa Costin"}).contains(form.lstUsers->find("k9")->text(2)));
    }

    void companiesAreUntickedWithTheirNickNames() {
        frmMain form(m_login->login());
        groups::FillAuthorList(form.lstAuthors);
        QCOMPARE(column(form.lstAuthors, 0), QStringList({"Brad", "Stejar"}));
        QCOMPARE(column(form.lstAuthors, 1), QStringList({"", "STJ"}));
        QCOMPARE(keys(form.lstAuthors), QStringList({"k5", "k2"}));
        QCOMPARE(KeyedTreeWidget::tagOf(form.lstAuthors->find("k2")), QVariant(2));
        QCOMPARE(form.lstAuthors->find("k2")->checkState(0), Qt::Unchecked);
        QVERIFY(form.lstAuthors->find("k2")->icon(0).isNull());
    }

    void aFailingQueryLeavesTheListAsItWas() {
        frmMain form(m_login->login());
        groups::FillAuthorList(form.lstAuthors);
        m_server->exec("suitedb", "DROP TABLE Authors");
        QVERIFY_THROWS_EXCEPTION(db::DbError, groups::FillAuthorList(form.lstAuthors));
        QCOMPARE(keys(form.lstAuthors), QStringList({"k5", "k2"}));
    }

    void personsFillTheComboWithoutSelectingOne() {
        frmMain form(m_login->login());
        form.cmbPers->addKeyed("k99", "Vechi", 99);
        users::FillPersonCombo(form.cmbPers);
        QCOMPARE(form.cmbPers->count(), 3);
        QCOMPARE(form.cmbPers->itemText(0), QStringLiteral("Avram Elena"));
        QCOMPARE(form.cmbPers->itemText(1), QStringLiteral("Ionescu Andrei"));
        QCOMPARE(form.cmbPers->itemText(2), QStringLiteral("Popa "));
        QCOMPARE(form.cmbPers->itemData(1, common::KeyRole).toString(), QStringLiteral("k30"));
        QCOMPARE(form.cmbPers->itemData(1, common::TagRole), QVariant(30));
        QCOMPARE(form.cmbPers->indexOfKey("k99"), -1);
        QCOMPARE(form.cmbPers->currentIndex(), -1);
        QCOMPARE(form.cmbPers->currentText(), QString());
    }

    // The filler raises the failure for the refresh to tell; it shows nothing itself.
    void aFailingPersonQueryEmptiesTheComboAndIsRaised() {
        frmMain form(m_login->login());
        users::FillPersonCombo(form.cmbPers);
        m_server->exec("suitedb", "DROP TABLE PSR_Pers");
        ModalAnswerer answer;
        QVERIFY_THROWS_EXCEPTION(db::DbError, users::FillPersonCombo(form.cmbPers));
        QCOMPARE(form.cmbPers->count(), 0);
        QCOMPARE(answer.count(), 0);
    }

    void everyHeaderClickFlipsTheOneDirection() {
        WindowFixture form(*m_login);
        form->SSTab1->setCurrentIndex(1);
        KeyedTreeWidget* users = form->lstUsers;
        QCOMPARE(column(users, 0), QStringList({"andrei", "costin", "maria"}));

        clickHeader(users, 1); // "Alias": the display name, descending
        QCOMPARE(column(users, 1), QStringList({"Zamfir Maria", "Barbu Andrei", "Albu Costin"}));
        clickHeader(users, 0); // "User": the next click is ascending, whichever column
        QCOMPARE(column(users, 0), QStringList({"andrei", "costin", "maria"}));
        clickHeader(users, 0);
        QCOMPARE(column(users, 0), QStringList({"maria", "costin", "andrei"}));

        // Sorting stays on: a refresh puts a new user into its sorted place.
        FixtureRows(*m_server).user(20, "bianca", "Zeta");
        form->RefreshMe();
        QCOMPARE(column(users, 0), QStringList({"maria", "costin", "bianca", "andrei"}));
        clickHeader(users, 2);
        QCOMPARE(column(users, 2), QStringList({" ", " ", "Ionescu Andrei", "Popa "}));
    }

    void groupListsSortIndependently() {
        WindowFixture form(*m_login);
        clickHeader(form->lstGroupsConfig, 0);
        QCOMPARE(column(form->lstGroupsConfig, 0), QStringList({"VANZARI", "DEPOZIT", "ADMIN"}));
        clickHeader(form->lstGroupsConfig, 0);
        QCOMPARE(column(form->lstGroupsConfig, 0), QStringList({"ADMIN", "DEPOZIT", "VANZARI"}));

        form->SSTab1->setCurrentIndex(1);
        QCOMPARE(column(form->lstGroups, 0), QStringList({"ADMIN", "DEPOZIT", "VANZARI"}));
        clickHeader(form->lstGroups, 1); // "Description", descending: the Null one last
        QCOMPARE(column(form->lstGroups, 1), QStringList({"Vanzari si facturare", "Administratori", ""}));
    }

    void clickingAGroupLoadsThatGroupWhereverItIs() {
        WindowFixture form(*m_login);
        clickHeader(form->lstGroupsConfig, 0);
        QTreeWidgetItem* item = form->lstGroupsConfig->find("k3");
        clickItem(form->lstGroupsConfig, item);
        QCOMPARE(form->txtGrpName->text(), QStringLiteral("DEPOZIT"));
        clickItem(form->lstGroupsConfig, form->lstGroupsConfig->find("k17"));
        QCOMPARE(form->txtGrpName->text(), QStringLiteral("ADMIN"));
        QCOMPARE(form->txtFullName->text(), QStringLiteral("Administratori"));
    }

    void clickingAUserLoadsThatUser() {
        WindowFixture form(*m_login);
        form->SSTab1->setCurrentIndex(1);
        clickHeader(form->lstUsers, 0);
        clickItem(form->lstUsers, form->lstUsers->find("k9"));
        QCOMPARE(form->txtUserName->text(), QStringLiteral("costin"));
        QCOMPARE(form->txtDisplay->text(), QStringLiteral("Albu Costin"));
        QCOMPARE(form->cmbPers->currentText(), QStringLiteral("Popa "));
        clickItem(form->lstUsers, form->lstUsers->find("k4"));
        QCOMPARE(form->txtUserName->text(), QStringLiteral("maria"));
        QCOMPARE(form->cmbPers->currentIndex(), -1);
    }

    // The selected item is the record being edited: the keyboard moves it and loads the new
    // record, and stray clicks never leave the list without one.
    void keyboardLoadsAndStrayClicksKeepTheSelection() {
        WindowFixture form(*m_login);
        KeyedTreeWidget* groups = form->lstGroupsConfig;
        clickItem(groups, groups->find("k17"));
        QCOMPARE(form->txtGrpName->text(), QStringLiteral("ADMIN"));
        groups->setFocus();
        QTest::keyClick(groups, Qt::Key_Down);
        QCOMPARE(KeyedTreeWidget::keyOf(groups->selectedItem()), QStringLiteral("k3"));
        QCOMPARE(form->txtGrpName->text(), QStringLiteral("DEPOZIT"));

        QTest::mouseClick(groups->viewport(), Qt::LeftButton, {}, QPoint(10, groups->viewport()->height() - 5));
        QCOMPARE(KeyedTreeWidget::keyOf(groups->selectedItem()), QStringLiteral("k3"));
        QTest::mouseClick(groups->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          groups->visualItemRect(groups->find("k3")).center());
        QCOMPARE(KeyedTreeWidget::keyOf(groups->selectedItem()), QStringLiteral("k3"));
        QCOMPARE(form->txtGrpName->text(), QStringLiteral("DEPOZIT"));

        form->SSTab1->setCurrentIndex(1);
        clickItem(form->lstUsers, form->lstUsers->find("k12"));
        form->lstUsers->setFocus();
        QTest::keyClick(form->lstUsers, Qt::Key_Down);
        QCOMPARE(form->txtUserName->text(), QStringLiteral("costin"));
    }
};

QTEST_MAIN(TestListViews)
#include "TestListViews.moc"
