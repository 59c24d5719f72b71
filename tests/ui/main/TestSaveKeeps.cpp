#include "support/FixtureRows.h"
#include "support/ModalAnswerer.h"
#include "support/TempServer.h"
#include "support/WindowFixture.h"
#include "ui/common/KeyedComboBox.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/TabControl.h"
#include "ui/main/UnsavedChanges.h"
#include "ui/main/frmMain.h"

#include <QLineEdit>
#include <QtTest>
#include <memory>

// Save writes what the administrator saw and changed, and nothing else: an unchanged editor is
// not written, rights the window did not show stay as they are, and a user code names one login.
class TestSaveKeeps : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> m_login;
    std::unique_ptr<TempServer> m_server;

    QStringList rows(const QString& sql) const { return m_server->lines("suitedb", sql); }
    QString loginPassword(const QString& name) const {
        return m_server->value("master", "SELECT password_b64 FROM server_principals WHERE name = ?", {name})
            .toString();
    }
    static void click(KeyedTreeWidget* list, const QString& key) { clickItem(list, list->find(key)); }

private slots:
    void initTestCase() { m_login = std::make_unique<MainWindowFixture>(); }
    void init() {
        m_server = std::make_unique<TempServer>();
        FixtureRows(*m_server).twoOfEach();
    }
    void cleanup() { m_server.reset(); }

    // On the demo suite, Save with nothing changed leaves every table byte for byte as it was,
    // also after another group and user were looked at and a tick was given and taken back.
    void anUnchangedSaveWritesNothing() {
        m_server = std::make_unique<TempServer>(true, true);
        WindowFixture form(*m_login);
        const QStringList before = m_server->snapshot();
        ModalAnswerer answer;
        form.press("keySave");
        QCOMPARE(m_server->snapshot(), before);

        click(form->lstGroupsConfig, KeyedTreeWidget::keyOf(form->lstGroupsConfig->topLevelItem(1)));
        click(form->lstUsers, KeyedTreeWidget::keyOf(form->lstUsers->topLevelItem(1)));
        QTreeWidgetItem* point = form->lstPuncteLucru->topLevelItem(0);
        QVERIFY(point);
        const Qt::CheckState state = point->checkState(0);
        point->setCheckState(0, state == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        point->setCheckState(0, state);
        form.press("keySave");
        QCOMPARE(answer.count(), 0);
        QCOMPARE(m_server->snapshot(), before);
    }

    // A parent operation's grant, a grant on an operation the tree could not place, a work point
    // the list does not show and a membership of a group created behind the window's back all stay,
    // with their stamps, through saves that change something else of the same group and user.
    void whatTheWindowDidNotShowIsKept() {
        WindowFixture form(*m_login);
        FixtureRows(*m_server)
            .module(3, "Stocuri")
            .operation(30, 3, 7, "Rapoarte")
            .operation(31, 3, 8, "Rapoarte zilnice", 30)
            .operation(90, 999, 5, "Operatie fara modul")
            .grant(1, 1, 30, 7)
            .grant(1, 1, 90, 5);
        m_server->exec("stk", "INSERT INTO stk_PuncteLucru (IdPctLucru, IdAuthor) VALUES (44, 1)");
        FixtureRows(*m_server).grantWorkPoint(1, 44);
        {
            // The refresh says once that the operation without a module is not shown.
            ModalAnswerer told;
            form->RefreshMe();
            QCOMPARE(told.count(), 1);
            QVERIFY2(told.text().contains("Operatie fara modul"), qPrintable(told.text()));
        }
        QCOMPARE(selectedKey(form->lstGroupsConfig), QStringLiteral("k1"));
        QCOMPARE(selectedKey(form->lstAuthors), QStringLiteral("k1"));
        FixtureRows(*m_server).group(7, "NOU", "Grup nou").member(1, 7);

        form->txtNotes->setText("schimbat");
        doubleClickNode(*form, "k11#$#1#$#1");
        auto answer = std::make_unique<ModalAnswerer>();
        QVERIFY(form->Save());
        const QString today = QDate::currentDate().toString(Qt::ISODate);
        QCOMPARE(rows("SELECT auID, opID, ID, DataAct FROM admGrupOperatii WHERE grID = 1 ORDER BY auID, opID"),
                 QStringList({"1/10/1/" + today, "1/11/1/" + today, "1/30/7/2025-03-07", "1/90/5/2025-03-07",
                              "2/20/2/2025-03-07"}));
        QCOMPARE(rows("SELECT IdPctLucru FROM admGrupPuncteLucru WHERE grID = 1 ORDER BY 1"), QStringList({"1", "44"}));
        // The user was not changed, so it was not written.
        QCOMPARE(rows("SELECT grID, DataAct FROM admUserGrup WHERE usID = 1 ORDER BY grID"),
                 QStringList({"1/2025-03-07", "7/2025-03-07"}));

        // Unticking every shown grant keeps the company listed for the grants it still has.
        doubleClickNode(*form, "k10#$#1#$#1");
        doubleClickNode(*form, "k11#$#1#$#1");
        form->lstPuncteLucru->find("k1")->setCheckState(0, Qt::Unchecked);
        QVERIFY(form->Save());
        QCOMPARE(rows("SELECT opID FROM admGrupOperatii WHERE grID = 1 AND auID = 1 ORDER BY 1"),
                 QStringList({"30", "90"}));
        QCOMPARE(rows("SELECT auID FROM admGrupAutor WHERE grID = 1 ORDER BY 1"), QStringList({"1", "2"}));
        QCOMPARE(rows("SELECT IdPctLucru FROM admGrupPuncteLucru WHERE grID = 1"), QStringList({"44"}));

        // The membership added behind the window's back is asked about; "Overwrite" writes this
        // window's version, which leaves the membership it did not list alone.
        QCOMPARE(answer->count(), 0);
        answer.reset();
        form->txtDisplay->setText("Ana Avram-Pop");
        ModalAnswerer overwrite("Overwrite");
        QVERIFY(form->Save());
        QCOMPARE(overwrite.count(), 1);
        QVERIFY2(overwrite.text().contains("1 group membership was added by someone else"),
                 qPrintable(overwrite.text()));
        QCOMPARE(rows("SELECT usDenumire FROM admUser WHERE usID = 1"), QStringList({"Ana Avram-Pop"}));
        QCOMPARE(rows("SELECT grID, DataAct FROM admUserGrup WHERE usID = 1 ORDER BY grID"),
                 QStringList({"1/" + today, "7/2025-03-07"}));
    }

    // A person tied to the user that the person box cannot show (added since the last refresh) is
    // not untied by a save that changed something else; a box whose text is no person's is refused,
    // with the users page and the user's tab brought to the front.
    void thePersonBoxDecidesOnlyWhatItShows() {
        WindowFixture form(*m_login);
        FixtureRows(*m_server).person(9, "Zamfir", "Ion");
        m_server->exec("suitedb", "UPDATE PSR_Pers SET usID = CASE IdPers WHEN 9 THEN 1 ELSE 0 END");
        form->SSTab1->setCurrentIndex(1);
        click(form->lstUsers, "k2");
        click(form->lstUsers, "k1");
        QCOMPARE(form->cmbPers->currentText(), QString());
        form->txtDisplay->setText("Ana A.");
        QVERIFY(form->Save());
        QCOMPARE(rows("SELECT IdPers FROM PSR_Pers WHERE usID = 1"), QStringList({"9"}));

        form->cmbPers->selectKey("k2");
        form->cmbPers->lineEdit()->setFocus();
        form->cmbPers->lineEdit()->end(false);
        QTest::keyClick(form->cmbPers->lineEdit(), Qt::Key_Backspace);
        QCOMPARE(form->cmbPers->currentIndex(), -1);
        form->SSTab1->setCurrentIndex(0);
        form->tabDetalii->setCurrentIndex(1);
        const QStringList before = m_server->snapshot();
        ModalAnswerer answer;
        QVERIFY(!form->Save());
        QCOMPARE(answer.text(), QStringLiteral("Selectati persoana din lista sau lasati campul gol!"));
        QCOMPARE(form->SSTab1->currentIndex(), 1);
        QCOMPARE(form->tabDetalii->currentIndex(), 0);
        QVERIFY(form->focusWidget() == form->cmbPers || form->focusWidget() == form->cmbPers->lineEdit());
        QCOMPARE(m_server->snapshot(), before);
    }

    // Two persons pointing at one user (written by another program): a save that changes the
    // display name unties neither, though the box shows one; choosing another person unties both.
    void aSecondPersonOfTheUserStaysTied() {
        FixtureRows(*m_server).person(9, "Avram", "Ana (HR)", 1);
        WindowFixture form(*m_login);
        form->SSTab1->setCurrentIndex(1);
        click(form->lstUsers, "k1");
        QVERIFY(!form->cmbPers->currentText().isEmpty());
        form->txtDisplay->setText("Ana A.");
        QVERIFY(form->Save());
        QCOMPARE(rows("SELECT usDenumire FROM admUser WHERE usID = 1"), QStringList({"Ana A."}));
        QCOMPARE(rows("SELECT IdPers FROM PSR_Pers WHERE usID = 1 ORDER BY 1"), QStringList({"1", "9"}));

        form->cmbPers->selectKey("k2");
        QVERIFY(form->Save());
        QCOMPARE(rows("SELECT IdPers FROM PSR_Pers WHERE usID = 1 ORDER BY 1"), QStringList({"2"}));
    }

    // With the brand tab in front, Save writes the user only and the changed group stays unsaved
    // and asked about; the question's "Save" then writes it.
    void theBrandTabLeavesAChangedGroupUnsaved() {
        WindowFixture form(*m_login);
        form->txtNotes->setText("de salvat");
        form->SSTab1->setCurrentIndex(1);
        form->tabDetalii->setCurrentIndex(1);
        form->txtDisplay->setText("Ana din CRM");
        form.press("keySave");
        QCOMPARE(rows("SELECT usDenumire FROM admUser WHERE usID = 1"), QStringList({"Ana din CRM"}));
        QCOMPARE(rows("SELECT ifnull(grobs, '') FROM AdmGrup WHERE grID = 1"), QStringList({""}));
        QVERIFY(form->unsavedChanges().changed(UnsavedChanges::Part::Group));
        QCOMPARE(form->txtNotes->text(), QStringLiteral("de salvat"));

        form->SSTab1->setCurrentIndex(0);
        ModalAnswerer answer(QMessageBox::Save);
        click(form->lstGroupsConfig, "k2");
        QCOMPARE(answer.count(), 1);
        QCOMPARE(rows("SELECT grobs FROM AdmGrup WHERE grID = 1"), QStringList({"de salvat"}));
        QCOMPARE(selectedKey(form->lstGroupsConfig), QStringLiteral("k2"));
    }

    // A code that is another user's in another case, or that starts or ends with a blank, is
    // refused before anything is written, the other user's login untouched.
    void aUserCodeNamesOneLogin_data() {
        QTest::addColumn<bool>("newUser");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("another user's, other case") << false << "DAN"
                                                    << "Codul 'DAN' este deja codul utilizatorului 'dan'!";
        QTest::newRow("new user, taken") << true << "Ana"
                                         << "Codul 'Ana' este deja codul utilizatorului 'ana'!";
        QTest::newRow("trailing blank")
            << false << "ana "
            << "Codul utilizatorului nu poate incepe sau se termina cu spatii: este si numele login-ului!";
        QTest::newRow("blanks only")
            << true << "  "
            << "Codul utilizatorului nu poate incepe sau se termina cu spatii: este si numele login-ului!";
    }
    void aUserCodeNamesOneLogin() {
        QFETCH(bool, newUser);
        QFETCH(QString, code);
        QFETCH(QString, message);
        m_server->exec("master", "INSERT INTO server_principals (name, password_b64) VALUES ('dan', 'b2xk')");
        WindowFixture form(*m_login);
        if (newUser) {
            form.press("keyNewUser");
            form->txtAlias->setText("alias");
            form->txtDisplay->setText("Nou");
        }
        form->txtUserName->setText(code);
        form->txtPassword->setText("noua");
        form->txtVerifyPassword->setText("noua");
        form->SSTab1->setCurrentIndex(0);
        const QStringList before = m_server->snapshot();
        ModalAnswerer answer;
        QVERIFY(!form->Save());
        QCOMPARE(answer.text(), message);
        QCOMPARE(form->SSTab1->currentIndex(), 1);
        QCOMPARE(m_server->snapshot(), before);
        QCOMPARE(loginPassword("dan"), QStringLiteral("b2xk"));
        QCOMPARE(m_server->value("master", "SELECT count(*) FROM server_principals").toInt(), 1);
    }

    // A renamed user takes its login along, password and server role included; a login that
    // cannot be created is reported after the save, naming the login and the server's words.
    void loginsFollowTheirUsers() {
        WindowFixture form(*m_login);
        form->txtPassword->setText("secret");
        form->txtVerifyPassword->setText("secret");
        QVERIFY(form->Save());
        const QString password = loginPassword("ana");
        QVERIFY(!password.isEmpty());

        form->txtUserName->setText("ana.avram");
        QVERIFY(form->Save());
        QCOMPARE(loginPassword("ana.avram"), password);
        QCOMPARE(m_server->value("master", "SELECT group_concat(name) FROM server_principals").toString(),
                 QStringLiteral("ana.avram"));
        QCOMPARE(m_server->value("master", "SELECT group_concat(member) FROM server_role_members").toString(),
                 QStringLiteral("ana.avram"));

        m_server->exec("master", "CREATE TRIGGER refuse BEFORE INSERT ON server_principals "
                                 "BEGIN SELECT RAISE(ABORT, 'the catalogue refuses new logins'); END");
        form.press("keyNewUser");
        form->txtUserName->setText("ion");
        form->txtAlias->setText("ion");
        form->txtDisplay->setText("Ion Pop");
        form->txtPassword->setText("pw");
        form->txtVerifyPassword->setText("pw");
        ModalAnswerer answer;
        QVERIFY(form->Save());
        QCOMPARE(answer.count(), 1);
        QVERIFY2(answer.text().contains("'ion'") && answer.text().contains("the catalogue refuses new logins"),
                 qPrintable(answer.text()));
        QCOMPARE(rows("SELECT usDenumire FROM admUser WHERE usCod = 'ion'"), QStringList({"Ion Pop"}));
    }
};

QTEST_MAIN(TestSaveKeeps)
#include "TestSaveKeeps.moc"
