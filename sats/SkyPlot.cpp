#include "sats/SkyPlot.h"

#include <cmath>
#include <cstdlib>

#include "base/ui/Ellipse.h"
#include "base/ui/WindowLook.h"

namespace kem::sats {
namespace {

constexpr int R = kPlotRadius;
constexpr long double kPi = 3.141592653589793238462643383279502884L;

const QColor kSilver{192, 192, 192};
const QColor kWhite{255, 255, 255};

// A straight line of single pixels from `from` up to, but without, `to` (Bresenham), so that
// each diameter is drawn from the rim it starts at whichever way it runs.
void line(QImage& picture, QPoint from, QPoint to, const QColor& colour) {
    const int dx = std::abs(to.x() - from.x());
    const int dy = -std::abs(to.y() - from.y());
    const int stepX = from.x() < to.x() ? 1 : -1;
    const int stepY = from.y() < to.y() ? 1 : -1;
    int error = dx + dy;
    for (QPoint at = from; at != to;) {
        if (picture.valid(at)) {
            picture.setPixel(at, colour.rgb());
        }
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            at.rx() += stepX;
        }
        if (twice <= dx) {
            error += dx;
            at.ry() += stepY;
        }
    }
}

// The ellipse inscribed in left..right-1, top..bottom-1, with a 1-pixel outline.
void ellipse(QImage& picture, int left, int top, int right, int bottom, const QColor& pen,
             const QColor& brush) {
    look::drawEllipse(picture, QRect(left, top, right - left, bottom - top), pen, brush);
}

int nearestEven(long double value) {
    return static_cast<int>(std::nearbyint(value));
}

}  // namespace

SnrColours snrColours(SnrClass snrClass) {
    switch (snrClass) {
        case SnrClass::Below10:
            return {look::kNavy, kSilver, look::kNavy};
        case SnrClass::From10:
            return {QColor(128, 0, 128), kWhite, QColor(255, 0, 255)};
        case SnrClass::From20:
            return {QColor(0, 255, 0), kWhite, QColor(0, 255, 0)};
        case SnrClass::From30To40:
            return {QColor(255, 255, 0), kWhite, QColor(255, 255, 0)};
        case SnrClass::Above40:
            break;
    }
    return {look::kRed, kWhite, look::kRed};
}

SkyPlot::SkyPlot(const QColor& buttonFace) : m_picture(kSize, kSize, QImage::Format_RGB32) {
    m_picture.setDotsPerMeterX(3780);  // 96 dpi
    m_picture.setDotsPerMeterY(3780);
    RefreshImage(buttonFace);
}

void SkyPlot::RefreshImage(const QColor& buttonFace) {
    m_picture.fill(buttonFace);
    // The horizon, then the circles 30 and 60 degrees up; the diameters go over them.
    for (const int inset : {0, R / 3, 2 * R / 3}) {
        ellipse(m_picture, inset, inset, 2 * R - inset, 2 * R - inset, kGridGrey, look::kNavy);
    }
    line(m_picture, {0, R}, {2 * R, R}, kGridGrey);
    line(m_picture, {R, 0}, {R, 2 * R}, kGridGrey);
    for (const long double angle : {kPi / 6, kPi / 3}) {
        const int dx = nearestEven(R * std::sin(angle));
        const int dy = nearestEven(R * std::cos(angle));
        line(m_picture, {R - dx, R - dy}, {R + dx, R + dy}, kGridGrey);
        line(m_picture, {R + dx, R - dy}, {R - dx, R + dy}, kGridGrey);
    }
}

void SkyPlot::Sat(int /*number*/, int elevation, int azimuth, int snr) {
    const PlotPoint at = skyPoint(elevation, azimuth);
    const SnrColours colours = snrColours(snrClass(snr));
    ellipse(m_picture, at.x - 3, at.y - 3, at.x + 3, at.y + 3, colours.pen, colours.brush);
}

}  // namespace kem::sats
