// KEMGPS killed (SIGKILL, as a crash or a dead battery would stop it) at random moments of a
// drive with the log and automatic saving on, many of them while it unpacks a sheet, and started
// again each time. After every kill: no bitmap under a final name that is not whole, every log
// line whole, every saved map a readable sheet; after every restart the sheet of the square the
// receiver stands in. Not part of `make test`: `make crash-test` (KEM_CRASH_KILLS kills).

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <thread>

#include "tests/e2e/Sessions.h"
#include "tests/e2e/StandingReceiver.h"

namespace kem::e2e {
namespace {

// Squares along the coast and the lagoon: each sheet has water of its own shape, so the shown
// sheet is told from the others by its pixels.
const std::vector<std::string> kSquares = {"C01", "D01", "E01", "F01", "F02", "G01",
                                           "G02", "H00", "H02", "I02", "J00", "J01"};

struct Counts {
    int kills = 0;
    int duringUnpack = 0;      // a half-unpacked sheet lay in its hidden folder at the kill
    int withBoxOpen = 0;       // the damaged archive's warning box was open
    int bitmapsChecked = 0;    // unpacked sheets under their final names, all whole
    int savedMapsChecked = 0;  // saved expedition maps, all whole
    int logLines = 0;
    int restartsShowingTheRightSheet = 0;
};

int killsWanted() {
    const char* chosen = std::getenv("KEM_CRASH_KILLS");
    return chosen != nullptr && std::atoi(chosen) > 0 ? std::atoi(chosen) : 50;
}

// Watches the map folder for the hidden folder an unpacking starts in.
class UnpackWatch {
public:
    explicit UnpackWatch(const fs::path& folder) : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        inotify_add_watch(m_fd, folder.c_str(), IN_CREATE);
    }
    ~UnpackWatch() { ::close(m_fd); }
    // Forgets the unpackings seen so far.
    void Drain() {
        char buffer[4096];
        while (::read(m_fd, buffer, sizeof buffer) > 0) {
        }
    }
    // Waits until an unpacking starts; false when none does within the timeout.
    bool Started(std::chrono::milliseconds timeout) {
        return PollFor(
            [&] {
                alignas(inotify_event) char buffer[4096];
                const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
                for (ssize_t at = 0; at < n;) {
                    const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                    if (event->len > 0 && std::string(event->name).starts_with(".unpacking")) {
                        return true;
                    }
                    at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
                }
                return false;
            },
            timeout, 0ms);
    }

private:
    int m_fd;
};

bool isWholeSheet(const fs::path& bitmap) {
    const QImage image = LoadBitmap(bitmap);
    return image.width() == 172 && image.height() == 306;
}

// What a kill may have left: checked and counted; the unpacked sheets are then removed, as a
// clean end would have, so that the next run unpacks again.
void checkAfterKill(const ProgramFolder& folder, Counts& counts) {
    for (const auto& name : ProgramFolder::Names(folder.Maps())) {
        const fs::path path = folder.Maps() / name;
        if (name.starts_with(".unpacking")) {
            ++counts.duringUnpack;
        } else if (name.ends_with(".bmp")) {
            EXPECT_TRUE(isWholeSheet(path)) << "a bitmap that is not whole: " << name;
            ++counts.bitmapsChecked;
            fs::remove(path);
        } else {
            EXPECT_TRUE(name.ends_with(".z")) << "left in the map folder: " << name;
        }
    }
    for (const auto& name : ProgramFolder::Names(folder.Expeditions())) {
        if (name.ends_with(".bmp")) {
            EXPECT_TRUE(isWholeSheet(folder.Expeditions() / name)) << "saved map " << name;
            ++counts.savedMapsChecked;
        }
    }
    const std::string log = ReadFile(folder.Log());
    EXPECT_TRUE(log.empty() || log.ends_with("\r\n")) << "the log ends in a part of a line";
    const auto lines = folder.LogLines();
    for (const auto& line : lines) {
        EXPECT_TRUE(wholeLine(line)) << line;
    }
    counts.logLines = static_cast<int>(lines.size());
}

// The square whose sheet the picture is closest to.
std::string closestSheet(const QImage& picture, const std::map<std::string, QImage>& sheets) {
    std::string best;
    double bestShare = 0;
    for (const auto& [square, sheet] : sheets) {
        if (const double share = SameShare(picture, sheet); share > bestShare) {
            best = square;
            bestShare = share;
        }
    }
    return best;
}

TEST(Crash, KilledAtRandomMomentsKeepsEveryFileWholeAndShowsTheRightSheet) {
    ProgramFolder folder;
    folder.CopyShippedSheets(kSquares);
    std::map<std::string, QImage> sheets;
    for (const auto& square : kSquares) {
        sheets[square] = UnzipBitmap(folder.Maps() / (square + ".z"));
    }
    std::mt19937 random(20261208);
    Counts counts;
    const int kills = killsWanted();
    const int boxKill = kills / 2;
    for (int run = 0; run < kills; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        // Each run stands in one square and then moves on to the next: a first unpacking at its
        // start, a saved map when it leaves.
        const std::string& square = kSquares[run % kSquares.size()];
        const std::string& next = kSquares[(run + 1) % kSquares.size()];
        const fs::path replay = folder.Dir() / "drive.nmea";
        WriteFile(replay, standingAt({MiddleOf(square), MiddleOf(next)}, 12));
        const fs::path archive = folder.Maps() / (square + ".z");
        const std::string intact = ReadFile(archive);
        if (run == boxKill) {
            std::string damaged = intact;
            for (std::size_t i = damaged.size() / 3; i < damaged.size() / 3 + 16; ++i) {
                damaged[i] = static_cast<char>(damaged[i] ^ 0x5A);
            }
            WriteFile(archive, damaged);
        }
        Receiver receiver(folder, {"--wait", "--speed", "2", "--replay", replay.string()});
        folder.WriteSettings(receiver.Port(), {"Period=1", "Log=1", "AutoMap=1"});
        UnpackWatch watch(folder.Maps());
        Program kemgps(folder, KemgpsOptions());
        kemgps.Press("alt+p");

        if (run != boxKill) {
            // The sheet of the square it stands in, unpacked anew after the last kill.
            std::string seen;
            const bool right = WaitUntil(
                [&] {
                    const std::string shown = closestSheet(kemgps.Part(kSheet), sheets);
                    seen += " " + shown;
                    return shown == square;
                },
                10s, 200ms);
            EXPECT_TRUE(right) << "not the sheet of " << square << "; seen:" << seen;
            counts.restartsShowingTheRightSheet += right ? 1 : 0;
        }
        if (run == boxKill) {
            EXPECT_TRUE(Desktop::Get().WaitForWindow(kemgps.Run().Pid(), "^KEM GPS$", Patient(10s)))
                << "no warning box for the damaged archive";
            ++counts.withBoxOpen;
        } else if (run % 2 == 0) {
            // Into the unpacking of the next square, a moment after it starts.
            watch.Drain();
            watch.Started(Patient(10s));
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 300));
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(random() % 2500));
        }
        kemgps.Run().Signal(SIGKILL);
        ASSERT_TRUE(kemgps.End(5s)) << "KEMGPS would not die";
        ++counts.kills;
        checkAfterKill(folder, counts);
        if (run == boxKill) {
            WriteFile(archive, intact);  // the good archive is back for the next start
        }
    }

    // The square of the damaged archive, now good again, shows its real sheet.
    const std::string& square = kSquares[boxKill % kSquares.size()];
    const fs::path replay = folder.Dir() / "drive.nmea";
    WriteFile(replay, standingAt({MiddleOf(square)}, 6));
    Receiver receiver(folder, {"--wait", "--speed", "3", "--replay", replay.string()});
    folder.WriteSettings(receiver.Port(), {"Period=1", "Log=1", "AutoMap=1"});
    Program kemgps(folder, KemgpsOptions());
    kemgps.Press("alt+p");
    EXPECT_TRUE(
        WaitUntil([&] { return closestSheet(kemgps.Part(kSheet), sheets) == square; }, 10s, 200ms))
        << "the repaired square " << square << " does not show its sheet";

    std::printf(
        "kills %d (during an unpacking %d, with the warning box open %d); whole unpacked "
        "sheets %d, saved maps %d, log lines %d (all whole); restarts showing the right "
        "sheet %d\n",
        counts.kills, counts.duringUnpack, counts.withBoxOpen, counts.bitmapsChecked,
        counts.savedMapsChecked, counts.logLines, counts.restartsShowingTheRightSheet);
}

}  // namespace
}  // namespace kem::e2e
