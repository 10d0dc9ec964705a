#pragma once

#include <string>
#include <vector>

namespace kem {

// The ports the settings dialog offers: the serial adapters present in devDir (ttyUSB*, ttyACM*,
// rfcomm*, each group sorted), then the sixteen built-in ports ttyS0..ttyS15.
std::vector<std::string> serialPortChoices(const std::string& devDir = "/dev");

}  // namespace kem
