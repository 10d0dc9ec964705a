#include "tools/mapsheets/CountryOutline.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "tools/mapsheets/SheetGrid.h"

namespace kem::mapsheets {
namespace {

constexpr std::uint8_t kOpen = 0;
constexpr std::uint8_t kCountry = 1;
constexpr std::uint8_t kBarrier = 2;

// Calls plot(x, y) for the cells along the line, each next to the one before (also diagonally),
// so that a fill going only sideways and up and down cannot slip through.
template <typename Plot>
void Trace(const Polyline& line, double scale, Plot&& plot) {
    for (std::size_t i = 0; i + 1 < line.points.size(); ++i) {
        const double x0 = line.points[i].x / scale, y0 = line.points[i].y / scale;
        const double dx = line.points[i + 1].x / scale - x0, dy = line.points[i + 1].y / scale - y0;
        const int steps =
            std::max(1, static_cast<int>(std::ceil(std::max(std::abs(dx), std::abs(dy)))));
        for (int step = 0; step <= steps; ++step) {
            const double t = static_cast<double>(step) / steps;
            plot(static_cast<int>(std::floor(x0 + dx * t)),
                 static_cast<int>(std::floor(y0 + dy * t)));
        }
    }
}

}  // namespace

std::vector<Polyline> CompletedBorders(const std::vector<Polyline>& borders) {
    constexpr double kSpitBorder = 55.0 + 16.9 / 60.0;
    std::vector<Polyline> all = borders;
    all.push_back(
        {0, {ToGrid(kSpitBorder, 20.85), ToGrid(kSpitBorder, 21.10), ToGrid(55.2489, 21.2667)}});
    return all;
}

std::vector<std::uint8_t> CountryLand(const LandMask& mask, const std::vector<Polyline>& borders,
                                      std::span<const Place> seeds) {
    const int w = mask.width, h = mask.height;
    std::vector<std::uint8_t> cells(mask.cells.size(), kOpen);
    for (const Polyline& border : borders) {
        // Three cells wide: the pieces of the extract meet only to within a cell or so.
        Trace(border, 1.0, [&](int x, int y) {
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    if (x + dx >= 0 && y + dy >= 0 && x + dx < w && y + dy < h) {
                        cells[static_cast<std::size_t>(y + dy) * w + x + dx] = kBarrier;
                    }
                }
            }
        });
    }
    std::vector<std::size_t> todo;
    const auto visit = [&](int x, int y) {
        const std::size_t i = static_cast<std::size_t>(y) * w + x;
        if (x >= 0 && y >= 0 && x < w && y < h && cells[i] == kOpen &&
            mask.cells[i] == Surface::Land) {
            cells[i] = kCountry;
            todo.push_back(i);
        }
    };
    for (const Place& seed : seeds) {
        const GridPoint p = ToGrid(seed.lat, seed.lon);
        visit(static_cast<int>(p.x), static_cast<int>(p.y));
    }
    while (!todo.empty()) {
        const std::size_t i = todo.back();
        todo.pop_back();
        const int x = static_cast<int>(i % w), y = static_cast<int>(i / w);
        visit(x - 1, y);
        visit(x + 1, y);
        visit(x, y - 1);
        visit(x, y + 1);
    }
    for (std::uint8_t& cell : cells) {
        cell = cell == kCountry ? 1 : 0;
    }
    return cells;
}

std::vector<bool> SquaresWithLand(std::span<const std::uint8_t> country) {
    if (country.size() != std::size_t{kGridWidth} * kGridHeight) {
        throw std::runtime_error("country land: not the size of the grid");
    }
    std::vector<bool> squares(kRows * kColumns, false);
    for (int y = 0; y < kGridHeight; ++y) {
        for (int x = 0; x < kGridWidth; ++x) {
            if (country[static_cast<std::size_t>(y) * kGridWidth + x] != 0) {
                squares[(y / kSheetHeight) * kColumns + x / kSheetWidth] = true;
            }
        }
    }
    return squares;
}

Overview RenderOverview(const LandMask& mask, std::span<const std::uint8_t> country,
                        const std::vector<Polyline>& borders, int scale) {
    Overview view;
    view.width = mask.width / scale;
    view.height = mask.height / scale;
    view.pixels.assign(static_cast<std::size_t>(view.width) * view.height, kOverviewWater);
    const auto at = [&](int x, int y) -> std::uint8_t& {
        return view.pixels[static_cast<std::size_t>(y) * view.width + x];
    };
    for (int y = 0; y < view.height; ++y) {
        for (int x = 0; x < view.width; ++x) {
            int counts[3] = {};  // water, country, abroad
            for (int dy = 0; dy < scale; ++dy) {
                for (int dx = 0; dx < scale; ++dx) {
                    const std::size_t i =
                        static_cast<std::size_t>(y * scale + dy) * mask.width + x * scale + dx;
                    ++counts[mask.cells[i] != Surface::Land ? 0 : country[i] != 0 ? 1 : 2];
                }
            }
            const int most = static_cast<int>(std::max_element(counts, counts + 3) - counts);
            at(x, y) = most == 0 ? kOverviewWater : most == 1 ? kOverviewCountry : kOverviewAbroad;
        }
    }
    const auto isLand = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < view.width && y < view.height &&
               (at(x, y) == kOverviewCountry || at(x, y) == kOverviewAbroad);
    };
    for (int y = 0; y < view.height; ++y) {
        for (int x = 0; x < view.width; ++x) {
            if (at(x, y) == kOverviewWater &&
                (isLand(x - 1, y) || isLand(x + 1, y) || isLand(x, y - 1) || isLand(x, y + 1))) {
                at(x, y) = kOverviewShore;
            }
        }
    }
    for (const Polyline& border : borders) {
        Trace(border, scale, [&](int x, int y) {
            if (x >= 0 && y >= 0 && x < view.width && y < view.height) {
                at(x, y) = kOverviewBorder;
            }
        });
    }
    return view;
}

std::string SquareListText(const std::vector<bool>& squares) {
    std::string text;
    for (int i = 0; i < static_cast<int>(squares.size()); ++i) {
        if (squares[i]) {
            text += SheetCode(i / kColumns, i % kColumns) + '\n';
        }
    }
    return text;
}

}  // namespace kem::mapsheets
