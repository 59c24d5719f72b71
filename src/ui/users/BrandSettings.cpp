#include "ui/users/BrandSettings.h"

#include "db/RecordSet.h"
#include "session/LoginComponent.h"
#include "store/BrandRoleStore.h"
#include "ui/common/ItemKey.h"
#include "ui/common/KeyedComboBox.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/MessageBox.h"
#include "ui/common/ShowControl.h"
#include "ui/common/ShowErrors.h"
#include "ui/users/UsersPage.h"

#include <QCheckBox>
#include <QPushButton>
#include <QStringList>
#include <QTreeWidget>

namespace {

const QString InputTitle = QStringLiteral("Brisca");
constexpr int Exclamation = 48;
constexpr int Information = 64;

// The columns are taken by position: the id first, the name second.
void fillByPosition(KeyedComboBox* combo, db::RecordSet (*query)()) {
    db::RecordSet rows;
    passOver([&] { rows = query(); });
    // A failed query leaves the items as they were.
    if (!rows.isOpen() || !combo)
        return;
    combo->clearKeyed();
    combo->beginFill();
    for (; !rows.eof(); rows.moveNext())
        passOver(
            [&] { combo->addKeyed(common::ItemKey(rows.field(0)), rows.field(1).toString(), rows.field(0).toInt()); });
    combo->endFill();
    // Adding items to an empty box selects the first; a refilled box has no selection.
    combo->clearSelection();
    rows.close();
}

QString roleText(int tipUser) {
    switch (tipUser) {
    case 2:
        return QStringLiteral("User");
    case 1:
        return QStringLiteral("Director brand");
    case 0:
        return QStringLiteral("Administrator");
    default:
        return QString();
    }
}

// The roles a list shows, as the roles query gave them; a text that is no role text is -1.
QList<store::ListedBrandRole> listedRoles(const QTreeWidget* list) {
    QList<store::ListedBrandRole> roles;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        int tipUser = 2;
        while (tipUser >= 0 && roleText(tipUser) != item->text(2))
            --tipUser;
        roles.append({item->text(0), item->text(1), tipUser});
    }
    return roles;
}

// Only a box that is fully ticked counts; the grey state does not.
bool ticked(const QCheckBox* box) {
    return box->checkState() == Qt::Checked;
}

} // namespace

BrandPage BrandPage::of(const UsersPage& page) {
    return {page.cboAuthor,    page.cboBrand,      page.chkAdminBrand, page.chkAdmin,
            page.lstUserBrand, page.cbutInregNoua, page.cbutSalvare,   page.lstUsers};
}

BrandSettings::BrandSettings(const BrandPage& page, const LoginComponent& login, const store::UserVersion& loadedUser,
                             std::function<bool()> settleUser, std::function<void()> reloadUser, QObject* parent)
    : QObject(parent), m_page(page), m_login(login), m_loadedUser(loadedUser), m_settleUser(std::move(settleUser)),
      m_reloadUser(std::move(reloadUser)) {
    connect(m_page.cbutInregNoua, &QPushButton::clicked, this, &BrandSettings::cbutInregNoua_Click);
    connect(m_page.cbutSalvare, &QPushButton::clicked, this, &BrandSettings::cbutSalvare_Click);
}

void BrandSettings::FillBrandCombo(KeyedComboBox* combo) {
    fillByPosition(combo, store::GetBrands);
}

void BrandSettings::FillAuthorCombo(KeyedComboBox* combo) {
    fillByPosition(combo, store::GetBrandAuthors);
}

void BrandSettings::LoadUserBrands(int usID, QTreeWidget* list) {
    list->clear();
    db::RecordSet roles;
    passOver([&] { roles = store::GetUserBrands(usID); });
    if (!roles.isOpen())
        return;
    for (; !roles.eof(); roles.moveNext()) {
        passOver([&] {
            auto* item = new QTreeWidgetItem(list);
            item->setText(0, roles.field("Societate").toString());
            item->setText(1, roles.field("Brand").toString());
            item->setText(2, roleText(roles.field("TipUser").toInt()));
        });
    }
    roles.close();
}

void BrandSettings::ClearInput(const BrandPage& page) {
    page.cboAuthor->clearSelection();
    page.cboBrand->clearSelection();
    page.chkAdmin->setCheckState(Qt::Unchecked);
    page.chkAdminBrand->setCheckState(Qt::Unchecked);
}

