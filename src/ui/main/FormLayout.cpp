#include "ui/main/FormLayout.h"

#include "ui/common/ShowErrors.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/Twips.h"
#include "ui/common/TabControl.h"
#include "ui/main/frmMain.h"

#include <QGroupBox>
#include <QStatusBar>
#include <QTreeWidget>

namespace FormLayout {

using twips::height;
using twips::left;
using twips::top;
using twips::width;

void Form_Resize(frmMain& form) {
    // The outer size, frame and title bar included.
    const int W = twips::fromPixels(form.frameGeometry().width());
    const int H = twips::fromPixels(form.frameGeometry().height());
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
