#pragma once

#include "WindowDriver.h"

#include <QString>

// The window's rights features, timed as WindowDriver times the editors: the find box above
// lstUsers (a name typed letter by letter, then Esc), the effective rights of the user in 20 groups
// (frmEffectiveRights on the company where it may run the most operations) and "who can do this"
// for the operation a group gives to 10,000 users (frmWhoCan). Each is checked afterwards.
class RightsDriver : public WindowDriver {
public:
    RightsDriver(frmMain& form, const BenchTargets& targets);

    // The first letter of the user's surname (folded) typed into an empty txtFindUsers.
    double findFirstLetter();
    // The rest of the surname, letter by letter: the slowest letter.
    double findNextLetters();
    // Esc in txtFindUsers: every user shows again.
    double findEscape();
    // findFirstLetter() on the list sorted by its "Alias" column (sorted once, untimed).
    double findFirstLetterSorted();
    // The longest of the slices in which the list brought the rest of a change into view, after
    // the keys timed since the last call (the keys' own times end with their first frame).
    double findLongestSlice();
    // The slowest of those keys from the key to the last slice.
    double findSlowestWhole();
    // frmEffectiveRights of the user in 20 groups, from its opening to its tree painted.
    double effectiveRights();
    // frmWhoCan of the operation given to 10,000 users, from its opening to its list painted.
    double whoCanDoThis();

private:
    // Selects company in lstAuthors without loading it, as the views read it; gives back the one
    // selected before.
    QTreeWidgetItem* selectCompany(int company);
    int shownUsers() const;

    // Times each key from the key to its first frame, then the slices after it until the list has
    // every item of the change in view.
    double timeKey(const QString& text, Qt::Key key = Qt::Key_unknown);

    QString m_typed; // the folded surname typed into the find box
    double m_longestSlice = 0;
    double m_slowestWhole = 0;
};
