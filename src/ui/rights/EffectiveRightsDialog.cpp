#include "ui/rights/EffectiveRightsDialog.h"

#include "db/SharedConnection.h"
#include "store/RightsQueries.h"
#include "ui/common/FindBox.h"
#include "ui/common/ItemKey.h"
#include "ui/common/KeyedComboBox.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/ShowErrors.h"
#include "ui/rights/EffectiveRightsTree.h"
#include "ui/rights/ReportCommands.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace rights {

namespace {

const QString Origin = QStringLiteral("frmEffectiveRights");

} // namespace

EffectiveRightsDialog::EffectiveRightsDialog(int usID, const QString& userText, const ImageList& images, Suite suite,
                                             QWidget* parent)
    : QDialog(parent), m_usID(usID), m_userText(userText), m_images(images), m_suite(std::move(suite)) {
    setObjectName(QStringLiteral("frmEffectiveRights"));
    setWindowTitle(QStringLiteral("Effective rights of %1").arg(userText));
    resize(660, 560);

    lblEffectiveUser = new QLabel(userText, this);
    lblEffectiveUser->setObjectName(QStringLiteral("lblEffectiveUser"));
    cboEffectiveCompany = new KeyedComboBox(this);
    cboEffectiveCompany->setObjectName(QStringLiteral("cboEffectiveCompany"));
    cboEffectiveCompany->setEditable(false);
    txtFindEffective = new FindBox(this);
    txtFindEffective->setObjectName(QStringLiteral("txtFindEffective"));
    twEffective = new KeyedTreeWidget(this);
    twEffective->setObjectName(QStringLiteral("twEffective"));
    twEffective->setColumnCount(2);
    twEffective->setHeaderLabels({QStringLiteral("Module, operation or work point"), QStringLiteral("Through groups")});
    twEffective->setIconSize(QSize(16, 16));
    twEffective->header()->resizeSection(0, 360);
    txtFindEffective->attach(twEffective, {0, 1});

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("User"), lblEffectiveUser);
    form->addRow(QStringLiteral("Company"), cboEffectiveCompany);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    cmdEffectiveCsv = buttons->addButton(QStringLiteral("Report as CSV..."), QDialogButtonBox::ActionRole);
    cmdEffectivePreview = buttons->addButton(QStringLiteral("Print preview..."), QDialogButtonBox::ActionRole);
    cmdEffectivePdf = buttons->addButton(QStringLiteral("PDF..."), QDialogButtonBox::ActionRole);
    cmdEffectiveCsv->setObjectName(QStringLiteral("cmdEffectiveCsv"));
    cmdEffectivePreview->setObjectName(QStringLiteral("cmdEffectivePreview"));
    cmdEffectivePdf->setObjectName(QStringLiteral("cmdEffectivePdf"));
    for (QPushButton* button : {cmdEffectiveCsv, cmdEffectivePreview, cmdEffectivePdf})
        button->setAutoDefault(false);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(txtFindEffective);
    layout->addWidget(twEffective, 1);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(cmdEffectiveCsv, &QPushButton::clicked, this,
            [this] { common::showErrors(Origin, [&] { ExportCsvAsked(this, report()); }); });
    connect(cmdEffectivePreview, &QPushButton::clicked, this,
            [this] { common::showErrors(Origin, [&] { PrintPreview(this, report()); }); });
    connect(cmdEffectivePdf, &QPushButton::clicked, this,
            [this] { common::showErrors(Origin, [&] { ExportPdfAsked(this, report()); }); });
    connect(cboEffectiveCompany, &QComboBox::activated, this,
            [this] { showCompany(cboEffectiveCompany->selectedTag().toInt()); });
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        txtFindEffective->setFocus(Qt::ShortcutFocusReason);
        txtFindEffective->selectAll();
    });
}

RightsReport EffectiveRightsDialog::report() const {
    return RightsReport(store::ReportScope::User, m_usID, QStringLiteral("user ") + m_userText, m_suite);
}

void EffectiveRightsDialog::load(int auID) {
    cboEffectiveCompany->clearKeyed();
    {
        db::RecordSet companies = store::GetUserCompanies(db::ReplaceSharedConnection(), m_usID);
        cboEffectiveCompany->beginFill();
        for (; !companies.eof(); companies.moveNext()) {
            const int id = companies.field("IdAuthor").toInt();
            cboEffectiveCompany->addKeyed(common::ItemKey(id), companies.field("Name").toString(), id);
        }
        cboEffectiveCompany->endFill();
    }
    if (cboEffectiveCompany->count() == 0) {
        twEffective->clearKeyed();
        twEffective->addKeyed(QStringLiteral("none"),
                              QStringLiteral("No group of the user grants an operation or a work point."));
        cboEffectiveCompany->setEnabled(false);
        return;
    }
    const QString key = common::ItemKey(auID);
    cboEffectiveCompany->setCurrentIndex(qMax(0, cboEffectiveCompany->indexOfKey(key)));
    FillEffectiveRights(twEffective, m_images, m_usID, cboEffectiveCompany->selectedTag().toInt());
}

void EffectiveRightsDialog::showCompany(int auID) {
    common::showErrors(Origin, [&] {
        if (cboEffectiveCompany->indexOfKey(common::ItemKey(auID)) >= 0)
            cboEffectiveCompany->selectKey(common::ItemKey(auID));
        FillEffectiveRights(twEffective, m_images, m_usID, auID);
    });
}

} // namespace rights
