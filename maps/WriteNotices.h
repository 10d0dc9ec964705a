#pragma once

#include <array>
#include <string>

namespace kem::maps {

// The failures of the position step's automatic writes (saving the sheet left behind, the log
// line, the history of visited squares). They do not stop the step; each kind is shown once, from
// its first failure until a write of that kind succeeds again.
class WriteNotices {
public:
    enum class Kind { SaveMap, Log, History };

    // A write of kind failed with message (not empty). True when this is news (kind was not
    // failing yet).
    bool Failed(Kind kind, const std::string& message);
    // A write of kind succeeded. True when this ends a failure shown so far.
    bool Succeeded(Kind kind);
    // The message of kind's first failure since its last success; empty when it is not failing.
    const std::string& Message(Kind kind) const { return m_messages[Index(kind)]; }

private:
    static std::size_t Index(Kind kind) { return static_cast<std::size_t>(kind); }

    std::array<std::string, 3> m_messages;
};

}  // namespace kem::maps
