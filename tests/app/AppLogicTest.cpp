// The port list of the settings dialog.
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>

#include "app/PortChoices.h"
#include "tests/support/TempFolderTest.h"

namespace kem {
namespace {

namespace fs = std::filesystem;

using PortChoicesTest = test::TempFolderTest;

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
