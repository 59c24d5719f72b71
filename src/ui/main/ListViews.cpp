#include "ui/main/ListViews.h"

#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/ListSorting.h"
#include "ui/main/UnsavedChanges.h"
#include "ui/main/frmMain.h"

namespace ListViews {

void Connect(frmMain& form) {
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
    form.lstAuthors_ItemClick(item);
}

void lstGroupsConfig_ItemClick(frmMain& form, QTreeWidgetItem* item) {
    if (!item)
        return;
    form.LoadGrp(KeyedTreeWidget::tagOf(item).toInt());
}

void lstUsers_ItemClick(frmMain& form, QTreeWidgetItem* item) {
    if (!item)
        return;
    form.LoadUser(KeyedTreeWidget::tagOf(item).toInt());
}

} // namespace ListViews
