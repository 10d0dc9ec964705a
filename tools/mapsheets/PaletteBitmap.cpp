#include "tools/mapsheets/PaletteBitmap.h"

namespace kem::mapsheets {
namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kPixelsPerMetre = 3780;  // 96 dpi

class LittleEndian {
public:
    explicit LittleEndian(std::vector<std::uint8_t>& out) : m_out(out) {}
    void U16(std::uint16_t v) { Bytes(v, 2); }
    void U32(std::uint32_t v) { Bytes(v, 4); }

private:
    void Bytes(std::uint32_t v, int count) {
        for (int i = 0; i < count; ++i) {
            m_out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        }
    }
    std::vector<std::uint8_t>& m_out;
};

}  // namespace

std::vector<std::uint8_t> PaletteBitmap(int width, int height,
                                        std::span<const std::uint8_t> indices) {
    const auto stride = static_cast<std::uint32_t>((width + 3) & ~3);
    const auto colours = static_cast<std::uint32_t>(kPalette.size());
    const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize + 4 * colours;
    const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(height);
    std::vector<std::uint8_t> out;
    out.reserve(offset + imageSize);
    LittleEndian le(out);
    out.push_back('B');
    out.push_back('M');
    le.U32(offset + imageSize);
    le.U32(0);  // reserved
    le.U32(offset);
    le.U32(kInfoHeaderSize);
    le.U32(static_cast<std::uint32_t>(width));
    le.U32(static_cast<std::uint32_t>(height));  // positive: bottom-up rows
    le.U16(1);                                   // planes
    le.U16(8);                                   // bits per pixel
    le.U32(0);                                   // BI_RGB
    le.U32(imageSize);
    le.U32(kPixelsPerMetre);
    le.U32(kPixelsPerMetre);
    le.U32(colours);  // colours used
    le.U32(0);        // all of them important
    for (const Rgb& c : kPalette) {
        out.insert(out.end(), {c.b, c.g, c.r, 0});
    }
    for (int y = height - 1; y >= 0; --y) {
        const auto row = indices.subspan(static_cast<std::size_t>(y) * width, width);
        out.insert(out.end(), row.begin(), row.end());
        out.resize(out.size() + (stride - width), 0);
    }
    return out;
}

}  // namespace kem::mapsheets
