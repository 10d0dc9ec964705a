#include "gps/NmeaRecorder.h"

#include <filesystem>

namespace kem::gps {
namespace {

// A receiver that never ends its lines must not fill the memory: beyond this, what waits is
// written as if it were a line.
constexpr std::size_t kLongestLine = 4096;

}  // namespace

NmeaRecorder::~NmeaRecorder() {
    try {
        Stop();
    } catch (...) {
        // The program is ending; there is nobody left to tell.
    }
}

std::string NmeaRecorder::FileName(std::time_t utcStart) {
    std::tm utc{};
    gmtime_r(&utcStart, &utc);
    char name[32];
    std::strftime(name, sizeof name, "NMEA_%Y%m%d_%H%M%S.nmea", &utc);
    return name;
}

std::string NmeaRecorder::Start(const std::string& folder, std::time_t utcStart) {
    Stop();
    const std::string name = FileName(utcStart);
    const std::string base =
        folder + name.substr(0, name.size() - std::string_view(".nmea").size());
    std::string path = folder + name;
    for (int n = 1; std::filesystem::exists(path); ++n) {
        path = base + "_" + std::to_string(n) + ".nmea";
    }
    CreateWhole(path, {}, m_calls);
    m_path = path;
    return m_path;
}

void NmeaRecorder::Record(std::string_view received) {
    if (!Recording()) {
        return;
    }
    m_waiting.append(received);
    const auto lastEnd = m_waiting.find_last_of("\r\n");
    if (lastEnd != std::string::npos) {
        WriteLines(lastEnd + 1);
    } else if (m_waiting.size() > kLongestLine) {
        WriteLines(m_waiting.size());
    }
}

void NmeaRecorder::Stop() {
    if (!Recording()) {
        return;
    }
    const std::string path = std::move(m_path);
    m_path.clear();
    const std::string rest = std::move(m_waiting);
    m_waiting.clear();
    if (!rest.empty()) {
        AppendWhole(path, rest, m_calls, Sync::Later);
    }
}

void NmeaRecorder::WriteLines(std::size_t length) {
    const std::string lines = m_waiting.substr(0, length);
    m_waiting.erase(0, length);
    AppendWhole(m_path, lines, m_calls, Sync::Later);
}

}  // namespace kem::gps
