#pragma once

#include "ui/common/PackedKey.h"

#include "ui/groups/CheckImage.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

class ImageList;
class KeyedTreeWidget;
class QTreeWidget;
class QTreeWidgetItem;

// The operations tree: every module of the suite is a root node keyed "m" + mdID, and each of
// its operations a node keyed "k" + opID + "#$#" + mdID + "#$#" + Id. The check state of a node
// is its image (CheckImage); the tree's own check boxes are not used.
//
// Operations below a parent operation. An operation whose opIdParinte names another operation
// of the same module is shown below that operation; the parent then carries no check image
// (CheckImage::None) and bold text, so it is never saved as granted. For such trees:
//  - an operation's module is always read from its own key (middle field), never from its
//    parent node's key, because the parent may be another operation;
//  - a module's image sums up every operation below it that has a check image, however deep;
//  - toggling a module sets every operation below it that has a check image, however deep.
namespace groups {

inline const QString Separator = QStringLiteral("#$#");

// Set (true) on the nodes of an operation that more than one module lists: one opID and Id, one
// grant for all of them.
inline constexpr int SharedOperationRole = Qt::UserRole + 3;

QString moduleKey(int mdID);
QString operationKey(int opID, int mdID, int Id);
// The same keys as numbers, as the tree's nodes hold them.
PackedKey packedModuleKey(int mdID);
PackedKey packedOperationKey(int opID, int mdID, int Id);

// A node is a module node exactly when its key starts with "m".
bool isModuleNode(const QTreeWidgetItem* node);
// The module id of a module node (its key without "m") or of an operation node (the middle
// field of its own key).
int moduleIdOf(const QTreeWidgetItem* node);
// The opID and Id of an operation node (the first and last fields of its key).
std::pair<int, int> operationIdsOf(const QTreeWidgetItem* node);

// The node's check image (None for a node that has never been given one).
CheckImage imageOf(const QTreeWidgetItem* node);
// Sets the node's icon (picture `image` of images; none for CheckImage::None) and its image
// role together. A node of a keyed tree that shows Checked or PartlyChecked is one of the tree's
// marked items, so that clearing the checks touches only those.
void setImage(QTreeWidgetItem* node, CheckImage image, const ImageList& images);

// An operation row that the fill could not show, and why.
struct LeftOutOperation {
    enum class Reason {
        NoModule, // its mdID has no module row
        KeyTwice, // an operation read before it has the same opID, mdID and Id
    };
    int opID;
    int mdID;
    int Id;
    QString name;
    Reason reason;
};

// Removes every node and fills the tree from the modules and operations of the database, with
// updates suspended; every node shows Unchecked afterwards, except parent operations (None).
// One bad row never stops the fill: an operation whose module has no row, or whose key an
// operation read before it already has, is left out, and the rows after it are shown. Returns
// the rows left out, in reading order. A failed query is raised unchanged, and the nodes of the
// rows read before it stay.
//
// The parent pass: an operation with opIdParinte > 0 is moved below the operation of the same
// module whose opID is opIdParinte; when several operations of the module share that opID, the
// one with the same Id is preferred, else the first one read. A parent that is not found
// leaves the operation directly below its module. A move that would put a node below itself
// or below one of its own descendants (a cycle in the data) is skipped, so nothing is
// detached and the pass always ends. Moves are decided in the order the operations were read.
QList<LeftOutOperation> FillOperationTree(KeyedTreeWidget* tree, const ImageList& images);

// Recounts the image of module mdID from the operations below it that have a check image:
// Unchecked when none of them is checked (or there are none), Checked when all are, else
// PartlyChecked. Does nothing when the module has no node.
void UpdateModuleImage(KeyedTreeWidget* tree, int mdID, const ImageList& images);

// Every node with a check image becomes Unchecked; nodes without one (None) stay so. Only the
// nodes that show a check are touched.
void ClearOperationChecks(KeyedTreeWidget* tree, const ImageList& images);

// The double-click rule for one node. A module turns Checked when it was Unchecked, else
// Unchecked, gives that image to every operation below it that has a check image, and is
// expanded. An operation flips between Checked and Unchecked (other images stay) and its
// module is recounted.
void toggleNode(KeyedTreeWidget* tree, QTreeWidgetItem* node, const ImageList& images);

// Whether any node shows Checked.
bool hasCheckedNode(const KeyedTreeWidget* tree);

// The names of the operations that two or more modules list (one opID and Id) whose nodes
// disagree, checked in one and unchecked in another, sorted. An operation's grant is one row for
// every module that lists it, so no save can write what each of those nodes shows.
QStringList operationsTickedInPart(const KeyedTreeWidget* tree);

// The key and image of every node that shows a check (Checked or PartlyChecked), in key order:
// what the tree shows, however its nodes are ordered.
QStringList checkedNodes(const KeyedTreeWidget* tree);

} // namespace groups
