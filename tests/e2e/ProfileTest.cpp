// kemsim's kinds of receiver through a pseudo-terminal into KEMGPS, checked by what a user sees
// and finds on disk: receivers that send the same drive differently give the same panels, log
// and map; a receiver at the wrong rate or in a binary protocol shows text and no fix; a silent
// one ends a round of "Auto" with the notice; a cold start makes no position step stall.

#include <gtest/gtest.h>

#include <thread>

#include "tests/e2e/Sessions.h"

namespace kem::e2e {
namespace {

constexpr char kDriveStart[] = "1765000000";  // 2025-12-06 05:46:40 UTC, for every run alike
constexpr int kSeconds = 20;

// The fix panel without its buttons (which change when the receiver hangs up), its value fields
// below the mode (where the raw text window, placed over the main window's top, does not reach),
// and the date below the panel.
constexpr QRect kFixPanel{200, 73, 257, 210};
constexpr QRect kFixValues{200, 100, 257, 183};
constexpr QRect kDatePanel{200, 323, 142, 20};

struct Session {
    ProgramFolder folder;
    std::unique_ptr<Receiver> receiver;
    std::unique_ptr<Program> kemgps;
    QImage emptyText;  // the raw text window before any byte arrived

    // kemsim playing a profile for some seconds at ten times its pace, KEMGPS connected to it
    // with a position step on every position sentence and the log on (and the raw text window
    // open before, if asked).
    Session(const std::string& profile, const std::string& baud, int seconds = kSeconds,
            bool showText = false) {
        receiver = std::make_unique<Receiver>(
            folder,
            std::vector<std::string>{"--wait", "--speed", "10", "--count", std::to_string(seconds),
                                     "--start", kDriveStart, "--profile", profile});
        folder.WriteSettings(receiver->Port(), {"Period=1", "Log=1", "Baud=" + baud});
        kemgps = std::make_unique<Program>(folder, KemgpsOptions());
        if (showText) {
            kemgps->Press("alt+g");  // "&GPS tekstas"
            Desktop::Get().WaitForWindow(kemgps->Run().Pid(), "^GPS tekstas$", 5s);
            std::this_thread::sleep_for(300ms);
            emptyText = TextWindow();
        }
        kemgps->Press("alt+p");  // "&Prijungti"
    }

    void Quit() {
        kemgps->Press("alt+b");  // "&Baigti"
        const auto status = kemgps->End();
        ASSERT_TRUE(status) << "KEMGPS did not end";
        EXPECT_TRUE(ExitedCleanly(*status)) << DescribeStatus(*status) << kemgps->Run().Output();
    }

    QImage TextWindow() {
        const auto window = Desktop::Get().Windows(kemgps->Run().Pid(), "^GPS tekstas$").at(0);
        return Desktop::Get().Screenshot().copy(Desktop::Get().Geometry(window));
    }
};

struct Seen {
    std::string log;
    QImage panel, date, sheet;
};

Seen driveWith(const std::string& profile, const std::string& baud) {
    Session s(profile, baud);
    EXPECT_TRUE(s.receiver->Ended(30s)) << profile;
    Seen seen{ReadFile(s.folder.Log()), s.kemgps->Part(kFixPanel), s.kemgps->Part(kDatePanel),
              s.kemgps->Part(kSheet)};
    s.Quit();
    return seen;
}

TEST(Profiles, TwoTalkersAndDualBandShowAndLogWhatAGpsReceiverDoes) {
    const Seen gps = driveWith("gps", "4800");
    // Positions from the fourth second on (2D), one log line each.
    ASSERT_EQ(std::count(gps.log.begin(), gps.log.end(), '\n'), kSeconds - 4) << gps.log;
    for (const auto& [profile, baud] :
         {std::pair{"twotalkers", "9600"}, std::pair{"dualband", "38400"}}) {
        SCOPED_TRACE(profile);
        const Seen seen = driveWith(profile, baud);
        EXPECT_EQ(seen.log, gps.log);
        EXPECT_TRUE(seen.panel == gps.panel) << "fix panel";
        EXPECT_TRUE(seen.date == gps.date) << "date";
        EXPECT_TRUE(seen.sheet == gps.sheet) << "map sheet";
    }
}

// The raw text window open: a receiver at 9600 read at 4800, one talking UBX at its rate, one
// ending its lines in LF alone.
TEST(Profiles, WrongRateBinaryAndLfOnlyShowTextButNoFix) {
    for (const auto& [profile, baud] :
         {std::pair{"gnss", "4800"}, std::pair{"binary", "9600"}, std::pair{"lf", "4800"}}) {
        SCOPED_TRACE(profile);
        Session s(profile, baud, 15, true);
        const QImage before = s.kemgps->Part(kFixValues);
        EXPECT_TRUE(WaitUntil([&] { return s.TextWindow() != s.emptyText; }, 10s)) << "no text";
        EXPECT_TRUE(s.receiver->Ended(20s));
        EXPECT_TRUE(s.kemgps->Part(kFixValues) == before) << "a fix from garbage";
        EXPECT_EQ(ReadFile(s.folder.Log()), "");
        s.Quit();
    }
}

// "Auto" on a receiver that says nothing: after a round of six rates the notice line appears.
TEST(Profiles, SilenceEndsARoundOfAutoWithTheNotice) {
    Session s("silent", "0", 300);
    std::this_thread::sleep_for(5s);
    EXPECT_FALSE(s.kemgps->Taller()) << "a notice before the round ended";
    EXPECT_TRUE(WaitUntil([&] { return s.kemgps->Taller(); }, 10s)) << "no notice";
    s.Quit();
}

// Both talkers send every fix; for ten seconds with empty times, then for six with a frozen time.
// A fix without a time cannot be told from the next, so each such sentence is a step of its own;
// a frozen time names one fix per second, sent twice.
TEST(Profiles, ColdStartGivesOneStepPerFixAndNeverStalls) {
    Session s("coldstart", "9600");
    EXPECT_TRUE(s.receiver->Ended(30s));
    const auto lines = s.folder.LogLines();
    const int emptyTimes = 10 - 4;  // seconds 4 to 9 have a position but no time
    const int frozen = 16 - 10;
    EXPECT_EQ(static_cast<int>(lines.size()), 2 * emptyTimes + frozen + (kSeconds - 16));
    s.Quit();
}

}  // namespace
}  // namespace kem::e2e
