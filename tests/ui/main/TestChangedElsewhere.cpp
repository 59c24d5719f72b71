#include "support/FixtureRows.h"
#include "support/ModalAnswerer.h"
#include "support/TempServer.h"
#include "support/WindowFixture.h"
#include "ui/common/KeyedComboBox.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/TabControl.h"
#include "ui/main/frmMain.h"

#include <QLineEdit>
#include <QtTest>
#include <functional>
#include <memory>

using Change = std::function<void(TempServer&)>;
Q_DECLARE_METATYPE(Change)

// Another administrator changes or deletes what the window shows between its load and a Save or
// a Delete: nothing is written without asking, the question names the change, and each answer
// does what it says.
class TestChangedElsewhere : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> m_login;
    std::unique_ptr<TempServer> m_server;

    QString value(const QString& sql) const { return m_server->value("suitedb", sql).toString(); }
    static Change sql(const char* statement) {
        return [statement](TempServer& server) { server.exec("suitedb", statement); };
    }

private slots:
    void initTestCase() { m_login = std::make_unique<MainWindowFixture>(); }
    void init() {
        m_server = std::make_unique<TempServer>();
        FixtureRows(*m_server).twoOfEach();
    }
    void cleanup() { m_server.reset(); }

    void everyChangeElsewhereIsNamed_data() {
        QTest::addColumn<Change>("change");
        QTest::addColumn<bool>("user");
        QTest::addColumn<QString>("named");
        QTest::newRow("group notes") << sql("UPDATE AdmGrup SET grobs = 'altele' WHERE grID = 1") << false
                                     << "Notes was changed by someone else";
        QTest::newRow("group code and name")
            << sql("UPDATE AdmGrup SET grCod = 'ADM', grDenumire = 'Alt nume' WHERE grID = 1") << false
            << "Name, Full Name were changed by someone else";
        QTest::newRow("operations added")
            << Change([](TempServer& s) { FixtureRows(s).grant(1, 1, 11, 1).grant(1, 1, 20, 2); }) << false
            << "2 operations of company Brad were added by someone else";
        QTest::newRow("operation removed") << sql("DELETE FROM admGrupOperatii WHERE grID = 1 AND auID = 1") << false
                                           << "1 operation of company Brad was removed by someone else";
        QTest::newRow("work point added") << Change([](TempServer& s) { FixtureRows(s).grantWorkPoint(1, 2); }) << false
                                          << "1 work point of company Brad was added by someone else";
        QTest::newRow("user alias") << sql("UPDATE admUser SET usAlias = 'alt' WHERE usID = 1") << true
                                    << "Alias was changed by someone else";
        QTest::newRow("membership removed") << sql("DELETE FROM admUserGrup WHERE usID = 1") << true
                                            << "1 group membership was removed by someone else";
        QTest::newRow("person") << sql("UPDATE PSR_Pers SET usID = 0 WHERE IdPers = 1") << true
                                << "the HR person was changed by someone else";
    }
    void everyChangeElsewhereIsNamed() {
        QFETCH(Change, change);
        QFETCH(bool, user);
        QFETCH(QString, named);
        WindowFixture form(*m_login);
        change(*m_server);
        QLineEdit* edited = user ? form->txtDisplay : form->txtNotes;
        edited->setText("al meu");
        const QStringList before = m_server->snapshot();
        ModalAnswerer answer(QMessageBox::Cancel);
        QVERIFY(!form->Save());
        QCOMPARE(answer.count(), 1);
        QVERIFY2(answer.text().contains(named), qPrintable(answer.text()));
        QCOMPARE(m_server->snapshot(), before);
        QCOMPARE(edited->text(), QStringLiteral("al meu"));
    }

    void eachAnswerDoesWhatItSays_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Overwrite") << "Overwrite" << true << "al meu"
                                   << "al meu";
        QTest::newRow("Reload") << "Reload" << false << "altele"
                                << "altele";
        QTest::newRow("Cancel") << "Cancel" << false << "altele"
                                << "al meu";
    }
    void eachAnswerDoesWhatItSays() {
        QFETCH(QString, answer);
        QFETCH(bool, saved);
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        WindowFixture form(*m_login);
        m_server->exec("suitedb", "UPDATE AdmGrup SET grobs = 'altele' WHERE grID = 1");
        form->txtNotes->setText("al meu");
        {
            ModalAnswerer answerer(answer);
            QCOMPARE(form->Save(), saved);
            QCOMPARE(answerer.count(), 1);
        }
        QCOMPARE(value("SELECT grobs FROM AdmGrup WHERE grID = 1"), stored);
        QCOMPARE(form->txtNotes->text(), shown);
        // What the window shows after the answer is what the next save compares with.
        form->txtFullName->setText("Administratorii");
        ModalAnswerer none(QMessageBox::Cancel);
        QCOMPARE(form->Save(), answer != "Cancel");
        QCOMPARE(none.count(), answer == "Cancel" ? 1 : 0);
    }

    // A group or user deleted behind the window is not written back under its old id: Save says
    // so and saves it as a new record when asked to.
    void aRecordDeletedElsewhereIsSavedOnlyAsANewOne_data() {
        QTest::addColumn<bool>("user");
        QTest::newRow("group") << false;
        QTest::newRow("user") << true;
    }
    void aRecordDeletedElsewhereIsSavedOnlyAsANewOne() {
        QFETCH(bool, user);
        WindowFixture form(*m_login);
        m_server->exec("suitedb", user ? "DELETE FROM admUser WHERE usID = 1" : "DELETE FROM AdmGrup WHERE grID = 1");
        (user ? form->txtDisplay : form->txtNotes)->setText("din nou");
        {
            ModalAnswerer cancel(QMessageBox::Cancel);
            QVERIFY(!form->Save());
            QVERIFY2(cancel.text().contains("was deleted by someone else"), qPrintable(cancel.text()));
        }
        QCOMPARE(value(user ? "SELECT count(*) FROM admUser WHERE usID = 1" : "SELECT count(*) FROM AdmGrup"),
                 user ? "0" : "1");

        if (user) {
            // A new user needs a password for its login, as one made with New User does.
            ModalAnswerer asNew(QStringList{"Save as new", "OK"});
            QVERIFY(!form->Save());
            QCOMPARE(asNew.texts().value(1), QStringLiteral("Introduceti parola!"));
            QCOMPARE(value("SELECT count(*) FROM admUser"), QStringLiteral("1"));
            form->txtPassword->setText("Parola1");
            form->txtVerifyPassword->setText("Parola1");
        }
        ModalAnswerer asNew("Save as new");
        QVERIFY(form->Save());
        QCOMPARE(asNew.count(), 1);
        if (user)
            QCOMPARE(m_server->value("master", "SELECT count(*) FROM server_principals WHERE name = 'ana'").toInt(), 1);
        KeyedTreeWidget* list = user ? form->lstUsers : form->lstGroupsConfig;
        QCOMPARE(selectedKey(list), QStringLiteral("k3"));
        QVERIFY(!list->find("k1"));
        QCOMPARE(value(user ? "SELECT usDenumire || '/' || usCod FROM admUser WHERE usID = 3"
                            : "SELECT grobs || '/' || grCod FROM AdmGrup WHERE grID = 3"),
                 user ? "din nou/ana" : "din nou/ADMIN");
    }

    // Another administrator tied a second person to the user while the one shown still points at
    // it. A save that changes the person unties every person of the user, so it asks first.
    void aPersonTiedElsewhereIsAskedAbout() {
        WindowFixture form(*m_login);
        m_server->exec("suitedb", "UPDATE PSR_Pers SET usID = 1 WHERE IdPers = 2");
        form->cmbPers->setCurrentIndex(-1);
        form->cmbPers->setEditText(QString());
        const QStringList before = m_server->snapshot();
        {
            ModalAnswerer cancel(QMessageBox::Cancel);
            QVERIFY(!form->Save());
            QVERIFY2(cancel.text().contains("the HR person was changed by someone else"), qPrintable(cancel.text()));
        }
        QCOMPARE(m_server->snapshot(), before);
        ModalAnswerer overwrite("Overwrite");
        QVERIFY(form->Save());
        QCOMPARE(overwrite.count(), 1);
        QCOMPARE(value("SELECT count(*) FROM PSR_Pers WHERE usID = 1"), QStringLiteral("0"));
    }

    void deleteAsksAboutGrantsChangedElsewhere_data() {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("named");
        QTest::newRow("operation added") << Change([](TempServer& s) { FixtureRows(s).grant(1, 1, 11, 1); })
                                         << "1 operation of company Brad was added by someone else";
        QTest::newRow("work point added") << Change([](TempServer& s) { FixtureRows(s).grantWorkPoint(1, 2); })
                                          << "1 work point of company Brad was added by someone else";
    }
    // A right given to the group for the shown company since it was loaded would go with the
    // group unasked.
    void deleteAsksAboutGrantsChangedElsewhere() {
        QFETCH(Change, change);
        QFETCH(QString, named);
        WindowFixture form(*m_login);
        change(*m_server);
        const QStringList before = m_server->snapshot();
        ModalAnswerer answers(QStringList{"Yes", "Cancel"});
        form.press("keyDelete");
        QCOMPARE(answers.count(), 2);
        QVERIFY2(answers.texts().value(1).contains(named), qPrintable(answers.texts().value(1)));
        QCOMPARE(m_server->snapshot(), before);
    }

    // Delete asks about a group changed since it was loaded, and says so of one already gone.
    void deleteAsksAboutAChangedRecord() {
        WindowFixture form(*m_login);
        m_server->exec("suitedb", "UPDATE AdmGrup SET grDenumire = 'Alt nume' WHERE grID = 1");
        {
            ModalAnswerer answers(QStringList{"Yes", "Cancel"});
            form.press("keyDelete");
            QCOMPARE(answers.count(), 2);
            QVERIFY2(answers.texts().value(1).contains("Full Name was changed by someone else"),
                     qPrintable(answers.texts().value(1)));
        }
        QCOMPARE(value("SELECT count(*) FROM AdmGrup WHERE grID = 1"), QStringLiteral("1"));
        {
            ModalAnswerer answers(QStringList{"Yes", "Delete anyway"});
            form.press("keyDelete");
            QCOMPARE(answers.count(), 2);
        }
        QCOMPARE(value("SELECT count(*) FROM AdmGrup WHERE grID = 1"), QStringLiteral("0"));
        QCOMPARE(value("SELECT count(*) FROM admGrupOperatii WHERE grID = 1"), QStringLiteral("0"));

        // Group 2, now shown, is deleted behind the window: Delete says it is gone and refreshes.
        QCOMPARE(selectedKey(form->lstGroupsConfig), QStringLiteral("k2"));
        m_server->exec("suitedb", "DELETE FROM AdmGrup WHERE grID = 2");
        ModalAnswerer answers(QStringList{"Yes", "Cancel"});
        form.press("keyDelete");
        QCOMPARE(answers.count(), 2);
        QVERIFY2(answers.texts().value(1).contains("was deleted by someone else"),
                 qPrintable(answers.texts().value(1)));
        QCOMPARE(form->lstGroupsConfig->topLevelItemCount(), 0);
    }
};

QTEST_MAIN(TestChangedElsewhere)
#include "TestChangedElsewhere.moc"
