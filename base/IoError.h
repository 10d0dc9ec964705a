#pragma once

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>

namespace kem {

// The program's own input/output failure: the message names the file and the reason. The
// decoder discards it silently; user-command handlers let it reach the standard error box.
class IoError : public std::runtime_error {
public:
    // The file and the errno are kept when known, so that a notice can word them its own way.
    explicit IoError(const std::string& message, std::string path = {}, int error = 0)
        : std::runtime_error(message), m_path(std::move(path)), m_error(error) {}

    // "<what> <path>: <strerror(err)>", e.g. "Unable to open /x/Log.txt: No such file or
    // directory".
    static IoError FromErrno(const std::string& what, const std::string& path, int err = errno) {
        return IoError(what + " " + path + ": " + std::strerror(err), path, err);
    }

    const std::string& Path() const { return m_path; }
    int Error() const { return m_error; }

private:
    std::string m_path;
    int m_error = 0;
};

}  // namespace kem
