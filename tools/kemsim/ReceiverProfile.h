#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kem::kemsim {

// Receivers as they are met in the field, each made from the built-in drive's sentences.
enum class Profile {
    Plain,       // GPS only: "$GP" RMC, GGA, GSA and GSV, 4800 baud
    Gnss,        // "$GN" RMC, GGA and GSA, GSV from GPS, GLONASS, Galileo and BeiDou, 9600 baud
    DualBand,    // Gnss with NMEA 4.11 signal ids: two GSV cycles (signals) per constellation
    TwoTalkers,  // every fix as "$GN" and again as "$GP", the "$GP" copy void while only
                 // GLONASS has the fix
    ColdStart,   // both talkers, with empty and then frozen time fields for the first seconds
    LfOnly,      // lines end in LF alone
    Binary,      // a binary protocol (u-blox UBX frames), no NMEA at all
    Silent,      // sends nothing
};

struct ProfileInfo {
    std::string_view name;
    Profile profile;
    std::uint32_t baud;
};

inline constexpr ProfileInfo kProfiles[] = {
    {"gps", Profile::Plain, 4800},           {"gnss", Profile::Gnss, 9600},
    {"dualband", Profile::DualBand, 38400},  {"twotalkers", Profile::TwoTalkers, 9600},
    {"coldstart", Profile::ColdStart, 9600}, {"lf", Profile::LfOnly, 4800},
    {"binary", Profile::Binary, 9600},       {"silent", Profile::Silent, 4800},
};

std::optional<ProfileInfo> FindProfile(std::string_view name);

// ColdStart: time fields are empty before this second and frozen at its time until kTimeRuns.
inline constexpr std::int64_t kTimeFrozen = 10;
inline constexpr std::int64_t kTimeRuns = 16;
// TwoTalkers: in these seconds of every minute only GLONASS has the fix.
inline constexpr std::int64_t kGlonassOnlyFrom = 12;
inline constexpr std::int64_t kGlonassOnlyTo = 30;

// What a receiver of the profile sends in a second, from the built-in GPS receiver's lines of
// that second (framed, with CR LF).
std::vector<std::string> ProfileSecond(Profile profile, std::int64_t second,
                                       const std::vector<std::string>& gpsLines);

}  // namespace kem::kemsim
