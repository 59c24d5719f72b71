#include "ui/common/ListFill.h"

#include "ui/common/ImageList.h"
#include "ui/common/ItemKey.h"

namespace common {

QIcon listIcon(const KeyedTreeWidget* list, int index) {
    const auto* images = list->window()->findChild<const ImageList*>();
    return images ? images->image(index) : QIcon();
}

QTreeWidgetItem* addRecord(KeyedTreeWidget* list, const QVariant& id, const QVariant& text, const QIcon& icon) {
    QTreeWidgetItem* item = list->addKeyed(ItemKey(id), text.toString());
    KeyedTreeWidget::setTag(item, id.toInt());
    if (!icon.isNull())
        item->setIcon(0, icon);
    return item;
}

} // namespace common
