#include "support/FixtureRows.h"
#include "support/TempServer.h"
#include "support/WindowFixture.h"
#include "ui/common/FindBox.h"
#include "ui/common/ImageList.h"
#include "ui/common/ItemRoles.h"
#include "ui/common/KeyedComboBox.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/main/RightsCommands.h"
#include "ui/main/frmMain.h"
#include "ui/rights/EffectiveRightsDialog.h"
#include "ui/rights/RightsReport.h"
#include "ui/rights/WhoCanDialog.h"

#include <QAction>
#include <QMenu>
#include <QTreeWidgetItemIterator>
#include <QtTest>
#include <memory>

// The effective rights of a user and "who can do this", opened from the window's context menus
// on a suite where user 31 "ana" is in groups 21 and 22, whose grants overlap (and is listed twice
// in group 21); each view against the test's own join.
class TestRightsViews : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> m_suite;
    std::unique_ptr<TempServer> m_server;
    WindowFixture m_window;

    // Triggers the action name of the context menu of item in list.
    void runMenu(QTreeWidget* list, QTreeWidgetItem* item, const char* name) {
        const std::unique_ptr<QMenu> menu(mainwindow::RightsMenu(*m_window, list, item));
        QVERIFY(menu);
        auto* action = menu->findChild<QAction*>(QString::fromLatin1(name));
        QVERIFY2(action && action->isEnabled(), name);
        action->trigger();
    }
    // The groups that give each operation of company auID to user usID, as "module|operation|groups".
    QStringList expectedOperations(int usID, int auID) const {
        QStringList lines;
        for (const QVariantList& row : m_server->rows(
                 "suitedb",
                 "SELECT m.mdDenumire, o.opDenumire, replace(group_concat(DISTINCT g.grCod), ',', ', ') FROM "
                 "(SELECT * FROM admUserGrup ORDER BY grID) ug JOIN AdmGrup g ON g.grID = ug.grID "
                 "JOIN admGrupOperatii x ON x.grID = ug.grID JOIN admOperatiiModul o "
                 "ON o.opID = x.opID AND o.Id = x.ID JOIN admModul m ON m.mdID = o.mdID "
                 "WHERE ug.usID = ? AND x.auID = ? GROUP BY o.opID, o.Id",
                 {usID, auID}))
            lines << row[0].toString() + '|' + row[1].toString() + '|' + row[2].toString();
        lines.sort();
        return lines;
    }
    static QStringList shownOperations(const QTreeWidget* tree) {
        QStringList lines;
        for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(tree)); *it; ++it)
            if (KeyedTreeWidget::keyOf(*it).startsWith('k') && !(*it)->isHidden())
                lines << (*it)->parent()->text(0) + '|' + (*it)->text(0) + '|' + (*it)->text(1);
        lines.sort();
        return lines;
    }

