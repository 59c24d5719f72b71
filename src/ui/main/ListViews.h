#pragma once

class frmMain;
class QTreeWidgetItem;

// The wiring of the window's group and user lists: a click on a column header of lstGroups,
// lstGroupsConfig or lstUsers sorts that list (ListSorting); a click on an item of lstAuthors
// loads that company's work points and operations, one on lstGroupsConfig loads that group into
// the group editor, one on lstUsers loads that user into the user editor (the loading itself is
// the groups page's and the users page's, see GroupClicks.h and UserClicks.h). Each click asks
// first when it would throw away unsaved changes (UnsavedChanges).
namespace mainwindow {

// Connects the header and item clicks of the form's lists to the handlers.
void ConnectListViews(frmMain& form);

// Loads the company's work points and operations for the selected group (lstAuthors_ItemClick).
void lstAuthors_ItemClick(frmMain& form, QTreeWidgetItem* item);
// Loads the group whose grID is item's tag (LoadGrp); no item, nothing to load.
void lstGroupsConfig_ItemClick(frmMain& form, QTreeWidgetItem* item);
// Loads the user whose usID is item's tag (LoadUser); no item, nothing to load.
void lstUsers_ItemClick(frmMain& form, QTreeWidgetItem* item);

} // namespace mainwindow
