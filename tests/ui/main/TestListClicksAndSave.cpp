#include "support/FixtureRows.h"
#include "support/ModalAnswerer.h"
#include "support/TempServer.h"
#include "support/WindowFixture.h"
#include "ui/common/FindBox.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/main/frmMain.h"

#include <QLineEdit>
#include <QtTest>
#include <memory>

// The selected group and company are what Save writes to: every way a click, a press or a key
// changes them loads what they select, and a click that selects nothing new keeps what was not
// saved.
class TestListClicksAndSave : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> m_login;
    std::unique_ptr<TempServer> m_server;

    QStringList rows(const QString& sql) const { return m_server->lines("suitedb", sql); }

    // Presses the left button on item and lets it go over the list's empty space below the items.
    static void pressAndReleaseBeside(KeyedTreeWidget* list, QTreeWidgetItem* item) {
        QWidget* viewport = list->viewport();
        QTest::mousePress(viewport, Qt::LeftButton, {}, list->visualItemRect(item).center());
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(10, viewport->height() - 5));
    }

private slots:
    void initTestCase() { m_login = std::make_unique<MainWindowFixture>(); }
    void init() {
        m_server = std::make_unique<TempServer>();
        FixtureRows(*m_server)
            .author(5, "Brad")
            .author(2, "Stejar")
            .module(40, "Contabilitate")
            .operation(61, 40, 7, "Balanta")
            .operation(62, 40, 9, "Jurnal")
            .group(3, "ADMIN", "Administratori")
            .group(8, "DEPOZIT", "Depozit")
            .grant(3, 5, 61, 7);
    }
    void cleanup() { m_server.reset(); }

    // A press on an item selects it; let go away from the item, it is no click. Space in the group
    // list selects its current item, which, once the find box hid the selected group, is another
    // one. The item selected is loaded (there being nothing unsaved to ask about), so the
    // operation checked next is granted to that group or company, and the one shown before keeps
    // its grants.
    void theSelectedItemIsTheOneSaved_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<bool>("bySpace");
        QTest::addColumn<QStringList>("grants");
        QTest::newRow("group pressed") << "lstGroupsConfig"
                                       << "k8" << false << QStringList{"3/5/61/7", "8/5/62/9"};
        QTest::newRow("company pressed") << "lstAuthors"
                                         << "k2" << false << QStringList{"3/2/62/9", "3/5/61/7"};
        QTest::newRow("space, group hidden") << "lstGroupsConfig"
                                             << "k8" << true << QStringList{"3/5/61/7", "8/5/62/9"};
    }
    void theSelectedItemIsTheOneSaved() {
        QFETCH(QString, list);
        QFETCH(QString, selected);
        QFETCH(bool, bySpace);
        QFETCH(QStringList, grants);
        WindowFixture form(*m_login);
        clickItem(form->lstAuthors, form->lstAuthors->find("k5"));
        QCOMPARE(selectedKey(form->lstGroupsConfig), QStringLiteral("k3"));
        QCOMPARE(image(*form, "k61#$#40#$#7"), 1);

        auto* keyed = form.control<KeyedTreeWidget>(list.toLatin1().constData());
        if (bySpace) {
            QTest::keyClicks(form->txtFindGroups, "DEP");
            QTRY_COMPARE(keyed->topLevelItemCount(), 1);
            keyed->setFocus();
            QTest::keyClick(keyed, Qt::Key_Space);
        } else {
            pressAndReleaseBeside(keyed, keyed->find(selected));
        }
        QCOMPARE(selectedKey(keyed), selected);
        QCOMPARE(image(*form, "k61#$#40#$#7"), 3);

        doubleClickNode(*form, "k62#$#40#$#9");
        ModalAnswerer unexpected;
        QVERIFY(form->Save());
        QCOMPARE(unexpected.count(), 0);
        QCOMPARE(rows("SELECT grID, auID, opID, ID FROM admGrupOperatii ORDER BY grID, auID"), grants);
        QCOMPARE(rows("SELECT grID, grCod FROM AdmGrup ORDER BY grID"), QStringList({"3/ADMIN", "8/DEPOZIT"}));
    }

    // With an unsaved change, the press is asked about like a click: Cancel gives the selection
    // back to the group shown, and Save writes the change to it.
    void aPressIsAskedAboutLikeAClick() {
        WindowFixture form(*m_login);
        QCOMPARE(selectedKey(form->lstGroupsConfig), QStringLiteral("k3"));
        form->txtNotes->setText(QStringLiteral("note noi"));
        {
            ModalAnswerer cancel(QMessageBox::Cancel);
            pressAndReleaseBeside(form->lstGroupsConfig, form->lstGroupsConfig->find("k8"));
            QCOMPARE(cancel.count(), 1);
        }
        QCOMPARE(selectedKey(form->lstGroupsConfig), QStringLiteral("k3"));
        QVERIFY(form->Save());
        QCOMPARE(rows("SELECT grID, grCod, grobs FROM AdmGrup ORDER BY grID"),
                 QStringList({"3/ADMIN/note noi", "8/DEPOZIT/"}));
    }

    // A click on the name of the company shown loads nothing over its unsaved checks, which Save
    // then writes.
    void aClickOnTheShownCompanyKeepsItsChecks() {
        WindowFixture form(*m_login);
        clickItem(form->lstAuthors, form->lstAuthors->find("k5"));
        doubleClickNode(*form, "k62#$#40#$#9");
        ModalAnswerer unexpected;
        clickItem(form->lstAuthors, form->lstAuthors->find("k5"));
        QCOMPARE(unexpected.count(), 0);
        QCOMPARE(image(*form, "k62#$#40#$#9"), 1);
        QVERIFY(form->Save());
        QCOMPARE(rows("SELECT grID, auID, opID, ID FROM admGrupOperatii ORDER BY opID"),
                 QStringList({"3/5/61/7", "3/5/62/9"}));
    }
};

QTEST_MAIN(TestListClicksAndSave)
#include "TestListClicksAndSave.moc"
