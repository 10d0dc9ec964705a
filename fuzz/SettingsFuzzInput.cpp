#include "fuzz/SettingsFuzzInput.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "base/IniFile.h"
#include "base/SettingsKeys.h"
#include "gps/SourceAddress.h"

namespace kem::fuzz {
namespace {

namespace fs = std::filesystem;

// One scratch file per process, removed at exit.
class Scratch {
public:
    Scratch() {
        std::string pattern = (fs::temp_directory_path() / "kem-fuzz-ini-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot make a scratch directory");
        }
        m_root = pattern;
    }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
    }
    std::string File() const { return (m_root / settings::kFileName).string(); }

private:
    fs::path m_root;
};

}  // namespace

void ReadAndRewriteSettings(const std::uint8_t* data, std::size_t size) {
    static const Scratch scratch;
    {
        std::ofstream file(scratch.File(), std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    IniFile ini(scratch.File());
    using namespace settings;
    for (const char* key : {kYMain, kXMain, kPeriod, kRadius, kBaud, kYSet, kXSet, kXQth, kYQth}) {
        ini.ReadInteger(kSection, key, 0);
    }
    for (const char* key : {kAutoMap, kLog, kBoldQth}) {
        ini.ReadBool(kSection, key, false);
    }
    ini.ReadString(kSection, kFont, kFontNormal);
    std::string error;
    gps::ParseSourceAddress(ini.ReadString(kSection, kPort, kPortDefault), error);

    // A write keeps the file readable and the value as written.
    ini.WriteString(kSection, kPort, "gpsd://pi.local:2947");
    if (ini.ReadString(kSection, kPort, "") != "gpsd://pi.local:2947") {
        std::abort();
    }
}

}  // namespace kem::fuzz
