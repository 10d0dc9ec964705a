#include "tools/mapsheets/MapPicture.h"

#include <algorithm>
#include <cmath>

namespace kem::mapsheets {
namespace {

// Border dashes: 5 pixels drawn, 3 left out.
constexpr double kDashPeriod = 8;
constexpr double kDashLength = 5;
// River classes drawn two pixels wide.
constexpr int kMajorRiverLevel = 2;

}  // namespace

MapPicture::MapPicture(const LandMask& mask)
    : m_width(mask.width), m_height(mask.height), m_pixels(mask.cells.size(), kLand) {
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            if (!mask.IsWater(x, y)) {
                continue;
            }
            const bool shore = (x > 0 && !mask.IsWater(x - 1, y)) ||
                               (x + 1 < m_width && !mask.IsWater(x + 1, y)) ||
                               (y > 0 && !mask.IsWater(x, y - 1)) ||
                               (y + 1 < m_height && !mask.IsWater(x, y + 1));
            m_pixels[Index(x, y)] = shore ? kShore : kWater;
        }
    }
}

void MapPicture::Put(int x, int y, Ink ink) {
    if (Inside(x, y)) {
        m_pixels[Index(x, y)] = ink;
    }
}

void MapPicture::PutBlock(int x, int y, int size, Ink ink) {
    for (int dy = 0; dy < size; ++dy) {
        for (int dx = 0; dx < size; ++dx) {
            Put(x + dx, y + dy, ink);
        }
    }
}

template <typename Plot>
void MapPicture::Walk(const Polyline& line, Plot&& plot) {
    double walked = 0;
    for (std::size_t i = 0; i < line.points.size(); ++i) {
        const GridPoint from = line.points[i];
        const GridPoint to = i + 1 < line.points.size() ? line.points[i + 1] : from;
        const double dx = to.x - from.x;
        const double dy = to.y - from.y;
        const int steps =
            std::max(1, static_cast<int>(std::ceil(std::max(std::abs(dx), std::abs(dy)))));
        const double length = std::hypot(dx, dy);
        // The last cell of a piece is the first of the next one.
        const int last = i + 1 < line.points.size() ? steps - 1 : steps;
        for (int step = 0; step <= last; ++step) {
            const double t = static_cast<double>(step) / steps;
            plot(static_cast<int>(std::floor(from.x + dx * t)),
                 static_cast<int>(std::floor(from.y + dy * t)), walked + length * t);
        }
        walked += length;
    }
}

void MapPicture::DrawRiver(const Polyline& river) {
    const int width = river.level == kMajorRiverLevel ? 2 : 1;
    Walk(river, [&](int x, int y, double) {
        for (int dy = 0; dy < width; ++dy) {
            for (int dx = 0; dx < width; ++dx) {
                if (Inside(x + dx, y + dy) &&
                    (At(x + dx, y + dy) == kLand || At(x + dx, y + dy) == kRiver)) {
                    Put(x + dx, y + dy, kRiver);
                }
            }
        }
    });
}

void MapPicture::DrawBorder(const Polyline& border) {
    Walk(border, [&](int x, int y, double walked) {
        if (std::fmod(walked, kDashPeriod) < kDashLength) {
            PutBlock(x, y, 2, kBorder);
        }
    });
}

void MapPicture::DrawDot(GridPoint place, int size) {
    const int x = static_cast<int>(std::floor(place.x)) - (size - 1) / 2;
    const int y = static_cast<int>(std::floor(place.y)) - (size - 1) / 2;
    PutBlock(x, y, size, kTown);
}

void MapPicture::DrawText(const TextImage& text, int x, int y) {
    const auto ink = [&](int col, int row) {
        return col >= 0 && row >= 0 && col < text.width && row < text.height &&
               text.ink[static_cast<std::size_t>(row) * text.width + col] != 0;
    };
    for (int row = 0; row < text.height; ++row) {
        for (int col = 0; col < text.width; ++col) {
            if (ink(col, row)) {
                Put(x + col, y + row, kTown);
                continue;
            }
            bool halo = false;
            for (int dy = -1; dy <= 1 && !halo; ++dy) {
                for (int dx = -1; dx <= 1 && !halo; ++dx) {
                    halo = ink(col + dx, row + dy);
                }
            }
            if (halo) {
                Put(x + col, y + row, kLand);
            }
        }
    }
}

std::vector<std::uint8_t> MapPicture::Sheet(int row, int column) const {
    std::vector<std::uint8_t> sheet;
    sheet.reserve(std::size_t{kSheetWidth} * kSheetHeight);
    for (int y = 0; y < kSheetHeight; ++y) {
        const auto start = m_pixels.begin() + Index(column * kSheetWidth, row * kSheetHeight + y);
        sheet.insert(sheet.end(), start, start + kSheetWidth);
    }
    return sheet;
}

}  // namespace kem::mapsheets
