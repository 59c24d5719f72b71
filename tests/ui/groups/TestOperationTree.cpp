#include "support/FixtureRows.h"
#include "support/MainWindowFixture.h"
#include "support/ModalAnswerer.h"
#include "support/TempServer.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/groups/GroupEditor.h"
#include "ui/groups/GroupsTestSupport.h"
#include "ui/groups/OperationTree.h"
#include "ui/main/frmMain.h"

#include <QtTest>
#include <memory>

using namespace groupstest;

// The operations tree of frmMain: its nodes, the parent pass, the double-click rules and the
// reset of the check images.
class TestOperationTree : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> m_login;
    std::unique_ptr<TempServer> m_server;

    // Modules are written out of name order: the tree follows the order of the names.
    void writeSuite() {
        FixtureRows(*m_server)
            .author(1, "Alfa")
            .module(4, "Gol")
            .module(3, "Facturare")
            .module(2, "Depozit")
            .module(1, "Contabilitate")
            .operation(11, 1, 1, "Jurnal")
            .operation(10, 1, 1, "Balanta")
            // Depozit: a chain Intrari > Receptie > Nir, a parent that does not exist, a cycle,
            // an operation that names itself, and two parents sharing one opID.
            .operation(20, 2, 1, "Intrari")
            .operation(21, 2, 1, "Receptie", 20)
            .operation(22, 2, 1, "Nir", 21)
            .operation(23, 2, 1, "Orfan", 99)
            .operation(30, 2, 1, "Ciclu A", 31)
            .operation(31, 2, 1, "Ciclu B", 30)
            .operation(32, 2, 1, "Sine", 32)
            .operation(40, 2, 1, "Parinte Z")
            .operation(40, 2, 2, "Parinte A")
            .operation(41, 2, 1, "Copil unu", 40)
            .operation(42, 2, 3, "Copil trei", 40)
            // Facturare: its parent opID exists only in another module.
            .operation(50, 3, 1, "Alt modul", 20);
    }

    std::unique_ptr<frmMain> filledForm(bool withAuthor = true) {
        auto form = std::make_unique<frmMain>(m_login->login());
        form->FillOperationTree();
        if (withAuthor)
            select(form->lstAuthors, author(*form));
        return form;
    }

    // The company "k1", as the window's refresh lists it or, before any refresh, added here.
    static QTreeWidgetItem* author(frmMain& form) {
        QTreeWidgetItem* item = form.lstAuthors->find("k1");
        return item ? item : addItem(form.lstAuthors, 1, "Alfa");
    }

    static bool authorTicked(const frmMain& form) { return form.lstAuthors->find("k1")->checkState(0) == Qt::Checked; }

