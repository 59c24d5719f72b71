#include "ui/common/ListFilter.h"

#include "ui/common/KeyedTreeItem.h"

#include <QHeaderView>
#include <QTreeWidget>

QList<QTreeWidgetItem*> ListFilter::shownItems() const {
    QList<QTreeWidgetItem*> items;
    const int count = m_list->topLevelItemCount();
    items.reserve(count);
    for (int i = 0; i < count; ++i)
        items.append(m_list->topLevelItem(i));
    return items;
}

void ListFilter::apply(const Keep& keep, bool narrowing, QTreeWidgetItem* selected) {
    if (!m_active) {
        m_order = shownItems();
        m_active = true;
        narrowing = true;
        m_sorted = m_list->isSortingEnabled();
        m_sortColumn = m_list->header()->sortIndicatorSection();
        m_sortOrder = m_list->header()->sortIndicatorOrder();
        m_textChanges = KeyedTreeItem::textChanges();
    }
    const QList<QTreeWidgetItem*> current = shownItems();
    const QList<QTreeWidgetItem*>& candidates = narrowing ? current : m_order;
    QList<QTreeWidgetItem*> shown;
    shown.reserve(candidates.size());
    for (QTreeWidgetItem* item : candidates)
        if (keep(item))
            shown.append(item);
    // Narrowing keeps a subset of what is shown: the same count is the same items.
    if (narrowing ? shown.size() == current.size() : shown == current)
        return;
    show(shown, selected);
}

void ListFilter::clear(QTreeWidgetItem* selected) {
    if (!m_active)
        return;
    show(m_order, selected);
    m_active = false;
    m_order.clear();
    m_selectedOut = nullptr;
}

void ListFilter::show(const QList<QTreeWidgetItem*>& shown, QTreeWidgetItem* selected) {
    const bool sorting = m_list->isSortingEnabled();
    m_list->setUpdatesEnabled(false);
    // Items added to a sorted view are placed one by one; switching sorting back on sorts them at once.
    if (sorting)
        m_list->setSortingEnabled(false);
    m_list->invisibleRootItem()->takeChildren();
    m_list->addTopLevelItems(shown);
    if (sorting && inSortedOrder(shown)) {
        const KeyedTreeItem::OrderKept kept;
        m_list->setSortingEnabled(true);
    } else if (sorting) {
        m_list->setSortingEnabled(true);
    }
    m_list->setUpdatesEnabled(true);
    // Taking the items out cleared the view's selection; the owner's selected item is still selected.
    m_selectedOut = nullptr;
    if (selected && selected->treeWidget() == m_list)
        m_list->setCurrentItem(selected, 0, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    else
        m_selectedOut = selected;
}

bool ListFilter::inSortedOrder(const QList<QTreeWidgetItem*>& shown) const {
    if (!m_sorted || KeyedTreeItem::textChanges() != m_textChanges ||
        m_list->header()->sortIndicatorSection() != m_sortColumn ||
        m_list->header()->sortIndicatorOrder() != m_sortOrder)
        return false;
    // Only keyed items can be told to keep their order.
    for (const QTreeWidgetItem* item : shown)
        if (!KeyedTreeItem::cast(item))
            return false;
    return true;
}

void ListFilter::added(QTreeWidgetItem* item) {
    if (!m_active)
        return;
    m_order.append(item);
    // Appended, not put in its sorted place.
    m_sorted = false;
}

void ListFilter::removed(QTreeWidgetItem* item) {
    if (!m_active)
        return;
    m_order.removeOne(item);
    if (m_selectedOut == item)
        m_selectedOut = nullptr;
}

void ListFilter::deleteOut() {
    for (QTreeWidgetItem* item : std::as_const(m_order))
        if (!item->treeWidget())
            delete item;
    m_order.clear();
    m_active = false;
    m_selectedOut = nullptr;
}
