// The main window on a temporary program folder: settings file use, menu ticks, connection
// control on pseudo-terminals, the fix panel, the raw text window and the shutdown (the map
// sheets deleted at close are checked in MapSheetTest).
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "WindowTestSupport.h"
#include "app/TFormMain.h"
#include "app/TFormSet.h"
#include "base/FileHandle.h"
#include "gps/NmeaDecoder.h"
#include "gps/ReceiverLink.h"
#include "gps/TCommPortDriver.h"
#include "gps/TFormMemo.h"
#include "maps/MapSheet.h"
#include "maps/TFormQTH.h"
#include "sats/TFormSat.h"
#include "tools/kemsim/NmeaSentence.h"
#include "tools/kemsim/SimulatedReceiver.h"

namespace kem::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// kemsim started with the arguments; stopped with the object.
class Kemsim {
public:
    explicit Kemsim(const QStringList& args) {
        m_process.start(QStringLiteral(KEM_PROGRAM_DIR "/kemsim"), args);
        if (!m_process.waitForReadyRead(5000)) {
            throw std::runtime_error("kemsim did not start");
        }
        m_port = m_process.readLine().trimmed().toStdString();
    }
    ~Kemsim() {
        m_process.terminate();
        m_process.waitForFinished(3000);
    }
    const std::string& port() const { return m_port; }

private:
    QProcess m_process;
    std::string m_port;
};

class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureApplication(); }

    // The whole status text: shown, or in the tooltip when the field shows it shortened.
    QString status() const {
        const QLabel* field = child<QLabel>(*FormMain, "Panel0");
        return field->toolTip().isEmpty() ? field->text() : field->toolTip();
    }
    bool connectButtonDown() const {
        return child<QToolButton>(*FormMain, "btConnect")->isChecked();
    }
    bool disconnectButtonDown() const {
        return child<QToolButton>(*FormMain, "btDisconnect")->isChecked();
    }
    void feed(const std::string& bytes) { FormMain->cpDrvReceiveData(bytes.data(), bytes.size()); }
    void connectTo(const PseudoTerminal& pty) {
        FormMain->Driver().SetPortName("/dev/" + pty.portName());
        child<QToolButton>(*FormMain, "btConnect")->click();
    }

    ProgramFolder folder;
};

TEST_F(MainWindowTest, FirstStartUsesDefaultsAndStoresLogAtOnceAndPlaceAtClose) {
    std::optional<ShownForms> shown(std::in_place);
    TFormMain& main = *FormMain;
    EXPECT_FALSE(child<QFrame>(main, "Panel5")->font().bold());
    EXPECT_FALSE(child<QAction>(main, "MBold")->isChecked());
    EXPECT_FALSE(child<QAction>(main, "MLog")->isChecked());
    EXPECT_FALSE(child<QAction>(main, "MAutoMap")->isChecked());
    EXPECT_EQ(main.Period(), 15);
    EXPECT_EQ(main.Radius(), 3);
    EXPECT_EQ(main.Driver().PortName(), "/dev/ttyUSB0");
    EXPECT_FALSE(main.Driver().Connected());
    EXPECT_TRUE(disconnectButtonDown());
    EXPECT_TRUE(fs::exists(folder.path() / "EKSPEDICIJOS/Log.txt"));

    EXPECT_TRUE(folder.iniHolds("[SETTINGS]"));
    EXPECT_TRUE(folder.iniHolds("Log=0"));
    EXPECT_FALSE(folder.iniHolds("YMain"));

    EXPECT_TRUE(status().isEmpty());
    EXPECT_TRUE(waitUntil([&] { return status() == "Neprijungta"; }));

    main.close();
    EXPECT_TRUE(folder.iniHolds("YMain="));
    EXPECT_TRUE(folder.iniHolds("XMain="));
    EXPECT_TRUE(folder.iniHolds("Period=15"));
}

