#include "db/StatementLog.h"
#include "support/FixtureRows.h"
#include "support/ModalAnswerer.h"
#include "support/TempServer.h"
#include "support/WindowFixture.h"
#include "ui/common/ItemRoles.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/TabControl.h"
#include "ui/main/frmMain.h"

#include <QAction>
#include <QLineEdit>
#include <QRegularExpression>
#include <QtTest>
#include <memory>

// The Delete command on the real window: the question, what the stores delete, and what the
// window shows afterwards.
class TestDelete : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> m_login;
    std::unique_ptr<TempServer> m_server;

    static void select(KeyedTreeWidget* list, const QString& key) { list->selectItem(list->find(key)); }
    int count(const QString& sql) const { return m_server->value("suitedb", sql).toInt(); }

private slots:
    void initTestCase() { m_login = std::make_unique<MainWindowFixture>(); }

    void init() {
        m_server = std::make_unique<TempServer>();
        FixtureRows(*m_server)
            .author(1, "Brad")
            .module(1, "Contabilitate")
            .operation(10, 1, 1, "Balanta")
            .group(1, "ADMIN", "Administratori")
            .group(2, "o'grup", "Grupul lui O")
            .group(3, "<b>x</b>", "Marcat")
            .grant(2, 1, 10, 1)
            .user(1, "ana", "Ana Avram")
            .user(2, "a&b", "Alfa Beta")
            .user(3, "o'neil", "Oana Neil")
            .member(3, 2)
            .member(1, 1);
    }
    void cleanup() {
        db::StatementLog::clearFailure();
        m_server.reset();
    }

    // The question names the item as it is written, as plain text; Yes deletes the record and
    // the editor then shows the record the list selects, No deletes nothing.
    void theQuestionDecides_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::newRow("user with an ampersand") << 1 << "k2"
                                                << "Stergem utilizatorul 'a&b'?"
                                                << "admUser"
                                                << "usID";
        QTest::newRow("user with an apostrophe") << 1 << "k3"
                                                 << "Stergem utilizatorul 'o'neil'?"
                                                 << "admUser"
                                                 << "usID";
        QTest::newRow("group with an apostrophe") << 0 << "k2"
                                                  << "Stergem grupul 'o'grup'?"
                                                  << "AdmGrup"
                                                  << "grID";
        QTest::newRow("group with markup") << 0 << "k3"
                                           << "Stergem grupul '<b>x</b>'?"
                                           << "AdmGrup"
                                           << "grID";
    }
    void theQuestionDecides() {
        QFETCH(int, page);
        QFETCH(QString, key);
        QFETCH(QString, question);
        QFETCH(QString, table);
        QFETCH(QString, column);
        WindowFixture form(*m_login);
        KeyedTreeWidget* list = page == 1 ? form->lstUsers : form->lstGroupsConfig;
        QLineEdit* code = page == 1 ? form->txtUserName : form->txtGrpName;
        const QString exists = QStringLiteral("SELECT count(*) FROM %1 WHERE %2 = %3").arg(table, column, key.mid(1));
        form->SSTab1->setCurrentIndex(page);
        select(list, key);
        if (page == 1)
            form->LoadUser(key.mid(1).toInt());
        else
            form->LoadGrp(key.mid(1).toInt());
        // A password typed in the user editor is an edit that deleting a group asks about (see
        // TestUnsavedChanges): only the record's own editor is edited here.
        if (page == 1) {
            form->txtPassword->setText("secret");
            form->txtVerifyPassword->setText("secret");
        }
        code->setText("edited");
        {
            ModalAnswerer no(QMessageBox::No);
            form.press("keyDelete");
            QCOMPARE(no.count(), 1);
            QCOMPARE(no.text(), question);
            QCOMPARE(no.textFormat(), Qt::PlainText);
            QCOMPARE(no.title(), QStringLiteral("Talvane"));
            QCOMPARE(no.icon(), QMessageBox::Question);
            QCOMPARE(no.buttons(), QMessageBox::Yes | QMessageBox::No);
        }
        QCOMPARE(count(exists), 1);
        QVERIFY(list->find(key));
        // No refresh either: the edit is still there.
        QCOMPARE(code->text(), QStringLiteral("edited"));

        ModalAnswerer yes(QMessageBox::Yes);
        form.press("keyDelete");
        QCOMPARE(yes.count(), 1);
        QCOMPARE(count(exists), 0);
        QVERIFY(!list->find(key));
        if (page == 1) {
            QCOMPARE(count("SELECT count(*) FROM admUserGrup WHERE usID = " + key.mid(1)), 0);
            // Nothing typed for the deleted user is left for a save to write over another one.
            QCOMPARE(form->txtPassword->text(), QString());
        } else {
            QCOMPARE(count("SELECT count(*) FROM admGrupOperatii WHERE grID = " + key.mid(1)), 0);
            QCOMPARE(count("SELECT count(*) FROM admUserGrup WHERE grID = " + key.mid(1)), 0);
            QVERIFY(!form->lstGroups->find(key));
        }
        // The editor shows the record the list selected after the refresh.
        QVERIFY(list->selectedItem());
        QCOMPARE(code->text(), list->selectedItem()->text(0));
    }

    // No selection: no question, nothing deleted. A failing store: the error box with the
    // command's origin, the item still listed, every table as it was.
    void nothingSelectedOrAFailingStoreDeletesNothing() {
        WindowFixture form(*m_login);
        form->SSTab1->setCurrentIndex(1);
        form->lstUsers->selectItem(nullptr);
        const QStringList before = m_server->snapshot();
        {
            ModalAnswerer answer(QMessageBox::Yes);
            form.press("keyDelete");
            QCOMPARE(answer.count(), 0);
        }
        QCOMPARE(m_server->snapshot(), before);

        form->SSTab1->setCurrentIndex(0);
        select(form->lstGroupsConfig, "k2");
        ModalAnswerer answer(QMessageBox::Yes);
        db::StatementLog::failAt(3, db::DbError(-2147217873, "Injected failure", "Fault test"));
        form.press("keyDelete");
        db::StatementLog::clearFailure();
        QCOMPARE(answer.count(), 2);
        QCOMPARE(answer.title(), QStringLiteral("Quillmark"));
        QVERIFY2(answer.text().endsWith("Origin : Delete()"), qPrintable(answer.text()));
        QVERIFY(form->lstGroupsConfig->find("k2"));
        QCOMPARE(m_server->snapshot(), before);
    }

    // A login the server would not drop (it refuses one that is signed in) stays, and Delete says
    // so instead of passing over it.
    void aLoginLeftOnTheServerIsNamed() {
        m_server->exec("master", "INSERT INTO server_principals (name) VALUES ('ana'), ('o''neil')");
        WindowFixture form(*m_login);
        form->SSTab1->setCurrentIndex(1);
        select(form->lstUsers, "k3");
        db::StatementLog::startRecording();
        {
            ModalAnswerer yes(QMessageBox::Yes);
            form.press("keyDelete");
            QCOMPARE(yes.count(), 1);
        }
        db::StatementLog::stopRecording();
        QCOMPARE(m_server->value("master", "SELECT group_concat(name) FROM server_principals").toString(),
                 QStringLiteral("ana"));
        // The other user goes the same way: its login's drop is the same statement of the delete.
        const int drop = int(db::StatementLog::recorded().indexOf(QRegularExpression(".*sp_droplogin.*"))) + 1;
        QVERIFY(drop > 0);

        select(form->lstUsers, "k1");
        ModalAnswerer answers(QStringList{"Yes", "OK"});
        db::StatementLog::failAt(drop, db::DbError(15434,
                                                   "Could not drop login 'ana' as the user is currently "
                                                   "logged in.",
                                                   "Fault test"));
        form.press("keyDelete");
        QCOMPARE(answers.texts().value(1), QStringLiteral("The user was deleted, but its server login 'ana' could not "
                                                          "be dropped: Could not drop login 'ana' as the user is "
                                                          "currently logged in."));
        QCOMPARE(count("SELECT count(*) FROM admUser"), 1);
        QCOMPARE(m_server->value("master", "SELECT group_concat(name) FROM server_principals").toString(),
                 QStringLiteral("ana"));
    }

    // Deleting the last group leaves an empty editor: nothing of the deleted group is left to save.
    void deletingTheLastGroupEmptiesTheEditor() {
        m_server->exec("suitedb", "DELETE FROM AdmGrup WHERE grID <> 2");
        WindowFixture form(*m_login);
        QCOMPARE(form->txtGrpName->text(), QStringLiteral("o'grup"));
        ModalAnswerer answer(QMessageBox::Yes);
        form.press("keyDelete");
        QCOMPARE(answer.count(), 1);
        QCOMPARE(form->lstGroupsConfig->topLevelItemCount(), 0);
        QCOMPARE(form->txtGrpName->text(), QString());
        QCOMPARE(form->txtFullName->text(), QString());
        QCOMPARE(form->lstAuthors->find("k1")->checkState(0), Qt::Unchecked);
        QCOMPARE(form->twOperations->find("k10#$#1#$#1")->data(0, common::ImageRole).toInt(), 3);

        const QStringList before = m_server->snapshot();
        QVERIFY(form->Save());
        QCOMPARE(answer.count(), 1);
        QCOMPARE(m_server->snapshot(), before);
    }
};

QTEST_MAIN(TestDelete)
#include "TestDelete.moc"
