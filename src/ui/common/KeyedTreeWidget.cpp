#include "ui/common/KeyedTreeWidget.h"

#include "db/DbError.h"
#include "ui/common/ItemRoles.h"
#include "ui/common/KeyedTreeItem.h"

#include <QKeyEvent>
#include <QMouseEvent>

KeyedTreeWidget::KeyedTreeWidget(QWidget* parent) : QTreeWidget(parent) {
    // A click on an item in view selects it: the item selected out of view no longer is.
    connect(this, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (selectionModel()->hasSelection())
            m_filter.setSelectedOut(nullptr);
    });
    connect(this, &QTreeWidget::itemClicked, this, [this] { ++m_clicks; });
}

KeyedTreeWidget::~KeyedTreeWidget() {
    m_filter.deleteOut();
}

QTreeWidgetItem* KeyedTreeWidget::addKeyed(const QString& key, const QString& text, QTreeWidgetItem* parent) {
    // The key is read once, for the index and the item alike.
    return add(key, PackedKey::from(key), text, parent);
}

QTreeWidgetItem* KeyedTreeWidget::addKeyed(const PackedKey& key, const QString& text, QTreeWidgetItem* parent) {
    return add(QString(), key, text, parent);
}

QTreeWidgetItem* KeyedTreeWidget::add(const QString& key, const std::optional<PackedKey>& packed, const QString& text,
                                      QTreeWidgetItem* parent) {
    if (m_items.contains(key, packed))
        throw db::DbError(db::DbError::KeyNotUnique, QStringLiteral("Key is not unique in collection"), objectName());
    if (!parent && m_keeping)
        if (QTreeWidgetItem* kept = takeKept(key, packed, text))
            return kept;
    auto* node = packed ? new KeyedTreeItem(*packed, text) : new KeyedTreeItem(key, text);
    if (m_checkBoxes)
        node->setCheckState(0, Qt::Unchecked);
    if (parent) {
        parent->addChild(node);
        m_hasChildren = true;
    } else if (m_filling)
        m_pendingTop.append(node);
    else {
        addTopLevelItem(node);
        m_filter.added(node);
    }
    m_items.insert(key, packed, node);
    return node;
}

QTreeWidgetItem* KeyedTreeWidget::item(const QString& key) const {
    QTreeWidgetItem* node = m_items.value(key, nullptr);
    if (!node)
        throw db::DbError(db::DbError::KeyNotFound, QStringLiteral("Element not found"), objectName());
    return node;
}

void KeyedTreeWidget::forget(QTreeWidgetItem* node) {
    m_fillStamp.clear();
    const KeyedTreeItem* keyed = KeyedTreeItem::cast(node);
    if (const PackedKey* packed = keyed ? keyed->packedKey() : nullptr)
        m_items.remove(*packed);
    else
        m_items.remove(keyOf(node));
    m_marked.remove(node);
    m_ticked.remove(node);
    for (int i = 0; i < node->childCount(); ++i)
        forget(node->child(i));
}

void KeyedTreeWidget::removeKeyed(const QString& key) {
    QTreeWidgetItem* node = m_items.value(key, nullptr);
    if (!node)
        return;
    forget(node);
    m_pendingTop.removeOne(node);
    m_filter.removed(node);
    delete node;
}

void KeyedTreeWidget::clearKeyed() {
    // The items out of view are put back, to be kept or let go with the others.
    m_filter.clear(nullptr);
    // A list is mostly filled again with about as many items: keeping the room spares the
    // hash growing step by step through the next fill.
    m_fillStamp.clear();
    m_items.clear(true);
    m_marked.clear();
    qDeleteAll(m_pendingTop);
    m_pendingTop.clear();
    if (m_filling && m_kept.isEmpty() && !m_hasChildren) {
        m_kept.reserve(topLevelItemCount());
        for (int i = 0; i < topLevelItemCount(); ++i)
            m_kept.append(topLevelItem(i));
        m_keptTaken = 0;
        m_keeping = true;
        // No item is selected or current, as after the items are gone; the model is not told.
        selectionModel()->reset();
        return;
    }
    if (!m_kept.isEmpty())
        dropUnusedKept();
    m_keeping = false;
    m_hasChildren = false;
    m_ticked.clear();
    clear();
}

