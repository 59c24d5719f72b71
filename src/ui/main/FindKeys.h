#pragma once

class frmMain;

namespace mainwindow {

// Ctrl+F puts the focus in the find box of the page in front (txtFindGroups or txtFindUsers),
// with its text selected, so that typing replaces it.
void ConnectFindKeys(frmMain& form);

} // namespace mainwindow
