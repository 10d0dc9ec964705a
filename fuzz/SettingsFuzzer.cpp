// libFuzzer target: settings files through the reads and a rewrite.
#include "fuzz/SettingsFuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kem::fuzz::ReadAndRewriteSettings(data, size);
    return 0;
}
