#include "base/IniFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/IoError.h"

namespace kem {
namespace {

namespace fs = std::filesystem;

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kem-ini-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
        m_path = (m_dir / "KEMGPS.ini").string();
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(m_dir, ignored);
    }

    void Store(const std::string& content) const {
        std::ofstream(m_path, std::ios::binary) << content;
    }
    std::string Stored() const {
        std::ostringstream out;
        out << std::ifstream(m_path, std::ios::binary).rdbuf();
        return out.str();
    }
    // Expects a write to path to fail with the error text.
    static void ExpectWriteFails(const std::string& path) {
        try {
            IniFile(path).WriteBool("S", "Log", false);
            ADD_FAILURE() << "no error writing " << path;
        } catch (const IoError& error) {
            EXPECT_EQ(std::string(error.what()), "Unable to write to " + path);
        }
    }

    fs::path m_dir;
    std::string m_path;
};

TEST_F(IniFileTest, MissingFileGivesDefaults) {
    const IniFile ini(m_path);
    EXPECT_EQ(ini.ReadString("SETTINGS", "Port", "ttyUSB0"), "ttyUSB0");
    EXPECT_EQ(ini.ReadInteger("SETTINGS", "Period", 15), 15);
    EXPECT_TRUE(ini.ReadBool("SETTINGS", "Log", true));
    EXPECT_FALSE(fs::exists(m_path));
}

TEST_F(IniFileTest, NamesMatchWithoutCaseAndTheFirstKeyWins) {
    Store(
        "; comment\n[other]\nPort=wrong\n[settings]\n  port =  ttyS1  \nPORT=second\n"
        "Font=\nfont=late\n[SETTINGS]\nPeriod=7\n");
    const IniFile ini(m_path);
    EXPECT_EQ(ini.ReadString("SETTINGS", "Port", "x"), "ttyS1");
    EXPECT_EQ(ini.ReadString("Settings", "FONT", "Normal"), "");  // present but empty
    EXPECT_EQ(ini.ReadInteger("SETTINGS", "Period", 15), 7);      // a repeated section counts
    EXPECT_EQ(ini.ReadString("SETTINGS", "comment", "d"), "d");
    EXPECT_EQ(ini.ReadString("other", "Port", "x"), "wrong");
}

TEST_F(IniFileTest, IntegersAndBooleans) {
    Store(
        "[S]\nhex=0x1E\nHEX=0XfF\nwrap=0xFFFFFFFF\nneg=-12\nplus=+5\nzero=0x\nword=abc\n"
        "tail=12a\nhuge=2147483648\nmin=-2147483648\nbig=0x100000000\nsigned=+-3\n"
        "on=5\noff=0\nbool=yes\n");
    const IniFile ini(m_path);
    EXPECT_EQ(ini.ReadInteger("S", "hex", 15), 30);
    EXPECT_EQ(ini.ReadInteger("S", "wrap", 15), -1);
    EXPECT_EQ(ini.ReadInteger("S", "neg", 15), -12);
    EXPECT_EQ(ini.ReadInteger("S", "plus", 15), 5);
    EXPECT_EQ(ini.ReadInteger("S", "min", 15), -2147483647 - 1);
    for (const char* bad : {"zero", "word", "tail", "huge", "big", "signed", "absent"}) {
        EXPECT_EQ(ini.ReadInteger("S", bad, 15), 15) << bad;
    }
    EXPECT_TRUE(ini.ReadBool("S", "on", false));
    EXPECT_FALSE(ini.ReadBool("S", "off", true));
    EXPECT_TRUE(ini.ReadBool("S", "bool", true));
    EXPECT_FALSE(ini.ReadBool("S", "bool", false));
}

TEST_F(IniFileTest, LongValuesAreCut) {
    Store("[S]\nlong=" + std::string(3000, 'v') + "\n");
    EXPECT_EQ(IniFile(m_path).ReadString("S", "long", "").size(), 2047u);
}

