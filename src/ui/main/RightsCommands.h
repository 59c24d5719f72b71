#pragma once

class frmMain;
class QMenu;
class QTreeWidget;
class QTreeWidgetItem;

namespace rights {
class EffectiveRightsDialog;
class WhoCanDialog;
} // namespace rights

// The window's ways to the rights views and reports (src/ui/rights):
//  - cbutUserRights (by lstUsers): the selected user's effective rights (also Ctrl+E) and rights
//    report, and the whole suite's report; cbutGroupReport (by lstGroupsConfig): the selected
//    group's report and the whole suite's;
//  - the context menus of lstUsers and lstGroupsConfig (the user's or group's rights and report),
//    of an operation of twOperations (who may run it in the company selected in lstAuthors) and of
//    a work point of lstPuncteLucru (who may use it);
//  - Ctrl+P: the print preview of the report of the group or user selected on the page in front.
// A report is written as CSV, shown in print preview or written as PDF. Errors are shown with the
// origins "EffectiveRights()", "WhoCan()" and "RightsReport()".
namespace mainwindow {

void ConnectRights(frmMain& form);

// The context menu of item in list, made but not shown (the caller owns it); null when the item
// has none (a module node, no item).
QMenu* RightsMenu(frmMain& form, QTreeWidget* list, QTreeWidgetItem* item);

// Opens frmEffectiveRights for a user item of lstUsers, on the company selected in lstAuthors
// when the user has rights there; null when no user is given or its rights cannot be read.
rights::EffectiveRightsDialog* ShowEffectiveRights(frmMain& form, QTreeWidgetItem* user);
// Opens frmWhoCan for an operation node of twOperations in the company selected in lstAuthors, or
// for a work point item of lstPuncteLucru; null when there is nothing to ask about.
rights::WhoCanDialog* ShowWhoCan(frmMain& form, QTreeWidgetItem* item);

} // namespace mainwindow
