#include "ui/main/frmMain.h"

#include "db/OneConnectionAttempt.h"
#include "session/LoginComponent.h"
#include "ui/common/ShowErrors.h"
#include "ui/common/KeyedComboBox.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/Twips.h"
#include "ui/common/WaitCursor.h"
#include "ui/groups/GroupEditor.h"
#include "ui/groups/OperationTree.h"
#include "ui/common/ClockPanel.h"
#include "ui/main/DeleteCommand.h"
#include "ui/main/FormLayout.h"
#include "ui/common/ImageList.h"
#include "ui/main/ListViews.h"
#include "ui/main/Refresh.h"
#include "ui/main/SaveCommand.h"
#include "ui/common/TabControl.h"
#include "ui/common/ToolBarStyle.h"
#include "ui/main/ToolbarCommands.h"
#include "ui/common/modMinMaxForm.h"
#include "ui/main/UnsavedChanges.h"
#include "ui/users/AutoCompleteCombo.h"
#include "ui/users/BrandSettings.h"
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

namespace {

struct Column {
    QString title;
    int width; // twips
};

template <typename Control> Control* place(Control* control, const char* name, const QRect& rect) {
    control->setObjectName(name);
    control->setGeometry(rect);
    return control;
}

QLabel* label(QWidget* container, const char* name, const QString& text, const QRect& rect) {
    return place(new QLabel(text, container), name, rect);
}

// A text box; maxLength 0 leaves the length open.
QLineEdit* textBox(QWidget* container, const char* name, const QRect& rect, int maxLength = 0) {
    auto* box = place(new QLineEdit(container), name, rect);
    if (maxLength > 0)
        box->setMaxLength(maxLength);
    return box;
}

QLineEdit* passwordBox(QWidget* container, const char* name, const QRect& rect) {
    auto* box = place(new QLineEdit(container), name, rect);
    box->setEchoMode(QLineEdit::Password);
    // Typed characters show as "*", whatever the style's own password character is.
    box->setStyleSheet("QLineEdit { lineedit-password-character: 42; }");
    return box;
}

KeyedComboBox* imageCombo(QWidget* container, const char* name, const QRect& rect) {
    return place(new KeyedComboBox(container), name, rect);
}

// A list view in details view: a visible header with the designed column widths, no tree lines.
template <typename List = KeyedTreeWidget>
List* listView(QWidget* container, const char* name, const QRect& rect, const QList<Column>& columns) {
    auto* list = place(new List(container), name, rect);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setColumnCount(static_cast<int>(columns.size()));
    QStringList titles;
    for (const Column& column : columns)
        titles << column.title;
    list->setHeaderLabels(titles);
    list->header()->setStretchLastSection(false);
    list->header()->setSectionsClickable(true);
    for (int i = 0; i < columns.size(); ++i)
        list->setColumnWidth(i, twips::toPixels(columns[i].width));
    return list;
}

QGroupBox* frame(QWidget* container, const char* name, const QString& caption, const QRect& rect) {
    return place(new QGroupBox(caption, container), name, rect);
}

} // namespace

