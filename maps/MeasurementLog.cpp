#include "maps/MeasurementLog.h"

#include <filesystem>
#include <fstream>

#include "base/IoError.h"

namespace kem::maps {

void MeasurementLog::CreateIfMissing() const {
    if (std::filesystem::exists(m_path)) {
        return;
    }
    std::ofstream log(m_path, std::ios::binary);
    if (!log) {
        throw IoError::FromErrno("Unable to create", m_path);
    }
}

void MeasurementLog::Append(const LogEntry& entry) const {
    const std::string line = entry.dateTime + '\t' + entry.latitude + '\t' + entry.longitude +
                             '\t' + entry.altitude + '\t' + entry.geoid + "\r\n";
    AppendWhole(m_path, line, m_calls);
}

}  // namespace kem::maps
