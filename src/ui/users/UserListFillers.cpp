#include "ui/users/UserListFillers.h"

#include "db/RecordSet.h"
#include "store/RecordQueries.h"
#include "ui/common/ImageList.h"
#include "ui/common/ItemKey.h"
#include "ui/common/KeyedComboBox.h"
#include "ui/common/KeyedTreeItem.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/ListFill.h"

#include <QScopeGuard>
#include <QStringBuilder>

namespace users {

namespace {

// The column of the user list that shows the user's person.
constexpr int PersonColumn = 2;

} // namespace

QString PersonName(const QVariant& nume, const QVariant& prenume) {
    return nume.toString() % QLatin1Char(' ') % prenume.toString();
}

void FillUserList(KeyedTreeWidget* list) {
    db::RecordSet users = store::GetUsers(0);
    common::FillGuard fill(list);
    list->clearKeyed();
    const QIcon icon = common::listIcon(list, ImageList::User);
    const int id = users.fieldIndex("usID");
    const int code = users.fieldIndex("usCod");
    const int name = users.fieldIndex("usDenumire");
    const int surname = users.fieldIndex("Nume");
    const int firstName = users.fieldIndex("Prenume");
    for (; !users.eof(); users.moveNext()) {
        const int usID = users.field(id).toInt();
        const QString key = common::ItemKey(usID);
        // Two persons may point at one user: the query then gives the user twice, and its first
        // row is the one listed.
        if (list->contains(key))
            continue;
        QTreeWidgetItem* item = common::addRecord(list, key, usID, users.field(code).toString(), icon);
        item->setText(1, users.field(name).toString());
        item->setText(PersonColumn, PersonName(users.field(surname), users.field(firstName)));
    }
    users.close();
}

void FillPersonCombo(KeyedComboBox* combo, const KeyedTreeWidget* users) {
    // Cleared within the fill: persons read as the box lists them already are taken back, and a
    // refresh that finds the same persons leaves the box's items as they are.
    combo->beginFill();
    // However the fill ends, the persons read so far are listed, and none is selected: the combo
    // box selects the first item added to it.
    const auto endFill = qScopeGuard([combo] {
        combo->endFill();
        combo->clearSelection();
    });
    combo->clearKeyed();
    db::RecordSet persons = store::GetPersons();
    const int id = persons.fieldIndex("IdPers");
    const int surname = persons.fieldIndex("Nume");
    const int firstName = persons.fieldIndex("Prenume");
    const int user = persons.fieldIndex("usID");
    for (; !persons.eof(); persons.moveNext()) {
        const int IdPers = persons.field(id).toInt();
        const QString key = common::ItemKey(IdPers);
        // A person met twice is listed once, from its first row.
        if (combo->indexOfKey(key) >= 0)
            continue;
        QString name = PersonName(persons.field(surname), persons.field(firstName));
        const QVariant usID = persons.field(user);
        if (users && !usID.isNull())
            if (const KeyedTreeItem* item = KeyedTreeItem::cast(users->find(common::ItemKey(usID.toInt())));
                item && item->textAt(PersonColumn) == name)
                name = item->textAt(PersonColumn);
        combo->addKeyed(key, name, IdPers);
    }
    persons.close();
}

} // namespace users
