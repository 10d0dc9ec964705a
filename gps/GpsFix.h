#pragma once

#include <cstdint>
#include <string>

namespace kem::gps {

// The latest decoded receiver state, kept as display texts. Texts are Windows-1257 byte strings
// (degree sign = byte 0xB0). Nothing clears them: each is overwritten only by the sentence that
// sets it.
struct GpsFix {
    std::string DateTimeText;  // RMC: "1994.03.23  12:35:19 UTC"
    std::string SpeedText;     // RMC: km/h, one decimal, locale separator: "41,5"
    std::string TimeText;      // GGA: "12:35:19"
    std::string LatText;       // GGA: 48°07' 01" N
    std::string LongText;      // GGA: 11°31' 00" E (one leading "0" removed)
    std::string AltitudeText;  // GGA: "545,4 m"
    std::string GeoidText;     // GGA: "46,9 m"
    std::string SatsText;      // GGA: satellites used, one leading "0" removed
    std::string ModeText;      // GSA: "2D", "3D" or empty
    bool NoFix = true;         // GSA fix type 1; the mode panel is red while set (and at start)
    std::string LatRaw;        // GGA latitude field with its "." replaced by the locale separator
    std::string LongRaw;       // GGA longitude field, likewise
};

// One bit per member of GpsFix, so the window can refresh exactly the panels that changed.
enum class FixField : std::uint16_t {
    DateTime = 1u << 0,
    Speed = 1u << 1,
    Time = 1u << 2,
    Lat = 1u << 3,
    Long = 1u << 4,
    Altitude = 1u << 5,
    Geoid = 1u << 6,
    Sats = 1u << 7,
    Mode = 1u << 8,
    NoFix = 1u << 9,
    LatRaw = 1u << 10,
    LongRaw = 1u << 11,
};

class FixFieldSet {
public:
    void Add(FixField f) { m_bits |= static_cast<std::uint16_t>(f); }
    bool Contains(FixField f) const { return (m_bits & static_cast<std::uint16_t>(f)) != 0; }
    bool Empty() const { return m_bits == 0; }
    void Clear() { m_bits = 0; }
    bool operator==(const FixFieldSet&) const = default;

private:
    std::uint16_t m_bits = 0;
};

}  // namespace kem::gps
