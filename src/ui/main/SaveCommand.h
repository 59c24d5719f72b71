#pragma once

class frmMain;

namespace mainwindow {

// Saves the editors of the form that have something to save: the group of the group editor with
// the operations and work points of the company selected there (when saveGroup), then the user
// of the user editor with the groups ticked for it (when saveUser). An empty selection in
// lstGroupsConfig or lstUsers means a new record. Only the grants, work points and memberships
// that the window showed are replaced; the others stay as they are in the database.
//
// Every check of the editors being saved runs before anything is written; the checks of an
// editor that is not saved do not run. The group needs its name, full name and company and a
// complete load; the user its code (neither blank nor starting or ending with blanks, and no
// other user's code as the server compares them), alias and display name, a person box showing
// a person of the list or nothing, a complete load, a password when new, and the same password
// twice. A refusal shows its message with the exclamation icon and the application title, and
// brings the field to the front with the focus.
//
// Returns true once what was asked is saved and the lists show the saved records (a new group is
// added to lstGroupsConfig, where it is selected, and to lstGroups; a new user to lstUsers,
// where it is selected; existing records are renamed); with nothing to save it writes nothing and
// answers true. A login change that failed while the user was saved is reported after the save.
// A refusal returns false with nothing written; a store error is shown with the origin
// "SaveGroup()" and returns false, with a group already committed staying saved when the user
// part fails.
bool Save(frmMain& form, bool saveGroup, bool saveUser);

} // namespace mainwindow
