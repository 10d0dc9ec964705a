#include "app/SettingsText.h"

#include <charconv>
#include <cstdint>
#include <limits>

namespace kem {
namespace {

bool isBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

}  // namespace

int textToIntDef(std::string_view text, int def) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.starts_with('$')) {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text.front() == '-' || text.front() == '+') {
        return def;
    }
    std::int64_t magnitude = 0;
    const auto [end, err] =
        std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (err != std::errc{} || end != text.data() + text.size()) {
        return def;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
        return def;
    }
    return static_cast<int>(value);
}

std::string trimText(std::string_view text) {
    while (!text.empty() && isBlankOrControl(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlankOrControl(text.back())) {
        text.remove_suffix(1);
    }
    return std::string(text);
}

}  // namespace kem
