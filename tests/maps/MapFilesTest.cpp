// The map files without a window: the square data file, the mark's place, expedition map names,
// the measurement log and the clean-up of unpacked sheets.
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>

#include "base/IoError.h"
#include "maps/ExpeditionMaps.h"
#include "maps/MapMark.h"
#include "maps/MeasurementLog.h"
#include "maps/SquareData.h"
#include "maps/UnpackedSheets.h"
#include "tests/support/TempFolderTest.h"

namespace kem::maps {
namespace {

namespace fs = std::filesystem;

using UnpackedSheetsTest = test::TempFolderTest;

TEST_F(UnpackedSheetsTest, DeletesBitmapsWithAnArchiveBesideThem) {
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

TEST_F(UnpackedSheetsTest, MissingFolderIsNoError) {
    EXPECT_NO_THROW(deleteUnpackedSheets((dir / "none").string()));
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

using MapFilesTest = test::TempFolderTest;

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
    const MeasurementLog measurements(log);
    LogEntry entry;
    const std::string deg = "\xB0";  // passed on as the byte it is
    entry.latitude = "48" + deg + "07' 01\" N";
    entry.longitude = "11" + deg + "31' 00\" E";
    entry.altitude = "545,4 m";
    entry.geoid = "46,9 m";
    EXPECT_THROW(measurements.Append(entry), IoError);  // created only at start-up
    measurements.CreateIfMissing();
    measurements.Append(entry);
    entry.dateTime = "1994.03.23  12:35:19 UTC";
    measurements.Append(entry);
    measurements.CreateIfMissing();  // an existing log is kept
    std::ifstream in(log, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    const std::string line =
        "\t" + entry.latitude + "\t" + entry.longitude + "\t545,4 m\t46,9 m\r\n";
    EXPECT_EQ(text, line + entry.dateTime + line);
}

}  // namespace
}  // namespace kem::maps
