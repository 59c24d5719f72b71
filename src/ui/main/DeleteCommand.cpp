#include "ui/main/DeleteCommand.h"

#include "store/GroupStore.h"
#include "store/UserStore.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/MessageBox.h"
#include "ui/common/ShowErrors.h"
#include "ui/common/TabControl.h"
#include "ui/groups/GroupEditor.h"
#include "ui/main/ChangedElsewhereQuestion.h"
#include "ui/main/ToolbarCommands.h"
#include "ui/main/UnsavedChanges.h"
#include "ui/main/frmMain.h"
#include "ui/users/UserEditor.h"

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

// Runs drop with what the editor loaded; a record changed elsewhere since is asked about first
// ("Delete anyway" drops it all the same, "Reload" shows it as it is now), and one deleted
// elsewhere is said to be gone. True once dropped.
template <typename Drop, typename Reload>
bool dropAskingAboutChanges(frmMain& form, const QString& record, const QString& company, Drop&& drop,
                            Reload&& reload) {
    bool overwrite = false;
    for (;;) {
        try {
            return drop(overwrite);
        } catch (const store::ChangedElsewhere& e) {
            const ChangedElsewhereAnswer answer = askAboutChangedElsewhere(&form, record, e.changes(), company, true);
            if (e.changes().deleted) {
                form.RefreshMe();
                return false;
            }
            if (answer == ChangedElsewhereAnswer::Reload)
                reload();
            if (answer != ChangedElsewhereAnswer::Overwrite)
                return false;
            overwrite = true;
        }
    }
}

} // namespace

void Delete(frmMain& form) {
    common::showErrors(QStringLiteral("Delete()"), [&] {
        switch (form.SSTab1->currentIndex()) {
        case 1: {
            QTreeWidgetItem* user = confirmedItem(form, form.lstUsers, QStringLiteral("Stergem utilizatorul '"),
                                                  UnsavedChanges::Part::Group);
            if (!user)
                return;
            const int usID = KeyedTreeWidget::tagOf(user).toInt();
            QString loginLeft;
            const bool dropped = dropAskingAboutChanges(
                form, QStringLiteral("user '%1'").arg(user->text(0)), QString(),
                [&](bool overwrite) {
                    return store::DropUser(usID, user->text(0), &form.userEditor().version(), overwrite, &loginLeft);
                },
                [&] { form.LoadUser(usID); });
            if (!dropped)
                return;
            if (!loginLeft.isEmpty())
                common::MsgBox(loginLeft, 48, common::AppTitle(), &form);
            form.lstUsers->removeKeyed(KeyedTreeWidget::keyOf(user));
            // Nothing of the deleted user (its fields, groups, typed password) may stay on screen
            // for a later save to write over another user.
            mainwindow::NewUser(form);
            break;
        }
        case 0: {
            QTreeWidgetItem* group = confirmedItem(form, form.lstGroupsConfig, QStringLiteral("Stergem grupul '"),
                                                   UnsavedChanges::Part::User);
            if (!group)
                return;
            const int grID = KeyedTreeWidget::tagOf(group).toInt();
            const QTreeWidgetItem* company = form.lstAuthors->selectedItem();
            const bool dropped = dropAskingAboutChanges(
                form, QStringLiteral("group '%1'").arg(group->text(0)), company ? company->text(0) : QString(),
                [&](bool overwrite) { return store::DropGroup(grID, &form.groupEditor().version(), overwrite); },
                [&] { form.LoadGrp(grID); });
            if (!dropped)
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
