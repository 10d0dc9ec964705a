#pragma once

#include <string>

namespace kem::gps {

// The UUCP lock file of a serial device, as minicom, cu and ModemManager's probes take it:
// LCK.. and the device's base name (LCK..ttyUSB0) in /run/lock, or in /var/lock where /run/lock
// is missing, holding the owner's process id as ten ASCII characters and a newline. A lock whose
// process is gone is stale and removed. Programs that take only TIOCEXCL or flock are not seen
// here; the driver checks those itself.
class UucpLock {
public:
    enum class Result {
        Taken,
        Busy,         // a living process holds it
        Unavailable,  // no lock directory this user may write: go on without one
    };

    explicit UucpLock(std::string directory = DefaultDirectory());
    ~UucpLock() { Release(); }
    UucpLock(const UucpLock&) = delete;
    UucpLock& operator=(const UucpLock&) = delete;

    // device: a path such as /dev/ttyUSB0, or a link to one (the lock names the device itself).
    Result Take(const std::string& device);
    // Removes the lock file if this object took it.
    void Release();

    static std::string DefaultDirectory();
    std::string PathFor(const std::string& device) const;

private:
    std::string m_directory;
    std::string m_held;  // the lock file taken, empty when none
};

}  // namespace kem::gps
