#include "base/ui/Ellipse.h"

#include <QImage>
#include <algorithm>
#include <cmath>

namespace kem::look {
namespace {

// The pixels of one row whose centres lie inside the ellipse: [first, last], empty when
// first > last.
struct Span {
    int first = 1;
    int last = 0;
    bool holds(int x) const { return x >= first && x <= last; }
};

Span rowSpan(const QRect& box, int y) {
    const double rx = box.width() / 2.0;
    const double ry = box.height() / 2.0;
    if (rx <= 0 || ry <= 0) {
        return {};
    }
    const double dy = (y + 0.5 - (box.y() + ry)) / ry;
    const double reach = 1.0 - dy * dy;
    if (reach < 0) {
        return {};
    }
    // Centres x + 0.5 within cx +- rx * sqrt(reach).
    const double cx = box.x() + rx;
    const double half = rx * std::sqrt(reach);
    return {static_cast<int>(std::ceil(cx - half - 0.5)),
            static_cast<int>(std::floor(cx + half - 0.5))};
}

}  // namespace

void drawEllipse(QImage& image, const QRect& box, const std::optional<QColor>& outline,
                 const std::optional<QColor>& fill) {
    if (box.isEmpty()) {
        return;
    }
    // Only the rows on the image: a mark's box may be far larger than the sheet. Each row needs
    // its neighbours' spans to find its edge pixels.
    const int top = std::max(box.top(), 0);
    const int bottom = std::min(box.bottom(), image.height() - 1);
    Span above = rowSpan(box, top - 1);
    for (int y = top; y <= bottom; ++y) {
        const Span here = rowSpan(box, y);
        const Span below = rowSpan(box, y + 1);
        for (int x = std::max(here.first, 0); x <= std::min(here.last, image.width() - 1); ++x) {
            const bool edge =
                x == here.first || x == here.last || !above.holds(x) || !below.holds(x);
            if (edge && outline) {
                image.setPixelColor(x, y, *outline);
            } else if (fill) {
                image.setPixelColor(x, y, *fill);
            }
        }
        above = here;
    }
}

}  // namespace kem::look
