#include "ui/main/ToolbarCommands.h"

#include "ui/common/KeyedComboBox.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/groups/GroupEditor.h"
#include "ui/groups/OperationTree.h"
#include "ui/common/TabControl.h"
#include "ui/main/UnsavedChanges.h"
#include "ui/main/frmMain.h"

#include <QLineEdit>

namespace ToolbarCommands {

void Register(frmMain& form) {
    form.setCommand("keyNewGrp", [&form] {
        if (form.unsavedChanges().settle(UnsavedChanges::Part::Group))
            NewGroup(form);
    });
    form.setCommand("keyNewUser", [&form] {
        if (form.unsavedChanges().settle(UnsavedChanges::Part::User))
            NewUser(form);
    });
    form.setCommand("keySave", [&form] {
        if (form.Save())
            form.RefreshMe();
    });
    form.setCommand("keyRefresh", [&form] {
        if (form.unsavedChanges().settle(UnsavedChanges::Part::All))
            form.RefreshMe();
    });
    form.setCommand("keyDelete", [&form] { form.Delete(); });
}

void NewGroup(frmMain& form) {
    form.SSTab1->setCurrentIndex(0);
    form.lstGroupsConfig->selectItem(nullptr);
    form.txtGrpName->clear();
    form.txtFullName->clear();
    form.txtNotes->clear();
    form.lstAuthors->untickAll();
    // The work points shown are the last group's grants: a new group must not take them over.
    form.lstPuncteLucru->untickAll();
    OperationTree::ClearOperationChecks(form.twOperations, *form.ImageList1);
    form.groupEditor().groupEmptied();
    form.unsavedChanges().groupShown();
    form.txtGrpName->setFocus(Qt::OtherFocusReason);
}

void NewUser(frmMain& form) {
    form.SSTab1->setCurrentIndex(1);
    form.lstUsers->selectItem(nullptr);
    form.txtDomain->clear();
    form.txtUserName->clear();
    form.txtAlias->clear();
    form.txtDisplay->clear();
    // A box hidden behind the brand settings tab takes the focus when it is shown again; the
    // command still clears the whole editor.
    form.txtUserName->setFocus(Qt::OtherFocusReason);
    form.lstGroups->untickAll();
    form.cmbPers->clearSelection();
    form.txtPassword->clear();
    form.txtVerifyPassword->clear();
    form.unsavedChanges().userShown();
}

} // namespace ToolbarCommands
