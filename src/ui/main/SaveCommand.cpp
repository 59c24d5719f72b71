#include "ui/main/SaveCommand.h"

#include "store/GroupStore.h"
#include "store/UserStore.h"
#include "ui/common/ItemKey.h"
#include "ui/common/ItemRoles.h"
#include "ui/common/KeyedComboBox.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/ListFill.h"
#include "ui/common/MessageBox.h"
#include "ui/common/ShowControl.h"
#include "ui/common/ShowErrors.h"
#include "ui/groups/GroupEditor.h"
#include "ui/groups/OperationTree.h"
#include "ui/main/ChangedElsewhereQuestion.h"
#include "ui/main/frmMain.h"
#include "ui/users/UserEditor.h"

#include <QLineEdit>
#include <algorithm>

namespace mainwindow {

namespace {

const QString GroupNotLoaded = QStringLiteral(
    "Grupul sau operatiile si punctele de lucru ale societatii nu s-au incarcat corect, asa ca grupul nu a fost "
    "salvat. Selectati din nou grupul si societatea!");

const QString TickedInPart = QStringLiteral(
    "These operations are listed in more than one module, ticked in one and not in another: %1. Each has one "
    "right for all its modules, so the group was not saved. Tick or untick each of them in every module, then "
    "save again.");

const QString UserNotLoaded = QStringLiteral(
    "Utilizatorul nu s-a incarcat corect, asa ca nu a fost salvat nimic. Selectati din nou utilizatorul!");

const QString CodeWithBlanks =
    QStringLiteral("Codul utilizatorului nu poate incepe sau se termina cu spatii: este si numele login-ului!");

const QString PasswordMissing = QStringLiteral("Introduceti parola!");

const QString PersonNotListed = QStringLiteral("Selectati persoana din lista sau lasati campul gol!");

// The id of a list's selected item, 0 when nothing is selected (a new record).
int selectedId(const KeyedTreeWidget* list) {
    const QTreeWidgetItem* item = list->selectedItem();
    return item ? KeyedTreeWidget::tagOf(item).toInt() : 0;
}

// Shows a refusal and brings the field to the front with the focus.
void refuse(frmMain& form, const QString& message, QWidget* focus) {
    common::MsgBox(message, 48, common::AppTitle(), &form);
    common::showControl(focus);
}

struct Check {
    bool failed;
    QString message;
    QWidget* focus;
};

// The first failed check is refused; true when all passed.
bool passes(frmMain& form, std::initializer_list<Check> checks) {
    for (const Check& check : checks) {
        if (check.failed) {
            refuse(form, check.message, check.focus);
            return false;
        }
    }
    return true;
}

// Whether cmbPers shows a person of its list, or nothing: a text typed or cut short that is no
// item's text would otherwise be saved as no person at all.
bool personBoxValid(const KeyedComboBox* box) {
    const QString text = box->currentText();
    return text.isEmpty() || (box->currentIndex() >= 0 && box->itemText(box->currentIndex()) == text);
}

// Whether every field of the editors being saved is there, asking for the first one that is not.
// Only a text equal to the empty text is missing: blanks pass, except in the user code.
bool fieldsComplete(frmMain& form, bool saveGroup, bool saveUser) {
    const QString code = form.txtUserName->text();
    if (saveGroup &&
        !passes(form, {
                          {form.txtGrpName->text().isEmpty(), "Introduceti denumirea grupului!", form.txtGrpName},
                          {form.txtFullName->text().isEmpty(), "Introduceti denumirea grupului!", form.txtFullName},
                          {!form.lstAuthors->selectedItem(), "Selectati autorul!", form.lstAuthors},
                      }))
        return false;
    if (saveUser &&
        !passes(form, {
                          {code.isEmpty(), "Introduceti utilizatorul!", form.txtUserName},
                          {form.txtAlias->text().isEmpty(), "Introduceti utilizatorul!", form.txtAlias},
                          {form.txtDisplay->text().isEmpty(), "Introduceti numele utilizatorului!", form.txtDisplay},
                          {code.trimmed() != code || code.trimmed().isEmpty(), CodeWithBlanks, form.txtUserName},
                          {!personBoxValid(form.cmbPers), PersonNotListed, form.cmbPers},
                      }))
        return false;
    // A list left empty or stale by a failed load would otherwise write grants that were never
    // shown, or give the group another company's.
    if (saveGroup && !passes(form, {{!form.groupEditor().loadedCompletely(), GroupNotLoaded, form.lstAuthors}}))
        return false;
    if (saveGroup) {
        const QStringList split = groups::operationsTickedInPart(form.twOperations);
        if (!passes(form, {{!split.isEmpty(), TickedInPart.arg(split.join(QStringLiteral(", "))), form.twOperations}}))
            return false;
    }
    if (!saveUser)
        return true;
    // The password rules are checked here, with the fields, so that a refused password leaves
    // the group unsaved too.
    const bool isNew = selectedId(form.lstUsers) == 0;
    return passes(form, {
                            {!isNew && !form.userEditor().loadedCompletely(), UserNotLoaded, form.lstUsers},
                            {isNew && form.txtPassword->text().isEmpty(), PasswordMissing, form.txtPassword},
                            {form.txtPassword->text() != form.txtVerifyPassword->text(), "Parola incorecta!",
                             form.txtVerifyPassword},
                        });
}

// Whether the user's code is no other user's code; a code names one server login, so a second
// user with it would take over the first one's login.
bool codeFree(frmMain& form) {
    const QString other = store::OtherUserWithCode(selectedId(form.lstUsers), form.txtUserName->text());
    if (other.isNull())
        return true;
    refuse(form, QStringLiteral("Codul '%1' este deja codul utilizatorului '%2'!").arg(form.txtUserName->text(), other),
           form.txtUserName);
    return false;
}

// The operation of a node as the store takes it, "opID#$#Id"; a null text for a module node, whose
// key holds no separator.
QString operationItem(const QTreeWidgetItem* node) {
    const QStringList fields = KeyedTreeWidget::keyOf(node).split(groups::Separator);
    return fields.size() >= 2 ? fields.at(0).mid(1) + groups::Separator + fields.value(2) : QString();
}

// The checked operation nodes as "opID#$#Id", in key order, each once; module nodes and nodes
// without a check are left out. The tree keeps its checked nodes marked, so a large tree is not
// walked.
QStringList checkedOperations(const KeyedTreeWidget* tree) {
    QStringList operations;
    for (const QTreeWidgetItem* node : tree->markedItems())
        if (groups::imageOf(node) == CheckImage::Checked)
            if (const QString item = operationItem(node); !item.isNull())
                operations << item;
    operations.sort();
    // An operation listed in two modules has a node in each: its grant is one row.
    operations.removeDuplicates();
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

// Whether the tree showed the operation with a check image, so the administrator could see and
// change its grant; parent operations and operations the tree could not place show none.
bool showsOperation(const KeyedTreeWidget* tree, int opID, int mdID, int Id) {
    const QTreeWidgetItem* node = tree->find(groups::operationKey(opID, mdID, Id));
    return node && groups::imageOf(node) != CheckImage::None;
}

// After a store found its record changed elsewhere: true to store again (overwriting, or as a
// new record), false when the administrator reloaded the record or cancelled.
bool storeAgain(frmMain& form, const store::ChangedElsewhere& e, const QString& record, const QString& company,
                bool& overwrite, bool& asNew, const std::function<void()>& reload) {
    switch (askAboutChangedElsewhere(&form, record, e.changes(), company, false)) {
    case ChangedElsewhereAnswer::Overwrite:
        overwrite = true;
        return true;
    case ChangedElsewhereAnswer::SaveAsNew:
        asNew = true;
        return true;
    case ChangedElsewhereAnswer::Reload:
        reload();
        return false;
    default:
        return false;
    }
}

// The texts of the list's items for ids, as the list showed them; an id it no longer lists is
// named by its number.
QStringList listedTexts(const KeyedTreeWidget* list, const QList<int>& ids) {
    QStringList texts;
    for (const int id : ids) {
        const QTreeWidgetItem* item = list->find(common::ItemKey(id));
        texts << (item ? item->text(0) : QString::number(id));
    }
    return texts;
}

// The texts of the checked operation nodes of items "opID#$#Id", as the tree showed them, sorted.
QStringList operationTexts(const KeyedTreeWidget* tree, const QStringList& items) {
    const QSet<QString> wanted(items.cbegin(), items.cend());
    QStringList texts;
    for (const QTreeWidgetItem* node : tree->markedItems())
        if (const QString item = operationItem(node); !item.isNull() && wanted.contains(item))
            texts << node->text(0);
    texts.sort();
    texts.removeDuplicates();
    return texts;
}

// Says which grants the committed save left out because someone else deleted their records.
void reportGrantsGone(frmMain& form, const store::GroupGrantsGone& gone, const QString& company) {
    if (gone.author)
        common::MsgBox(QStringLiteral("The group was saved, but not its rights for the company '%1', which someone "
                                      "else deleted since the list was read.")
                           .arg(company),
                       48, common::AppTitle(), &form);
    else if (gone.any())
        common::MsgBox(
            QStringLiteral("The group was saved, but without these rights, whose records someone else "
                           "deleted since the lists were read:\r") +
                (operationTexts(form.twOperations, gone.operations) + listedTexts(form.lstPuncteLucru, gone.workPoints))
                    .join(QLatin1Char('\r')),
            48, common::AppTitle(), &form);
}

// A record saved again as a new one takes the place of the one that is gone in the lists.
void removeFromLists(std::initializer_list<KeyedTreeWidget*> lists, int id) {
    for (KeyedTreeWidget* list : lists)
        if (list->find(common::ItemKey(id)))
            list->removeKeyed(common::ItemKey(id));
}

bool writeGroup(frmMain& form) {
    bool isNew = !form.lstGroupsConfig->selectedItem();
    int grID = selectedId(form.lstGroupsConfig);
    QTreeWidgetItem* company = form.lstAuthors->selectedItem();
    const int auID = KeyedTreeWidget::tagOf(company).toInt();
    const KeyedTreeWidget* tree = form.twOperations;
    const KeyedTreeWidget* points = form.lstPuncteLucru;
    store::GroupSaveContext context;
    // A company whose box was off when clicked showed none of its grants checked, granted or not.
    const bool grantsShown = form.groupEditor().grantsShown();
    context.showsOperation = [tree, grantsShown](int opID, int mdID, int Id) {
        return grantsShown && showsOperation(tree, opID, mdID, Id);
    };
    context.showsWorkPoint = [points](int id) { return points->find(common::ItemKey(id)) != nullptr; };
    context.version = &form.groupEditor().version();
    store::GroupGrantsGone gone;
    context.gone = &gone;
    for (;;) {
        try {
            store::StoreGroup(grID, form.txtGrpName->text(), form.txtFullName->text(), form.txtNotes->text(), auID,
                              checkedOperations(form.twOperations), tickedTags(form.lstPuncteLucru), context);
            break;
        } catch (const store::ChangedElsewhere& e) {
            bool asNew = false;
            const int loaded = grID;
            if (!storeAgain(form, e, QStringLiteral("group '%1'").arg(form.lstGroupsConfig->selectedItem()->text(0)),
                            company->text(0), context.overwrite, asNew, [&] { form.LoadGrp(loaded); }))
                return false;
            if (asNew) {
                removeFromLists({form.lstGroupsConfig, form.lstGroups}, grID);
                grID = 0;
                isNew = true;
            }
        }
    }

    if (isNew) {
        QTreeWidgetItem* item = common::addRecord(form.lstGroupsConfig, grID, form.txtGrpName->text());
        form.lstGroupsConfig->scrollToItem(item);
        form.lstGroupsConfig->selectItem(item);
        common::addRecord(form.lstGroups, grID, form.txtGrpName->text())->setText(1, form.txtFullName->text());
    } else {
        // The group is committed: a list item that is gone meanwhile is no reason to report a failure.
        const QString key = common::ItemKey(grID);
        for (KeyedTreeWidget* list : {form.lstGroupsConfig, form.lstGroups}) {
            if (QTreeWidgetItem* item = list->find(key))
                item->setText(0, form.txtGrpName->text());
        }
    }
    reportGrantsGone(form, gone, company->text(0));
    return true;
}

// The person to write: the one the box shows, or, when it shows none, the person the user was
// loaded with if the box could not list it; only a person the administrator saw can be untied.
int personOf(frmMain& form, int usID) {
    const int shown = form.cmbPers->selectedTag().toInt();
    if (shown != 0 || !form.cmbPers->currentText().isEmpty())
        return shown;
    return form.userEditor().unshownPerson(usID);
}

bool writeUser(frmMain& form) {
    QTreeWidgetItem* selected = form.lstUsers->selectedItem();
    int usID = selectedId(form.lstUsers);
    const KeyedTreeWidget* groups = form.lstGroups;
    QStringList loginWarnings;
    store::UserSaveContext context;
    context.showsGroup = [groups](int grID) { return groups->find(common::ItemKey(grID)) != nullptr; };
    context.loginWarnings = &loginWarnings;
    QList<int> groupsGone;
    context.groupsGone = &groupsGone;
    context.version = &form.userEditor().version();
    const int person = personOf(form, usID);
    for (;;) {
        try {
            store::StoreUser(usID, person, form.txtUserName->text(), form.txtDisplay->text(), form.txtDomain->text(),
                             form.txtAlias->text(), tickedTags(form.lstGroups), form.txtPassword->text(), context);
            break;
        } catch (const store::ChangedElsewhere& e) {
            bool asNew = false;
            const int loaded = usID;
            if (!storeAgain(form, e, QStringLiteral("user '%1'").arg(selected->text(0)), QString(), context.overwrite,
                            asNew, [&] { form.LoadUser(loaded); }))
                return false;
            if (asNew) {
                // A new user gets its login with the password typed, as one made with New User: a
                // user saved again without one would have no login, or an old one's password.
                if (!passes(form, {{form.txtPassword->text().isEmpty(), PasswordMissing, form.txtPassword}}))
                    return false;
                removeFromLists({form.lstUsers}, usID);
                selected = nullptr;
                usID = 0;
            }
        } catch (const db::DbError& e) {
            // Another user took the code since the window showed it free, or no one asked yet.
            if (e.number() != store::UserCodeTaken || codeFree(form))
                throw;
            return false;
        }
    }

    if (!selected) {
        QTreeWidgetItem* item = common::addRecord(form.lstUsers, usID, form.txtUserName->text());
        item->setText(1, form.txtDisplay->text());
        form.lstUsers->scrollToItem(item);
        form.lstUsers->selectItem(item);
    } else {
        selected->setText(0, form.txtUserName->text());
        selected->setText(1, form.txtDisplay->text());
    }
    if (!loginWarnings.isEmpty())
        common::MsgBox(QStringLiteral("The user was saved, but its server login was not changed as asked:\r") +
                           loginWarnings.join(QLatin1Char('\r')),
                       48, common::AppTitle(), &form);
    if (!groupsGone.isEmpty())
        common::MsgBox(QStringLiteral("The user was saved, but not as a member of these groups, which someone else "
                                      "deleted since the list was read:\r") +
                           listedTexts(form.lstGroups, groupsGone).join(QLatin1Char('\r')),
                       48, common::AppTitle(), &form);
    return true;
}

} // namespace

bool Save(frmMain& form, bool saveGroup, bool saveUser) {
    bool saved = false;
    common::showErrors(QStringLiteral("SaveGroup()"), [&] {
        if (!fieldsComplete(form, saveGroup, saveUser))
            return;
        // With the group written first, a taken user code must be refused before; alone, the user
        // store refuses it itself.
        if (saveGroup && saveUser && !codeFree(form))
            return;
        if (saveGroup && !writeGroup(form))
            return;
        if (saveUser && !writeUser(form))
            return;
        saved = true;
    });
    return saved;
}

} // namespace mainwindow
