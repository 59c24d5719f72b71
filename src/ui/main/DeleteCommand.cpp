#include "ui/main/DeleteCommand.h"

#include "store/GroupStore.h"
#include "store/UserStore.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/MessageBox.h"
#include "ui/common/ShowErrors.h"
#include "ui/common/TabControl.h"
#include "ui/main/ToolbarCommands.h"
#include "ui/main/UnsavedChanges.h"
#include "ui/main/frmMain.h"

namespace mainwindow {

namespace {

constexpr int Yes = 6;

// The selected item of list once the administrator confirmed deleting it and settled the unsaved
// changes of the other editor, which the refresh after the deletion reloads; null otherwise. The
// deleted record's own editor is emptied anyway. A save answered to the question refreshes the
// lists, so the item is found again by its key.
QTreeWidgetItem* confirmedItem(frmMain& form, KeyedTreeWidget* list, const QString& question,
                               UnsavedChanges::Part other) {
    const QTreeWidgetItem* item = list->selectedItem();
    if (!item || common::MsgBox(question + item->text(0) + QStringLiteral("'?"), 36, common::AppTitle(), &form) != Yes)
        return nullptr;
    const QString key = KeyedTreeWidget::keyOf(item);
    if (!form.unsavedChanges().settle(other))
        return nullptr;
    return list->find(key);
}

} // namespace

void Delete(frmMain& form) {
    common::showErrors(QStringLiteral("Delete()"), [&] {
        switch (form.SSTab1->currentIndex()) {
        case 1: {
            QTreeWidgetItem* user = confirmedItem(form, form.lstUsers, QStringLiteral("Stergem utilizatorul '"),
                                                  UnsavedChanges::Part::Group);
            if (!user || !store::DropUser(KeyedTreeWidget::tagOf(user).toInt(), user->text(0)))
                return;
            form.lstUsers->removeKeyed(KeyedTreeWidget::keyOf(user));
            // Nothing of the deleted user (its fields, groups, typed password) may stay on screen
            // for a later save to write over another user.
            mainwindow::NewUser(form);
            break;
        }
        case 0: {
            QTreeWidgetItem* group = confirmedItem(form, form.lstGroupsConfig, QStringLiteral("Stergem grupul '"),
                                                   UnsavedChanges::Part::User);
            if (!group || !store::DropGroup(KeyedTreeWidget::tagOf(group).toInt()))
                return;
            form.lstGroupsConfig->removeKeyed(KeyedTreeWidget::keyOf(group));
            mainwindow::NewGroup(form);
            break;
        }
        default:
            return;
        }
        form.RefreshMe();
    });
}

} // namespace mainwindow
