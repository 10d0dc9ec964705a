#include "base/ui/ProgramIcons.h"

#include <QPainter>

#include "base/ui/WindowLook.h"

namespace kem::look {
namespace {

constexpr double kDesignSize = 35;

QImage blank(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void scaleToDesign(QPainter& p, int size) {
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kDesignSize, size / kDesignSize);
}

void drawGlobe(QPainter& p) {
    p.setPen(QPen(kNavy, 1.5));
    p.setBrush(QColor(90, 150, 220));
    p.drawEllipse(QRectF(2.5, 2.5, 30, 30));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 1));
    p.drawEllipse(QRectF(10.5, 2.5, 14, 30));
    p.drawLine(QPointF(17.5, 2.5), QPointF(17.5, 32.5));
    p.drawLine(QPointF(2.5, 17.5), QPointF(32.5, 17.5));
    p.drawLine(QPointF(5, 10), QPointF(30, 10));
    p.drawLine(QPointF(5, 25), QPointF(30, 25));
}

}  // namespace

QImage programIcon(int size) {
    QImage image = blank(size);
    QPainter p(&image);
    scaleToDesign(p, size);
    drawGlobe(p);
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawEllipse(QRectF(20, 12, 5, 5));
    return image;
}

QImage packerIcon(int size) {
    QImage image = blank(size);
    QPainter p(&image);
    scaleToDesign(p, size);
    drawGlobe(p);
    p.setPen(QPen(kNavy, 1));
    p.setBrush(QColor(205, 160, 80));
    p.drawRect(QRectF(15.5, 18.5, 17, 14));
    p.drawLine(QPointF(15.5, 22.5), QPointF(32.5, 22.5));
    p.setPen(QPen(Qt::black, 1));
    for (double y = 19.5; y < 32; y += 2) {
        p.drawLine(QPointF(23, y), QPointF(25, y));
    }
    return image;
}

}  // namespace kem::look
