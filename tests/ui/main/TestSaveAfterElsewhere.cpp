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

// Rights the window could not see stay through a Save that changed something else, and a user
// saved over a change made elsewhere keeps a login under its own code.
class TestSaveAfterElsewhere : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> m_login;
    std::unique_ptr<TempServer> m_server;

    QStringList rows(const QString& database, const QString& sql) const { return m_server->lines(database, sql); }

private slots:
    void initTestCase() { m_login = std::make_unique<MainWindowFixture>(); }
    void init() {
        m_server = std::make_unique<TempServer>();
        FixtureRows(*m_server).twoOfEach().operation(12, 1, 4, "Fise");
    }
    void cleanup() { m_server.reset(); }

    // The group holds operations of company 1 although no admGrupAutor row lists the company, so
    // the company's box is off and the tree shows none of them checked. A Save that changes only
    // the notes must not delete them; one that checks another operation keeps them too, once each.
    // Unticking the box of a listed company still takes its grants away.
    void grantsOfACompanyWhoseBoxIsOffStay() {
        m_server->exec("suitedb", "DELETE FROM admGrupAutor WHERE grID = 1 AND auID = 1");
        WindowFixture form(*m_login);
        QCOMPARE(selectedKey(form->lstAuthors), QStringLiteral("k1"));
        QCOMPARE(form->lstAuthors->find("k1")->checkState(0), Qt::Unchecked);
        ModalAnswerer unexpected;
        form->txtNotes->setText("doar notele");
        QVERIFY(form->Save());
        QCOMPARE(rows("suitedb", "SELECT auID, opID, ID FROM admGrupOperatii WHERE grID = 1 ORDER BY auID, opID"),
                 QStringList({"1/10/1", "2/20/2"}));

        doubleClickNode(*form, "k10#$#1#$#1");
        doubleClickNode(*form, "k12#$#1#$#4");
        QVERIFY(form->Save());
        QCOMPARE(unexpected.count(), 0);
        QCOMPARE(rows("suitedb", "SELECT auID, opID, ID FROM admGrupOperatii WHERE grID = 1 ORDER BY auID, opID"),
                 QStringList({"1/10/1", "1/12/4", "2/20/2"}));
        QCOMPARE(rows("suitedb", "SELECT auID FROM admGrupAutor WHERE grID = 1 ORDER BY 1"), QStringList({"1", "2"}));

        // A company the group lists, its box unticked by the administrator and clicked: a save of
        // the group takes its grants away, and its listing.
        QTreeWidgetItem* second = form->lstAuthors->find("k2");
        clickItem(form->lstAuthors, second, QStyle::SE_ItemViewItemCheckIndicator);
        QCOMPARE(second->checkState(0), Qt::Unchecked);
        clickItem(form->lstAuthors, second);
        form->txtNotes->setText("fara societatea 2");
        QVERIFY(form->Save());
        QCOMPARE(unexpected.count(), 0);
        QCOMPARE(rows("suitedb", "SELECT auID, opID, ID FROM admGrupOperatii WHERE grID = 1 ORDER BY auID, opID"),
                 QStringList({"1/10/1", "1/12/4"}));
        QCOMPARE(rows("suitedb", "SELECT auID FROM admGrupAutor WHERE grID = 1 ORDER BY 1"), QStringList({"1"}));
    }

    // Another administrator renamed the user, its login going with it; "Overwrite" writes the
    // window's code back, and the login must follow it rather than stay under the other name.
    void anOverwrittenRenameTakesTheLoginBack() {
        m_server->exec("master", "INSERT INTO server_principals (name, password_b64) VALUES ('ana', 'YW5h')");
        WindowFixture form(*m_login);
        form->SSTab1->setCurrentIndex(1);
        m_server->exec("suitedb", "UPDATE admUser SET usCod = 'ana.avram' WHERE usID = 1");
        m_server->exec("master", "UPDATE server_principals SET name = 'ana.avram' WHERE name = 'ana'");

        form->txtDisplay->setText("Ana A.");
        ModalAnswerer overwrite("Overwrite");
        QVERIFY(form->Save());
        QCOMPARE(overwrite.count(), 1);
        QCOMPARE(rows("suitedb", "SELECT usCod, usDenumire FROM admUser WHERE usID = 1"), QStringList({"ana/Ana A."}));
        QCOMPARE(rows("master", "SELECT name, password_b64 FROM server_principals"), QStringList({"ana/YW5h"}));
    }

    void aGroupDeletedElsewhereGetsNoMembers_data() {
        QTest::addColumn<bool>("member");
        QTest::addColumn<QStringList>("answers");
        QTest::newRow("ticked") << false << QStringList{"OK"};
        QTest::newRow("member, overwritten") << true << QStringList{"Overwrite", "OK"};
    }
    // Another administrator deleted a group, its memberships with it, after the window listed it.
    // A Save of a user ticked in it must not write a membership of a group that is gone: the next
    // group created would get its id, and with it members no one gave it. The window says which
    // group the user was not saved in.
    void aGroupDeletedElsewhereGetsNoMembers() {
        QFETCH(bool, member);
        QFETCH(QStringList, answers);
        if (member)
            FixtureRows(*m_server).member(2, 2);
        WindowFixture form(*m_login);
        form->SSTab1->setCurrentIndex(1);
        clickItem(form->lstUsers, form->lstUsers->find("k2"));
        m_server->exec("suitedb", "DELETE FROM AdmGrup WHERE grID = 2");
        m_server->exec("suitedb", "DELETE FROM admUserGrup WHERE grID = 2");
        form->lstGroups->find("k2")->setCheckState(0, Qt::Checked);
        form->txtDisplay->setText("Alt nume");
        ModalAnswerer answer(answers);
        QVERIFY(form->Save());
        QCOMPARE(answer.count(), answers.size());
        QCOMPARE(answer.texts().constLast(), "The user was saved, but not as a member of these groups, which someone "
                                             "else deleted since the list was read:\nVANZARI");
        QCOMPARE(rows("suitedb", "SELECT usID, grID FROM admUserGrup ORDER BY usID, grID"), QStringList({"1/1"}));
        QCOMPARE(rows("suitedb", "SELECT usDenumire FROM admUser WHERE usID = 2"), QStringList({"Alt nume"}));
    }

    void grantsOfRecordsDeletedElsewhereAreNotWritten_data() {
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("deletion");
        QTest::addColumn<QString>("operations");
        QTest::addColumn<QString>("workPoints");
        QTest::addColumn<QString>("companies");
        QTest::addColumn<QString>("message");
        const QString rights = "The group was saved, but without these rights, whose records someone else deleted "
                               "since the lists were read:\n";
        QTest::newRow("operation") << "suitedb"
                                   << "DELETE FROM admOperatiiModul WHERE opID = 11"
                                   << "1/10/1 2/20/2"
                                   << "1 2"
                                   << "1 2" << rights + "Jurnal";
        QTest::newRow("work point") << "ordavia"
                                    << "DELETE FROM PSR_PuncteLucru WHERE IdPctLucru = 2"
                                    << "1/10/1 1/11/1 2/20/2"
                                    << "1"
                                    << "1 2" << rights + "Magazin Brad";
        QTest::newRow("company") << "suitedb"
                                 << "DELETE FROM Authors WHERE IdAuthor = 1"
                                 << "2/20/2"
                                 << ""
                                 << "2"
                                 << "The group was saved, but not its rights for the company 'Brad', which someone "
                                    "else deleted since the list was read.";
    }
    // Another administrator deleted an operation from the catalogue, a work point or a company
    // after the window listed it. A grant of it written by a Save would stay where no save can
    // take it away, and pass to the next record given its id.
    void grantsOfRecordsDeletedElsewhereAreNotWritten() {
        QFETCH(QString, database);
        QFETCH(QString, deletion);
        QFETCH(QString, operations);
        QFETCH(QString, workPoints);
        QFETCH(QString, companies);
        QFETCH(QString, message);
        WindowFixture form(*m_login);
        m_server->exec(database, deletion);
        doubleClickNode(*form, "k11#$#1#$#1");
        form->lstPuncteLucru->find("k2")->setCheckState(0, Qt::Checked);
        ModalAnswerer answer("OK");
        QVERIFY(form->Save());
        const auto joined = [this](const QString& sql) { return rows("suitedb", sql).join(' '); };
        QCOMPARE(joined("SELECT auID, opID, ID FROM admGrupOperatii WHERE grID = 1 ORDER BY auID, opID"), operations);
        QCOMPARE(joined("SELECT IdPctLucru FROM admGrupPuncteLucru WHERE grID = 1 ORDER BY 1"), workPoints);
        QCOMPARE(joined("SELECT auID FROM admGrupAutor WHERE grID = 1 ORDER BY 1"), companies);
        QCOMPARE(answer.texts(), QStringList{message});
    }
};

QTEST_MAIN(TestSaveAfterElsewhere)
#include "TestSaveAfterElsewhere.moc"
