#pragma once

class frmMain;

namespace mainwindow {

// Reloads every list of the form, the operations tree and the person combo box, then puts the
// selection back: the company, the group and the user selected before (each by its key), or the
// first item of a list where nothing was selected or the item is gone, and loads them into the
// editors by running the item clicks of lstAuthors, lstGroupsConfig and lstUsers, in that order.
// Up to the group's item click every failing statement is passed over without a message, so a
// failing fill leaves its list as far as it got; from the user's selection on, an error ends the
// refresh and is shown with the origin "RefreshMe()". The password boxes are not touched. Last, also
// when there are no users, the brand and company combo boxes of the brand settings tab are refilled.
void RefreshMe(frmMain& form);

} // namespace mainwindow
