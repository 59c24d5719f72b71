#include "ui/groups/OperationTree.h"

#include "db/RecordSet.h"
#include "store/RecordQueries.h"
#include "ui/common/KeyedTreeItem.h"
#include "ui/common/KeyedTreeWidget.h"

#include <QFont>
#include <QHash>
#include <QList>
#include <QMap>
#include <QScopeGuard>
#include <QSet>
#include <algorithm>
#include <deque>
#include <tuple>
#include <utility>
#include <vector>

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

struct ModuleRow {
    int mdID;
    QString name;
};

struct OperationRow {
    int opID;
    int mdID;
    int Id;
    int parentOpID;
    int name; // a position in TreeRows::names
};

// What the tree is filled from, in reading order, with a digest of it: two chains of Qt's own hash
// with different seeds, 128 bits, a fraction of the cost of a cryptographic digest of 100,000 rows.
// It only tells whether a refresh read what the last fill read.
struct TreeRows {
    QList<ModuleRow> modules;
    // A deque grows without copying what it holds: 100,000 rows never exist twice while it grows.
    std::deque<OperationRow> operations;
    // The operations' names, each once: operations of many modules bear the same names (a large
    // suite has some 800 names for 109,000 operations).
    QList<QString> names;
    size_t digest[2] = {0x243f6a8885a308d3, 0x13198a2e03707344};

    void add(const QString& name, std::initializer_list<int> numbers) {
        int row[5] = {int(numbers.size()), 0, 0, 0, 0};
        std::copy(numbers.begin(), numbers.begin() + qMin<qsizetype>(numbers.size(), 4), row + 1);
        for (size_t& chain : digest) {
            chain = qHashBits(row, sizeof row, chain);
            chain = qHashBits(name.constData(), size_t(name.size()) * sizeof(QChar), chain);
        }
    }
    QByteArray stamp() const { return QByteArray(reinterpret_cast<const char*>(digest), sizeof digest); }
};

void readRows(TreeRows& rows, const KeyedTreeWidget* tree) {
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
    const bool shown = tree->keyedCount() > 0;
    QHash<QString, int> nameAt; // a name -> its position in rows.names
    for (; !operations.eof(); operations.moveNext()) {
        const QVariant parent = operations.field(parentColumn);
        OperationRow row{operations.field(opIdColumn).toInt(), operations.field(mdIdColumn).toInt(),
                         operations.field(IdColumn).toInt(), parent.isNull() ? 0 : parent.toInt(), 0};
        QString name = operations.field(nameColumn).toString();
        if (const auto known = nameAt.constFind(name); known != nameAt.cend()) {
            row.name = *known;
        } else {
            // A name the tree shows already is shared with its node: a refresh mostly reads what
            // the tree shows, and would otherwise hold the names twice until it ends.
            if (shown)
                if (const KeyedTreeItem* node =
                        KeyedTreeItem::cast(tree->find(packedOperationKey(row.opID, row.mdID, row.Id)));
                    node && node->textAt(0) == name)
                    name = node->text(0);
            row.name = int(rows.names.size());
            nameAt.insert(name, row.name);
            rows.names.append(name);
        }
        rows.add(rows.names.at(row.name), {row.opID, row.mdID, row.Id, row.parentOpID});
        rows.operations.push_back(std::move(row));
    }
    operations.close();
}

// The operation rows the tree cannot show, by their position in reading order: those whose module
// has no row, and those whose key a row read before them already has. Each is left out on its own;
// every other row is shown. The operations more than one module lists go to shared, as (opID, Id).
QMap<int, LeftOutOperation::Reason> rowsLeftOut(const TreeRows& rows, QSet<std::pair<int, int>>* shared) {
    QSet<int> modules;
    modules.reserve(rows.modules.size());
    for (const ModuleRow& row : rows.modules)
        modules.insert(row.mdID);
    QMap<int, LeftOutOperation::Reason> leftOut;
    // The rows with a module, ordered by key and, for one key, by reading order: every row but the
    // first of a key is one whose key was read before. Sorting the keys takes a fraction of the room
    // a hash of 100,000 keys takes while a refresh holds the whole window.
    struct Keyed {
        int opID, mdID, Id, at;
        // One operation's rows of every module follow each other.
        auto order() const { return std::tie(opID, Id, mdID, at); }
    };
    // The keys are copied next to each other: sorting them in place runs from the cache.
    std::vector<Keyed> keyed;
    keyed.reserve(rows.operations.size());
    for (int i = 0; i < int(rows.operations.size()); ++i) {
        const OperationRow& row = rows.operations[std::size_t(i)];
        if (modules.contains(row.mdID))
            keyed.push_back({row.opID, row.mdID, row.Id, i});
        else
            leftOut.insert(i, LeftOutOperation::Reason::NoModule);
    }
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) { return a.order() < b.order(); });
    for (std::size_t at = 1; at < keyed.size(); ++at) {
        const Keyed& before = keyed[at - 1];
        if (std::tie(keyed[at].opID, keyed[at].Id) != std::tie(before.opID, before.Id))
            continue;
        if (keyed[at].mdID == before.mdID)
            leftOut.insert(keyed[at].at, LeftOutOperation::Reason::KeyTwice);
        else if (shared)
            shared->insert({before.opID, before.Id});
    }
    return leftOut;
}

QList<LeftOutOperation> described(const TreeRows& rows, const QMap<int, LeftOutOperation::Reason>& leftOut) {
    QList<LeftOutOperation> operations;
    operations.reserve(leftOut.size());
    for (auto it = leftOut.cbegin(); it != leftOut.cend(); ++it) {
        const OperationRow& row = rows.operations[std::size_t(it.key())];
        operations.append({row.opID, row.mdID, row.Id, rows.names.at(row.name), it.value()});
    }
    return operations;
}

