#include "ui/users/UserClicks.h"

#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/ShowErrors.h"
#include "ui/users/UserEditor.h"

namespace users {

bool lstUsers_ItemClick(UserEditor& editor, QTreeWidgetItem* item) {
    if (!item)
        return true;
    return LoadUser(editor, KeyedTreeWidget::tagOf(item).toInt());
}

bool LoadUser(UserEditor& editor, int usID) {
    return common::runCommand("LoadGrp()", [&] { editor.LoadUser(usID); });
}

} // namespace users
