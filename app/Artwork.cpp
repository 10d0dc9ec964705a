#include "app/Artwork.h"

#include <QPainter>

#include "base/ui/ProgramIcons.h"
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
    return QPixmap::fromImage(look::programIcon(35));
}

}  // namespace kem::artwork
