// The main window's map sheet driven by position sentences: the square's sheet (unpacked from
// its archive), the marks, the clipboard, the log and the expedition maps.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QFrame>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QStatusBar>
#include <QToolButton>
#include <filesystem>
#include <fstream>
#include <functional>

#include "WindowTestSupport.h"
#include "app/TFormMain.h"
#include "archive/TZip.h"
#include "gps/NmeaDecoder.h"
#include "gps/TCommPortDriver.h"
#include "maps/Locator.h"
#include "maps/MapMark.h"
#include "maps/MapSheet.h"
#include "maps/SquareHistory.h"
#include "maps/TFormSquares.h"

namespace kem::test {
namespace {

namespace fs = std::filesystem;

const QColor kMarkRed(255, 0, 0);

class MapSheetTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureApplication(); }

    // A position sentence at latitude 54°lat' N, longitude 25°lon' E.
    void position(const char* lat, const char* lon) {
        const std::string line = std::string("$GPGGA,120000,54") + lat + ",N,025" + lon +
                                 ",E,1,08,0.9,100.0,M,20.0,M,,*00\r\n";
        FormMain->cpDrvReceiveData(line.data(), line.size());
    }
    std::string raw(const char* text) const {
        std::string s = text;
        std::replace(s.begin(), s.end(), '.', FormMain->DecimalSeparator());
        return s;
    }
    static std::string square(const char* lat, const char* lon) {
        return maps::CalcKEM("54" + std::string(lat), "025" + std::string(lon), '.');
    }
    QColor pixel(int x, int y) const { return FormMain->Sheet().Picture().pixelColor(x, y); }
    QColor markPixel(const char* lat, const char* lon) const {
        const maps::MarkCentre at =
            maps::markCentre("54" + std::string(lat), "025" + std::string(lon), '.');
        return pixel(at.x, at.y);
    }
    // The sheet of code as the main window draws it.
    QImage sheetOf(const std::string& code) const {
        maps::MapSheet reference(folder.path().string() + "/");
        reference.KEMSquare(code);
        return reference.Picture();
    }
    fs::path expeditions() const { return folder.path() / "EKSPEDICIJOS"; }
    static std::string today() { return QDate::currentDate().toString("MMdd").toStdString(); }
    // The status line's notice, whole.
    static std::string notice() {
        const auto* label = child<QLabel>(*FormMain, "pnNotice");
        return (label->toolTip().isEmpty() ? label->text() : label->toolTip()).toStdString();
    }

    ProgramFolder folder;
};

TEST_F(MapSheetTest, PositionStepDrawsTheSheetMarksAndCopiesThePosition) {
    std::ofstream(folder.path() / "KEMWWL.dat", std::ios::binary)
        << square("41.1234", "19.5678")
        << " KO24PQ KO24QQ KO24PP KO24QP KO24PO KO24QO KO24PN KO24QN\r\n";
    ShownForms shown;
    position("41.1234", "19.5678");
    EXPECT_EQ(FormMain->CurrentSquare(), square("41.1234", "19.5678"));
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
              raw("5441.1234") + ";" + raw("02519.5678"));
    EXPECT_EQ(pixel(165, 272), kMarkRed);
    EXPECT_EQ(pixel(86, 20), QColor(128, 128, 128));  // the grid
    EXPECT_EQ(pixel(150, 20), QColor(Qt::white));

    child<QToolButton>(*FormMain, "btClear")->click();  // the sheet anew, without its marks
    EXPECT_EQ(pixel(165, 272), QColor(Qt::white));
}

