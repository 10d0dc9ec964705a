#include "tools/kemsim/NmeaSentence.h"

#include <cstdint>

namespace kem::kemsim {

namespace {

bool talkerSentence(std::string_view line) {
    for (const std::string_view name : {"$GPRMC,", "$GPGGA,", "$GPGSA,"})
        if (line.starts_with(name))
            return true;
    return false;
}

std::string withTalker(const std::string& line, const std::string& talker) {
    std::string out = line;
    out.replace(1, 2, talker);
    const auto star = line.find('*');
    if (star != std::string::npos &&
        line.compare(star + 1, 2, Checksum(std::string_view(line).substr(1, star - 1))) == 0)
        out.replace(star + 1, 2, Checksum(std::string_view(out).substr(1, star - 1)));
    return out;
}

}  // namespace

std::string Checksum(std::string_view body) {
    std::uint8_t sum = 0;
    for (const char c : body)
        sum ^= static_cast<std::uint8_t>(c);
    static constexpr char kHex[] = "0123456789ABCDEF";
    return {kHex[sum >> 4], kHex[sum & 0x0F]};
}

std::vector<std::string> SplitFields(std::string_view body) {
    std::vector<std::string> out(1);
    for (const char c : body)
        if (c == ',')
            out.emplace_back();
        else
            out.back() += c;
    return out;
}

std::string JoinFields(const std::vector<std::string>& fields) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i)
        out += (i == 0 ? "" : ",") + fields[i];
    return out;
}

std::string Frame(std::string_view body) {
    std::string line;
    line.reserve(body.size() + 6);
    line += '$';
    line += body;
    line += '*';
    line += Checksum(body);
    line += "\r\n";
    return line;
}

std::vector<std::string> WithTalkers(const std::vector<std::string>& lines,
                                     const std::vector<std::string>& talkers) {
    std::vector<std::string> out;
    for (const auto& line : lines) {
        if (!talkerSentence(line)) {
            out.push_back(line);
            continue;
        }
        for (const auto& talker : talkers)
            out.push_back(withTalker(line, talker));
    }
    return out;
}

}  // namespace kem::kemsim
