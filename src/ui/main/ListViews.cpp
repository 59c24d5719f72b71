#include "ui/main/ListViews.h"

#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/ListSorting.h"
#include "ui/groups/GroupClicks.h"
#include "ui/groups/GroupEditor.h"
#include "ui/main/UnsavedChanges.h"
#include "ui/main/frmMain.h"
#include "ui/users/UserClicks.h"

namespace mainwindow {

void ConnectListViews(frmMain& form) {
    ListSorting::attach(form.lstGroups);
    ListSorting::attach(form.lstGroupsConfig);
    ListSorting::attach(form.lstUsers);
    // A click on a company's check box is an item click too: it selects the company whose work
    // points and operations are then shown, and the box's new state decides what is loaded.
    QObject::connect(form.lstAuthors, &QTreeWidget::itemClicked, &form, [&form](QTreeWidgetItem* item) {
        form.unsavedChanges().clicked(form.lstAuthors, item, &lstAuthors_ItemClick);
    });
    QObject::connect(form.lstGroupsConfig, &QTreeWidget::itemClicked, &form, [&form](QTreeWidgetItem* item) {
        form.unsavedChanges().clicked(form.lstGroupsConfig, item, &lstGroupsConfig_ItemClick);
    });
    QObject::connect(form.lstUsers, &QTreeWidget::itemClicked, &form, [&form](QTreeWidgetItem* item) {
        form.unsavedChanges().clicked(form.lstUsers, item, &lstUsers_ItemClick);
    });
}

void lstAuthors_ItemClick(frmMain& form, QTreeWidgetItem* item) {
    form.groupEditor().lstAuthors_ItemClick(item);
}

void lstGroupsConfig_ItemClick(frmMain& form, QTreeWidgetItem* item) {
    if (!groups::lstGroupsConfig_ItemClick(form.groupEditor(), item))
        form.showConnected(false);
}

void lstUsers_ItemClick(frmMain& form, QTreeWidgetItem* item) {
    if (!users::lstUsers_ItemClick(form.userEditor(), item))
        form.showConnected(false);
}

} // namespace mainwindow
