// The window-free pieces of KEMGPS: box text rules, the code page, the error box text, the map
// cache clean-up and the port list.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <filesystem>
#include <fstream>

#include "app/Cp1257.h"
#include "app/ErrorBox.h"
#include "app/IoError.h"
#include "app/MapFiles.h"
#include "app/MapMark.h"
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
    EXPECT_EQ(std::vector<std::string>(choices.begin(), choices.begin() + 5),
              (std::vector<std::string>{"ttyUSB2", "ttyUSB10", "ttyACM0", "rfcomm0", "ttyS0"}));
    EXPECT_EQ(choices.back(), "ttyS15");
}

TEST(MapMark, PixelsFromTheRawPosition) {
    struct Case {
        const char* name;
        const char* lat;
        const char* lon;
        char separator;
        int x, y;
    };
    const Case cases[] = {
        {"inside the square", "5441,1234", "02519,5678", ',', 165, 272},
        {"point as separator", "5441.1234", "02519.5678", '.', 165, 272},
        {"on the southern edge", "5440,0000", "02510,0000", ',', 0, 306},
        {"at the north-east corner", "5449,9999", "02529,9999", ',', 172, 0},
        {"unreadable minutes count as 0", "54xx", "025", ',', 0, 306},
        {"short texts", "", "", ',', 0, 306},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const MarkCentre centre = markCentre(c.lat, c.lon, c.separator);
        EXPECT_EQ(centre.x, c.x);
        EXPECT_EQ(centre.y, c.y);
    }
}

using MapFilesTest = TempFolder;

TEST_F(MapFilesTest, SquareCellsFromTheDataFileLastLineWins) {
    std::ofstream(dir / "kemwwl.DAT", std::ios::binary)
        << "K26 KO24PQ KO24QQ KO24PP KO24QP KO24PO KO24QO KO24PN KO24QN\r\n"
        << "K27 KO24RQ KO24SQ\r\n"
        << "K26 AAAAAA BBBBBB CCCCCC DDDDDD EEEEEE FFFFFF GGGGGG HHHHHH\r\n";
    const std::string file = findFileNoCase(dir.string(), "KEMWWL.dat");
    EXPECT_EQ(file, (dir / "kemwwl.DAT").string());

    const SquareCells k26 = readSquareCells(file, "K26");
    EXPECT_EQ(k26[0], "AAAAAA");
    EXPECT_EQ(k26[7], "HHHHHH");
    const SquareCells k27 = readSquareCells(file, "K27");
    EXPECT_EQ(k27[1], "KO24SQ");
    EXPECT_EQ(k27[2], "");
    EXPECT_EQ(readSquareCells(file, "K2")[0], "");    // codes compare on three characters
    EXPECT_EQ(readSquareCells(file, "K26 ")[0], "");  // a trailing blank matches nothing
    EXPECT_THROW(readSquareCells((dir / "none.dat").string(), "K26"), IoError);
}

TEST_F(MapFilesTest, ExpeditionMapNamesCountUpFromTheDate) {
    const std::string folder = dir.string() + "/";
    EXPECT_EQ(expeditionMapName(folder, "K26", 3, 7), folder + "K26_0307.bmp");
    touch("K26_0307.bmp");
    touch("K26_0307_1.bmp");
    EXPECT_EQ(expeditionMapName(folder, "K26", 3, 7), folder + "K26_0307_2.bmp");
    EXPECT_EQ(expeditionMapName(folder, "", 12, 31), folder + "_1231.bmp");
}

TEST_F(MapFilesTest, LogLinesAreAppendedTabSeparatedWithCrLf) {
    const std::string log = (dir / "Log.txt").string();
    gps::GpsFix fix;
    const std::string deg = "\xB0";  // passed on as the byte it is
    fix.LatText = "48" + deg + "07' 01\" N";
    fix.LongText = "11" + deg + "31' 00\" E";
    fix.AltitudeText = "545,4 m";
    fix.GeoidText = "46,9 m";
    EXPECT_THROW(appendLogLine(log, fix), IoError);  // created only at start-up
    touch("Log.txt");
    fs::resize_file(log, 0);
    appendLogLine(log, fix);
    fix.DateTimeText = "1994.03.23  12:35:19 UTC";
    appendLogLine(log, fix);
    std::ifstream in(log, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    const std::string line = "\t" + fix.LatText + "\t" + fix.LongText + "\t545,4 m\t46,9 m\r\n";
    EXPECT_EQ(text, line + fix.DateTimeText + line);
}

}  // namespace
}  // namespace kem
