#include "ui/users/UsersPage.h"

#include "ui/common/Controls.h"
#include "ui/common/FindBox.h"
#include "ui/common/ImageList.h"
#include "ui/common/TabControl.h"

#include <QCheckBox>
#include <QPushButton>
#include <QToolButton>

using namespace common;

UsersPage UsersPage::build(QWidget* tab, const ImageList& images) {
    UsersPage page;
    page.picUsers = place(new QWidget(tab), "picUsers", common::twipsRect(105, 405, 12510, 6705));
    page.txtFindUsers =
        place(new FindBox(page.picUsers), "txtFindUsers", common::twipsRect(0, 0, FindBox::WidthBesideButton, 330));
    page.cbutUserRights = place(new QToolButton(page.picUsers), "cbutUserRights",
                                common::twipsRect(FindBox::WidthBesideButton + 60, 0, 1200, 330));
    page.cbutUserRights->setText(QStringLiteral("Rights"));
    page.lstUsers =
        listView(page.picUsers, "lstUsers", common::twipsRect(0, FindBox::ListTop, 6240, 4815 - FindBox::ListTop),
                 {{"User", 1500}, {"Alias", 1400}, {"HR Information", 2300}});
    page.txtFindUsers->attach(page.lstUsers, {0, 1, 2});

    page.tabDetalii = place(new TabControl(page.picUsers), "tabDetalii", common::twipsRect(6270, 0, 5670, 6660));
    page.tabDetalii->addPage(images.image(ImageList::Group), QString("Group").leftJustified(20));
    page.tabDetalii->addPage(images.image(ImageList::Brand), QString("Setari CRM").leftJustified(22));
    page.fraGroup = frame(page.tabDetalii, "fraGroup", QString(), common::twipsRect(60, 345, 5505, 4875));
    page.Label4 = label(page.fraGroup, "Label4", "Domain", common::twipsRect(150, 360, 540, 195));
    page.txtDomain = textBox(page.fraGroup, "txtDomain", common::twipsRect(1500, 270, 3885, 330));
    page.Label5 = label(page.fraGroup, "Label5", "User", common::twipsRect(150, 720, 330, 195));
    page.txtUserName = textBox(page.fraGroup, "txtUserName", common::twipsRect(1500, 630, 3885, 330));
    page.Label6 = label(page.fraGroup, "Label6", "Alias", common::twipsRect(150, 1080, 330, 195));
    page.txtAlias = textBox(page.fraGroup, "txtAlias", common::twipsRect(1500, 990, 3885, 330));
    page.Label7 = label(page.fraGroup, "Label7", "Display", common::twipsRect(150, 1440, 510, 195));
    page.txtDisplay = textBox(page.fraGroup, "txtDisplay", common::twipsRect(1500, 1350, 3885, 330));
    page.Label8 = label(page.fraGroup, "Label8", "HR Information", common::twipsRect(165, 1785, 1065, 195));
    page.cmbPers = imageCombo(page.fraGroup, "cmbPers", common::twipsRect(1500, 1710, 3885, 330));
    page.Label10 = label(page.fraGroup, "Label10", "Password", common::twipsRect(180, 2280, 690, 195));
    page.txtPassword = passwordBox(page.fraGroup, "txtPassword", common::twipsRect(1500, 2190, 3885, 330));
    page.Label9 = label(page.fraGroup, "Label9", "Verify password", common::twipsRect(180, 2640, 1110, 195));
    page.txtVerifyPassword = passwordBox(page.fraGroup, "txtVerifyPassword", common::twipsRect(1500, 2580, 3885, 330));
    page.lstGroups = listView(page.fraGroup, "lstGroups", common::twipsRect(120, 2955, 5295, 1815),
                              {{"Groups", 2400}, {"Description", 2600}});
    page.lstGroups->setCheckBoxes(true);

    page.frCRM = frame(page.tabDetalii, "frCRM", QString(), common::twipsRect(60, 345, 5445, 4875));
    page.Label11 = label(page.frCRM, "Label11", "Societate", common::twipsRect(105, 285, 900, 270));
    page.cboAuthor = imageCombo(page.frCRM, "cboAuthor", common::twipsRect(1050, 270, 4200, 330));
    page.Label12 = label(page.frCRM, "Label12", "Brand", common::twipsRect(120, 600, 900, 270));
    page.cboBrand = imageCombo(page.frCRM, "cboBrand", common::twipsRect(1050, 645, 4200, 330));
    page.chkAdminBrand =
        place(new QCheckBox("Director brand", page.frCRM), "chkAdminBrand", common::twipsRect(1050, 1005, 2910, 195));
    page.chkAdmin =
        place(new QCheckBox("Administrator", page.frCRM), "chkAdmin", common::twipsRect(1050, 1245, 2910, 195));
    QFont bold = page.chkAdmin->font();
    bold.setBold(true);
    page.chkAdmin->setFont(bold);
    page.lstUserBrand = listView<QTreeWidget>(page.frCRM, "lstUserBrand", common::twipsRect(90, 1500, 5265, 2790),
                                              {{"Societate", 1440}, {"Brand", 1440}, {"Tip user", 1440}});
    page.cbutInregNoua =
        place(new QPushButton("! New", page.frCRM), "cbutInregNoua", common::twipsRect(90, 4365, 1335, 405));
    page.cbutSalvare =
        place(new QPushButton("! Salvare", page.frCRM), "cbutSalvare", common::twipsRect(4035, 4350, 1335, 405));
    page.tabDetalii->setContainer(0, page.fraGroup);
    page.tabDetalii->setContainer(1, page.frCRM);
    return page;
}
