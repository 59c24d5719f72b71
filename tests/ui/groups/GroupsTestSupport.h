#pragma once

#include "support/WindowFixture.h"
#include "ui/common/ItemRoles.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/main/frmMain.h"

#include <QMap>
#include <QTreeWidgetItemIterator>

// Reading and driving the operations tree and the group editor's lists of a real frmMain.
namespace groupstest {

// Every node's key with its check image.
inline QMap<QString, int> images(const frmMain& form) {
    QMap<QString, int> all;
    for (QTreeWidgetItemIterator it(form.twOperations); *it; ++it)
        all.insert(KeyedTreeWidget::keyOf(*it), (*it)->data(0, common::ImageRole).toInt());
    return all;
}

// The keys of the nodes showing image.
inline QStringList keysWithImage(const frmMain& form, int image) {
    QStringList keys;
    const QMap<QString, int> all = images(form);
    for (auto it = all.cbegin(); it != all.cend(); ++it)
        if (it.value() == image)
            keys << it.key();
    return keys;
}

// The key of the node's parent, empty for a root node.
inline QString parentKey(const frmMain& form, const QString& key) {
    const QTreeWidgetItem* node = form.twOperations->find(key);
    return node && node->parent() ? KeyedTreeWidget::keyOf(node->parent()) : QString();
}

// Adds an item "k" + id with a check box to a list, as the list fillers do.
inline QTreeWidgetItem* addItem(KeyedTreeWidget* list, int id, const QString& text) {
    QTreeWidgetItem* item = list->addKeyed(QStringLiteral("k") + QString::number(id), text);
    KeyedTreeWidget::setTag(item, id);
    item->setCheckState(0, Qt::Unchecked);
    return item;
}

// Makes item the list's selected item; null leaves nothing selected.
inline void select(KeyedTreeWidget* list, QTreeWidgetItem* item) {
    list->selectItem(item);
}

} // namespace groupstest
