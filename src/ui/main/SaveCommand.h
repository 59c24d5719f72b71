#pragma once

class frmMain;

namespace mainwindow {

// Saves both editors of the form: the group of the group editor with the operations and work
// points of the company selected there (only while tabDetalii shows its first tab), then the
// user of the user editor with the groups ticked for it. An empty selection in lstGroupsConfig
// or lstUsers means a new record.
//
// Every check runs before anything is written: the group's name, full name and company, the
// user's code, alias and display name (each refusal switches SSTab1 to the page of the field
// and puts the focus into it), the password of a new user and its verification, and, when the
// group part runs, whether the group editor loaded the group and the company completely. A
// refusal shows its message with the exclamation icon and the application title.
//
// Returns true once both parts are saved and the lists show the saved records (a new group is
// added to lstGroupsConfig, where it is selected, and to lstGroups; a new user to lstUsers,
// where it is selected; existing records are renamed). A refusal returns false with nothing
// written; a store error is shown with the origin "SaveGroup()" and returns false, with a group
// already committed staying saved when the user part fails.
bool Save(frmMain& form);

} // namespace mainwindow
