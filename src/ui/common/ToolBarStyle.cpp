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
    // The common style leaves four pixels under the image; here the caption follows at once. The
    // image and the caption's whole line (descenders included) are centred in the button; when
    // the line does not fit below the image it is lifted into the image's lower edge rather than
    // cut off at the bottom.
    const QRect area = button->rect;
    const int lineHeight = button->fontMetrics.height();
    const QSize iconSize = button->iconSize;
    const int top = area.top() + qMax(0, (area.height() - iconSize.height() - lineHeight) / 2);
    const QIcon::Mode mode = (button->state & State_Enabled) ? QIcon::Normal : QIcon::Disabled;
    const QPixmap image = button->icon.pixmap(iconSize, painter->device()->devicePixelRatio(), mode);
    const QRect imageRect(area.left() + (area.width() - iconSize.width()) / 2, top, iconSize.width(),
                          iconSize.height());
    painter->drawPixmap(imageRect, image);
    const int textTop = qMin(imageRect.bottom() + 1, area.bottom() + 1 - lineHeight);
    const QRect textRect(area.left(), textTop, area.width(), area.bottom() + 1 - textTop);
    drawItemText(painter, textRect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic, button->palette,
                 button->state & State_Enabled, button->text, QPalette::ButtonText);
}
