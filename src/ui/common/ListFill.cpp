#include "ui/common/ListFill.h"

#include "ui/common/ImageList.h"
#include "ui/common/ItemKey.h"
#include "ui/common/KeyedTreeItem.h"

namespace common {

QIcon listIcon(const KeyedTreeWidget* list, int index) {
    const auto* images = list->window()->findChild<const ImageList*>();
    return images ? images->image(index) : QIcon();
}

QTreeWidgetItem* addRecord(KeyedTreeWidget* list, const QVariant& id, const QVariant& text, const QIcon& icon) {
    const int number = id.toInt();
    // addKeyed makes every item of a keyed list a KeyedTreeItem.
    auto* item = static_cast<KeyedTreeItem*>(list->addKeyed(PackedItemKey(number), text.toString()));
    item->setTag(number);
    item->setIcon(icon);
    return item;
}

} // namespace common