TEST_F(MapSheetTest, SheetIsUnpackedFromItsArchiveAndOnlySheetsWithAnArchiveAreRemovedAtClose) {
    const fs::path maps = folder.path() / "SKVERAI";
    QImage sheet(172, 306, QImage::Format_RGB32);
    sheet.fill(QColor(0, 0, 255));
    ASSERT_TRUE(sheet.save(QString::fromStdString((maps / "K26.bmp").string()), "BMP"));
    archive::TZip zip;
    zip.SetArcName((maps / "K26.z").string());
    zip.Files() = {(maps / "K26.bmp").string()};
    ASSERT_TRUE(zip.Compress());
    fs::remove(maps / "K26.bmp");
    for (const char* name : {"L30.BMP", "L30.z", "M12.bmp"}) {
        std::ofstream(maps / name) << "x";
    }

    // What a killed run left half unpacked is cleared away at the next start.
    const pid_t dead = fork();
    if (dead == 0) {
        _exit(0);
    }
    waitpid(dead, nullptr, 0);
    const fs::path leftover = maps / (".unpacking." + std::to_string(dead) + "-1");
    fs::create_directory(leftover);
    std::ofstream(leftover / "K26.bmp") << "BM half";

    ShownForms shown;
    EXPECT_FALSE(fs::exists(leftover));
    FormMain->Sheet().KEMSquare("K26");
    EXPECT_TRUE(fs::exists(maps / "K26.bmp"));
    EXPECT_EQ(pixel(150, 300), QColor(0, 0, 255));
    EXPECT_EQ(pixel(10, 77), QColor(128, 128, 128));
    // A sheet damaged on the disk is set aside and unpacked anew; one without an archive gives
    // the white sheet with its grid and title.
    for (const char* code : {"K26", "N05"}) {
        std::ofstream(maps / (std::string(code) + ".bmp"), std::ios::binary) << "BM cut short";
        FormMain->Sheet().KEMSquare(code);
        EXPECT_TRUE(fs::exists(maps / (std::string(code) + ".bmp.damaged"))) << code;
    }
    EXPECT_FALSE(fs::exists(maps / "N05.bmp"));
    EXPECT_EQ(pixel(150, 300), QColor(Qt::white));
    EXPECT_EQ(pixel(10, 77), QColor(128, 128, 128));
    EXPECT_NE(pixel(70, 15), QColor(Qt::white));  // the title
    FormMain->Sheet().KEMSquare("K26");
    EXPECT_EQ(pixel(150, 300), QColor(0, 0, 255));
    FormMain->close();
    EXPECT_FALSE(fs::exists(maps / "K26.bmp"));
    EXPECT_FALSE(fs::exists(maps / "L30.BMP"));
    EXPECT_TRUE(fs::exists(maps / "K26.z"));
    EXPECT_TRUE(fs::exists(maps / "L30.z"));
    EXPECT_TRUE(fs::exists(maps / "M12.bmp"));  // only a bitmap: kept
}

TEST_F(MapSheetTest, LogAndAutomaticSavingFollowTheTicks) {
    ShownForms shown;
    FormMain->SetPeriod(1);
    child<QAction>(*FormMain, "MLog")->trigger();
    child<QAction>(*FormMain, "MAutoMap")->trigger();
    position("41.1234", "19.5678");
    position("41.1234", "19.5678");
    position("31.0000", "19.5678");  // 10' further south: the next square
    ASSERT_NE(square("41.1234", "19.5678"), square("31.0000", "19.5678"));

    std::ifstream log(expeditions() / "Log.txt", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(log)), {});
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);

    const std::string saved = square("41.1234", "19.5678") + "_" + today() + ".bmp";
    ASSERT_TRUE(fs::exists(expeditions() / saved));
    QImage left;
    ASSERT_TRUE(left.load(QString::fromStdString((expeditions() / saved).string())));
    EXPECT_EQ(left.pixelColor(165, 272), kMarkRed);  // the sheet left, with its marks
}

