#include "base/ui/Cp1257.h"

#include <array>
#include <cstdint>

namespace kem {
namespace {

constexpr char16_t kUndefined = 0xFFFD;

// Unicode of the bytes 0x80..0xFF; the lower half is ASCII.
constexpr std::array<char16_t, 128> kUpperHalf = {
    0x20AC,     kUndefined, 0x201A,     kUndefined, 0x201E,     0x2026,     0x2020, 0x2021,  // 80
    kUndefined, 0x2030,     kUndefined, 0x2039,     kUndefined, 0x00A8,     0x02C7, 0x00B8,
    kUndefined, 0x2018,     0x2019,     0x201C,     0x201D,     0x2022,     0x2013, 0x2014,  // 90
    kUndefined, 0x2122,     kUndefined, 0x203A,     kUndefined, 0x00AF,     0x02DB, kUndefined,
    0x00A0,     kUndefined, 0x00A2,     0x00A3,     0x00A4,     kUndefined, 0x00A6, 0x00A7,  // A0
    0x00D8,     0x00A9,     0x0156,     0x00AB,     0x00AC,     0x00AD,     0x00AE, 0x00C6,
    0x00B0,     0x00B1,     0x00B2,     0x00B3,     0x00B4,     0x00B5,     0x00B6, 0x00B7,  // B0
    0x00F8,     0x00B9,     0x0157,     0x00BB,     0x00BC,     0x00BD,     0x00BE, 0x00E6,
    0x0104,     0x012E,     0x0100,     0x0106,     0x00C4,     0x00C5,     0x0118, 0x0112,  // C0
    0x010C,     0x00C9,     0x0179,     0x0116,     0x0122,     0x0136,     0x012A, 0x013B,
    0x0160,     0x0143,     0x0145,     0x00D3,     0x014C,     0x00D5,     0x00D6, 0x00D7,  // D0
    0x0172,     0x0141,     0x015A,     0x016A,     0x00DC,     0x017B,     0x017D, 0x00DF,
    0x0105,     0x012F,     0x0101,     0x0107,     0x00E4,     0x00E5,     0x0119, 0x0113,  // E0
    0x010D,     0x00E9,     0x017A,     0x0117,     0x0123,     0x0137,     0x012B, 0x013C,
    0x0161,     0x0144,     0x0146,     0x00F3,     0x014D,     0x00F5,     0x00F6, 0x00F7,  // F0
    0x0173,     0x0142,     0x015B,     0x016B,     0x00FC,     0x017C,     0x017E, 0x02D9,
};

}  // namespace

QString fromCp1257(std::string_view bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char c : bytes) {
        const auto b = static_cast<std::uint8_t>(c);
        text.append(QChar(b < 0x80 ? char16_t{b} : kUpperHalf[b - 0x80]));
    }
    return text;
}

std::string toCp1257(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        char byte = '?';
        if (u < 0x80) {
            byte = static_cast<char>(u);
        } else {
            for (std::size_t i = 0; i < kUpperHalf.size(); ++i) {
                if (kUpperHalf[i] == u && u != kUndefined) {
                    byte = static_cast<char>(0x80 + i);
                    break;
                }
            }
        }
        bytes.push_back(byte);
    }
    return bytes;
}

}  // namespace kem
