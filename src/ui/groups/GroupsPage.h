#pragma once

class FindBox;
class KeyedTreeWidget;
class QGroupBox;
class QLabel;
class QLineEdit;
class QToolButton;
class QWidget;

// The named controls of the groups page (SSTab1, tab 0): the group list and the group editor.
// frmMain exposes them as its own members; the group editor works on this page alone.
struct GroupsPage {
    QWidget* picUserGroups = nullptr;
    // Above the group list: its find box (code or full name) and the button of the rights reports.
    FindBox* txtFindGroups = nullptr;
    QToolButton* cbutGroupReport = nullptr;
    KeyedTreeWidget* lstGroupsConfig = nullptr;
    QGroupBox* fraUserGroup = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* txtGrpName = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* txtFullName = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* txtNotes = nullptr;
    KeyedTreeWidget* lstAuthors = nullptr;
    KeyedTreeWidget* lstPuncteLucru = nullptr;
    KeyedTreeWidget* twOperations = nullptr;

    // Makes the page's controls in tab, at their designed places.
    static GroupsPage build(QWidget* tab);
};
