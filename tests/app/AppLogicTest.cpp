// The window-free pieces of KEMGPS: box text rules, the code page, the error box text, the map
// cache clean-up and the port list.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <filesystem>
#include <fstream>

#include "app/Cp1257.h"
#include "app/ErrorBox.h"
#include "app/PortChoices.h"
#include "app/SettingsText.h"
#include "app/SheetCache.h"

namespace kem {
namespace {

namespace fs = std::filesystem;

TEST(SettingsText, BoxTextsAsIntegers) {
    struct Case {
        const char* text;
        int want;
    };
    const Case cases[] = {
        {" 15", 15}, {"  5", 5},  {"10", 10}, {"-3", -3},          {"0x1E", 30},
        {"$10", 16}, {"abc", -1}, {"", -1},   {"   ", -1},         {"15 ", -1},
        {"1.5", -1}, {"- 5", -1}, {"0x", -1}, {"99999999999", -1}, {"+7", 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(textToIntDef(c.text, -1), c.want);
    }
}

TEST(SettingsText, TrimRemovesBlanksAndControlCharacters) {
    EXPECT_EQ(trimText(" COM3 "), "COM3");
    EXPECT_EQ(trimText("\t pts/3\r\n"), "pts/3");
    EXPECT_EQ(trimText("a b"), "a b");
    EXPECT_EQ(trimText("  "), "");
}

TEST(Cp1257, BalticLettersAndTheDegreeSign) {
    EXPECT_EQ(fromCp1257("48\xB0"
                         "07'"),
              QString::fromUtf8("48°07'"));
    EXPECT_EQ(fromCp1257("\xC0\xE0\xC8\xE8\xD0\xF0\xDE\xFE\xEB\xFB"),
              QString::fromUtf8("ĄąČčŠšŽžėū"));
    EXPECT_EQ(fromCp1257("\x81"), QString(QChar(0xFFFD)));
    EXPECT_EQ(fromCp1257(std::string_view("a\0b", 3)).size(), 3);

    std::string all;
    for (int b = 0x20; b < 0x100; ++b) {
        if (fromCp1257(std::string(1, static_cast<char>(b))) != QString(QChar(0xFFFD))) {
            all.push_back(static_cast<char>(b));
        }
    }
    EXPECT_EQ(toCp1257(fromCp1257(all)), all);
    EXPECT_EQ(toCp1257(QString::fromUtf8("Ω")), "?");
}

TEST(ErrorBox, FullStopOnlyAfterALetterOrDigit) {
    EXPECT_EQ(errorBoxText("Unable to write to /x/KEMGPS.ini"),
              "Unable to write to /x/KEMGPS.ini.");
    EXPECT_EQ(errorBoxText("Disk full 3"), "Disk full 3.");
    EXPECT_EQ(errorBoxText("Already said."), "Already said.");
    EXPECT_EQ(errorBoxText("What?"), "What?");
    EXPECT_EQ(errorBoxText("Įrašyti ž"), QString::fromUtf8("Įrašyti ž."));
    EXPECT_EQ(errorBoxText(""), "");
}

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

using SheetCacheTest = TempFolder;

TEST_F(SheetCacheTest, DeletesBitmapsWithAnArchiveBesideThem) {
    for (const char* name :
         {"K26.bmp", "K26.z", "k27.BMP", "K27.Z", "M12.bmp", "notes.txt", ".bmp"}) {
        touch(name);
    }
    fs::create_directory(dir / "X01.bmp");
    touch("X01.z");
    deleteUnpackedSheets(dir.string() + "/");
    EXPECT_FALSE(fs::exists(dir / "K26.bmp"));
    EXPECT_FALSE(fs::exists(dir / "k27.BMP"));
    for (const char* kept : {"K26.z", "K27.Z", "M12.bmp", "notes.txt", ".bmp", "X01.bmp"}) {
        EXPECT_TRUE(fs::exists(dir / kept)) << kept;
    }
}

TEST_F(SheetCacheTest, MissingFolderIsNoError) {
    EXPECT_NO_THROW(deleteUnpackedSheets((dir / "none").string()));
}

using PortChoicesTest = TempFolder;

TEST_F(PortChoicesTest, AdaptersFirstInNaturalOrderThenBuiltInPorts) {
    for (const char* name :
         {"ttyUSB10", "ttyACM0", "ttyUSB2", "rfcomm0", "ttyS3", "tty1", "ttyUSB"}) {
        touch(name);
    }
    const auto choices = serialPortChoices(dir.string());
    ASSERT_EQ(choices.size(), 4u + 16u);
    EXPECT_EQ(choices[0], "ttyUSB2");
    EXPECT_EQ(choices[1], "ttyUSB10");
    EXPECT_EQ(choices[2], "ttyACM0");
    EXPECT_EQ(choices[3], "rfcomm0");
    EXPECT_EQ(choices[4], "ttyS0");
    EXPECT_EQ(choices.back(), "ttyS15");
}

}  // namespace
}  // namespace kem
