#include "support/WindowFixture.h"

#include "ui/common/ItemRoles.h"
#include "ui/common/KeyedTreeWidget.h"

#include <QStyleOptionViewItem>
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
    return node ? node->data(0, common::ImageRole).toInt() : -1;
}

void doubleClickNode(frmMain& form, const QString& key) {
    form.twOperations->selectItem(form.twOperations->find(key));
    form.twOperations_DblClick();
}

QRect itemPart(QTreeWidget* list, QTreeWidgetItem* item, QStyle::SubElement part) {
    QStyleOptionViewItem option;
    option.initFrom(list);
    option.rect = list->visualItemRect(item);
    option.features = QStyleOptionViewItem::HasDisplay;
    option.text = item->text(0);
    if (part == QStyle::SE_ItemViewItemCheckIndicator)
        option.features |= QStyleOptionViewItem::HasCheckIndicator;
    else {
        option.features |= QStyleOptionViewItem::HasDecoration;
        option.decorationSize = list->iconSize();
        option.icon = item->icon(0);
    }
    return list->style()->subElementRect(part, &option, list);
}

void clickItem(QTreeWidget* list, QTreeWidgetItem* item, QStyle::SubElement part) {
    list->scrollToItem(item);
    const QPoint at =
        part == QStyle::SE_ItemViewItemText ? list->visualItemRect(item).center() : itemPart(list, item, part).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
}
