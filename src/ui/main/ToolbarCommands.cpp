#include "ui/main/ToolbarCommands.h"

#include "ui/common/KeyedComboBox.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/TabControl.h"
#include "ui/groups/GroupEditor.h"
#include "ui/groups/NewGroup.h"
#include "ui/main/UnsavedChanges.h"
#include "ui/main/frmMain.h"
#include "ui/users/NewUser.h"

#include <QLineEdit>

namespace mainwindow {

void RegisterToolbarCommands(frmMain& form) {
    form.setCommand("keyNewGrp", [&form] {
        if (form.unsavedChanges().settle(UnsavedChanges::Part::Group))
            NewGroup(form);
    });
    form.setCommand("keyNewUser", [&form] {
        if (form.unsavedChanges().settle(UnsavedChanges::Part::User))
            NewUser(form);
    });
    // A refresh would load the group again over changes the save left for later (with the brand
    // tab in front): then the lists keep what the save put in them.
    form.setCommand("keySave", [&form] {
        if (form.Save() && !form.unsavedChanges().changed(UnsavedChanges::Part::All))
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
    groups::NewGroup(form.groupsPage(), *form.ImageList1);
    form.groupEditor().groupEmptied();
    form.unsavedChanges().groupShown();
    form.txtGrpName->setFocus(Qt::OtherFocusReason);
}

void NewUser(frmMain& form) {
    form.SSTab1->setCurrentIndex(1);
    users::NewUser(form.usersPage());
    form.unsavedChanges().userShown();
}

} // namespace mainwindow