TEST_F(MapSheetTest, FailingAutomaticWritesAreNoticedOnceAndTheStepGoesOn) {
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> breakWrites;  // given EKSPEDICIJOS/
        const char* saveReason;                            // nullptr: the save works
        const char* logReason;
    };
    const Case cases[] = {
        {"no expedition folder", [](const fs::path& e) { fs::remove_all(e); },
         "nėra failo ar aplanko", "nėra failo ar aplanko"},
        {"a folder in the log's place",
         [](const fs::path& e) {
             fs::remove(e / "Log.txt");
             fs::create_directory(e / "Log.txt");
         },
         nullptr, "Is a directory"},
    };
    const std::string first = square("41.1234", "19.5678");
    const std::string second = square("31.0000", "19.5678");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramFolder own;
        const fs::path expeditions = own.path() / "EKSPEDICIJOS";
        ShownForms shown;
        FormMain->SetPeriod(1);
        child<QAction>(*FormMain, "MLog")->trigger();
        child<QAction>(*FormMain, "MAutoMap")->trigger();
        c.breakWrites(expeditions);
        position("41.1234", "19.5678");
        position("31.0000", "19.5678");  // the next square: saving the first one fails
        position("36.0000", "13.0000");
        EXPECT_EQ(FormMain->CurrentSquare(), second);  // drawn at once, not retried
        EXPECT_EQ(markPixel("31.0000", "19.5678"), kMarkRed);
        EXPECT_EQ(markPixel("36.0000", "13.0000"), kMarkRed);
        EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
                  raw("5436.0000") + ";" + raw("02513.0000"));

        const std::string saveNotice =
            c.saveReason == nullptr
                ? std::string()
                : std::string("Žemėlapis neišsaugotas: ") + c.saveReason + " (" +
                      (expeditions / (first + "_" + today() + ".bmp")).string() + ")";
        const std::string logNotice = std::string("Žurnalo eilutė neįrašyta: ") + c.logReason +
                                      " (" + (expeditions / "Log.txt").string() + ")";
        EXPECT_FALSE(FormMain->statusBar()->isHidden());
        EXPECT_EQ(notice(), saveNotice + (saveNotice.empty() ? "" : "\n") + logNotice);
        // Turning the log off withdraws its notice at once.
        child<QAction>(*FormMain, "MLog")->trigger();
        EXPECT_EQ(notice(), saveNotice);
        child<QAction>(*FormMain, "MLog")->trigger();

        // Writable again: the next change of square saves and logs, and the notice goes.
        fs::remove_all(expeditions);
        fs::create_directory(expeditions);
        std::ofstream(expeditions / "Log.txt");
        position("41.1234", "19.5678");
        EXPECT_TRUE(fs::exists(expeditions / (second + "_" + today() + ".bmp")));
        EXPECT_GT(fs::file_size(expeditions / "Log.txt"), 0u);
        EXPECT_TRUE(FormMain->statusBar()->isHidden());
    }
}

TEST_F(MapSheetTest, SavedMapsAreListedAndOpenedOverTheSheet) {
    PseudoTerminal pty;
    ShownForms shown;
    FormMain->Sheet().DrawMark(50, 50);
    child<QAction>(*FormMain, "MWay")->trigger();
    child<QAction>(*FormMain, "OpenExped")->trigger();
    ASSERT_TRUE(child<QFrame>(*FormMain, "Panel4")->isVisible());
    ASSERT_EQ(child<QListWidget>(*FormMain, "FileListBox1")->count(), 1);

    FormMain->Driver().SetPortName("/dev/" + pty.portName());
    child<QToolButton>(*FormMain, "btConnect")->click();
    ASSERT_TRUE(FormMain->Driver().Connected());
    child<QToolButton>(*FormMain, "btClear")->click();
    EXPECT_NE(pixel(50, 50), kMarkRed);
    child<QListWidget>(*FormMain, "FileListBox1")->setCurrentRow(0);
    FormMain->FileListBox1Click();
    EXPECT_EQ(pixel(50, 50), kMarkRed);
    EXPECT_FALSE(child<QFrame>(*FormMain, "Panel4")->isVisible());
    EXPECT_FALSE(FormMain->Driver().Connected());
}

