#include "ui/users/UserEditor.h"

#include "db/RecordSet.h"
#include "store/RecordQueries.h"
#include "ui/common/ItemKey.h"
#include "ui/common/KeyedComboBox.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/ShowErrors.h"
#include "ui/common/modMinMaxForm.h"
#include "ui/users/BrandSettings.h"
#include "ui/users/UsersPage.h"

#include <QLineEdit>
#include <QScopeGuard>
#include <QTreeWidget>

UserEditor::UserEditor(UsersPage& page, QObject* parent) : QObject(parent), m_form(page) {
    connect(m_form.cmbPers, &KeyedComboBox::dropDown, this, &UserEditor::cmbPers_DropDown);
    connect(m_form.lstGroups, &QTreeWidget::itemDoubleClicked, this, &UserEditor::lstGroups_DblClick);
}

void UserEditor::lstGroups_DblClick() {
    if (QTreeWidgetItem* item = m_form.lstGroups->selectedItem())
        KeyedTreeWidget::invertCheck(item);
}

void UserEditor::cmbPers_DropDown() {
    int width = 200;
    modMinMaxForm::SetDropDownWidth(m_form.cmbPers, width);
}

void UserEditor::LoadUser(int usID) {
    UsersPage& f = m_form;
    // Announced last, once the editor shows what it will keep (emptied after a failed load).
    const auto announce = qScopeGuard([this] { emit userLoaded(); });
    // A password typed for the user shown before must never be saved for this one.
    f.txtPassword->clear();
    f.txtVerifyPassword->clear();
    BrandSettings::ClearInput(BrandPage::of(f));
    bool complete = true;
    m_loadedUser = usID;
    m_unshownPerson = 0;
    // A user that is gone is compared with nothing: its save finds it gone.
    m_version = {};
    const bool loaded = common::showErrors("LoadGrp()", [&] {
        f.cmbPers->clearSelection();

        db::RecordSet user;
        complete &= passOver([&] { user = store::GetUsers(usID); });
        if (user.isOpen() && !user.eof()) {
            complete &= passOver([&] { f.txtDomain->setText(user.field("usDomeniu").toString()); });
            complete &= passOver([&] { f.txtUserName->setText(user.field("usCod").toString()); });
            complete &= passOver([&] { f.txtAlias->setText(user.field("usAlias").toString()); });
            complete &= passOver([&] { f.txtDisplay->setText(user.field("usDenumire").toString()); });
            m_version.usID = usID;
            m_version.usCod = f.txtUserName->text();
            m_version.usDenumire = f.txtDisplay->text();
            m_version.usDomeniu = f.txtDomain->text();
            m_version.usAlias = f.txtAlias->text();
            passOver([&] { m_version.IdPers = user.field("IdPers").toInt(); });
            // A user without a person looks for "k0", which no person has: the box stays empty.
            passOver([&] {
                const int person = user.field("IdPers").toInt();
                if (person != 0 && f.cmbPers->indexOfKey(common::ItemKey(person)) < 0)
                    m_unshownPerson = person;
                f.cmbPers->selectKey(common::ItemKey(user.field("IdPers")));
            });
            f.cmbPers->update();
            // Two persons may point at the user: the query then gives one row each.
            passOver([&] {
                for (; !user.eof(); user.moveNext())
                    if (const int person = user.field("IdPers").toInt(); person != 0)
                        m_version.persons.insert(person);
            });
        } else if (user.isOpen()) {
            // The user is gone: the fields on screen are the user's shown before, who would look
            // like a user without groups.
            for (QLineEdit* box : {f.txtDomain, f.txtUserName, f.txtAlias, f.txtDisplay})
                box->clear();
        }
        // A user query that failed has no record set to close: that ends the load with an error.
        if (!user.isOpen())
            throw db::DbError(db::DbError::ObjectClosed,
                              QStringLiteral("Operation is not allowed when the object is closed."),
                              QStringLiteral("ADODB.Recordset"));
        user.close();

        f.lstGroups->untickAll();

        db::RecordSet groups = store::GetUserGroups(usID);
        for (; !groups.eof(); groups.moveNext()) {
            passOver([&] { m_version.groups.insert(groups.field("grID").toInt()); });
            passOver([&] { f.lstGroups->item(common::ItemKey(groups.field("grID")))->setCheckState(0, Qt::Checked); });
        }
        groups.close();
        passOver([&] { BrandSettings::LoadUserBrands(usID, f.lstUserBrand); });
    });
    m_loaded = loaded && complete;
    if (!m_loaded)
        emptyEditor();
}

void UserEditor::emptyEditor() {
    UsersPage& f = m_form;
    // What was read is only part of the user: shown, it would look like a user without groups.
    for (QLineEdit* box : {f.txtDomain, f.txtUserName, f.txtAlias, f.txtDisplay})
        box->clear();
    f.cmbPers->clearSelection();
    f.lstGroups->untickAll();
    f.lstUserBrand->clear();
}
