#include "ui/common/ImageList.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace {

using Drawing = std::function<void(QPainter&)>;

// Every picture is drawn in a 16 x 16 coordinate space and scaled to the requested size.
QPixmap render(const Drawing& draw, int size = 16) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    draw(p);
    return pixmap;
}

void checkBox(QPainter& p, const QColor& tick) {
    p.setPen(QPen(QColor(64, 64, 64), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2.5, 2.5, 11, 11));
    if (!tick.isValid())
        return;
    p.setPen(QPen(tick, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(4.8, 8.2), QPointF(7, 10.6), QPointF(11.4, 5)}));
}

void person(QPainter& p, qreal x, qreal y, qreal scale, const QColor& colour) {
    p.setPen(QPen(colour.darker(160), 0.8));
    p.setBrush(colour);
    p.drawEllipse(QPointF(x, y + 3 * scale), 2.6 * scale, 2.6 * scale);
    QPainterPath body;
    body.moveTo(x - 4.5 * scale, y + 12 * scale);
    body.cubicTo(x - 4.5 * scale, y + 6.5 * scale, x + 4.5 * scale, y + 6.5 * scale, x + 4.5 * scale, y + 12 * scale);
    body.closeSubpath();
    p.drawPath(body);
}

void group(QPainter& p) {
    person(p, 10.5, 1.5, 0.9, QColor(70, 160, 70));
    person(p, 6, 3, 1.0, QColor(60, 110, 200));
}

void user(QPainter& p) {
    person(p, 8, 2, 1.1, QColor(60, 110, 200));
}

void key(QPainter& p) {
    p.setPen(QPen(QColor(150, 110, 0), 1.6));
    p.setBrush(QColor(240, 200, 40));
    p.drawEllipse(QPointF(5, 8), 3, 3);
    p.drawLine(QPointF(8, 8), QPointF(14.5, 8));
    p.drawLine(QPointF(12.5, 8), QPointF(12.5, 11));
    p.drawLine(QPointF(14.5, 8), QPointF(14.5, 10.5));
}

void closeDoor(QPainter& p) {
    p.setPen(QPen(QColor(90, 60, 30), 1));
    p.setBrush(QColor(170, 120, 70));
    p.drawRect(QRectF(2.5, 1.5, 8, 13));
    p.setBrush(QColor(240, 220, 120));
    p.drawEllipse(QPointF(8.5, 8.5), 0.9, 0.9);
    p.setPen(QPen(QColor(200, 30, 30), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(9, 8), QPointF(15, 8));
    p.drawPolyline(QPolygonF({QPointF(12.5, 5.5), QPointF(15, 8), QPointF(12.5, 10.5)}));
}

void save(QPainter& p) {
    p.setPen(QPen(QColor(20, 40, 90), 1));
    p.setBrush(QColor(50, 90, 170));
    p.drawRect(QRectF(1.5, 1.5, 13, 13));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 1.5, 8, 5.5));
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(4.5, 9.5, 7, 5));
}

void refresh(QPainter& p) {
    const QColor green(30, 140, 50);
    p.setPen(QPen(green, 2, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(3, 3, 10, 10), 30 * 16, 140 * 16);
    p.drawArc(QRectF(3, 3, 10, 10), 210 * 16, 140 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(green);
    p.drawPolygon(QPolygonF({QPointF(12.5, 1.5), QPointF(15, 7), QPointF(9.5, 6)}));
    p.drawPolygon(QPolygonF({QPointF(3.5, 14.5), QPointF(1, 9), QPointF(6.5, 10)}));
}

void trash(QPainter& p) {
    p.setPen(QPen(QColor(80, 80, 80), 1));
    p.setBrush(QColor(190, 190, 190));
    p.drawRect(QRectF(3.5, 4.5, 9, 10));
    p.drawRect(QRectF(2, 2.5, 12, 2));
    p.setPen(QPen(QColor(200, 30, 30), 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5.5, 7), QPointF(10.5, 12.5));
    p.drawLine(QPointF(10.5, 7), QPointF(5.5, 12.5));
}

void folder(QPainter& p) {
    p.setPen(QPen(QColor(150, 110, 20), 1));
    p.setBrush(QColor(245, 205, 90));
    p.drawRect(QRectF(1.5, 4.5, 13, 9));
    p.drawRect(QRectF(1.5, 2.5, 5, 2));
}

void company(QPainter& p) {
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(QColor(170, 170, 200));
    p.drawRect(QRectF(3.5, 1.5, 9, 13));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 180));
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 2; ++col)
            p.drawRect(QRectF(5 + col * 4, 3 + row * 2.8, 2, 1.6));
}

