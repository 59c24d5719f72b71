#pragma once

#include <QObject>
#include <Qt>

class QTreeWidget;

// Sorting of a list view by a click on a column header. The list has one sort direction, which
// flips on every header click, whichever column is clicked; a list never sorted is ascending, so
// the first click sorts descending. The clicked column becomes the sort column and sorting stays
// on from then on: later fills put new items into their sorted places. Items compare as text.
class ListSorting : public QObject {
    Q_OBJECT
public:
    // Sorts list by its header clicks from now on; the helper lives as long as the list.
    static ListSorting* attach(QTreeWidget* list);

    // The list's current sort direction.
    Qt::SortOrder order() const { return m_order; }

    // What a click on the header of column does.
    void ColumnClick(int column);

private:
    explicit ListSorting(QTreeWidget* list);

    QTreeWidget* m_list;
    Qt::SortOrder m_order = Qt::AscendingOrder;
};
