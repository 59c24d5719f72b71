#include "ui/users/NewUser.h"

#include "ui/common/KeyedComboBox.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/users/UsersPage.h"

#include <QLineEdit>
#include <QTreeWidget>

namespace users {

void NewUser(UsersPage& page) {
    page.lstUsers->selectItem(nullptr);
    page.txtDomain->clear();
    page.txtUserName->clear();
    page.txtAlias->clear();
    page.txtDisplay->clear();
    // A box hidden behind the brand settings tab takes the focus when it is shown again; the
    // command still clears the whole editor.
    page.txtUserName->setFocus(Qt::OtherFocusReason);
    page.lstGroups->untickAll();
    page.cmbPers->clearSelection();
    page.txtPassword->clear();
    page.txtVerifyPassword->clear();
    // The brand roles listed are those of the user shown before; what is chosen on the brand tab
    // stays.
    page.lstUserBrand->clear();
}

} // namespace users