void brand(QPainter& p) {
    p.setPen(QPen(QColor(140, 30, 110), 1));
    p.setBrush(QColor(230, 120, 200));
    p.drawPolygon(QPolygonF(
        {QPointF(1.5, 6), QPointF(6, 1.5), QPointF(14.5, 1.5), QPointF(14.5, 10), QPointF(10, 14.5), QPointF(1.5, 6)}));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(11, 5), 1.4, 1.4);
}

void workPoint(QPainter& p) {
    p.setPen(QPen(QColor(150, 20, 20), 1));
    p.setBrush(QColor(220, 50, 50));
    QPainterPath pin;
    pin.moveTo(8, 15);
    pin.cubicTo(3, 9, 3, 1.5, 8, 1.5);
    pin.cubicTo(13, 1.5, 13, 9, 8, 15);
    p.drawPath(pin);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 6), 1.8, 1.8);
}

void module(QPainter& p) {
    p.setPen(QPen(QColor(30, 70, 120), 1));
    p.setBrush(QColor(110, 170, 230));
    p.drawPolygon(QPolygonF({QPointF(8, 1.5), QPointF(14.5, 4.5), QPointF(8, 7.5), QPointF(1.5, 4.5)}));
    p.setBrush(QColor(70, 130, 200));
    p.drawPolygon(QPolygonF({QPointF(1.5, 4.5), QPointF(8, 7.5), QPointF(8, 14.5), QPointF(1.5, 11.5)}));
    p.setBrush(QColor(40, 100, 170));
    p.drawPolygon(QPolygonF({QPointF(14.5, 4.5), QPointF(8, 7.5), QPointF(8, 14.5), QPointF(14.5, 11.5)}));
}

void operation(QPainter& p) {
    p.setPen(QPen(QColor(90, 90, 90), 2.5, Qt::SolidLine, Qt::FlatCap));
    for (int i = 0; i < 4; ++i) {
        p.save();
        p.translate(8, 8);
        p.rotate(i * 45);
        p.drawLine(QPointF(0, -6.5), QPointF(0, 6.5));
        p.restore();
    }
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(QColor(200, 200, 200));
    p.drawEllipse(QPointF(8, 8), 4, 4);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 8), 1.6, 1.6);
}

void information(QPainter& p) {
    p.setPen(QPen(QColor(20, 60, 150), 1));
    p.setBrush(QColor(60, 120, 220));
    p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 4.6), 1.2, 1.2);
    p.drawRect(QRectF(7, 6.8, 2, 5.5));
}

} // namespace

ImageList::ImageList(QObject* parent) : QObject(parent) {
    setObjectName("ImageList1");
    const QList<Drawing> drawings = {
        [](QPainter& p) { checkBox(p, Qt::black); },
        [](QPainter& p) { checkBox(p, QColor(160, 160, 160)); },
        [](QPainter& p) { checkBox(p, QColor()); },
        folder,
        key,
        company,
        brand,
        workPoint,
        module,
        operation,
        information,
        closeDoor,
        group,
        user,
        save,
        refresh,
        trash,
    };
    for (const Drawing& draw : drawings)
        m_images.append(QIcon(render(draw)));
}

QIcon ImageList::image(int index) const {
    if (index < 1 || index > count())
        return QIcon();
    return m_images.at(index - 1);
}

QIcon ImageList::windowIcon() {
    auto draw = [](QPainter& p) {
        group(p);
        p.save();
        p.translate(6, 7);
        p.scale(0.6, 0.6);
        key(p);
        p.restore();
    };
    QIcon icon;
    icon.addPixmap(render(draw, 16));
    icon.addPixmap(render(draw, 32));
    return icon;
}
