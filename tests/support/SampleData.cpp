#include "tests/support/SampleData.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string_view>

namespace kem::archive::sample {
namespace {

constexpr int kWidth = 172;
constexpr int kHeight = 306;

struct Rgb {
    std::uint8_t r, g, b;
};

class Random {
public:
    explicit Random(std::uint32_t seed) : m_state(seed) {}
    std::uint32_t Next() {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8;
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }

private:
    std::uint32_t m_state;
};

class Canvas {
public:
    Canvas() : m_pixels(kWidth * kHeight, Rgb{236, 232, 208}) {}

    void Fill(int x0, int y0, int x1, int y1, Rgb c) {
        for (int y = std::max(y0, 0); y < std::min(y1, kHeight); ++y) {
            for (int x = std::max(x0, 0); x < std::min(x1, kWidth); ++x) {
                m_pixels[y * kWidth + x] = c;
            }
        }
    }

    void Line(int x0, int y0, int x1, int y1, Rgb c) {
        const int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
        for (int i = 0; i <= steps; ++i) {
            const int x = x0 + (x1 - x0) * i / std::max(steps, 1);
            const int y = y0 + (y1 - y0) * i / std::max(steps, 1);
            Fill(x, y, x + 1, y + 1, c);
        }
    }

    // 3 x 5 block letters, enough to look like the locator captions of a sheet.
    void Text(int x, int y, std::string_view text, Rgb c) {
        static constexpr std::array<std::uint16_t, 6> kGlyphs = {0x7B6F, 0x2C97, 0x73E7,
                                                                 0x79A7, 0x5BC9, 0x7BED};
        for (char ch : text) {
            const std::uint16_t glyph = kGlyphs[static_cast<unsigned char>(ch) % kGlyphs.size()];
            for (int bit = 0; bit < 15; ++bit) {
                if ((glyph >> bit) & 1) {
                    Fill(x + bit % 3, y + bit / 3, x + bit % 3 + 1, y + bit / 3 + 1, c);
                }
            }
            x += 4;
        }
    }

    std::vector<std::uint8_t> Bmp() const {
        constexpr std::uint32_t kRowBytes = kWidth * 3;  // 516: already a multiple of 4
        constexpr std::uint32_t kImageBytes = kRowBytes * kHeight;
        std::vector<std::uint8_t> out;
        auto put = [&out](std::uint32_t v, int bytes) {
            for (int i = 0; i < bytes; ++i) {
                out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
            }
        };
        put('B' | 'M' << 8, 2);
        put(54 + kImageBytes, 4);
        put(0, 4);
        put(54, 4);
        put(40, 4);  // BITMAPINFOHEADER
        put(kWidth, 4);
        put(kHeight, 4);
        put(1, 2);
        put(24, 2);
        put(0, 4);
        put(kImageBytes, 4);
        put(3780, 4);  // 96 dpi
        put(3780, 4);
        put(0, 4);
        put(0, 4);
        for (int y = kHeight - 1; y >= 0; --y) {  // bottom-up rows, BGR
            for (int x = 0; x < kWidth; ++x) {
                const Rgb& p = m_pixels[y * kWidth + x];
                out.insert(out.end(), {p.b, p.g, p.r});
            }
        }
        return out;
    }

private:
    std::vector<Rgb> m_pixels;
};

}  // namespace

std::vector<std::uint8_t> MapSheetBmp(std::uint32_t seed) {
    Random rnd(seed);
    Canvas sheet;
    for (int i = 0; i < 6; ++i) {  // forests
        const int x = rnd.Below(kWidth), y = rnd.Below(kHeight);
        sheet.Fill(x, y, x + 20 + rnd.Below(50), y + 15 + rnd.Below(60), {170, 214, 150});
    }
    for (int i = 0; i < 2; ++i) {  // lakes
        const int x = rnd.Below(kWidth), y = rnd.Below(kHeight);
        sheet.Fill(x, y, x + 10 + rnd.Below(30), y + 8 + rnd.Below(25), {150, 190, 240});
    }
    for (int i = 0; i < 5; ++i) {  // roads
        sheet.Line(rnd.Below(kWidth), 0, rnd.Below(kWidth), kHeight - 1, {200, 40, 40});
    }
    for (int col = 0; col <= 2; ++col) {  // 2 x 4 subsquares
        sheet.Line(col * (kWidth - 1) / 2, 0, col * (kWidth - 1) / 2, kHeight - 1, {0, 0, 0});
    }
    for (int row = 0; row <= 4; ++row) {
        sheet.Line(0, row * (kHeight - 1) / 4, kWidth - 1, row * (kHeight - 1) / 4, {0, 0, 0});
    }
    for (int i = 0; i < 8; ++i) {
        const char text[] = {static_cast<char>('0' + rnd.Below(10)),
                             static_cast<char>('0' + rnd.Below(10)),
                             'A',
                             'B',
                             'K',
                             'O'};
        sheet.Text(4 + (i % 2) * 86, 4 + (i / 2) * 76, {text, sizeof text}, {0, 0, 128});
    }
    return sheet.Bmp();
}

std::vector<std::uint8_t> MixedData(std::size_t size, std::uint32_t seed) {
    static constexpr std::string_view kWords[] = {
        "$GPGGA,", "KEM ", "square ", "K26 ", "5430.1234,N,", "02512.5678,E,", "map ", "\r\n"};
    Random rnd(seed);
    std::vector<std::uint8_t> out;
    out.reserve(size);
    while (out.size() < size) {
        const std::size_t block = 4096 + static_cast<std::size_t>(rnd.Below(60000));
        const std::size_t end = std::min(size, out.size() + block);
        switch (rnd.Below(5)) {
            case 0:
                while (out.size() < end) {
                    const auto word = kWords[rnd.Below(std::size(kWords))];
                    out.insert(out.end(), word.begin(), word.end());
                }
                break;
            case 1:
                while (out.size() < end) {
                    out.push_back(static_cast<std::uint8_t>(rnd.Next()));
                }
                break;
            case 2:
                while (out.size() < end) {
                    out.insert(out.end(), 1 + rnd.Below(300),
                               static_cast<std::uint8_t>(rnd.Next()));
                }
                break;
            case 3:
                while (out.size() < end) {
                    out.push_back(static_cast<std::uint8_t>('a' + rnd.Below(5)));
                }
                break;
            default: {
                const auto sheet = MapSheetBmp(rnd.Next());
                out.insert(out.end(), sheet.begin(), sheet.end());
                break;
            }
        }
    }
    out.resize(size);
    return out;
}

}  // namespace kem::archive::sample
