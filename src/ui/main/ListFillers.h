#pragma once

#include <QString>
#include <QVariant>

class KeyedComboBox;
class KeyedTreeWidget;

// The fillers of the window's group, user and company lists and of the person combo box. Every
// item is keyed "k" + the record's id and keeps the id as its tag. Item icons (13 for groups, 14
// for users) come from the image list of the window the list sits in; a list outside such a
// window gets no icons. A list with check boxes (KeyedTreeWidget::checkBoxes) shows every box unticked.
namespace modMain {

// Removes every item of list and adds one per group, ordered by group code: text grCod and, with
// withDescription, grDenumire in the second column. Stops at the first error and raises it
// unchanged; the items added so far stay in the list.
void FillGroupList(KeyedTreeWidget* list, bool withDescription);

// Removes every item of list and adds one per user, ordered by user code: usCod, usDenumire and
// the person's name (PersonName). Error behaviour as FillGroupList: a user listed twice by the
// query raises the list's duplicate-key error (35602).
void FillUserList(KeyedTreeWidget* list);

// Removes every item of list and adds one per company, ordered by name: Name and NickName. Error
// behaviour as FillGroupList.
void FillAuthorList(KeyedTreeWidget* list);

// Removes every item of combo and adds one per person, ordered by surname and first name, with
// the person's name as text. Never raises: a failing statement is passed over, and a failing
// query leaves the combo box empty.
void FillPersonCombo(KeyedComboBox* combo);

// Nume, one blank, Prenume; a Null part is taken as empty text (so a user without a person shows
// a single blank).
QString PersonName(const QVariant& nume, const QVariant& prenume);

// The key of the item that stands for a record: "k" followed by the id in decimal.
QString ItemKey(const QVariant& id);

} // namespace modMain
