#include "fuzz/ArchiveFuzzInput.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "archive/TUnZip.h"

namespace kem::archive::fuzz {
namespace {

namespace fs = std::filesystem;

// One scratch directory per process, removed at exit.
class Scratch {
public:
    Scratch() {
        std::string pattern = (fs::temp_directory_path() / "kem-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot make a scratch directory");
        }
        m_root = pattern;
    }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
    }

    std::string Archive() const { return (m_root / "input.z").string(); }
    std::string Output() const { return (m_root / "out").string(); }

private:
    fs::path m_root;
};

}  // namespace

void ExtractWholeArchive(const std::uint8_t* data, std::size_t size) {
    static const Scratch scratch;
    {
        std::ofstream file(scratch.Archive(), std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    TUnZip unzip;
    unzip.SetArcName(scratch.Archive());
    unzip.SetExtrPath(scratch.Output());
    std::size_t reports = 0;
    unzip.OnError = [&](ZipComponent&, const std::string&) { ++reports; };
    unzip.OnProgress = [&](ZipComponent&, std::int16_t progress) {
        if (progress < 0 || progress > 100) {
            std::abort();  // the percentage left its range
        }
    };
    unzip.Extract();

    std::error_code ignored;
    fs::remove_all(scratch.Output(), ignored);
}

}  // namespace kem::archive::fuzz
