#include "ui/users/UserListFillers.h"

#include "db/ErrorModes.h"
#include "db/RecordSet.h"
#include "store/RecordQueries.h"
#include "ui/common/ImageList.h"
#include "ui/common/ItemKey.h"
#include "ui/common/KeyedComboBox.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/ListFill.h"

#include <QStringBuilder>

namespace users {

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
        item->setText(2, PersonName(users.field(surname), users.field(firstName)));
    }
    users.close();
}

void FillPersonCombo(KeyedComboBox* combo) {
    db::RecordSet persons;
    passOver([&] { persons = store::GetPersons(); });
    combo->clearKeyed();
    // A query that failed leaves nothing to read: the combo box stays empty.
    if (!persons.isOpen())
        return;
    int id = 0, surname = 0, firstName = 0;
    if (!passOver([&] {
            id = persons.fieldIndex("IdPers");
            surname = persons.fieldIndex("Nume");
            firstName = persons.fieldIndex("Prenume");
        }))
        return;
    combo->beginFill();
    // The rows come from the server as the set moves: a row that cannot be read ends the fill
    // with the persons read so far.
    bool more = true;
    while (more && !persons.eof()) {
        passOver([&] {
            const int IdPers = persons.field(id).toInt();
            combo->addKeyed(common::ItemKey(IdPers), PersonName(persons.field(surname), persons.field(firstName)),
                            IdPers);
        });
        more = passOver([&] { persons.moveNext(); });
    }
    combo->endFill();
    persons.close();
    // The combo box selects the first item added to it; the filled box has no selection yet.
    combo->clearSelection();
}

} // namespace users
