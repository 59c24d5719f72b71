#pragma once

class frmMain;

// The toolbar commands that start a new record, save, delete and reload the window. frmMain's
// dispatcher (Toolbar1_ButtonClick) closes the window itself on "keyClose" and shows any error of
// a command with the origin "Toolbar1_ButtonClick()".
namespace mainwindow {

// Registers "keyNewGrp", "keyNewUser", "keySave" (a refresh follows a save that answered true),
// "keyRefresh" and "keyDelete" with the form's dispatcher. New Group, New User and Refresh first
// ask about unsaved changes of the editor they empty or reload (UnsavedChanges::settle; Refresh:
// any editor) and are not run when the answer is "Cancel".
void RegisterToolbarCommands(frmMain& form);

// The groups page with an empty group editor: no group selected in lstGroupsConfig, empty group
// fields, every company and work point unticked, every operation check reset. The focus goes to
// txtGrpName. What it shows counts as saved.
void NewGroup(frmMain& form);

// The users page with an empty user editor: no user selected in lstUsers, empty user fields and
// passwords, no person, every group unticked. The focus goes to txtUserName. The tab shown in
// tabDetalii and the brand settings are left as they are. What it shows counts as saved.
void NewUser(frmMain& form);

} // namespace mainwindow
