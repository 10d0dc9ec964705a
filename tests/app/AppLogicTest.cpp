// The port list of the settings dialog; the square export of the command line.
#include <gtest/gtest.h>
#include <sys/wait.h>
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

using SquareExportTest = test::TempFolderTest;

// The real program, without a display: the export must not need one. Returns the exit status;
// err gets the standard error.
int exportSquares(const fs::path& folder, const std::string& out, std::string& err) {
    const fs::path errFile = folder / "stderr.txt";
    const std::string command = "env -u DISPLAY -u QT_QPA_PLATFORM KEMGPS_PROGRAM_DIR='" +
                                folder.string() +
                                "' '" KEM_PROGRAM_DIR "/KEMGPS' --export-squares '" + out +
                                "' 2>'" + errFile.string() + "'";
    const int status = std::system(command.c_str());
    std::ifstream in(errFile);
    err.assign(std::istreambuf_iterator<char>(in), {});
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(SquareExportTest, WritesTheHistoryBuildingItFirstOrFailsWithAMessage) {
    fs::create_directory(dir / "EKSPEDICIJOS");
    std::ofstream(dir / "KEMWWL.dat", std::ios::binary)
        << "K26 KO24OT KO24PT KO24OS KO24PS KO24OR KO24PR KO24OQ KO24PQ \r\n";
    std::ofstream(dir / "EKSPEDICIJOS" / "Log.txt", std::ios::binary)
        << "2026.12.08  10:00:01 UTC\t54\xB0"
           "41' 07\" N\t25\xB0"
           "19' 33\" E\t1,0 m\t2,0 m\r\n";
    std::string err;
    ASSERT_EQ(exportSquares(dir, (dir / "out.csv").string(), err), 0) << err;
    std::ifstream csv(dir / "out.csv");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(csv), {}),
              "kvadratas,lokatoriai,pirmas_apsilankymas,paskutinis_apsilankymas,zingsniai\n"
              "K26,KO24OT KO24PT KO24OS KO24PS KO24OR KO24PR KO24OQ KO24PQ,2026-12-08,2026-12-08,"
              "1\n");
    EXPECT_TRUE(fs::exists(dir / "EKSPEDICIJOS" / "Kvadratai.txt"));

    EXPECT_EQ(exportSquares(dir, (dir / "missing" / "out.csv").string(), err), 1);
    EXPECT_NE(err.find("missing/out.csv"), std::string::npos) << err;
    fs::remove(dir / "KEMWWL.dat");
    EXPECT_EQ(exportSquares(dir, (dir / "out2.csv").string(), err), 1);
    EXPECT_NE(err.find("KEMWWL.dat"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(dir / "out2.csv"));
}

}  // namespace
}  // namespace kem
