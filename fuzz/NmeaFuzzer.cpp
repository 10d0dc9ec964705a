// libFuzzer target: received bytes in arbitrary chunks through the line assembly and decoder.
#include "fuzz/NmeaFuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kem::gps::fuzz::DecodeInChunks(data, size);
    return 0;
}
