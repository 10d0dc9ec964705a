#include "app/ProgramDir.h"

#include <QCoreApplication>
#include <cstdlib>

namespace kem {

std::string programDirectory() {
    std::string dir;
    if (const char* override = std::getenv("KEMGPS_PROGRAM_DIR"); override && *override) {
        dir = override;
    } else {
        dir = QCoreApplication::applicationDirPath().toStdString();
    }
    if (dir.empty() || dir.back() != '/') {
        dir.push_back('/');
    }
    return dir;
}

}  // namespace kem
