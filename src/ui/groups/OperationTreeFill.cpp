#include "ui/groups/OperationTree.h"

#include "db/RecordSet.h"
#include "store/RecordQueries.h"
#include "ui/common/KeyedTreeItem.h"
#include "ui/common/KeyedTreeWidget.h"

#include <QCryptographicHash>
#include <QFont>
#include <QHash>
#include <QList>
#include <QMap>
#include <QScopeGuard>
#include <QSet>
#include <utility>

// Filling the operations tree from the modules and operations of the database.
namespace groups {

namespace {

void setBold(QTreeWidgetItem* node) {
    if (KeyedTreeItem* keyed = KeyedTreeItem::cast(node)) {
        keyed->setBold(true);
        return;
    }
    QFont font = node->font(0);
    font.setBold(true);
    node->setFont(0, font);
}

// Whether key was not in keys yet; it is afterwards.
bool addedAnew(QSet<QString>& keys, const QString& key) {
    const qsizetype before = keys.size();
    keys.insert(key);
    return keys.size() > before;
}

struct Operation {
    QTreeWidgetItem* node;
    QTreeWidgetItem* module;
    int opID;
    int mdID;
    int Id;
    int parentOpID;
};

using OperationIndex = QHash<std::pair<int, int>, QList<int>>; // (mdID, opID) -> positions read

// The positions of the operations that some operation names as its parent, by (mdID, opID). Only
// those are indexed: most operations have no parent, and most are no one's parent.
OperationIndex indexParents(const QList<Operation>& operations) {
    OperationIndex index;
    for (const Operation& op : operations)
        if (op.parentOpID > 0)
            index.insert({op.mdID, op.parentOpID}, {});
    if (index.isEmpty())
        return index;
    for (int i = 0; i < operations.size(); ++i) {
        const auto wanted = index.find({operations[i].mdID, operations[i].opID});
        if (wanted != index.end())
            wanted->append(i);
    }
    return index;
}

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

void attachToParents(const QList<Operation>& operations, const ImageList& images) {
    const OperationIndex index = indexParents(operations);
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
    // search each node's position among its siblings. Each node gets its children in one call.
    QHash<QTreeWidgetItem*, QList<QTreeWidgetItem*>> children;
    for (QTreeWidgetItem* module : std::as_const(changedModules)) {
        module->takeChildren();
        children.insert(module, {});
    }
    for (int i = 0; i < operations.size(); ++i) {
        const Operation& op = operations[i];
        if (!changedModules.contains(op.module))
            continue;
        children[parentOf[i] < 0 ? op.module : operations[parentOf[i]].node].append(op.node);
    }
    for (auto it = children.cbegin(); it != children.cend(); ++it) {
        it.key()->addChildren(it.value());
        if (!changedModules.contains(it.key())) {
            setImage(it.key(), CheckImage::None, images);
            setBold(it.key());
        }
    }
}

struct ModuleRow {
    int mdID;
    QString name;
};

struct OperationRow {
    int opID;
    int mdID;
    int Id;
    int parentOpID;
    QString name;
};

// What the tree is filled from, in reading order, with a digest of it.
struct TreeRows {
    QList<ModuleRow> modules;
    QList<OperationRow> operations;
    QCryptographicHash digest{QCryptographicHash::Sha1};

