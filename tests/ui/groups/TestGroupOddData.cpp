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

    // One operation (opID 10, Id 1) listed in two modules shows a node in each, both checked for
    // the grant it has; a save writes that grant once.
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
    }
};

QTEST_MAIN(TestGroupOddData)
#include "TestGroupOddData.moc"
