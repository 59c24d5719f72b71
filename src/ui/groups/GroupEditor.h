#pragma once

#include "store/RecordVersions.h"

#include <QObject>
#include <QSet>
#include <QString>

class QPoint;

class ImageList;
struct GroupsPage;
class QTreeWidgetItem;

// The group editor of the groups page: loads a group's fields and companies, the work points
// and operation checks of one company, and handles the double clicks of lstAuthors and
// twOperations. It works on the groups page alone and keeps no data of its own: the window's controls are the whole
// state (the group is the selected item of lstGroupsConfig, the company the selected item of lstAuthors).
class GroupEditor : public QObject {
    Q_OBJECT
public:
    // Connects the double clicks of lstAuthors and twOperations to the handlers below (the window
    // routes the item click of lstAuthors, see UnsavedChanges). The tree's own expand-on-double-
    // click is switched off (the double click toggles check images instead) and its rows share one
    // height; images are the window's image list, for the check images.
    GroupEditor(GroupsPage& page, ImageList& images, QObject* parent);

    // Shows group grID: its code, full name and notes (Null as empty text; all three empty when
    // the group has no row), ticks the companies for which it holds rights, then runs
    // lstAuthors_ItemClick for the selected company (with none selected, it lists no work points
    // and checks no operation). Every failing statement is passed over without a message; when the
    // group or its company could not be read completely, the editor is emptied (fields, company
    // ticks, work points, operation checks) and Save refuses it (see loadedCompletely).
    void LoadGrp(int grID);

    // Lists the company's work points (ticked where the selected group holds them), resets the
    // tree to unchecked and, when a group is selected and the company's box is ticked, checks
    // the operations the group holds for that company. Errors up to the reset are shown with
    // the origin "lstAuthors_ItemClick" and end the click; later ones are passed over.
    void lstAuthors_ItemClick(QTreeWidgetItem* item);

    // Inverts the check box of the list's selected item, if any.
    void lstAuthors_DblClick();

    // Whether the editor shows completely what it last loaded: false after LoadGrp could not
    // read the group or its companies, or after the company click could not read the company's
    // work points or the group's operations for it (the lists may then be empty, partial or
    // still another company's), and while the operations tree lacks operations (see
    // treeFilled). A later load that succeeds sets it again, and so does groupEmptied().
    bool loadedCompletely() const { return m_groupLoaded && m_companyLoaded && m_treeFilled; }
    // Tells the editor whether the last fill of twOperations shows every operation; until a fill
    // that does, loadedCompletely() answers false, since the grants of an operation without a
    // node could be neither shown nor kept.
    void treeFilled(bool complete) { m_treeFilled = complete; }
    // The server's message when the last company click could not read the company's work
    // points; empty when it could.
    const QString& workPointsError() const { return m_workPointsError; }
    // Tells the editor that its group fields and companies were emptied for a new group: there
    // is nothing of a group left to have failed loading, nor to compare a save with.
    void groupEmptied() {
        m_groupLoaded = true;
        m_version.grID = 0;
    }

    // Whether a save may replace the selected company's grants by the tree's checks: false when
    // the last company click found the box off of a company that the group does not list, and so
    // checked none of the grants the database holds for it. A save must then keep them.
    bool grantsShown() const { return m_grantsShown; }

    // The group and the shown company's grants as the editor loaded them (or as the last save
    // left them), for the store to tell whether someone else changed them since.
    store::GroupVersion& version() { return m_version; }

    // Toggles the tree's selected node (see groups::toggleNode), then ticks the selected
    // company when any node is checked and unticks it otherwise. Without a selected company it
    // only asks for one ("Selectati authorul!") and brings lstAuthors to the front with the focus.
    void twOperations_DblClick();

signals:
    // After each LoadGrp and each company click, whatever they could read.
    void groupLoaded();
    void companyLoaded();

protected:
    // A double click on the tree's empty space runs the tree's double-click handler too: it
    // works on the selected node, not on the node under the pointer. Space on the selected node,
    // and a click on a node's check image (which selects the node), do what a double click does.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void emptyEditor();
    // Shows no company's work points nor operation checks, for a group loaded while no company
    // is selected.
    void showNoCompany();
    // The node whose check image is at position (viewport pixels), or null.
    QTreeWidgetItem* checkImageAt(const QPoint& position) const;

    GroupsPage& m_form;
    ImageList& m_images;
    bool m_groupLoaded = true;
    bool m_companyLoaded = true;
    bool m_grantsShown = true;
    // The companies the loaded group lists (admGrupAutor).
    QSet<int> m_listedAuthors;
    store::GroupVersion m_version;
    bool m_treeFilled = true;
    QString m_workPointsError;
};
