#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kem::gps {

// gpsd's registered port.
inline constexpr std::uint16_t kGpsdPort = 2947;

// Where the receiver is, as the Port setting names it: a serial device ("ttyUSB0", the name
// under /dev/), "gpsd" (gpsd on this machine), "gpsd://HOST[:PORT]" or "tcp://HOST:PORT" (a
// server that sends NMEA lines). A numeric IPv6 host goes in brackets: "tcp://[::1]:10110".
struct SourceAddress {
    enum class Kind { Serial, Gpsd, Tcp };
    Kind kind = Kind::Serial;
    std::string device;  // Serial only
    std::string host;    // network kinds only
    std::uint16_t port = 0;

    bool IsNetwork() const { return kind != Kind::Serial; }
};

// Parses a Port text. Any text without "://" but "gpsd" is a serial device. A network address
// that cannot be used gives nothing and sets error to a Lithuanian (UTF-8) explanation.
std::optional<SourceAddress> ParseSourceAddress(std::string_view text, std::string& error);

// How the status line and the error box name a network source: "gpsd (localhost)",
// "gpsd (host:2948)", "tcp://host:10110".
std::string NetworkLabel(const SourceAddress& address);

}  // namespace kem::gps
