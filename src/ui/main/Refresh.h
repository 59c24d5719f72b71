#pragma once

class frmMain;

namespace mainwindow {

// Reloads every list of the form, the operations tree and the person combo box, then puts the
// selection back: the company, the group and the user selected before (each by its key), or the
// first item of a list where nothing was selected or the item is gone, and loads them into the
// editors by running the item clicks of lstAuthors, lstGroupsConfig and lstUsers, in that order.
// Up to the group's item click every failing statement is passed over, so a failing fill leaves
// its list as far as it got; from the user's selection on, an error ends the refresh and is shown
// with the origin "RefreshMe()". The password boxes are not touched. Then, also when there are no
// users, the brand and company combo boxes of the brand settings tab are refilled. Last, the lists
// that could not be read (groups, users, companies, modules and operations, persons, the selected
// company's work points) and the operations the tree left out are told in one box (RefreshReport),
// and the editors that depend on them refuse to save until a refresh reads them.
void RefreshMe(frmMain& form);

} // namespace mainwindow
