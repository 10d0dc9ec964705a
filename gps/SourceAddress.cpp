#include "gps/SourceAddress.h"

#include <charconv>

namespace kem::gps {
namespace {

constexpr std::string_view kGpsdScheme = "gpsd://";
constexpr std::string_view kTcpScheme = "tcp://";

std::optional<std::uint16_t> parsePort(std::string_view text) {
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value == 0 ||
        value > 65535) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

bool validHost(std::string_view host) {
    if (host.empty()) {
        return false;
    }
    for (const char c : host) {
        if (static_cast<unsigned char>(c) <= ' ' || c == '/' || c == '@' || c == '[' || c == ']') {
            return false;
        }
    }
    return true;
}

// "HOST", "HOST:PORT", "[V6]" or "[V6]:PORT" into host and port (0 when none was given).
bool splitHostPort(std::string_view text, std::string& host, std::uint16_t& port) {
    std::string_view portText;
    if (text.starts_with('[')) {
        const auto close = text.find(']');
        if (close == std::string_view::npos) {
            return false;
        }
        host = std::string(text.substr(1, close - 1));
        const auto rest = text.substr(close + 1);
        if (!rest.empty() && !rest.starts_with(':')) {
            return false;
        }
        portText = rest.empty() ? rest : rest.substr(1);
        if (rest.size() == 1) {
            return false;  // a colon without a port
        }
    } else {
        const auto colon = text.rfind(':');
        host = std::string(text.substr(0, colon));
        if (colon != std::string_view::npos) {
            portText = text.substr(colon + 1);
            if (portText.empty()) {
                return false;
            }
        }
    }
    if (!validHost(host)) {
        return false;
    }
    port = 0;
    if (!portText.empty()) {
        const auto parsed = parsePort(portText);
        if (!parsed) {
            return false;
        }
        port = *parsed;
    }
    return true;
}

}  // namespace

std::optional<SourceAddress> ParseSourceAddress(std::string_view text, std::string& error) {
    SourceAddress address;
    if (text == "gpsd") {
        address.kind = SourceAddress::Kind::Gpsd;
        address.host = "localhost";
        address.port = kGpsdPort;
        return address;
    }
    if (text.find("://") == std::string_view::npos) {
        address.device = std::string(text);
        return address;
    }
    const bool gpsd = text.starts_with(kGpsdScheme);
    if (!gpsd && !text.starts_with(kTcpScheme)) {
        error = "Nežinomas adreso tipas „" + std::string(text) +
                "“: galima gpsd://KOMPIUTERIS[:PRIEVADAS] arba tcp://KOMPIUTERIS:PRIEVADAS.";
        return std::nullopt;
    }
    address.kind = gpsd ? SourceAddress::Kind::Gpsd : SourceAddress::Kind::Tcp;
    auto rest = text.substr(gpsd ? kGpsdScheme.size() : kTcpScheme.size());
    if (rest.ends_with('/')) {
        rest.remove_suffix(1);
    }
    if (!splitHostPort(rest, address.host, address.port) || (!gpsd && address.port == 0)) {
        error = "Netinkamas adresas „" + std::string(text) +
                "“: " + (gpsd ? "gpsd://KOMPIUTERIS[:PRIEVADAS]" : "tcp://KOMPIUTERIS:PRIEVADAS") +
                ", prievadas 1–65535.";
        return std::nullopt;
    }
    if (address.port == 0) {
        address.port = kGpsdPort;
    }
    return address;
}

std::string NetworkLabel(const SourceAddress& address) {
    const bool v6 = address.host.find(':') != std::string::npos;
    const std::string host = v6 ? "[" + address.host + "]" : address.host;
    if (address.kind == SourceAddress::Kind::Gpsd) {
        return "gpsd (" +
               (address.port == kGpsdPort ? host : host + ":" + std::to_string(address.port)) + ")";
    }
    return "tcp://" + host + ":" + std::to_string(address.port);
}

}  // namespace kem::gps
