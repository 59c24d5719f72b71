#include "ui/common/ListSorting.h"

#include <QHeaderView>
#include <QTreeWidget>

ListSorting* ListSorting::attach(QTreeWidget* list) {
    return new ListSorting(list);
}

ListSorting::ListSorting(QTreeWidget* list) : QObject(list), m_list(list) {
    m_list->header()->setSectionsClickable(true);
    connect(m_list->header(), &QHeaderView::sectionClicked, this, &ListSorting::ColumnClick);
}

void ListSorting::ColumnClick(int column) {
    m_order = m_order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    QHeaderView* header = m_list->header();
    // On a sorted list the view sorts as soon as the indicator changes; otherwise switching
    // sorting on sorts by the indicator.
    header->setSortIndicator(column, m_order);
    if (!m_list->isSortingEnabled())
        m_list->setSortingEnabled(true);
    // The header flips its own indicator before it reports the next click: tell it the direction
    // that click will ask for, so that the list is sorted once per click and in that direction.
    const Qt::SortOrder next = m_order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    QTreeWidgetItem* titles = m_list->headerItem();
    for (int c = 0; c < m_list->columnCount(); ++c)
        titles->setData(c, Qt::InitialSortOrderRole, static_cast<int>(next));
}