using ParentIndex = QHash<std::pair<int, int>, QList<int>>; // (mdID, opID) -> positions in shown

// The positions in shown of the operations that some operation names as its parent, by (mdID,
// opID). Only those are indexed: most operations have no parent, and most are no one's parent.
ParentIndex indexParents(const QList<const OperationRow*>& shown) {
    ParentIndex index;
    for (const OperationRow* op : shown)
        if (op->parentOpID > 0)
            index.insert({op->mdID, op->parentOpID}, {});
    if (index.isEmpty())
        return index;
    for (int i = 0; i < shown.size(); ++i) {
        const auto wanted = index.find({shown[i]->mdID, shown[i]->opID});
        if (wanted != index.end())
            wanted->append(i);
    }
    return index;
}

// The position of the operation chosen as parent of shown[child], or -1.
int findParent(const QList<const OperationRow*>& shown, const ParentIndex& index, int child) {
    const OperationRow& op = *shown[child];
    const QList<int> candidates = index.value({op.mdID, op.parentOpID});
    if (candidates.isEmpty())
        return -1;
    for (int candidate : candidates)
        if (shown[candidate]->Id == op.Id)
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

// The parent chosen for each shown operation (a position in shown), -1 for one that stays
// directly below its module. Moves are decided in reading order; a move that would put a node
// below itself or below one of its own descendants is skipped.
QList<int> chooseParents(const QList<const OperationRow*>& shown) {
    const ParentIndex index = indexParents(shown);
    QList<int> parentOf(shown.size(), -1);
    for (int i = 0; i < shown.size(); ++i) {
        if (shown[i]->parentOpID <= 0)
            continue;
        const int parent = findParent(shown, index, i);
        if (parent >= 0 && !isWithin(parent, i, parentOf))
            parentOf[i] = parent;
    }
    return parentOf;
}

// The positions in shown ordered by their depth below the module, in reading order within a
// depth: each node then finds its parent made before it, and siblings keep their reading order.
QList<int> byDepth(const QList<int>& parentOf) {
    QList<int> depth(parentOf.size(), 0);
    int deepest = 0;
    for (int i = 0; i < parentOf.size(); ++i) {
        for (int at = parentOf[i]; at >= 0; at = parentOf[at])
            ++depth[i];
        deepest = qMax(deepest, depth[i]);
    }
    QList<int> order;
    order.reserve(parentOf.size());
    for (int level = 0; level <= deepest; ++level)
        for (int i = 0; i < parentOf.size(); ++i)
            if (depth[i] == level)
                order.append(i);
    return order;
}

void build(KeyedTreeWidget* tree, const TreeRows& rows, const QMap<int, LeftOutOperation::Reason>& leftOut,
           const QSet<std::pair<int, int>>& shared, const ImageList& images) {
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
        QTreeWidgetItem* node = tree->addKeyed(packedModuleKey(row.mdID), row.name);
        KeyedTreeWidget::setTag(node, 0);
        setImage(node, CheckImage::Unchecked, images);
        setBold(node);
        moduleNodes.append(node);
        moduleById.insert(row.mdID, node);
    }

    QList<const OperationRow*> shown;
    shown.reserve(qsizetype(rows.operations.size()) - leftOut.size());
    for (int i = 0; i < int(rows.operations.size()); ++i)
        if (!leftOut.contains(i))
            shown.append(&rows.operations[std::size_t(i)]);
    // Each node is added once, below the node it ends up under: its parent operation is chosen
    // before any node is made.
    const QList<int> parentOf = chooseParents(shown);
    QList<QTreeWidgetItem*> nodes(shown.size(), nullptr);
    for (const int i : byDepth(parentOf)) {
        const OperationRow& row = *shown[i];
        QTreeWidgetItem* parent = parentOf[i] < 0 ? moduleById.value(row.mdID) : nodes[parentOf[i]];
        QTreeWidgetItem* node =
            tree->addKeyed(packedOperationKey(row.opID, row.mdID, row.Id), rows.names.at(row.name), parent);
        KeyedTreeWidget::setTag(node, row.parentOpID);
        setImage(node, CheckImage::Unchecked, images);
        if (!shared.isEmpty() && shared.contains({row.opID, row.Id}))
            node->setData(0, SharedOperationRole, true);
        nodes[i] = node;
    }
    // A parent operation shows no check image and bold text, so it is never saved as granted.
    for (const int parent : parentOf) {
        if (parent < 0 || imageOf(nodes[parent]) == CheckImage::None)
            continue;
        setImage(nodes[parent], CheckImage::None, images);
        setBold(nodes[parent]);
    }
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
        readRows(rows, tree);
    } catch (...) {
        // What was read before the failure is shown, as if the fill had stopped there.
        QSet<std::pair<int, int>> shared;
        const QMap<int, LeftOutOperation::Reason> leftOut = rowsLeftOut(rows, &shared);
        build(tree, rows, leftOut, shared, images);
        throw;
    }
    QSet<std::pair<int, int>> shared;
    const QMap<int, LeftOutOperation::Reason> leftOut = rowsLeftOut(rows, &shared);
    const QByteArray stamp = rows.stamp();
    // A refresh mostly reads what the tree shows already: then the nodes stay as they are.
    if (stamp == tree->fillStamp() &&
        tree->keyedCount() == rows.modules.size() + qsizetype(rows.operations.size()) - leftOut.size()) {
        showAsFilled(tree, images);
        return described(rows, leftOut);
    }
    build(tree, rows, leftOut, shared, images);
    tree->setFillStamp(stamp);
    return described(rows, leftOut);
}
} // namespace groups
