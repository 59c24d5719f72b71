#include "ui/groups/GroupClicks.h"

#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/ShowErrors.h"
#include "ui/groups/GroupEditor.h"

namespace groups {

bool lstGroupsConfig_ItemClick(GroupEditor& editor, QTreeWidgetItem* item) {
    if (!item)
        return true;
    return LoadGrp(editor, KeyedTreeWidget::tagOf(item).toInt());
}

bool LoadGrp(GroupEditor& editor, int grID) {
    return common::runCommand("LoadGrp()", [&] { editor.LoadGrp(grID); });
}

} // namespace groups
