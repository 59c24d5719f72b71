#include "ui/groups/NewGroup.h"

#include "ui/common/KeyedTreeWidget.h"
#include "ui/groups/GroupsPage.h"
#include "ui/groups/OperationTree.h"

#include <QLineEdit>

namespace groups {

void NewGroup(GroupsPage& page, ImageList& images) {
    page.lstGroupsConfig->selectItem(nullptr);
    page.txtGrpName->clear();
    page.txtFullName->clear();
    page.txtNotes->clear();
    page.lstAuthors->untickAll();
    page.lstPuncteLucru->untickAll();
    groups::ClearOperationChecks(page.twOperations, images);
}

} // namespace groups
