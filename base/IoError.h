#pragma once

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace kem {

// The program's own input/output failure: the message names the file and the reason. The
// decoder discards it silently; user-command handlers let it reach the standard error box.
class IoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;

    // "<what> <path>: <strerror(err)>", e.g. "Unable to open /x/Log.txt: No such file or
    // directory".
    static IoError FromErrno(const std::string& what, const std::string& path, int err = errno) {
        return IoError(what + " " + path + ": " + std::strerror(err));
    }
};

}  // namespace kem
