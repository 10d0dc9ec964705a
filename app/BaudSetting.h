#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kem {

// The rates the settings dialog offers, slowest first, then "Auto".
std::vector<std::string> baudChoices();

// A Baud setting as the dialog shows it: "Auto" for 0, else the rate in decimal.
std::string baudText(std::int32_t baud);

// A Baud value from the settings file or the dialog's box: "Auto" (any case) or 0 gives 0
// (hunt), a positive integer gives that rate, anything else the default 4800.
std::int32_t baudFromText(std::string_view text);

}  // namespace kem
