#pragma once

#include <QList>
#include <functional>

class QTreeWidget;
class QTreeWidgetItem;

// The top-level items of a flat list that a filter keeps out of view. A view relays out every
// row it holds whenever rows are hidden, added or removed, so items left out are taken out of the
// view's model rather than hidden: a change then costs what the list shows, not what it holds.
// The items taken out stay the list's own (the owner keeps finding them by key) and come back, in
// the list's order, when the filter changes or is cleared.
class ListFilter {
public:
    using Keep = std::function<bool(const QTreeWidgetItem*)>;

    explicit ListFilter(QTreeWidget* list) : m_list(list) {}

    bool active() const { return m_active; }
    // The item the owner counts as selected while it is out of view, or null.
    QTreeWidgetItem* selectedOut() const { return m_selectedOut; }
    void setSelectedOut(QTreeWidgetItem* item) { m_selectedOut = item; }

    // Shows the top-level items that keep accepts, in the list's order, and takes the others out
    // of view. narrowing: keep accepts none of the items out of view, so only those shown are
    // tested. selected is the owner's selected item: it is selected in the view again when shown,
    // else it becomes selectedOut().
    void apply(const Keep& keep, bool narrowing, QTreeWidgetItem* selected);
    // Puts every item back in view, in the list's order, with the selection; the filter ends.
    void clear(QTreeWidgetItem* selected);

    // An item the owner added at the end of the list, or is removing from it.
    void added(QTreeWidgetItem* item);
    void removed(QTreeWidgetItem* item);
    // Deletes the items out of view (the view deletes only its own).
    void deleteOut();

private:
    QList<QTreeWidgetItem*> shownItems() const;
    // Whether shown, a part of the list's order, is in the order the view sorts it in: the view was
    // sorted when the filter began, and since then no item was added, no text changed and the sort
    // column and direction are the same.
    bool inSortedOrder(const QList<QTreeWidgetItem*>& shown) const;
    // Makes shown the view's items, with sorting (if on) and updates suspended.
    void show(const QList<QTreeWidgetItem*>& shown, QTreeWidgetItem* selected);

    QTreeWidget* m_list;
    bool m_active = false;
    // Every top-level item in the list's order when the filter began, plus those added since.
    QList<QTreeWidgetItem*> m_order;
    QTreeWidgetItem* m_selectedOut = nullptr;
    // The view's sorting when the filter began (m_sorted: it was on), and the count of text changes
    // then; an item added since clears m_sorted.
    bool m_sorted = false;
    int m_sortColumn = 0;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    quint64 m_textChanges = 0;
};
