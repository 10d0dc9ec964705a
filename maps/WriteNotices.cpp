#include "maps/WriteNotices.h"

namespace kem::maps {

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
