#include "support/FixtureRows.h"
#include "support/MainWindowFixture.h"
#include "support/ModalAnswerer.h"
#include "support/TempServer.h"
#include "ui/common/ItemKey.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/groups/GroupListFillers.h"
#include "ui/groups/GroupsTestSupport.h"
#include "ui/main/frmMain.h"
#include "ui/users/UserListFillers.h"

#include <QLineEdit>
#include <QtTest>
#include <memory>

using namespace groupstest;

// The group editor of frmMain: loading a group, the company click with its work points and
// operation checks, and the double clicks of the company and group lists.
class TestGroupEditor : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> m_login;
    std::unique_ptr<TempServer> m_server;
    std::unique_ptr<frmMain> m_form;

    const QStringList m_granted = {"k10#$#1#$#1", "k11#$#1#$#1"};

    void writeSuite() {
        FixtureRows(*m_server)
            .author(1, "Alfa")
            .author(2, "Beta")
            .workPoint(100, 1, "Birou")
            .workPoint(101, 1, "Atelier")
            .workPoint(200, 2, "Sediu")
            .module(1, "Contabilitate")
            .module(2, "Depozit")
            .operation(10, 1, 1, "Balanta")
            .operation(11, 1, 1, "Jurnal")
            .operation(12, 1, 1, "Registru")
            .operation(20, 2, 1, "Intrari")
            .operation(21, 2, 1, "Receptie", 20)
            .group(1, "ADM", "Administratori")
            .group(2, "OPS", "Operatori")
            // Group 1 holds two operations of one module and the parent operation Intrari.
            .grant(1, 1, 10, 1)
            .grant(1, 1, 11, 1)
            .grant(1, 1, 20, 1)
            .grantWorkPoint(1, 101)
            // Group 2 also names a company that is not listed.
            .grant(2, 7, 12, 1)
            .grant(2, 2, 12, 1);
        m_server->exec("suitedb", "UPDATE AdmGrup SET grobs = 'Note ADM' WHERE grID = 1");
        m_server->exec("suitedb", "UPDATE AdmGrup SET grobs = NULL WHERE grID = 2");
    }

    frmMain& form() { return *m_form; }
    QTreeWidgetItem* group(int grID) { return m_form->lstGroupsConfig->find("k" + QString::number(grID)); }
    QTreeWidgetItem* company(int auID) { return m_form->lstAuthors->find("k" + QString::number(auID)); }

    // The company click with a group and a company selected, the company's box set as given.
    void clickCompany(int grID, int auID, bool ticked) {
        select(m_form->lstGroupsConfig, grID ? group(grID) : nullptr);
        select(m_form->lstAuthors, company(auID));
        company(auID)->setCheckState(0, ticked ? Qt::Checked : Qt::Unchecked);
        m_form->lstAuthors_ItemClick(company(auID));
    }

    // The work points listed, each as "text" or "text [x]" when ticked, in list order.
    QStringList workPoints() {
        QStringList shown;
        for (int i = 0; i < m_form->lstPuncteLucru->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = m_form->lstPuncteLucru->topLevelItem(i);
            shown << item->text(0) + (item->checkState(0) == Qt::Checked ? " [x]" : "");
        }
        return shown;
    }

    bool ticked(QTreeWidgetItem* item) { return item->checkState(0) == Qt::Checked; }

    // Every node unchecked but the parent operation, which has no check image.
    void verifyTreeUnchecked() {
        QCOMPARE(keysWithImage(form(), 1), QStringList());
        QCOMPARE(keysWithImage(form(), 2), QStringList());
        QCOMPARE(keysWithImage(form(), 0), QStringList({"k20#$#2#$#1"}));
    }