frmMain::frmMain(LoginComponent& login, QWidget* parent) : QMainWindow(parent), m_login(login) {
    setObjectName("frmMain");
    setWindowTitle("User Groups Configuration");
    setWindowIcon(ImageList::windowIcon());
    // The designed lengths assume a small, narrow dialog font; a larger one would not fit the labels.
    QFont small = font();
    small.setPixelSize(10);
    small.setStretch(QFont::SemiCondensed);
    setFont(small);
    resize(twips::toPixels(14325), twips::toPixels(10275));

    ImageList1 = new ImageList(this);
    buildToolbar();
    buildStatusBar();

    SSTab1 = place(new TabControl(this), "SSTab1", twips::rect(45, 555, 13575, 8460));
    SSTab1->addPage(ImageList1->image(ImageList::Group), "   User Groups Configuration ");
    SSTab1->addPage(ImageList1->image(ImageList::User), "  Users  ");
    buildGroupsPage();
    buildUsersPage();
    SSTab1->setContainer(0, picUserGroups);
    SSTab1->setContainer(1, picUsers);
    connect(SSTab1, &TabControl::Click, this, &frmMain::SSTab1_Click);
    buildScrollBars();
    m_groupEditor = new GroupEditor(*this);
    m_userEditor = new UserEditor(*this);
    new BrandSettings(
        {cboAuthor, cboBrand, chkAdminBrand, chkAdmin, lstUserBrand, cbutInregNoua, cbutSalvare, lstUsers}, m_login,
        [this] { ListViews::lstUsers_ItemClick(*this, lstUsers->selectedItem()); }, this);
    for (KeyedComboBox* combo : {cmbPers, cboAuthor, cboBrand})
        AutoCompleteCombo::install(combo);
    m_unsavedChanges = new UnsavedChanges(*this);
    connect(m_groupEditor, &GroupEditor::groupLoaded, m_unsavedChanges, &UnsavedChanges::groupShown);
    connect(m_groupEditor, &GroupEditor::companyLoaded, m_unsavedChanges, &UnsavedChanges::companyShown);
    connect(m_userEditor, &UserEditor::userLoaded, m_unsavedChanges, &UnsavedChanges::userShown);
    ListViews::Connect(*this);
    ToolbarCommands::Register(*this);
    buildDeleteKeys();

    picUserGroups->installEventFilter(this);
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
    Toolbar1->setFixedHeight(twips::toPixels(420));
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
        connect(bar, &QScrollBar::valueChanged, this, [this] { FormLayout::Form_Resize(*this); });
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
    StatusBar1->setFixedHeight(twips::toPixels(330));
    setStatusBar(StatusBar1);
    for (int index = 1; index <= 5; ++index) {
        QLabel* panel = index == 4   ? new ClockPanel(ClockPanel::Kind::Time, StatusBar1)
                        : index == 5 ? new ClockPanel(ClockPanel::Kind::Date, StatusBar1)
                                     : new QLabel(StatusBar1);
        panel->setObjectName("StatusBar1Panel" + QString::number(index));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (index > 1)
            panel->setMinimumWidth(twips::toPixels(1440));
        // Panel 1 takes the free width; the others keep to their contents.
        StatusBar1->addPermanentWidget(panel, index == 1 ? 1 : 0);
        m_panels.append(panel);
    }
}

void frmMain::buildGroupsPage() {
    picUserGroups = place(new QWidget(SSTab1), "picUserGroups", twips::rect(105, 405, 11850, 7950));
    lstGroupsConfig = listView(picUserGroups, "lstGroupsConfig", twips::rect(0, 0, 6240, 4815), {{"Groups", 2700}});

    fraUserGroup = frame(picUserGroups, "fraUserGroup", "Group", twips::rect(6270, 0, 5535, 7800));
    Label1 = label(fraUserGroup, "Label1", "Name", twips::rect(150, 360, 420, 195));
    txtGrpName = textBox(fraUserGroup, "txtGrpName", twips::rect(1500, 270, 3885, 330), 15);
    Label2 = label(fraUserGroup, "Label2", "Full Name", twips::rect(150, 720, 705, 195));
    txtFullName = textBox(fraUserGroup, "txtFullName", twips::rect(1500, 630, 3885, 330), 50);
    Label3 = label(fraUserGroup, "Label3", "Notes", twips::rect(150, 1080, 420, 195));
    txtNotes = textBox(fraUserGroup, "txtNotes", twips::rect(1500, 990, 3885, 810), 100);
    lstAuthors = listView(fraUserGroup, "lstAuthors", twips::rect(120, 1830, 5295, 1725),
                          {{"Company", 3500}, {"NickName", 1440}});
    lstAuthors->setCheckBoxes(true);
    lstPuncteLucru = listView(fraUserGroup, "lstPuncteLucru", twips::rect(120, 3570, 5295, 1575),
                              {{"Denumire punct de lucru", 3500}});
    lstPuncteLucru->setCheckBoxes(true);

    twOperations = place(new KeyedTreeWidget(fraUserGroup), "twOperations", twips::rect(135, 5190, 5265, 1215));
    twOperations->setHeaderHidden(true);
    twOperations->setColumnCount(1);
    twOperations->setIconSize(QSize(16, 16));
}

void frmMain::buildUsersPage() {
    picUsers = place(new QWidget(SSTab1), "picUsers", twips::rect(105, 405, 12510, 6705));
    lstUsers = listView(picUsers, "lstUsers", twips::rect(0, 0, 6240, 4815),
                        {{"User", 1500}, {"Alias", 1400}, {"HR Information", 2300}});

    tabDetalii = place(new TabControl(picUsers), "tabDetalii", twips::rect(6270, 0, 5670, 6660));
    tabDetalii->addPage(ImageList1->image(ImageList::Group), QString("Group").leftJustified(20));
    tabDetalii->addPage(ImageList1->image(ImageList::Brand), QString("Setari CRM").leftJustified(22));
    buildUserEditor();
    buildBrandSettings();
    tabDetalii->setContainer(0, fraGroup);
    tabDetalii->setContainer(1, frCRM);
}

