#pragma once

#include <QString>
#include <QVariant>

class KeyedComboBox;
class KeyedTreeWidget;

// The fillers of the user list and the person combo box. Every item is keyed "k" + the record's
// id and keeps the id as its tag; user items take the image list's user icon when the list sits
// in a window that has one.
namespace users {

// Removes every item of list and adds one per user, ordered by user code: usCod, usDenumire and
// the person's name (PersonName). Stops at the first error and raises it unchanged; the items
// added so far stay in the list. A user that the query gives twice (two persons point at it) is
// listed once, from its first row.
void FillUserList(KeyedTreeWidget* list);

// Removes every item of combo and adds one per person, ordered by surname and first name, with
// the person's name as text, and leaves none selected. A person that the query gives twice is
// listed once. Stops at the first error and raises it unchanged: a failing query leaves the box
// empty, a row that cannot be read keeps the persons read before it.
void FillPersonCombo(KeyedComboBox* combo);

// Nume, one blank, Prenume; a Null part is taken as empty text (so a user without a person shows
// a single blank).
QString PersonName(const QVariant& nume, const QVariant& prenume);

} // namespace users
