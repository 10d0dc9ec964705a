#include "fuzz/SettingsFuzzInput.h"

#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/IniFile.h"
#include "base/SettingsKeys.h"
#include "fuzz/ScratchFile.h"
#include "gps/SourceAddress.h"

namespace kem::fuzz {

void ReadAndRewriteSettings(const std::uint8_t* data, std::size_t size) {
    static const ScratchFile scratch("kem-fuzz-ini", settings::kFileName);
    scratch.Write(data, size);
    IniFile ini(scratch.Path());
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
