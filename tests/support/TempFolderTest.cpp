#include "tests/support/TempFolderTest.h"

#include <stdlib.h>

#include <fstream>
#include <stdexcept>

namespace kem::test {

TempFolderTest::TempFolderTest() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kemtest-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    dir = pattern;
}

TempFolderTest::~TempFolderTest() {
    std::error_code error;
    std::filesystem::remove_all(dir, error);
}

void TempFolderTest::touch(const std::filesystem::path& name) const {
    std::ofstream(dir / name) << "x";
}

}  // namespace kem::test
