#include "maps/QthCalculator.h"

#include "base/TextRules.h"
#include "maps/Locator.h"

namespace kem::maps {
namespace {

constexpr int kMaxima[6] = {90, 59, 59, 180, 59, 59};

bool within(char c, char first, char last) {
    return c >= first && c <= last;
}

}  // namespace

std::array<bool, 6> outOfRange(const TypedCoordinates& fields) {
    std::array<bool, 6> out{};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::int32_t value = TextToInt(Trim(fields[i]));
        out[i] = value < 0 || value > kMaxima[i];
    }
    return out;
}

QthResult calcQth(const TypedCoordinates& f) {
    const LatLong position = LatLongFromTyped(f[0], f[1], f[2], f[3], f[4], f[5]);
    return {SquareCode(position, BandNumber::Whole), WwlLocator(position)};
}

bool isSquareCode(std::string_view code) {
    return code.size() == 3 && within(code[0], 'A', 'P') && within(code[1], '0', '3') &&
           within(code[2], '0', '9');
}

bool isWwlLocator(std::string_view w) {
    return w.size() == 6 && within(w[0], 'A', 'R') && within(w[1], 'A', 'R') &&
           within(w[2], '0', '9') && within(w[3], '0', '9') && within(w[4], 'A', 'X') &&
           within(w[5], 'A', 'X');
}

}  // namespace kem::maps
