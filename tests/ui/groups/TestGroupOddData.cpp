#include "support/FixtureRows.h"
#include "support/ModalAnswerer.h"
#include "support/TempServer.h"
#include "support/WindowFixture.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/main/frmMain.h"

#include <QLineEdit>
#include <QtTest>
#include <memory>

// The group editor on odd but real rows of the suite's tables, read back from the database after
// a Save of the real window.
class TestGroupOddData : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> m_login;
    std::unique_ptr<TempServer> m_server;

    QStringList rows(const QString& sql) const { return m_server->lines("suitedb", sql); }

private slots:
    void initTestCase() { m_login = std::make_unique<MainWindowFixture>(); }
    void init() {
        m_server = std::make_unique<TempServer>();
        FixtureRows(*m_server).twoOfEach();
    }
    void cleanup() { m_server.reset(); }

    // A code, name and notes longer than their boxes take (written by another program) are shown
    // and saved whole when only a tick changed; typing stays bounded.
    void longTextsSurviveASaveOfATick() {
        const QString code = QStringLiteral("ADMINISTRATORI_ȚĂRI");
        const QString name = QString(60, QChar(u'ș'));
        const QString notes = QString(120, QLatin1Char('n'));
        m_server->exec("suitedb", "UPDATE AdmGrup SET grCod = ?, grDenumire = ?, grobs = ? WHERE grID = 1",
                       {code, name, notes});
        WindowFixture form(*m_login);
        QCOMPARE(form->txtGrpName->text(), code);
        doubleClickNode(*form, "k11#$#1#$#1");
        ModalAnswerer answer;
        QVERIFY(form->Save());
        QCOMPARE(answer.count(), 0);
        QCOMPARE(rows("SELECT grCod, grDenumire, grobs FROM AdmGrup WHERE grID = 1"),
                 QStringList({code + "/" + name + "/" + notes}));
        QCOMPARE(rows("SELECT auID, opID, ID FROM admGrupOperatii WHERE grID = 1 ORDER BY auID, opID"),
                 QStringList({"1/10/1", "1/11/1", "2/20/2"}));

        form.press("keyNewGrp");
        form->txtGrpName->setFocus();
        QTest::keyClicks(form->txtGrpName, QString(20, QLatin1Char('x')));
        QCOMPARE(form->txtGrpName->text().size(), 15);
    }

    // A work point the group holds twice is listed once, ticked, with no error; unticked and saved,
    // neither grant row stays.
    void aWorkPointGrantedTwiceIsListedOnce() {
        FixtureRows(*m_server).grantWorkPoint(1, 1);
        ModalAnswerer answer;
        WindowFixture form(*m_login);
        QCOMPARE(answer.count(), 0);
        QCOMPARE(form->txtGrpName->text(), QStringLiteral("ADMIN"));
        QCOMPARE(checks(form->lstPuncteLucru), QList<Qt::CheckState>({Qt::Checked, Qt::Unchecked}));
        form->lstPuncteLucru->find("k1")->setCheckState(0, Qt::Unchecked);
        form->lstPuncteLucru->find("k2")->setCheckState(0, Qt::Checked);
        QVERIFY(form->Save());
        QCOMPARE(answer.count(), 0);
        QCOMPARE(rows("SELECT IdPctLucru FROM admGrupPuncteLucru WHERE grID = 1"), QStringList({"2"}));
    }

    // A work point listed for the company but missing from stk's copy of the list, unticked and
    // saved, is no longer granted.
    void aWorkPointMissingFromStkIsUnticked() {
        m_server->exec("stk", "DELETE FROM stk_PuncteLucru WHERE IdPctLucru = 1");
        WindowFixture form(*m_login);
        QCOMPARE(checks(form->lstPuncteLucru), QList<Qt::CheckState>({Qt::Checked, Qt::Unchecked}));
        form->lstPuncteLucru->find("k1")->setCheckState(0, Qt::Unchecked);
        ModalAnswerer answer;
        QVERIFY(form->Save());
        QCOMPARE(answer.count(), 0);
        QCOMPARE(rows("SELECT IdPctLucru FROM admGrupPuncteLucru WHERE grID = 1"), QStringList());
    }

    // A save that changes none of a company's operations (here the notes) leaves the company's
    // listing as it is: a company listed without operations stays listed, and operations granted
    // for a company the group does not list stay granted and unlisted.
    void aCompanysListingChangesOnlyWithItsOperations_data() {
        QTest::addColumn<int>("grID");
        QTest::addColumn<QString>("company");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QStringList>("granted");
        QTest::newRow("listed without operations")
            << 1 << "k3" << QStringList({"1", "2", "3"}) << QStringList({"1/10/1", "2/20/2"});
        QTest::newRow("operations without listing") << 2 << "k1" << QStringList() << QStringList({"1/31/7"});
    }
    void aCompanysListingChangesOnlyWithItsOperations() {
        QFETCH(int, grID);
        QFETCH(QString, company);
        QFETCH(QStringList, listed);
        QFETCH(QStringList, granted);
        FixtureRows(*m_server).author(3, "Fag").module(3, "Stocuri").operation(31, 3, 7, "Intrari");
        m_server->exec("suitedb", "INSERT INTO admGrupAutor (auID, grID, IdOperator, DataAct) VALUES (3, 1, 55, "
                                  "'2025-03-07'); INSERT INTO admGrupOperatii (auID, grID, opID, ID, IdOperator, "
                                  "DataAct) VALUES (1, 2, 31, 7, 55, '2025-03-07')");
        WindowFixture form(*m_login);
        clickItem(form->lstGroupsConfig, form->lstGroupsConfig->find("k" + QString::number(grID)));
        clickItem(form->lstAuthors, form->lstAuthors->find(company));
        form->txtNotes->setText("note noi");
        ModalAnswerer answer;
        QVERIFY(form->Save());
        QCOMPARE(answer.count(), 0);
        const QString group = QString::number(grID);
        QCOMPARE(rows("SELECT grobs FROM AdmGrup WHERE grID = " + group), QStringList({"note noi"}));
        QCOMPARE(rows("SELECT auID FROM admGrupAutor WHERE grID = " + group + " ORDER BY auID"), listed);
        QCOMPARE(rows("SELECT auID, opID, ID FROM admGrupOperatii WHERE grID = " + group + " ORDER BY auID, opID"),
                 granted);
    }

    // One operation (opID 10, Id 1) listed in two modules shows a node in each, both checked for
    // the grant it has; a save writes that grant once, and takes it away once both are unticked.
    void anOperationInTwoModulesIsGrantedOnce() {
        m_server->exec("suitedb", "DROP INDEX IX_admOperatiiModul_key");
        FixtureRows(*m_server).operation(10, 2, 1, "Balanta");
        WindowFixture form(*m_login);
        QCOMPARE(image(*form, "k10#$#1#$#1"), 1);
        QCOMPARE(image(*form, "k10#$#2#$#1"), 1);
        doubleClickNode(*form, "k11#$#1#$#1");
        ModalAnswerer answer;
        QVERIFY(form->Save());
        QCOMPARE(answer.count(), 0);
        QCOMPARE(rows("SELECT auID, opID, ID FROM admGrupOperatii WHERE grID = 1 ORDER BY auID, opID"),
                 QStringList({"1/10/1", "1/11/1", "2/20/2"}));

        // Unticked in one module only, its one grant cannot show both: Save says so and writes
        // nothing, instead of keeping the grant the administrator took away.
        doubleClickNode(*form, "k10#$#1#$#1");
        QVERIFY(!form->Save());
        QCOMPARE(answer.count(), 1);
        QVERIFY2(answer.text().contains("more than one module, ticked in one and not in another: Balanta."),
                 qPrintable(answer.text()));
        QCOMPARE(rows("SELECT count(*) FROM admGrupOperatii WHERE grID = 1 AND opID = 10"), QStringList{"1"});
        doubleClickNode(*form, "k10#$#2#$#1");
        QVERIFY(form->Save());
        QCOMPARE(rows("SELECT auID, opID, ID FROM admGrupOperatii WHERE grID = 1 ORDER BY auID, opID"),
                 QStringList({"1/11/1", "2/20/2"}));
    }
};

QTEST_MAIN(TestGroupOddData)
#include "TestGroupOddData.moc"
