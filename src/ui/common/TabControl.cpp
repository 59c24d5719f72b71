#include "ui/common/TabControl.h"

#include <QTabBar>

TabControl::TabControl(QWidget* parent) : QTabWidget(parent) {
    // Captions carry their own padding; the bar must show them whole.
    tabBar()->setElideMode(Qt::ElideNone);
    tabBar()->setExpanding(false);
    connect(this, &QTabWidget::currentChanged, this, &TabControl::showSelected);
}

int TabControl::addPage(const QIcon& picture, const QString& caption) {
    auto* placeholder = new QWidget;
    placeholder->setObjectName(objectName() + "Tab" + QString::number(count()));
    return addTab(placeholder, picture, caption);
}

void TabControl::setContainer(int tab, QWidget* container) {
    container->setParent(this);
    m_containers.insert(tab, container);
    container->setVisible(tab == currentIndex());
    if (tab == currentIndex())
        container->raise();
}

void TabControl::showSelected(int tab) {
    for (auto it = m_containers.cbegin(); it != m_containers.cend(); ++it)
        if (it.key() != tab)
            it.value()->hide();
    if (QWidget* page = m_containers.value(tab)) {
        page->show();
        page->raise();
    }
    const int previous = m_previous;
    m_previous = tab;
    emit Click(previous);
}