TEST_F(IniFileTest, WritingCreatesTheFileAndTheSection) {
    IniFile ini(m_path);
    ini.WriteBool("SETTINGS", "Log", false);
    EXPECT_EQ(Stored(), "[SETTINGS]\nLog=0\n");
    ini.WriteInteger("SETTINGS", "YMain", -20);
    ini.WriteString("SETTINGS", "Port", "  ttyUSB1 ");
    ini.WriteString("SETTINGS", "Font", "Bold\n[S]\nLog=1");  // a value cannot add lines
    EXPECT_EQ(Stored(), "[SETTINGS]\nLog=0\nYMain=-20\nPort=  ttyUSB1 \nFont=Bold\n");
    EXPECT_EQ(ini.ReadString("SETTINGS", "Port", ""), "ttyUSB1");
    EXPECT_EQ(ini.ReadInteger("SETTINGS", "YMain", 50), -20);
}

TEST_F(IniFileTest, WritingKeepsEveryOtherLine) {
    Store("; settings\n[A]\nx=1\n\n[settings]\n# note\nLog=1\nFont=Bold\n\n[B]\ny=2");
    IniFile ini(m_path);
    ini.WriteBool("SETTINGS", "log", false);
    ini.WriteString("SETTINGS", "Period", "9");
    ini.WriteString("B", "z", "3");
    ini.WriteString("C", "w", "4");
    EXPECT_EQ(Stored(),
              "; settings\n[A]\nx=1\n\n[settings]\n# note\nlog=0\nFont=Bold\nPeriod=9\n\n"
              "[B]\ny=2\nz=3\n[C]\nw=4\n");
}

TEST_F(IniFileTest, CrLfFilesStayCrLf) {
    Store("[SETTINGS]\r\nLog=1\r\nFont=Bold\r\n");
    IniFile ini(m_path);
    EXPECT_EQ(ini.ReadString("SETTINGS", "Font", ""), "Bold");
    EXPECT_TRUE(ini.ReadBool("SETTINGS", "Log", false));
    ini.WriteBool("SETTINGS", "Log", false);
    ini.WriteInteger("SETTINGS", "Period", 30);
    ini.WriteInteger("OTHER", "X", 1);
    EXPECT_EQ(Stored(), "[SETTINGS]\r\nLog=0\r\nFont=Bold\r\nPeriod=30\r\n[OTHER]\r\nX=1\r\n");
}

// Every failed write raises the error and leaves the stored file as it was.
TEST_F(IniFileTest, FailedWritesRaiseTheError) {
    ExpectWriteFails((m_dir / "no-such-folder" / "KEMGPS.ini").string());

    fs::create_directory(m_path);  // a directory in the place of the file
    EXPECT_EQ(IniFile(m_path).ReadInteger("S", "Period", 15), 15);
    ExpectWriteFails(m_path);
    fs::remove(m_path);

    Store("[S]\nLog=1\n");
    fs::permissions(m_path, fs::perms::owner_read);
    ExpectWriteFails(m_path);
    EXPECT_EQ(Stored(), "[S]\nLog=1\n");

    if (geteuid() != 0) {  // folder permissions do not bind root
        fs::permissions(m_path, fs::perms::owner_read | fs::perms::owner_write);
        fs::permissions(m_dir, fs::perms::owner_read | fs::perms::owner_exec);
        ExpectWriteFails(m_path);
        EXPECT_EQ(Stored(), "[S]\nLog=1\n");
    }
}

TEST_F(IniFileTest, RewriteKeepsModeAndWritesThroughALink) {
    Store("[S]\nLog=1\n");
    fs::permissions(m_path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const fs::path link = m_dir / "link.ini";
    fs::create_symlink("KEMGPS.ini", link);

    IniFile(link.string()).WriteBool("S", "Log", false);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Stored(), "[S]\nLog=0\n");
    EXPECT_EQ(fs::status(m_path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // Only the settings file and the link remain: no temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 2);
}

}  // namespace
}  // namespace kem
