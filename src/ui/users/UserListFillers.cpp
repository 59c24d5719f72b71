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
    ListFill::Guard fill(list);
    list->clearKeyed();
    const QIcon icon = ListFill::listIcon(list, ImageList::User);
    for (; !users.eof(); users.moveNext()) {
        QTreeWidgetItem* item = ListFill::addRecord(list, users.field("usID"), users.field("usCod"), icon);
        item->setText(1, users.field("usDenumire").toString());
        item->setText(2, PersonName(users.field("Nume"), users.field("Prenume")));
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
    combo->beginFill();
    for (; !persons.eof(); persons.moveNext()) {
        passOver([&] {
            const QVariant id = persons.field("IdPers");
            combo->addKeyed(ItemKey(id), PersonName(persons.field("Nume"), persons.field("Prenume")), id.toInt());
        });
    }
    combo->endFill();
    persons.close();
    // The combo box selects the first item added to it; the filled box has no selection yet.
    combo->clearSelection();
}

} // namespace users
