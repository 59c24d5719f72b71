#include "support/ModalAnswerer.h"
#include "support/TempServer.h"
#include "support/WindowFixture.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/TabControl.h"
#include "ui/main/frmMain.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>
#include <memory>

// The designed rectangles of the window's controls and how they follow the window's size.
class TestWindowLayout : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> m_fixture;
    // An empty suite for the window's refresh to read: a list it could not read would be reported.
    std::unique_ptr<TempServer> m_server;

    // A rectangle in twips as the window places it: each length to its nearest pixel.
    static QRect px(int left, int top, int width, int height) {
        const auto p = [](int twips) { return (twips + 7) / 15; };
        return QRect(p(left), p(top), p(width), p(height));
    }
    static int tw(int pixels) { return pixels * 15; }

    // What the window's layout makes of the size the window now has, computed from the
    // window's outer size in twips; checks every statement's outcome.
    static void verifyLayout(frmMain& form) {
        const int W = tw(form.frameGeometry().width());
        const int H = tw(form.frameGeometry().height());
        const int S = tw(form.StatusBar1->height());
        const QRect tab = px(50, 550, W - 200, H - 550 - S - 450);
        QCOMPARE(form.SSTab1->geometry(), tab);
        const QRect page = px(100, 400, tw(tab.width()) - 200, tw(tab.height()) - 500);
        QCOMPARE(form.picUserGroups->geometry(), page);
        QCOMPARE(form.picUsers->geometry(), page);
        // The user and group lists fill their pages below the find row (375 twips, 25 pixels).
        QCOMPARE(form.lstUsers->geometry(), QRect(0, 25, 416, (tw(page.height()) - 375 + 7) / 15));
        const QRect details = px(6270, 0, tw(page.width()) - 6270, tw(page.height()));
        QCOMPARE(form.tabDetalii->geometry(), QRect(418, 0, details.width(), page.height()));
        const int frameHeight = (tw(page.height()) - tw(23) - 100 + 7) / 15;
        QCOMPARE(form.fraGroup->geometry(), QRect(4, 23, 367, frameHeight));
        QCOMPARE(form.lstGroups->geometry(), QRect(8, 197, 353, (tw(frameHeight) - tw(197) - 100 + 7) / 15));
        // The groups page.
        QCOMPARE(form.lstGroupsConfig->geometry(), QRect(0, 25, 416, (tw(page.height()) - 375 + 7) / 15));
        QCOMPARE(form.fraUserGroup->x(), (tw(416) + 100 + 7) / 15);
        QCOMPARE(form.fraUserGroup->y(), 0);
        QCOMPARE(form.fraUserGroup->height(), page.height());
        const int fraWidth = form.fraUserGroup->width();
        QCOMPARE(form.twOperations->geometry(), QRect((tw(8) + 20 + 7) / 15, 346, (tw(fraWidth) - 270 + 7) / 15,
                                                      (tw(page.height()) - tw(346) - 150 + 7) / 15));
        // frCRM and the editors' other controls keep their designed places.
        QCOMPARE(form.frCRM->geometry(), px(60, 345, 5445, 4875));
        QCOMPARE(form.lstAuthors->geometry(), px(120, 1830, 5295, 1725));
        QCOMPARE(form.txtNotes->geometry(), px(1500, 990, 3885, 810));
    }

