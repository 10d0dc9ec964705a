// The QTH calculator dialog on a temporary program folder with the shipped square data: the
// entry modes chosen by mouse clicks, the range check, the sheet and mark it draws, and its
// settings.
#include <gtest/gtest.h>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <filesystem>
#include <fstream>

#include "WindowTestSupport.h"
#include "app/TFormMain.h"
#include "base/IniFile.h"
#include "maps/MapSheet.h"
#include "maps/SquareData.h"
#include "maps/TFormQTH.h"

namespace kem::test {
namespace {

namespace fs = std::filesystem;

const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);

class QthDialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureApplication(); }

    QthDialogTest() {
        std::ofstream(folder.path() / "KEMWWL.dat", std::ios::binary) << maps::squareDataText();
        QObject::connect(&sheet, &maps::MapSheet::changed, [this] { ++drawings; });
        dialog.show();
    }

    QLineEdit* field(const char* name) const { return child<QLineEdit>(dialog, name); }
    QPushButton* button(const char* name) const { return child<QPushButton>(dialog, name); }
    void typeCoordinates(const QStringList& texts) const {
        const char* names[] = {"edLaDeg", "edLaMin", "edLaSec", "edLoDeg", "edLoMin", "edLoSec"};
        for (int i = 0; i < 6; ++i) {
            field(names[i])->setText(texts[i]);
        }
    }
    // Closed fields are button-face grey and read-only; open ones window-coloured and editable.
    bool closed(const char* name) const {
        QLineEdit* f = field(name);
        const QColor grey = QApplication::palette().color(QPalette::Button);
        EXPECT_EQ(f->isReadOnly(), f->palette().color(QPalette::Base) == grey) << name;
        return f->palette().color(QPalette::Base) == grey;
    }
    bool allOpen() const {
        for (const char* name :
             {"edLaDeg", "edLaMin", "edLaSec", "edLoDeg", "edLoMin", "edLoSec", "edKEM", "edWWL"}) {
            if (closed(name)) {
                return false;
            }
        }
        return true;
    }
    // The sheet of code as the main window would draw it, with a mark at (x, y) when given.
    QImage sheetOf(const std::string& code, std::optional<QPoint> mark = {}) const {
        maps::MapSheet reference(folder.path().string() + "/");
        reference.KEMSquare(code);
        if (mark) {
            reference.DrawMark(mark->x(), mark->y());
        }
        return reference.Picture();
    }

    ProgramFolder folder;
    IniFile settings{folder.ini().string()};
    maps::MapSheet sheet{folder.path().string() + "/"};
    int beeps = 0;
    int drawings = 0;
    TFormQTH dialog{settings, sheet, [this] { ++beeps; }};
};

TEST_F(QthDialogTest, CoordinatesGiveSquareLocatorAndTheMarkedSheet) {
    EXPECT_FALSE(button("btMap")->isEnabled());
    clickMouse(field("edLaDeg"));
    EXPECT_TRUE(closed("edKEM"));
    EXPECT_TRUE(closed("edWWL"));
    typeCoordinates({"54", "41", "07", "25", "19", "33"});
    button("btCalc")->click();
    EXPECT_EQ(field("edKEM")->text(), "K26");
    EXPECT_EQ(field("edWWL")->text(), "KO24PQ");
    ASSERT_TRUE(button("btMap")->isEnabled());

    button("btMap")->click();
    EXPECT_EQ(sheet.Picture(), sheetOf("K26", QPoint(164, 272)));
    // Radius 3 around (164, 272): first and last pixel inside, first outside, both ways.
    const QImage& p = sheet.Picture();
    for (const QPoint inside :
         {QPoint(161, 272), QPoint(166, 272), QPoint(164, 269), QPoint(164, 274)}) {
        EXPECT_EQ(p.pixelColor(inside), kRed) << inside.x() << "," << inside.y();
    }
    for (const QPoint outside :
         {QPoint(160, 272), QPoint(167, 272), QPoint(164, 268), QPoint(164, 275)}) {
        EXPECT_NE(p.pixelColor(outside), kRed) << outside.x() << "," << outside.y();
    }
    EXPECT_TRUE(allOpen());
    EXPECT_EQ(beeps, 0);
}

