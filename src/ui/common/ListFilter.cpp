#include "ui/common/ListFilter.h"

#include "ui/common/KeyedTreeItem.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <QTreeWidget>

ListFilter::ListFilter(QTreeWidget* list) : m_list(list) {
    m_tailTimer.setInterval(0);
    QObject::connect(&m_tailTimer, &QTimer::timeout, &m_tailTimer, [this] { takeFromTail(m_slice); });
}

void ListFilter::setSlices(qsizetype slice, qsizetype firstSlice) {
    m_slice = qMax<qsizetype>(1, slice);
    m_firstSlice = qMax<qsizetype>(1, firstSlice);
}

QList<QTreeWidgetItem*> ListFilter::shownItems() const {
    QList<QTreeWidgetItem*> items;
    const int count = m_list->topLevelItemCount();
    items.reserve(count + (m_tail.size() - m_tailAt));
    for (int i = 0; i < count; ++i)
        items.append(m_list->topLevelItem(i));
    if (!m_tail.isEmpty())
        items.append(m_tail.mid(m_tailAt));
    return items;
}

void ListFilter::apply(const Keep& keep, bool narrowing, QTreeWidgetItem* selected) {
    const bool begins = !m_active;
    if (begins) {
        m_active = true;
        narrowing = true;
        m_sorted = m_list->isSortingEnabled();
        m_sortColumn = m_list->header()->sortIndicatorSection();
        m_sortOrder = m_list->header()->sortIndicatorOrder();
        m_textChanges = KeyedTreeItem::textChanges();
    }
    // What the view holds and what a tail still had to test: the items the last change kept.
    const qsizetype currentCount = m_list->topLevelItemCount() + (m_tail.size() - m_tailAt);
    if ((narrowing ? currentCount : m_order.size()) > m_slice) {
        // Taking the items out gives them in their order at once; reading them one by one from the
        // view costs about as much again.
        QList<QTreeWidgetItem*> current = m_list->invisibleRootItem()->takeChildren();
        if (!m_tail.isEmpty())
            current.append(m_tail.mid(m_tailAt));
        if (begins)
            m_order = current;
        show(narrowing ? current : m_order, keep, selected, false);
        return;
    }
    const QList<QTreeWidgetItem*> current = shownItems();
    if (begins)
        m_order = current;
    const QList<QTreeWidgetItem*>& candidates = narrowing ? current : m_order;
    QList<QTreeWidgetItem*> shown;
    shown.reserve(candidates.size());
    for (QTreeWidgetItem* item : candidates)
        if (keep(item))
            shown.append(item);
    // Narrowing keeps a subset of what is shown: the same count is the same items. A tail may
    // still hold items the last change would not have kept.
    if (!tailPending() && (narrowing ? shown.size() == current.size() : shown == current))
        return;
    show(shown, nullptr, selected, true);
}

void ListFilter::clear(QTreeWidgetItem* selected, bool now) {
    if (!m_active)
        return;
    if (now || !(tailPending() && m_tailEndsFilter))
        show(m_order, nullptr, selected, now);
    if (tailPending())
        m_tailEndsFilter = true;
    else
        endFilter();
}

void ListFilter::endFilter() {
    m_active = false;
    m_order = {};
    m_selectedOut = nullptr;
}

void ListFilter::show(const QList<QTreeWidgetItem*>& candidates, const Keep& keep, QTreeWidgetItem* selected,
                      bool now) {
    // Sorting stays off while a tail comes in.
    const bool sorting = m_list->isSortingEnabled() || (tailPending() && m_tailSorting);
    stopTail();
    // Items added to a sorted view are placed one by one; switching sorting back on sorts them at once.
    if (m_list->isSortingEnabled())
        m_list->setSortingEnabled(false);
    m_list->invisibleRootItem()->takeChildren();
    m_tail = candidates;
    m_tailAt = 0;
    m_tailKeep = keep;
    m_tailSorting = sorting;
    // Taking the items out cleared the view's selection; the owner's selected item is still selected.
    m_selectedOut = selected;
    takeFromTail(now ? candidates.size() : m_firstSlice);
    if (tailPending())
        // Laid out and painted before the event loop goes on to the next slice: the first rows show
        // at once, in one paint (a layout left to the paint changes the scroll bars, which paint again).
        m_list->doItemsLayout();
}