TEST_F(MainWindowTest, StartUpCreatesTheLogOnlyWhenMissing) {
    std::ofstream(folder.path() / "EKSPEDICIJOS/Log.txt") << "kept";
    {
        ShownForms shown;
        EXPECT_TRUE(folder.iniHolds("Log=0"));
    }
    std::ifstream log(folder.path() / "EKSPEDICIJOS/Log.txt");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(log), {}), "kept");

    fs::remove_all(folder.path() / "EKSPEDICIJOS");
    MessageBoxCatcher catcher;
    ShownForms shown;  // the error box, then the program runs on without a log
    ASSERT_EQ(catcher.boxes().size(), 1u);
    EXPECT_TRUE(catcher.boxes()[0].text.startsWith("Unable to create "));
    EXPECT_TRUE(catcher.boxes()[0].text.endsWith("No such file or directory."));
    EXPECT_EQ(FormMain->Driver().PortName(), "/dev/ttyUSB0");
}

TEST_F(MainWindowTest, ReadOnlySettingsAtStartUpAreAllReadAndAppliedBeforeTheBox) {
    folder.writeIni("[SETTINGS]\r\nPort=pts/9\r\nBaud=0\r\nPeriod=5\r\nRadius=4\r\nLog=1\r\n");
    fs::permissions(folder.ini(), fs::perms::owner_read | fs::perms::group_read);
    MessageBoxCatcher catcher;
    ShownForms shown;
    ASSERT_EQ(catcher.boxes().size(), 1u);
    EXPECT_TRUE(catcher.boxes()[0].text.startsWith("Unable to write to "));
    EXPECT_EQ(FormMain->Driver().PortName(), "/dev/pts/9");
    EXPECT_TRUE(FormMain->Driver().AutoBaud());
    EXPECT_EQ(FormMain->Period(), 5);
    EXPECT_EQ(FormMain->Radius(), 4);
    EXPECT_TRUE(fs::exists(folder.path() / "EKSPEDICIJOS/Log.txt"));
}

TEST_F(MainWindowTest, StoredSettingsAreReadWithTheirMalformedValueRules) {
    struct Case {
        const char* name;
        const char* ini;
        bool bold;
        int period;
        int radius;
        bool log;
        int baud;  // 0: hunt
    };
    const Case cases[] = {
        {"exact Bold", "[SETTINGS]\nFont=Bold\nBaud=0\n", true, 15, 3, false, 0},
        {"lower-case bold", "[settings]\nFont=bold\nbaud=9600\n", false, 15, 3, false, 9600},
        {"hex period", "[SETTINGS]\nPeriod=0x1E\nRadius=5\nLog=7\nBaud=0x9600\n", false, 30, 5,
         true, 0x9600},
        {"garbage", "[SETTINGS]\nPeriod=abc\nRadius=\nLog=yes\nBaud=fast\n", false, 15, 3, false,
         4800},
        {"negative rate", "[SETTINGS]\nBaud=-1\n", false, 15, 3, false, 4800},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        folder.writeIni(c.ini);
        ShownForms shown;
        EXPECT_EQ(child<QFrame>(*FormMain, "Panel5")->font().bold(), c.bold);
        EXPECT_EQ(child<QLabel>(*FormMain, "edLat")->font().bold(), c.bold);
        EXPECT_EQ(child<QAction>(*FormMain, "MBold")->isChecked(), c.bold);
        EXPECT_EQ(FormMain->Period(), c.period);
        EXPECT_EQ(FormMain->Decoder()->Period(), c.period);
        EXPECT_EQ(FormMain->Radius(), c.radius);
        EXPECT_EQ(child<QAction>(*FormMain, "MLog")->isChecked(), c.log);
        EXPECT_EQ(FormMain->Driver().AutoBaud(), c.baud == 0);
        EXPECT_EQ(FormMain->Driver().BaudRateValue(),
                  c.baud == 0 ? 4800u : static_cast<std::uint32_t>(c.baud));
    }
}

