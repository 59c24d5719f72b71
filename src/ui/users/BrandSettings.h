#pragma once

#include <QObject>
#include <functional>

class KeyedComboBox;
class KeyedTreeWidget;
class LoginComponent;
class QCheckBox;
class QPushButton;
class QTreeWidget;

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
};

// The brand settings tab: a user's CRM brand roles, listed in lstUserBrand, and the storing of
// one role per brand for the user selected in lstUsers. It keeps no state of its own.
class BrandSettings : public QObject {
    Q_OBJECT
public:
    // Connects the clicks of the two buttons. login supplies the signed-in UserId stamped on a
    // new brand link; reloadUser runs the item click of the selected user. Both must outlive
    // this object.
    BrandSettings(const BrandPage& page, const LoginComponent& login, std::function<void()> reloadUser,
                  QObject* parent);

    // Refill combo with every brand / every company, keyed "k" + id, the id as tag, ordered by
    // name, and no item selected. Never raise: a failing query leaves the items as they were.
    static void FillBrandCombo(KeyedComboBox* combo);
    static void FillAuthorCombo(KeyedComboBox* combo);
    // Empties list, then lists the brand roles of user usID: company, brand and "User",
    // "Director brand" or "Administrator". Never raises: a failing query leaves the list empty.
    static void LoadUserBrands(int usID, QTreeWidget* list);

    // "! New": no company, no brand, both role boxes unticked.
    void cbutInregNoua_Click();
    // "! Salvare": stores the ticked role for the chosen brand and the selected user, then
    // reloads the user. A missing company, brand or user is asked for (title "Brisca") and nothing
    // is written; an error is shown with the origin "cbutSalvare_Click".
    void cbutSalvare_Click();

private:
    BrandPage m_page;
    const LoginComponent& m_login;
    std::function<void()> m_reloadUser;
};
