#pragma once

class KeyedTreeWidget;

// The fillers of the group and company lists. Every item is keyed "k" + the record's id and keeps
// the id as its tag. Group items take the image list's group icon when the list sits in a window
// that has one. A list with check boxes (KeyedTreeWidget::checkBoxes) shows every box unticked.
namespace groups {

// Removes every item of list and adds one per group, ordered by group code: text grCod and, with
// withDescription, grDenumire in the second column, else as the tooltip of the code. Stops at the first error and
// raises it unchanged; the items added so far stay in the list.
void FillGroupList(KeyedTreeWidget* list, bool withDescription);

// Removes every item of list and adds one per company, ordered by name: Name and NickName. Error
// behaviour as FillGroupList.
void FillAuthorList(KeyedTreeWidget* list);

} // namespace groups
