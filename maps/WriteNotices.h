#pragma once

#include <array>
#include <string>

namespace kem {
class IoError;
}

namespace kem::maps {

// A failed write as the notice line words it (Windows-1257 bytes): the common causes in
// Lithuanian, then the file's name as it is stored.
std::string writeFailureText(const IoError& error);

// The failures of the automatic writes while receiving (saving the sheet left behind, the log
// line, the recording of what the receiver sent, the history of
// visited squares). They do not stop the step; each kind is shown
// once, from its first failure until a write of that kind succeeds again.
class WriteNotices {
public:
    enum class Kind { SaveMap, Log, NmeaRecording, History };

    // A write of kind failed with message (not empty). True when this is news (kind was not
    // failing yet).
    bool Failed(Kind kind, const std::string& message);
    // A write of kind succeeded, or the feature was turned off. True when this ends a failure
    // shown so far.
    bool Succeeded(Kind kind);
    // The message of kind's first failure since its last success; empty when it is not failing.
    const std::string& Message(Kind kind) const { return m_messages[Index(kind)]; }

private:
    static std::size_t Index(Kind kind) { return static_cast<std::size_t>(kind); }

    std::array<std::string, 4> m_messages;
};

}  // namespace kem::maps
