#include "db/StatementLog.h"
#include "support/FixtureRows.h"
#include "support/ModalAnswerer.h"
#include "support/TempServer.h"
#include "support/WindowFixture.h"
#include "ui/common/ItemRoles.h"
#include "ui/common/KeyedComboBox.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/TabControl.h"
#include "ui/main/frmMain.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidgetItemIterator>
#include <QtTest>
#include <memory>

// The toolbar's New Group, New User and Refresh commands, and RefreshMe putting the selection
// back after reloading every list.
class TestRefresh : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> m_login;
    std::unique_ptr<TempServer> m_server;

    // The 1-based position, among the statements of one refresh of form, of the occurrence-th
    // statement whose text contains part; 0 when there is none.
    static int statementNumber(frmMain& form, const QString& part, int occurrence) {
        db::StatementLog::startRecording();
        form.RefreshMe();
        db::StatementLog::stopRecording();
        const QStringList& texts = db::StatementLog::recorded();
        for (int i = 0; i < texts.size(); ++i)
            if (texts[i].contains(part) && --occurrence == 0)
                return i + 1;
        return 0;
    }

private slots:
    void initTestCase() { m_login = std::make_unique<MainWindowFixture>(); }

    void init() {
        m_server = std::make_unique<TempServer>();
        FixtureRows rows(*m_server);
        rows.author(1, "Brad", "BRD")
            .author(2, "Stejar", "STJ")
            .workPoint(1, 1, "Depozit Brad")
            .workPoint(2, 2, "Magazin Stejar")
            .workPoint(3, 2, "Sediu Stejar")
            .module(1, "Contabilitate")
            .operation(10, 1, 1, "Balanta")
            .operation(11, 1, 1, "Jurnal")
            .group(1, "ADMIN", "Administratori")
            .group(2, "VANZARI", "Vanzari")
            .grant(2, 2, 10, 1)
            .grantWorkPoint(2, 3)
            .person(1, "Avram", "Elena");
        // Enough users that the last ones are out of sight in the list.
        for (int id = 1; id <= 40; ++id)
            rows.user(id, QStringLiteral("u%1").arg(id, 2, 10, QLatin1Char('0')));
        rows.person(2, "Barbu", "Ion", 35).member(35, 2).member(1, 1);
    }
    void cleanup() {
        db::StatementLog::clearFailure();
        m_server.reset();
    }

    void theFirstRefreshSelectsAndLoadsTheFirsts() {
        ModalAnswerer answer;
        WindowFixture form(*m_login);
        QCOMPARE(selectedKey(form->lstAuthors), QStringLiteral("k1"));
        QCOMPARE(selectedKey(form->lstGroupsConfig), QStringLiteral("k1"));
        QCOMPARE(form->txtGrpName->text(), QStringLiteral("ADMIN"));
        QCOMPARE(form->lstPuncteLucru->topLevelItemCount(), 1);
        QCOMPARE(selectedKey(form->lstUsers), QStringLiteral("k1"));
        QCOMPARE(form->txtUserName->text(), QStringLiteral("u01"));
        QCOMPARE(checks(form->lstGroups), QList<Qt::CheckState>({Qt::Checked, Qt::Unchecked}));
        QCOMPARE(form->cmbPers->count(), 2);
        QCOMPARE(form->twOperations->keyedCount(), 3);
        QCOMPARE(answer.count(), 0);
    }

    void refreshingPutsTheSelectionBack() {
        WindowFixture form(*m_login);
        form->lstAuthors->selectItem(form->lstAuthors->find("k2"));
        form->lstGroupsConfig->selectItem(form->lstGroupsConfig->find("k2"));
        form->lstUsers->selectItem(form->lstUsers->find("k35"));
        form->txtPassword->setText("parola");
        form->txtVerifyPassword->setText("parola");
        FixtureRows(*m_server).group(3, "AAA");

        {
            // The typed passwords would be lost: the refresh asks first.
            ModalAnswerer discard(QMessageBox::Discard);
            form.press("keyRefresh");
            QCOMPARE(discard.count(), 1);
        }
        QCOMPARE(selectedKey(form->lstAuthors), QStringLiteral("k2"));
        QCOMPARE(selectedKey(form->lstGroupsConfig), QStringLiteral("k2"));
        QCOMPARE(form->txtGrpName->text(), QStringLiteral("VANZARI"));
        QCOMPARE(form->lstGroupsConfig->topLevelItemCount(), 3);
        // The group editor shows the restored company's grants for the restored group.
        QCOMPARE(form->lstAuthors->find("k2")->checkState(0), Qt::Checked);
        QCOMPARE(checks(form->lstPuncteLucru), QList<Qt::CheckState>({Qt::Unchecked, Qt::Checked}));
        QCOMPARE(image(*form, "k10#$#1#$#1"), 1);

        form->SSTab1->setCurrentIndex(1);
        QTreeWidgetItem* user = form->lstUsers->find("k35");
        QCOMPARE(form->lstUsers->selectedItem(), user);
        QVERIFY(form->lstUsers->viewport()->rect().contains(form->lstUsers->visualItemRect(user)));
        QCOMPARE(form->txtUserName->text(), QStringLiteral("u35"));
        QCOMPARE(form->cmbPers->currentText(), QStringLiteral("Barbu Ion"));
        QCOMPARE(form->lstGroups->find("k2")->checkState(0), Qt::Checked);
        // Loading the user again empties the passwords.
        QCOMPARE(form->txtPassword->text(), QString());
        QCOMPARE(form->txtVerifyPassword->text(), QString());
    }

    void aRecordDeletedElsewhereGivesWayToTheFirstWithoutAMessage() {
        WindowFixture form(*m_login);
        form->lstGroupsConfig->selectItem(form->lstGroupsConfig->find("k2"));
        form->lstUsers->selectItem(form->lstUsers->find("k35"));
        m_server->exec("suitedb", "DELETE FROM AdmGrup WHERE grID = 2");
        m_server->exec("suitedb", "DELETE FROM admUser WHERE usID = 35");

        ModalAnswerer answer;
        form.press("keyRefresh");
        QCOMPARE(answer.count(), 0);
        QVERIFY(!form->lstUsers->find("k35"));
        QCOMPARE(selectedKey(form->lstUsers), QStringLiteral("k1"));
        QCOMPARE(form->txtUserName->text(), QStringLiteral("u01"));
        QCOMPARE(selectedKey(form->lstGroupsConfig), QStringLiteral("k1"));
        QCOMPARE(form->txtGrpName->text(), QStringLiteral("ADMIN"));
    }

    // What a refresh could not read or show is told once, in one box, while the rest of the window
    // is filled; the editor that depends on it refuses to save until a refresh reads it.
    void whatARefreshCannotShowIsToldOnce_data() {
        QTest::addColumn<QString>("statement"); // a part of the failing read's text; empty: none fails
        QTest::addColumn<int>("occurrence");    // which of the refresh's reads with that text fails
        QTest::addColumn<QString>("told");
        QTest::addColumn<int>("refusedPage"); // the page of the editor that refuses to save; -1: none
        QTest::newRow("companies") << "From Authors" << 1 << "Could not read the companies: Injected failure" << -1;
        QTest::newRow("groups of the user editor")
            << "From AdmGrup (nolock) Order By" << 2 << "Could not read the groups: Injected failure" << 1;
        QTest::newRow("modules and operations")
            << "From admOperatiiModul" << 1 << "Could not read the modules and operations: Injected failure" << 0;
        QTest::newRow("persons") << "From PSR_Pers" << 1 << "Could not read the persons: Injected failure" << 1;
        QTest::newRow("work points") << "PSR_PuncteLucru" << 2
                                     << "Could not read the work points of the company \"Brad\": Injected failure" << 0;
        QTest::newRow("operation without a module")
            << "" << 0 << "module does not exist (1):\n    opID 12, Id 3, \"Arhiva\", module 9" << -1;
    }
    void whatARefreshCannotShowIsToldOnce() {
        QFETCH(QString, statement);
        QFETCH(int, occurrence);
        QFETCH(QString, told);
        QFETCH(int, refusedPage);
        WindowFixture form(*m_login);
        if (statement.isEmpty()) {
            // Read before every other operation, by its name.
            FixtureRows(*m_server).operation(12, 9, 3, "Arhiva");
        } else {
            const int position = statementNumber(*form, statement, occurrence);
            QVERIFY(position > 0);
            db::StatementLog::failAt(position, db::DbError(-2147217900, "Injected failure", "Test source"));
        }
        {
            ModalAnswerer answer;
            form.press("keyRefresh");
            db::StatementLog::clearFailure();
            QCOMPARE(answer.count(), 1);
            QCOMPARE(answer.title(), QStringLiteral("Talvane"));
            QCOMPARE(answer.icon(), QMessageBox::Warning);
            QVERIFY2(answer.text().contains(told), qPrintable(answer.text()));
        }
        // Everything else is shown.
        QCOMPARE(form->lstUsers->topLevelItemCount(), 40);
        QCOMPARE(form->txtUserName->text(), QStringLiteral("u01"));
        QCOMPARE(form->twOperations->keyedCount(), statement.contains("admOperatiiModul") ? 1 : 3);
        QCOMPARE(form->cmbPers->count(), statement.contains("PSR_Pers") ? 0 : 2);

        if (refusedPage < 0)
            return;
        const QStringList before = m_server->snapshot();
        (refusedPage == 0 ? form->txtFullName : form->txtDisplay)->setText("Schimbat");
        ModalAnswerer refusal;
        QVERIFY(!form->Save());
        QCOMPARE(refusal.count(), 1);
        QCOMPARE(m_server->snapshot(), before);
    }

    // The suite's database files vanish while the window is open: Refresh shows one box, empties
    // both editors instead of showing the group and the user without rights, and a Save typed
    // into them afterwards writes nothing; once the files are back, Refresh works again.
    void removedDatabaseFilesGiveOneBoxAndNothingIsSaved_data() {
        QTest::addColumn<int>("detailsTab");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("group and user") << 0 << "nu s-au incarcat corect";
        QTest::newRow("user only") << 1 << "Utilizatorul nu s-a incarcat corect";
    }
    void removedDatabaseFilesGiveOneBoxAndNothingIsSaved() {
        QFETCH(int, detailsTab);
        QFETCH(QString, refusal);
        WindowFixture form(*m_login);
        form->lstAuthors->selectItem(form->lstAuthors->find("k2"));
        form->lstGroupsConfig->selectItem(form->lstGroupsConfig->find("k2"));
        form->lstUsers->selectItem(form->lstUsers->find("k35"));
        const QStringList before = m_server->snapshot();
        const QStringList databases{"suitedb", "ordavia", "stk"};
        for (const QString& database : databases)
            QVERIFY(QFile::rename(m_server->databaseFile(database), m_server->databaseFile(database) + ".away"));

        {
            ModalAnswerer answer;
            form.press("keyRefresh");
            QCOMPARE(answer.count(), 1);
            QVERIFY2(answer.text().contains("Cannot open database"), qPrintable(answer.text()));
            QVERIFY(answer.text().contains("Origin : Toolbar1_ButtonClick()"));
            QVERIFY(answer.text().contains("Check the server name"));
        }
        QVERIFY(form->Panel(1)->text().endsWith(" (not connected)"));
        QCOMPARE(selectedKey(form->lstGroupsConfig), QStringLiteral("k2"));
        QCOMPARE(selectedKey(form->lstUsers), QStringLiteral("k35"));
        QCOMPARE(form->txtGrpName->text(), QString());
        QCOMPARE(checks(form->lstAuthors), QList<Qt::CheckState>({Qt::Unchecked, Qt::Unchecked}));
        QCOMPARE(form->lstPuncteLucru->topLevelItemCount(), 0);
        for (QTreeWidgetItemIterator it(form->twOperations); *it; ++it)
            QVERIFY((*it)->data(0, common::ImageRole).toInt() != 1);
        QCOMPARE(form->txtUserName->text(), QString());
        QCOMPARE(form->cmbPers->currentIndex(), -1);
        QCOMPARE(checks(form->lstGroups), QList<Qt::CheckState>({Qt::Unchecked, Qt::Unchecked}));

        for (const QString& database : databases)
            QVERIFY(QFile::rename(m_server->databaseFile(database) + ".away", m_server->databaseFile(database)));
        form->txtGrpName->setText("VANZARI");
        form->txtFullName->setText("Vanzari");
        form->txtUserName->setText("u35");
        form->txtAlias->setText("u35");
        form->txtDisplay->setText("U 35");
        form->tabDetalii->setCurrentIndex(detailsTab);
        {
            ModalAnswerer answer;
            form.press("keySave");
            QCOMPARE(answer.count(), 1);
            QVERIFY2(answer.text().contains(refusal), qPrintable(answer.text()));
        }
        QCOMPARE(m_server->snapshot(), before);

        // The refused text is still unsaved: Refresh asks about it first, and no error follows.
        ModalAnswerer answer(QMessageBox::Discard);
        form.press("keyRefresh");
        QCOMPARE(answer.count(), 1);
        QCOMPARE(answer.title(), QStringLiteral("Talvane"));
        QCOMPARE(form->Panel(1)->text(), "Server : " + m_login->serverName());
        QCOMPARE(form->txtGrpName->text(), QStringLiteral("VANZARI"));
        QCOMPARE(form->lstGroups->find("k2")->checkState(0), Qt::Checked);
    }

    void theTextBoxesAreEmptiedButNotThePasswords() {
        m_server->exec("suitedb", "DELETE FROM admUser");
        m_server->exec("suitedb", "DELETE FROM AdmGrup");
        WindowFixture form(*m_login);
        for (QLineEdit* box : {form->txtGrpName, form->txtFullName, form->txtNotes, form->txtDomain, form->txtUserName,
                               form->txtAlias, form->txtDisplay, form->txtPassword, form->txtVerifyPassword})
            box->setText("typed");
        ModalAnswerer discard(QMessageBox::Discard);
        form.press("keyRefresh");
        QCOMPARE(discard.count(), 1);
        for (QLineEdit* box : {form->txtGrpName, form->txtFullName, form->txtNotes, form->txtDomain, form->txtUserName,
                               form->txtAlias, form->txtDisplay})
            QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
        QCOMPARE(form->txtPassword->text(), QStringLiteral("typed"));
        QCOMPARE(form->txtVerifyPassword->text(), QStringLiteral("typed"));
        QVERIFY(!form->lstUsers->selectedItem());
    }

    void newGroupEmptiesTheGroupEditor() {
        WindowFixture form(*m_login);
        form->lstAuthors->selectItem(form->lstAuthors->find("k2"));
        form->lstGroupsConfig->selectItem(form->lstGroupsConfig->find("k2"));
        form->LoadGrp(2);
        form->lstPuncteLucru->topLevelItem(0)->setCheckState(0, Qt::Checked);
        QCOMPARE(image(*form, "k10#$#1#$#1"), 1);
        form->SSTab1->setCurrentIndex(1);

        ModalAnswerer discard(QMessageBox::Discard);
        form.press("keyNewGrp");
        QCOMPARE(discard.count(), 1);
        QCOMPARE(form->SSTab1->currentIndex(), 0);
        QVERIFY(!form->lstGroupsConfig->selectedItem());
        QCOMPARE(form->txtGrpName->text(), QString());
        QCOMPARE(form->txtFullName->text(), QString());
        QCOMPARE(form->txtNotes->text(), QString());
        QCOMPARE(checks(form->lstAuthors), QList<Qt::CheckState>({Qt::Unchecked, Qt::Unchecked}));
        for (const char* key : {"m1", "k10#$#1#$#1", "k11#$#1#$#1"})
            QCOMPARE(image(*form, key), 3);
        QCOMPARE(checks(form->lstPuncteLucru), QList<Qt::CheckState>({Qt::Unchecked, Qt::Unchecked}));
        // The question took the activation; the focus shows once the window has it back.
        form->activateWindow();
        QTRY_VERIFY(form->txtGrpName->hasFocus());
    }

    void newUserEmptiesTheUserEditor() {
        WindowFixture form(*m_login);
        form->lstUsers->selectItem(form->lstUsers->find("k35"));
        form->LoadUser(35);
        form->txtPassword->setText("parola");
        form->txtVerifyPassword->setText("parola");
        QCOMPARE(form->cmbPers->currentIndex(), 1);
        QCOMPARE(form->SSTab1->currentIndex(), 0);

        ModalAnswerer discard(QMessageBox::Discard);
        form.press("keyNewUser");
        QCOMPARE(discard.count(), 1);
        QCOMPARE(form->SSTab1->currentIndex(), 1);
        QVERIFY(!form->lstUsers->selectedItem());
        for (QLineEdit* box : {form->txtDomain, form->txtUserName, form->txtAlias, form->txtDisplay, form->txtPassword,
                               form->txtVerifyPassword})
            QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
        QCOMPARE(checks(form->lstGroups), QList<Qt::CheckState>({Qt::Unchecked, Qt::Unchecked}));
        QCOMPARE(form->cmbPers->currentIndex(), -1);
        QCOMPARE(form->cmbPers->currentText(), QString());
        // The question took the activation; the focus shows once the window has it back.
        form->activateWindow();
        QTRY_VERIFY(form->txtUserName->hasFocus());

        // A refresh after it selects the first user again.
        form.press("keyRefresh");
        QCOMPARE(selectedKey(form->lstUsers), QStringLiteral("k1"));
    }

    void newUserFromTheBrandTabClearsTheWholeEditor() {
        WindowFixture form(*m_login);
        form->SSTab1->setCurrentIndex(1);
        form->tabDetalii->setCurrentIndex(1);
        form->txtPassword->setText("parola");
        ModalAnswerer answer(QMessageBox::Discard);
        form.press("keyNewUser");
        QCOMPARE(answer.count(), 1);
        QCOMPARE(form->tabDetalii->currentIndex(), 1);
        QVERIFY(form->txtUserName->text().isEmpty());
        QVERIFY(form->txtPassword->text().isEmpty());
        QCOMPARE(checks(form->lstGroups), QList<Qt::CheckState>({Qt::Unchecked, Qt::Unchecked}));
        form->tabDetalii->setCurrentIndex(0);
        // The question took the activation; the focus shows once the window has it back.
        form->activateWindow();
        QTRY_VERIFY(form->txtUserName->hasFocus());
    }
};

QTEST_MAIN(TestRefresh)
#include "TestRefresh.moc"
