#pragma once

class ImageList;
struct GroupsPage;

namespace groups {

// Empties the group editor for a new group: no group selected in lstGroupsConfig, empty group
// fields, every company and work point unticked (a new group must not take over the last
// group's grants), every operation check reset.
void NewGroup(GroupsPage& page, ImageList& images);

} // namespace groups
