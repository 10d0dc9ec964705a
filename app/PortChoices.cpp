#include "app/PortChoices.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace kem {

std::vector<std::string> serialPortChoices(const std::string& devDir) {
    constexpr std::string_view kAdapterPrefixes[] = {"ttyUSB", "ttyACM", "rfcomm"};
    std::vector<std::string> present;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(devDir, error)) {
        present.push_back(entry.path().filename().string());
    }
    // ttyUSB10 after ttyUSB9: shorter names first.
    std::sort(present.begin(), present.end(), [](const std::string& a, const std::string& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    std::vector<std::string> choices;
    for (const auto prefix : kAdapterPrefixes) {
        for (const auto& name : present) {
            if (name.size() > prefix.size() && name.starts_with(prefix)) {
                choices.push_back(name);
            }
        }
    }
    for (int n = 0; n < 16; ++n) {
        choices.push_back("ttyS" + std::to_string(n));
    }
    return choices;
}

}  // namespace kem
