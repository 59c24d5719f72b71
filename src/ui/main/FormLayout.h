#pragma once

class frmMain;

// How frmMain's tab control, pages and lists follow the window's size. Lengths are computed in
// twips. Every statement stands alone: one that cannot apply (a negative size) is passed over without a message and the
// following ones still run, each reading the sizes the statements before it have set.
namespace mainwindow {

// Sizes SSTab1, both pages, lstUsers (below its find row), tabDetalii, fraGroup and lstGroups from the window's
// outer size (at least frmMain::DesignedMinimumSize()) and the status bar's height. A window
// smaller than that minimum shows hsbForm and vsbForm, and the tab control is moved by their
// values.
void Form_Resize(frmMain& form);

// Stretches lstGroupsConfig (below its find row), fraUserGroup and twOperations over the groups page.
void picUserGroups_Resize(frmMain& form);

} // namespace mainwindow
