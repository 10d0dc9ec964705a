#include "packer/TForm1.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <algorithm>
#include <filesystem>

#include "tests/support/ArchiveFiles.h"
#include "tests/support/SampleData.h"

namespace kem::packer {
namespace {

using archive::test::Folder;
using archive::test::ParseArchive;
using archive::test::ReadFile;
using archive::test::TempDir;
using archive::test::WriteFile;
namespace fs = std::filesystem;

class TForm1Test : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "packer_tests";
        static char* argv[] = {name, nullptr};
        static QApplication app(argc, argv);
    }

    // A program folder with SKVERAI in it.
    TForm1Test() { fs::create_directories(MapDir()); }

    std::string MapDir() const { return programDir + "SKVERAI/"; }

    // Shows a fresh window on the program folder, as the program does at start.
    std::unique_ptr<TForm1> Show() {
        auto form = std::make_unique<TForm1>(programDir);
        form->Zip1.OnError = [this](archive::ZipComponent&, const std::string& text) {
            reports.push_back(text);
        };
        form->show();
        return form;
    }

    static QStringList MemoLines(const TForm1& form) {
        QStringList lines = form.Memo1->toPlainText().split('\n', Qt::SkipEmptyParts);
        lines.sort();
        return lines;
    }

    TempDir dir;
    std::string programDir = Folder(dir) + "bin/";
    std::vector<std::string> reports;
};

TEST_F(TForm1Test, ListsTheBitmapsAndPacksEachIntoItsOwnArchive) {
    const auto sheet = archive::sample::MapSheetBmp(26);
    WriteFile(MapDir() + "K26.bmp", sheet);
    WriteFile(MapDir() + "a.b.bmp", "two dots");
    WriteFile(MapDir() + "notes.txt", "not a bitmap");
    fs::create_directory(MapDir() + "x.bmp");
    auto form = Show();
    EXPECT_EQ(MemoLines(*form), (QStringList{"K26.bmp", "a.b.bmp", "x.bmp"}));
    EXPECT_TRUE(form->Button1->isEnabled());

    form->Button1->click();
    EXPECT_EQ(form->StatusBar1->currentMessage(), " Rasti \".bmp\" failai suglaudinti");
    EXPECT_FALSE(QApplication::overrideCursor()) << "the hourglass is gone";
    EXPECT_TRUE(reports.empty());
    const auto k26 = ParseArchive(MapDir() + "K26.z");
    ASSERT_EQ(k26.entries.size(), 1u);
    EXPECT_EQ(k26.entries[0].name, "K26.bmp");
    EXPECT_EQ(k26.entries[0].local.uncompressedSize, sheet.size());
    const auto ab = ParseArchive(MapDir() + "a.z");
    ASSERT_EQ(ab.entries.size(), 1u);
    EXPECT_EQ(ab.entries[0].name, "a.b.bmp");
    EXPECT_FALSE(fs::exists(MapDir() + "x.z")) << "a folder is listed but not packed";
    EXPECT_TRUE(fs::exists(MapDir() + "K26.bmp")) << "bitmaps stay";
    EXPECT_EQ(MemoLines(*form), (QStringList{"K26.bmp", "a.b.bmp", "x.bmp"}));
}

TEST_F(TForm1Test, NoBitmapsDisablesTheButton) {
    WriteFile(MapDir() + "K26.z", "an archive is not a bitmap");
    auto form = Show();
    EXPECT_TRUE(form->Memo1->toPlainText().isEmpty());
    EXPECT_EQ(form->StatusBar1->currentMessage(), "\".bmp\" failų nerasta");
    EXPECT_FALSE(form->Button1->isEnabled());

    fs::remove_all(MapDir());
    auto noFolder = Show();
    EXPECT_EQ(noFolder->StatusBar1->currentMessage(), "\".bmp\" failų nerasta");
    EXPECT_FALSE(noFolder->Button1->isEnabled());
}

TEST_F(TForm1Test, PackingTwiceGivesIdenticalArchives) {
    WriteFile(MapDir() + "K26.bmp", archive::sample::MapSheetBmp(1));
    WriteFile(MapDir() + "L30.bmp", archive::sample::MapSheetBmp(2));
    WriteFile(MapDir() + "L30.z", std::string(100000, 'o'));  // stale and longer: replaced
    auto form = Show();
    form->Button1->click();
    const auto firstK26 = ReadFile(MapDir() + "K26.z");
    const auto firstL30 = ReadFile(MapDir() + "L30.z");
    EXPECT_EQ(ParseArchive(MapDir() + "L30.z").entries.size(), 1u);
    form->Button1->click();
    EXPECT_EQ(ReadFile(MapDir() + "K26.z"), firstK26);
    EXPECT_EQ(ReadFile(MapDir() + "L30.z"), firstL30);
    EXPECT_TRUE(form->Button1->isEnabled());
    EXPECT_TRUE(reports.empty());
}

TEST_F(TForm1Test, AFolderWithBlanksAndCommasPacksLikeAnyOther) {
    programDir = Folder(dir) + "maps, old and new/K E M/";
    fs::create_directories(MapDir());
    WriteFile(MapDir() + "K26.bmp", archive::sample::MapSheetBmp(3));
    auto form = Show();
    form->Button1->click();
    const auto archive = ParseArchive(MapDir() + "K26.z");
    ASSERT_EQ(archive.entries.size(), 1u);
    EXPECT_EQ(archive.entries[0].name, "K26.bmp");
    EXPECT_TRUE(reports.empty());
}

TEST_F(TForm1Test, TextsFitTheirPlaces) {
    auto form = Show();
    const QRect client = form->rect();
    EXPECT_EQ(client.size(), QSize(209, 277));
    EXPECT_TRUE(client.contains(form->Label1->geometry()));
    EXPECT_GE(form->Label1->width(), form->Label1->sizeHint().width());
    const QFontMetrics button(form->Button1->font());
    EXPECT_LT(button.horizontalAdvance(form->Button1->text()), form->Button1->width() - 8);
    const QFontMetrics status(form->StatusBar1->font());
    EXPECT_LT(status.horizontalAdvance(" Rasti \".bmp\" failai suglaudinti"),
              form->StatusBar1->width());
}

}  // namespace
}  // namespace kem::packer
