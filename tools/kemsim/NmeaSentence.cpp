#include "tools/kemsim/NmeaSentence.h"

#include <cstdint>

namespace kem::kemsim {

std::string Checksum(std::string_view body) {
    std::uint8_t sum = 0;
    for (const char c : body)
        sum ^= static_cast<std::uint8_t>(c);
    static constexpr char kHex[] = "0123456789ABCDEF";
    return {kHex[sum >> 4], kHex[sum & 0x0F]};
}

std::string Frame(std::string_view body) {
    std::string line;
    line.reserve(body.size() + 6);
    line += '$';
    line += body;
    line += '*';
    line += Checksum(body);
    line += "\r\n";
    return line;
}

}  // namespace kem::kemsim
