#pragma once

#include <QColor>
#include <QRect>
#include <optional>

class QImage;

namespace kem::look {

// Draws an ellipse the way the pictures were designed: inscribed in box, whose right and bottom
// edges lie outside it (box (162, 269, 6, 6) covers x 162..167 and y 269..274). A pixel belongs
// to the ellipse when its centre does; the outline is the ring of those pixels that touch the
// outside. Qt's own raster drops a row of small ellipses, which would shift the marks and dots.
void drawEllipse(QImage& image, const QRect& box, const std::optional<QColor>& outline,
                 const std::optional<QColor>& fill);

}  // namespace kem::look
