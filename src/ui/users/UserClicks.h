#pragma once

class QTreeWidgetItem;
class UserEditor;

namespace users {

// The item click of lstUsers: loads the user whose usID is item's tag into editor (see
// UserEditor::LoadUser); no item, nothing to load.
//
// Both run as one command of the window with the origin "LoadGrp()" (see common::runCommand) and return
// false when a connection could not be opened.
bool lstUsers_ItemClick(UserEditor& editor, QTreeWidgetItem* item);
bool LoadUser(UserEditor& editor, int usID);

} // namespace users