QTreeWidgetItem* KeyedTreeWidget::takeKept(const QString& key, const std::optional<PackedKey>& packed,
                                           const QString& text) {
    // Only the kept items from the first on are taken: once a key differs the fill makes new ones,
    // which endFill() shows after the taken ones, in the order they were added.
    const KeyedTreeItem* next = m_keptTaken < m_kept.size() ? KeyedTreeItem::cast(m_kept.at(m_keptTaken)) : nullptr;
    if (!next || !next->hasKey(key, packed)) {
        m_keeping = false;
        return nullptr;
    }
    QTreeWidgetItem* node = m_kept.at(m_keptTaken++);
    node->setText(0, text);
    if (m_checkBoxes)
        node->setCheckState(0, Qt::Unchecked);
    m_items.insert(key, packed, node);
    return node;
}

void KeyedTreeWidget::dropUnusedKept() {
    if (m_keptTaken < m_kept.size()) {
        // One taking of every item is linear; deleting them one by one would search each in the list.
        QList<QTreeWidgetItem*> all = invisibleRootItem()->takeChildren();
        for (auto it = all.cbegin() + m_keptTaken; it != all.cend(); ++it)
            m_ticked.remove(*it);
        qDeleteAll(all.cbegin() + m_keptTaken, all.cend());
        all.resize(m_keptTaken);
        m_pendingTop = all + m_pendingTop;
    }
    m_kept = {};
    m_keptTaken = 0;
}

void KeyedTreeWidget::beginFill() {
    if (m_filling)
        return;
    // A fill lists every item anew; the filter is applied again once it has ended (filled()).
    clearFilter();
    m_filling = true;
    m_wasSorting = isSortingEnabled();
    // Only a sorted list is switched: switching sorting off also makes the header unclickable.
    if (m_wasSorting)
        setSortingEnabled(false);
    setUpdatesEnabled(false);
}

void KeyedTreeWidget::endFill() {
    if (!m_filling)
        return;
    m_filling = false;
    // The kept items that no key took are let go; a fill stopped by a mismatch has stopped taking.
    if (!m_kept.isEmpty())
        dropUnusedKept();
    m_keeping = false;
    // Boxes ticked before their item was in the list told no list.
    for (QTreeWidgetItem* item : std::as_const(m_pendingTop))
        if (item->checkState(0) != Qt::Unchecked)
            m_ticked.insert(item);
    if (!m_pendingTop.isEmpty())
        addTopLevelItems(m_pendingTop);
    // Assigned rather than cleared: a cleared list keeps its room, a pointer for every item.
    m_pendingTop = {};
    // Sorting, once on, puts every new item into its sorted place.
    if (m_wasSorting)
        setSortingEnabled(true);
    setUpdatesEnabled(true);
    emit filled();
}

void KeyedTreeWidget::filterTopLevel(const ListFilter::Keep& keep, bool narrowing) {
    m_filter.apply(keep, narrowing, selectedItem());
}

void KeyedTreeWidget::clearFilter(bool now) {
    m_filter.clear(selectedItem(), now);
}

void KeyedTreeWidget::setMarked(QTreeWidgetItem* item, bool marked) {
    if (marked)
        m_marked.insert(item);
    else
        m_marked.remove(item);
}

void KeyedTreeWidget::noteCheck(QTreeWidgetItem* item, bool ticked) {
    if (ticked)
        m_ticked.insert(item);
    else
        m_ticked.remove(item);
}

