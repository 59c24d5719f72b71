#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class frmMain;
class KeyedTreeWidget;
class QTreeWidgetItem;

// Knows whether the editors hold changes that are not saved yet, by comparing what they show
// with a snapshot taken after each load, new record or save, and asks the administrator before a
// command throws such changes away.
//
// Three parts are compared, each on its own:
//  - Company: the work-point ticks and the operation checks of the company shown in lstAuthors;
//  - Group: the group's code, full name and notes and its company ticks;
//  - User: the user's four text fields, both passwords, the person and the group ticks.
// The group's fields survive a company click: only the company part is taken again then.
//
// A click on another item of lstAuthors, lstGroupsConfig or lstUsers goes through clicked(),
// which asks first when the part it would replace changed; the shown item is the one the last
// snapshot of that part was taken for.
class UnsavedChanges : public QObject {
    Q_OBJECT
public:
    enum class Part { Company, Group, User, All };

    explicit UnsavedChanges(frmMain& form);

    // New snapshots of what the editors show now.
    void companyShown();
    void groupShown();
    void userShown();
    void allShown();

    // Whether the part differs from its snapshot; Group includes the company, All every part.
    bool changed(Part part) const;
    // Whether Save has something to write for the part: the group's code, full name or notes or
    // the shown company's ticks or its box (Group; the other company boxes are not saved as such),
    // the user's fields, passwords, person or group ticks (User).
    bool toSave(Part part) const;

    // Before a command that replaces part: true when the command may go on, because nothing
    // changed, the administrator chose "Discard", or chose "Save" and the save succeeded (the
    // window is then refreshed, as after the toolbar's Save). "Cancel" answers false. "Discard"
    // of a part other than User gives the company shown its box back as it was at its snapshot.
    bool settle(Part part);

    // A click on item of list (lstAuthors, lstGroupsConfig or lstUsers), after the list moved its
    // selection and, for a check box click, toggled the box. load shows the item. A click on
    // another item than the shown one, with its part changed, is undone first (selection and
    // box) and then asked about; after "Save" or "Discard" the click is done again on the item
    // of the same key. A click on the shown item keeps unsaved changes and loads nothing, unless
    // it toggled the box of the company shown.
    void clicked(KeyedTreeWidget* list, QTreeWidgetItem* item, void (*load)(frmMain&, QTreeWidgetItem*));

protected:
    // Remembers the check state of the item under a mouse press in lstAuthors, so that a click
    // that is undone also gives back its box.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QStringList companyState() const;
    QStringList groupState() const;
    QStringList userState() const;
    // The shown company's box as the group was loaded (lstAuthors' ticks in m_group).
    Qt::CheckState loadedBox() const;
    // Whether the shown company's box differs from loadedBox().
    bool companyBoxToggled() const;
    // changed(), and for the company its box toggled too.
    bool pending(Part part) const;

    frmMain& m_form;
    QStringList m_company;
    QStringList m_group;
    QStringList m_user;
    QString m_companyKey;
    QString m_groupKey;
    QString m_userKey;
    QString m_pressedKey;
    int m_pressedState = -1;
};
