#include "db/StatementLog.h"
#include "store/Base64Encode.h"
#include "support/FixtureRows.h"
#include "support/ModalAnswerer.h"
#include "support/TempServer.h"
#include "support/WindowFixture.h"
#include "ui/common/ImageList.h"
#include "ui/common/ItemRoles.h"
#include "ui/common/KeyedComboBox.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/TabControl.h"
#include "ui/groups/OperationTree.h"
#include "ui/main/frmMain.h"

#include <QAction>
#include <QLineEdit>
#include <QtTest>
#include <functional>
#include <memory>

// The Save command on the real window: what it writes to the database, what it refuses before
// writing anything, and how the lists follow.
class TestSave : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> m_login;
    std::unique_ptr<TempServer> m_server;

    static void clickCompany(frmMain& form, const QString& key) {
        form.lstAuthors->selectItem(form.lstAuthors->find(key));
        form.lstAuthors_ItemClick(form.lstAuthors->find(key));
    }
    static void clickGroup(frmMain& form, const QString& key) {
        form.lstGroupsConfig->selectItem(form.lstGroupsConfig->find(key));
        form.LoadGrp(KeyedTreeWidget::tagOf(form.lstGroupsConfig->selectedItem()).toInt());
    }
    QStringList grants(int grID) const {
        QStringList rows;
        for (const QVariantList& row :
             m_server->rows("suitedb",
                            "SELECT auID, opID, ID, DataAct FROM admGrupOperatii WHERE grID = "
                            "? ORDER BY auID, opID, ID",
                            {grID}))
            rows << QStringLiteral("%1/%2/%3 %4")
                        .arg(row[0].toInt())
                        .arg(row[1].toInt())
                        .arg(row[2].toInt())
                        .arg(row[3].toString());
        return rows;
    }
    QList<int> column(const QString& sql, const QVariantList& values = {}) const {
        QList<int> ids;
        for (const QVariantList& row : m_server->rows("suitedb", sql, values))
            ids << row.value(0).toInt();
        return ids;
    }
    int logins() const { return m_server->value("master", "SELECT count(*) FROM server_principals").toInt(); }

