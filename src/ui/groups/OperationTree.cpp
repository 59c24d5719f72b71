#include "ui/groups/OperationTree.h"

#include "db/RecordSet.h"
#include "store/RecordQueries.h"
#include "ui/common/ImageList.h"
#include "ui/common/ItemRoles.h"
#include "ui/common/KeyedTreeItem.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/groups/BulkImageChange.h"

#include <QHash>
#include <QList>
#include <QScopeGuard>
#include <QSet>
#include <QStringBuilder>
#include <QTreeWidgetItemIterator>
#include <charconv>
#include <utility>

namespace OperationTree {

namespace {

// The decimal digits of a number, kept on the stack: a key is then built with one allocation.
struct Digits {
    explicit Digits(int n) : length(static_cast<int>(std::to_chars(text, text + sizeof text, n).ptr - text)) {}
    QLatin1String view() const { return QLatin1String(text, length); }
    char text[12];
    int length;
};

void setBold(QTreeWidgetItem* node) {
    if (KeyedTreeItem* keyed = KeyedTreeItem::cast(node)) {
        keyed->setBold(true);
        return;
    }
    QFont font = node->font(0);
    font.setBold(true);
    node->setFont(0, font);
}

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

struct Operation {
    QTreeWidgetItem* node;
    QTreeWidgetItem* module;
    int mdID;
    int Id;
    int parentOpID;
};

using OperationIndex = QHash<std::pair<int, int>, QList<int>>; // (mdID, opID) -> positions read

// The position of the operation chosen as parent of operations[child], or -1.
int findParent(const QList<Operation>& operations, const OperationIndex& index, int child) {
    const Operation& op = operations[child];
    const QList<int> candidates = index.value({op.mdID, op.parentOpID});
    if (candidates.isEmpty())
        return -1;
    for (int candidate : candidates)
        if (operations[candidate].Id == op.Id)
            return candidate;
    return candidates.first();
}

// Whether `node` is `ancestor` or lies below it in the parents chosen so far.
bool isWithin(int node, int ancestor, const QList<int>& parentOf) {
    for (int at = node; at >= 0; at = parentOf[at])
        if (at == ancestor)
            return true;
    return false;
}

void attachToParents(const QList<Operation>& operations, const OperationIndex& index, const ImageList& images) {
    QList<int> parentOf(operations.size(), -1);
    QSet<QTreeWidgetItem*> changedModules;
    for (int i = 0; i < operations.size(); ++i) {
        if (operations[i].parentOpID <= 0)
            continue;
        const int parent = findParent(operations, index, i);
        // A parent below the node itself would detach both from the tree.
        if (parent < 0 || isWithin(parent, i, parentOf))
            continue;
        parentOf[i] = parent;
        changedModules.insert(operations[i].module);
    }
    if (changedModules.isEmpty())
        return;
    // Rebuilding the changed modules in reading order is linear; moving nodes one by one would
    // search each node's position among its siblings.
    for (QTreeWidgetItem* module : std::as_const(changedModules))
        module->takeChildren();
    for (int i = 0; i < operations.size(); ++i) {
        const Operation& op = operations[i];
        if (!changedModules.contains(op.module))
            continue;
        if (parentOf[i] < 0) {
            op.module->addChild(op.node);
            continue;
        }
        QTreeWidgetItem* parent = operations[parentOf[i]].node;
        parent->addChild(op.node);
        setImage(parent, CheckImage::None, images);
        setBold(parent);
    }
}

} // namespace

QString moduleKey(int mdID) {
    return QLatin1Char('m') % Digits(mdID).view();
}

QString operationKey(int opID, int mdID, int Id) {
    return QLatin1Char('k') % Digits(opID).view() % Separator % Digits(mdID).view() % Separator % Digits(Id).view();
}

bool isModuleNode(const QTreeWidgetItem* node) {
    return KeyedTreeWidget::keyOf(node).startsWith(QLatin1Char('m'));
}

int moduleIdOf(const QTreeWidgetItem* node) {
    const QString key = KeyedTreeWidget::keyOf(node);
    if (key.startsWith(QLatin1Char('m')))
        return key.mid(1).toInt();
    return key.section(Separator, 1, 1).toInt();
}

CheckImage imageOf(const QTreeWidgetItem* node) {
    if (const KeyedTreeItem* keyed = KeyedTreeItem::cast(node))
        return static_cast<CheckImage>(qMax(keyed->image(), 0));
    return static_cast<CheckImage>(node->data(0, ItemRoles::Image).toInt());
}

void setImage(QTreeWidgetItem* node, CheckImage image, const ImageList& images) {
    const int index = static_cast<int>(image);
    if (KeyedTreeItem* keyed = KeyedTreeItem::cast(node)) {
        if (keyed->image() != index)
            keyed->setImage(index, images.image(index));
        return;
    }
    const QVariant current = node->data(0, ItemRoles::Image);
    if (current.isValid() && current.toInt() == index)
        return;
    node->setIcon(0, images.image(index));
    node->setData(0, ItemRoles::Image, index);
}

void FillOperationTree(KeyedTreeWidget* tree, const ImageList& images) {
    tree->clearKeyed();
    QList<QTreeWidgetItem*> moduleNodes;
    QHash<int, QTreeWidgetItem*> moduleById;
    tree->beginFill();
    // However the fill ends, the nodes added so far are shown; a node can only be expanded once
    // it is in the view.
    const auto endFill = qScopeGuard([&] {
        tree->endFill();
        for (QTreeWidgetItem* module : std::as_const(moduleNodes))
            module->setExpanded(true);
    });

    db::RecordSet modules = store::GetModules();
    for (; !modules.eof(); modules.moveNext()) {
        const int mdID = modules.field(QStringLiteral("mdID")).toInt();
        QTreeWidgetItem* node = tree->addKeyed(moduleKey(mdID), modules.field(QStringLiteral("mdDenumire")).toString());
        KeyedTreeWidget::setTag(node, 0);
        setImage(node, CheckImage::Unchecked, images);
        setBold(node);
        moduleNodes.append(node);
        moduleById.insert(mdID, node);
    }
    modules.close();

    QList<Operation> operations;
    OperationIndex index;
    db::RecordSet rows = store::GetOperations();
    for (; !rows.eof(); rows.moveNext()) {
        const int opID = rows.field(QStringLiteral("opID")).toInt();
        const int mdID = rows.field(QStringLiteral("mdID")).toInt();
        const int Id = rows.field(QStringLiteral("Id")).toInt();
        const QVariant parent = rows.field(QStringLiteral("opIdParinte"));
        const int parentOpID = parent.isNull() ? 0 : parent.toInt();
        // A module read above is found by its id; any other raises the tree's missing-key error.
        QTreeWidgetItem* module = moduleById.value(mdID);
        if (!module)
            module = tree->item(moduleKey(mdID));
        QTreeWidgetItem* node =
            tree->addKeyed(operationKey(opID, mdID, Id), rows.field(QStringLiteral("opDenumire")).toString(), module);
        KeyedTreeWidget::setTag(node, parentOpID);
        setImage(node, CheckImage::Unchecked, images);
        index[{mdID, opID}].append(static_cast<int>(operations.size()));
        operations.append({node, module, mdID, Id, parentOpID});
    }
    rows.close();

    attachToParents(operations, index, images);
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

void ClearOperationChecks(QTreeWidget* tree, const ImageList& images) {
    const BulkImageChange bulk(tree);
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if (imageOf(*it) != CheckImage::None)
            setImage(*it, CheckImage::Unchecked, images);
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

bool hasCheckedNode(const QTreeWidget* tree) {
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(tree)); *it; ++it)
        if (imageOf(*it) == CheckImage::Checked)
            return true;
    return false;
}

} // namespace OperationTree
