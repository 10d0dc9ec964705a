#pragma once

#include <optional>
#include <string>
#include <vector>

#include "maps/Locator.h"
#include "maps/SquareHistory.h"

namespace kem::maps {

// The squares the user has been in, kept in the history file of the expedition folder, and the
// track since the program started. The first use builds the file from the measurement log and
// the saved expedition maps (neither is changed); afterwards the position step only adds to it.
// The file is written whole (beside it, then renamed over it) on each change of square and on
// Save.
class SquareVisits {
public:
    static constexpr const char* kFileName = "Kvadratai.txt";

    // expeditionFolder ends in "/".
    explicit SquareVisits(std::string expeditionFolder);

    // Reads the history file, or builds and writes it when there is none; does nothing when
    // already open. Damaged lines of the file are kept in it as comments and reported once
    // (TakeProblems). Throws IoError when the file cannot be read (the history stays closed) or
    // written (it is open all the same, as read or built).
    void Open();
    bool IsOpen() const { return m_open; }

    // One position step at position and time (opens the history first when needed). Writes the
    // file when the square changed; throws IoError when that fails.
    void Step(LatLong position, UtcSeconds now);
    // Writes the file when steps were added since it was last written; throws IoError.
    void Save();

    std::string Path() const { return m_folder + kFileName; }
    const SquareHistory& History() const { return m_history; }
    // The positions given to Step since the start, in order, those off the grid left out (a
    // garbled sentence's position, read as 0, would draw a line across the country).
    const std::vector<LatLong>& Track() const { return m_track; }
    // The square of the last step; nothing before the first step or outside the grid.
    std::optional<int> Current() const { return m_current; }

    // What was found broken while opening (Lithuanian sentences); emptied by the call, so each
    // is reported once.
    std::vector<std::string> TakeProblems();

private:
    void Build();
    // The history and the damaged lines kept as comments, whole.
    void Write();

    std::string m_folder;
    SquareHistory m_history;
    std::vector<LatLong> m_track;
    std::optional<int> m_current;
    std::vector<std::string> m_problems;
    std::string m_damagedComments;  // "# sugadinta: " lines, written after the history
    bool m_open = false;
    bool m_unsaved = false;
};

}  // namespace kem::maps
