#pragma once

class GroupEditor;
class QTreeWidgetItem;

namespace groups {

// The item click of lstGroupsConfig: loads the group whose grID is item's tag into editor (see
// GroupEditor::LoadGrp); no item, nothing to load. The click of lstAuthors is the editor's own
// (GroupEditor::lstAuthors_ItemClick).
//
// Both run as one command of the window with the origin "LoadGrp()" (see common::runCommand) and return
// false when a connection could not be opened.
bool lstGroupsConfig_ItemClick(GroupEditor& editor, QTreeWidgetItem* item);
bool LoadGrp(GroupEditor& editor, int grID);

} // namespace groups
