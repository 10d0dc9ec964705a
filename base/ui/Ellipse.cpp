#include "base/ui/Ellipse.h"

#include <QImage>

namespace kem::look {
namespace {

struct Shape {
    double cx, cy, rx, ry;
    bool contains(int x, int y) const {
        if (rx <= 0 || ry <= 0) {
            return false;
        }
        const double dx = (x + 0.5 - cx) / rx;
        const double dy = (y + 0.5 - cy) / ry;
        return dx * dx + dy * dy <= 1.0;
    }
};

}  // namespace

void drawEllipse(QImage& image, const QRect& box, const std::optional<QColor>& outline,
                 const std::optional<QColor>& fill) {
    const Shape shape{box.x() + box.width() / 2.0, box.y() + box.height() / 2.0, box.width() / 2.0,
                      box.height() / 2.0};
    const QRect visible = box & image.rect();
    for (int y = visible.top(); y <= visible.bottom(); ++y) {
        for (int x = visible.left(); x <= visible.right(); ++x) {
            if (!shape.contains(x, y)) {
                continue;
            }
            const bool edge = !shape.contains(x - 1, y) || !shape.contains(x + 1, y) ||
                              !shape.contains(x, y - 1) || !shape.contains(x, y + 1);
            if (edge && outline) {
                image.setPixelColor(x, y, *outline);
            } else if (fill) {
                image.setPixelColor(x, y, *fill);
            }
        }
    }
}

}  // namespace kem::look
