#include "ui/main/ListFillers.h"

#include "ui/common/ShowErrors.h"
#include "db/RecordSet.h"
#include "store/RecordQueries.h"
#include "ui/common/KeyedComboBox.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/main/ImageList.h"

namespace modMain {

namespace {

// Keeps a list's updates and sorting suspended while it is filled, and shows whatever was added
// when the fill ends, also when it ends with an error.
class FillGuard {
public:
    explicit FillGuard(KeyedTreeWidget* list) : m_list(list) { m_list->beginFill(); }
    ~FillGuard() { m_list->endFill(); }
    FillGuard(const FillGuard&) = delete;
    FillGuard& operator=(const FillGuard&) = delete;

private:
    KeyedTreeWidget* m_list;
};

// The icon at index of the window's image list, or none when the list is not in such a window.
QIcon listIcon(const KeyedTreeWidget* list, int index) {
    const auto* images = list->window()->findChild<const ImageList*>();
    return images ? images->image(index) : QIcon();
}

// Adds the item of one record at the end of list, with its key, text and icon.
QTreeWidgetItem* addRecord(KeyedTreeWidget* list, const QVariant& id, const QVariant& text, const QIcon& icon) {
    QTreeWidgetItem* item = list->addKeyed(ItemKey(id), text.toString());
    if (!icon.isNull())
        item->setIcon(0, icon);
    return item;
}

} // namespace

QString ItemKey(const QVariant& id) {
    return QStringLiteral("k") + QString::number(id.toInt());
}

QString PersonName(const QVariant& nume, const QVariant& prenume) {
    return nume.toString() + QLatin1Char(' ') + prenume.toString();
}

void FillGroupList(KeyedTreeWidget* list, bool withDescription) {
    db::RecordSet groups = store::GetGroups(0);
    FillGuard fill(list);
    list->clearKeyed();
    const QIcon icon = listIcon(list, ImageList::Group);
    if (withDescription) {
        for (; !groups.eof(); groups.moveNext()) {
            QTreeWidgetItem* item = addRecord(list, groups.field("grID"), groups.field("grCod"), icon);
            item->setText(1, groups.field("grDenumire").toString());
            KeyedTreeWidget::setTag(item, groups.field("grID").toInt());
        }
    } else {
        for (; !groups.eof(); groups.moveNext()) {
            QTreeWidgetItem* item = addRecord(list, groups.field("grID"), groups.field("grCod"), icon);
            KeyedTreeWidget::setTag(item, groups.field("grID").toInt());
        }
    }
    groups.close();
}

void FillUserList(KeyedTreeWidget* list) {
    db::RecordSet users = store::GetUsers(0);
    FillGuard fill(list);
    list->clearKeyed();
    const QIcon icon = listIcon(list, ImageList::User);
    for (; !users.eof(); users.moveNext()) {
        QTreeWidgetItem* item = addRecord(list, users.field("usID"), users.field("usCod"), icon);
        item->setText(1, users.field("usDenumire").toString());
        item->setText(2, PersonName(users.field("Nume"), users.field("Prenume")));
        KeyedTreeWidget::setTag(item, users.field("usID").toInt());
    }
    users.close();
}

void FillAuthorList(KeyedTreeWidget* list) {
    db::RecordSet authors = store::GetAuthors();
    FillGuard fill(list);
    list->clearKeyed();
    for (; !authors.eof(); authors.moveNext()) {
        QTreeWidgetItem* item = addRecord(list, authors.field("IdAuthor"), authors.field("Name"), QIcon());
        item->setText(1, authors.field("NickName").toString());
        KeyedTreeWidget::setTag(item, authors.field("IdAuthor").toInt());
    }
    authors.close();
}

void FillPersonCombo(KeyedComboBox* combo) {
    db::RecordSet persons;
    passOver([&] { persons = store::GetPersons(); });
    passOver([&] { combo->clearKeyed(); });
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
    passOver([&] { persons.close(); });
    // The combo box selects the first item added to it; the filled box has no selection yet.
    passOver([&] { combo->clearSelection(); });
}

} // namespace modMain