private slots:
    void initTestCase() { m_login = std::make_unique<MainWindowFixture>(); }

    void init() {
        m_server = std::make_unique<TempServer>();
        writeSuite();
        m_form = std::make_unique<frmMain>(m_login->login());
        groups::FillGroupList(m_form->lstGroupsConfig, false);
        groups::FillGroupList(m_form->lstGroups, true);
        groups::FillAuthorList(m_form->lstAuthors);
        m_form->FillOperationTree();
    }
    void cleanup() {
        m_form.reset();
        m_server.reset();
    }

    void loadingAGroupShowsItsFieldsAndCompanies() {
        select(form().lstGroupsConfig, group(1));
        form().LoadGrp(1);
        QCOMPARE(form().txtGrpName->text(), QStringLiteral("ADM"));
        QCOMPARE(form().txtFullName->text(), QStringLiteral("Administratori"));
        QCOMPARE(form().txtNotes->text(), QStringLiteral("Note ADM"));
        QVERIFY(ticked(company(1)));
        QVERIFY(!ticked(company(2)));

        // Null notes show as empty text; the unlisted company 7 is passed over.
        select(form().lstGroupsConfig, group(2));
        form().LoadGrp(2);
        QCOMPARE(form().txtGrpName->text(), QStringLiteral("OPS"));
        QCOMPARE(form().txtFullName->text(), QStringLiteral("Operatori"));
        QCOMPARE(form().txtNotes->text(), QString());
        QVERIFY(!ticked(company(1)));
        QVERIFY(ticked(company(2)));
    }

    void loadingAMissingGroupEmptiesTheTextsAndUnticksAll() {
        form().LoadGrp(1);
        ModalAnswerer unexpected;
        form().LoadGrp(99);
        QCOMPARE(form().txtGrpName->text(), QString());
        QCOMPARE(form().txtNotes->text(), QString());
        QVERIFY(!ticked(company(1)));
        QVERIFY(!ticked(company(2)));
        QCOMPARE(unexpected.count(), 0);
    }

    void loadingAGroupLoadsTheSelectedCompany() {
        select(form().lstGroupsConfig, group(1));
        select(form().lstAuthors, company(1));
        form().LoadGrp(1);
        QCOMPARE(workPoints(), QStringList({"Atelier [x]", "Birou"}));
        QCOMPARE(keysWithImage(form(), 1), m_granted);

        // Without a selected company the load stops after the boxes.
        form().lstPuncteLucru->clearKeyed();
        form().ClearOperationChecks();
        select(form().lstAuthors, nullptr);
        form().LoadGrp(1);
        QCOMPARE(form().lstPuncteLucru->topLevelItemCount(), 0);
        QCOMPARE(keysWithImage(form(), 1), QStringList());
    }

    void aTickedCompanyShowsExactlyTheGrantedOperations() {
        // A tick left from before the click is cleared.
        select(form().lstAuthors, company(1));
        doubleClickNode(form(), "k12#$#1#$#1");
        QCOMPARE(image(form(), "k12#$#1#$#1"), 1);
        clickCompany(1, 1, true);
        QCOMPARE(workPoints(), QStringList({"Atelier [x]", "Birou"}));
        QCOMPARE(keysWithImage(form(), 1), m_granted);
        // The module sums up its operations, and the granted parent operation gets no tick.
        QCOMPARE(image(form(), "m1"), 2);
        QCOMPARE(image(form(), "k20#$#2#$#1"), 0);
        QCOMPARE(image(form(), "k12#$#1#$#1"), 3);
        const QTreeWidgetItem* point = form().lstPuncteLucru->find("k101");
        QCOMPARE(KeyedTreeWidget::tagOf(point).toInt(), 101);
        QVERIFY(point->flags() & Qt::ItemIsUserCheckable);
    }

    void anUntickedCompanyShowsItsWorkPointsAndNoChecks() {
        clickCompany(1, 1, true);
        clickCompany(1, 1, false);
        QCOMPARE(workPoints(), QStringList({"Atelier [x]", "Birou"}));
        verifyTreeUnchecked();

        clickCompany(1, 2, false);
        QCOMPARE(workPoints(), QStringList({"Sediu"}));
        verifyTreeUnchecked();
    }

    void withoutAGroupNothingIsTicked() {
        clickCompany(1, 1, true);
        clickCompany(0, 1, true);
        QCOMPARE(workPoints(), QStringList({"Atelier", "Birou"}));
        verifyTreeUnchecked();
    }

    void anErrorBeforeTheResetIsShownAndKeepsTheChecks() {
        clickCompany(1, 1, true);
        // Work point 100 listed twice: the list refuses the second key.
        m_server->exec("ordavia", "DROP TABLE PSR_PuncteLucru; "
                                  "CREATE TABLE PSR_PuncteLucru (IdPctLucru INTEGER, IdAuthor INTEGER, Name TEXT); "
                                  "INSERT INTO PSR_PuncteLucru VALUES (100, 1, 'Birou'), (100, 1, 'Birou bis');");
        ModalAnswerer answer;
        clickCompany(1, 1, true);
        QCOMPARE(answer.count(), 1);
        QCOMPARE(answer.title(), QStringLiteral("Quillmark"));
        QVERIFY2(answer.text().contains("35602"), qPrintable(answer.text()));
        QVERIFY2(answer.text().contains("Origin : lstAuthors_ItemClick"), qPrintable(answer.text()));
        QCOMPARE(workPoints(), QStringList({"Birou"}));
        QCOMPARE(keysWithImage(form(), 1), m_granted);
    }

    void anErrorAfterTheResetIsPassedOver() {
        clickCompany(1, 1, true);
        m_server->exec("suitedb", "DROP TABLE admGrupOperatii");
        ModalAnswerer unexpected;
        clickCompany(1, 1, true);
        QCOMPARE(unexpected.count(), 0);
        QCOMPARE(workPoints(), QStringList({"Atelier [x]", "Birou"}));
        verifyTreeUnchecked();
    }

    void doubleClicksInvertTheSelectedBox() {
        QTreeWidgetItem* alfa = company(1);
        select(form().lstAuthors, alfa);
        form().lstAuthors_DblClick();
        QVERIFY(ticked(alfa));
        // The double click loads nothing.
        QCOMPARE(form().lstPuncteLucru->topLevelItemCount(), 0);
        form().lstAuthors_DblClick();
        QVERIFY(!ticked(alfa));

        QTreeWidgetItem* ops = form().lstGroups->find("k2");
        select(form().lstGroups, ops);
        form().lstGroups_DblClick();
        QVERIFY(ticked(ops));
        form().lstGroups_DblClick();
        QVERIFY(!ticked(ops));

        // Without a selected item nothing changes.
        select(form().lstAuthors, nullptr);
        select(form().lstGroups, nullptr);
        form().lstAuthors_DblClick();
        form().lstGroups_DblClick();
        QVERIFY(!ticked(alfa));
        QVERIFY(!ticked(ops));
        QVERIFY(!ticked(company(2)));
    }

    void theListsSignalsReachTheHandlers() {
        select(form().lstGroupsConfig, group(1));
        QTreeWidgetItem* alfa = company(1);
        select(form().lstAuthors, alfa);
        alfa->setCheckState(0, Qt::Checked);
        emit form().lstAuthors->itemClicked(alfa, 0);
        QCOMPARE(keysWithImage(form(), 1), m_granted);

        emit form().lstAuthors->itemDoubleClicked(alfa, 0);
        QVERIFY(!ticked(alfa));

        QTreeWidgetItem* adm = form().lstGroups->find("k1");
        select(form().lstGroups, adm);
        emit form().lstGroups->itemDoubleClicked(adm, 0);
        QVERIFY(ticked(adm));

        form().twOperations->selectItem(form().twOperations->find("k10#$#1#$#1"));
        emit form().twOperations->itemDoubleClicked(form().twOperations->find("k10#$#1#$#1"), 0);
        QCOMPARE(image(form(), "k10#$#1#$#1"), 3);
        QVERIFY(ticked(alfa));
    }
};

QTEST_MAIN(TestGroupEditor)
#include "TestGroupEditor.moc"
