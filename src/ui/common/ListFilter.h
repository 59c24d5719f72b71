#pragma once

#include <QList>
#include <QTimer>
#include <Qt>
#include <functional>

class QTreeWidget;
class QTreeWidgetItem;

// The top-level items of a flat list that a filter keeps out of view. A view relays out every
// row it holds whenever rows are hidden, added or removed, so items left out are taken out of the
// view's model rather than hidden: a change then costs what the list shows, not what it holds.
// The items taken out stay the list's own (the owner keeps finding them by key) and come back, in
// the list's order, when the filter changes or is cleared.
//
// Putting tens of thousands of items into a view, and testing them, takes longer than a frame.
// A change with more candidates than a slice holds shows the first items at once and the rest
// slice by slice from the event loop (the tail), so the window answers the next key or click
// in between; until the tail is in, its items count as out of view.
class ListFilter {
public:
    using Keep = std::function<bool(const QTreeWidgetItem*)>;

    explicit ListFilter(QTreeWidget* list);

    // Whether items are out of view, those of a tail included.
    bool active() const { return m_active; }
    // Whether a tail is still to come into view.
    bool tailPending() const { return !m_tail.isEmpty(); }
    // Whether the filter is putting items into view (the owner's listeners may tell them apart from
    // items added to the list).
    bool showing() const { return m_showing; }
    // The item the owner counts as selected while it is out of view, or null.
    QTreeWidgetItem* selectedOut() const { return m_selectedOut; }
    void setSelectedOut(QTreeWidgetItem* item) { m_selectedOut = item; }

    // Shows the top-level items that keep accepts, in the list's order, and takes the others out
    // of view. narrowing: keep accepts none of the items out of view, so only those shown (and those
    // of a tail) are tested. selected is the owner's selected item: it is selected in the view again
    // when shown, else it becomes selectedOut(). keep may be called from the event loop until the
    // tail is in or the filter changes.
    void apply(const Keep& keep, bool narrowing, QTreeWidgetItem* selected);
    // Puts every item back in view, in the list's order, with the selection; the filter ends once
    // they all are. now: all at once, without a tail.
    void clear(QTreeWidgetItem* selected, bool now = true);

    // An item the owner added at the end of the list, or is removing from it.
    void added(QTreeWidgetItem* item);
    void removed(QTreeWidgetItem* item);
    // Deletes the items out of view (the view deletes only its own).
    void deleteOut();

    // How many candidates one slice tests and shows; the first slice of a change shows at most
    // firstSlice items, so that the first frame comes soon.
    void setSlices(qsizetype slice, qsizetype firstSlice);

private:
    // The items in view, then those of the tail still to be tested.
    QList<QTreeWidgetItem*> shownItems() const;
    // Whether shown, a part of the list's order, is in the order the view sorts it in: the view was
    // sorted when the filter began, and since then no item was added, no text changed and the sort
    // column and direction are the same.
    bool inSortedOrder(const QList<QTreeWidgetItem*>& shown) const;
    // Makes the view hold the candidates that keep (null: all) accepts, in their order: all of
    // them now when they are few (or now is set), else the first ones and a tail for the rest.
    void show(const QList<QTreeWidgetItem*>& candidates, const Keep& keep, QTreeWidgetItem* selected, bool now);
    // Tests the next candidates of the tail and puts those kept into view; at most limit are added.
    void takeFromTail(qsizetype limit);
    // Sorting back on, once every item of a change is in view.
    void sortAgain();
    void selectIfShown(QTreeWidgetItem* selected);
    void stopTail();
    void endFilter();

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

    // The candidates of the change under way (from m_tailAt on, those not tested yet), the test
    // (null: every candidate is shown), whether the filter ends once they are in, and whether the
    // view's sorting goes back on then.
    QList<QTreeWidgetItem*> m_tail;
    qsizetype m_tailAt = 0;
    Keep m_tailKeep;
    bool m_tailEndsFilter = false;
    bool m_tailSorting = false;
    bool m_showing = false;
    QTimer m_tailTimer;
    qsizetype m_slice = 20000;
    qsizetype m_firstSlice = 500;
};
