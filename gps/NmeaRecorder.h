#pragma once

#include <ctime>
#include <string>
#include <string_view>

#include "base/WholeFile.h"

namespace kem::gps {

// Keeps what the receiver sent, byte for byte, in a file of the expedition folder, so that it
// can be looked at or played back later. The file only ever ends after a line end: bytes wait
// until their line is complete, and a line that cannot be written (a full disk) is dropped whole
// while the recording goes on.
class NmeaRecorder {
public:
    explicit NmeaRecorder(FileCalls calls = {}) : m_calls(calls) {}
    ~NmeaRecorder();

    NmeaRecorder(const NmeaRecorder&) = delete;
    NmeaRecorder& operator=(const NmeaRecorder&) = delete;

    // "NMEA_YYYYMMDD_HHMMSS.nmea" for a start at utcStart.
    static std::string FileName(std::time_t utcStart);

    // Starts a new, empty recording in folder (ending in "/") named for utcStart; "_1", "_2", ...
    // before ".nmea" when that name is taken. Ends a recording still going first. Throws IoError
    // when the file cannot be made. Returns its path.
    std::string Start(const std::string& folder, std::time_t utcStart);

    bool Recording() const { return !m_path.empty(); }

    // Appends received bytes as they came; nothing when not recording. The complete lines among
    // what has waited so far are written at once, whole or not at all; on failure they are lost
    // and IoError names the file and the reason.
    void Record(std::string_view received);

    // Writes what still waits for its line end and ends the recording; nothing when not
    // recording. Throws IoError when that last write fails (the recording has ended anyway).
    void Stop();

private:
    void WriteLines(std::size_t length);

    FileCalls m_calls;
    std::string m_path;
    std::string m_waiting;  // received bytes after the last line end written
};

}  // namespace kem::gps
