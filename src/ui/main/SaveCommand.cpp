#include "ui/main/SaveCommand.h"

#include "store/GroupStore.h"
#include "store/UserStore.h"
#include "ui/common/ItemKey.h"
#include "ui/common/ItemRoles.h"
#include "ui/common/KeyedComboBox.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/ListFill.h"
#include "ui/common/MessageBox.h"
#include "ui/common/ShowErrors.h"
#include "ui/common/TabControl.h"
#include "ui/groups/GroupEditor.h"
#include "ui/groups/OperationTree.h"
#include "ui/main/frmMain.h"
#include "ui/users/UserEditor.h"

#include <QLineEdit>
#include <algorithm>

namespace mainwindow {

namespace {

const QString GroupNotLoaded = QStringLiteral(
    "Grupul sau operatiile si punctele de lucru ale societatii nu s-au incarcat corect, asa ca grupul nu a fost "
    "salvat. Selectati din nou grupul si societatea!");

const QString UserNotLoaded = QStringLiteral(
    "Utilizatorul nu s-a incarcat corect, asa ca nu a fost salvat nimic. Selectati din nou utilizatorul!");

// The id of a list's selected item, 0 when nothing is selected (a new record).
int selectedId(const KeyedTreeWidget* list) {
    const QTreeWidgetItem* item = list->selectedItem();
    return item ? KeyedTreeWidget::tagOf(item).toInt() : 0;
}

// Shows a refusal; page < 0 leaves SSTab1 as it is.
void refuse(frmMain& form, const QString& message, int page, QWidget* focus) {
    common::MsgBox(message, 48, common::AppTitle(), &form);
    if (page >= 0)
        form.SSTab1->setCurrentIndex(page);
    focus->setFocus(Qt::OtherFocusReason);
}

// Whether every field both editors need is there, asking for the first one missing. Only a
// text equal to the empty text is missing: blanks pass.
bool fieldsComplete(frmMain& form, bool savesGroup) {
    struct Check {
        bool missing;
        const char* message;
        int page;
        QWidget* focus;
    };
    const Check checks[] = {
        {form.txtGrpName->text().isEmpty(), "Introduceti denumirea grupului!", 0, form.txtGrpName},
        {form.txtFullName->text().isEmpty(), "Introduceti denumirea grupului!", 0, form.txtFullName},
        {!form.lstAuthors->selectedItem(), "Selectati autorul!", 0, form.lstAuthors},
        {form.txtUserName->text().isEmpty(), "Introduceti utilizatorul!", 1, form.txtUserName},
        {form.txtAlias->text().isEmpty(), "Introduceti utilizatorul!", 1, form.txtAlias},
        {form.txtDisplay->text().isEmpty(), "Introduceti numele utilizatorului!", 1, form.txtDisplay},
    };
    for (const Check& check : checks) {
        if (check.missing) {
            refuse(form, QString::fromUtf8(check.message), check.page, check.focus);
            return false;
        }
    }
    // A list left empty or stale by a failed load would otherwise delete grants that were never
    // shown, or give the group another company's.
    if (savesGroup && !form.groupEditor().loadedCompletely()) {
        refuse(form, GroupNotLoaded, 0, form.lstAuthors);
        return false;
    }
    // An existing user written from an editor that could not load it would lose its groups.
    if (selectedId(form.lstUsers) != 0 && !form.userEditor().loadedCompletely()) {
        refuse(form, UserNotLoaded, 1, form.lstUsers);
        return false;
    }
    // The password rules are checked here, with the fields, so that a refused password leaves
    // the group unsaved too.
    if (selectedId(form.lstUsers) == 0 && form.txtPassword->text().isEmpty()) {
        refuse(form, QStringLiteral("Introduceti parola!"), -1, form.txtPassword);
        return false;
    }
    if (form.txtPassword->text() != form.txtVerifyPassword->text()) {
        refuse(form, QStringLiteral("Parola incorecta!"), -1, form.txtVerifyPassword);
        return false;
    }
    return true;
}

// The checked operation nodes as "opID#$#Id", in key order; module nodes, whose keys hold no
// separator, and nodes without a check are left out. The tree keeps its checked nodes marked, so
// a large tree is not walked.
QStringList checkedOperations(const KeyedTreeWidget* tree) {
    QStringList operations;
    for (const QTreeWidgetItem* node : tree->markedItems()) {
        if (groups::imageOf(node) != CheckImage::Checked)
            continue;
        const QStringList fields = KeyedTreeWidget::keyOf(node).split(groups::Separator);
        if (fields.size() >= 2)
            operations << fields.at(0).mid(1) + groups::Separator + fields.value(2);
    }
    operations.sort();
    return operations;
}

// The tags of the ticked items of a list, in tag order. The list knows its ticked items, so a
// large list is not walked.
QStringList tickedTags(const KeyedTreeWidget* list) {
    QList<int> ids;
    for (const QTreeWidgetItem* item : list->tickedItems())
        if (!item->parent() && item->checkState(0) == Qt::Checked)
            ids << KeyedTreeWidget::tagOf(item).toInt();
    std::sort(ids.begin(), ids.end());
    QStringList tags;
    for (const int id : std::as_const(ids))
        tags << QString::number(id);
    return tags;
}

void saveGroup(frmMain& form) {
    const bool isNew = !form.lstGroupsConfig->selectedItem();
    int grID = selectedId(form.lstGroupsConfig);
    const int auID = KeyedTreeWidget::tagOf(form.lstAuthors->selectedItem()).toInt();
    store::StoreGroup(grID, form.txtGrpName->text(), form.txtFullName->text(), form.txtNotes->text(), auID,
                      checkedOperations(form.twOperations), tickedTags(form.lstPuncteLucru));

    if (isNew) {
        QTreeWidgetItem* item = common::addRecord(form.lstGroupsConfig, grID, form.txtGrpName->text());
        form.lstGroupsConfig->scrollToItem(item);
        form.lstGroupsConfig->selectItem(item);
        common::addRecord(form.lstGroups, grID, form.txtGrpName->text())->setText(1, form.txtFullName->text());
        return;
    }
    // The group is committed: a list item that is gone meanwhile is no reason to report a failure.
    const QString key = common::ItemKey(grID);
    for (KeyedTreeWidget* list : {form.lstGroupsConfig, form.lstGroups}) {
        if (QTreeWidgetItem* item = list->find(key))
            item->setText(0, form.txtGrpName->text());
    }
}

void saveUser(frmMain& form) {
    QTreeWidgetItem* selected = form.lstUsers->selectedItem();
    int usID = selectedId(form.lstUsers);
    const int IdPers = form.cmbPers->selectedTag().toInt();
    store::StoreUser(usID, IdPers, form.txtUserName->text(), form.txtDisplay->text(), form.txtDomain->text(),
                     form.txtAlias->text(), tickedTags(form.lstGroups), form.txtPassword->text());

    if (!selected) {
        QTreeWidgetItem* item = common::addRecord(form.lstUsers, usID, form.txtUserName->text());
        item->setText(1, form.txtDisplay->text());
        form.lstUsers->scrollToItem(item);
        form.lstUsers->selectItem(item);
        return;
    }
    selected->setText(0, form.txtUserName->text());
    selected->setText(1, form.txtDisplay->text());
}

} // namespace

bool Save(frmMain& form) {
    bool saved = false;
    common::showErrors(QStringLiteral("SaveGroup()"), [&] {
        const bool savesGroup = form.tabDetalii->currentIndex() == 0;
        if (!fieldsComplete(form, savesGroup))
            return;
        if (savesGroup)
            saveGroup(form);
        saveUser(form);
        saved = true;
    });
    return saved;
}

} // namespace mainwindow
