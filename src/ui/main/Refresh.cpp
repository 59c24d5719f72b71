#include "ui/main/Refresh.h"

#include "ui/common/ItemKey.h"
#include "ui/common/KeyedComboBox.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/ShowErrors.h"
#include "ui/groups/GroupEditor.h"
#include "ui/groups/GroupListFillers.h"
#include "ui/main/ListViews.h"
#include "ui/main/RefreshReport.h"
#include "ui/main/frmMain.h"
#include "ui/users/BrandSettings.h"
#include "ui/users/UserEditor.h"
#include "ui/users/UserListFillers.h"

#include <QLineEdit>

namespace mainwindow {

namespace {

// Selects the item of list with key, or its first item when key is empty or has no item; an
// empty list is left without a selection.
void selectKeyOrFirst(KeyedTreeWidget* list, const QString& key) {
    QTreeWidgetItem* item = key.isEmpty() ? nullptr : list->find(key);
    if (!item)
        item = list->topLevelItem(0);
    if (item)
        list->selectItem(item);
}

} // namespace

void RefreshMe(frmMain& form) {
    const QString groupKey = KeyedTreeWidget::keyOf(form.lstGroupsConfig->selectedItem());
    const int userId = KeyedTreeWidget::tagOf(form.lstUsers->selectedItem()).toInt();
    const QString companyKey = KeyedTreeWidget::keyOf(form.lstAuthors->selectedItem());

    for (QLineEdit* box : {form.txtGrpName, form.txtFullName, form.txtNotes, form.txtDomain, form.txtUserName,
                           form.txtAlias, form.txtDisplay})
        box->clear();

    RefreshReport report;
    report.fill(QStringLiteral("the groups"), [&] { groups::FillGroupList(form.lstGroupsConfig, false); });
    const bool groupsRead =
        report.fill(QStringLiteral("the groups"), [&] { groups::FillGroupList(form.lstGroups, true); });
    report.fill(QStringLiteral("the users"), [&] { users::FillUserList(form.lstUsers); });
    report.fill(QStringLiteral("the companies"), [&] { groups::FillAuthorList(form.lstAuthors); });
    report.fill(QStringLiteral("the modules and operations"), [&] { report.leftOut(form.FillOperationTree()); });
    const bool personsRead = report.fill(QStringLiteral("the persons"), [&] { users::FillPersonCombo(form.cmbPers); });
    form.userEditor().listsFilled(groupsRead && personsRead);

    // The company first: the group's load ends with the item click of the selected company.
    passOver([&] { selectKeyOrFirst(form.lstAuthors, companyKey); });
    passOver([&] {
        if (QTreeWidgetItem* company = form.lstAuthors->selectedItem())
            form.lstAuthors_ItemClick(company);
    });
    passOver([&] { selectKeyOrFirst(form.lstGroupsConfig, groupKey); });
    passOver([&] { mainwindow::lstGroupsConfig_ItemClick(form, form.lstGroupsConfig->selectedItem()); });
    if (const QTreeWidgetItem* company = form.lstAuthors->selectedItem();
        company && !form.groupEditor().workPointsError().isEmpty())
        report.unread(QStringLiteral("the work points of the company \"%1\"").arg(company->text(0)),
                      form.groupEditor().workPointsError());

    const bool userLoaded = common::showErrors("RefreshMe()", [&] {
        if (form.lstUsers->topLevelItemCount() == 0) {
            // No user to load: the brand roles listed are the user's shown before.
            form.lstUserBrand->clear();
            return;
        }
        // A user deleted elsewhere since the last refresh is not an error: the first user is
        // shown instead.
        selectKeyOrFirst(form.lstUsers, userId != 0 ? common::ItemKey(userId) : QString());
        QTreeWidgetItem* user = form.lstUsers->selectedItem();
        form.lstUsers->scrollToItem(user);
        mainwindow::lstUsers_ItemClick(form, user);
    });
    // An error in the user's load ends the refresh; with no users at all the combo boxes are still
    // filled. The fillers pass over their own failures.
    if (userLoaded) {
        BrandSettings::FillBrandCombo(form.cboBrand);
        BrandSettings::FillAuthorCombo(form.cboAuthor);
    }
    report.show(form);
}

} // namespace mainwindow
