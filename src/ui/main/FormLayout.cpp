#include "ui/main/FormLayout.h"

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

namespace FormLayout {

using twips::height;
using twips::left;
using twips::top;
using twips::width;

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
    const int W = twips::fromPixels(outer.width());
    const int H = twips::fromPixels(outer.height());
    const int S = height(form.StatusBar1);

    passOver([&] { twips::move(form.SSTab1, 50, 550, W - 200, H - 550 - S - 450); });
    passOver([&] { twips::move(form.picUserGroups, 100, 400, width(form.SSTab1) - 200, height(form.SSTab1) - 500); });
    passOver([&] { twips::move(form.picUsers, 100, 400, width(form.SSTab1) - 200, height(form.SSTab1) - 500); });
    passOver([&] {
        QWidget* list = form.lstUsers;
        twips::move(list, left(list), top(list), width(list), height(form.picUsers));
    });
    passOver([&] {
        QWidget* tab = form.tabDetalii;
        twips::move(tab, left(tab), top(tab), width(tab), height(form.lstUsers));
    });
    passOver([&] {
        QWidget* tab = form.tabDetalii;
        twips::move(tab, left(tab), top(tab), width(form.picUsers) - left(tab), height(tab));
    });
    passOver([&] {
        QWidget* frame = form.fraGroup;
        twips::move(frame, left(frame), top(frame), width(frame), height(form.picUsers) - top(frame) - 100);
    });
    passOver([&] {
        QWidget* list = form.lstGroups;
        twips::move(list, left(list), top(list), width(list), height(form.fraGroup) - top(list) - 100);
    });
    placeScrollBars(form, overflow);
}

void picUserGroups_Resize(frmMain& form) {
    QWidget* page = form.picUserGroups;
    passOver([&] {
        QWidget* list = form.lstGroupsConfig;
        twips::move(list, 0, 0, width(list), height(page));
    });
    passOver([&] {
        // The width is measured from where the frame stood before this move.
        QWidget* frame = form.fraUserGroup;
        const int newLeft = left(form.lstGroupsConfig) + width(form.lstGroupsConfig) + 100;
        twips::move(frame, newLeft, 0, width(page) - left(frame), height(page));
    });
    passOver([&] {
        QWidget* tree = form.twOperations;
        twips::move(tree, left(form.lstAuthors) + 20, top(tree), width(form.fraUserGroup) - 270,
                    height(form.fraUserGroup) - top(tree) - 150);
    });
}

} // namespace FormLayout
