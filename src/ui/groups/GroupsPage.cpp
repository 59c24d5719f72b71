#include "ui/groups/GroupsPage.h"

#include "ui/common/Controls.h"
#include "ui/common/FindBox.h"

#include <QToolButton>

using namespace common;

GroupsPage GroupsPage::build(QWidget* tab) {
    GroupsPage page;
    page.picUserGroups = place(new QWidget(tab), "picUserGroups", common::twipsRect(105, 405, 11850, 7950));
    page.txtFindGroups = place(new FindBox(page.picUserGroups), "txtFindGroups",
                               common::twipsRect(0, 0, FindBox::WidthBesideButton, 330));
    page.cbutGroupReport = place(new QToolButton(page.picUserGroups), "cbutGroupReport",
                                 common::twipsRect(FindBox::WidthBesideButton + 60, 0, 1200, 330));
    page.cbutGroupReport->setText(QStringLiteral("Report"));
    page.lstGroupsConfig =
        listView(page.picUserGroups, "lstGroupsConfig",
                 common::twipsRect(0, FindBox::ListTop, 6240, 4815 - FindBox::ListTop), {{"Groups", 2700}});
    // The list shows a group's code; its full name is the code's tooltip, and the find box reads both.
    page.txtFindGroups->attach(page.lstGroupsConfig, {0}, {Qt::ToolTipRole});

    page.fraUserGroup = frame(page.picUserGroups, "fraUserGroup", "Group", common::twipsRect(6270, 0, 5535, 7800));
    page.Label1 = label(page.fraUserGroup, "Label1", "Name", common::twipsRect(150, 360, 420, 195));
    page.txtGrpName = textBox(page.fraUserGroup, "txtGrpName", common::twipsRect(1500, 270, 3885, 330), 15);
    page.Label2 = label(page.fraUserGroup, "Label2", "Full Name", common::twipsRect(150, 720, 705, 195));
    page.txtFullName = textBox(page.fraUserGroup, "txtFullName", common::twipsRect(1500, 630, 3885, 330), 50);
    page.Label3 = label(page.fraUserGroup, "Label3", "Notes", common::twipsRect(150, 1080, 420, 195));
    page.txtNotes = textBox(page.fraUserGroup, "txtNotes", common::twipsRect(1500, 990, 3885, 810), 100);
    page.lstAuthors = listView(page.fraUserGroup, "lstAuthors", common::twipsRect(120, 1830, 5295, 1725),
                               {{"Company", 3500}, {"NickName", 1440}});
    page.lstAuthors->setCheckBoxes(true);
    page.lstPuncteLucru = listView(page.fraUserGroup, "lstPuncteLucru", common::twipsRect(120, 3570, 5295, 1575),
                                   {{"Denumire punct de lucru", 3500}});
    page.lstPuncteLucru->setCheckBoxes(true);

    page.twOperations =
        place(new KeyedTreeWidget(page.fraUserGroup), "twOperations", common::twipsRect(135, 5190, 5265, 1215));
    page.twOperations->setHeaderHidden(true);
    page.twOperations->setColumnCount(1);
    page.twOperations->setIconSize(QSize(16, 16));
    return page;
}
