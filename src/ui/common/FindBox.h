#pragma once

#include <QLineEdit>
#include <QList>
#include <QString>

class QTreeWidget;
class QTreeWidgetItem;

// Find as you type over a list or a tree: as the administrator types, the list keeps the items
// whose text in one of its columns contains what is typed, without regard to case or diacritics
// (common::searchFolded: "stefanescu" finds "Ștefănescu"); Esc empties the box and every item
// shows again, Down moves into the list.
//  - A flat KeyedTreeWidget takes the other items out of view (KeyedTreeWidget::filterTopLevel),
//    and a key that only adds letters tests only the items shown: a large list costs what it
//    shows. A fill of the list clears its filter; the box applies it again once the fill ends,
//    and tests the items added to the list after a key.
//  - Any other tree hides items: a node stays in sight while it, a node above it or a node below it
//    matches, and a node with a match below it is expanded.
class FindBox : public QLineEdit {
    Q_OBJECT
public:
    // The designed find row above a page's list, in twips: the box (330 high) with a button of
    // 1,200 beside it, then the list from ListTop down.
    static constexpr int WidthBesideButton = 4980;
    static constexpr int ListTop = 375;

    explicit FindBox(QWidget* parent = nullptr);

    // Filters list from now on, by the texts of columns (every column when empty) and the texts
    // an item keeps in column 0 under roles (e.g. a tooltip).
    void attach(QTreeWidget* list, const QList<int>& columns = {}, const QList<int>& roles = {});
    QTreeWidget* list() const { return m_list; }

    // Whether the item's text in one of the box's columns contains the box's text.
    bool matches(const QTreeWidgetItem* item) const;

    // Applies the box's text to the list anew, e.g. after the tree was filled again.
    void refilter();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void textEdited(const QString& text);
    void apply(bool narrowing);
    // Hides the nodes below parent that neither match nor lead to a match; true when one shows.
    bool hideInTree(QTreeWidgetItem* parent, bool parentMatches);
    // Applies the text again from the event loop, once, after the list changed on its own.
    void later(bool narrowing);

    QTreeWidget* m_list = nullptr;
    QList<int> m_columns;
    QList<int> m_searched; // the columns compared, all of them when m_columns is empty
    QList<int> m_roles;
    QString m_needle;  // the typed text, folded
    QString m_applied; // the folded text the list shows the result of
    bool m_applying = false;
    bool m_pending = false;
    bool m_pendingNarrowing = true;
};
