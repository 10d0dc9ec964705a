// The port list of the settings dialog.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "app/PortChoices.h"

namespace kem {
namespace {

namespace fs = std::filesystem;

class TempFolder : public ::testing::Test {
protected:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "kemapp-XXXXXX").string();
        dir = mkdtemp(pattern.data());
    }
    ~TempFolder() override { fs::remove_all(dir); }
    void touch(const fs::path& name) { std::ofstream(dir / name) << "x"; }

    fs::path dir;
};

using PortChoicesTest = TempFolder;

TEST_F(PortChoicesTest, AdaptersFirstInNaturalOrderThenBuiltInPorts) {
    for (const char* name :
         {"ttyUSB10", "ttyACM0", "ttyUSB2", "rfcomm0", "ttyS3", "tty1", "ttyUSB"}) {
        touch(name);
    }
    const auto choices = serialPortChoices(dir.string());
    ASSERT_EQ(choices.size(), 4u + 16u);
    EXPECT_EQ(std::vector<std::string>(choices.begin(), choices.begin() + 5),
              (std::vector<std::string>{"ttyUSB2", "ttyUSB10", "ttyACM0", "rfcomm0", "ttyS0"}));
    EXPECT_EQ(choices.back(), "ttyS15");
}

}  // namespace
}  // namespace kem