// A square letter byte outside ASCII (a position far south of the grid) names its saved maps
// byte for byte: each save finds the next free name, and the list opens them.
TEST_F(MapSheetTest, SavedMapsKeepTheirByteNamesAndOpenFromTheKeyboard) {
    ShownForms shown;
    const std::string square =
        "\xC1"
        "26";
    const std::string base = square + "_" + QDate::currentDate().toString("MMdd").toStdString();
    FormMain->Sheet().SaveMap(square);
    FormMain->Sheet().DrawMark(50, 50);
    FormMain->Sheet().SaveMap(square);
    FormMain->Sheet().SaveMap(square);
    for (const std::string& name : {base + ".bmp", base + "_1.bmp", base + "_2.bmp"}) {
        EXPECT_TRUE(fs::exists(expeditions() / name)) << name;
    }

    child<QToolButton>(*FormMain, "btClear")->click();
    ASSERT_NE(pixel(50, 50), kMarkRed);
    child<QAction>(*FormMain, "OpenExped")->trigger();
    auto* list = child<QListWidget>(*FormMain, "FileListBox1");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(0)->text(),
              QString::fromUtf8("Į26_") + QDate::currentDate().toString("MMdd") + ".bmp");
    list->setCurrentRow(0);
    EXPECT_NE(pixel(50, 50), kMarkRed);  // choosing is the user's, not the program's
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(list, &down);
    EXPECT_EQ(pixel(50, 50), kMarkRed);
    EXPECT_FALSE(child<QFrame>(*FormMain, "Panel4")->isVisible());
}

// 54°41.1234' N 25°19.5678' E lies in K26, 54°35' N 25°25' E in L27 (worked out by hand from
// the grid); both squares hold the country's land, A00 (sea and Latvia) does not.
TEST_F(MapSheetTest, SquareOverviewCountsTheStepsSquaresAndAClickShowsTheSheet) {
    ShownForms shown;
    FormMain->SetPeriod(1);
    position("41.1234", "19.5678");
    position("41.1234", "19.5678");
    position("35.0000", "25.0000");
    FormSquares->show();
    const QString counter = FormSquares->CounterText();
    EXPECT_TRUE(counter.startsWith(QStringLiteral("Aplankyta 2 iš "))) << counter.toStdString();
    // The country is about 65,300 km2, a square about 197 km2 (10' x 10' at 55° N).
    const int land = counter.section(QLatin1Char(' '), 3).toInt();
    EXPECT_GE(land, 331);
    EXPECT_LT(land, 640);
    std::ifstream history(folder.path() / "EKSPEDICIJOS" / "Kvadratai.txt");
    std::string text(std::istreambuf_iterator<char>(history), {});
    EXPECT_NE(text.find("\nK26 "), std::string::npos);
    EXPECT_NE(text.find(" 2\nL27 "), std::string::npos);

    QWidget* picture = FormSquares->Picture();
    const QPoint a00 = FormSquares->SquareRect(*maps::GridIndex("A00")).center();
    QMouseEvent press(QEvent::MouseButtonPress, a00, picture->mapToGlobal(a00), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(picture, &press);
    EXPECT_EQ(FormMain->Sheet().Picture(), sheetOf("A00"));
    EXPECT_TRUE(child<QToolButton>(*FormMain, "btDisconnect")->isChecked());

    const fs::path png = folder.path() / "squares.png", csv = folder.path() / "squares.csv";
    FormSquares->ExportPng(png.string());
    FormSquares->ExportCsv(csv.string());
    EXPECT_FALSE(QImage(QString::fromStdString(png.string())).isNull());
    std::ifstream rows(csv);
    std::string header, k26, l27;
    std::getline(rows, header) >> k26 >> l27;
    EXPECT_EQ(k26.substr(0, 4) + k26.substr(k26.size() - 2), "K26,,2");  // no locators here
    EXPECT_EQ(l27.substr(0, 4), "L27,");
}

}  // namespace
}  // namespace kem::test
