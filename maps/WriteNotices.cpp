#include "maps/WriteNotices.h"

#include <cerrno>
#include <cstring>

#include "base/IoError.h"

namespace kem::maps {

std::string writeFailureText(const IoError& error) {
    if (error.Path().empty()) {
        return error.what();
    }
    std::string reason;
    switch (error.Error()) {
        case ENOSPC:
        case EDQUOT:
            reason = "diskas pilnas";
            break;
        case EROFS:
            reason = "laikmena tik skaitymui";
            break;
        case ENOENT:
        case ENOTDIR:
            reason = "n\xEBra failo ar aplanko";
            break;
        case EACCES:
        case EPERM:
            reason = "n\xEBra leidimo ra\xF0yti";
            break;
        default:
            reason = std::strerror(error.Error());
    }
    return reason + " (" + error.Path() + ")";
}

bool WriteNotices::Failed(Kind kind, const std::string& message) {
    std::string& shown = m_messages[Index(kind)];
    if (!shown.empty()) {
        return false;
    }
    shown = message;
    return true;
}

bool WriteNotices::Succeeded(Kind kind) {
    std::string& shown = m_messages[Index(kind)];
    const bool wasFailing = !shown.empty();
    shown.clear();
    return wasFailing;
}

}  // namespace kem::maps
