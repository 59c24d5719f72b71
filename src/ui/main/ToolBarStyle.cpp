#include "ui/main/ToolBarStyle.h"

int ToolBarStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
    if (metric == PM_ToolBarFrameWidth || metric == PM_ToolBarItemMargin)
        return 0;
    return QProxyStyle::pixelMetric(metric, option, widget);
}
