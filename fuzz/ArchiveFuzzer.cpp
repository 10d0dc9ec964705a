// libFuzzer target: whole archives through TUnZip::Extract.
#include "fuzz/ArchiveFuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kem::archive::fuzz::ExtractWholeArchive(data, size);
    return 0;
}
