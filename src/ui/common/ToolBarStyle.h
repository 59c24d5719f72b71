#pragma once

#include <QProxyStyle>

// The style of Toolbar1: the application's own style without the bar's frame and item margins,
// and with each caption drawn right under its 16-pixel image, its whole line inside the button,
// so the buttons fit the bar's designed height.
class ToolBarStyle : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};
