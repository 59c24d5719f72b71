#pragma once

class ImageList;
class KeyedTreeWidget;

namespace rights {

// Fills tree with what user usID may do in company auID, through all its groups, in the check
// images of the operations tree:
//  - a node per module (key "m" + mdID, bold), Checked when the user may run every operation of
//    the module, else PartlyChecked, with "n of m operations" beside it;
//  - below it a node per operation (key "k" + opID + "#$#" + mdID + "#$#" + Id, as in the
//    operations tree), Checked, with the codes of the groups that grant it beside it;
//  - a node "Work points" (key "w") with a node per work point of the company the user may use
//    (key "p" + IdPctLucru), Checked, with the groups that give it.
// The modules are expanded while the tree is small. Reads through one connection; database
// errors are raised unchanged, with the nodes read so far in the tree.
void FillEffectiveRights(KeyedTreeWidget* tree, const ImageList& images, int usID, int auID);

} // namespace rights
