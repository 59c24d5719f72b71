#include "ui/common/ToolBarStyle.h"

#include <QPainter>
#include <QStyleOptionToolButton>

int ToolBarStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
    if (metric == PM_ToolBarFrameWidth || metric == PM_ToolBarItemMargin)
        return 0;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

void ToolBarStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                               const QWidget* widget) const {
    const auto* button = qstyleoption_cast<const QStyleOptionToolButton*>(option);
    if (element != CE_ToolButtonLabel || !button || button->toolButtonStyle != Qt::ToolButtonTextUnderIcon) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    // The common style leaves four pixels under the image; here the caption follows at once.
    const QRect area = button->rect.adjusted(1, 1, -1, -1);
    const QIcon::Mode mode = (button->state & State_Enabled) ? QIcon::Normal : QIcon::Disabled;
    const QPixmap image = button->icon.pixmap(button->iconSize, painter->device()->devicePixelRatio(), mode);
    const QRect imageRect(area.left() + (area.width() - button->iconSize.width()) / 2, area.top(),
                          button->iconSize.width(), button->iconSize.height());
    painter->drawPixmap(imageRect, image);
    const QRect textRect(area.left(), imageRect.bottom() + 1, area.width(), area.bottom() - imageRect.bottom());
    drawItemText(painter, textRect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic, button->palette,
                 button->state & State_Enabled, button->text, QPalette::ButtonText);
}
