#pragma once

#include <string>
#include <string_view>

namespace kem::gps {

// Why a port could not be opened, as far as the user can act on it.
enum class PortError {
    None,
    Missing,    // no such device (unplugged adapter, wrong name, a port without hardware)
    Busy,       // another program holds it
    Denied,     // no permission (on Linux: not in the device's group, usually dialout)
    NotSerial,  // opens, but is no terminal device
    Refused,    // refuses the line settings (e.g. a rate it cannot do)
    Other,
};

// The reason behind errno of a failed open, lock or line setting.
PortError PortErrorFromErrno(int error);

// One line for the user, in Lithuanian (UTF-8), naming the reason for the device path (and, for
// Denied, the device's group); empty for None and Other.
std::string PortErrorText(PortError error, std::string_view device);

}  // namespace kem::gps
