#pragma once

#include "store/RecordVersions.h"

#include <QObject>

struct UsersPage;

// The user editor of the users page (fraGroup): the user's four text fields, the linked person
// in cmbPers and the groups ticked in lstGroups. It works on the users page alone and keeps no
// data of its own: the user being edited is the selected item of lstUsers.
class UserEditor : public QObject {
    Q_OBJECT
public:
    // Connects the drop-down of cmbPers to cmbPers_DropDown and the double click of lstGroups to
    // lstGroups_DblClick.
    UserEditor(UsersPage& page, QObject* parent);

    // Shows user usID: empties both password boxes and clears the person, then fills the text
    // fields (Null as empty text; all four empty for a user without a row) and selects the
    // user's person (none when it has no item), then ticks exactly the listed groups the user
    // belongs to and lists the user's brand roles in lstUserBrand. The brand tab's input controls
    // are emptied (see BrandSettings::ClearInput), so that nothing chosen for the user shown
    // before is stored for this one. Reading the user, ticking the groups and listing the brand roles pass over
    // their failing statements; any other error ends the load and is shown with the origin
    // "LoadGrp()". When the user or its groups could not be read completely, the editor is emptied
    // (fields, person, group ticks, brand roles) and Save refuses it (see loadedCompletely).
    void LoadUser(int usID);

    // Whether the editor shows completely the user it last loaded, with every person and group
    // listed (see listsFilled); a later load that succeeds sets it again. A new user (nothing
    // selected in lstUsers) does not depend on it.
    bool loadedCompletely() const { return m_loaded && m_listsFilled; }
    // Tells the editor whether the last fills of cmbPers and lstGroups listed every person and
    // group; until fills that do, loadedCompletely() answers false, since a person or a group
    // that is not listed could be neither shown nor kept.
    void listsFilled(bool complete) { m_listsFilled = complete; }

    // The person that user usID was loaded with when cmbPers could not show it (a person added
    // since the last refresh, or a person list that could not be read); 0 when the box showed the
    // person, the user has none, or usID is not the user loaded last.
    int unshownPerson(int usID) const { return usID != 0 && usID == m_loadedUser ? m_unshownPerson : 0; }

    // The user as the editor loaded it (or as the last save left it), for the store to tell
    // whether someone else changed it since.
    store::UserVersion& version() { return m_version; }

    // Makes the person list at least 200 pixels wide, however narrow the box is.
    void cmbPers_DropDown();
    // Inverts the check box of the selected group of lstGroups, if any.
    void lstGroups_DblClick();

signals:
    // After each LoadUser, whatever it could read.
    void userLoaded();

private:
    void emptyEditor();

    UsersPage& m_form;
    bool m_loaded = true;
    int m_loadedUser = 0;
    int m_unshownPerson = 0;
    store::UserVersion m_version;
    bool m_listsFilled = true;
};
