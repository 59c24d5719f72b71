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
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QtTest>
#include <functional>
#include <memory>

using Step = std::function<void(frmMain&)>;
using Check = std::function<void(frmMain&, TempServer&)>;
Q_DECLARE_METATYPE(Step)
Q_DECLARE_METATYPE(Check)

// Through the real window and real mouse clicks: the company shown is the one selected, a user's
// load empties the passwords, the operations tree answers Space and a click on a check image,
// and no command throws away unsaved changes without asking.
class TestUnsavedChanges : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> m_login;
    std::unique_ptr<TempServer> m_server;

    static void click(QTreeWidget* list, const QString& key, QStyle::SubElement part = QStyle::SE_ItemViewItemText) {
        clickItem(list, static_cast<KeyedTreeWidget*>(list)->find(key), part);
    }
    static Step clickOn(KeyedTreeWidget* frmMain::*list, const char* key) {
        return [list, key](frmMain& f) { click(f.*list, key); };
    }
    static Step press(const char* key) {
        return [key](frmMain& f) { WindowFixture::control<QAction>(f, key)->trigger(); };
    }
    static QList<int> ints(TempServer& server, const QString& sql) {
        QList<int> values;
        for (const QVariantList& row : server.rows("suitedb", sql))
            values << row.value(0).toInt();
        return values;
    }