void ListFilter::takeFromTail(qsizetype limit) {
    const qsizetype size = m_tail.size();
    qsizetype at = m_tailAt;
    QList<QTreeWidgetItem*> shown;
    if (!m_tailKeep) {
        at = qMin(size, m_tailAt + limit);
        shown = m_tail.mid(m_tailAt, at - m_tailAt);
    } else {
        // A slice tests at most m_slice candidates, however few it keeps.
        const qsizetype end = qMin(size, m_tailAt + qMax(limit, m_slice));
        for (; at < end && shown.size() < limit; ++at)
            if (m_tailKeep(m_tail.at(at)))
                shown.append(m_tail.at(at));
    }
    m_tailAt = at;
    if (!shown.isEmpty()) {
        m_showing = true;
        m_list->addTopLevelItems(shown);
        m_showing = false;
        selectIfShown(m_selectedOut);
    }
    if (m_tailAt < size) {
        if (!m_tailTimer.isActive())
            m_tailTimer.start();
        return;
    }
    m_tailTimer.stop();
    const bool ends = m_tailEndsFilter;
    sortAgain();
    m_tail = {};
    m_tailAt = 0;
    m_tailKeep = nullptr;
    m_tailEndsFilter = false;
    if (ends)
        endFilter();
}

void ListFilter::sortAgain() {
    if (!m_tailSorting)
        return;
    m_tailSorting = false;
    QList<QTreeWidgetItem*> shown;
    shown.reserve(m_list->topLevelItemCount());
    for (int i = 0; i < m_list->topLevelItemCount(); ++i)
        shown.append(m_list->topLevelItem(i));
    if (!inSortedOrder(shown)) {
        m_list->setSortingEnabled(true);
        return;
    }
    // The items are in the view's order already. Switching sorting on sorts by the header's sort
    // column, and QTreeWidget's sort visits every item even when none moves (some 20 ms at 100,000
    // items): the header names no column while sorting is switched on, so nothing is sorted, and
    // gets its column back without telling anyone, for the order it stands for has not changed.
    // Should a sort run all the same, the items keep their order.
    const KeyedTreeItem::OrderKept kept;
    QHeaderView* header = m_list->header();
    const int column = header->sortIndicatorSection();
    const Qt::SortOrder order = header->sortIndicatorOrder();
    const QSignalBlocker quiet(header);
    header->setSortIndicator(-1, order);
    m_list->setSortingEnabled(true);
    header->setSortIndicator(column, order);
}

void ListFilter::selectIfShown(QTreeWidgetItem* selected) {
    if (selected && selected->treeWidget() == m_list) {
        m_list->setCurrentItem(selected, 0, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_selectedOut = nullptr;
    }
}

void ListFilter::stopTail() {
    m_tailTimer.stop();
    m_tail = {};
    m_tailAt = 0;
    m_tailKeep = nullptr;
    m_tailEndsFilter = false;
    m_tailSorting = false;
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
    // The items of a tail come before it in the list's order: it waits behind them (and is tested
    // with them).
    if (tailPending() && item->treeWidget() == m_list) {
        m_list->takeTopLevelItem(m_list->indexOfTopLevelItem(item));
        m_tail.append(item);
    }
}

void ListFilter::removed(QTreeWidgetItem* item) {
    if (!m_active)
        return;
    m_order.removeOne(item);
    if (const qsizetype at = m_tail.indexOf(item); at >= 0) {
        m_tail.remove(at);
        if (at < m_tailAt)
            --m_tailAt;
    }
    if (m_selectedOut == item)
        m_selectedOut = nullptr;
}

void ListFilter::deleteOut() {
    stopTail();
    for (QTreeWidgetItem* item : std::as_const(m_order))
        if (!item->treeWidget())
            delete item;
    m_order = {};
    m_active = false;
    m_selectedOut = nullptr;
}
