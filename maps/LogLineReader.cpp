#include "maps/LogLineReader.h"

#include <array>
#include <charconv>
#include <string>

namespace kem::maps {
namespace {

constexpr std::size_t kFields = 5;  // date and time, latitude, longitude, altitude, geoid
constexpr double kMetresPerFoot = 0.3048;

// A cursor over one field; every reader consumes what it recognises and reports failure by
// returning nothing or false.
class Scanner {
public:
    explicit Scanner(std::string_view text) : m_rest(text) {}

    bool AtEnd() const { return m_rest.empty(); }

    void SkipBlanks() {
        while (!m_rest.empty() && m_rest.front() == ' ') {
            m_rest.remove_prefix(1);
        }
    }

    bool Take(std::string_view expected) {
        if (!m_rest.starts_with(expected)) {
            return false;
        }
        m_rest.remove_prefix(expected.size());
        return true;
    }

    // minDigits..maxDigits decimal digits.
    std::optional<int> Number(std::size_t minDigits, std::size_t maxDigits) {
        std::size_t n = 0;
        int value = 0;
        while (n < m_rest.size() && n < maxDigits && m_rest[n] >= '0' && m_rest[n] <= '9') {
            value = value * 10 + (m_rest[n] - '0');
            ++n;
        }
        if (n < minDigits) {
            return std::nullopt;
        }
        m_rest.remove_prefix(n);
        return value;
    }

    // One of the letters of choices (either case); its index.
    std::optional<std::size_t> Letter(std::string_view choices) {
        if (m_rest.empty()) {
            return std::nullopt;
        }
        const char upper = m_rest.front() >= 'a' && m_rest.front() <= 'z'
                               ? static_cast<char>(m_rest.front() - 'a' + 'A')
                               : m_rest.front();
        const auto index = choices.find(upper);
        if (index == std::string_view::npos) {
            return std::nullopt;
        }
        m_rest.remove_prefix(1);
        return index;
    }

    std::string_view Rest() const { return m_rest; }

private:
    std::string_view m_rest;
};

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

bool SplitFields(std::string_view line, std::array<std::string_view, kFields>& fields) {
    for (std::size_t i = 0; i < kFields; ++i) {
        const auto tab = line.find('\t');
        if ((tab == std::string_view::npos) != (i == kFields - 1)) {
            return false;
        }
        fields[i] = line.substr(0, tab);
        line.remove_prefix(tab == std::string_view::npos ? line.size() : tab + 1);
    }
    return true;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// "1994.03.23"
std::optional<LogDate> ReadDate(Scanner& in) {
    const auto year = in.Number(4, 4);
    if (!year || !in.Take(".")) {
        return std::nullopt;
    }
    const auto month = in.Number(2, 2);
    if (!month || *month < 1 || *month > 12 || !in.Take(".")) {
        return std::nullopt;
    }
    const auto day = in.Number(2, 2);
    if (!day || *day < 1 || *day > DaysInMonth(*year, *month)) {
        return std::nullopt;
    }
    return LogDate{*year, *month, *day};
}

// "12:35:19 UTC"
std::optional<LogTime> ReadTime(Scanner& in) {
    const auto hour = in.Number(2, 2);
    if (!hour || *hour > 23 || !in.Take(":")) {
        return std::nullopt;
    }
    const auto minute = in.Number(2, 2);
    if (!minute || *minute > 59 || !in.Take(":")) {
        return std::nullopt;
    }
    const auto second = in.Number(2, 2);
    if (!second || *second > 59) {
        return std::nullopt;
    }
    in.SkipBlanks();
    if (!in.Take("UTC")) {
        return std::nullopt;
    }
    return LogTime{*hour, *minute, *second};
}

// "", "1994.03.23  12:35:19 UTC", "12:35:19 UTC" (no date) or "1994.03.23" (a time with
// decimals is not shown).
bool ReadDateTime(std::string_view text, LogLine& out) {
    Scanner in(TrimBlanks(text));
    if (in.AtEnd()) {
        return true;
    }
    if (in.Rest().size() > 4 && in.Rest()[4] == '.') {
        out.date = ReadDate(in);
        if (!out.date) {
            return false;
        }
        in.SkipBlanks();
        if (in.AtEnd()) {
            return true;
        }
    }
    out.time = ReadTime(in);
    return out.time && in.AtEnd();
}

// 48°07' 01" N: degrees, the degree sign (byte 0xB0, or its UTF-8 form after an edit in a UTF-8
// editor), two-digit minutes, seconds, the hemisphere letter. Nothing when out of range.
std::optional<double> ReadAngle(std::string_view text, std::size_t maxDegreeDigits, int maxDegrees,
                                std::string_view hemispheres) {
    Scanner in(TrimBlanks(text));
    const auto degrees = in.Number(1, maxDegreeDigits);
    if (!degrees || !(in.Take("\xB0") || in.Take("\xC2\xB0"))) {
        return std::nullopt;
    }
    in.SkipBlanks();
    const auto minutes = in.Number(1, 2);
    if (!minutes || *minutes > 59 || !in.Take("'")) {
        return std::nullopt;
    }
    in.SkipBlanks();
    const auto seconds = in.Number(1, 2);
    if (!seconds || *seconds > 59 || !in.Take("\"")) {
        return std::nullopt;
    }
    in.SkipBlanks();
    const auto hemisphere = in.Letter(hemispheres);
    if (!hemisphere || !in.AtEnd()) {
        return std::nullopt;
    }
    const double value = *degrees + *minutes / 60.0 + *seconds / 3600.0;
    if (value > maxDegrees) {
        return std::nullopt;
    }
    return *hemisphere == 0 ? value : -value;
}

// "545,4 m" or "545.4 m" (the display's decimal mark when the line was written); "" for none.
// A unit other than metres or feet leaves the line without an altitude.
bool ReadAltitude(std::string_view text, LogLine& out) {
    text = TrimBlanks(text);
    if (text.empty()) {
        return true;
    }
    const auto blank = text.find(' ');
    std::string number(text.substr(0, blank));
    const std::string_view unit =
        blank == std::string_view::npos ? std::string_view() : TrimBlanks(text.substr(blank));
    if (const auto comma = number.find(','); comma != std::string::npos) {
        number[comma] = '.';
    }
    double value = 0.0;
    const char* end = number.data() + number.size();
    const auto [stop, error] = std::from_chars(number.data(), end, value);
    if (error != std::errc() || stop != end) {
        return false;
    }
    if (unit == "m" || unit.empty()) {
        out.altitude = value;
    } else if (unit == "f") {
        out.altitude = value * kMetresPerFoot;
    }
    return true;
}

}  // namespace

std::optional<LogLine> readLogLine(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.remove_suffix(1);
    }
    std::array<std::string_view, kFields> fields;
    if (!SplitFields(line, fields)) {
        return std::nullopt;
    }
    LogLine out;
    const auto latitude = ReadAngle(fields[1], 2, 90, "NS");
    const auto longitude = ReadAngle(fields[2], 3, 180, "EW");
    if (!latitude || !longitude || !ReadDateTime(fields[0], out) || !ReadAltitude(fields[3], out)) {
        return std::nullopt;
    }
    out.latitude = *latitude;
    out.longitude = *longitude;
    return out;
}

}  // namespace kem::maps
