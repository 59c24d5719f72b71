#include "ui/main/FormLayout.h"

#include "ui/common/FindBox.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/ShowErrors.h"
#include "ui/common/TabControl.h"
#include "ui/common/Twips.h"
#include "ui/main/frmMain.h"

#include <QGroupBox>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>

namespace mainwindow {

using common::twipsHeight;
using common::twipsLeft;
using common::twipsTop;
using common::twipsWidth;

namespace {

// What the window lacks of its designed minimum, width and height (pixels, frame included);
// negative where it is larger. A scroll bar shown takes its width from the other direction.
struct Overflow {
    bool horizontal;
    bool vertical;
    int extent;
    QSize lacking;
};

Overflow overflowOf(const frmMain& form) {
    const QSize lacking = frmMain::DesignedMinimumSize() - form.frameGeometry().size();
    const int extent = form.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, form.vsbForm);
    bool horizontal = lacking.width() > 0;
    bool vertical = lacking.height() > 0;
    if (vertical && !horizontal)
        horizontal = lacking.width() + extent > 0;
    if (horizontal && !vertical)
        vertical = lacking.height() + extent > 0;
    return {horizontal, vertical, extent, lacking};
}

// Below the designed minimum the controls keep the layout of that size; scroll bars between the
// toolbar and the status bar move the tab control over the part of it the window shows.
void placeScrollBars(frmMain& form, const Overflow& overflow) {
    const int extent = overflow.extent;
    const int top = form.Toolbar1->geometry().bottom() + 1;
    const int bottom = form.StatusBar1->isVisible() ? form.StatusBar1->y() : form.height();
    QScrollBar* h = form.hsbForm;
    QScrollBar* v = form.vsbForm;
    const QSignalBlocker holdH(h);
    const QSignalBlocker holdV(v);
    h->setRange(0, overflow.horizontal ? overflow.lacking.width() + (overflow.vertical ? extent : 0) : 0);
    h->setPageStep(qMax(1, form.width()));
    h->setGeometry(0, bottom - extent, form.width() - (overflow.vertical ? extent : 0), extent);
    h->setVisible(overflow.horizontal);
    v->setRange(0, overflow.vertical ? overflow.lacking.height() + (overflow.horizontal ? extent : 0) : 0);
    v->setPageStep(qMax(1, bottom - top));
    v->setGeometry(form.width() - extent, top, extent, bottom - top - (overflow.horizontal ? extent : 0));
    v->setVisible(overflow.vertical);
    if (overflow.horizontal || overflow.vertical) {
        h->raise();
        v->raise();
    }
    form.SSTab1->move(form.SSTab1->pos() - QPoint(h->value(), v->value()));
}

} // namespace

void Form_Resize(frmMain& form) {
    // The outer size, frame and title bar included, less the scroll bars shown, and never below
    // the designed minimum.
    const Overflow overflow = overflowOf(form);
    const QSize outer = (form.frameGeometry().size() -
                         QSize(overflow.vertical ? overflow.extent : 0, overflow.horizontal ? overflow.extent : 0))
                            .expandedTo(frmMain::DesignedMinimumSize());
    const int W = common::pixelsToTwips(outer.width());
    const int H = common::pixelsToTwips(outer.height());
    const int S = twipsHeight(form.StatusBar1);

    passOver([&] { common::moveTwips(form.SSTab1, 50, 550, W - 200, H - 550 - S - 450); });
    passOver([&] {
        common::moveTwips(form.picUserGroups, 100, 400, twipsWidth(form.SSTab1) - 200, twipsHeight(form.SSTab1) - 500);
    });
    passOver([&] {
        common::moveTwips(form.picUsers, 100, 400, twipsWidth(form.SSTab1) - 200, twipsHeight(form.SSTab1) - 500);
    });
    passOver([&] {
        // The list fills the page below its find row.
        QWidget* list = form.lstUsers;
        common::moveTwips(list, twipsLeft(list), twipsTop(list), twipsWidth(list),
                          twipsHeight(form.picUsers) - twipsTop(list));
    });
    passOver([&] {
        QWidget* tab = form.tabDetalii;
        common::moveTwips(tab, twipsLeft(tab), twipsTop(tab), twipsWidth(tab), twipsHeight(form.picUsers));
    });
    passOver([&] {
        QWidget* tab = form.tabDetalii;
        common::moveTwips(tab, twipsLeft(tab), twipsTop(tab), twipsWidth(form.picUsers) - twipsLeft(tab),
                          twipsHeight(tab));
    });
    passOver([&] {
        QWidget* frame = form.fraGroup;
        common::moveTwips(frame, twipsLeft(frame), twipsTop(frame), twipsWidth(frame),
                          twipsHeight(form.picUsers) - twipsTop(frame) - 100);
    });
    passOver([&] {
        QWidget* list = form.lstGroups;
        common::moveTwips(list, twipsLeft(list), twipsTop(list), twipsWidth(list),
                          twipsHeight(form.fraGroup) - twipsTop(list) - 100);
    });
    placeScrollBars(form, overflow);
}

void picUserGroups_Resize(frmMain& form) {
    QWidget* page = form.picUserGroups;
    passOver([&] {
        // The list fills the page below its find row.
        QWidget* list = form.lstGroupsConfig;
        common::moveTwips(list, 0, FindBox::ListTop, twipsWidth(list), twipsHeight(page) - FindBox::ListTop);
    });
    passOver([&] {
        // The width is measured from where the frame stood before this move.
        QWidget* frame = form.fraUserGroup;
        const int newLeft = twipsLeft(form.lstGroupsConfig) + twipsWidth(form.lstGroupsConfig) + 100;
        common::moveTwips(frame, newLeft, 0, twipsWidth(page) - twipsLeft(frame), twipsHeight(page));
    });
    passOver([&] {
        QWidget* tree = form.twOperations;
        common::moveTwips(tree, twipsLeft(form.lstAuthors) + 20, twipsTop(tree), twipsWidth(form.fraUserGroup) - 270,
                          twipsHeight(form.fraUserGroup) - twipsTop(tree) - 150);
    });
}

} // namespace mainwindow