    void add(const QString& name, std::initializer_list<int> numbers) {
        for (const int number : numbers)
            digest.addData(QByteArrayView(reinterpret_cast<const char*>(&number), sizeof number));
        digest.addData(QByteArrayView(reinterpret_cast<const char*>(name.constData()), name.size() * 2));
        digest.addData(QByteArrayView("\n", 1));
    }
};

void readRows(TreeRows& rows) {
    db::RecordSet modules = store::GetModules();
    const int moduleId = modules.fieldIndex(QStringLiteral("mdID"));
    const int moduleName = modules.fieldIndex(QStringLiteral("mdDenumire"));
    for (; !modules.eof(); modules.moveNext()) {
        rows.modules.append({modules.field(moduleId).toInt(), modules.field(moduleName).toString()});
        rows.add(rows.modules.last().name, {rows.modules.last().mdID});
    }
    modules.close();

    db::RecordSet operations = store::GetOperations();
    const int opIdColumn = operations.fieldIndex(QStringLiteral("opID"));
    const int mdIdColumn = operations.fieldIndex(QStringLiteral("mdID"));
    const int IdColumn = operations.fieldIndex(QStringLiteral("Id"));
    const int parentColumn = operations.fieldIndex(QStringLiteral("opIdParinte"));
    const int nameColumn = operations.fieldIndex(QStringLiteral("opDenumire"));
    for (; !operations.eof(); operations.moveNext()) {
        const QVariant parent = operations.field(parentColumn);
        rows.operations.append({operations.field(opIdColumn).toInt(), operations.field(mdIdColumn).toInt(),
                                operations.field(IdColumn).toInt(), parent.isNull() ? 0 : parent.toInt(),
                                operations.field(nameColumn).toString()});
        const OperationRow& op = rows.operations.last();
        rows.add(op.name, {op.opID, op.mdID, op.Id, op.parentOpID});
    }
    operations.close();
}

// The operation rows the tree cannot show, by their position in reading order: those whose module
// has no row, and those whose key a row read before them already has. Each is left out on its own;
// every other row is shown.
QMap<int, LeftOutOperation::Reason> rowsLeftOut(const TreeRows& rows) {
    QSet<int> modules;
    modules.reserve(rows.modules.size());
    for (const ModuleRow& row : rows.modules)
        modules.insert(row.mdID);
    QSet<QString> keys;
    keys.reserve(rows.operations.size());
    QMap<int, LeftOutOperation::Reason> leftOut;
    for (int i = 0; i < rows.operations.size(); ++i) {
        const OperationRow& row = rows.operations[i];
        if (!modules.contains(row.mdID))
            leftOut.insert(i, LeftOutOperation::Reason::NoModule);
        else if (!addedAnew(keys, operationKey(row.opID, row.mdID, row.Id)))
            leftOut.insert(i, LeftOutOperation::Reason::KeyTwice);
    }
    return leftOut;
}

QList<LeftOutOperation> described(const TreeRows& rows, const QMap<int, LeftOutOperation::Reason>& leftOut) {
    QList<LeftOutOperation> operations;
    operations.reserve(leftOut.size());
    for (auto it = leftOut.cbegin(); it != leftOut.cend(); ++it) {
        const OperationRow& row = rows.operations[it.key()];
        operations.append({row.opID, row.mdID, row.Id, row.name, it.value()});
    }
    return operations;
}

void build(KeyedTreeWidget* tree, const TreeRows& rows, const QMap<int, LeftOutOperation::Reason>& leftOut,
           const ImageList& images) {
    tree->clearKeyed();
    QList<QTreeWidgetItem*> moduleNodes;
    tree->beginFill();
    // However the fill ends, the nodes added so far are shown; a node can only be expanded once
    // it is in the view.
    const auto endFill = qScopeGuard([&] {
        tree->endFill();
        for (QTreeWidgetItem* module : std::as_const(moduleNodes))
            module->setExpanded(true);
    });

    QHash<int, QTreeWidgetItem*> moduleById;
    for (const ModuleRow& row : rows.modules) {
        QTreeWidgetItem* node = tree->addKeyed(moduleKey(row.mdID), row.name);
        KeyedTreeWidget::setTag(node, 0);
        setImage(node, CheckImage::Unchecked, images);
        setBold(node);
        moduleNodes.append(node);
        moduleById.insert(row.mdID, node);
    }

    QList<Operation> operations;
    operations.reserve(rows.operations.size());
    for (int i = 0; i < rows.operations.size(); ++i) {
        if (leftOut.contains(i))
            continue;
        const OperationRow& row = rows.operations[i];
        QTreeWidgetItem* module = moduleById.value(row.mdID);
        QTreeWidgetItem* node = tree->addKeyed(operationKey(row.opID, row.mdID, row.Id), row.name, module);
        KeyedTreeWidget::setTag(node, row.parentOpID);
        setImage(node, CheckImage::Unchecked, images);
        operations.append({node, module, row.opID, row.mdID, row.Id, row.parentOpID});
    }

    attachToParents(operations, images);
}

// The tree made from rows as the last fill left it: every check undone, every module expanded,
// nothing selected and the first rows in sight.
void showAsFilled(KeyedTreeWidget* tree, const ImageList& images) {
    ClearOperationChecks(tree, images);
    tree->selectItem(nullptr);
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        tree->topLevelItem(i)->setExpanded(true);
    tree->scrollToTop();
}

} // namespace

QList<LeftOutOperation> FillOperationTree(KeyedTreeWidget* tree, const ImageList& images) {
    TreeRows rows;
    try {
        readRows(rows);
    } catch (...) {
        // What was read before the failure is shown, as if the fill had stopped there.
        build(tree, rows, rowsLeftOut(rows), images);
        throw;
    }
    const QMap<int, LeftOutOperation::Reason> leftOut = rowsLeftOut(rows);
    const QByteArray stamp = rows.digest.result();
    // A refresh mostly reads what the tree shows already: then the nodes stay as they are.
    if (stamp == tree->fillStamp() &&
        tree->keyedCount() == rows.modules.size() + rows.operations.size() - leftOut.size()) {
        showAsFilled(tree, images);
        return described(rows, leftOut);
    }
    build(tree, rows, leftOut, images);
    tree->setFillStamp(stamp);
    return described(rows, leftOut);
}
} // namespace groups