private slots:
    void initTestCase() {
        m_fixture = std::make_unique<MainWindowFixture>();
        m_server = std::make_unique<TempServer>();
    }

    void controlsStandAtTheirDesignedRectangles_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("container");
        QTest::addColumn<QRect>("rect");
        const auto row = [](const char* name, const char* container, int l, int t, int w, int h) {
            QTest::newRow(name) << QString(name) << QString(container) << px(l, t, w, h);
        };
        row("SSTab1", "frmMain", 45, 555, 13575, 8460);
        row("picUserGroups", "SSTab1", 105, 405, 11850, 7950);
        row("txtFindGroups", "picUserGroups", 0, 0, 4980, 330);
        row("cbutGroupReport", "picUserGroups", 5040, 0, 1200, 330);
        row("lstGroupsConfig", "picUserGroups", 0, 375, 6240, 4440);
        row("fraUserGroup", "picUserGroups", 6270, 0, 5535, 7800);
        row("Label1", "fraUserGroup", 150, 360, 420, 195);
        row("txtGrpName", "fraUserGroup", 1500, 270, 3885, 330);
        row("Label2", "fraUserGroup", 150, 720, 705, 195);
        row("txtFullName", "fraUserGroup", 1500, 630, 3885, 330);
        row("txtNotes", "fraUserGroup", 1500, 990, 3885, 810);
        row("lstAuthors", "fraUserGroup", 120, 1830, 5295, 1725);
        row("lstPuncteLucru", "fraUserGroup", 120, 3570, 5295, 1575);
        row("twOperations", "fraUserGroup", 135, 5190, 5265, 1215);
        row("picUsers", "SSTab1", 105, 405, 12510, 6705);
        row("txtFindUsers", "picUsers", 0, 0, 4980, 330);
        row("cbutUserRights", "picUsers", 5040, 0, 1200, 330);
        row("lstUsers", "picUsers", 0, 375, 6240, 4440);
        row("tabDetalii", "picUsers", 6270, 0, 5670, 6660);
        row("fraGroup", "tabDetalii", 60, 345, 5505, 4875);
        row("Label4", "fraGroup", 150, 360, 540, 195);
        row("txtDomain", "fraGroup", 1500, 270, 3885, 330);
        row("Label8", "fraGroup", 165, 1785, 1065, 195);
        row("cmbPers", "fraGroup", 1500, 1710, 3885, 330);
        row("Label10", "fraGroup", 180, 2280, 690, 195);
        row("txtPassword", "fraGroup", 1500, 2190, 3885, 330);
        row("Label9", "fraGroup", 180, 2640, 1110, 195);
        row("txtVerifyPassword", "fraGroup", 1500, 2580, 3885, 330);
        row("lstGroups", "fraGroup", 120, 2955, 5295, 1815);
        row("frCRM", "tabDetalii", 60, 345, 5445, 4875);
        row("Label11", "frCRM", 105, 285, 900, 270);
        row("cboAuthor", "frCRM", 1050, 270, 4200, 330);
        row("Label12", "frCRM", 120, 600, 900, 270);
        row("cboBrand", "frCRM", 1050, 645, 4200, 330);
        row("chkAdminBrand", "frCRM", 1050, 1005, 2910, 195);
        row("chkAdmin", "frCRM", 1050, 1245, 2910, 195);
        row("lstUserBrand", "frCRM", 90, 1500, 5265, 2790);
        row("cbutInregNoua", "frCRM", 90, 4365, 1335, 405);
        row("cbutSalvare", "frCRM", 4035, 4350, 1335, 405);
    }
    void controlsStandAtTheirDesignedRectangles() {
        QFETCH(QString, name);
        QFETCH(QString, container);
        QFETCH(QRect, rect);
        // Before the first show no layout has run: every control stands where it was designed.
        frmMain form(m_fixture->login());
        auto* control = form.findChild<QWidget*>(name);
        QVERIFY(control);
        QCOMPARE(control->parentWidget()->objectName(), container);
        QCOMPARE(control->geometry(), rect);
    }

    void windowOpensAtItsDesignedClientSize() {
        WindowFixture form(*m_fixture, QSize(955, 685));
        QCOMPARE(form->size(), QSize(955, 685));
        // Docked at the top at full width, at its designed height, above the tab control.
        QCOMPARE(form->Toolbar1->geometry(), QRect(0, 0, 955, 28));
        QVERIFY(form->Toolbar1->geometry().bottom() < form->SSTab1->y());
        QCOMPARE(form->StatusBar1->geometry(), QRect(0, 663, 955, 22));
        verifyLayout(*form);
    }

    void layoutFollowsTheWindowSize() {
        WindowFixture form(*m_fixture, QSize(955, 685));
        form->resize(1240, 900);
        const QSize outer = form->frameGeometry().size();
        QVERIFY(outer.width() >= 1240 && outer.height() >= 900);
        QCOMPARE(form->SSTab1->size(),
                 QSize((tw(outer.width()) - 200 + 7) / 15, (tw(outer.height()) - 550 - 330 - 450 + 7) / 15));
        verifyLayout(*form);
        form->resize(820, 600);
        verifyLayout(*form);
    }

    void groupsFrameWidthIsMeasuredFromItsFormerLeft() {
        WindowFixture form(*m_fixture, QSize(955, 685));
        // The frame moves to 100 twips right of the list, but its new width is what the page
        // leaves right of where the frame stood before.
        form->fraUserGroup->move(600, 0);
        form->resize(1100, 700);
        QCOMPARE(form->fraUserGroup->x(), 423);
        QCOMPARE(form->fraUserGroup->width(), (tw(form->picUserGroups->width()) - tw(600) + 7) / 15);
    }

    // Below the designed minimum the controls keep the layout of that size and the window
    // scrolls them between the toolbar and the status bar; nothing is reported.
    void belowItsMinimumTheWindowScrolls_data() {
        QTest::addColumn<QSize>("outer");
        QTest::newRow("too low") << QSize(900, 100);
        QTest::newRow("too low and narrow") << QSize(600, 300);
    }
    void belowItsMinimumTheWindowScrolls() {
        QFETCH(QSize, outer);
        WindowFixture form(*m_fixture, QSize(955, 685));
        const QSize frameMargins = form->frameGeometry().size() - form->size();
        const QSize laidOut = outer.expandedTo(frmMain::DesignedMinimumSize());
        form->resize(laidOut - frameMargins);
        const QRect tabLaidOut = form->SSTab1->geometry();
        const int gapLaidOut = form->StatusBar1->y() - tabLaidOut.bottom();
        const int rightGapLaidOut = form->width() - tabLaidOut.right();
        QVERIFY(!form->vsbForm->isVisible() && !form->hsbForm->isVisible());

        ModalAnswerer answerer;
        form->resize(outer - frameMargins);
        QCOMPARE(form->SSTab1->height(), tabLaidOut.height());
        QCOMPARE(form->vsbForm->isVisible(), outer.height() < laidOut.height());
        QCOMPARE(form->hsbForm->isVisible(), outer.width() < laidOut.width());
        form->vsbForm->setValue(form->vsbForm->maximum());
        form->hsbForm->setValue(form->hsbForm->maximum());
        // Scrolled to the end, the tab control's bottom right corner shows as in the larger window,
        // left of and above the scroll bars.
        const int barHeight = form->hsbForm->isVisible() ? form->hsbForm->height() : 0;
        QCOMPARE(form->StatusBar1->y() - barHeight - form->SSTab1->geometry().bottom(), gapLaidOut);
        const int rightEdge = form->vsbForm->isVisible() ? form->vsbForm->x() : form->width();
        QCOMPARE(rightEdge - form->SSTab1->geometry().right(), rightGapLaidOut);
        QTest::qWait(0);
        QVERIFY(!answerer.seen());

        form->resize(955, 685);
        QVERIFY(!form->vsbForm->isVisible() && !form->hsbForm->isVisible());
        verifyLayout(*form);
    }
};

QTEST_MAIN(TestWindowLayout)
#include "TestWindowLayout.moc"
