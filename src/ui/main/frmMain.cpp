#include "ui/main/frmMain.h"

#include "db/OneConnectionAttempt.h"
#include "session/LoginComponent.h"
#include "ui/common/ClockPanel.h"
#include "ui/common/Controls.h"
#include "ui/common/ImageList.h"
#include "ui/common/KeyedComboBox.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/LockWaitProgress.h"
#include "ui/common/ShowErrors.h"
#include "ui/common/TabControl.h"
#include "ui/common/ToolBarStyle.h"
#include "ui/common/Twips.h"
#include "ui/common/WaitCursor.h"
#include "ui/common/modMinMaxForm.h"
#include "ui/groups/GroupClicks.h"
#include "ui/groups/GroupEditor.h"
#include "ui/groups/OperationTree.h"
#include "ui/main/DeleteCommand.h"
#include "ui/main/FindKeys.h"
#include "ui/main/FormLayout.h"
#include "ui/main/ListViews.h"
#include "ui/main/Refresh.h"
#include "ui/main/RightsCommands.h"
#include "ui/main/SaveCommand.h"
#include "ui/main/ToolbarCommands.h"
#include "ui/main/UnsavedChanges.h"
#include "ui/users/AutoCompleteCombo.h"
#include "ui/users/BrandSettings.h"
#include "ui/users/UserClicks.h"
#include "ui/users/UserEditor.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>

using namespace common;

frmMain::frmMain(LoginComponent& login, QWidget* parent) : QMainWindow(parent), m_login(login) {
    setObjectName("frmMain");
    setWindowTitle("User Groups Configuration");
    setWindowIcon(ImageList::windowIcon());
    // The designed lengths assume a small, narrow dialog font; a larger one would not fit the labels.
    QFont small = font();
    small.setPixelSize(10);
    small.setStretch(QFont::SemiCondensed);
    setFont(small);
    resize(common::twipsToPixels(14325), common::twipsToPixels(10275));

    ImageList1 = new ImageList(this);
    buildToolbar();
    buildStatusBar();

    SSTab1 = place(new TabControl(this), "SSTab1", common::twipsRect(45, 555, 13575, 8460));
    SSTab1->addPage(ImageList1->image(ImageList::Group), "   User Groups Configuration ");
    SSTab1->addPage(ImageList1->image(ImageList::User), "  Users  ");
    groupsPage() = GroupsPage::build(SSTab1);
    usersPage() = UsersPage::build(SSTab1, *ImageList1);
    SSTab1->setContainer(0, picUserGroups);
    SSTab1->setContainer(1, picUsers);
    connect(SSTab1, &TabControl::Click, this, &frmMain::SSTab1_Click);
    buildScrollBars();
    m_groupEditor = new GroupEditor(groupsPage(), *ImageList1, this);
    m_userEditor = new UserEditor(usersPage(), this);
    new BrandSettings(
        BrandPage::of(usersPage()), m_login, m_userEditor->version(),
        [this] { return m_unsavedChanges->settle(UnsavedChanges::Part::User); },
        [this] { mainwindow::lstUsers_ItemClick(*this, lstUsers->selectedItem()); }, this);
    for (KeyedComboBox* combo : {cmbPers, cboAuthor, cboBrand})
        AutoCompleteCombo::install(combo);
    m_unsavedChanges = new UnsavedChanges(*this);
    connect(m_groupEditor, &GroupEditor::groupLoaded, m_unsavedChanges, &UnsavedChanges::groupShown);
    connect(m_groupEditor, &GroupEditor::companyLoaded, m_unsavedChanges, &UnsavedChanges::companyShown);
    connect(m_userEditor, &UserEditor::userLoaded, m_unsavedChanges, &UnsavedChanges::userShown);
    mainwindow::ConnectListViews(*this);
    mainwindow::RegisterToolbarCommands(*this);
    buildDeleteKeys();
    mainwindow::ConnectFindKeys(*this);
    mainwindow::ConnectRights(*this);

    picUserGroups->installEventFilter(this);
    m_lockWait = std::make_unique<LockWaitProgress>(this);
}

frmMain::~frmMain() = default;

