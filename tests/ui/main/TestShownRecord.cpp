#include "support/FixtureRows.h"
#include "support/ModalAnswerer.h"
#include "support/TempServer.h"
#include "support/WindowFixture.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/TabControl.h"
#include "ui/main/frmMain.h"

#include <QLineEdit>
#include <QtTest>
#include <memory>

// What an editor shows belongs to the record selected in its list, also when what that record
// stood on is gone from the database.
class TestShownRecord : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> m_login;
    std::unique_ptr<TempServer> m_server;

private slots:
    void initTestCase() { m_login = std::make_unique<MainWindowFixture>(); }
    void init() {
        m_server = std::make_unique<TempServer>();
        FixtureRows(*m_server)
            .author(4, "Brad")
            .workPoint(31, 4, "Depozit")
            .workPoint(32, 4, "Magazin")
            .module(50, "Contabilitate")
            .operation(61, 50, 7, "Balanta")
            .group(12, "ADMIN", "Administratori")
            .group(18, "VANZARI", "Vanzari")
            .grant(12, 4, 61, 7)
            .grantWorkPoint(12, 31);
    }
    void cleanup() { m_server.reset(); }

    // Every company deleted elsewhere: after Refresh no company can be selected, and another group
    // clicked shows none of the work points the group before it holds.
    void noCompanyLeftShowsNoOtherGroupsWorkPoints() {
        WindowFixture form(*m_login);
        QCOMPARE(checks(form->lstPuncteLucru), QList<Qt::CheckState>({Qt::Checked, Qt::Unchecked}));
        m_server->exec("suitedb", "DELETE FROM Authors");
        ModalAnswerer none;
        form.press("keyRefresh");
        QCOMPARE(form->lstAuthors->topLevelItemCount(), 0);

        clickItem(form->lstGroupsConfig, form->lstGroupsConfig->find("k18"));
        QCOMPARE(form->txtGrpName->text(), QStringLiteral("VANZARI"));
        QCOMPARE(form->lstPuncteLucru->topLevelItemCount(), 0);
        QCOMPARE(image(*form, "k61#$#50#$#7"), 3);
        QCOMPARE(none.count(), 0);
    }

    // A group deleted elsewhere and then clicked shows nothing of the group shown before it, so a
    // tick saved as a new group does not copy that group under its code.
    void aGroupDeletedElsewhereShowsNoOtherGroupsFields() {
        WindowFixture form(*m_login);
        m_server->exec("suitedb", "DELETE FROM AdmGrup WHERE grID = 18");
        clickItem(form->lstGroupsConfig, form->lstGroupsConfig->find("k18"));
        QCOMPARE(form->txtGrpName->text() + "/" + form->txtFullName->text(), QStringLiteral("/"));

        form->lstPuncteLucru->find("k32")->setCheckState(0, Qt::Checked);
        ModalAnswerer asNew(QStringList{"Save as new", "OK"});
        form.press("keySave");
        QCOMPARE(m_server->lines("suitedb", "SELECT grID, grCod FROM AdmGrup"), QStringList({"12/ADMIN"}));
    }

    // The same of a user: the user shown before does not look like a user without groups.
    void aUserDeletedElsewhereShowsNoOtherUsersFields() {
        FixtureRows(*m_server).user(21, "ana", "Ana Pop").user(26, "dan", "Dan Ionescu").member(21, 12);
        WindowFixture form(*m_login);
        QCOMPARE(form->txtUserName->text(), QStringLiteral("ana"));
        m_server->exec("suitedb", "DELETE FROM admUser WHERE usID = 26");
        form->SSTab1->setCurrentIndex(1);
        clickItem(form->lstUsers, form->lstUsers->find("k26"));
        QCOMPARE(form->txtUserName->text() + "/" + form->txtDisplay->text(), QStringLiteral("/"));
        QCOMPARE(checks(form->lstGroups), QList<Qt::CheckState>({Qt::Unchecked, Qt::Unchecked}));

        // Filled in again and saved, it is found gone and may be saved as a new user.
        for (QLineEdit* box :
             {form->txtUserName, form->txtAlias, form->txtDisplay, form->txtPassword, form->txtVerifyPassword})
            box->setText("radu");
        form->lstGroups->find("k18")->setCheckState(0, Qt::Checked);
        ModalAnswerer asNew(QStringList{"Save as new", "OK"});
        QVERIFY(form->Save());
        QCOMPARE(m_server->lines("suitedb", "SELECT u.usID, usCod, grID FROM admUser u JOIN admUserGrup g ON "
                                            "g.usID = u.usID ORDER BY u.usID"),
                 QStringList({"21/ana/12", "22/radu/18"}));
    }

    // With no user selected, no brand roles are listed: those on the brand tab were the roles of
    // the user shown before.
    void withoutAUserNoBrandRolesAreListed() {
        FixtureRows(*m_server).user(21, "ana", "Ana Pop").brand(71, "Nord", 4).brandRole(21, 71, true, false);
        WindowFixture form(*m_login);
        QCOMPARE(form->lstUserBrand->topLevelItemCount(), 1);
        form.press("keyNewUser");
        QCOMPARE(form->lstUserBrand->topLevelItemCount(), 0);

        // Nor after every user was deleted elsewhere and the list refreshed empty.
        clickItem(form->lstUsers, form->lstUsers->find("k21"));
        QCOMPARE(form->lstUserBrand->topLevelItemCount(), 1);
        m_server->exec("suitedb", "DELETE FROM admUser");
        form.press("keyRefresh");
        QCOMPARE(form->lstUsers->topLevelItemCount(), 0);
        QCOMPARE(form->lstUserBrand->topLevelItemCount(), 0);
    }
};

QTEST_MAIN(TestShownRecord)
#include "TestShownRecord.moc"
