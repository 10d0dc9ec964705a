#include "app/BaudSetting.h"

#include "base/SettingsKeys.h"
#include "base/TextRules.h"

namespace kem {

namespace {

constexpr std::string_view kAuto = "Auto";

}  // namespace

std::vector<std::string> baudChoices() {
    return {"4800", "9600", "19200", "38400", "57600", "115200", std::string(kAuto)};
}

std::string baudText(std::int32_t baud) {
    return baud == settings::kBaudAuto ? std::string(kAuto) : std::to_string(baud);
}

std::int32_t baudFromText(std::string_view text) {
    if (EqualsNoCase(Trim(text), kAuto)) {
        return settings::kBaudAuto;
    }
    const std::int32_t baud = TextToIntDef(text, -1);
    return baud >= 0 ? baud : settings::kBaudDefault;
}

}  // namespace kem