void frmMain::buildToolbar() {
    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName("Toolbar1");
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    Toolbar1->setIconSize(QSize(16, 16));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    // The bar keeps its designed 420 twips: captions in a slightly smaller type fit under the
    // 16-pixel images.
    Toolbar1->setFixedHeight(common::twipsToPixels(420));
    QFont caption = Toolbar1->font();
    caption.setPixelSize(9);
    Toolbar1->setFont(caption);
    auto* style = new ToolBarStyle;
    style->setParent(Toolbar1);
    Toolbar1->setStyle(style);
    addToolBar(Qt::TopToolBarArea, Toolbar1);

    struct Button {
        const char* key; // null for a separator
        const char* caption;
        int image;
        QKeySequence shortcut;
    };
    const Button buttons[] = {
        {"keyClose", "Close", ImageList::Close, QKeySequence(Qt::CTRL | Qt::Key_Q)},
        {nullptr, nullptr, 0, {}},
        {"keyNewGrp", "New Group", ImageList::Group, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G)},
        {"keyNewUser", "New User", ImageList::User, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_U)},
        {nullptr, nullptr, 0, {}},
        {"keySave", "Save", ImageList::Save, QKeySequence(Qt::CTRL | Qt::Key_S)},
        {nullptr, nullptr, 0, {}},
        {"keyRefresh", "Refresh", ImageList::Refresh, QKeySequence(Qt::Key_F5)},
        {nullptr, nullptr, 0, {}},
        {"keyDelete", "Delete", ImageList::Delete, QKeySequence(Qt::Key_Delete)},
    };
    for (const Button& button : buttons) {
        if (!button.key) {
            Toolbar1->addSeparator();
            continue;
        }
        QAction* action = Toolbar1->addAction(ImageList1->image(button.image), button.caption);
        const QString key = button.key;
        action->setObjectName(key);
        action->setToolTip(
            QStringLiteral("%1 (%2)").arg(button.caption, button.shortcut.toString(QKeySequence::NativeText)));
        // Delete acts only from the two lists it deletes from (see buildDeleteKeys), so that the key
        // keeps its meaning in the text boxes.
        if (button.shortcut != QKeySequence(Qt::Key_Delete))
            action->setShortcut(button.shortcut);
        // A widget's style does not pass to its children: each button takes the bar's own.
        Toolbar1->widgetForAction(action)->setStyle(style);
        connect(action, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
    }
}

void frmMain::buildScrollBars() {
    hsbForm = place(new QScrollBar(Qt::Horizontal, this), "hsbForm", QRect());
    vsbForm = place(new QScrollBar(Qt::Vertical, this), "vsbForm", QRect());
    for (QScrollBar* bar : {hsbForm, vsbForm}) {
        bar->hide();
        connect(bar, &QScrollBar::valueChanged, this, [this] { mainwindow::Form_Resize(*this); });
    }
    // A tab control scrolled up or left passes under the bars, which cover it.
    for (QWidget* bar : {static_cast<QWidget*>(Toolbar1), static_cast<QWidget*>(StatusBar1)}) {
        bar->setAutoFillBackground(true);
        bar->raise();
    }
}

void frmMain::buildDeleteKeys() {
    QAction* toolbarDelete = Toolbar1->findChild<QAction*>(QStringLiteral("keyDelete"));
    for (QTreeWidget* list : {static_cast<QTreeWidget*>(lstGroupsConfig), static_cast<QTreeWidget*>(lstUsers)}) {
        auto* key = new QAction(list);
        key->setShortcut(QKeySequence(Qt::Key_Delete));
        key->setShortcutContext(Qt::WidgetShortcut);
        list->addAction(key);
        connect(key, &QAction::triggered, toolbarDelete, &QAction::trigger);
    }
}

void frmMain::buildStatusBar() {
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setFixedHeight(common::twipsToPixels(330));
    setStatusBar(StatusBar1);
    for (int index = 1; index <= 5; ++index) {
        QLabel* panel = index == 4   ? new ClockPanel(ClockPanel::Kind::Time, StatusBar1)
                        : index == 5 ? new ClockPanel(ClockPanel::Kind::Date, StatusBar1)
                                     : new QLabel(StatusBar1);
        panel->setObjectName("StatusBar1Panel" + QString::number(index));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (index > 1)
            panel->setMinimumWidth(common::twipsToPixels(1440));
        // Panel 1 takes the free width; the others keep to their contents.
        StatusBar1->addPermanentWidget(panel, index == 1 ? 1 : 0);
        m_panels.append(panel);
    }
}

QLabel* frmMain::Panel(int index) const {
    return m_panels.value(index - 1);
}

void frmMain::setCommand(const QString& key, Command command) {
    m_commands.insert(key, std::move(command));
}

