// The settings dialog: filled from the settings file when shown, applied and stored on every
// close, with the box texts' parsing rules.
#include <gtest/gtest.h>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>

#include "WindowTestSupport.h"
#include "app/TFormMain.h"
#include "app/TFormSet.h"
#include "gps/NmeaDecoder.h"
#include "gps/ReceiverLink.h"
#include "gps/TCommPortDriver.h"

namespace kem::test {
namespace {

class SettingsDialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureApplication(); }

    void type(QComboBox* box, const QString& text) { box->lineEdit()->setText(text); }

    ProgramFolder folder;
};

TEST_F(SettingsDialogTest, ShowsTheDefaultsAtItsDefaultPlace) {
    ShownForms shown;
    FormMain->SetUp();
    ASSERT_TRUE(FormSet->isVisible());
    EXPECT_EQ(child<QComboBox>(*FormSet, "PortComboBox")->currentText(), "ttyUSB0");
    EXPECT_EQ(child<QComboBox>(*FormSet, "ComboBox2")->currentText(), "6");
    EXPECT_EQ(child<QComboBox>(*FormSet, "ComboBox1")->currentText(), "15");
    EXPECT_EQ(child<QComboBox>(*FormSet, "BaudComboBox")->currentText(), "4800");
    EXPECT_EQ(FormSet->pos(), QPoint(100, 100));

    // A hand-edited radius near the 32-bit limit is shown doubled, not overflowed.
    FormSet->hide();
    folder.writeIni("[SETTINGS]\r\nRadius=2000000000\r\n");
    FormMain->SetUp();
    EXPECT_EQ(child<QComboBox>(*FormSet, "ComboBox2")->currentText(), "4000000000");
}

TEST_F(SettingsDialogTest, BoxTextsAreParsedAppliedAndStored) {
    struct Case {
        const char* name;
        QString size;
        QString period;
        QString baud;
        int radius;
        int periodValue;
        int baudValue;  // 0: hunt
    };
    const Case cases[] = {
        {"list entries with blanks", " 4", "  5", "Auto", 2, 5, 0},
        {"odd size loses a pixel", "7", " 15", " 9600", 3, 15, 9600},
        {"size one gives no mark", "1", "60", "auto", 0, 60, 0},
        {"not integers give the defaults", "abc", "abc", "fast", 3, 15, 4800},
        {"a rate not in the list", "6", "10", "230400", 3, 10, 230400},
        {"a negative rate", "6", "10", "-9600", 3, 10, 4800},
    };
    ShownForms shown;
    const gps::TCommPortDriver& driver = FormMain->Driver();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FormMain->SetUp();
        type(child<QComboBox>(*FormSet, "ComboBox2"), c.size);
        type(child<QComboBox>(*FormSet, "ComboBox1"), c.period);
        type(child<QComboBox>(*FormSet, "BaudComboBox"), c.baud);
        child<QPushButton>(*FormSet, "btApply")->click();
        EXPECT_FALSE(FormSet->isVisible());
        EXPECT_EQ(FormMain->Radius(), c.radius);
        EXPECT_EQ(FormMain->Period(), c.periodValue);
        EXPECT_EQ(FormMain->Decoder()->Period(), c.periodValue);
        EXPECT_EQ(driver.AutoBaud(), c.baudValue == 0);
        if (c.baudValue != 0) {
            EXPECT_EQ(driver.BaudRateValue(), static_cast<std::uint32_t>(c.baudValue));
        }
        EXPECT_TRUE(folder.iniHolds("Radius=" + std::to_string(c.radius) + "\n") ||
                    folder.iniHolds("Radius=" + std::to_string(c.radius) + "\r\n"));
        EXPECT_TRUE(folder.iniHolds("Period=" + std::to_string(c.periodValue)));
        EXPECT_TRUE(folder.iniHolds("Baud=" + std::to_string(c.baudValue)));
        FormMain->SetUp();  // and shows it back
        EXPECT_EQ(child<QComboBox>(*FormSet, "BaudComboBox")->currentText(),
                  c.baudValue == 0 ? QString("Auto") : QString::number(c.baudValue));
        FormSet->hide();
    }
}

TEST_F(SettingsDialogTest, ClosingAppliesThePortTrimmedAndStoresItAndThePlaceAsGiven) {
    ShownForms shown;
    FormMain->SetUp();
    type(child<QComboBox>(*FormSet, "PortComboBox"), " pts/7 ");
    FormSet->move(240, 180);
    FormSet->close();  // the close box applies exactly as the button does
    EXPECT_EQ(FormMain->Driver().PortName(), "/dev/pts/7");
    EXPECT_TRUE(folder.iniHolds("Port= pts/7 "));
    EXPECT_TRUE(folder.iniHolds("XSET=240"));
    EXPECT_TRUE(folder.iniHolds("YSET=180"));
    FormSet->move(0, 0);
    FormMain->SetUp();
    EXPECT_EQ(FormSet->pos(), QPoint(240, 180));
    EXPECT_EQ(child<QComboBox>(*FormSet, "PortComboBox")->currentText(),
              "pts/7");  // the file's value, as read
    EXPECT_TRUE(child<QComboBox>(*FormSet, "BaudComboBox")->isEnabled());

    // A network receiver: the rate does not apply, and the serial port is left as it was.
    type(child<QComboBox>(*FormSet, "PortComboBox"), " gpsd://pi.local ");
    EXPECT_FALSE(child<QComboBox>(*FormSet, "BaudComboBox")->isEnabled());
    EXPECT_FALSE(child<QComboBox>(*FormSet, "BaudComboBox")->toolTip().isEmpty());
    FormSet->close();
    EXPECT_TRUE(FormMain->Link().IsNetwork());
    EXPECT_EQ(FormMain->Driver().PortName(), "/dev/pts/7");
    EXPECT_TRUE(folder.iniHolds("Port= gpsd://pi.local "));
}

TEST_F(SettingsDialogTest, UnwritableSettingsFileKeepsTheDialogOpen) {
    ShownForms shown;
    FormMain->SetUp();
    std::filesystem::remove(folder.ini());
    std::filesystem::create_directory(folder.ini());
    MessageBoxCatcher catcher;
    FormSet->close();
    ASSERT_EQ(catcher.boxes().size(), 1u);
    EXPECT_TRUE(catcher.boxes()[0].text.startsWith("Unable to write to "));
    EXPECT_TRUE(FormSet->isVisible());
}

TEST_F(SettingsDialogTest, EndingTheProgramWithTheDialogOpenAppliesNothing) {
    ShownForms shown;
    FormMain->SetUp();
    type(child<QComboBox>(*FormSet, "ComboBox1"), "60");
    FormMain->close();
    EXPECT_EQ(FormMain->Period(), 15);
    EXPECT_FALSE(folder.iniHolds("XSET"));
}

}  // namespace
}  // namespace kem::test