void BrandSettings::cbutInregNoua_Click() {
    ClearInput(m_page);
}

void BrandSettings::refuse(const QString& text, int style, QWidget* control) const {
    common::MsgBox(text, style, InputTitle, m_page.cbutSalvare->window());
    common::showControl(control);
}

QString BrandSettings::companyNames(const QList<int>& companies) const {
    QStringList names;
    for (const int company : companies) {
        const int index = m_page.cboAuthor->indexOfKey(common::ItemKey(company));
        names << QLatin1Char('"') + (index < 0 ? QString::number(company) : m_page.cboAuthor->itemText(index)) +
                     QLatin1Char('"');
    }
    return names.join(QStringLiteral(", "));
}

void BrandSettings::cbutSalvare_Click() {
    common::showErrors(QStringLiteral("cbutSalvare_Click"), [&] {
        if (m_page.cboAuthor->currentIndex() < 0) {
            refuse(QStringLiteral("Selectati o societate !"), Information, m_page.cboAuthor);
            return;
        }
        if (m_page.cboBrand->currentIndex() < 0) {
            refuse(QStringLiteral("Selectati un brand !"), Information, m_page.cboBrand);
            return;
        }
        // Without a selected user (after New User, say) there is no one to give the role to, and
        // the brand is not linked either.
        if (!m_page.lstUsers->selectedItem()) {
            refuse(QStringLiteral("Selectati un utilizator !"), Information, m_page.lstUsers);
            return;
        }
        // Taken before the question: a save it answers refreshes the window, which empties the tab.
        const int IdAuthor = m_page.cboAuthor->selectedTag().toInt();
        const int IdBrand = m_page.cboBrand->selectedTag().toInt();
        const QString brand = m_page.cboBrand->currentText();
        const QString company = m_page.cboAuthor->currentText();
        const bool supervisor = ticked(m_page.chkAdminBrand);
        const bool administrator = ticked(m_page.chkAdmin);
        const QList<store::ListedBrandRole> listed = listedRoles(m_page.lstUserBrand);
        // The user is reloaded after the save, over whatever the user editor shows.
        if (!m_settleUser())
            return;
        // The user the editor loaded (again, when the question saved it) is the one selected.
        const store::BrandRoleOutcome outcome =
            store::StoreBrandRole(IdAuthor, IdBrand, m_loadedUser.usID, m_loadedUser.usCod, listed, supervisor,
                                  administrator, m_login.UserId());
        if (outcome.rolesChanged) {
            const QString user = m_loadedUser.usCod;
            // Listed again, the roles the database holds can be checked before a new save.
            m_reloadUser();
            refuse(QStringLiteral("Lista nu arata rolurile pe care utilizatorul \"%1\" le are acum, asa ca rolul nu "
                                  "a fost salvat. Lista a fost reincarcata: verificati rolurile si salvati din nou.")
                       .arg(user),
                   Exclamation, m_page.lstUserBrand);
            return;
        }
        if (outcome.brandGone || outcome.companyGone) {
            refuse(outcome.brandGone
                       ? QStringLiteral("Brandul \"%1\" a fost sters intre timp de altcineva, asa ca rolul nu a "
                                        "fost salvat. Reincarcati listele!")
                             .arg(brand)
                       : QStringLiteral("Societatea \"%1\" a fost stearsa intre timp de altcineva, asa ca rolul nu "
                                        "a fost salvat. Reincarcati listele!")
                             .arg(company),
                   Exclamation, outcome.brandGone ? m_page.cboBrand : m_page.cboAuthor);
            return;
        }
        if (!outcome.stored) {
            const bool one = outcome.otherCompanies.size() == 1;
            refuse(QStringLiteral("Brandul \"%1\" apartine %2 %3 !\rSelectati %4 pentru a salva rolul.")
                       .arg(brand, one ? QStringLiteral("societatii") : QStringLiteral("societatilor"),
                            companyNames(outcome.otherCompanies),
                            one ? QStringLiteral("aceasta societate") : QStringLiteral("una dintre ele")),
                   Exclamation, m_page.cboAuthor);
            return;
        }
        m_reloadUser();
    });
}
