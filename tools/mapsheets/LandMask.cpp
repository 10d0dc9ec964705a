#include "tools/mapsheets/LandMask.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "base/IoError.h"

namespace kem::mapsheets {
namespace {

constexpr char kMagic[] = "KEMMASK1";
constexpr std::size_t kMagicSize = sizeof kMagic - 1;
constexpr std::size_t kHeaderSize = kMagicSize + 8;

void PutUint32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

std::uint32_t GetUint32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

void PutRun(std::vector<std::uint8_t>& out, std::uint64_t length, Surface surface) {
    std::uint64_t value = length << 2 | static_cast<std::uint8_t>(surface);
    while (value >= 0x80) {
        out.push_back(static_cast<std::uint8_t>(value | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<std::uint8_t>(value));
}

[[noreturn]] void Corrupt(const char* why) {
    throw std::runtime_error(std::string("land mask: ") + why);
}

}  // namespace

std::vector<std::uint8_t> EncodeMask(const LandMask& mask) {
    std::vector<std::uint8_t> out(kMagic, kMagic + kMagicSize);
    PutUint32(out, static_cast<std::uint32_t>(mask.width));
    PutUint32(out, static_cast<std::uint32_t>(mask.height));
    std::size_t start = 0;
    for (std::size_t i = 1; i <= mask.cells.size(); ++i) {
        if (i == mask.cells.size() || mask.cells[i] != mask.cells[start]) {
            PutRun(out, i - start, mask.cells[start]);
            start = i;
        }
    }
    return out;
}

LandMask DecodeMask(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kHeaderSize || std::memcmp(bytes.data(), kMagic, kMagicSize) != 0) {
        Corrupt("not a mask file");
    }
    LandMask mask;
    const std::uint32_t width = GetUint32(bytes, kMagicSize);
    const std::uint32_t height = GetUint32(bytes, kMagicSize + 4);
    if (width == 0 || height == 0 || width > 1u << 15 || height > 1u << 15) {
        Corrupt("implausible size");
    }
    mask.width = static_cast<int>(width);
    mask.height = static_cast<int>(height);
    const std::size_t total = std::size_t{width} * height;
    mask.cells.reserve(total);
    std::size_t at = kHeaderSize;
    while (at < bytes.size()) {
        std::uint64_t value = 0;
        for (int shift = 0;; shift += 7) {
            if (at == bytes.size() || shift > 56) {
                Corrupt("broken run");
            }
            const std::uint8_t byte = bytes[at++];
            value |= std::uint64_t{byte & 0x7Fu} << shift;
            if (byte < 0x80) {
                break;
            }
        }
        const auto surface = static_cast<std::uint8_t>(value & 3);
        const std::uint64_t length = value >> 2;
        if (surface > 2 || length == 0 || length > total - mask.cells.size()) {
            Corrupt("bad run");
        }
        mask.cells.insert(mask.cells.end(), length, static_cast<Surface>(surface));
    }
    if (mask.cells.size() != total) {
        Corrupt("too few cells");
    }
    return mask;
}

LandMask MaskFromRaw(std::span<const std::uint8_t> raw, int width, int height) {
    if (width <= 0 || height <= 0 || raw.size() != std::size_t(width) * std::size_t(height)) {
        Corrupt("raw mask of the wrong size");
    }
    LandMask mask{width, height, {}};
    mask.cells.reserve(raw.size());
    for (const std::uint8_t cell : raw) {
        if (cell > 2) {
            Corrupt("raw mask with a value other than 0, 1 or 2");
        }
        mask.cells.push_back(static_cast<Surface>(cell));
    }
    return mask;
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw IoError::FromErrno("Unable to open", path);
    }
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    if (in.bad()) {
        throw IoError::FromErrno("Unable to read", path);
    }
    return bytes;
}

void WriteFileBytes(const std::string& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw IoError::FromErrno("Unable to write to", path);
    }
}

}  // namespace kem::mapsheets
