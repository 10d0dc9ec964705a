#include "maps/SquareVisits.h"

#include <utility>

#include "base/IoError.h"
#include "base/WholeFile.h"
#include "maps/HistorySources.h"

namespace kem::maps {
namespace {

// A track this long is thinned to every other point, so a receiver left on for weeks cannot
// fill the memory; the line keeps its shape.
constexpr std::size_t kMaxTrackPoints = std::size_t{1} << 20;
constexpr const char* kLogName = "Log.txt";
constexpr const char* kDamagedMark = "# sugadinta: ";

}  // namespace

SquareVisits::SquareVisits(std::string expeditionFolder) : m_folder(std::move(expeditionFolder)) {}

void SquareVisits::Open() {
    if (m_open) {
        return;
    }
    std::string text;
    switch (LoadFile(Path(), text)) {
        case Load::Missing:
            Build();
            return;
        case Load::Failed:
            throw IoError::FromErrno("Unable to read", Path());
        case Load::Ok:
            break;
    }
    m_open = true;
    std::vector<std::string> damaged;
    m_history = SquareHistory::Parse(text, damaged);
    for (std::size_t at = text.find(kDamagedMark); at != std::string::npos;
         at = text.find(kDamagedMark, at + 1)) {
        if (at == 0 || text[at - 1] == '\n') {
            m_damagedComments += text.substr(at, text.find('\n', at) - at) + '\n';
        }
    }
    if (damaged.empty()) {
        return;
    }
    m_problems.push_back(Path() + ": praleista sugadintų eilučių: " +
                         std::to_string(damaged.size()) + " (pirmoji: " + damaged.front() + ")");
    // Kept as comments for the user to mend, so they are reported only this once.
    for (const std::string& line : damaged) {
        m_damagedComments += kDamagedMark + line + '\n';
    }
    Write();
}

void SquareVisits::Build() {
    std::string log;
    const std::string logPath = m_folder + kLogName;
    if (LoadFile(logPath, log) == Load::Failed) {
        m_problems.push_back(logPath + ": nepavyko perskaityti");
    }
    int damaged = 0;
    AddLogText(m_history, log, damaged);
    if (damaged > 0) {
        m_problems.push_back(logPath +
                             ": praleista neperskaitomų eilučių: " + std::to_string(damaged));
    }
    AddSavedMaps(m_history, m_folder);
    m_open = true;
    Write();
}

void SquareVisits::Step(LatLong position, UtcSeconds now) {
    Open();
    const std::optional<int> index = GridIndexOf(position);
    const bool changed = index != m_current;
    m_current = index;
    if (!index) {
        return;
    }
    if (m_track.size() >= kMaxTrackPoints) {
        for (std::size_t i = 0; 2 * i < m_track.size(); ++i) {
            m_track[i] = m_track[2 * i];
        }
        m_track.resize((m_track.size() + 1) / 2);
    }
    m_track.push_back(position);
    m_history.Add(*index, now, 1);
    m_unsaved = true;
    if (changed) {
        Save();
    }
}

void SquareVisits::Save() {
    if (m_unsaved) {
        Write();
    }
}

void SquareVisits::Write() {
    const std::string text = m_history.Text() + m_damagedComments;
    // Cleared first: a failing folder is tried again at the next change of square, not at
    // every step. Not flushed to the disk: that may hold up the position step for long.
    m_unsaved = false;
    if (!ReplaceFile(Path(), text, std::nullopt, false)) {
        throw IoError::FromErrno("Unable to write to", Path());
    }
}

std::vector<std::string> SquareVisits::TakeProblems() {
    return std::exchange(m_problems, {});
}

}  // namespace kem::maps
