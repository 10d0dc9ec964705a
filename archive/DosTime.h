#pragma once

#include <cstdint>
#include <ctime>
#include <optional>

namespace kem::archive {

// A file time in the MS-DOS packed form of the archive headers, local time, 2-second steps:
// time = hour * 2048 + minute * 32 + second / 2, date = (year - 1980) * 512 + month * 32 + day.
struct DosDateTime {
    std::uint16_t time = 0;
    std::uint16_t date = 0;

    // Date in the high half, time in the low half.
    std::uint32_t Packed() const { return std::uint32_t{date} << 16 | time; }
    static DosDateTime FromPacked(std::uint32_t packed) {
        return {static_cast<std::uint16_t>(packed), static_cast<std::uint16_t>(packed >> 16)};
    }

    bool operator==(const DosDateTime&) const = default;
};

// Odd seconds round down. The form covers 1980-01-01 00:00:00 to 2107-12-31 23:59:58; times
// outside are clamped to the nearer end rather than wrapped into a wrong year.
DosDateTime ToDosDateTime(std::time_t fileTime);

// Empty when a field is out of range (month 0, day 31 of April, hour 24, ...), as found in a
// damaged archive; the caller then leaves the file's time alone.
std::optional<std::time_t> FromDosDateTime(DosDateTime dos);

}  // namespace kem::archive
