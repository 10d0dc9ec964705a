#include "tools/kemsim/ReplayLog.h"

#include <algorithm>
#include <cctype>

namespace kem::kemsim {

namespace {

std::string_view field(std::string_view line, std::size_t index) {
    for (; index > 0; --index) {
        const auto comma = line.find(',');
        if (comma == std::string_view::npos)
            return {};
        line.remove_prefix(comma + 1);
    }
    return line.substr(0, line.find_first_of(",*"));
}

}  // namespace

std::string_view TimeOfDay(std::string_view line) {
    // "$ttSSS," with any two-letter talker
    if (line.size() < 7 || line[0] != '$' || line[6] != ',')
        return {};
    const std::string_view type = line.substr(3, 3);
    std::size_t index = 0;
    if (type == "RMC" || type == "GGA" || type == "ZDA")
        index = 1;
    else if (type == "GLL")
        index = 5;
    else
        return {};
    const std::string_view time = field(line, index).substr(0, 6);
    const bool digits = time.size() == 6 && std::all_of(time.begin(), time.end(), [](char c) {
                            return std::isdigit(static_cast<unsigned char>(c)) != 0;
                        });
    return digits ? time : std::string_view{};
}

std::vector<Second> SplitIntoSeconds(std::istream& log) {
    std::vector<Second> seconds;
    std::string current;
    std::string line;
    while (std::getline(log, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
            line.pop_back();
        const std::string_view time = TimeOfDay(line);
        if (seconds.empty() || (!time.empty() && !current.empty() && time != current))
            seconds.emplace_back();
        if (!time.empty())
            current = time;
        seconds.back().push_back(line);
    }
    return seconds;
}

}  // namespace kem::kemsim
