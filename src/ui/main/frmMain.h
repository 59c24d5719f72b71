#pragma once

#include "ui/groups/GroupsPage.h"
#include "ui/groups/OperationTree.h"
#include "ui/users/UsersPage.h"
#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QSize>
#include <functional>
#include <memory>

class GroupEditor;
class ImageList;
class KeyedComboBox;
class LockWaitProgress;
class KeyedTreeWidget;
class LoginComponent;
class TabControl;
class UnsavedChanges;
class UserEditor;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QStatusBar;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

// The one window of the tool: toolbar, the groups and users pages of SSTab1, and the status bar
// with the server, database, user, time and date. Every named control is a public member whose
// objectName is its own name; the list fillers, the operations tree and the editors work on
// these widgets directly.
//
// Lists are KeyedTreeWidgets in details view (header shown, no root decoration); lstUserBrand,
// whose items have no key, is a plain QTreeWidget. lstAuthors, lstPuncteLucru and lstGroups
// show a check box on every item (checkBoxes() is on). twOperations draws its check states with
// images 1 to 3 of ImageList1.
class frmMain : public QMainWindow, public GroupsPage, public UsersPage {
    Q_OBJECT
public:
    using Command = std::function<void()>;

    // login supplies the server, database and user shown in the status bar; it must outlive
    // the window.
    explicit frmMain(LoginComponent& login, QWidget* parent = nullptr);
    ~frmMain() override;

    // Runs the toolbar command of a button key. "keyClose" closes the window; the other keys
    // run the command registered for them with setCommand. Keys compare exactly; a key with
    // no command does nothing. An error ends the command and is shown with the origin
    // "Toolbar1_ButtonClick()"; the command shows at most one error box (see common::runCommand).
    void Toolbar1_ButtonClick(const QString& key);
    // Registers (or replaces) the command run for a toolbar button key.
    void setCommand(const QString& key, Command command);

    // The tab change handler of SSTab1: brings the page of the selected tab to the front.
    // previousTab is ignored; the selected tab is read from the control.
    void SSTab1_Click(int previousTab);

    // Reloads every list of the window and restores the selection (see mainwindow::RefreshMe), as
    // one command under the wait cursor: a server that cannot be reached is tried once and shown
    // once, with the origin "RefreshMe()" (see common::runCommand). Status bar panel 1 then says whether
    // the server could be reached. What the editors show afterwards counts as saved.
    void RefreshMe();
    // Which editors Save writes: those with changes while the user editor's first tab is shown
    // (the brand tab in front leaves a changed group unsaved), or every editor with changes.
    enum class SaveScope { ShownTab, EveryChangedEditor };
    // Saves the editors that have changes (see mainwindow::Save); true once saved, and what the
    // saved editors show then counts as saved.
    bool Save(SaveScope scope = SaveScope::ShownTab);
    // Deletes the group or user selected on the page in front (see mainwindow::Delete).
    void Delete();
    // Shows user usID in the user editor (see users::LoadUser), as one command.
    void LoadUser(int usID);

    // Group editor and operations tree (src/ui/groups).
    // Shows group grID in the group editor: fields, companies, then the selected company; as one
    // command (see groups::LoadGrp).
    void LoadGrp(int grID);
    // Fills twOperations from the modules and operations (see groups::FillOperationTree) and tells
    // the group editor whether the tree shows every operation; returns the operations left out.
    // A failed query is raised unchanged, and the group editor then counts the tree as incomplete.
    QList<groups::LeftOutOperation> FillOperationTree();
    // Every check image of twOperations becomes unchecked (parent operations keep none).
    void ClearOperationChecks();
    // Loads the work points and operation checks of the company item for the selected group.
    void lstAuthors_ItemClick(QTreeWidgetItem* item);
    // Double clicks: invert the selected item's box / toggle the selected tree node.
    void lstAuthors_DblClick();
    void lstGroups_DblClick();
    void twOperations_DblClick();

    // The smallest window in which the layout still shows the editors whole (pixels, frame
    // included): the group frame's designed width right of the group list needs 820. A stored
    // size below it is not restored; a smaller window scrolls its tab control.
    static QSize DesignedMinimumSize() { return {820, 560}; }

    // The group editor, which knows whether it loaded the selected group and company completely.
    GroupEditor& groupEditor() const { return *m_groupEditor; }
    // The user editor, which knows whether it loaded the selected user completely.
    UserEditor& userEditor() const { return *m_userEditor; }

    // What the editors hold that is not saved yet, and the question before it would be lost.
    UnsavedChanges& unsavedChanges() const { return *m_unsavedChanges; }

    // The login component the window was opened with (server, database and user).
    LoginComponent& login() const { return m_login; }

    // Status bar panel 1 to 5 (server, database, user, time, date).
    QLabel* Panel(int index) const;
    // Status bar panel 1: the server, and whether the last command could connect to it.
    void showConnected(bool connected);

    ImageList* ImageList1;
    QToolBar* Toolbar1;
    QStatusBar* StatusBar1;

    TabControl* SSTab1;
    // Shown only while the window is smaller than DesignedMinimumSize: they move SSTab1 within
    // the space between the toolbar and the status bar (see mainwindow::Form_Resize).
    QScrollBar* hsbForm;
    QScrollBar* vsbForm;

    // The named controls of the two pages are the members of GroupsPage and UsersPage.
    GroupsPage& groupsPage() { return *this; }
    UsersPage& usersPage() { return *this; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    QMenu* createPopupMenu() override { return nullptr; }

private:
    void buildToolbar();
    // Delete in lstGroupsConfig or lstUsers runs the toolbar's Delete button.
    void buildDeleteKeys();
    void buildStatusBar();
    void buildScrollBars();

    // Runs once, when the window is first shown: selects the groups page, fills the status bar
    // from the login component and queues the refresh of every list, which runs once the window
    // is on screen.
    void Form_Load();
    // Runs as the window closes: stores its state, position and size.
    void Form_Unload();

    LoginComponent& m_login;
    GroupEditor* m_groupEditor;
    UserEditor* m_userEditor;
    UnsavedChanges* m_unsavedChanges;
    std::unique_ptr<LockWaitProgress> m_lockWait;
    QHash<QString, Command> m_commands;
    QList<QLabel*> m_panels;
    bool m_loaded = false;
};
