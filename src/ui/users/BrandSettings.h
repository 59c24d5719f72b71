#pragma once

#include "store/RecordVersions.h"

#include <QObject>
#include <functional>

class KeyedComboBox;
class KeyedTreeWidget;
class LoginComponent;
class QCheckBox;
class QPushButton;
class QWidget;
class QTreeWidget;
struct UsersPage;

// The controls of the brand settings tab ("Setari CRM") and the user list whose selected item
// is the user the roles belong to.
struct BrandPage {
    KeyedComboBox* cboAuthor;
    KeyedComboBox* cboBrand;
    QCheckBox* chkAdminBrand;
    QCheckBox* chkAdmin;
    QTreeWidget* lstUserBrand;
    QPushButton* cbutInregNoua;
    QPushButton* cbutSalvare;
    KeyedTreeWidget* lstUsers;

    // The brand settings controls of the users page.
    static BrandPage of(const UsersPage& page);
};

// The brand settings tab: a user's CRM brand roles, listed in lstUserBrand, and the storing of
// one role per brand for the user selected in lstUsers. It keeps no state of its own.
class BrandSettings : public QObject {
    Q_OBJECT
public:
    // Connects the clicks of the two buttons. login supplies the signed-in UserId stamped on a
    // new brand link; loadedUser is the user as the user editor loaded it, the one a role is
    // stored for; settleUser asks about the user editor's unsaved changes before a save reloads
    // the user, and answers whether the save may go on (see UnsavedChanges::settle); reloadUser
    // runs the item click of the selected user. All must outlive this object.
    BrandSettings(const BrandPage& page, const LoginComponent& login, const store::UserVersion& loadedUser,
                  std::function<bool()> settleUser, std::function<void()> reloadUser, QObject* parent);

    // Refill combo with every brand / every company, keyed "k" + id, the id as tag, ordered by
    // name, and no item selected. Never raise: a failing query leaves the items as they were.
    static void FillBrandCombo(KeyedComboBox* combo);
    static void FillAuthorCombo(KeyedComboBox* combo);
    // Empties list, then lists the brand roles of user usID: company, brand and "User",
    // "Director brand" or "Administrator". Never raises: a failing query leaves the list empty.
    static void LoadUserBrands(int usID, QTreeWidget* list);
    // No company, no brand, both role boxes unticked.
    static void ClearInput(const BrandPage& page);

    // "! New": ClearInput.
    void cbutInregNoua_Click();
    // "! Salvare": stores the ticked role for the chosen brand and the selected user, then
    // reloads the user (which empties the input). A missing company, brand or user is asked for
    // (title "Brisca") and nothing is written. The user editor's unsaved changes are asked about
    // first; "Cancel" writes nothing. A brand that belongs to another company is refused, naming
    // that company, and nothing is written. When the user's roles are no longer those listed
    // (changed elsewhere, or not read), nothing is written, the tab says so and lists them again.
    // The control a refusal points at is brought to the front. An error is shown with the origin
    // "cbutSalvare_Click".
    void cbutSalvare_Click();

private:
    BrandPage m_page;
    // Shows a refusal titled "Brisca" and brings control to the front.
    void refuse(const QString& text, int style, QWidget* control) const;
    // The names of the companies, as cboAuthor lists them (an unlisted one by its id).
    QString companyNames(const QList<int>& companies) const;

    const LoginComponent& m_login;
    const store::UserVersion& m_loadedUser;
    std::function<bool()> m_settleUser;
    std::function<void()> m_reloadUser;
};
