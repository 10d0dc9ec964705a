#include "fuzz/ArchiveFuzzInput.h"

#include <cstdlib>
#include <filesystem>
#include <string>

#include "archive/TUnZip.h"
#include "fuzz/ScratchFile.h"

namespace kem::archive::fuzz {

void ExtractWholeArchive(const std::uint8_t* data, std::size_t size) {
    static const kem::fuzz::ScratchFile scratch("kem-fuzz", "input.z");
    scratch.Write(data, size);
    const std::string output = (scratch.Folder() / "out").string();
    TUnZip unzip;
    unzip.SetArcName(scratch.Path());
    unzip.SetExtrPath(output);
    std::size_t reports = 0;
    unzip.OnError = [&](ZipComponent&, const std::string&) { ++reports; };
    unzip.OnProgress = [&](ZipComponent&, std::int16_t progress) {
        if (progress < 0 || progress > 100) {
            std::abort();  // the percentage left its range
        }
    };
    unzip.Extract();

    std::error_code ignored;
    std::filesystem::remove_all(output, ignored);
}

}  // namespace kem::archive::fuzz
