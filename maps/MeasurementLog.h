#pragma once

#include <string>

#include "base/WholeFile.h"

namespace kem::maps {

// One measurement: the receiver's display texts (Windows-1257 bytes) as the fix panel shows
// them.
struct LogEntry {
    std::string dateTime;
    std::string latitude;
    std::string longitude;
    std::string altitude;
    std::string geoid;
};

// The measurement log Log.txt of the expedition folder: one line per position step while
// logging is ticked.
class MeasurementLog {
public:
    explicit MeasurementLog(std::string path, FileCalls calls = {})
        : m_path(std::move(path)), m_calls(calls) {}

    const std::string& Path() const { return m_path; }

    // Creates an empty log when there is none (at start-up); throws IoError when it cannot.
    void CreateIfMissing() const;

    // Appends the entry's five texts joined by TAB, ended by CR LF, as a whole line or not at
    // all. Throws IoError when the file is missing (it is created only at start-up) or cannot
    // be written.
    void Append(const LogEntry& entry) const;

private:
    std::string m_path;
    FileCalls m_calls;
};

}  // namespace kem::maps
