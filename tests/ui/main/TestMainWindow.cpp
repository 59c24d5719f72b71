#include "support/ModalAnswerer.h"
#include "support/TempServer.h"
#include "support/WindowFixture.h"
#include "ui/common/ImageList.h"
#include "ui/common/KeyedComboBox.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/TabControl.h"
#include "ui/main/frmMain.h"

#include <QAction>
#include <QCheckBox>
#include <QDateTime>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>
#include <memory>
#include <stdexcept>

// The main window's controls, load, tab switching, toolbar and status bar.
class TestMainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> m_fixture;
    // An empty suite for the window's refresh to read: a list it could not read would be reported.
    std::unique_ptr<TempServer> m_server;

    // The widget painted on top among the visible children of container.
    static QWidget* frontPage(QWidget* container) {
        const QObjectList children = container->children();
        for (auto it = children.crbegin(); it != children.crend(); ++it) {
            auto* widget = qobject_cast<QWidget*>(*it);
            if (widget && widget->isVisible() && !qobject_cast<QTabBar*>(widget))
                return widget;
        }
        return nullptr;
    }

private slots:
    void initTestCase() {
        m_fixture = std::make_unique<MainWindowFixture>(QStringLiteral("ana.pop"));
        m_server = std::make_unique<TempServer>();
    }

    void everyControlIsFoundByItsName() {
        frmMain form(m_fixture->login());
        QCOMPARE(form.objectName(), QStringLiteral("frmMain"));
        QCOMPARE(form.windowTitle(), QStringLiteral("User Groups Configuration"));
        QVERIFY(!form.windowIcon().isNull());
        const QStringList names = {"Toolbar1",       "StatusBar1",
                                   "ImageList1",     "SSTab1",
                                   "picUserGroups",  "lstGroupsConfig",
                                   "fraUserGroup",   "Label1",
                                   "txtGrpName",     "Label2",
                                   "txtFullName",    "Label3",
                                   "txtNotes",       "lstAuthors",
                                   "lstPuncteLucru", "twOperations",
                                   "picUsers",       "lstUsers",
                                   "tabDetalii",     "fraGroup",
                                   "Label4",         "txtDomain",
                                   "Label5",         "txtUserName",
                                   "Label6",         "txtAlias",
                                   "Label7",         "txtDisplay",
                                   "Label8",         "cmbPers",
                                   "Label10",        "txtPassword",
                                   "Label9",         "txtVerifyPassword",
                                   "lstGroups",      "frCRM",
                                   "Label11",        "cboAuthor",
                                   "Label12",        "cboBrand",
                                   "chkAdminBrand",  "chkAdmin",
                                   "lstUserBrand",   "cbutInregNoua",
                                   "cbutSalvare"};
        for (const QString& name : names) {
            const QList<QObject*> found = form.findChildren<QObject*>(name);
            QVERIFY2(found.size() == 1, qPrintable(name));
        }
        QCOMPARE(form.findChild<QTreeWidget*>("lstUsers"), form.lstUsers);
        QCOMPARE(form.findChild<KeyedComboBox*>("cmbPers"), form.cmbPers);
        QCOMPARE(form.findChild<ImageList*>("ImageList1"), form.ImageList1);
    }

    void fixedTextsOfLabelsBoxesAndButtons() {
        frmMain form(m_fixture->login());
        const QList<QPair<QLabel*, QString>> labels = {
            {form.Label1, "Name"},      {form.Label2, "Full Name"},      {form.Label3, "Notes"},
            {form.Label4, "Domain"},    {form.Label5, "User"},           {form.Label6, "Alias"},
            {form.Label7, "Display"},   {form.Label8, "HR Information"}, {form.Label9, "Verify password"},
            {form.Label10, "Password"}, {form.Label11, "Societate"},     {form.Label12, "Brand"}};
        for (const auto& [label, text] : labels)
            QCOMPARE(label->text(), text);
        QCOMPARE(form.fraUserGroup->title(), QStringLiteral("Group"));
        QVERIFY(form.fraGroup->title().isEmpty());
        QVERIFY(form.frCRM->title().isEmpty());
        QCOMPARE(form.chkAdminBrand->text(), QStringLiteral("Director brand"));
        QCOMPARE(form.chkAdmin->text(), QStringLiteral("Administrator"));
        QVERIFY(form.chkAdmin->font().bold());
        QVERIFY(!form.chkAdminBrand->font().bold());
        QCOMPARE(form.cbutInregNoua->text(), QStringLiteral("! New"));
        QCOMPARE(form.cbutSalvare->text(), QStringLiteral("! Salvare"));

        QCOMPARE(form.txtGrpName->maxLength(), 15);
        QCOMPARE(form.txtFullName->maxLength(), 50);
        QCOMPARE(form.txtNotes->maxLength(), 100);
        QTest::keyClicks(form.txtGrpName, QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
        QCOMPARE(form.txtGrpName->text(), QStringLiteral("ABCDEFGHIJKLMNO"));
        QCOMPARE(form.txtPassword->echoMode(), QLineEdit::Password);
        QCOMPARE(form.txtVerifyPassword->echoMode(), QLineEdit::Password);
        QCOMPARE(form.txtUserName->echoMode(), QLineEdit::Normal);
        for (QComboBox* combo : {static_cast<QComboBox*>(form.cmbPers), static_cast<QComboBox*>(form.cboAuthor),
                                 static_cast<QComboBox*>(form.cboBrand)})
            QVERIFY(combo->isEditable());
    }

    void listsShowTheirColumnsInDetailsView_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QList<int>>("widths");
        QTest::addColumn<bool>("checkBoxes");
        QTest::newRow("lstGroupsConfig") << "lstGroupsConfig" << QStringList{"Groups"} << QList<int>{2700} << false;
        QTest::newRow("lstAuthors") << "lstAuthors" << QStringList{"Company", "NickName"} << QList<int>{3500, 1440}
                                    << true;
        QTest::newRow("lstPuncteLucru") << "lstPuncteLucru" << QStringList{"Denumire punct de lucru"}
                                        << QList<int>{3500} << true;
        QTest::newRow("lstUsers") << "lstUsers" << QStringList{"User", "Alias", "HR Information"}
                                  << QList<int>{1500, 1400, 2300} << false;
        QTest::newRow("lstGroups") << "lstGroups" << QStringList{"Groups", "Description"} << QList<int>{2400, 2600}
                                   << true;
        QTest::newRow("lstUserBrand") << "lstUserBrand" << QStringList{"Societate", "Brand", "Tip user"}
                                      << QList<int>{1440, 1440, 1440} << false;
    }
    void listsShowTheirColumnsInDetailsView() {
        QFETCH(QString, name);
        QFETCH(QStringList, titles);
        QFETCH(QList<int>, widths);
        QFETCH(bool, checkBoxes);
        WindowFixture form(*m_fixture);
        auto* list = form->findChild<QTreeWidget*>(name);
        QVERIFY(list);
        QCOMPARE(list->columnCount(), titles.size());
        QVERIFY(!list->isHeaderHidden());
        QVERIFY(!list->rootIsDecorated());
        auto* keyed = qobject_cast<KeyedTreeWidget*>(list);
        QCOMPARE(keyed && keyed->checkBoxes(), checkBoxes);
        QCOMPARE(keyed != nullptr, name != "lstUserBrand");
        for (int i = 0; i < titles.size(); ++i) {
            QCOMPARE(list->headerItem()->text(i), titles[i]);
            QCOMPARE(list->columnWidth(i), widths[i] / 15);
        }
    }

    void operationsTreeHasNoHeader() {
        frmMain form(m_fixture->login());
        QVERIFY(form.twOperations->isHeaderHidden());
        QCOMPARE(form.twOperations->columnCount(), 1);
    }

    void imageListHoldsSeventeenDistinctPictures() {
        frmMain form(m_fixture->login());
        ImageList* images = form.ImageList1;
        QCOMPARE(images->count(), 17);
        QVERIFY(images->image(0).isNull());
        QVERIFY(images->image(18).isNull());
        QList<QImage> pictures;
        for (int i = 1; i <= 17; ++i) {
            QVERIFY2(!images->image(i).isNull(), qPrintable(QString::number(i)));
            pictures << images->image(i).pixmap(16, 16).toImage();
            QCOMPARE(pictures.last().size(), QSize(16, 16));
        }
        // The three check images must be told apart at a glance, and from every other picture.
        for (int a = 0; a < 17; ++a)
            for (int b = a + 1; b < 17; ++b)
                QVERIFY2(pictures[a] != pictures[b], qPrintable(QStringLiteral("%1 vs %2").arg(a + 1).arg(b + 1)));
    }

    void toolbarButtonsInOrderWithSeparators() {
        frmMain form(m_fixture->login());
        const QList<QAction*> actions = form.Toolbar1->actions();
        const QStringList keys = {"keyClose", "", "keyNewGrp",  "keyNewUser", "",
                                  "keySave",  "", "keyRefresh", "",           "keyDelete"};
        const QStringList captions = {"Close", "", "New Group", "New User", "", "Save", "", "Refresh", "", "Delete"};
        const QList<int> images = {12, 0, 13, 14, 0, 15, 0, 16, 0, 17};
        QCOMPARE(actions.size(), keys.size());
        for (int i = 0; i < actions.size(); ++i) {
            QCOMPARE(actions[i]->isSeparator(), keys[i].isEmpty());
            if (keys[i].isEmpty())
                continue;
            QCOMPARE(actions[i]->objectName(), keys[i]);
            QCOMPARE(actions[i]->text(), captions[i]);
            QCOMPARE(actions[i]->icon().pixmap(16, 16).toImage(),
                     form.ImageList1->image(images[i]).pixmap(16, 16).toImage());
        }
        QCOMPARE(form.Toolbar1->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        QCOMPARE(form.findChild<QAction*>("keySave"), actions[5]);
    }

    void toolbarDispatchesByExactKey() {
        WindowFixture form(*m_fixture);
        QStringList ran;
        for (const QString key : {"keyNewGrp", "keyNewUser", "keySave", "keyRefresh", "keyDelete"})
            form->setCommand(key, [&ran, key] { ran << key; });
        form.press("keyRefresh");
        form.press("keyNewUser");
        form->Toolbar1_ButtonClick("keysave");
        form->Toolbar1_ButtonClick("Save");
        form->Toolbar1_ButtonClick(QString());
        QCOMPARE(ran, (QStringList{"keyRefresh", "keyNewUser"}));
        QVERIFY(form->isVisible());
    }

    void failingCommandShowsTheErrorBoxWithItsOrigin() {
        WindowFixture form(*m_fixture);
        form->setCommand("keySave", [] { throw std::runtime_error("disk full"); });
        ModalAnswerer answerer;
        form.press("keySave");
        QVERIFY(answerer.seen());
        QCOMPARE(answerer.title(), QStringLiteral("Quillmark"));
        QVERIFY(answerer.text().contains("Toolbar1_ButtonClick()"));
        QVERIFY(answerer.text().contains("disk full"));
        QVERIFY(form->isVisible());
    }

    void closeButtonClosesTheWindow() {
        WindowFixture form(*m_fixture);
        form.press("keyClose");
        QVERIFY(!form->isVisible());
    }

    void loadFillsTheStatusBarFromTheLoginComponent() {
        WindowFixture form(*m_fixture);
        QCOMPARE(form->Panel(1)->text(), "Server : " + m_fixture->serverName());
        QCOMPARE(form->Panel(2)->text(), "Database : " + m_fixture->databaseName());
        QCOMPARE(form->Panel(3)->text(), QStringLiteral("User : ana.pop"));
        for (int i = 1; i <= 5; ++i)
            QCOMPARE(form->findChild<QLabel*>("StatusBar1Panel" + QString::number(i)), form->Panel(i));
        for (int i = 2; i <= 5; ++i)
            QVERIFY(form->Panel(i)->width() >= 96);
        // Panel 1 takes the width the others leave.
        QVERIFY(form->Panel(1)->width() > form->Panel(2)->width());
        QCOMPARE(form->Panel(1)->parentWidget(), static_cast<QWidget*>(form->StatusBar1));
    }

    void clockPanelsShowTheCurrentTimeAndDate() {
        WindowFixture form(*m_fixture);
        const QLocale locale;
        const auto showsNow = [&](int panel, auto format) {
            // The minute may turn over between reading the panel and the clock.
            const QString before = format(QDateTime::currentDateTime().addSecs(-1));
            const QString after = format(QDateTime::currentDateTime().addSecs(1));
            const QString text = form->Panel(panel)->text();
            return text == before || text == after;
        };
        QTRY_VERIFY(showsNow(4, [&](const QDateTime& t) { return locale.toString(t.time(), QLocale::ShortFormat); }));
        QTRY_VERIFY(showsNow(5, [&](const QDateTime& t) { return locale.toString(t.date(), QLocale::ShortFormat); }));
        // The panels keep themselves current.
        form->Panel(4)->clear();
        QTRY_VERIFY(!form->Panel(4)->text().isEmpty());
    }

    void loadSelectsTheGroupsPage() {
        auto form = std::make_unique<frmMain>(m_fixture->login());
        form->SSTab1->setCurrentIndex(1);
        form->show();
        QCOMPARE(form->SSTab1->currentIndex(), 0);
        QVERIFY(form->picUserGroups->isVisible());
        QVERIFY(!form->picUsers->isVisible());
        QCOMPARE(frontPage(form->SSTab1), form->picUserGroups);
        QCOMPARE(form->tabDetalii->currentIndex(), 0);
    }

    void loadErrorIsShownWithItsOriginAndTheWindowStays() {
        LoginComponent unchecked; // asked before CheckAccess: every value fails
        ModalAnswerer answerer;
        frmMain form(unchecked);
        form.show();
        QTRY_VERIFY(answerer.seen());
        QCOMPARE(answerer.count(), 1);
        QVERIFY(answerer.text().contains("Form_Load()"));
        QVERIFY(form.isVisible());
        QVERIFY(form.Panel(1)->text().isEmpty());
        QCOMPARE(form.SSTab1->currentIndex(), 0);
    }

    void tabChangeBringsTheMatchingPageToTheFront() {
        WindowFixture form(*m_fixture);
        for (int round = 0; round < 2; ++round) {
            form->SSTab1->setCurrentIndex(1);
            QCOMPARE(frontPage(form->SSTab1), form->picUsers);
            QVERIFY(!form->picUserGroups->isVisible());
            QVERIFY(form->lstUsers->isVisible());
            form->SSTab1->setCurrentIndex(0);
            QCOMPARE(frontPage(form->SSTab1), form->picUserGroups);
            QVERIFY(!form->picUsers->isVisible());
            QVERIFY(form->lstGroupsConfig->isVisible());
        }
    }

    void tabChangeHandlerReadsTheControlNotItsArgument() {
        WindowFixture form(*m_fixture);
        form->SSTab1->setCurrentIndex(1);
        form->picUserGroups->show();
        form->picUserGroups->raise();
        form->SSTab1_Click(0);
        QCOMPARE(frontPage(form->SSTab1), form->picUsers);
    }

    void clickingATabSwitchesPages() {
        WindowFixture form(*m_fixture);
        QTabBar* bar = form->SSTab1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
        QCOMPARE(form->SSTab1->currentIndex(), 1);
        QVERIFY(form->picUsers->isVisible());
        QTabBar* details = form->tabDetalii->tabBar();
        QTest::mouseClick(details, Qt::LeftButton, {}, details->tabRect(1).center());
        QVERIFY(form->frCRM->isVisible());
        QVERIFY(!form->fraGroup->isVisible());
        QCOMPARE(frontPage(form->tabDetalii), form->frCRM);
        QTest::mouseClick(details, Qt::LeftButton, {}, details->tabRect(0).center());
        QVERIFY(form->fraGroup->isVisible());
        QVERIFY(!form->frCRM->isVisible());
    }

    void tabCaptionsKeepTheirBlanksAndPictures() {
        frmMain form(m_fixture->login());
        QCOMPARE(form.SSTab1->count(), 2);
        QCOMPARE(form.SSTab1->tabText(0), QStringLiteral("   User Groups Configuration "));
        QCOMPARE(form.SSTab1->tabText(1), QStringLiteral("  Users  "));
        QCOMPARE(form.tabDetalii->count(), 2);
        QCOMPARE(form.tabDetalii->tabText(0), QStringLiteral("Group               "));
        QCOMPARE(form.tabDetalii->tabText(0).size(), 20);
        QCOMPARE(form.tabDetalii->tabText(1), QStringLiteral("Setari CRM            "));
        QCOMPARE(form.tabDetalii->tabText(1).size(), 22);
        for (TabControl* tabs : {form.SSTab1, form.tabDetalii})
            for (int i = 0; i < 2; ++i)
                QVERIFY(!tabs->tabIcon(i).isNull());
    }
};

QTEST_MAIN(TestMainWindow)
#include "TestMainWindow.moc"