TEST_F(MainWindowTest, TicksAreWrittenTheMomentTheyChange) {
    ShownForms shown;
    TFormMain& main = *FormMain;
    child<QAction>(main, "MLog")->trigger();
    EXPECT_TRUE(folder.iniHolds("Log=1"));
    child<QAction>(main, "MAutoMap")->trigger();
    EXPECT_TRUE(folder.iniHolds("AutoMap=1"));

    child<QAction>(main, "MBold")->trigger();
    EXPECT_TRUE(folder.iniHolds("Font=Bold"));
    EXPECT_TRUE(child<QLabel>(main, "edSpeed")->font().bold());
    EXPECT_FALSE(child<QToolButton>(main, "btConnect")
                     ->font()
                     .bold());  // only the eight value fields change
    child<QAction>(main, "MBold")->trigger();
    EXPECT_TRUE(folder.iniHolds("Font=Normal"));
    EXPECT_FALSE(child<QLabel>(main, "edSpeed")->font().bold());
}

TEST_F(MainWindowTest, ConnectThenEveryWayOfDisconnecting) {
    struct Case {
        const char* name;
        std::function<void(PseudoTerminal&)> disconnect;
    } const cases[] = {
        {"Atjungti",
         [](PseudoTerminal&) { child<QToolButton>(*FormMain, "btDisconnect")->click(); }},
        {"opening Nustatymai",
         [](PseudoTerminal&) { emit child<QMenu>(*FormMain, "MSetUp")->aboutToShow(); }},
        {"receiver hang-up", [](PseudoTerminal& pty) { pty.closeMaster(); }},
        {"opening the QTH calculator",
         [](PseudoTerminal&) {
             bool shown = false;
             QTimer::singleShot(0, FormQTH, [&shown] {
                 shown = FormQTH->isVisible();
                 FormQTH->reject();
             });
             child<QAction>(*FormMain, "MQTH")->trigger();
             EXPECT_TRUE(shown);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PseudoTerminal pty;
        ShownForms shown;
        waitUntil([&] { return status() == "Neprijungta"; });
        connectTo(pty);
        EXPECT_TRUE(FormMain->Driver().Connected());
        EXPECT_TRUE(connectButtonDown());
        EXPECT_FALSE(disconnectButtonDown());
        EXPECT_EQ(status(), "Neprijungta");  // one second later, not at once
        EXPECT_TRUE(waitUntil([&] {
            return status() == "Prijungta prie " + QString::fromStdString(pty.portName());
        }));
        child<QToolButton>(*FormMain, "btConnect")->click();  // pressing it again keeps it down
        EXPECT_TRUE(connectButtonDown());
        EXPECT_TRUE(FormMain->Driver().Connected());

        c.disconnect(pty);
        EXPECT_TRUE(waitUntil([&] { return !FormMain->Driver().Connected(); }));
        EXPECT_TRUE(disconnectButtonDown());
        EXPECT_FALSE(connectButtonDown());
        EXPECT_TRUE(waitUntil([&] { return status() == "Neprijungta"; }));
    }
}

TEST_F(MainWindowTest, LongPortNameIsElidedWithTheWholeStatusAsTooltip) {
    PseudoTerminal pty;
    // A by-id link as udev makes them, here in the test's folder (reached from /dev/).
    const fs::path link =
        folder.path() / "usb-u-blox_AG_-_www.u-blox.com_u-blox_7_-_GPS_GNSS_Receiver-if00";
    fs::create_symlink("/dev/" + pty.portName(), link);
    const std::string port = ".." + link.string();
    ShownForms shown;
    FormMain->Driver().SetPortName("/dev/" + port);
    child<QToolButton>(*FormMain, "btConnect")->click();
    ASSERT_TRUE(FormMain->Driver().Connected());
    const auto* panel = child<QLabel>(*FormMain, "Panel0");
    EXPECT_TRUE(waitUntil(
        [&] { return panel->toolTip() == "Prijungta prie " + QString::fromStdString(port); }));
    EXPECT_TRUE(panel->text().startsWith("Prijungta"));
    EXPECT_LE(panel->fontMetrics().horizontalAdvance(panel->text()), panel->contentsRect().width());

    child<QToolButton>(*FormMain, "btDisconnect")->click();
    EXPECT_TRUE(waitUntil([&] { return status() == "Neprijungta"; }));
    EXPECT_TRUE(panel->toolTip().isEmpty());
}

TEST_F(MainWindowTest, ReenablingTheRunningStatusTimerDoesNotRestartIt) {
    PseudoTerminal pty;
    ShownForms shown;
    waitUntil([&] { return status() == "Neprijungta"; });
    connectTo(pty);
    spin(400ms);
    child<QToolButton>(*FormMain, "btDisconnect")
        ->click();  // within the second: the timer keeps its first deadline
    ASSERT_TRUE(child<QTimer>(*FormMain, "Timer1")->isActive());
    // 600 ms left, plus up to 5 % slack of a coarse timer; a restart would leave about 1000.
    EXPECT_LE(child<QTimer>(*FormMain, "Timer1")->remainingTime(), 700);
    EXPECT_TRUE(waitUntil([&] { return !child<QTimer>(*FormMain, "Timer1")->isActive(); }));
    EXPECT_EQ(status(), "Neprijungta");
}

TEST_F(MainWindowTest, RefusedConnectionShowsKlaidaWithTheReasonAndKeepsTheStatus) {
    PseudoTerminal pty;
    const std::string held = "/dev/" + pty.portName();
    QProcess holder;  // another program on the port
    holder.start(KEM_PORT_PROBE, {"--hold", QString::fromStdString(held)});
    ASSERT_TRUE(holder.waitForReadyRead(5000));
    ASSERT_EQ(holder.readLine(), "connected\n");
    sockaddr_in bound{};  // nothing listens there once the socket is closed
    bound.sin_family = AF_INET;
    bound.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    {
        const FileHandle socket(::socket(AF_INET, SOCK_STREAM, 0));
        socklen_t length = sizeof bound;
        ASSERT_EQ(::bind(socket.Get(), reinterpret_cast<sockaddr*>(&bound), length), 0);
        ::getsockname(socket.Get(), reinterpret_cast<sockaddr*>(&bound), &length);
    }
    const auto closedPort = ntohs(bound.sin_port);
    const std::string closed = "127.0.0.1:" + std::to_string(closedPort);
    const std::string serial = "Negalima prijungti prie COM.\nPatikrinkite nustatymus.\n";
    struct Case {
        std::string port;
        std::string text;
    } const cases[] = {
        {"kemgps-no-such-port", serial + "Įrenginys /dev/kemgps-no-such-port nerastas."},
        {held.substr(5), serial + "Įrenginį " + held + " naudoja kita programa."},
        {"tcp://" + closed, "Negalima prisijungti prie tcp://" + closed + ".\n" + closed +
                                " atmetė prisijungimą: ten neveikia joks serveris."},
        {"gpsd://no-such-host.invalid",
         "Negalima prisijungti prie gpsd (no-such-host.invalid).\nKompiuteris "
         "„no-such-host.invalid“ nerastas."},
        {"tcp://phone",
         "Netinkamas adresas „tcp://phone“: tcp://KOMPIUTERIS:PRIEVADAS, "
         "prievadas 1–65535."},
    };
    ShownForms shown;
    waitUntil([&] { return status() == "Neprijungta"; });
    for (const auto& c : cases) {
        SCOPED_TRACE(c.port);
        FormMain->Link().SetPortText(c.port);
        int bothDown = 0;
        MessageBoxCatcher catcher(
            [&] { bothDown += connectButtonDown() && disconnectButtonDown(); });
        child<QToolButton>(*FormMain, "btConnect")->click();
        ASSERT_EQ(catcher.boxes().size(), 1u);
        EXPECT_EQ(bothDown, 0);  // one group: never both down, not even behind the box
        const auto& box = catcher.boxes().front();
        EXPECT_EQ(box.title, "Klaida");
        EXPECT_EQ(box.text, QString::fromStdString(c.text));
        EXPECT_EQ(box.buttons, QStringList{"OK"});
        EXPECT_TRUE(box.errorIcon);
        EXPECT_FALSE(connectButtonDown());
        EXPECT_TRUE(disconnectButtonDown());
        EXPECT_FALSE(child<QTimer>(*FormMain, "Timer1")->isActive());
    }
    spin(1200ms);
    EXPECT_EQ(status(), "Neprijungta");
    holder.closeWriteChannel();
    holder.waitForFinished(5000);
}

TEST_F(MainWindowTest, FixFromTheReceiverFillsThePanel) {
    PseudoTerminal pty;
    ShownForms shown;
    TFormMain& main = *FormMain;
    EXPECT_EQ(child<QLabel>(main, "edPrec")->palette().color(QPalette::Base), QColor(255, 0, 0));
    connectTo(pty);
    pty.write(
        "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n"
        "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n"
        "$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39\r\n");
    ASSERT_TRUE(waitUntil([&] { return !child<QLabel>(main, "edPrec")->text().isEmpty(); }));
    const QString sep = QString(QChar(main.DecimalSeparator()));
    EXPECT_EQ(child<QLabel>(main, "pnDateTime")->text(), "1994.03.23  12:35:19 UTC");
    EXPECT_EQ(child<QLabel>(main, "edSpeed")->text(), "41" + sep + "5");
    EXPECT_EQ(child<QLabel>(main, "edLastTime")->text(), "12:35:19");
    EXPECT_EQ(child<QLabel>(main, "edLat")->text(), "48°07' 01\" N");
    EXPECT_EQ(child<QLabel>(main, "edLong")->text(), "11°31' 00\" E");
    EXPECT_EQ(child<QLabel>(main, "edH1")->text(), "545" + sep + "4 m");
    EXPECT_EQ(child<QLabel>(main, "edH2")->text(), "46" + sep + "9 m");
    EXPECT_EQ(child<QLabel>(main, "edSat")->text(), "8");
    EXPECT_EQ(child<QLabel>(main, "edPrec")->text(), "3D");
    EXPECT_NE(child<QLabel>(main, "edPrec")->palette().color(QPalette::Base), QColor(255, 0, 0));

    pty.write("$GPGSA,A,1,,,,,,,,,,,,,,,*1E\r\n");
    ASSERT_TRUE(waitUntil([&] { return child<QLabel>(main, "edPrec")->text().isEmpty(); }));
    EXPECT_EQ(child<QLabel>(main, "edPrec")->palette().color(QPalette::Base), QColor(255, 0, 0));
}

TEST_F(MainWindowTest, FixFromKemsimReachesAllEightFieldsAndTheDate) {
    const Kemsim kemsim({"--speed", "10"});
    ShownForms shown;
    TFormMain& main = *FormMain;
    main.Driver().SetPortName("/dev/" + kemsim.port());
    child<QToolButton>(main, "btConnect")->click();
    ASSERT_TRUE(main.Driver().Connected());
    QLabel* const fields[] = {child<QLabel>(main, "edPrec"),     child<QLabel>(main, "edSat"),
                              child<QLabel>(main, "edLastTime"), child<QLabel>(main, "edLat"),
                              child<QLabel>(main, "edLong"),     child<QLabel>(main, "edH1"),
                              child<QLabel>(main, "edH2"),       child<QLabel>(main, "edSpeed"),
                              child<QLabel>(main, "pnDateTime")};
    EXPECT_TRUE(waitUntil(
        [&] {
            return child<QLabel>(main, "edPrec")->text() == "3D" &&
                   std::all_of(std::begin(fields), std::end(fields),
                               [](QLabel* f) { return !f->text().isEmpty(); });
        },
        10s));
    EXPECT_TRUE(child<QLabel>(main, "edLat")->text().endsWith("\" N"));
    EXPECT_TRUE(child<QLabel>(main, "edLong")->text().endsWith("\" E"));
    EXPECT_TRUE(child<QLabel>(main, "pnDateTime")->text().endsWith(" UTC"));
}

TEST_F(MainWindowTest, AutoFindsAMultiConstellationReceiverAt38400) {
    folder.writeIni("[SETTINGS]\nBaud=0\n");
    const Kemsim kemsim({"--speed", "4", "--baud", "38400", "--talker", "GN"});
    ShownForms shown;
    FormMain->Driver().SetPortName("/dev/" + kemsim.port());
    child<QToolButton>(*FormMain, "btConnect")->click();
    EXPECT_EQ(child<QLabel>(*FormMain, "Panel0")->text(), "Ieškoma: 4800 bd");
    EXPECT_TRUE(waitUntil(
        [&] {
            return status() ==
                   QString::fromStdString("Prijungta prie " + kemsim.port() + ", 38400");
        },
        10s));
    // Shortened in the middle, the field keeps the rate in view.
    EXPECT_TRUE(child<QLabel>(*FormMain, "Panel0")->text().endsWith(", 38400"));
    EXPECT_TRUE(waitUntil([&] { return child<QLabel>(*FormMain, "edPrec")->text() == "3D"; }));
    EXPECT_TRUE(child<QLabel>(*FormMain, "edLat")->text().endsWith("\" N"));
    // Applying the dialog with "Auto" again, or with the rate found, does not hunt anew.
    for (const char* baud : {"Auto", "38400"}) {
        FormMain->SetUp();
        child<QComboBox>(*FormSet, "BaudComboBox")->lineEdit()->setText(baud);
        child<QPushButton>(*FormSet, "btApply")->click();
        EXPECT_FALSE(FormMain->Driver().Hunting()) << baud;
        EXPECT_EQ(FormMain->Driver().BaudRateValue(), 38400u);
    }
}

TEST_F(MainWindowTest, AFixedWrongRateShowsGarbageAndNoFix) {
    const Kemsim kemsim({"--speed", "4", "--baud", "9600"});
    ShownForms shown;
    child<QAction>(*FormMain, "MGPS")->trigger();
    FormMain->Driver().SetPortName("/dev/" + kemsim.port());
    child<QToolButton>(*FormMain, "btConnect")->click();
    ASSERT_TRUE(FormMain->Driver().Connected());
    EXPECT_TRUE(waitUntil([&] { return FormMemo->lineCount() >= 10; }, 5s));
    const QString text = child<QPlainTextEdit>(*FormMemo, "InMemo")->toPlainText();
    EXPECT_FALSE(text.contains('$')) << text.toStdString();
    for (const char* field : {"edPrec", "edLastTime", "edLat", "edLong", "edSpeed", "pnDateTime"}) {
        EXPECT_EQ(child<QLabel>(*FormMain, field)->text(), "") << field;
    }
    EXPECT_TRUE(waitUntil(
        [&] { return status() == QString::fromStdString("Prijungta prie " + kemsim.port()); }));
}

// The same drive from a GPS receiver, a multi-constellation one and one that sends each fix from
// both talkers: the same fix panel, log and map.
TEST_F(MainWindowTest, GnssTalkersGiveTheSamePanelLogAndMapAsGps) {
    struct Result {
        std::string log;
        QStringList panel;
        QImage map;
    };
    const kemsim::SimulatedReceiver receiver(1765000000);  // 2025-12-06 05:46:40 UTC
    auto drive = [&](const std::vector<std::string>& talkers) {
        folder.writeIni("[SETTINGS]\nLog=1\nPeriod=1\n");
        fs::remove(folder.path() / "EKSPEDICIJOS/Log.txt");
        PseudoTerminal pty;
        ShownForms shown;
        connectTo(pty);
        for (std::int64_t second = 0; second < 12; ++second) {
            std::string bytes;
            for (const auto& line : kemsim::WithTalkers(receiver.Second(second), talkers)) {
                bytes += line;
            }
            pty.write(bytes);
            // GGA field 1, hhmmss.00, shown as hh:mm:ss
            std::string time = bytes.substr(bytes.find("GGA,") + 4, 6);
            time.insert(4, 1, ':').insert(2, 1, ':');
            EXPECT_TRUE(waitUntil([&] { return FormMain->Decoder()->Fix().TimeText == time; }));
        }
        spin(300ms);
        Result result;
        for (const char* field : {"edPrec", "edSat", "edLastTime", "edLat", "edLong", "edH1",
                                  "edH2", "edSpeed", "pnDateTime"}) {
            result.panel.append(child<QLabel>(*FormMain, field)->text());
        }
        result.map = FormMain->Sheet().Picture();
        std::ifstream log(folder.path() / "EKSPEDICIJOS/Log.txt", std::ios::binary);
        result.log.assign(std::istreambuf_iterator<char>(log), {});
        return result;
    };
    const Result gps = drive({"GP"});
    EXPECT_EQ(std::count(gps.log.begin(), gps.log.end(), '\n'), 8);  // seconds 4 to 11 have a fix
    EXPECT_EQ(gps.panel.front(), "3D");
    for (const auto& talkers :
         {std::vector<std::string>{"GN"}, std::vector<std::string>{"GP", "GN"}}) {
        SCOPED_TRACE(talkers.back() + std::to_string(talkers.size()));
        const Result other = drive(talkers);
        EXPECT_EQ(other.log, gps.log);
        EXPECT_EQ(other.panel, gps.panel);
        EXPECT_TRUE(other.map == gps.map);
    }
}

TEST_F(MainWindowTest, ClearingTheSatelliteWindowRestartsTheSkyPlotCadence) {
    ShownForms shown;
    child<QAction>(*FormMain, "MSat")->trigger();
    ASSERT_TRUE(FormSat->isVisible());
    const std::string cycle =
        "$GPGSV,1,1,04,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45*7C\r\n";
    feed(cycle + cycle);
    EXPECT_EQ(FormMain->Decoder()->SatCycleCounter(), 2);
    child<QToolButton>(*FormSat, "btClear")->click();
    EXPECT_EQ(FormMain->Decoder()->SatCycleCounter(), 0);
}

TEST_F(MainWindowTest, RawTextWindowEchoesWhileVisibleAndClearsPast200Lines) {
    ShownForms shown;
    auto lines = [](int n) {
        std::string text;
        for (int i = 0; i < n; ++i) {
            text += "$GPTXT,line " + std::to_string(i) + "\r\n";
        }
        return text;
    };
    feed(lines(3));  // hidden: nothing kept for later
    child<QAction>(*FormMain, "MGPS")->trigger();
    ASSERT_TRUE(FormMemo->isVisible());
    EXPECT_EQ(FormMemo->lineCount(), 0);

    feed("$GPGGA,partial");
    feed("\r\n\r\n");  // the completed sentence and an empty line
    EXPECT_EQ(child<QPlainTextEdit>(*FormMemo, "InMemo")->toPlainText(), "$GPGGA,partial\n");
    feed(lines(198));
    EXPECT_EQ(FormMemo->lineCount(), 200);
    feed(lines(1));
    EXPECT_EQ(FormMemo->lineCount(), 0);
    EXPECT_TRUE(child<QPlainTextEdit>(*FormMemo, "InMemo")->toPlainText().isEmpty());
    feed(lines(250));  // one batch into an empty window: appended, then cleared
    EXPECT_TRUE(child<QPlainTextEdit>(*FormMemo, "InMemo")->toPlainText().isEmpty());

    child<QAction>(*FormMain, "MGPS")->trigger();
    EXPECT_FALSE(FormMemo->isVisible());
}

TEST_F(MainWindowTest, ErrorEscapingAnEventHandlerReachesTheStandardErrorBox) {
    struct Throwing : QObject {
        bool event(QEvent*) override { throw std::runtime_error("Disk 7 is gone"); }
    } receiver;
    MessageBoxCatcher catcher;
    QEvent event(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&receiver, &event));
    ASSERT_EQ(catcher.boxes().size(), 1u);
    EXPECT_EQ(catcher.boxes()[0].title, "KEM GPS");
    EXPECT_EQ(catcher.boxes()[0].text, "Disk 7 is gone.");
    EXPECT_TRUE(catcher.boxes()[0].errorIcon);
}

TEST_F(MainWindowTest, UnwritableSettingsFileShowsTheErrorAndStillEnds) {
    ShownForms shown;
    // A folder in the file's place cannot be replaced by a file, whatever the user's rights.
    fs::remove(folder.ini());
    fs::create_directory(folder.ini());
    MessageBoxCatcher catcher;
    child<QAction>(*FormMain, "MLog")->trigger();
    ASSERT_EQ(catcher.boxes().size(), 1u);
    EXPECT_EQ(catcher.boxes()[0].title, "KEM GPS");
    EXPECT_EQ(catcher.boxes()[0].text,
              QString::fromStdString("Unable to write to " + folder.ini().string() + "."));

    EXPECT_TRUE(FormMain->close());
    EXPECT_EQ(catcher.boxes().size(), 2u);
    EXPECT_EQ(FormMain->Decoder(), nullptr);
    feed("$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n");
}

}  // namespace
}  // namespace kem::test
