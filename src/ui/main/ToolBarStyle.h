#pragma once

#include <QProxyStyle>

// The style of Toolbar1: the application's own style without the bar's frame and item margins,
// so buttons with their captions under 16-pixel images fit in the height above the tab control.
class ToolBarStyle : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
};
