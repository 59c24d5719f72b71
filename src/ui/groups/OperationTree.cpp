#include "ui/groups/OperationTree.h"

#include "ui/common/ImageList.h"
#include "ui/common/ItemRoles.h"
#include "ui/common/KeyedTreeItem.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/PackedKey.h"
#include "ui/groups/BulkImageChange.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <algorithm>

namespace groups {

namespace {

// Visits every node below `top` (not `top` itself), without recursion: bad data may nest
// operations deeply.
template <typename Visit> void forEachBelow(QTreeWidgetItem* top, Visit&& visit) {
    QList<QTreeWidgetItem*> pending;
    for (int i = top->childCount() - 1; i >= 0; --i)
        pending.append(top->child(i));
    while (!pending.isEmpty()) {
        QTreeWidgetItem* node = pending.takeLast();
        visit(node);
        for (int i = node->childCount() - 1; i >= 0; --i)
            pending.append(node->child(i));
    }
}

} // namespace

QString moduleKey(int mdID) {
    return packedModuleKey(mdID).text();
}

QString operationKey(int opID, int mdID, int Id) {
    // Written as the item holds it (as numbers), in one buffer.
    return packedOperationKey(opID, mdID, Id).text();
}

PackedKey packedModuleKey(int mdID) {
    return PackedKey{{mdID}, u'm', 1};
}

PackedKey packedOperationKey(int opID, int mdID, int Id) {
    return PackedKey{{opID, mdID, Id}, u'k', 3};
}

bool isModuleNode(const QTreeWidgetItem* node) {
    // Asked of every node by the walks over the tree: the keyed node answers without making its key.
    if (const KeyedTreeItem* keyed = KeyedTreeItem::cast(node))
        return keyed->keyPrefix() == QLatin1Char('m');
    return KeyedTreeWidget::keyOf(node).startsWith(QLatin1Char('m'));
}

int moduleIdOf(const QTreeWidgetItem* node) {
    const KeyedTreeItem* keyed = KeyedTreeItem::cast(node);
    if (const PackedKey* packed = keyed ? keyed->packedKey() : nullptr) {
        if (packed->prefix == u'm' && packed->count == 1)
            return packed->numbers[0];
        if (packed->count == 3)
            return packed->numbers[1];
    }
    const QString key = KeyedTreeWidget::keyOf(node);
    if (key.startsWith(QLatin1Char('m')))
        return key.mid(1).toInt();
    return key.section(Separator, 1, 1).toInt();
}

std::pair<int, int> operationIdsOf(const QTreeWidgetItem* node) {
    const KeyedTreeItem* keyed = KeyedTreeItem::cast(node);
    if (const PackedKey* packed = keyed ? keyed->packedKey() : nullptr; packed && packed->count == 3)
        return {packed->numbers[0], packed->numbers[2]};
    const QString key = KeyedTreeWidget::keyOf(node);
    return {key.section(Separator, 0, 0).mid(1).toInt(), key.section(Separator, 2, 2).toInt()};
}

CheckImage imageOf(const QTreeWidgetItem* node) {
    if (const KeyedTreeItem* keyed = KeyedTreeItem::cast(node))
        return static_cast<CheckImage>(qMax(keyed->image(), 0));
    return static_cast<CheckImage>(node->data(0, common::ImageRole).toInt());
}

void setImage(QTreeWidgetItem* node, CheckImage image, const ImageList& images) {
    const int index = static_cast<int>(image);
    if (auto* tree = qobject_cast<KeyedTreeWidget*>(node->treeWidget()))
        tree->setMarked(node, image == CheckImage::Checked || image == CheckImage::PartlyChecked);
    if (KeyedTreeItem* keyed = KeyedTreeItem::cast(node)) {
        if (keyed->image() != index)
            keyed->setImage(index, images.image(index));
        return;
    }
    const QVariant current = node->data(0, common::ImageRole);
    if (current.isValid() && current.toInt() == index)
        return;
    node->setIcon(0, images.image(index));
    node->setData(0, common::ImageRole, index);
}

void UpdateModuleImage(KeyedTreeWidget* tree, int mdID, const ImageList& images) {
    QTreeWidgetItem* module = tree->find(moduleKey(mdID));
    if (!module)
        return;
    int checkable = 0;
    int notUnchecked = 0;
    forEachBelow(module, [&](QTreeWidgetItem* node) {
        const CheckImage image = imageOf(node);
        if (image == CheckImage::None)
            return;
        ++checkable;
        if (image != CheckImage::Unchecked)
            ++notUnchecked;
    });
    CheckImage result = CheckImage::Checked;
    if (notUnchecked == 0)
        result = CheckImage::Unchecked;
    else if (notUnchecked < checkable)
        result = CheckImage::PartlyChecked;
    setImage(module, result, images);
}

void ClearOperationChecks(KeyedTreeWidget* tree, const ImageList& images) {
    const BulkImageChange bulk(tree);
    // Unticking a node unmarks it: walk a copy.
    const QSet<QTreeWidgetItem*> marked = tree->markedItems();
    for (QTreeWidgetItem* node : marked)
        setImage(node, CheckImage::Unchecked, images);
}

void toggleNode(KeyedTreeWidget* tree, QTreeWidgetItem* node, const ImageList& images) {
    const CheckImage image = imageOf(node);
    if (isModuleNode(node)) {
        const CheckImage next = image == CheckImage::Unchecked ? CheckImage::Checked : CheckImage::Unchecked;
        {
            const BulkImageChange bulk(tree);
            setImage(node, next, images);
            forEachBelow(node, [&](QTreeWidgetItem* below) {
                if (imageOf(below) != CheckImage::None)
                    setImage(below, next, images);
            });
        }
        node->setExpanded(true);
        return;
    }
    if (image == CheckImage::Checked)
        setImage(node, CheckImage::Unchecked, images);
    else if (image == CheckImage::Unchecked)
        setImage(node, CheckImage::Checked, images);
    UpdateModuleImage(tree, moduleIdOf(node), images);
}

bool hasCheckedNode(const KeyedTreeWidget* tree) {
    for (const QTreeWidgetItem* node : tree->markedItems())
        if (imageOf(node) == CheckImage::Checked)
            return true;
    return false;
}

QStringList operationsTickedInPart(const KeyedTreeWidget* tree) {
    // Every disagreement has a checked node, and the tree knows its checked nodes: only when one
    // of them is of an operation several modules list is the whole tree walked.
    const QSet<QTreeWidgetItem*>& marked = tree->markedItems();
    if (std::none_of(marked.cbegin(), marked.cend(),
                     [](const QTreeWidgetItem* node) { return node->data(0, SharedOperationRole).toBool(); }))
        return {};
    // Per operation (opID, Id): bit 1 for a checked node, bit 2 for an unchecked one.
    QHash<std::pair<int, int>, int> states;
    QStringList names;
    forEachBelow(tree->invisibleRootItem(), [&](QTreeWidgetItem* node) {
        const CheckImage image = imageOf(node);
        if ((image != CheckImage::Checked && image != CheckImage::Unchecked) || isModuleNode(node))
            return;
        int& state = states[operationIdsOf(node)];
        const int before = state;
        state |= image == CheckImage::Checked ? 1 : 2;
        if (state == 3 && before != 3)
            names << node->text(0);
    });
    names.sort();
    return names;
}

QStringList checkedNodes(const KeyedTreeWidget* tree) {
    QStringList nodes;
    nodes.reserve(tree->markedItems().size());
    for (const QTreeWidgetItem* node : tree->markedItems())
        nodes << KeyedTreeWidget::keyOf(node) + QLatin1Char('=') + QString::number(static_cast<int>(imageOf(node)));
    nodes.sort();
    return nodes;
}

} // namespace groups
