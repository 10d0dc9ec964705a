// Where the programs keep their files, and the per-user copy of an installed program folder.
#include "base/ProgramFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "base/IoError.h"
#include "tests/support/TempFolderTest.h"

namespace kem {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

TEST(ProgramFolder, ChoosesTheOverrideThePortableFolderOrTheUsersCopy) {
    // A folder that cannot hold a package mark on this machine (a real /opt/kemgps may).
    struct Row {
        ProgramFolderEnvironment environment;
        bool writable;
        ProgramFolder expected;
    };
    const Row rows[] = {
        {{"/tmp/run", "/x/data", "/home/u"}, false, {"/tmp/run/", ""}},
        {{"", "/x/data", "/home/u"}, true, {"/no/such/kemgps/", ""}},
        {{"", "/x/data/", "/home/u"}, false, {"/x/data/kemgps/", "/no/such/kemgps/"}},
        // A relative XDG_DATA_HOME is invalid and ignored.
        {{"", "data", "/home/u/"}, false, {"/home/u/.local/share/kemgps/", "/no/such/kemgps/"}},
        {{"", "", "/home/u"}, false, {"/home/u/.local/share/kemgps/", "/no/such/kemgps/"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expected.dir);
        std::string asked;
        const ProgramFolder folder =
            ChooseProgramFolder("/no/such/kemgps", row.environment, [&](const std::string& dir) {
                asked = dir;
                return row.writable;
            });
        EXPECT_EQ(folder.dir, row.expected.dir);
        EXPECT_EQ(folder.installedDir, row.expected.installedDir);
        EXPECT_EQ(asked, row.environment.programDir.empty() ? "/no/such/kemgps/" : "");
    }
    EXPECT_THROW(ChooseProgramFolder("/no/such/kemgps", {"", "data", ""},
                                     [](const std::string&) { return false; }),
                 IoError);
}

class SeedTest : public test::TempFolderTest {
protected:
    SeedTest() : folder{(dir / "home/.local/share/kemgps/").string(), (dir / "opt/").string()} {
        fs::create_directories(dir / "opt/SKVERAI/sub");
        fs::create_directories(dir / "opt/EKSPEDICIJOS");
        install("KEMGPS", "program");
        install("KEMWWL.dat", "A00 KO24AA\r\n");
        install("SKVERAI/A00.z", "archive A00");
        install("SKVERAI/B01.z", "archive B01");
    }

    void install(const std::string& name, const std::string& content) const {
        write(dir / "opt" / name, content);
    }
    void write(const fs::path& path, const std::string& content) const {
        std::ofstream(path, std::ios::binary) << content;
    }
    std::string user(const std::string& name) const {
        std::ifstream file(folder.dir + name, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), {}};
    }
    std::set<std::string> listed(const std::string& sub) const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder.dir + sub)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    ProgramFolder folder;
};