void frmMain::Toolbar1_ButtonClick(const QString& key) {
    const bool connected = runCommand("Toolbar1_ButtonClick()", [&] {
        if (key == "keyClose") {
            close();
            return;
        }
        const WaitCursor busy;
        // A copy: the command may register commands of its own while it runs.
        if (const Command command = m_commands.value(key))
            command();
    });
    if (!connected)
        showConnected(false);
}

void frmMain::SSTab1_Click(int /*previousTab*/) {
    switch (SSTab1->currentIndex()) {
    case 0:
        picUserGroups->raise();
        break;
    case 1:
        picUsers->raise();
        break;
    default:
        break;
    }
}

void frmMain::RefreshMe() {
    const WaitCursor busy;
    runCommand("RefreshMe()", [&] {
        mainwindow::RefreshMe(*this);
        showConnected(!db::OneConnectionAttempt::failure());
    });
    m_unsavedChanges->allShown();
}

void frmMain::showConnected(bool connected) {
    QString text = "Server : " + m_login.ServerName();
    if (!connected)
        text += " (not connected)";
    Panel(1)->setText(text);
}

bool frmMain::Save(SaveScope scope) {
    const bool group = m_unsavedChanges->toSave(UnsavedChanges::Part::Group) &&
                       (scope == SaveScope::EveryChangedEditor || tabDetalii->currentIndex() == 0);
    const bool user = m_unsavedChanges->toSave(UnsavedChanges::Part::User);
    if (!mainwindow::Save(*this, group, user))
        return false;
    if (group)
        m_unsavedChanges->groupShown();
    if (user)
        m_unsavedChanges->userShown();
    return true;
}

void frmMain::Delete() {
    mainwindow::Delete(*this);
}

void frmMain::LoadUser(int usID) {
    if (!users::LoadUser(*m_userEditor, usID))
        showConnected(false);
}

void frmMain::LoadGrp(int grID) {
    if (!groups::LoadGrp(*m_groupEditor, grID))
        showConnected(false);
}

QList<groups::LeftOutOperation> frmMain::FillOperationTree() {
    // Incomplete until the fill has shown what it could.
    m_groupEditor->treeFilled(false);
    const QList<groups::LeftOutOperation> leftOut = groups::FillOperationTree(twOperations, *ImageList1);
    // Operations the tree leaves out show no check, and a save keeps their grants as they are.
    m_groupEditor->treeFilled(true);
    return leftOut;
}

void frmMain::ClearOperationChecks() {
    groups::ClearOperationChecks(twOperations, *ImageList1);
}

void frmMain::lstAuthors_ItemClick(QTreeWidgetItem* item) {
    m_groupEditor->lstAuthors_ItemClick(item);
}

void frmMain::lstAuthors_DblClick() {
    m_groupEditor->lstAuthors_DblClick();
}

void frmMain::lstGroups_DblClick() {
    m_userEditor->lstGroups_DblClick();
}

void frmMain::twOperations_DblClick() {
    m_groupEditor->twOperations_DblClick();
}

void frmMain::Form_Load() {
    showErrors("Form_Load()", [&] {
        SSTab1->setCurrentIndex(0);
        // The tab control may not have announced the change; bring the groups page up in any case.
        SSTab1_Click(1);
        Panel(1)->setText("Server : " + m_login.ServerName());
        Panel(2)->setText("Database : " + m_login.DatabaseName());
        Panel(3)->setText("User : " + m_login.UserName());
        // The lists are filled once the window is on screen: a server that does not answer keeps
        // the administrator waiting under the wait cursor, not looking at nothing.
        QMetaObject::invokeMethod(
            this, [this] { showErrors("Form_Load()", [&] { RefreshMe(); }); }, Qt::QueuedConnection);
    });
}

void frmMain::Form_Unload() {
    bool positionOnly = false;
    modMinMaxForm::SaveWindowSettings(this, positionOnly);
}

void frmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_loaded) {
        m_loaded = true;
        Form_Load();
    }
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    mainwindow::Form_Resize(*this);
}

void frmMain::closeEvent(QCloseEvent* event) {
    // Only unsaved changes keep the window open, when the administrator cancels or their save fails.
    if (!m_unsavedChanges->settle(UnsavedChanges::Part::All)) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == picUserGroups && event->type() == QEvent::Resize)
        mainwindow::picUserGroups_Resize(*this);
    return QMainWindow::eventFilter(watched, event);
}
