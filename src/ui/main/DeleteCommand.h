#pragma once

class frmMain;

namespace mainwindow {

// Deletes the record selected on the page in front of SSTab1: the user of lstUsers on the users
// page, the group of lstGroupsConfig on the groups page, after the administrator answered Yes
// to "Stergem utilizatorul '<code>'?" or "Stergem grupul '<code>'?" (the item's text as it is)
// and then settled the unsaved changes of the other editor (UnsavedChanges::settle), which the
// refresh would otherwise throw away: deleting a user asks about the group editor, deleting a
// group about the user editor. No selection, any answer but Yes, or "Cancel" does nothing. Once the store has deleted
// it, the item is removed from its list, the editor is emptied and RefreshMe reloads the window, so the editor then
// shows the item the list selects (or stays empty). Any error is shown with the origin "Delete()"; a store error leaves
// the item in its list.
void Delete(frmMain& form);

} // namespace mainwindow