private slots:
    void initTestCase() { m_login = std::make_unique<MainWindowFixture>(); }

    void init() {
        m_server = std::make_unique<TempServer>();
        FixtureRows(*m_server).twoOfEach();
    }
    void cleanup() { m_server.reset(); }

    // A click on the box of a company that is not selected selects it, shows its work points
    // and operations, and a Save stores the ticks under that company, not the first one.
    void aCompanyBoxClickShowsAndSavesThatCompany() {
        WindowFixture form(*m_login);
        QCOMPARE(selectedKey(form->lstAuthors), QStringLiteral("k1"));
        click(form->lstAuthors, "k2", QStyle::SE_ItemViewItemCheckIndicator);
        QCOMPARE(selectedKey(form->lstAuthors), QStringLiteral("k2"));
        // The box toggled: the group held company 2, now it does not.
        QCOMPARE(form->lstAuthors->find("k2")->checkState(0), Qt::Unchecked);
        QVERIFY(form->lstPuncteLucru->find("k3"));
        QVERIFY(!form->lstPuncteLucru->find("k1"));

        click(form->lstAuthors, "k2", QStyle::SE_ItemViewItemCheckIndicator);
        doubleClickNode(*form, "k20#$#2#$#2");
        form->lstPuncteLucru->find("k3")->setCheckState(0, Qt::Checked);
        ModalAnswerer answer;
        QVERIFY(form->Save());
        QCOMPARE(answer.count(), 0);
        QCOMPARE(ints(*m_server, "SELECT auID FROM admGrupOperatii WHERE grID = 1 ORDER BY auID"), QList<int>({1}));
        QCOMPARE(ints(*m_server, "SELECT IdPctLucru FROM admGrupPuncteLucru WHERE grID = 1 ORDER BY 1"),
                 QList<int>({1, 3}));
    }

    // The shown company's box unticked, and saved when the question asks: its grants go, as with
    // any other change saved along, instead of a save that writes nothing.
    void anUntickedCompanyBoxIsSavedWhenAsked() {
        WindowFixture form(*m_login);
        click(form->lstAuthors, "k1", QStyle::SE_ItemViewItemCheckIndicator);
        QCOMPARE(form->lstAuthors->find("k1")->checkState(0), Qt::Unchecked);
        {
            // Another company clicked asks too.
            ModalAnswerer cancel(QMessageBox::Cancel);
            click(form->lstAuthors, "k2");
            QCOMPARE(cancel.count(), 1);
            QCOMPARE(selectedKey(form->lstAuthors), QStringLiteral("k1"));
        }
        ModalAnswerer save(QMessageBox::Save);
        click(form->lstGroupsConfig, "k2");
        QCOMPARE(save.count(), 1);
        QCOMPARE(ints(*m_server, "SELECT auID FROM admGrupOperatii WHERE grID = 1 ORDER BY auID"), QList<int>({2}));
        QCOMPARE(ints(*m_server, "SELECT auID FROM admGrupAutor WHERE grID = 1 ORDER BY auID"), QList<int>({2}));
    }

    // Unticking a company's last operation unticks its box; discarding that change on leaving the
    // company gives the box back, so the company shows its grants again and a later Save of
    // another tick keeps them.
    void aDiscardedUntickGivesTheCompanyBoxBack() {
        WindowFixture form(*m_login);
        doubleClickNode(*form, "k10#$#1#$#1");
        QCOMPARE(form->lstAuthors->find("k1")->checkState(0), Qt::Unchecked);
        {
            ModalAnswerer discard(QMessageBox::Discard);
            click(form->lstAuthors, "k2");
            QCOMPARE(discard.count(), 1);
        }
        click(form->lstAuthors, "k1");
        QCOMPARE(form->lstAuthors->find("k1")->checkState(0), Qt::Checked);
        QCOMPARE(image(*form, "k10#$#1#$#1"), 1);
        doubleClickNode(*form, "k11#$#1#$#1");
        ModalAnswerer answer;
        QVERIFY(form->Save());
        QCOMPARE(answer.count(), 0);
        QCOMPARE(ints(*m_server, "SELECT opID FROM admGrupOperatii WHERE grID = 1 AND auID = 1 ORDER BY 1"),
                 QList<int>({10, 11}));
    }

    // Typed passwords are gone once another user is loaded by a click in the list.
    void loadingAUserEmptiesThePasswords() {
        WindowFixture form(*m_login);
        form->txtPassword->setText("secret");
        form->txtVerifyPassword->setText("secret");
        ModalAnswerer discard(QMessageBox::Discard);
        click(form->lstUsers, "k2");
        QCOMPARE(selectedKey(form->lstUsers), QStringLiteral("k2"));
        QCOMPARE(form->txtPassword->text(), QString());
        QCOMPARE(form->txtVerifyPassword->text(), QString());
    }

    // Space on the selected node and a click on a node's check image toggle it like a double
    // click (the module is recounted, the company ticked); a click on the node's text does not.
    void spaceAndACheckImageClickToggleTheNode_data() {
        QTest::addColumn<Step>("act");
        QTest::addColumn<int>("node");
        QTest::addColumn<int>("module");
        const QString node = "k11#$#1#$#1";
        QTest::newRow("space") << Step([node](frmMain& f) {
            f.twOperations->selectItem(f.twOperations->find(node));
            f.twOperations->setFocus();
            QTest::keyClick(f.twOperations, Qt::Key_Space);
        }) << 1 << 1;
        QTest::newRow("image click") << Step([node](frmMain& f) {
            click(f.twOperations, node, QStyle::SE_ItemViewItemDecoration);
        }) << 1 << 1;
        QTest::newRow("text click") << Step([node](frmMain& f) {
            QTreeWidgetItem* item = f.twOperations->find(node);
            const QRect text = itemPart(f.twOperations, item, QStyle::SE_ItemViewItemText);
            QTest::mouseClick(f.twOperations->viewport(), Qt::LeftButton, {},
                              QPoint(text.right() - 2, text.center().y()));
        }) << 3 << 2;
    }
    void spaceAndACheckImageClickToggleTheNode() {
        QFETCH(Step, act);
        QFETCH(int, node);
        QFETCH(int, module);
        WindowFixture form(*m_login);
        form->twOperations->expandAll();
        QCOMPARE(image(*form, "k11#$#1#$#1"), 3);
        act(*form);
        QCOMPARE(image(*form, "k11#$#1#$#1"), node);
        QCOMPARE(image(*form, "m1"), module);
        QCOMPARE(selectedKey(form->twOperations), QStringLiteral("k11#$#1#$#1"));
    }

    // change is made on the window as shown (group ADMIN, company Brad, user ana), then command
    // runs with the question answered by answer. NoButton: the command must not ask at all.
    void askingBeforeChangesAreLost_data() {
        QTest::addColumn<Step>("change");
        QTest::addColumn<Step>("command");
        QTest::addColumn<int>("answer");
        QTest::addColumn<Check>("check");
        using B = QMessageBox;
        const Step tickPoint = [](frmMain& f) { f.lstPuncteLucru->find("k2")->setCheckState(0, Qt::Checked); };
        const Step tickOperation = [](frmMain& f) { doubleClickNode(f, "k11#$#1#$#1"); };
        const Step renameGroup = [](frmMain& f) { f.txtGrpName->setText("ADMINI"); };
        const Step renameUser = [](frmMain& f) { f.txtDisplay->setText("Ana Popa"); };
        const Step nothing = [](frmMain&) {};
        const Step otherCompany = clickOn(&frmMain::lstAuthors, "k2");
        const Step otherGroup = clickOn(&frmMain::lstGroupsConfig, "k2");
        const Step otherUser = clickOn(&frmMain::lstUsers, "k2");
        const Check keptPointTick = [](frmMain& f, TempServer& db) {
            QCOMPARE(selectedKey(f.lstAuthors), QStringLiteral("k1"));
            QCOMPARE(f.lstPuncteLucru->find("k2")->checkState(0), Qt::Checked);
            QCOMPARE(ints(db, "SELECT IdPctLucru FROM admGrupPuncteLucru WHERE grID = 1"), QList<int>({1}));
        };
        const Check savedPointTick = [](frmMain& f, TempServer& db) {
            QCOMPARE(selectedKey(f.lstAuthors), QStringLiteral("k2"));
            QVERIFY(f.lstPuncteLucru->find("k3"));
            QCOMPARE(ints(db, "SELECT IdPctLucru FROM admGrupPuncteLucru WHERE grID = 1 ORDER BY 1"),
                     QList<int>({1, 2}));
        };
        const Check discardedPointTick = [](frmMain& f, TempServer& db) {
            QCOMPARE(selectedKey(f.lstAuthors), QStringLiteral("k2"));
            QCOMPARE(ints(db, "SELECT IdPctLucru FROM admGrupPuncteLucru WHERE grID = 1"), QList<int>({1}));
            click(f.lstAuthors, "k1");
            QCOMPARE(f.lstPuncteLucru->find("k2")->checkState(0), Qt::Unchecked);
        };
        const Check groupKept = [](frmMain& f, TempServer& db) {
            QCOMPARE(selectedKey(f.lstGroupsConfig), QStringLiteral("k1"));
            QCOMPARE(f.txtGrpName->text(), QStringLiteral("ADMINI"));
            QCOMPARE(db.value("suitedb", "SELECT grCod FROM AdmGrup WHERE grID = 1").toString(),
                     QStringLiteral("ADMIN"));
        };
        const Check operationSavedNewGroupShown = [](frmMain& f, TempServer& db) {
            QCOMPARE(ints(db, "SELECT opID FROM admGrupOperatii WHERE grID = 1 AND auID = 1 ORDER BY 1"),
                     QList<int>({10, 11}));
            QCOMPARE(selectedKey(f.lstGroupsConfig), QString());
            QCOMPARE(f.txtGrpName->text(), QString());
        };
        const Check otherGroupShown = [](frmMain& f, TempServer& db) {
            QCOMPARE(selectedKey(f.lstGroupsConfig), QStringLiteral("k2"));
            QCOMPARE(f.txtGrpName->text(), QStringLiteral("VANZARI"));
            QCOMPARE(db.value("suitedb", "SELECT grCod FROM AdmGrup WHERE grID = 1").toString(),
                     QStringLiteral("ADMIN"));
        };
        const Check userKept = [](frmMain& f, TempServer& db) {
            QCOMPARE(selectedKey(f.lstUsers), QStringLiteral("k1"));
            QCOMPARE(f.txtDisplay->text(), QStringLiteral("Ana Popa"));
            QCOMPARE(db.value("suitedb", "SELECT usDenumire FROM AdmUser WHERE usID = 1").toString(),
                     QStringLiteral("Ana Avram"));
        };
        const Check userSavedOtherShown = [](frmMain& f, TempServer& db) {
            QCOMPARE(selectedKey(f.lstUsers), QStringLiteral("k2"));
            QCOMPARE(db.value("suitedb", "SELECT usDenumire FROM AdmUser WHERE usID = 1").toString(),
                     QStringLiteral("Ana Popa"));
        };
        const Check stillOpen = [](frmMain& f, TempServer&) { QVERIFY(f.isVisible()); };
        const Check closed = [](frmMain& f, TempServer&) { QVERIFY(!f.isVisible()); };

        QTest::newRow("work point, other company, cancel")
            << tickPoint << otherCompany << int(B::Cancel) << keptPointTick;
        QTest::newRow("work point, other company, save") << tickPoint << otherCompany << int(B::Save) << savedPointTick;
        QTest::newRow("work point, other company, discard")
            << tickPoint << otherCompany << int(B::Discard) << discardedPointTick;
        QTest::newRow("group name, other company, no question")
            << renameGroup << otherCompany << int(B::NoButton) << Check([](frmMain& f, TempServer&) {
                   QCOMPARE(selectedKey(f.lstAuthors), QStringLiteral("k2"));
                   QCOMPARE(f.txtGrpName->text(), QStringLiteral("ADMINI"));
               });
        QTest::newRow("group name, other group, cancel") << renameGroup << otherGroup << int(B::Cancel) << groupKept;
        QTest::newRow("operation, other group, discard")
            << tickOperation << otherGroup << int(B::Discard) << otherGroupShown;
        QTest::newRow("operation, new group, save")
            << tickOperation << press("keyNewGrp") << int(B::Save) << operationSavedNewGroupShown;
        QTest::newRow("group name, new group, cancel")
            << renameGroup << press("keyNewGrp") << int(B::Cancel) << groupKept;
        QTest::newRow("new group filled, then its company") << Step([](frmMain& f) {
            f.findChild<QAction*>("keyNewGrp")->trigger();
            f.txtGrpName->setText("NOU");
        }) << Step([](frmMain& f) {
            click(f.lstAuthors, "k2", QStyle::SE_ItemViewItemCheckIndicator);
        }) << int(B::NoButton) << Check([](frmMain& f, TempServer&) {
            QCOMPARE(selectedKey(f.lstAuthors), QStringLiteral("k2"));
            QCOMPARE(f.lstAuthors->find("k2")->checkState(0), Qt::Checked);
            QCOMPARE(f.txtGrpName->text(), QStringLiteral("NOU"));
        });
        QTest::newRow("user display, other user, cancel") << renameUser << otherUser << int(B::Cancel) << userKept;
        QTest::newRow("user display, other user, save")
            << renameUser << otherUser << int(B::Save) << userSavedOtherShown;
        QTest::newRow("person, new user, cancel")
            << Step([](frmMain& f) { f.cmbPers->selectKey("k2"); }) << press("keyNewUser") << int(B::Cancel)
            << Check([](frmMain& f, TempServer&) {
                   QCOMPARE(selectedKey(f.lstUsers), QStringLiteral("k1"));
                   QCOMPARE(f.cmbPers->selectedKey(), QStringLiteral("k2"));
               });
        QTest::newRow("group tick, other user, discard")
            << Step([](frmMain& f) { f.lstGroups->find("k2")->setCheckState(0, Qt::Checked); }) << otherUser
            << int(B::Discard) << Check([](frmMain& f, TempServer& db) {
                   QCOMPARE(selectedKey(f.lstUsers), QStringLiteral("k2"));
                   QCOMPARE(ints(db, "SELECT grID FROM AdmUserGrup WHERE usID = 1"), QList<int>({1}));
               });
        QTest::newRow("groups list sorted, other user, no question")
            << Step([](frmMain& f) { f.lstGroups->sortItems(0, Qt::DescendingOrder); }) << otherUser << int(B::NoButton)
            << Check([](frmMain& f, TempServer&) { QCOMPARE(selectedKey(f.lstUsers), QStringLiteral("k2")); });
        QTest::newRow("user name, refresh, cancel") << renameUser << press("keyRefresh") << int(B::Cancel) << userKept;
        QTest::newRow("work point, close, cancel") << tickPoint << press("keyClose") << int(B::Cancel) << stillOpen;
        QTest::newRow("group name, close, discard") << renameGroup << press("keyClose") << int(B::Discard) << closed;
        QTest::newRow("after a save, other group") << Step([](frmMain& f) {
            f.txtGrpName->setText("ADMINI");
            QVERIFY(f.Save());
        }) << otherGroup << int(B::NoButton) << Check([](frmMain& f, TempServer& db) {
            QCOMPARE(selectedKey(f.lstGroupsConfig), QStringLiteral("k2"));
            QCOMPARE(db.value("suitedb", "SELECT grCod FROM AdmGrup WHERE grID = 1").toString(),
                     QStringLiteral("ADMINI"));
        });
        QTest::newRow("nothing changed, refresh and close") << nothing << Step([](frmMain& f) {
            f.findChild<QAction*>("keyRefresh")->trigger();
            f.findChild<QAction*>("keyClose")->trigger();
        }) << int(B::NoButton) << closed;
    }
    void askingBeforeChangesAreLost() {
        QFETCH(Step, change);
        QFETCH(Step, command);
        QFETCH(int, answer);
        QFETCH(Check, check);
        WindowFixture form(*m_login);
        change(*form);
        {
            ModalAnswerer answerer(answer == QMessageBox::NoButton ? QMessageBox::Cancel
                                                                   : static_cast<QMessageBox::StandardButton>(answer));
            command(*form);
            if (answer == QMessageBox::NoButton) {
                QCOMPARE(answerer.count(), 0);
            } else {
                QCOMPARE(answerer.count(), 1);
                QCOMPARE(answerer.title(), QStringLiteral("Talvane"));
                QCOMPARE(answerer.buttons(), QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
                QCOMPARE(answerer.textFormat(), Qt::PlainText);
            }
        }
        check(*form, *m_server);
    }

    // "! Salvare" reloads the user and Delete refreshes the window: each asks first about what it
    // would throw away (the user editor; the editor of the other page), and Cancel writes
    // nothing. A Delete answered with Yes to its own question meets the unsaved changes
    // question next, which the same answerer cancels (it has no Yes).
    void salvareAndDeleteAskFirst_data() {
        QTest::addColumn<Step>("change");
        QTest::addColumn<Step>("command");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("boxes");  // every box shown
        QTest::addColumn<bool>("asked"); // the last one is the unsaved changes question
        QTest::addColumn<Check>("check");
        using B = QMessageBox;
        const Step renameGroup = [](frmMain& f) { f.txtGrpName->setText("ADMINI"); };
        const Step renameUser = [](frmMain& f) { f.txtDisplay->setText("Ana Popa"); };
        const Step salvare = [](frmMain& f) {
            f.SSTab1->setCurrentIndex(1);
            f.tabDetalii->setCurrentIndex(1);
            f.cboAuthor->selectKey("k1");
            f.cboBrand->selectKey("k20");
            f.cbutSalvare->click();
        };
        const auto deleting = [](int page, const char* key) {
            return Step([page, key](frmMain& f) {
                f.SSTab1->setCurrentIndex(page);
                click(page == 1 ? f.lstUsers : f.lstGroupsConfig, key);
                WindowFixture::control<QAction>(f, "keyDelete")->trigger();
            });
        };
        const auto roles = [](TempServer& db) { return ints(db, "SELECT IdBrand FROM CRM_User WHERE UserId = 1"); };
        const auto display = [](TempServer& db) {
            return db.value("suitedb", "SELECT usDenumire FROM AdmUser WHERE usID = 1").toString();
        };
        const auto groups = [](TempServer& db) { return ints(db, "SELECT grID FROM AdmGrup ORDER BY 1"); };

        QTest::newRow("! Salvare, user renamed, cancel")
            << renameUser << salvare << int(B::Cancel) << 1 << true << Check([=](frmMain& f, TempServer& db) {
                   QCOMPARE(roles(db), QList<int>());
                   QCOMPARE(display(db), QStringLiteral("Ana Avram"));
                   QCOMPARE(f.txtDisplay->text(), QStringLiteral("Ana Popa"));
               });
        QTest::newRow("! Salvare, user renamed, save")
            << renameUser << salvare << int(B::Save) << 1 << true << Check([=](frmMain& f, TempServer& db) {
                   QCOMPARE(roles(db), QList<int>({20}));
                   QCOMPARE(display(db), QStringLiteral("Ana Popa"));
                   QCOMPARE(f.txtDisplay->text(), QStringLiteral("Ana Popa"));
               });
        QTest::newRow("! Salvare, group renamed, not asked")
            << renameGroup << salvare << int(B::Cancel) << 0 << false << Check([=](frmMain& f, TempServer& db) {
                   QCOMPARE(roles(db), QList<int>({20}));
                   QCOMPARE(f.txtGrpName->text(), QStringLiteral("ADMINI"));
               });
        QTest::newRow("delete a user, group renamed, cancel")
            << renameGroup << deleting(1, "k2") << int(B::Yes) << 2 << true << Check([](frmMain& f, TempServer& db) {
                   QCOMPARE(ints(db, "SELECT usID FROM AdmUser ORDER BY 1"), QList<int>({1, 2}));
                   QCOMPARE(f.txtGrpName->text(), QStringLiteral("ADMINI"));
               });
        QTest::newRow("delete a group, user renamed, cancel")
            << renameUser << deleting(0, "k2") << int(B::Yes) << 2 << true << Check([=](frmMain& f, TempServer& db) {
                   QCOMPARE(groups(db), QList<int>({1, 2}));
                   QCOMPARE(f.txtDisplay->text(), QStringLiteral("Ana Popa"));
               });
        QTest::newRow("delete a group renamed itself, not asked")
            << renameGroup << deleting(0, "k1") << int(B::Yes) << 1 << false
            << Check([=](frmMain&, TempServer& db) { QCOMPARE(groups(db), QList<int>({2})); });
    }
    void salvareAndDeleteAskFirst() {
        QFETCH(Step, change);
        QFETCH(Step, command);
        QFETCH(int, answer);
        QFETCH(int, boxes);
        QFETCH(bool, asked);
        QFETCH(Check, check);
        FixtureRows(*m_server).brand(20, "Alfa", 1);
        WindowFixture form(*m_login);
        change(*form);
        {
            ModalAnswerer answerer(static_cast<QMessageBox::StandardButton>(answer));
            command(*form);
            QCOMPARE(answerer.count(), boxes);
            if (asked)
                QCOMPARE(answerer.buttons(), QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        }
        check(*form, *m_server);
    }
};

QTEST_MAIN(TestUnsavedChanges)
#include "TestUnsavedChanges.moc"
