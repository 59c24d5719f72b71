#include "ui/users/BrandSettings.h"

#include "db/RecordSet.h"
#include "session/LoginComponent.h"
#include "store/BrandRoleStore.h"
#include "ui/common/ItemKey.h"
#include "ui/common/KeyedComboBox.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/MessageBox.h"
#include "ui/common/ShowErrors.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTreeWidget>

namespace {

const QString InputTitle = QStringLiteral("Brisca");
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

// Only a box that is fully ticked counts; the grey state does not.
bool ticked(const QCheckBox* box) {
    return box->checkState() == Qt::Checked;
}

} // namespace

BrandSettings::BrandSettings(const BrandPage& page, const LoginComponent& login, std::function<void()> reloadUser,
                             QObject* parent)
    : QObject(parent), m_page(page), m_login(login), m_reloadUser(std::move(reloadUser)) {
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

void BrandSettings::cbutInregNoua_Click() {
    m_page.cboAuthor->clearSelection();
    m_page.cboBrand->clearSelection();
    m_page.chkAdmin->setCheckState(Qt::Unchecked);
    m_page.chkAdminBrand->setCheckState(Qt::Unchecked);
}

void BrandSettings::cbutSalvare_Click() {
    common::showErrors(QStringLiteral("cbutSalvare_Click"), [&] {
        QWidget* window = m_page.cbutSalvare->window();
        if (m_page.cboAuthor->currentIndex() < 0) {
            common::MsgBox(QStringLiteral("Selectati o societate !"), Information, InputTitle, window);
            m_page.cboAuthor->setFocus(Qt::OtherFocusReason);
            return;
        }
        if (m_page.cboBrand->currentIndex() < 0) {
            common::MsgBox(QStringLiteral("Selectati un brand !"), Information, InputTitle, window);
            m_page.cboBrand->setFocus(Qt::OtherFocusReason);
            return;
        }
        // Without a selected user (after New User, say) there is no one to give the role to, and
        // the brand is not linked either.
        QTreeWidgetItem* user = m_page.lstUsers->selectedItem();
        if (!user) {
            common::MsgBox(QStringLiteral("Selectati un utilizator !"), Information, InputTitle, window);
            m_page.lstUsers->setFocus(Qt::OtherFocusReason);
            return;
        }
        store::StoreBrandRole(m_page.cboAuthor->selectedTag().toInt(), m_page.cboBrand->selectedTag().toInt(),
                              KeyedTreeWidget::tagOf(user).toInt(), ticked(m_page.chkAdminBrand),
                              ticked(m_page.chkAdmin), m_login.UserId());
        m_reloadUser();
    });
}
