#pragma once

#include "ui/common/KeyedTreeWidget.h"

#include <QIcon>
#include <QVariant>

// Pieces the list fillers share.
namespace common {

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

// The icon at index of the image list of the window that list sits in, or none when the window
// has no image list.
QIcon listIcon(const KeyedTreeWidget* list, int index);

// Adds the item of one record at the end of list, keyed ItemKey(id) with the id as its tag, with
// its text and icon (none by default).
QTreeWidgetItem* addRecord(KeyedTreeWidget* list, const QVariant& id, const QVariant& text,
                           const QIcon& icon = QIcon());

} // namespace common
