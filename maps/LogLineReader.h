#pragma once

#include <optional>
#include <string_view>

namespace kem::maps {

// A calendar date as the log writes it (year.month.day).
struct LogDate {
    int year = 0;
    int month = 0;
    int day = 0;

    friend bool operator==(const LogDate&, const LogDate&) = default;
};

// A UTC time of day.
struct LogTime {
    int hour = 0;
    int minute = 0;
    int second = 0;

    int SecondsOfDay() const { return hour * 3600 + minute * 60 + second; }
    friend bool operator==(const LogTime&, const LogTime&) = default;
};

// What one measurement log line says. Latitude and longitude are decimal degrees, north and
// east positive, exactly as many as the texts' degrees, minutes and seconds make. Date and time
// are absent when the line's first field lacks them (a receiver without a date, a fix before any
// RMC sentence); the altitude is in metres and absent when the line has none.
struct LogLine {
    std::optional<LogDate> date;
    std::optional<LogTime> time;
    double latitude = 0.0;
    double longitude = 0.0;
    std::optional<double> altitude;
};

// Reads one line of Log.txt (Windows-1257 bytes, the five TAB-separated texts of the fix panel,
// with or without its CR LF). The altitude may use "," or "." as its decimal mark. Nothing when
// the line is not readable: not five fields, a position that is missing or out of range, or a
// date, time or altitude text that is there but damaged.
std::optional<LogLine> readLogLine(std::string_view line);

}  // namespace kem::maps
