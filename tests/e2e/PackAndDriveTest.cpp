// The two programs on one map folder: KEMZIP packs the bitmaps, KEMGPS on the simulated
// receiver's drive unpacks each square's sheet when it gets there, marks it, saves it when it
// leaves, and at its end removes what it unpacked.

#include <gtest/gtest.h>

#include <QColor>
#include <QDate>
#include <QPainter>
#include <QRegularExpression>
#include <map>

#include "tests/e2e/Sessions.h"

namespace kem::e2e {
namespace {

// Squares around the start of kemsim's drive (56°29.5' N 20°51' E, south-east from there).
const std::vector<std::string> kSquares = {"A00", "A01", "A02", "A03", "A04", "B01",
                                           "B02", "B03", "B04", "B05", "C04", "C05"};

// KEMZIP's window: the button "Glaudinti" and the status bar.
constexpr QPoint kPackButton{164, 241};
constexpr QRect kPackerStatus{0, 256, 209, 21};

// A sheet that can be told from every other one and from a white sheet: a light colour of its
// own with darker stripes, which also gives the packer some work.
QImage patternSheet(int index) {
    QImage image(172, 306, QImage::Format_RGB32);
    const QColor ground = QColor::fromHsv(index * 360 / static_cast<int>(kSquares.size()), 70, 230);
    image.fill(ground);
    QPainter painter(&image);
    painter.setPen(QPen(ground.darker(150), 3));
    for (int k = -306; k < 172; k += 14 + index) {
        painter.drawLine(k, 0, k + 306, 306);
    }
    return image;
}

// Saved expedition maps by square code (the name up to "_MMDD.bmp").
std::map<std::string, fs::path> savedMaps(const ProgramFolder& folder) {
    const std::string day = QDate::currentDate().toString("_MMdd").toStdString() + ".bmp";
    std::map<std::string, fs::path> maps;
    for (const auto& name : ProgramFolder::Names(folder.Expeditions())) {
        if (name.ends_with(day)) {
            maps[name.substr(0, name.size() - day.size())] = folder.Expeditions() / name;
        }
    }
    return maps;
}

// The square whose sheet the picture shows, judged by the pixels it shares with each sheet.
std::string shownSquare(const QImage& picture, const std::map<std::string, QImage>& sheets) {
    for (const auto& [square, sheet] : sheets) {
        if (SameShare(picture, sheet) > 0.8) {
            return square;
        }
    }
    return {};
}

TEST(PackAndDrive, SheetsPackedByKemzipAreShownMarkedSavedAndCleanedUpByKemgps) {
    ProgramFolder folder;
    std::map<std::string, QImage> sheets;
    for (std::size_t i = 0; i < kSquares.size(); ++i) {
        sheets[kSquares[i]] = patternSheet(static_cast<int>(i));
        ASSERT_TRUE(sheets[kSquares[i]].save(
            QString::fromStdString((folder.Maps() / (kSquares[i] + ".bmp")).string()), "BMP"));
    }

    {
        Program kemzip(folder, {"KEMZIP", "^KEM Zip", 277});
        const QImage before = kemzip.Part(kPackerStatus);
        kemzip.Click(kPackButton.x(), kPackButton.y());
        EXPECT_TRUE(WaitUntil([&] { return kemzip.Part(kPackerStatus) != before; }, 60s))
            << "no status text after packing";
        Desktop::Get().Close(kemzip.Main());
        const auto status = kemzip.End();
        ASSERT_TRUE(status) << "KEMZIP did not close";
        EXPECT_TRUE(ExitedCleanly(*status)) << DescribeStatus(*status) << kemzip.Run().Output();
    }
    // Every bitmap has an archive that another ZIP reader unpacks to it; then the user removes
    // the bitmaps.
    std::map<std::string, std::string> archives;
    for (const auto& square : kSquares) {
        SCOPED_TRACE(square);
        const fs::path bitmap = folder.Maps() / (square + ".bmp");
        const fs::path archive = folder.Maps() / (square + ".z");
        ASSERT_TRUE(fs::exists(archive));
        EXPECT_EQ(RunTool({"unzip", "-p", archive.string()}), ReadFile(bitmap));
        archives[archive.filename()] = ReadFile(archive);
        fs::remove(bitmap);
    }

    Receiver receiver(folder, {"--wait", "--speed", "60"});
    folder.WriteSettings(receiver.Port(), {"Period=5", "Log=1", "AutoMap=1"});
    Program kemgps(folder, KemgpsOptions());
    kemgps.Press("alt+p");  // "&Prijungti"

    // Two squares left behind, each saved with its sheet and the marks made on it.
    ASSERT_TRUE(WaitUntil([&] { return savedMaps(folder).size() >= 2; }, 120s))
        << "saved maps: " << savedMaps(folder).size();
    const QImage screen = kemgps.Part(kSheet);
    for (const auto& [square, path] : savedMaps(folder)) {
        SCOPED_TRACE(square);
        const QImage saved = LoadBitmap(path);
        ASSERT_TRUE(sheets.count(square));
        EXPECT_GT(SameShare(saved, sheets[square]), 0.8);
        EXPECT_GT(CountPixels(saved, kMarkRed), 0);
        EXPECT_TRUE(fs::exists(folder.Maps() / (square + ".bmp"))) << "unpacked for the run";
    }
    // The square reached now is on the screen, marked.
    const std::string now = shownSquare(screen, sheets);
    EXPECT_FALSE(now.empty()) << "the screen shows none of the sheets";
    EXPECT_EQ(savedMaps(folder).count(now), 0u);
    EXPECT_GT(CountPixels(screen, kMarkRed), 0);
    EXPECT_TRUE(QRegularExpression("^\\d{4},\\d+;\\d{5},\\d+$")
                    .match(QString::fromStdString(Desktop::Get().Clipboard()))
                    .hasMatch())
        << Desktop::Get().Clipboard();

    kemgps.Press("alt+b");  // "&Baigti"
    const auto status = kemgps.End();
    ASSERT_TRUE(status) << "KEMGPS did not end";
    EXPECT_TRUE(ExitedCleanly(*status)) << DescribeStatus(*status) << kemgps.Run().Output();
    // Only the archives stay, as they were.
    std::map<std::string, std::string> after;
    for (const auto& name : ProgramFolder::Names(folder.Maps())) {
        after[name] = ReadFile(folder.Maps() / name);
    }
    EXPECT_TRUE(after == archives) << "the map folder changed";
}

}  // namespace
}  // namespace kem::e2e