void frmMain::buildUserEditor() {
    fraGroup = frame(tabDetalii, "fraGroup", QString(), twips::rect(60, 345, 5505, 4875));
    Label4 = label(fraGroup, "Label4", "Domain", twips::rect(150, 360, 540, 195));
    txtDomain = textBox(fraGroup, "txtDomain", twips::rect(1500, 270, 3885, 330));
    Label5 = label(fraGroup, "Label5", "User", twips::rect(150, 720, 330, 195));
    txtUserName = textBox(fraGroup, "txtUserName", twips::rect(1500, 630, 3885, 330));
    Label6 = label(fraGroup, "Label6", "Alias", twips::rect(150, 1080, 330, 195));
    txtAlias = textBox(fraGroup, "txtAlias", twips::rect(1500, 990, 3885, 330));
    Label7 = label(fraGroup, "Label7", "Display", twips::rect(150, 1440, 510, 195));
    txtDisplay = textBox(fraGroup, "txtDisplay", twips::rect(1500, 1350, 3885, 330));
    Label8 = label(fraGroup, "Label8", "HR Information", twips::rect(165, 1785, 1065, 195));
    cmbPers = imageCombo(fraGroup, "cmbPers", twips::rect(1500, 1710, 3885, 330));
    Label10 = label(fraGroup, "Label10", "Password", twips::rect(180, 2280, 690, 195));
    txtPassword = passwordBox(fraGroup, "txtPassword", twips::rect(1500, 2190, 3885, 330));
    Label9 = label(fraGroup, "Label9", "Verify password", twips::rect(180, 2640, 1110, 195));
    txtVerifyPassword = passwordBox(fraGroup, "txtVerifyPassword", twips::rect(1500, 2580, 3885, 330));
    lstGroups =
        listView(fraGroup, "lstGroups", twips::rect(120, 2955, 5295, 1815), {{"Groups", 2400}, {"Description", 2600}});
    lstGroups->setCheckBoxes(true);
}

void frmMain::buildBrandSettings() {
    frCRM = frame(tabDetalii, "frCRM", QString(), twips::rect(60, 345, 5445, 4875));
    Label11 = label(frCRM, "Label11", "Societate", twips::rect(105, 285, 900, 270));
    cboAuthor = imageCombo(frCRM, "cboAuthor", twips::rect(1050, 270, 4200, 330));
    Label12 = label(frCRM, "Label12", "Brand", twips::rect(120, 600, 900, 270));
    cboBrand = imageCombo(frCRM, "cboBrand", twips::rect(1050, 645, 4200, 330));
    chkAdminBrand = place(new QCheckBox("Director brand", frCRM), "chkAdminBrand", twips::rect(1050, 1005, 2910, 195));
    chkAdmin = place(new QCheckBox("Administrator", frCRM), "chkAdmin", twips::rect(1050, 1245, 2910, 195));
    QFont bold = chkAdmin->font();
    bold.setBold(true);
    chkAdmin->setFont(bold);
    lstUserBrand = listView<QTreeWidget>(frCRM, "lstUserBrand", twips::rect(90, 1500, 5265, 2790),
                                         {{"Societate", 1440}, {"Brand", 1440}, {"Tip user", 1440}});
    cbutInregNoua = place(new QPushButton("! New", frCRM), "cbutInregNoua", twips::rect(90, 4365, 1335, 405));
    cbutSalvare = place(new QPushButton("! Salvare", frCRM), "cbutSalvare", twips::rect(4035, 4350, 1335, 405));
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
        Refresh::RefreshMe(*this);
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

bool frmMain::Save() {
    if (!SaveCommand::Save(*this))
        return false;
    m_unsavedChanges->allShown();
    return true;
}

void frmMain::Delete() {
    DeleteCommand::Delete(*this);
}

void frmMain::LoadUser(int usID) {
    if (!runCommand("LoadGrp()", [&] { m_userEditor->LoadUser(usID); }))
        showConnected(false);
}

void frmMain::LoadGrp(int grID) {
    if (!runCommand("LoadGrp()", [&] { m_groupEditor->LoadGrp(grID); }))
        showConnected(false);
}

void frmMain::FillOperationTree() {
    OperationTree::FillOperationTree(twOperations, *ImageList1);
}

void frmMain::ClearOperationChecks() {
    OperationTree::ClearOperationChecks(twOperations, *ImageList1);
}

void frmMain::lstAuthors_ItemClick(QTreeWidgetItem* item) {
    m_groupEditor->lstAuthors_ItemClick(item);
}

void frmMain::lstAuthors_DblClick() {
    m_groupEditor->lstAuthors_DblClick();
}

void frmMain::lstGroups_DblClick() {
    m_groupEditor->lstGroups_DblClick();
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
    FormLayout::Form_Resize(*this);
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
        FormLayout::picUserGroups_Resize(*this);
    return QMainWindow::eventFilter(watched, event);
}