void KeyedTreeWidget::untickAll() {
    // Unticking an item takes it out of the set: walk a copy.
    const QSet<QTreeWidgetItem*> ticked = m_ticked;
    for (QTreeWidgetItem* node : ticked)
        if (!node->parent())
            node->setCheckState(0, Qt::Unchecked);
}

QTreeWidgetItem* KeyedTreeWidget::selectedItem() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? m_filter.selectedOut() : itemFromIndex(selected.first());
}

void KeyedTreeWidget::selectItem(QTreeWidgetItem* node) {
    m_filter.setSelectedOut(nullptr);
    if (node && m_filter.active() && node->treeWidget() != this) {
        selectionModel()->clear();
        m_filter.setSelectedOut(node);
        return;
    }
    if (!node) {
        selectionModel()->clear();
        return;
    }
    setCurrentItem(node, 0, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

QItemSelectionModel::SelectionFlags KeyedTreeWidget::selectionCommand(const QModelIndex& index,
                                                                      const QEvent* event) const {
    const QItemSelectionModel::SelectionFlags flags = QTreeWidget::selectionCommand(index, event);
    if (!event)
        return flags;
    // A right click opens a context menu on the item under the mouse and leaves the selection: the
    // selected item is the record the editor shows, and only a click loads another one.
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease ||
        event->type() == QEvent::MouseButtonDblClick || event->type() == QEvent::MouseMove) {
        const auto* mouse = static_cast<const QMouseEvent*>(event);
        if ((mouse->button() | mouse->buttons()) & Qt::RightButton)
            return QItemSelectionModel::NoUpdate;
    }
    if (!index.isValid())
        return QItemSelectionModel::NoUpdate;
    if ((flags & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle)) && selectionModel()->isSelected(index))
        return QItemSelectionModel::NoUpdate;
    return flags;
}

void KeyedTreeWidget::selectionMoved(const QTreeWidgetItem* before) {
    QTreeWidgetItem* now = selectedItem();
    if (now && now != before)
        emit itemClicked(now, 0);
}

void KeyedTreeWidget::keyPressEvent(QKeyEvent* event) {
    // Compared by selection, not by current item: Space selects the current item without moving
    // it, and the current item is not always the selected one (after New, or while the find box
    // hides the selected item).
    const QTreeWidgetItem* before = selectedItem();
    QTreeWidget::keyPressEvent(event);
    selectionMoved(before);
}

void KeyedTreeWidget::mousePressEvent(QMouseEvent* event) {
    m_selectedAtPress = selectedItem();
    m_clicks = 0;
    QTreeWidget::mousePressEvent(event);
}

void KeyedTreeWidget::mouseReleaseEvent(QMouseEvent* event) {
    QTreeWidget::mouseReleaseEvent(event);
    // A press selects the item under it and a drag selects the item it reaches, but only a release
    // on the pressed item is a click: the item selected otherwise would not be the one shown.
    if (m_clicks == 0)
        selectionMoved(m_selectedAtPress);
}

QString KeyedTreeWidget::keyOf(const QTreeWidgetItem* node) {
    if (const KeyedTreeItem* keyed = KeyedTreeItem::cast(node))
        return keyed->key();
    return node ? node->data(0, common::KeyRole).toString() : QString();
}

QVariant KeyedTreeWidget::tagOf(const QTreeWidgetItem* node) {
    if (const KeyedTreeItem* keyed = KeyedTreeItem::cast(node))
        return keyed->tag();
    return node ? node->data(0, common::TagRole) : QVariant();
}

void KeyedTreeWidget::invertCheck(QTreeWidgetItem* node) {
    node->setCheckState(0, node->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

void KeyedTreeWidget::setTag(QTreeWidgetItem* node, const QVariant& tag) {
    if (KeyedTreeItem* keyed = KeyedTreeItem::cast(node))
        keyed->setTag(tag);
    else
        node->setData(0, common::TagRole, tag);
}
