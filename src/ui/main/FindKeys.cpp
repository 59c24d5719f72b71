#include "ui/main/FindKeys.h"

#include "ui/common/FindBox.h"
#include "ui/common/TabControl.h"
#include "ui/main/frmMain.h"

#include <QAction>

namespace mainwindow {

void ConnectFindKeys(frmMain& form) {
    auto* find = new QAction(&form);
    find->setObjectName(QStringLiteral("keyFind"));
    find->setShortcut(QKeySequence::Find);
    find->setShortcutContext(Qt::WindowShortcut);
    form.addAction(find);
    QObject::connect(find, &QAction::triggered, &form, [&form] {
        FindBox* box = form.SSTab1->currentIndex() == 1 ? form.txtFindUsers : form.txtFindGroups;
        box->setFocus(Qt::ShortcutFocusReason);
        box->selectAll();
    });
}

} // namespace mainwindow
