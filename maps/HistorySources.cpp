#include "maps/HistorySources.h"

#include <sys/stat.h>

#include "maps/ExpeditionMaps.h"
#include "maps/LogLineReader.h"

namespace kem::maps {

void AddLogText(SquareHistory& history, std::string_view logText, int& damaged) {
    while (!logText.empty()) {
        const std::size_t end = std::min(logText.find('\n'), logText.size());
        const std::string_view line = logText.substr(0, end);
        logText.remove_prefix(std::min(end + 1, logText.size()));
        if (line.empty() || line == "\r") {
            continue;
        }
        const std::optional<LogLine> read = readLogLine(line);
        if (!read) {
            ++damaged;
            continue;
        }
        const auto index =
            GridIndexOf({static_cast<float>(read->latitude), static_cast<float>(read->longitude)});
        if (!index) {
            continue;
        }
        UtcSeconds time = kUnknownTime;
        if (read->date && read->time) {
            time = UtcFromCivil(read->date->year, read->date->month, read->date->day,
                                read->time->hour, read->time->minute, read->time->second)
                       .value_or(kUnknownTime);
        }
        history.Add(*index, time, 1);
    }
}

void AddSavedMaps(SquareHistory& history, const std::string& folder) {
    for (const std::string& name : savedMapNames(folder)) {
        const auto index = GridIndex(std::string_view(name).substr(0, name.find('_')));
        struct stat status {};
        if (!index || ::stat((folder + name).c_str(), &status) != 0) {
            continue;
        }
        history.Add(*index, status.st_mtime, 0);
    }
}

}  // namespace kem::maps
