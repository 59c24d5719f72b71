#include "ui/rights/EffectiveRightsTree.h"

#include "db/SharedConnection.h"
#include "store/RightsQueries.h"
#include "ui/common/ImageList.h"
#include "ui/common/KeyedTreeItem.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/ListFill.h"
#include "ui/rights/GroupLabel.h"

#include <QHash>

namespace rights {

namespace {

// Expanded, a tree of this many operations is still read at a glance.
constexpr int ExpandedUpTo = 300;

const QString Separator = QStringLiteral("#$#");

KeyedTreeItem* addNode(KeyedTreeWidget* tree, const QString& key, const QString& text, QTreeWidgetItem* parent) {
    return static_cast<KeyedTreeItem*>(tree->addKeyed(key, text, parent));
}

// An operation or a work point the user may use: the checked image of the operations tree.
KeyedTreeItem* addGranted(KeyedTreeWidget* tree, const QString& key, const QString& text, QTreeWidgetItem* parent,
                          const ImageList& images) {
    KeyedTreeItem* node = addNode(tree, key, text, parent);
    node->setImage(ImageList::Checked, images.image(ImageList::Checked));
    return node;
}

// Adds group to the groups listed beside node.
void addGroup(QTreeWidgetItem* node, const QString& group) {
    const QString groups = node->text(1);
    node->setText(1, groups.isEmpty() ? group : groups + QStringLiteral(", ") + group);
}

// Whether a row repeats the one before it (a membership or grant the suite lists twice): the rows of
// one node and group follow each other. Groups are told apart by id, as two may share a code.
bool repeated(QString& last, const QString& key, const QVariant& grID) {
    const QString current = key + QLatin1Char('|') + grID.toString();
    if (current == last)
        return true;
    last = current;
    return false;
}

// Adds the nodes; those to expand once they are in the tree go to expanded.
void fillNodes(KeyedTreeWidget* tree, const ImageList& images, int usID, int auID, QList<QTreeWidgetItem*>& expanded) {
    const std::shared_ptr<db::Connection> connection = db::ReplaceSharedConnection();

    QHash<int, int> moduleSizes;
    {
        db::RecordSet sizes = store::GetUserModuleSizes(connection, usID, auID);
        for (; !sizes.eof(); sizes.moveNext())
            moduleSizes.insert(sizes.field("mdID").toInt(), sizes.field("opCount").toInt());
    }

    QHash<QTreeWidgetItem*, int> granted; // per module node: its operations the user may run
    int operations = 0;
    QString last;
    {
        db::RecordSet rows = store::GetUserOperations(connection, usID, auID);
        for (; !rows.eof(); rows.moveNext()) {
            const int mdID = rows.field("mdID").toInt();
            const QString moduleKey = QStringLiteral("m") + QString::number(mdID);
            QTreeWidgetItem* module = tree->find(moduleKey);
            if (!module) {
                module = addNode(tree, moduleKey, rows.field("mdDenumire").toString(), nullptr);
                static_cast<KeyedTreeItem*>(module)->setBold(true);
            }
            const QString key = QStringLiteral("k") + rows.field("opID").toString() + Separator +
                                QString::number(mdID) + Separator + rows.field("Id").toString();
            if (repeated(last, key, rows.field("grID")))
                continue;
            QTreeWidgetItem* operation = tree->find(key);
            if (!operation) {
                operation = addGranted(tree, key, rows.field("opDenumire").toString(), module, images);
                ++granted[module];
                ++operations;
            }
            addGroup(operation, GroupLabel(rows.field("grID"), rows.field("grCod")));
        }
    }
    for (auto it = granted.cbegin(); it != granted.cend(); ++it) {
        const int size = moduleSizes.value(KeyedTreeWidget::keyOf(it.key()).mid(1).toInt());
        static_cast<KeyedTreeItem*>(it.key())->setImage(
            it.value() >= size ? ImageList::Checked : ImageList::PartlyChecked,
            images.image(it.value() >= size ? ImageList::Checked : ImageList::PartlyChecked));
        it.key()->setText(1, QStringLiteral("%1 of %2 operations").arg(it.value()).arg(size));
        if (operations <= ExpandedUpTo)
            expanded.append(it.key());
    }

    db::RecordSet points = store::GetUserWorkPoints(connection, usID, auID);
    QTreeWidgetItem* root = nullptr;
    for (; !points.eof(); points.moveNext()) {
        if (!root) {
            auto* node = addNode(tree, QStringLiteral("w"), QStringLiteral("Work points"), nullptr);
            node->setIcon(images.image(ImageList::WorkPoint));
            node->setBold(true);
            root = node;
        }
        const QString key = QStringLiteral("p") + points.field("IdPctLucru").toString();
        if (repeated(last, key, points.field("grID")))
            continue;
        QTreeWidgetItem* point = tree->find(key);
        if (!point)
            point = addGranted(tree, key, points.field("Name").toString(), root, images);
        addGroup(point, GroupLabel(points.field("grID"), points.field("grCod")));
    }
    if (root)
        expanded.append(root);
}

} // namespace

void FillEffectiveRights(KeyedTreeWidget* tree, const ImageList& images, int usID, int auID) {
    QList<QTreeWidgetItem*> expanded;
    {
        const common::FillGuard fill(tree);
        tree->clearKeyed();
        fillNodes(tree, images, usID, auID, expanded);
    }
    // Only nodes in the tree can be expanded: the fill shows them when it ends.
    for (QTreeWidgetItem* node : std::as_const(expanded))
        node->setExpanded(true);
}

} // namespace rights
