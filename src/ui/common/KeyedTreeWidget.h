#pragma once

#include "ui/common/KeyIndex.h"
#include "ui/common/ListFilter.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QTreeWidget>
#include <QVariant>

// A list view (details view) or tree whose items are found by key through a hash, never by a
// scan. Each item keeps its key and tag in the roles of ItemRoles.h. Adding a key that is already
// there, or looking up a key that is not, raises the list control's own errors as DbErrors
// (numbers 35602 and 35601), so fillers fail the way callers expect.
class KeyedTreeWidget : public QTreeWidget {
    Q_OBJECT
public:
    explicit KeyedTreeWidget(QWidget* parent = nullptr);
    ~KeyedTreeWidget() override;

    // Adds an item (a KeyedTreeItem) at the end of parent's children (or of the top level);
    // raises KeyNotUnique when the key is taken. The item is not yet shown if a fill is in progress.
    QTreeWidgetItem* addKeyed(const QString& key, const QString& text, QTreeWidgetItem* parent = nullptr);
    // The same for a key of a common shape given as its numbers: no text is made for it, nor read.
    QTreeWidgetItem* addKeyed(const PackedKey& key, const QString& text, QTreeWidgetItem* parent = nullptr);
    // The item with key, or null.
    QTreeWidgetItem* find(const QString& key) const { return m_items.value(key, nullptr); }
    QTreeWidgetItem* find(const PackedKey& key) const { return m_items.value(key, nullptr); }
    // The item with key; raises KeyNotFound when there is none.
    QTreeWidgetItem* item(const QString& key) const;
    bool contains(const QString& key) const { return m_items.contains(key); }
    bool contains(const PackedKey& key) const { return m_items.contains(key); }
    // Removes the item with key (and its children) if present.
    void removeKeyed(const QString& key);
    // Removes every item. During a fill, a list without children keeps its items out of sight
    // instead: a fill that adds the same keys in the same order from the first on takes them again
    // rather than making them anew (a refresh mostly finds what it showed), and endFill() lets go
    // of those it did not take.
    void clearKeyed();
    int keyedCount() const { return static_cast<int>(m_items.size()); }

    // Items the owner marks (the operations tree marks its checked and partly checked nodes), so
    // that they are found without walking every item. Removing an item unmarks it.
    void setMarked(QTreeWidgetItem* item, bool marked);
    const QSet<QTreeWidgetItem*>& markedItems() const { return m_marked; }

    // What the last fill was made from, as its filler chose to tell it (e.g. a digest of the rows
    // read), so that a filler can see that a new fill would make the same items. Removing items
    // forgets it.
    void setFillStamp(const QByteArray& stamp) { m_fillStamp = stamp; }
    const QByteArray& fillStamp() const { return m_fillStamp; }

    // A list with check boxes shows an unticked box on every item that addKeyed adds.
    void setCheckBoxes(bool on) { m_checkBoxes = on; }
    bool checkBoxes() const { return m_checkBoxes; }
    // Unticks the box of every ticked (or grey) top-level item.
    void untickAll();
    // The items whose box is ticked or grey, kept as their boxes change, so that a large list is
    // not walked to find the few ticked ones.
    const QSet<QTreeWidgetItem*>& tickedItems() const { return m_ticked; }
    // Called by the list's items when their box changes.
    void noteCheck(QTreeWidgetItem* item, bool ticked);

    // The selected item, or null when no item is selected (the current item may still be set).
    QTreeWidgetItem* selectedItem() const;
    // Makes item the current and only selected item; null clears the selection and the current item.
    void selectItem(QTreeWidgetItem* item);

    // Fills add items faster with updates and sorting suspended; endFill() shows them and raises
    // filled(). A fill begins by clearing the filter below.
    void beginFill();
    void endFill();

    // Find as you type, for a flat list: shows only the top-level items keep accepts (in the list's
    // order) and takes the others out of view, until the filter changes or is cleared. Items out of
    // view are still the list's: find(), item(), contains(), keyedCount() and removeKeyed() reach
    // them, and topLevelItem() does not. narrowing: keep accepts none of the items out of view,
    // so only those shown are tested. A selected item that the filter takes out of view stays the
    // selected item (selectedItem()), and is selected in view again when it is shown.
    // A change with more items than a slice of the filter (20,000) shows the first ones at once and
    // the rest from the event loop; until they are in, they count as out of view.
    void filterTopLevel(const ListFilter::Keep& keep, bool narrowing);
    // Ends the filter; now: with every item in view on return, else possibly slice by slice.
    void clearFilter(bool now = true);
    bool isFiltered() const { return m_filter.active(); }
    // Whether the filter is still putting the items of its last change into view.
    bool isFilterPending() const { return m_filter.tailPending(); }
    // Whether the rows the model reports inserted are items the filter puts back into view.
    bool isFilterShowing() const { return m_filter.showing(); }
    void setFilterSlices(qsizetype slice, qsizetype firstSlice) { m_filter.setSlices(slice, firstSlice); }

    // The selected item is the record being edited, so the user cannot leave a list without one:
    // a click beside the items or a Ctrl+click on the selected item keeps the selection, and a right
    // click selects nothing (a context menu acts on the item under the mouse). Moving
    // the selection with the keyboard, or with a mouse gesture that is no click (a press on one
    // item and a release on another), counts as a click on the item it lands on (itemClicked).
    static QString keyOf(const QTreeWidgetItem* item);
    static QVariant tagOf(const QTreeWidgetItem* item);
    static void setTag(QTreeWidgetItem* item, const QVariant& tag);
    // Ticks an unticked (or grey) item's check box and unticks a ticked one.
    static void invertCheck(QTreeWidgetItem* item);

signals:
    // A fill ended (endFill()): a filter cleared by it may be applied again.
    void filled();

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void forget(QTreeWidgetItem* item);
    // Raises itemClicked for the selected item when it is not before.
    void selectionMoved(const QTreeWidgetItem* before);
    // Adds the item made for the key, held as numbers when packed is set and as key otherwise.
    QTreeWidgetItem* add(const QString& key, const std::optional<PackedKey>& packed, const QString& text,
                         QTreeWidgetItem* parent);
    QTreeWidgetItem* takeKept(const QString& key, const std::optional<PackedKey>& packed, const QString& text);
    void dropUnusedKept();

    KeyIndex<QTreeWidgetItem*> m_items;
    QList<QTreeWidgetItem*> m_pendingTop;
    QSet<QTreeWidgetItem*> m_marked;
    QSet<QTreeWidgetItem*> m_ticked;
    QByteArray m_fillStamp;
    ListFilter m_filter{this};
    QList<QTreeWidgetItem*> m_kept; // the items a fill may take again, in their order
    qsizetype m_keptTaken = 0;
    bool m_keeping = false;
    bool m_hasChildren = false;
    bool m_checkBoxes = false;
    bool m_filling = false;
    bool m_wasSorting = false;
    const QTreeWidgetItem* m_selectedAtPress = nullptr;
    int m_clicks = 0; // itemClicked raised since the last mouse press
};