TEST_F(SeedTest, FirstStartCopiesTheDataIntoAPrivateFolder) {
    SeedProgramFolder(folder);

    EXPECT_EQ(user("KEMWWL.dat"), "A00 KO24AA\r\n");
    EXPECT_EQ(user("SKVERAI/A00.z"), "archive A00");
    EXPECT_EQ(listed("SKVERAI"), (std::set<std::string>{"A00.z", "B01.z"}));
    EXPECT_EQ(listed(""),
              (std::set<std::string>{".seeded", "EKSPEDICIJOS", "KEMWWL.dat", "SKVERAI"}));
    EXPECT_TRUE(listed("EKSPEDICIJOS").empty());
    EXPECT_EQ(fs::last_write_time(folder.dir + "SKVERAI/B01.z"),
              fs::last_write_time(dir / "opt/SKVERAI/B01.z"));
    struct stat info {};
    ASSERT_EQ(::stat(folder.dir.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    // A portable folder or an override is used as it is.
    SeedProgramFolder({(dir / "portable/").string(), ""});
    EXPECT_FALSE(fs::exists(dir / "portable"));
}

TEST_F(SeedTest, APackagesFolderIsCopiedEvenForAUserWhoMayWriteIt) {
    const auto writable = [](const std::string&) { return true; };
    const std::string opt = (dir / "opt").string();
    EXPECT_EQ(ChooseProgramFolder(opt, {"", "", "/root"}, writable).installedDir, "");
    install("KEMGPS.package", "");
    const ProgramFolder chosen = ChooseProgramFolder(opt, {"", "", "/root"}, writable);
    EXPECT_EQ(chosen.dir, "/root/.local/share/kemgps/");
    EXPECT_EQ(chosen.installedDir, opt + "/");
}

TEST_F(SeedTest, ANewerInstallationReplacesOnlyCopiesTheUserHasNotChanged) {
    SeedProgramFolder(folder);
    write(folder.dir + "SKVERAI/B01.z", "B01 packed anew by the user");
    write(folder.dir + "SKVERAI/C99.z", "the user's own sheet");
    fs::remove(folder.dir + "SKVERAI/A00.z");

    install("KEMWWL.dat", "A00 KO24AA KO24BA\r\n");
    install("SKVERAI/B01.z", "archive B01, second edition");
    install("SKVERAI/D02.z", "archive D02");
    SeedProgramFolder(folder);

    EXPECT_EQ(user("KEMWWL.dat"), "A00 KO24AA KO24BA\r\n");
    EXPECT_EQ(user("SKVERAI/A00.z"), "archive A00");
    EXPECT_EQ(user("SKVERAI/B01.z"), "B01 packed anew by the user");
    EXPECT_EQ(user("SKVERAI/C99.z"), "the user's own sheet");
    EXPECT_EQ(user("SKVERAI/D02.z"), "archive D02");

    // A changed copy stays the user's for good, even when it happens to match again.
    write(folder.dir + "SKVERAI/B01.z", "archive B01, second edition");
    install("SKVERAI/B01.z", "archive B01, third edition");
    SeedProgramFolder(folder);
    EXPECT_EQ(user("SKVERAI/B01.z"), "archive B01, second edition");
}

TEST_F(SeedTest, AFolderThatCannotBeMadeStopsAtOnce) {
    fs::create_directories(dir / "home/.local");
    write(dir / "home/.local/share", "a file where the folder belongs");
    try {
        SeedProgramFolder(folder);
        FAIL() << "no error";
    } catch (const IoError& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to create folder " +
                                                 (dir / "home/.local/share/kemgps").string() +
                                                 ": Not a directory");
    }

    ProgramFolder blocked{(dir / "blocked/").string(), folder.installedDir};
    fs::create_directories(dir / "blocked");
    write(dir / "blocked/SKVERAI", "a file where the map folder belongs");
    EXPECT_THROW(SeedProgramFolder(blocked), IoError);
}

// A full disk stops one copy: the others are made, no half file is left, and the next start
// copies what is still missing.
TEST_F(SeedTest, AFailedCopyLeavesNoHalfFileAndIsMadeUpForLater) {
    install("SKVERAI/C02.z", std::string(64 * 1024, 'c'));
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16 * 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    try {
        SeedProgramFolder(folder);
        ADD_FAILURE() << "no error";
    } catch (const IoError& error) {
        EXPECT_THAT(error.what(), HasSubstr("Unable to copy " + folder.installedDir +
                                            "SKVERAI/C02.z to " + folder.dir + "SKVERAI/C02.z: "));
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(listed("SKVERAI"), (std::set<std::string>{"A00.z", "B01.z"}));
    EXPECT_EQ(user("KEMWWL.dat"), "A00 KO24AA\r\n");
    SeedProgramFolder(folder);
    EXPECT_EQ(user("SKVERAI/C02.z"), std::string(64 * 1024, 'c'));
}

}  // namespace
}  // namespace kem
