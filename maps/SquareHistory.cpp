#include "maps/SquareHistory.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <stdexcept>

#include "base/TextRules.h"

namespace kem::maps {
namespace {

constexpr std::string_view kHeader =
    "# KEM GPS: aplankyti kvadratai (kvadratas, pirmas ir paskutinis apsilankymas UTC, "
    "padėties žingsniai)\n";
constexpr std::string_view kNoTime = "-";

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar (H. Hinnant's algorithm).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct Civil {
    std::int64_t year;
    unsigned month, day, hour, minute, second;
};

Civil CivilFromUtc(UtcSeconds time) {
    std::int64_t days = time / 86400;
    std::int64_t rest = time % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto doe = static_cast<unsigned>(days - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned day = doy - (153 * mp + 2) / 5 + 1;
    const unsigned month = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t year = static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2);
    return {year,
            month,
            day,
            static_cast<unsigned>(rest / 3600),
            static_cast<unsigned>(rest / 60 % 60),
            static_cast<unsigned>(rest % 60)};
}

bool IsLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

template <typename Number>
std::optional<Number> ReadNumber(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

// "YYYY-MM-DDTHH:MM:SSZ" or "-"; nothing for anything else.
std::optional<UtcSeconds> ReadTime(std::string_view text) {
    if (text == kNoTime) {
        return kUnknownTime;
    }
    if (text.size() != 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':' || text[19] != 'Z') {
        return std::nullopt;
    }
    const auto year = ReadNumber<int>(text.substr(0, 4));
    const auto month = ReadNumber<int>(text.substr(5, 2));
    const auto day = ReadNumber<int>(text.substr(8, 2));
    const auto hour = ReadNumber<int>(text.substr(11, 2));
    const auto minute = ReadNumber<int>(text.substr(14, 2));
    const auto second = ReadNumber<int>(text.substr(17, 2));
    if (!year || !month || !day || !hour || !minute || !second) {
        return std::nullopt;
    }
    return UtcFromCivil(*year, *month, *day, *hour, *minute, *second);
}

std::vector<std::string_view> SplitBlanks(std::string_view line) {
    std::vector<std::string_view> words;
    while (true) {
        line = Trim(line);
        if (line.empty()) {
            return words;
        }
        const auto end = std::find_if(line.begin(), line.end(),
                                      [](char c) { return static_cast<unsigned char>(c) <= ' '; });
        words.push_back(line.substr(0, static_cast<std::size_t>(end - line.begin())));
        line.remove_prefix(words.back().size());
    }
}

std::optional<SquareVisit> ReadVisit(const std::vector<std::string_view>& words) {
    if (words.size() != 4) {
        return std::nullopt;
    }
    const auto first = ReadTime(words[1]);
    const auto last = ReadTime(words[2]);
    const auto steps = ReadNumber<std::uint64_t>(words[3]);
    if (!first || !last || !steps || (*first == kUnknownTime) != (*last == kUnknownTime) ||
        *first > *last) {
        return std::nullopt;
    }
    return SquareVisit{*first, *last, *steps};
}

}  // namespace

std::optional<int> GridIndex(std::string_view code) {
    if (code.size() != 3 || code[0] < 'A' || code[0] >= 'A' + kGridLetters || code[1] < '0' ||
        code[1] > '9' || code[2] < '0' || code[2] > '9') {
        return std::nullopt;
    }
    const int number = (code[1] - '0') * 10 + (code[2] - '0');
    if (number >= kGridNumbers) {
        return std::nullopt;
    }
    return (code[0] - 'A') * kGridNumbers + number;
}

std::string GridCode(int index) {
    const int number = index % kGridNumbers;
    return {static_cast<char>('A' + index / kGridNumbers), static_cast<char>('0' + number / 10),
            static_cast<char>('0' + number % 10)};
}

std::optional<int> GridIndexOf(LatLong position) {
    try {
        return GridIndex(SquareCode(position, BandNumber::Whole));
    } catch (const std::range_error&) {
        return std::nullopt;
    }
}

std::optional<UtcSeconds> UtcFromCivil(int year, int month, int day, int hour, int minute,
                                       int second) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > kDays[month - 1] + (month == 2 && IsLeap(year)) || hour < 0 || hour > 23 ||
        minute < 0 || minute > 59 || second < 0 || second > 59) {
        return std::nullopt;
    }
    return DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) * 86400 +
           hour * 3600 + minute * 60 + second;
}

std::string UtcDateText(UtcSeconds time) {
    if (time == kUnknownTime) {
        return {};
    }
    const Civil c = CivilFromUtc(time);
    char text[32];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02u", static_cast<long long>(c.year), c.month,
                  c.day);
    return text;
}

std::string UtcDateTimeText(UtcSeconds time) {
    if (time == kUnknownTime) {
        return {};
    }
    const Civil c = CivilFromUtc(time);
    char text[48];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02u:%02u:%02uZ",
                  static_cast<long long>(c.year), c.month, c.day, c.hour, c.minute, c.second);
    return text;
}

void SquareHistory::Add(int index, UtcSeconds time, std::uint64_t steps) {
    Merge(index, {time, time, steps});
}

void SquareHistory::Merge(int index, const SquareVisit& visit) {
    std::optional<SquareVisit>& slot = m_visits[index];
    if (!slot) {
        slot = visit;
        return;
    }
    if (visit.first != kUnknownTime) {
        slot->first =
            slot->first == kUnknownTime ? visit.first : std::min(slot->first, visit.first);
        slot->last = slot->last == kUnknownTime ? visit.last : std::max(slot->last, visit.last);
    }
    slot->steps += visit.steps;
}

int SquareHistory::VisitedCount(const std::vector<bool>& mask) const {
    int count = 0;
    for (int i = 0; i < kGridSquares; ++i) {
        count += Visited(i) && (mask.empty() || mask[i]);
    }
    return count;
}

std::string SquareHistory::Text() const {
    std::string text(kHeader);
    for (int i = 0; i < kGridSquares; ++i) {
        if (const auto& visit = m_visits[i]) {
            const auto time = [](UtcSeconds t) {
                return t == kUnknownTime ? std::string(kNoTime) : UtcDateTimeText(t);
            };
            text += GridCode(i) + ' ' + time(visit->first) + ' ' + time(visit->last) + ' ' +
                    std::to_string(visit->steps) + '\n';
        }
    }
    return text;
}

SquareHistory SquareHistory::Parse(std::string_view text, std::vector<std::string>& damaged) {
    SquareHistory history;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        const std::vector<std::string_view> words = SplitBlanks(line);
        if (words.empty() || words[0].starts_with('#')) {
            continue;
        }
        const auto index = GridIndex(words[0]);
        const auto visit = ReadVisit(words);
        if (!index || !visit) {
            damaged.emplace_back(Trim(line));
            continue;
        }
        history.Merge(*index, *visit);
    }
    return history;
}

}  // namespace kem::maps
