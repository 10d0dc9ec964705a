#include "base/TextRules.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace kem {

namespace {

bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

char LowerAsciiChar(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlankOrControl(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlankOrControl(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

void SubstituteSeparator(std::string& text, char decimalSeparator) {
    if (auto pos = text.find('.'); pos != std::string::npos) {
        text[pos] = decimalSeparator;
    }
}

std::int32_t TextToInt(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || !IsDigit(text.front())) {
        return 0;
    }
    // Parsed as 64 bits so that -2147483648 fits before the sign is applied.
    std::int64_t magnitude = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return 0;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        return 0;
    }
    return static_cast<std::int32_t>(value);
}

std::int32_t TextToIntDef(std::string_view text, std::int32_t def) {
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
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        return def;
    }
    return static_cast<std::int32_t>(value);
}

long double TextToFloat(std::string_view text, char decimalSeparator) {
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Only digits, one separator and an exponent are numbers here; from_chars alone would also
    // take "inf", "nan" and a "." under a comma locale.
    char buffer[64];
    if (text.empty() || text.size() >= sizeof buffer) {
        return 0.0L;
    }
    std::size_t length = 0;
    for (char c : text) {
        if (c == decimalSeparator) {
            c = '.';
        } else if (!IsDigit(c) && c != 'e' && c != 'E' && c != '+' && c != '-') {
            return 0.0L;
        }
        buffer[length++] = c;
    }
    if (!IsDigit(buffer[0]) && buffer[0] != '.') {
        return 0.0L;
    }
    long double value = 0.0L;
    auto [end, ec] = std::from_chars(buffer, buffer + length, value);
    if (ec != std::errc() || end != buffer + length) {
        return 0.0L;
    }
    return negative ? -value : value;
}

std::string FormatOneDecimal(float value, char decimalSeparator) {
    std::string out;
    if (!std::isfinite(value)) {
        out.push_back('0');
        out += decimalSeparator;
        out += '0';
        return out;
    }
    // A float times 10 is exact in long double, so rounding that product is exact rounding of the
    // value; below 2^62 the tenths fit in an integer.
    const long double tenths = static_cast<long double>(value) * 10.0L;
    if (std::fabs(tenths) < 0x1p62L) {
        const long long n = std::llroundl(tenths);
        const unsigned long long magnitude = n < 0 ? -static_cast<unsigned long long>(n) : n;
        if (n < 0) {
            out += '-';
        }
        out += std::to_string(magnitude / 10);
        out += decimalSeparator;
        out += static_cast<char>('0' + magnitude % 10);
        return out;
    }
    // Larger floats are whole numbers: their digits and ".0".
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                   std::chars_format::fixed, 1);
    out.assign(buffer, ec == std::errc() ? end : buffer);
    if (auto pos = out.find('.'); pos != std::string::npos) {
        out[pos] = decimalSeparator;
    }
    return out;
}

void LowerAscii(std::string& text, std::size_t from) {
    for (std::size_t i = from; i < text.size(); ++i) {
        text[i] = LowerAsciiChar(text[i]);
    }
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return LowerAsciiChar(x) == LowerAsciiChar(y);
           });
}

}  // namespace kem
