#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "maps/Locator.h"
#include "maps/SquareData.h"

namespace kem::maps {

// Seconds since 1970-01-01 00:00 UTC; kUnknownTime where a visit's time is not known (a log line
// written before the receiver sent a date).
using UtcSeconds = std::int64_t;
inline constexpr UtcSeconds kUnknownTime = INT64_MIN;

inline constexpr int kGridSquares = kGridLetters * kGridNumbers;

// The index of a square of the grid, row by row from A00 (0) to P39 (639); nothing for any other
// text.
std::optional<int> GridIndex(std::string_view code);
// The code of a grid index 0..639.
std::string GridCode(int index);
// The grid square of a position; nothing outside the grid.
std::optional<int> GridIndexOf(LatLong position);

// The UTC time of a civil date and time; nothing for a date that does not exist.
std::optional<UtcSeconds> UtcFromCivil(int year, int month, int day, int hour, int minute,
                                       int second);
// "YYYY-MM-DD" and "YYYY-MM-DDTHH:MM:SSZ" of a UTC time; empty for kUnknownTime.
std::string UtcDateText(UtcSeconds time);
std::string UtcDateTimeText(UtcSeconds time);

struct SquareVisit {
    UtcSeconds first = kUnknownTime;
    UtcSeconds last = kUnknownTime;
    std::uint64_t steps = 0;  // position steps spent in the square

    bool operator==(const SquareVisit&) const = default;
};

// Where the user has been: each grid square's first and last visit and its position steps.
class SquareHistory {
public:
    // Adds steps spent in the square at time (kUnknownTime keeps the dates as they are).
    void Add(int index, UtcSeconds time, std::uint64_t steps);
    // Adds one whole visit record (first, last and steps).
    void Merge(int index, const SquareVisit& visit);

    const std::optional<SquareVisit>& Visit(int index) const { return m_visits[index]; }
    bool Visited(int index) const { return m_visits[index].has_value(); }
    // Visited squares among those where mask is true (all when mask is empty).
    int VisitedCount(const std::vector<bool>& mask = {}) const;

    // The history file: a comment line, then one line per visited square, in grid order:
    // "K26 2026-12-08T10:15:00Z 2026-12-08T11:02:31Z 125" ("-" for an unknown time).
    std::string Text() const;
    // Reads that text. Lines that are not a comment, a blank line or a well-formed record are
    // skipped and added to damaged (trimmed); a square given twice is merged.
    static SquareHistory Parse(std::string_view text, std::vector<std::string>& damaged);

    bool operator==(const SquareHistory&) const = default;

private:
    std::array<std::optional<SquareVisit>, kGridSquares> m_visits;
};

}  // namespace kem::maps
