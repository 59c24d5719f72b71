#pragma once

#include <QRect>
#include <QWidget>
#include <stdexcept>

// The window lays itself out in twips (1/1440 inch); at 96 dots per inch 15 twips make one
// pixel. Lengths are kept as whole twips and turned into pixels only when a widget is placed.
namespace common {

inline constexpr int TwipsPerPixel = 15;

// Nearest whole pixel of a length in twips.
constexpr int twipsToPixels(int twips) {
    return (twips >= 0 ? twips + TwipsPerPixel / 2 : twips - TwipsPerPixel / 2) / TwipsPerPixel;
}

constexpr int pixelsToTwips(int pixels) {
    return pixels * TwipsPerPixel;
}

inline QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

inline int twipsLeft(const QWidget* w) {
    return pixelsToTwips(w->x());
}
inline int twipsTop(const QWidget* w) {
    return pixelsToTwips(w->y());
}
inline int twipsWidth(const QWidget* w) {
    return pixelsToTwips(w->width());
}
inline int twipsHeight(const QWidget* w) {
    return pixelsToTwips(w->height());
}

// Places w at a rectangle in twips relative to its container. A negative width or height is
// refused with std::out_of_range and leaves w where it was, so a layout statement that cannot
// apply can be passed over as a whole.
inline void moveTwips(QWidget* w, int left, int top, int width, int height) {
    if (width < 0 || height < 0)
        throw std::out_of_range("invalid size for " + w->objectName().toStdString());
    w->setGeometry(twipsRect(left, top, width, height));
}

} // namespace common