private slots:
    void initTestCase() { m_login = std::make_unique<MainWindowFixture>(); }

    void init() {
        m_server = std::make_unique<TempServer>();
        writeSuite();
    }
    void cleanup() { m_server.reset(); }

    void modulesAndOperationsAreKeyedNodes() {
        auto form = filledForm();
        KeyedTreeWidget* tree = form->twOperations;
        QCOMPARE(tree->topLevelItemCount(), 4);
        const QStringList moduleKeys = {"m1", "m2", "m3", "m4"};
        const QStringList moduleNames = {"Contabilitate", "Depozit", "Facturare", "Gol"};
        for (int i = 0; i < 4; ++i) {
            QTreeWidgetItem* module = tree->topLevelItem(i);
            QCOMPARE(KeyedTreeWidget::keyOf(module), moduleKeys[i]);
            QCOMPARE(module->text(0), moduleNames[i]);
            QCOMPARE(KeyedTreeWidget::tagOf(module).toInt(), 0);
            QVERIFY(module->font(0).bold());
            QVERIFY(module->isExpanded());
            QCOMPARE(image(*form, moduleKeys[i]), 3);
            QVERIFY(!module->icon(0).isNull());
        }
        QTreeWidgetItem* accounts = tree->find("m1");
        QCOMPARE(accounts->childCount(), 2);
        QCOMPARE(KeyedTreeWidget::keyOf(accounts->child(0)), QStringLiteral("k10#$#1#$#1"));
        QCOMPARE(accounts->child(0)->text(0), QStringLiteral("Balanta"));
        QCOMPARE(KeyedTreeWidget::keyOf(accounts->child(1)), QStringLiteral("k11#$#1#$#1"));
        QVERIFY(!accounts->child(0)->font(0).bold());
        QCOMPARE(KeyedTreeWidget::tagOf(accounts->child(0)).toInt(), 0);
        QCOMPARE(KeyedTreeWidget::tagOf(tree->find("k21#$#2#$#1")).toInt(), 20);
        QCOMPARE(tree->find("m4")->childCount(), 0);
        QCOMPARE(tree->keyedCount(), 4 + 14);

        // A second fill of the same rows keeps the nodes, with every check, collapse and selection
        // undone; one of other rows replaces them.
        const QMap<QString, int> filled = images(*form);
        doubleClickNode(*form, "m2");
        doubleClickNode(*form, "k10#$#1#$#1");
        accounts->setExpanded(false);
        form->FillOperationTree();
        QCOMPARE(tree->keyedCount(), 4 + 14);
        QCOMPARE(tree->find("m1"), accounts);
        QCOMPARE(images(*form), filled);
        QVERIFY(accounts->isExpanded());
        QVERIFY(!tree->selectedItem());
        m_server->exec("suitedb", "UPDATE admOperatiiModul SET opDenumire = 'Zbalanta' WHERE opID = 10");
        form->FillOperationTree();
        QCOMPARE(tree->keyedCount(), 4 + 14);
        QCOMPARE(tree->topLevelItemCount(), 4);
        QCOMPARE(tree->find("m1")->child(1)->text(0), QStringLiteral("Zbalanta"));
    }

    void parentOperationsHoldTheirChildren_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<int>("image");
        QTest::addColumn<bool>("bold");
        QTest::newRow("top of a chain") << "k20#$#2#$#1"
                                        << "m2" << 0 << true;
        QTest::newRow("middle of a chain") << "k21#$#2#$#1"
                                           << "k20#$#2#$#1" << 0 << true;
        QTest::newRow("end of a chain") << "k22#$#2#$#1"
                                        << "k21#$#2#$#1" << 3 << false;
        QTest::newRow("parent not found") << "k23#$#2#$#1"
                                          << "m2" << 3 << false;
        QTest::newRow("cycle, first read") << "k30#$#2#$#1"
                                           << "k31#$#2#$#1" << 3 << false;
        QTest::newRow("cycle, second read") << "k31#$#2#$#1"
                                            << "m2" << 0 << true;
        QTest::newRow("its own parent") << "k32#$#2#$#1"
                                        << "m2" << 3 << false;
        QTest::newRow("shared opID, same Id") << "k41#$#2#$#1"
                                              << "k40#$#2#$#1" << 3 << false;
        QTest::newRow("shared opID, first read") << "k42#$#2#$#3"
                                                 << "k40#$#2#$#2" << 3 << false;
        QTest::newRow("parent only in another module") << "k50#$#3#$#1"
                                                       << "m3" << 3 << false;
    }
    void parentOperationsHoldTheirChildren() {
        QFETCH(QString, key);
        QFETCH(QString, parent);
        QFETCH(int, image);
        QFETCH(bool, bold);
        auto form = filledForm();
        QCOMPARE(parentKey(*form, key), parent);
        QCOMPARE(::image(*form, key), image);
        QCOMPARE(form->twOperations->find(key)->font(0).bold(), bold);
        QCOMPARE(form->twOperations->find(key)->icon(0).isNull(), image == 0);
    }

    void doubleClickingOperationsRecountsTheModule() {
        auto form = filledForm();
        doubleClickNode(*form, "k10#$#1#$#1");
        QCOMPARE(image(*form, "k10#$#1#$#1"), 1);
        QCOMPARE(image(*form, "m1"), 2);
        QVERIFY(authorTicked(*form));
        doubleClickNode(*form, "k11#$#1#$#1");
        QCOMPARE(image(*form, "m1"), 1);
        doubleClickNode(*form, "k10#$#1#$#1");
        QCOMPARE(image(*form, "k10#$#1#$#1"), 3);
        QCOMPARE(image(*form, "m1"), 2);
        QVERIFY(authorTicked(*form));
        doubleClickNode(*form, "k11#$#1#$#1");
        QCOMPARE(image(*form, "m1"), 3);
        QVERIFY(!authorTicked(*form));

        // The only operation of a module checks the module.
        doubleClickNode(*form, "k50#$#3#$#1");
        QCOMPARE(image(*form, "m3"), 1);
        QCOMPARE(keysWithImage(*form, 1), QStringList({"k50#$#3#$#1", "m3"}));
    }

    void doubleClickingAModuleSetsAllItsOperations() {
        auto form = filledForm();
        QTreeWidgetItem* accounts = form->twOperations->find("m1");
        accounts->setExpanded(false);
        doubleClickNode(*form, "m1");
        QCOMPARE(image(*form, "m1"), 1);
        QCOMPARE(image(*form, "k10#$#1#$#1"), 1);
        QCOMPARE(image(*form, "k11#$#1#$#1"), 1);
        QVERIFY(accounts->isExpanded());
        QVERIFY(authorTicked(*form));

        // A partly checked module unticks everything, then ticks everything.
        doubleClickNode(*form, "k10#$#1#$#1");
        QCOMPARE(image(*form, "m1"), 2);
        doubleClickNode(*form, "m1");
        QCOMPARE(image(*form, "m1"), 3);
        QCOMPARE(image(*form, "k10#$#1#$#1"), 3);
        QCOMPARE(image(*form, "k11#$#1#$#1"), 3);
        QVERIFY(!authorTicked(*form));
        doubleClickNode(*form, "m1");
        QCOMPARE(keysWithImage(*form, 1), QStringList({"k10#$#1#$#1", "k11#$#1#$#1", "m1"}));
    }

    void operationsBelowParentsCountForTheirModule() {
        auto form = filledForm();
        const QStringList parents = {"k20#$#2#$#1", "k21#$#2#$#1", "k31#$#2#$#1", "k40#$#2#$#1", "k40#$#2#$#2"};
        const QStringList checkable = {"k22#$#2#$#1", "k23#$#2#$#1", "k30#$#2#$#1",
                                       "k32#$#2#$#1", "k41#$#2#$#1", "k42#$#2#$#3"};
        doubleClickNode(*form, "m2");
        for (const QString& key : checkable)
            QVERIFY2(image(*form, key) == 1, qPrintable(key));
        for (const QString& key : parents)
            QVERIFY2(image(*form, key) == 0, qPrintable(key));

        // The deepest operation reads its module from its own key.
        doubleClickNode(*form, "k22#$#2#$#1");
        QCOMPARE(image(*form, "k22#$#2#$#1"), 3);
        QCOMPARE(image(*form, "m2"), 2);
        for (const QString& key : checkable)
            if (key != "k22#$#2#$#1")
                doubleClickNode(*form, key);
        QCOMPARE(image(*form, "m2"), 3);
        QVERIFY(!authorTicked(*form));

        // A parent operation has no check image to flip; nothing changes.
        const QMap<QString, int> before = images(*form);
        doubleClickNode(*form, "k21#$#2#$#1");
        QCOMPARE(images(*form), before);
    }

    void aModuleWithoutOperationsToggles() {
        auto form = filledForm();
        doubleClickNode(*form, "m4");
        QCOMPARE(image(*form, "m4"), 1);
        QVERIFY(authorTicked(*form));
        doubleClickNode(*form, "m4");
        QCOMPARE(image(*form, "m4"), 3);
        QVERIFY(!authorTicked(*form));
    }

    void noSelectedNodeOnlySetsTheAuthorsBox() {
        auto form = filledForm();
        doubleClickNode(*form, "k10#$#1#$#1");
        form->lstAuthors->find("k1")->setCheckState(0, Qt::Unchecked);
        form->twOperations->clearSelection();
        const QMap<QString, int> before = images(*form);
        form->twOperations_DblClick();
        QCOMPARE(images(*form), before);
        QVERIFY(authorTicked(*form));
    }

    void withoutAnAuthorTheDoubleClickAsksForOne() {
        auto form = filledForm(false);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->FillOperationTree();
        author(*form);
        select(form->lstAuthors, nullptr);
        form->twOperations->setFocus();
        const QMap<QString, int> before = images(*form);
        ModalAnswerer answer;
        doubleClickNode(*form, "k10#$#1#$#1");
        QCOMPARE(answer.count(), 1);
        QCOMPARE(answer.title(), QStringLiteral("Talvane"));
        QCOMPARE(answer.text(), QStringLiteral("Selectati authorul!"));
        QCOMPARE(answer.icon(), QMessageBox::Warning);
        QCOMPARE(images(*form), before);
        QCOMPARE(form->focusWidget(), form->lstAuthors);
    }

    // The handler works on the selected node, so a double click beside the nodes toggles it too.
    void aDoubleClickOnEmptySpaceWorksOnTheSelectedNode() {
        auto form = filledForm();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->FillOperationTree();
        select(form->lstAuthors, author(*form));
        form->twOperations->selectItem(form->twOperations->find("k10#$#1#$#1"));
        form->twOperations->collapseAll();
        QWidget* viewport = form->twOperations->viewport();
        const QPoint empty(viewport->width() / 2, viewport->height() - 3);
        QVERIFY(!form->twOperations->itemAt(empty));
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, empty);
        QCOMPARE(image(*form, "k10#$#1#$#1"), 1);
        QVERIFY(authorTicked(*form));
    }

    void aMouseDoubleClickTogglesWithoutCollapsing() {
        auto form = filledForm();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->FillOperationTree();
        select(form->lstAuthors, author(*form));
        QTreeWidgetItem* module = form->twOperations->find("m1");
        form->twOperations->scrollToItem(module);
        const QPoint at = form->twOperations->visualItemRect(module).center();
        ModalAnswerer unexpected;
        QTest::mouseClick(form->twOperations->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(form->twOperations->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(unexpected.count(), 0);
        QCOMPARE(image(*form, "m1"), 1);
        QVERIFY(module->isExpanded());
        QVERIFY(authorTicked(*form));
    }

    void clearingChecksKeepsNodesWithoutImage() {
        auto form = filledForm();
        doubleClickNode(*form, "m2");
        doubleClickNode(*form, "k10#$#1#$#1");
        doubleClickNode(*form, "m4");
        form->ClearOperationChecks();
        const QMap<QString, int> all = images(*form);
        for (auto it = all.cbegin(); it != all.cend(); ++it) {
            const bool parent = it.key() == "k20#$#2#$#1" || it.key() == "k21#$#2#$#1" || it.key() == "k31#$#2#$#1" ||
                                it.key().startsWith("k40#$#");
            QVERIFY2(it.value() == (parent ? 0 : 3), qPrintable(it.key()));
        }
    }

    // One bad row is left out and named, and the fill goes on with the rows after it.
    void aBadRowIsLeftOutAndTheFillGoesOn_data() {
        QTest::addColumn<int>("opID");
        QTest::addColumn<int>("mdID");
        QTest::addColumn<int>("Id");
        QTest::addColumn<int>("reason");
        QTest::newRow("module missing") << 2 << 9 << 3 << int(groups::LeftOutOperation::Reason::NoModule);
        QTest::newRow("key met twice") << 1 << 1 << 1 << int(groups::LeftOutOperation::Reason::KeyTwice);
    }
    void aBadRowIsLeftOutAndTheFillGoesOn() {
        QFETCH(int, opID);
        QFETCH(int, mdID);
        QFETCH(int, Id);
        QFETCH(int, reason);
        m_server = std::make_unique<TempServer>();
        m_server->exec("suitedb", "DROP INDEX IX_admOperatiiModul_key");
        FixtureRows(*m_server)
            .module(1, "Contabilitate")
            .module(2, "Depozit")
            .operation(1, 1, 1, "Alfa")
            .operation(opID, mdID, Id, "Beta")
            .operation(3, 1, 4, "Gama");
        frmMain form(m_login->login());
        const QList<groups::LeftOutOperation> leftOut = form.FillOperationTree();
        QCOMPARE(leftOut.size(), 1);
        QCOMPARE(leftOut[0].opID, opID);
        QCOMPARE(leftOut[0].mdID, mdID);
        QCOMPARE(leftOut[0].Id, Id);
        QCOMPARE(leftOut[0].name, QStringLiteral("Beta"));
        QCOMPARE(int(leftOut[0].reason), reason);
        QCOMPARE(form.twOperations->keyedCount(), 4);
        QCOMPARE(form.twOperations->find("k1#$#1#$#1")->text(0), QStringLiteral("Alfa"));
        QCOMPARE(parentKey(form, "k3#$#1#$#4"), QStringLiteral("m1"));
        QVERIFY(form.twOperations->find("m1")->isExpanded());
        QVERIFY(form.twOperations->updatesEnabled());
        // A save keeps the grants of what the tree left out, so the group can still be saved.
        QVERIFY(form.groupEditor().loadedCompletely());

        // Once the row is mended, the next fill has nothing to leave out.
        m_server->exec("suitedb", "DELETE FROM admOperatiiModul WHERE opDenumire = 'Beta'");
        QCOMPARE(form.FillOperationTree().size(), 0);
        QCOMPARE(form.twOperations->keyedCount(), 4);
    }
};

QTEST_MAIN(TestOperationTree)
#include "TestOperationTree.moc"
