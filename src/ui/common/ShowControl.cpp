#include "ui/common/ShowControl.h"

#include "ui/common/TabControl.h"

#include <QList>
#include <QTabWidget>
#include <QWidget>

namespace common {

namespace {

bool holds(const QWidget* page, const QWidget* control) {
    return page && (page == control || page->isAncestorOf(control));
}

// The tab of tabs that holds control: in a free container of a TabControl, or on one of its pages.
int tabHolding(const QTabWidget* tabs, const QWidget* control) {
    const auto* free = qobject_cast<const TabControl*>(tabs);
    for (int tab = 0; tab < tabs->count(); ++tab)
        if (holds(tabs->widget(tab), control) || (free && holds(free->container(tab), control)))
            return tab;
    return -1;
}

} // namespace

void showControl(QWidget* control) {
    if (!control)
        return;
    // Outermost first, so that an inner tab control is already on screen when it switches.
    QList<QTabWidget*> tabControls;
    for (QWidget* above = control->parentWidget(); above; above = above->parentWidget())
        if (auto* tabs = qobject_cast<QTabWidget*>(above))
            tabControls.prepend(tabs);
    for (QTabWidget* tabs : std::as_const(tabControls)) {
        const int tab = tabHolding(tabs, control);
        if (tab >= 0)
            tabs->setCurrentIndex(tab);
    }
    control->setFocus(Qt::OtherFocusReason);
}

} // namespace common
