#include "support/WindowFixture.h"

#include "ui/common/ItemRoles.h"
#include "ui/common/KeyedTreeWidget.h"

#include <QtTest>

bool WindowFixture::open(MainWindowFixture& suite, const QSize& size) {
    m_form = std::make_unique<frmMain>(suite.login());
    if (size.isValid())
        m_form->resize(size);
    m_form->show();
    if (QTest::qWaitForWindowActive(m_form.get()))
        return true;
    qWarning("WindowFixture: the window did not become active");
    return false;
}

QString selectedKey(const KeyedTreeWidget* list) {
    return KeyedTreeWidget::keyOf(list->selectedItem());
}

QList<Qt::CheckState> checks(const QTreeWidget* list) {
    QList<Qt::CheckState> states;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        states << list->topLevelItem(i)->checkState(0);
    return states;
}

int image(const frmMain& form, const QString& key) {
    const QTreeWidgetItem* node = form.twOperations->find(key);
    return node ? node->data(0, ItemRoles::Image).toInt() : -1;
}

void doubleClickNode(frmMain& form, const QString& key) {
    form.twOperations->selectItem(form.twOperations->find(key));
    form.twOperations_DblClick();
}
