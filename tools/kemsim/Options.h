#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/kemsim/ReceiverProfile.h"

namespace kem::kemsim {

struct Options {
    std::uint32_t Baud() const { return baud.value_or(profile.baud); }

    bool help = false;
    std::string linkPath;                // --link: symlink to the pseudo-terminal
    double speed = 1;                    // --speed: seconds of data per real second; 0 = no pacing
    std::string replayPath;              // --replay: recorded log instead of the built-in drive
    bool split = false;                  // --split: random chunk sizes down to 1 byte
    bool noise = false;                  // --noise: garbage bytes and broken lines now and then
    std::optional<double> hangupAfter;   // --hangup-after: seconds until the line goes dead
    std::optional<std::int64_t> count;   // --count: seconds of data to send
    std::optional<std::int64_t> start;   // --start: UTC time of the drive's first second
    bool toStdout = false;               // --stdout: no pseudo-terminal
    std::optional<std::uint32_t> seed;   // --seed: repeatable --split and --noise
    ProfileInfo profile = kProfiles[0];  // --profile: the kind of receiver
    std::optional<std::uint32_t> baud;   // --baud: the rate it talks at, if not its profile's
    std::vector<std::string> talkers = {"GP"};  // --talker: who sends RMC, GGA and GSA, in order
    bool waitForReader = false;                 // --wait: silent until a program opens the port
    std::string teePath;                        // --tee: a copy of every byte that reached the port
    std::optional<std::uint32_t> tcpPort;       // --tcp: serve over TCP instead (0: any port)
};

// The rates --baud accepts: those a serial port sets with a standard speed code.
inline constexpr std::uint32_t kBaudRates[] = {1200,  2400,  4800,   9600,  19200,
                                               38400, 57600, 115200, 230400};

// Parses the arguments after the program name. On a bad option, returns nothing and sets
// error to a one-line explanation.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error);

// The --help text.
std::string UsageText();

}  // namespace kem::kemsim
