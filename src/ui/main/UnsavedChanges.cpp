#include "ui/main/UnsavedChanges.h"

#include "ui/common/KeyedComboBox.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/MessageBox.h"
#include "ui/groups/OperationTree.h"
#include "ui/main/frmMain.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>

namespace {

// The keys of the ticked (or grey) top-level items, in key order: what the list shows, however
// it is sorted. The list knows its ticked items, so a large list is not walked.
void addTicks(QStringList& state, const KeyedTreeWidget* list) {
    QStringList ticked;
    for (const QTreeWidgetItem* item : list->tickedItems())
        if (!item->parent())
            ticked << KeyedTreeWidget::keyOf(item) + QLatin1Char('=') + QString::number(item->checkState(0));
    ticked.sort();
    state << QString::number(ticked.size()) << ticked;
}

// "Save", "Discard" or "Cancel", under an arrow cursor even while a command shows the wait cursor.
QMessageBox::StandardButton ask(QWidget* parent) {
    QMessageBox box(QMessageBox::Warning, common::AppTitle(),
                    QStringLiteral("The changes you made have not been saved.\nSave them before going on?"),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    return static_cast<QMessageBox::StandardButton>(common::ExecMessageBox(box));
}

} // namespace

UnsavedChanges::UnsavedChanges(frmMain& form) : QObject(&form), m_form(form) {
    m_form.lstAuthors->viewport()->installEventFilter(this);
    allShown();
}

QStringList UnsavedChanges::companyState() const {
    QStringList state;
    addTicks(state, m_form.lstPuncteLucru);
    // The nodes change only with a refill of the tree, after which every part is taken again.
    state << groups::checkedNodes(m_form.twOperations);
    return state;
}

QStringList UnsavedChanges::groupState() const {
    QStringList state{m_form.txtGrpName->text(), m_form.txtFullName->text(), m_form.txtNotes->text()};
    addTicks(state, m_form.lstAuthors);
    return state;
}

QStringList UnsavedChanges::userState() const {
    const frmMain& f = m_form;
    QStringList state{f.txtDomain->text(),      f.txtUserName->text(),   f.txtAlias->text(),
                      f.txtDisplay->text(),     f.txtPassword->text(),   f.txtVerifyPassword->text(),
                      f.cmbPers->selectedKey(), f.cmbPers->currentText()};
    addTicks(state, f.lstGroups);
    return state;
}

void UnsavedChanges::companyShown() {
    m_company = companyState();
    const QTreeWidgetItem* company = m_form.lstAuthors->selectedItem();
    m_companyKey = KeyedTreeWidget::keyOf(company);
}

void UnsavedChanges::groupShown() {
    m_group = groupState();
    m_groupKey = KeyedTreeWidget::keyOf(m_form.lstGroupsConfig->selectedItem());
    companyShown();
}

void UnsavedChanges::userShown() {
    m_user = userState();
    m_userKey = KeyedTreeWidget::keyOf(m_form.lstUsers->selectedItem());
}

void UnsavedChanges::allShown() {
    groupShown();
    userShown();
}

bool UnsavedChanges::changed(Part part) const {
    switch (part) {
    case Part::Company:
        return companyState() != m_company;
    case Part::Group:
        return groupState() != m_group || changed(Part::Company);
    case Part::User:
        return userState() != m_user;
    case Part::All:
        return changed(Part::Group) || changed(Part::User);
    }
    return false;
}

Qt::CheckState UnsavedChanges::loadedBox() const {
    const QString entry = m_companyKey + QLatin1Char('=');
    for (auto it = m_group.cbegin() + 3; it != m_group.cend(); ++it)
        if (it->startsWith(entry))
            return static_cast<Qt::CheckState>(it->mid(entry.size()).toInt());
    return Qt::Unchecked;
}

bool UnsavedChanges::companyBoxToggled() const {
    // The box toggled reloads the company, whose checks then count from there: what the toggle
    // changed is the box, against the one the group was loaded with. Unticked, the company shows
    // its grants unchecked, and the save takes them away, as it does along with any other change.
    const QTreeWidgetItem* company = m_form.lstAuthors->find(m_companyKey);
    return company && (loadedBox() != Qt::Unchecked) != (company->checkState(0) != Qt::Unchecked);
}

bool UnsavedChanges::pending(Part part) const {
    return changed(part) || (part == Part::Company && companyBoxToggled());
}

bool UnsavedChanges::toSave(Part part) const {
    switch (part) {
    case Part::Group: {
        // The group's three fields come first in its state.
        constexpr int Fields = 3;
        return groupState().mid(0, Fields) != m_group.mid(0, Fields) || changed(Part::Company) || companyBoxToggled();
    }
    case Part::All:
        return toSave(Part::Group) || toSave(Part::User);
    default:
        return changed(part);
    }
}

bool UnsavedChanges::settle(Part part) {
    if (!pending(part))
        return true;
    switch (ask(&m_form)) {
    case QMessageBox::Discard:
        // The box of the company shown follows its operation checks, or was toggled: discarded,
        // it is given back as the group was loaded, or the company's next click would show its
        // grants unchecked and a save would take them away.
        if (part != Part::User)
            if (QTreeWidgetItem* company = m_form.lstAuthors->find(m_companyKey))
                company->setCheckState(0, loadedBox());
        return true;
    case QMessageBox::Save:
        if (!m_form.Save(frmMain::SaveScope::EveryChangedEditor))
            return false;
        m_form.RefreshMe();
        return true;
    default:
        return false;
    }
}

void UnsavedChanges::clicked(KeyedTreeWidget* list, QTreeWidgetItem* item, void (*load)(frmMain&, QTreeWidgetItem*)) {
    const QString pressedKey = std::exchange(m_pressedKey, QString());
    const int pressedState = std::exchange(m_pressedState, -1);
    if (!item)
        return;
    const Part part = list == m_form.lstAuthors ? Part::Company : list == m_form.lstUsers ? Part::User : Part::Group;
    const QString shown = part == Part::Company ? m_companyKey : part == Part::User ? m_userKey : m_groupKey;
    const QString key = KeyedTreeWidget::keyOf(item);
    const Qt::CheckState ticked = item->checkState(0);
    // The press remembered is one in lstAuthors, whose keys other lists share.
    const bool toggled = part == Part::Company && pressedKey == key && pressedState >= 0 && pressedState != ticked;
    // A company's box toggled on the company shown reloads it: unticked, it shows the company's
    // grants unchecked, for a save to take them away.
    if (key == shown && pending(part) && !toggled)
        return;
    // Ticks shown without a company (before the first load) belong to no company to lose.
    const bool nothingShown = part == Part::Company && shown.isEmpty();
    if (key == shown || nothingShown || !pending(part)) {
        list->selectItem(item);
        load(m_form, item);
        return;
    }

    // Undo the click while asking, so that a save writes what was shown and Cancel leaves it.
    if (toggled)
        item->setCheckState(0, static_cast<Qt::CheckState>(pressedState));
    list->selectItem(list->find(shown));
    if (!settle(part))
        return;
    // A save refreshes the lists: the clicked item is found again by its key.
    item = list->find(key);
    if (!item)
        return;
    if (toggled)
        item->setCheckState(0, ticked);
    list->selectItem(item);
    load(m_form, item);
}

bool UnsavedChanges::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        const QTreeWidgetItem* item = m_form.lstAuthors->itemAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        m_pressedKey = KeyedTreeWidget::keyOf(item);
        m_pressedState = item ? item->checkState(0) : -1;
    }
    return QObject::eventFilter(watched, event);
}