private slots:
    void initTestCase() { m_login = std::make_unique<MainWindowFixture>(); }

    void init() {
        m_server = std::make_unique<TempServer>();
        FixtureRows(*m_server).twoOfEach();
    }
    void cleanup() {
        db::StatementLog::clearFailure();
        m_server.reset();
    }

    // New Group after another group was shown: the ticks the administrator gives are what is
    // stored, never the work points the other group held.
    void aNewGroupIsStoredListedAndReloaded() {
        WindowFixture form(*m_login);
        QCOMPARE(form->lstPuncteLucru->find("k1")->checkState(0), Qt::Checked);
        form.press("keyNewGrp");
        form->txtGrpName->setText("NOU");
        form->txtFullName->setText("Grup nou");
        form->lstPuncteLucru->find("k2")->setCheckState(0, Qt::Checked);
        doubleClickNode(*form, "k10#$#1#$#1");
        doubleClickNode(*form, "k11#$#1#$#1");

        ModalAnswerer answer;
        QVERIFY(form->Save());
        QCOMPARE(answer.count(), 0);
        QCOMPARE(m_server->rows("suitedb", "SELECT grCod, grDenumire, IdOperator FROM AdmGrup WHERE grID = 3"),
                 QList<QVariantList>({{"NOU", "Grup nou", 55}}));
        QCOMPARE(column("SELECT auID FROM admGrupAutor WHERE grID = 3"), QList<int>({1}));
        const QString today = QDate::currentDate().toString(Qt::ISODate);
        QCOMPARE(grants(3), QStringList({"1/10/1 " + today, "1/11/1 " + today}));
        QCOMPARE(column("SELECT IdPctLucru FROM admGrupPuncteLucru WHERE grID = 3"), QList<int>({2}));
        QCOMPARE(selectedKey(form->lstGroupsConfig), QStringLiteral("k3"));
        QCOMPARE(form->lstGroupsConfig->find("k3")->text(0), QStringLiteral("NOU"));
        QCOMPARE(KeyedTreeWidget::tagOf(form->lstGroups->find("k3")).toInt(), 3);
        QCOMPARE(form->lstGroups->find("k3")->text(1), QStringLiteral("Grup nou"));
        // The user shown was saved along with it, its login left alone.
        QCOMPARE(logins(), 0);

        form->RefreshMe();
        QCOMPARE(selectedKey(form->lstGroupsConfig), QStringLiteral("k3"));
        QCOMPARE(form->txtGrpName->text(), QStringLiteral("NOU"));
        QCOMPARE(form->lstAuthors->find("k1")->checkState(0), Qt::Checked);
        QCOMPARE(image(*form, "k10#$#1#$#1"), 1);
        QCOMPARE(image(*form, "k11#$#1#$#1"), 1);
        QCOMPARE(form->lstPuncteLucru->find("k1")->checkState(0), Qt::Unchecked);
        QCOMPARE(form->lstPuncteLucru->find("k2")->checkState(0), Qt::Checked);
    }

    // An existing group is renamed in both lists, also when one of them lost its item; a tree
    // with only a module node checked takes the company's grant away.
    void anExistingGroupIsRenamedAndItsGrantRemoved() {
        WindowFixture form(*m_login);
        QCOMPARE(selectedKey(form->lstGroupsConfig), QStringLiteral("k1"));
        form->txtGrpName->setText("ADMINI");
        QVERIFY(form->Save());
        QCOMPARE(form->lstGroupsConfig->find("k1")->text(0), QStringLiteral("ADMINI"));
        QCOMPARE(form->lstGroups->find("k1")->text(0), QStringLiteral("ADMINI"));
        QCOMPARE(m_server->value("suitedb", "SELECT grCod FROM AdmGrup WHERE grID = 1").toString(),
                 QStringLiteral("ADMINI"));

        form->lstGroups->removeKeyed("k1");
        form->ClearOperationChecks();
        groups::setImage(form->twOperations->find("m1"), CheckImage::Checked, *form->ImageList1);
        form->txtGrpName->setText("ADMIN2");
        ModalAnswerer answer;
        QVERIFY(form->Save());
        QCOMPARE(answer.count(), 0);
        QCOMPARE(form->lstGroupsConfig->find("k1")->text(0), QStringLiteral("ADMIN2"));
        QCOMPARE(column("SELECT auID FROM admGrupAutor WHERE grID = 1"), QList<int>({2}));
        QCOMPARE(column("SELECT auID FROM admGrupOperatii WHERE grID = 1"), QList<int>({2}));
    }

    // Every refusal comes before anything is written, the password ones included, even with
    // a changed group waiting to be saved.
    void refusalsWriteNothing_data() {
        QTest::addColumn<std::function<void(frmMain&)>>("spoil");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("start");
        auto empty = [](const char* name) {
            return std::function<void(frmMain&)>([name](frmMain& f) { f.findChild<QLineEdit*>(name)->clear(); });
        };
        QTest::newRow("group code") << empty("txtGrpName") << "Introduceti denumirea grupului!" << 0 << "txtGrpName"
                                    << 1;
        QTest::newRow("full name") << empty("txtFullName") << "Introduceti denumirea grupului!" << 0 << "txtFullName"
                                   << 1;
        QTest::newRow("company") << std::function<void(frmMain&)>([](frmMain& f) { f.lstAuthors->selectItem(nullptr); })
                                 << "Selectati autorul!" << 0 << "lstAuthors" << 1;
        QTest::newRow("user code") << empty("txtUserName") << "Introduceti utilizatorul!" << 1 << "txtUserName" << 0;
        QTest::newRow("alias") << empty("txtAlias") << "Introduceti utilizatorul!" << 1 << "txtAlias" << 0;
        QTest::newRow("display") << empty("txtDisplay") << "Introduceti numele utilizatorului!" << 1 << "txtDisplay"
                                 << 0;
        QTest::newRow("new user without password") << std::function<void(frmMain&)>([](frmMain& f) {
            f.lstUsers->selectItem(nullptr);
            f.txtPassword->clear();
            f.txtVerifyPassword->clear();
        }) << "Introduceti parola!" << 1 << "txtPassword"
                                                   << 1;
        QTest::newRow("verification differs in case") << std::function<void(frmMain&)>([](frmMain& f) {
            f.txtPassword->setText("Parola");
            f.txtVerifyPassword->setText("parola");
        }) << "Parola incorecta!" << 1 << "txtVerifyPassword"
                                                      << 1;
    }
    void refusalsWriteNothing() {
        QFETCH(std::function<void(frmMain&)>, spoil);
        QFETCH(QString, message);
        QFETCH(int, page);
        QFETCH(QString, focus);
        QFETCH(int, start);
        WindowFixture form(*m_login);
        form->txtNotes->setText("changed");
        form->lstPuncteLucru->find("k2")->setCheckState(0, Qt::Checked);
        form->txtDisplay->setText("Ana A.");
        form->txtPassword->setText("Parola");
        form->txtVerifyPassword->setText("Parola");
        // The field checks bring their page to the front; the password ones leave the page as it
        // is, so they start on the users page.
        form->SSTab1->setCurrentIndex(start);
        spoil(*form);
        const QStringList before = m_server->snapshot();

        ModalAnswerer answer;
        form.press("keySave");
        QCOMPARE(answer.count(), 1);
        QCOMPARE(answer.text(), message);
        QCOMPARE(answer.title(), QStringLiteral("Talvane"));
        QCOMPARE(answer.icon(), QMessageBox::Warning);
        QCOMPARE(form->SSTab1->currentIndex(), page);
        QCOMPARE(form->focusWidget() ? form->focusWidget()->objectName() : QString(), focus);
        QCOMPARE(m_server->snapshot(), before);
        QCOMPARE(logins(), 0);
        // No refresh followed: the unsaved edits are still on screen.
        QCOMPARE(form->txtNotes->text(), QStringLiteral("changed"));
    }

    // A company whose work points or operations could not be read, or a group whose companies
    // could not be, is not saved from what the editor shows; loading it again makes it savable.
    void aGroupThatFailedToLoadIsNotSaved_data() {
        QTest::addColumn<bool>("groupLoad");
        QTest::addColumn<int>("failing");
        QTest::newRow("company's work points") << false << 1;
        QTest::newRow("group's operations") << false << 2;
        QTest::newRow("group's companies") << true << 2;
    }
    void aGroupThatFailedToLoadIsNotSaved() {
        QFETCH(bool, groupLoad);
        QFETCH(int, failing);
        WindowFixture form(*m_login);
        const QStringList before = m_server->snapshot();
        db::StatementLog::failAt(failing, db::DbError(-2147467259, "Injected failure", "Fault test"));
        if (groupLoad)
            clickGroup(*form, "k1");
        else
            clickCompany(*form, "k1");
        db::StatementLog::clearFailure();
        // A group that failed to load is emptied; the administrator types its fields in again.
        form->txtGrpName->setText("ADMIN");
        form->txtFullName->setText("Administratori");
        form->txtNotes->setText("changed");

        {
            ModalAnswerer answer;
            QVERIFY(!form->Save());
            QCOMPARE(answer.count(), 1);
            QVERIFY2(answer.text().contains("nu s-au incarcat corect"), qPrintable(answer.text()));
            QCOMPARE(answer.title(), QStringLiteral("Talvane"));
            QCOMPARE(answer.icon(), QMessageBox::Warning);
            QCOMPARE(form->SSTab1->currentIndex(), 0);
        }
        QCOMPARE(m_server->snapshot(), before);

        if (groupLoad)
            clickGroup(*form, "k1");
        else
            clickCompany(*form, "k1");
        QCOMPARE(image(*form, "k10#$#1#$#1"), 1);
        ModalAnswerer answer;
        QVERIFY(form->Save());
        QCOMPARE(answer.count(), 0);
        QCOMPARE(column("SELECT opID FROM admGrupOperatii WHERE grID = 1 AND auID = 1"), QList<int>({10}));
        QCOMPARE(column("SELECT IdPctLucru FROM admGrupPuncteLucru WHERE grID = 1"), QList<int>({1}));
    }

    // A code with a quote and a bracket, a password with a letter outside ASCII: the row, the
    // person, the groups and the login (its password the Base64 text of the ANSI bytes, a
    // member of sysadmin). Saved again with empty password boxes, the login stays as it was.
    void aNewUserGetsItsRowsAndLogin() {
        WindowFixture form(*m_login);
        form.press("keyNewUser");
        const QString code = QStringLiteral("o'neil]x");
        form->txtUserName->setText(code);
        form->txtAlias->setText("oneil");
        form->txtDisplay->setText("Oana Neil");
        form->txtDomain->setText("BRADET");
        form->cmbPers->selectKey("k2");
        form->lstGroups->find("k2")->setCheckState(0, Qt::Checked);
        form->txtPassword->setText(QStringLiteral("Parolă"));
        form->txtVerifyPassword->setText(QStringLiteral("Parolă"));

        ModalAnswerer answer;
        form.press("keySave");
        QCOMPARE(answer.count(), 0);
        QCOMPARE(m_server->rows("suitedb", "SELECT usID, usDenumire, usDomeniu, usAlias FROM admUser WHERE usCod = ?",
                                {code}),
                 QList<QVariantList>({{3, "Oana Neil", "BRADET", "oneil"}}));
        QCOMPARE(column("SELECT usID FROM PSR_Pers WHERE IdPers = 2"), QList<int>({3}));
        QCOMPARE(column("SELECT grID FROM admUserGrup WHERE usID = 3"), QList<int>({2}));
        const QString password = Base64Encode(AnsiBytes(QStringLiteral("Parolă")));
        QCOMPARE(
            m_server->value("master", "SELECT password_b64 FROM server_principals WHERE name = ?", {code}).toString(),
            password);
        QCOMPARE(m_server
                     ->value("master",
                             "SELECT count(*) FROM server_role_members WHERE role = 'sysadmin' AND "
                             "member = ?",
                             {code})
                     .toInt(),
                 1);
        // The refresh after the save selected and loaded the new user.
        QCOMPARE(selectedKey(form->lstUsers), QStringLiteral("k3"));
        QCOMPARE(form->txtUserName->text(), code);

        form->txtPassword->clear();
        form->txtVerifyPassword->clear();
        form->txtDisplay->setText("Oana N.");
        form.press("keySave");
        QCOMPARE(answer.count(), 0);
        QCOMPARE(m_server->value("suitedb", "SELECT usDenumire FROM admUser WHERE usID = 3").toString(),
                 QStringLiteral("Oana N."));
        QCOMPARE(
            m_server->value("master", "SELECT password_b64 FROM server_principals WHERE name = ?", {code}).toString(),
            password);
    }

    // With the brand roles tab in front only the user is written; the group's edits stay unsaved.
    void theBrandTabSavesOnlyTheUser() {
        WindowFixture form(*m_login);
        form->txtGrpName->setText("ALTCEVA");
        form->ClearOperationChecks();
        form->SSTab1->setCurrentIndex(1);
        form->tabDetalii->setCurrentIndex(1);
        form->txtDisplay->setText("Ana Avram-Pop");
        const QStringList groupsBefore = m_server->tableRows("suitedb", "admGrupOperatii");
        QVERIFY(form->Save());
        QCOMPARE(m_server->value("suitedb", "SELECT grCod FROM AdmGrup WHERE grID = 1").toString(),
                 QStringLiteral("ADMIN"));
        QCOMPARE(m_server->tableRows("suitedb", "admGrupOperatii"), groupsBefore);
        QCOMPARE(m_server->value("suitedb", "SELECT usDenumire FROM admUser WHERE usID = 1").toString(),
                 QStringLiteral("Ana Avram-Pop"));
        QCOMPARE(form->lstUsers->find("k1")->text(1), QStringLiteral("Ana Avram-Pop"));
    }

    // A store that fails is shown with the origin of the command; the lists and the database
    // stay as they were.
    void aFailingStoreIsShownAndChangesNothing() {
        WindowFixture form(*m_login);
        form.press("keyNewGrp");
        form->txtGrpName->setText("NOU");
        form->txtFullName->setText("Grup nou");
        doubleClickNode(*form, "k10#$#1#$#1");
        const QStringList before = m_server->snapshot();
        const int groups = form->lstGroupsConfig->topLevelItemCount();

        ModalAnswerer answer;
        db::StatementLog::failAt(4, db::DbError(-2147217873, "Injected failure", "Fault test"));
        form.press("keySave");
        db::StatementLog::clearFailure();
        QCOMPARE(answer.count(), 1);
        QCOMPARE(answer.title(), QStringLiteral("Quillmark"));
        QVERIFY2(answer.text().contains("Injected failure") && answer.text().endsWith("Origin : SaveGroup()"),
                 qPrintable(answer.text()));
        QCOMPARE(m_server->snapshot(), before);
        QCOMPARE(form->lstGroupsConfig->topLevelItemCount(), groups);
        QCOMPARE(form->lstGroups->topLevelItemCount(), groups);
        QVERIFY(!form->lstGroupsConfig->selectedItem());
        QCOMPARE(form->txtGrpName->text(), QStringLiteral("NOU"));
    }
};

QTEST_MAIN(TestSave)
#include "TestSave.moc"