private slots:
    void initTestCase() { m_suite = std::make_unique<MainWindowFixture>(); }
    void init() {
        m_server = std::make_unique<TempServer>();
        FixtureRows(*m_server)
            .author(101, "Brădet")
            .author(102, "Alfa")
            .author(103, "Carpatica")
            .module(11, "Vânzări")
            .module(12, "Contabilitate")
            .operation(1, 11, 501, "Facturi")
            .operation(2, 11, 502, "Avize")
            .operation(1, 12, 503, "Balanță")
            .operation(2, 12, 504, "Jurnal")
            .group(21, "ADMIN")
            .group(22, "CONTAB")
            .user(31, "ana", "Ana Avram")
            .user(32, "dan", "Dan Barbu")
            .member(31, 21)
            .member(31, 21)
            .member(31, 22)
            .member(32, 22)
            .grant(21, 101, 1, 501)
            .grant(21, 101, 1, 503)
            .grant(21, 102, 2, 502)
            .grant(22, 101, 1, 503)
            .grant(22, 101, 2, 504)
            .workPoint(41, 101, "Depozit")
            .workPoint(42, 101, "Magazin")
            .workPoint(44, 103, "Punct Carpatica")
            .grantWorkPoint(21, 41)
            .grantWorkPoint(22, 41)
            .grantWorkPoint(22, 44);
        QVERIFY(m_window.open(*m_suite));
        QTRY_COMPARE(m_window->lstUsers->topLevelItemCount(), 2);
    }
    void cleanup() {
        m_window.reset();
        m_server.reset();
    }

    void effectiveRights() {
        const QStringList before = m_server->snapshot();
        clickItem(m_window->lstAuthors, m_window->lstAuthors->find("k101"));
        runMenu(m_window->lstUsers, m_window->lstUsers->find("k31"), "mnuEffectiveRights");
        auto* dialog = m_window->findChild<rights::EffectiveRightsDialog*>("frmEffectiveRights");
        QVERIFY(dialog);
        QTRY_VERIFY(dialog->isVisible());

        // The companies of the operations and of the work points, in name order; the one selected
        // in the window is shown first.
        KeyedComboBox* companies = dialog->cboEffectiveCompany;
        QCOMPARE(companies->count(), 3);
        QCOMPARE(companies->itemText(0), QStringLiteral("Alfa"));
        QCOMPARE(companies->itemText(2), QStringLiteral("Carpatica"));
        QCOMPARE(companies->selectedKey(), QStringLiteral("k101"));

        for (const int company : {101, 102}) {
            dialog->showCompany(company);
            QCOMPARE(shownOperations(dialog->twEffective), expectedOperations(31, company));
        }
        dialog->showCompany(101);
        KeyedTreeWidget* tree = dialog->twEffective;
        // Every operation shows the checked image; a module whose operations are not all granted
        // shows the grey one.
        QCOMPARE(tree->find("k1#$#11#$#501")->data(0, common::ImageRole).toInt(), ImageList::Checked);
        QCOMPARE(tree->find("m11")->data(0, common::ImageRole).toInt(), ImageList::PartlyChecked);
        QCOMPARE(tree->find("m12")->data(0, common::ImageRole).toInt(), ImageList::Checked);
        QCOMPARE(tree->find("p41")->text(1), QStringLiteral("ADMIN, CONTAB"));
        QVERIFY(!tree->find("p42"));

        // The find box keeps the matching operations and the modules they are in.
        for (const QChar c : QStringLiteral("balanta"))
            QTest::sendKeyEvent(QTest::Click, dialog->txtFindEffective, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QCOMPARE(shownOperations(tree), QStringList{"Contabilitate|Balanță|ADMIN, CONTAB"});
        QVERIFY(!tree->find("m12")->isHidden());
        QVERIFY(tree->find("m11")->isHidden());
        QVERIFY(tree->find("w")->isHidden());
        QTest::keyClick(dialog->txtFindEffective, Qt::Key_Escape);
        QCOMPARE(shownOperations(tree), expectedOperations(31, 101));

        // A user without groups has nothing to show.
        runMenu(m_window->lstUsers, m_window->lstUsers->find("k32"), "mnuEffectiveRights");
        QCOMPARE(m_server->snapshot(), before);
    }

    // Who may run an operation of the selected company, and use a work point, with their groups.
    void whoCanDoThis() {
        const QStringList before = m_server->snapshot();
        clickItem(m_window->lstAuthors, m_window->lstAuthors->find("k101"));
        runMenu(m_window->twOperations, m_window->twOperations->find("k1#$#12#$#503"), "mnuWhoCanRun");
        auto* dialog = m_window->findChild<rights::WhoCanDialog*>("frmWhoCan");
        QVERIFY(dialog);
        QStringList shown;
        for (int i = 0; i < dialog->lstWhoCan->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* user = dialog->lstWhoCan->topLevelItem(i);
            shown << KeyedTreeWidget::keyOf(user) + '|' + user->text(0) + '|' + user->text(2);
        }
        QStringList expected;
        for (const QVariantList& row : m_server->rows(
                 "suitedb", "SELECT u.usID, u.usCod, replace(group_concat(DISTINCT g.grCod), ',', ', ') FROM "
                            "(SELECT * FROM admGrupOperatii ORDER BY grID) x JOIN AdmGrup g ON g.grID = x.grID "
                            "JOIN admUserGrup ug ON ug.grID = x.grID JOIN admUser u ON u.usID = ug.usID "
                            "WHERE x.auID = 101 AND x.opID = 1 AND x.ID = 503 GROUP BY u.usID ORDER BY u.usCod"))
            expected << 'k' + row[0].toString() + '|' + row[1].toString() + '|' + row[2].toString();
        QCOMPARE(shown, expected);
        dialog->close();

        QTRY_COMPARE(m_window->lstPuncteLucru->topLevelItemCount(), 2);
        runMenu(m_window->lstPuncteLucru, m_window->lstPuncteLucru->find("k41"), "mnuWhoCanUse");
        dialog = m_window->findChild<rights::WhoCanDialog*>("frmWhoCan");
        QTRY_VERIFY(dialog && dialog->lstWhoCan->topLevelItemCount() == 2);
        QCOMPARE(dialog->lstWhoCan->find("k31")->text(2), QStringLiteral("ADMIN, CONTAB"));
        QCOMPARE(dialog->lstWhoCan->find("k32")->text(2), QStringLiteral("CONTAB"));
        // A module is not an operation to ask about.
        QVERIFY(!mainwindow::RightsMenu(*m_window, m_window->twOperations, m_window->twOperations->find("m11")));
        QCOMPARE(m_server->snapshot(), before);
    }

    // Each group that grants a right is named once beside it, by its code or, without one, by its
    // id: two groups with one code are both named, a group without a code is not left out.
    void everyGrantingGroupIsNamed() {
        FixtureRows(*m_server)
            .group(23, "ADMIN")
            .group(24, "FARA")
            .group(25, "GOL")
            .member(31, 23)
            .member(31, 24)
            .member(31, 25)
            .grant(23, 101, 1, 503)
            .grant(24, 101, 1, 503)
            .grant(25, 101, 1, 503)
            .grantWorkPoint(24, 41);
        m_server->exec("suitedb", "UPDATE AdmGrup SET grCod = NULL WHERE grID = 24");
        m_server->exec("suitedb", "UPDATE AdmGrup SET grCod = '' WHERE grID = 25");
        const QString groups = QStringLiteral("(group 24), (group 25), ADMIN, ADMIN, CONTAB");

        clickItem(m_window->lstAuthors, m_window->lstAuthors->find("k101"));
        runMenu(m_window->lstUsers, m_window->lstUsers->find("k31"), "mnuEffectiveRights");
        auto* effective = m_window->findChild<rights::EffectiveRightsDialog*>("frmEffectiveRights");
        QVERIFY(effective);
        QCOMPARE(effective->twEffective->find("k1#$#12#$#503")->text(1), groups);
        QCOMPARE(effective->twEffective->find("p41")->text(1), QStringLiteral("(group 24), ADMIN, CONTAB"));

        runMenu(m_window->twOperations, m_window->twOperations->find("k1#$#12#$#503"), "mnuWhoCanRun");
        auto* whoCan = m_window->findChild<rights::WhoCanDialog*>("frmWhoCan");
        QVERIFY(whoCan);
        QCOMPARE(whoCan->lstWhoCan->find("k31")->text(2), groups);
        QCOMPARE(whoCan->lstWhoCan->find("k32")->text(2), QStringLiteral("CONTAB"));

        // The report for the auditor names them alike, a row for each.
        QStringList via;
        rights::RightsReport(store::ReportScope::User, 31, "ana", {}).read([&](const rights::ReportRow& row) {
            if (row[2] == m_window->lstAuthors->find("k101")->text(0) &&
                row[4] == m_window->twOperations->find("k1#$#12#$#503")->text(0))
                via << row[5];
            return true;
        });
        QCOMPARE(via.join(", "), groups);
    }
};

QTEST_MAIN(TestRightsViews)
#include "TestRightsViews.moc"
