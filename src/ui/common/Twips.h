#pragma once

#include <QRect>
#include <QWidget>
#include <stdexcept>

// The window lays itself out in twips (1/1440 inch); at 96 dots per inch 15 twips make one
// pixel. Lengths are kept as whole twips and turned into pixels only when a widget is placed.
namespace twips {

inline constexpr int PerPixel = 15;

// Nearest whole pixel of a length in twips.
constexpr int toPixels(int twips) {
    return (twips >= 0 ? twips + PerPixel / 2 : twips - PerPixel / 2) / PerPixel;
}

constexpr int fromPixels(int pixels) {
    return pixels * PerPixel;
}

inline QRect rect(int left, int top, int width, int height) {
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

inline int left(const QWidget* w) {
    return fromPixels(w->x());
}
inline int top(const QWidget* w) {
    return fromPixels(w->y());
}
inline int width(const QWidget* w) {
    return fromPixels(w->width());
}
inline int height(const QWidget* w) {
    return fromPixels(w->height());
}

// Places w at a rectangle in twips relative to its container. A negative width or height is
// refused with std::out_of_range and leaves w where it was, so a layout statement that cannot
// apply can be passed over as a whole.
inline void move(QWidget* w, int left, int top, int width, int height) {
    if (width < 0 || height < 0)
        throw std::out_of_range("invalid size for " + w->objectName().toStdString());
    w->setGeometry(rect(left, top, width, height));
}

} // namespace twips
