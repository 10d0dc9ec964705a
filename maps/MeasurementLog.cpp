#include "maps/MeasurementLog.h"

#include <filesystem>
#include <fstream>
#include <system_error>

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
    std::error_code error;
    if (!std::filesystem::is_regular_file(m_path, error)) {
        throw IoError("Unable to open " + m_path + ": No such file or directory");
    }
    std::ofstream out(m_path, std::ios::binary | std::ios::app);
    out << entry.dateTime << '\t' << entry.latitude << '\t' << entry.longitude << '\t'
        << entry.altitude << '\t' << entry.geoid << "\r\n";
    out.flush();
    if (!out) {
        throw IoError::FromErrno("Unable to write to", m_path);
    }
}

}  // namespace kem::maps
