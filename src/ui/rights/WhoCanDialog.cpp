#include "ui/rights/WhoCanDialog.h"

#include "db/SharedConnection.h"
#include "store/RightsQueries.h"
#include "ui/common/FindBox.h"
#include "ui/common/ItemKey.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/ListFill.h"
#include "ui/rights/GroupLabel.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QShortcut>
#include <QVBoxLayout>

namespace rights {

WhoCanDialog::WhoCanDialog(const QString& subject, QWidget* parent) : QDialog(parent), m_subject(subject) {
    setObjectName(QStringLiteral("frmWhoCan"));
    setWindowTitle(QStringLiteral("Who can: %1").arg(subject));
    resize(620, 480);
    lblWhoCan = new QLabel(subject, this);
    lblWhoCan->setObjectName(QStringLiteral("lblWhoCan"));
    lblWhoCan->setWordWrap(true);
    txtFindWhoCan = new FindBox(this);
    txtFindWhoCan->setObjectName(QStringLiteral("txtFindWhoCan"));
    lstWhoCan = new KeyedTreeWidget(this);
    lstWhoCan->setObjectName(QStringLiteral("lstWhoCan"));
    lstWhoCan->setRootIsDecorated(false);
    lstWhoCan->setUniformRowHeights(true);
    lstWhoCan->setColumnCount(3);
    lstWhoCan->setHeaderLabels({QStringLiteral("User"), QStringLiteral("Name"), QStringLiteral("Through groups")});
    lstWhoCan->header()->resizeSection(0, 140);
    lstWhoCan->header()->resizeSection(1, 200);
    txtFindWhoCan->attach(lstWhoCan, {0, 1, 2});
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblWhoCan);
    layout->addWidget(txtFindWhoCan);
    layout->addWidget(lstWhoCan, 1);
    layout->addWidget(buttons);
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        txtFindWhoCan->setFocus(Qt::ShortcutFocusReason);
        txtFindWhoCan->selectAll();
    });
}

template <typename Query> void WhoCanDialog::fill(Query&& query) {
    int users = 0;
    {
        const common::FillGuard guard(lstWhoCan);
        lstWhoCan->clearKeyed();
        db::RecordSet rows = query(db::ReplaceSharedConnection());
        const int id = rows.fieldIndex("usID");
        const int code = rows.fieldIndex("usCod");
        const int name = rows.fieldIndex("usDenumire");
        const int groupId = rows.fieldIndex("grID");
        const int group = rows.fieldIndex("grCod");
        // The rows of one user follow each other, one per group that gives it (twice where the
        // suite lists a membership or grant twice); groups are told apart by id, as two may share
        // a code.
        QTreeWidgetItem* user = nullptr;
        int lastUser = 0;
        int lastGroup = 0;
        for (; !rows.eof(); rows.moveNext()) {
            const int usID = rows.field(id).toInt();
            const int grID = rows.field(groupId).toInt();
            const QString label = GroupLabel(grID, rows.field(group));
            if (!user || usID != lastUser) {
                user = common::addRecord(lstWhoCan, usID, rows.field(code));
                user->setText(1, rows.field(name).toString());
                user->setText(2, label);
                lastUser = usID;
                ++users;
            } else if (grID != lastGroup) {
                user->setText(2, user->text(2) + QStringLiteral(", ") + label);
            }
            lastGroup = grID;
        }
    }
    lblWhoCan->setText(QStringLiteral("%1\n%2 users").arg(m_subject).arg(users));
}

void WhoCanDialog::loadOperation(int auID, int opID, int Id) {
    fill([&](const std::shared_ptr<db::Connection>& connection) {
        return store::GetOperationUsers(connection, auID, opID, Id);
    });
}

void WhoCanDialog::loadWorkPoint(int IdPctLucru) {
    fill([&](const std::shared_ptr<db::Connection>& connection) {
        return store::GetWorkPointUsers(connection, IdPctLucru);
    });
}

} // namespace rights
