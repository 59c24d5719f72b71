#include "ui/main/ListViews.h"

#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/ListSorting.h"
#include "ui/main/frmMain.h"

namespace ListViews {

void Connect(frmMain& form) {
    ListSorting::attach(form.lstGroups);
    ListSorting::attach(form.lstGroupsConfig);
    ListSorting::attach(form.lstUsers);
    QObject::connect(form.lstGroupsConfig, &QTreeWidget::itemClicked, &form,
                     [&form](QTreeWidgetItem* item) { lstGroupsConfig_ItemClick(form, item); });
    QObject::connect(form.lstUsers, &QTreeWidget::itemClicked, &form,
                     [&form](QTreeWidgetItem* item) { lstUsers_ItemClick(form, item); });
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