TEST_F(QthDialogTest, OutOfRangeFieldsBeepAndTurnRedEachOnItsOwn) {
    clickMouse(field("edLaDeg"));
    typeCoordinates({"91", "41", "07", "25", "60", "33"});
    button("btCalc")->click();
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(field("edLaDeg")->palette().color(QPalette::Text), kRed);
    EXPECT_EQ(field("edLoMin")->palette().color(QPalette::Text), kRed);
    EXPECT_EQ(field("edLaMin")->palette().color(QPalette::Text), kBlack);
    EXPECT_TRUE(field("edKEM")->text().isEmpty());
    EXPECT_FALSE(button("btMap")->isEnabled());

    typeCoordinates({"54", "41", "07", "25", "19", "33"});
    button("btCalc")->click();
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(field("edLaDeg")->palette().color(QPalette::Text), kBlack);
    EXPECT_EQ(field("edLoMin")->palette().color(QPalette::Text), kBlack);
    EXPECT_EQ(field("edKEM")->text(), "K26");

    // Letters count as 0: they pass and compute as 0 degrees.
    typeCoordinates({"ab", "41", "07", "25", "19", "33"});
    button("btCalc")->click();
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(field("edWWL")->text(), "KJ20PQ");
}

TEST_F(QthDialogTest, SquareEntryDrawsTheSheetAndRejectsCodesOutsideTheGridSilently) {
    field("edKEM")->setFocus();  // the keyboard focus changes no mode
    EXPECT_TRUE(button("btCalc")->isEnabled());
    clickMouse(field("edKEM"));
    EXPECT_FALSE(button("btCalc")->isEnabled());
    EXPECT_TRUE(button("btMap")->isEnabled());
    EXPECT_TRUE(closed("edLaDeg"));
    EXPECT_TRUE(closed("edLoSec"));
    EXPECT_TRUE(closed("edWWL"));
    EXPECT_FALSE(closed("edKEM"));

    for (const char* code : {"Q10", "K45"}) {
        SCOPED_TRACE(code);
        field("edKEM")->setText(code);
        button("btMap")->click();
        EXPECT_EQ(drawings, 0);
        EXPECT_EQ(beeps, 0);
        EXPECT_TRUE(allOpen());
        clickMouse(field("edKEM"));
    }
    field("edKEM")->clear();
    field("edKEM")->insert(" k26 ");  // typed: capitals, and the blanks do not empty the sheet
    EXPECT_EQ(field("edKEM")->text(), " K26 ");
    button("btMap")->click();
    EXPECT_EQ(sheet.Picture(), sheetOf("K26"));
}

TEST_F(QthDialogTest, LocatorEntryFindsItsSquareOrGivesAnEmptySheet) {
    clickMouse(field("edWWL"));
    EXPECT_TRUE(closed("edKEM"));
    EXPECT_TRUE(closed("edLaDeg"));
    EXPECT_FALSE(button("btCalc")->isEnabled());
    field("edWWL")->insert("ko24pq");
    button("btMap")->click();
    EXPECT_EQ(field("edKEM")->text(), "K26");
    EXPECT_EQ(sheet.Picture(), sheetOf("K26"));
    EXPECT_TRUE(allOpen());

    clickMouse(field("edWWL"));
    field("edWWL")->setText("JO00AA");
    button("btMap")->click();
    EXPECT_TRUE(field("edKEM")->text().isEmpty());
    EXPECT_EQ(sheet.Picture(), sheetOf(""));
    EXPECT_EQ(sheet.Picture().pixelColor(80, 15), QColor(Qt::white));  // no title
}

