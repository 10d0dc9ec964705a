#include "app/Artwork.h"

#include <QPainter>

#include "base/ui/WindowLook.h"

namespace kem::artwork {
namespace {

// 10' of longitude is about 10.7 km at the grid's latitude; 16 pixels per km keeps the bar on
// the 172-pixel sheet.
constexpr int kZeroX = 5;
constexpr int kPixelsPerKm = 16;

}  // namespace

QPixmap scaleBar() {
    QPixmap bar(178, 29);
    bar.fill(Qt::transparent);
    QPainter p(&bar);
    QFont font = look::formFont();
    font.setPixelSize(10);
    p.setFont(font);
    for (int km = 0; km < 10; km += 2) {
        const QColor shade = (km / 2) % 2 == 0 ? QColor(96, 96, 96) : QColor(200, 200, 200);
        p.fillRect(kZeroX + km * kPixelsPerKm, 4, 2 * kPixelsPerKm, 6, shade);
    }
    p.setPen(QColor(96, 96, 96));
    p.drawRect(kZeroX, 4, 10 * kPixelsPerKm - 1, 5);
    p.setPen(Qt::black);
    for (int km = 0; km <= 10; km += 2) {
        const int x = kZeroX + km * kPixelsPerKm;
        const QString text = km == 0 ? QStringLiteral("0 km") : QString::number(km);
        const QRect box = km == 0 ? QRect(x, 11, 40, 16) : QRect(x - 15, 11, 30, 16);
        p.drawText(box, (km == 0 ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignTop, text);
    }
    return bar;
}

QPixmap programIcon() {
    QPixmap icon(35, 35);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(look::kNavy, 1.5));
    p.setBrush(QColor(90, 150, 220));
    p.drawEllipse(QRectF(2.5, 2.5, 30, 30));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 1));
    p.drawEllipse(QRectF(10.5, 2.5, 14, 30));
    p.drawLine(QPointF(17.5, 2.5), QPointF(17.5, 32.5));
    p.drawLine(QPointF(2.5, 17.5), QPointF(32.5, 17.5));
    p.drawLine(QPointF(5, 10), QPointF(30, 10));
    p.drawLine(QPointF(5, 25), QPointF(30, 25));
    p.setPen(Qt::NoPen);
    p.setBrush(look::kRed);
    p.drawEllipse(QRectF(20, 12, 5, 5));
    return icon;
}

}  // namespace kem::artwork
