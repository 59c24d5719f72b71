#pragma once

#include <QAbstractItemModel>
#include <QTreeWidget>

// Changes the check images of many nodes of a tree at once. Each change of a node normally
// makes the view look the node up among its rows, which in a tree of tens of thousands of
// nodes is a long search per node; while this guard lives the view hears nothing, and it
// repaints once when the guard ends. Only images may change meanwhile: every check picture has
// the same size, so no row changes its height.
class BulkImageChange {
public:
    explicit BulkImageChange(QTreeWidget* tree) : m_tree(tree), m_wasBlocked(tree->model()->blockSignals(true)) {}
    ~BulkImageChange() {
        m_tree->model()->blockSignals(m_wasBlocked);
        m_tree->viewport()->update();
    }
    BulkImageChange(const BulkImageChange&) = delete;
    BulkImageChange& operator=(const BulkImageChange&) = delete;

private:
    QTreeWidget* m_tree;
    bool m_wasBlocked;
};