// After a square entry a click into a coordinate field leaves every field closed, so showing
// the computed position passes all three tests: marked sheet, then drawn twice more.
TEST_F(QthDialogTest, HalfSetModePassesAllThreeTestsAndEndsWithoutTheMark) {
    typeCoordinates({"54", "41", "07", "25", "19", "33"});
    clickMouse(field("edKEM"));
    clickMouse(field("edLaDeg"));
    EXPECT_TRUE(closed("edLaDeg"));
    EXPECT_TRUE(closed("edKEM"));
    button("btCalc")->click();
    ASSERT_EQ(field("edWWL")->text(), "KO24PQ");

    bool marked = false;
    QObject::connect(&sheet, &maps::MapSheet::changed,
                     [&](const QImage& p) { marked |= p.pixelColor(164, 272) == kRed; });
    button("btMap")->click();
    EXPECT_TRUE(marked);
    EXPECT_EQ(sheet.Picture(), sheetOf("K26"));
    EXPECT_EQ(field("edKEM")->text(), "K26");
    EXPECT_TRUE(allOpen());

    // A computed locator that the data file lacks: the computed square stays.
    std::string data = maps::squareDataText();
    data.replace(data.find("KO24PQ"), 6, "KO24XX");
    std::ofstream(folder.path() / "KEMWWL.dat", std::ios::binary) << data;
    clickMouse(field("edKEM"));
    clickMouse(field("edLaDeg"));
    button("btCalc")->click();
    button("btMap")->click();
    EXPECT_EQ(field("edKEM")->text(), "K26");
    EXPECT_EQ(sheet.Picture(), sheetOf("K26"));
}

TEST_F(QthDialogTest, MissingDataFileIsShownAndLeavesTheFieldsClosed) {
    fs::remove(folder.path() / "KEMWWL.dat");
    clickMouse(field("edWWL"));
    field("edWWL")->setText("KO24PQ");
    MessageBoxCatcher catcher;
    button("btMap")->click();
    ASSERT_EQ(catcher.boxes().size(), 1u);
    EXPECT_TRUE(catcher.boxes()[0].text.startsWith("Unable to open "));
    EXPECT_TRUE(closed("edKEM"));
    EXPECT_TRUE(closed("edLaDeg"));
    EXPECT_EQ(drawings, 0);
}

TEST_F(QthDialogTest, PlaceAndBoldFontAreStoredAndRestored) {
    EXPECT_EQ(dialog.pos(), QPoint(300, 200));
    EXPECT_FALSE(dialog.font().bold());
    child<QToolButton>(dialog, "btBold")->click();
    EXPECT_TRUE(field("edLaDeg")->font().bold());
    clickMouse(field("edKEM"));  // coordinate fields closed when the dialog closes
    field("edKEM")->setText("K26");
    dialog.move(250, 150);
    button("btClose")->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(folder.iniHolds("XQTH=250"));
    EXPECT_TRUE(folder.iniHolds("YQTH=150"));
    EXPECT_TRUE(folder.iniHolds("BoldQTH=1"));
    // Empty and editable again; a closed coordinate field stays grey.
    EXPECT_TRUE(field("edKEM")->text().isEmpty());
    EXPECT_FALSE(field("edLaDeg")->isReadOnly());
    EXPECT_EQ(field("edLaDeg")->palette().color(QPalette::Base),
              QApplication::palette().color(QPalette::Button));
    EXPECT_FALSE(closed("edKEM"));

    dialog.setFont(QFont());
    dialog.move(0, 0);
    dialog.show();
    EXPECT_EQ(dialog.pos(), QPoint(250, 150));
    EXPECT_TRUE(dialog.font().bold());
    EXPECT_TRUE(child<QToolButton>(dialog, "btBold")->isChecked());
}

TEST(QthDialogInProgram, DrawsIntoTheMainWindowsSheet) {
    ensureApplication();
    ProgramFolder folder;
    std::ofstream(folder.path() / "KEMWWL.dat", std::ios::binary) << maps::squareDataText();
    ShownForms shown;
    FormQTH->show();
    clickMouse(child<QLineEdit>(*FormQTH, "edKEM"));
    child<QLineEdit>(*FormQTH, "edKEM")->setText("K26");
    child<QPushButton>(*FormQTH, "btMap")->click();
    EXPECT_EQ(FormMain->Sheet().Picture().pixelColor(10, 77), QColor(128, 128, 128));
    EXPECT_TRUE(FormMain->CurrentSquare().empty());
    FormQTH->close();
}

}  // namespace
}  // namespace kem::test
