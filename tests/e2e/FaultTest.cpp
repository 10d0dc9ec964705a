// What goes wrong in the field: a receiver unplugged in the middle of a garbled stream, an
// expedition folder that cannot take the saved maps, a broken or read-only settings file, a full
// disk under the log, damaged map archives. KEMGPS never crashes or hangs, shows what it should,
// and keeps every file and log line that was there before. And the square overview that those
// files feed, after a drive.

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <thread>

#include "tests/e2e/Sessions.h"
#include "tests/e2e/StandingReceiver.h"

namespace kem::e2e {
namespace {

const std::vector<std::string> kOldLogLines = {
    "2026.07.01  10:00:00 UTC\t54\xB0"
    "41' 07\" N\t25\xB0"
    "19' 33\" E\t120,5 m\t25,1 m",
    "2026.07.01  10:00:15 UTC\t54\xB0"
    "41' 08\" N\t25\xB0"
    "19' 35\" E\t121,0 m\t25,1 m",
};

void writeOldLog(const ProgramFolder& folder) {
    std::string text;
    for (const auto& line : kOldLogLines) {
        text += line + "\r\n";
    }
    WriteFile(folder.Log(), text);
}

void expectLogKeptAndWhole(const ProgramFolder& folder) {
    const auto lines = folder.LogLines();
    ASSERT_GE(lines.size(), kOldLogLines.size());
    EXPECT_TRUE(std::equal(kOldLogLines.begin(), kOldLogLines.end(), lines.begin()));
    for (const auto& line : lines) {
        EXPECT_TRUE(wholeLine(line)) << line;
    }
    EXPECT_TRUE(ReadFile(folder.Log()).ends_with("\r\n"));
}

void quit(Program& kemgps) {
    kemgps.Press("alt+b");  // "&Baigti"
    kemgps.DismissBoxes("KEM GPS", 0, 1s);
    const auto status = kemgps.End();
    ASSERT_TRUE(status) << "KEMGPS did not end";
    EXPECT_TRUE(ExitedCleanly(*status)) << DescribeStatus(*status) << kemgps.Run().Output();
}

// The time after start-up when the status panel shows "Neprijungta".
constexpr auto kStatusShown = 1500ms;

TEST(Faults, NoisyReceiverUnpluggedMidStream) {
    ProgramFolder folder;
    writeOldLog(folder);
    Receiver receiver(folder, {"--wait", "--noise", "--split", "--seed", "11", "--speed", "10",
                               "--hangup-after", "3"});
    folder.WriteSettings(receiver.Port(), {"Period=1", "Log=1"});
    Program kemgps(folder, KemgpsOptions());
    std::this_thread::sleep_for(kStatusShown);
    const QImage disconnected = kemgps.Part(kStatusPanel);

    kemgps.Press("alt+p");  // "&Prijungti"
    EXPECT_TRUE(WaitUntil([&] { return kemgps.Part(kStatusPanel) != disconnected; }, 5s))
        << "no connection status";
    EXPECT_TRUE(receiver.Ended(20s));
    EXPECT_TRUE(WaitUntil([&] { return kemgps.Part(kStatusPanel) == disconnected; }, 5s))
        << "the status does not say that the receiver is gone";
    const std::size_t logged = folder.LogLines().size();
    EXPECT_GT(logged, kOldLogLines.size() + 10);
    expectLogKeptAndWhole(folder);

    // The port has gone with the receiver: connecting again is refused with the box.
    kemgps.Press("alt+p");
    EXPECT_EQ(kemgps.DismissBoxes("Klaida", 1), 1);
    quit(kemgps);
    EXPECT_EQ(folder.LogLines().size(), logged);
}

// Automatic saving on, but the expedition folder takes no maps: the sheet still moves on to the
// new square, the status line says once why nothing was saved, and nothing there is lost.
TEST(Faults, AutomaticSavingWithoutAWritableExpeditionFolder) {
    struct Case {
        const char* name;
        bool missing;  // else read-only
    };
    for (const Case& c : {Case{"missing", true}, Case{"read-only", false}}) {
        SCOPED_TRACE(c.name);
        if (!c.missing && !CanRunUnprivileged()) {
            GTEST_SKIP() << "a read-only folder needs a run as another user than root, and "
                            "setpriv is missing";
        }
        ProgramFolder folder;
        folder.CopyShippedSheets({"A00", "B00"});
        const fs::path replay = folder.Dir() / "drive.nmea";
        WriteFile(replay, standingAt({kA00, kB00}, 8));
        if (c.missing) {
            fs::remove_all(folder.Expeditions());
        } else {
            writeOldLog(folder);
            folder.GiveAway();
            fs::permissions(folder.Expeditions(), fs::perms::owner_write | fs::perms::group_write,
                            fs::perm_options::remove);
        }
        const bool unprivileged = !c.missing;
        Receiver receiver(folder, {"--wait", "--speed", "4", "--replay", replay.string()},
                          unprivileged);
        folder.WriteSettings(receiver.Port(), {"Period=1", "Log=1", "AutoMap=1"});
        Program kemgps(folder, KemgpsOptions(unprivileged));
        // Without the folder the log file cannot be made at start-up: the error box says so.
        EXPECT_EQ(kemgps.DismissBoxes("KEM GPS", c.missing ? 1 : 0), c.missing ? 1 : 0);
        EXPECT_EQ(kemgps.Size().width(), 467) << "the main window is not of its designed size";

        kemgps.Press("alt+p");
        EXPECT_TRUE(receiver.Ended(30s));
        const QImage b00 = UnzipBitmap(folder.Maps() / "B00.z");
        EXPECT_TRUE(WaitUntil([&] { return SameShare(kemgps.Part(kSheet), b00) > 0.7; }, 10s))
            << "the sheet did not move on to B00";
        EXPECT_GT(CountPixels(kemgps.Part(kSheet), kMarkRed), 0);
        EXPECT_TRUE(kemgps.Taller()) << "no status line";
        EXPECT_EQ(Desktop::Get().Clipboard(), clipboardAt(kB00, 15));
        quit(kemgps);

        if (c.missing) {
            EXPECT_FALSE(fs::exists(folder.Expeditions()));
        } else {
            EXPECT_EQ(ProgramFolder::Names(folder.Expeditions()),
                      std::vector<std::string>{"Log.txt"});
            expectLogKeptAndWhole(folder);
            EXPECT_EQ(folder.LogLines().size(), kOldLogLines.size() + 16);
        }
    }
}

TEST(Faults, BrokenOrReadOnlySettingsFile) {
    // Malformed: values that are no numbers, a section header cut short, stray bytes, a line
    // far too long, and lines of the user's own. The defaults apply (Period 15: a log line for
    // the first and the sixteenth fix) and every line of the user's stays.
    {
        SCOPED_TRACE("malformed");
        ProgramFolder folder;
        const fs::path replay = folder.Dir() / "drive.nmea";
        WriteFile(replay, standingAt({kA00}, 20));
        Receiver receiver(folder, {"--wait", "--speed", "10", "--replay", replay.string()});
        const std::vector<std::string> own = {
            "; the expedition of July",
            "[SETTINGS",
            std::string("stray \x01\x02\xFF bytes", 15),
            "Radius=" + std::string(5000, '9'),
            "[OTHER]",
            "Key=Value",
        };
        std::vector<std::string> lines = {"Period=abc", "Log=1", "AutoMap=maybe", "XMain=0x"};
        lines.insert(lines.end(), own.begin(), own.end());
        folder.WriteSettings(receiver.Port(), lines);
        Program kemgps(folder, KemgpsOptions());
        EXPECT_EQ(kemgps.DismissBoxes("KEM GPS", 0, 1s), 0);
        kemgps.Press("alt+p");
        EXPECT_TRUE(receiver.Ended(30s));
        EXPECT_TRUE(WaitUntil([&] { return folder.LogLines().size() == 2; }, 5s))
            << folder.LogLines().size() << " log lines";
        EXPECT_EQ(Desktop::Get().Clipboard(), clipboardAt(kA00, 15));
        quit(kemgps);
        const std::string after = ReadFile(folder.Settings());
        for (const auto& line : own) {
            EXPECT_NE(after.find(line + "\r\n"), std::string::npos) << line;
        }
        EXPECT_NE(after.find("Period=15"), std::string::npos);
    }
    // Read-only: the start-up and the close cannot store the settings; each says so in the error
    // box, the program still ends, and the file stays as it was.
    {
        SCOPED_TRACE("read-only");
        ProgramFolder folder;
        folder.WriteSettings("pts/0", {"Period=1", "Log=1"});
        fs::permissions(folder.Settings(),
                        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        const std::string before = ReadFile(folder.Settings());
        Program kemgps(folder, KemgpsOptions());
        EXPECT_EQ(kemgps.DismissBoxes("KEM GPS", 1), 1);
        kemgps.Press("alt+b");
        EXPECT_EQ(kemgps.DismissBoxes("KEM GPS", 1), 1);
        const auto status = kemgps.End();
        ASSERT_TRUE(status) << "KEMGPS did not end";
        EXPECT_TRUE(ExitedCleanly(*status)) << DescribeStatus(*status);
        EXPECT_EQ(ReadFile(folder.Settings()), before);
    }
}

// A small tmpfs over EKSPEDICIJOS/, filled up but for a little room for the log.
class FullDisk {
public:
    explicit FullDisk(const fs::path& folder) : m_folder(folder) {
        if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k,mode=0755") != 0) {
            m_error = std::strerror(errno);
            return;
        }
        m_mounted = true;
    }
    ~FullDisk() {
        if (m_mounted) {
            ::umount2(m_folder.c_str(), MNT_DETACH);
        }
    }
    bool Mounted() const { return m_mounted; }
    const std::string& Error() const { return m_error; }
    void Fill() const {
        std::ofstream filler(m_folder / "filler", std::ios::binary);
        const std::string block(512, 'x');
        while (filler.write(block.data(), block.size()) && filler.flush()) {
        }
    }

private:
    fs::path m_folder;
    bool m_mounted = false;
    std::string m_error;
};

// The log meets a full disk: the lines that were there stay, every line is whole, the status
// line says why no more are written, and the position steps go on (the clipboard follows).
TEST(Faults, DiskFullUnderTheLog) {
    ProgramFolder folder;
    FullDisk disk(folder.Expeditions());
    if (!disk.Mounted()) {
        GTEST_SKIP() << "cannot mount a small tmpfs over the expedition folder (it needs root): "
                     << disk.Error();
    }
    writeOldLog(folder);
    disk.Fill();
    const fs::path replay = folder.Dir() / "drive.nmea";
    WriteFile(replay, standingAt({kA00}, 80));
    Receiver receiver(folder, {"--wait", "--speed", "20", "--replay", replay.string()});
    folder.WriteSettings(receiver.Port(), {"Period=1", "Log=1"});
    Program kemgps(folder, KemgpsOptions());
    kemgps.Press("alt+g");  // "&GPS tekstas": the drive is recorded onto the full disk too
    const auto memo = Desktop::Get().WaitForWindow(kemgps.Run().Pid(), "^GPS tekstas$");
    ASSERT_TRUE(memo);
    Desktop::Get().Key(*memo, "alt+r");  // "Į&rašyti NMEA"
    kemgps.Press("alt+p");
    EXPECT_TRUE(receiver.Ended(30s));
    EXPECT_TRUE(WaitUntil([&] { return Desktop::Get().Clipboard() == clipboardAt(kA00, 79); }, 10s))
        << Desktop::Get().Clipboard();
    EXPECT_TRUE(kemgps.Taller()) << "no status line";
    quit(kemgps);
    expectLogKeptAndWhole(folder);
    EXPECT_LT(folder.LogLines().size(), kOldLogLines.size() + 80) << "the disk was not full";
    // The recording on the same disk was made and holds only whole lines.
    const auto names = ProgramFolder::Names(folder.Expeditions());
    const auto recording = std::find_if(
        names.begin(), names.end(), [](const std::string& n) { return n.starts_with("NMEA_"); });
    ASSERT_NE(recording, names.end());
    const std::string recorded = ReadFile(folder.Expeditions() / *recording);
    EXPECT_TRUE(recorded.empty() || recorded.ends_with("\r\n"));
}

// A damaged archive: the extractor's reports are shown, the sheet is white (grid, title and the
// marks), no bitmap is left from it, and the archive stays as it was.
TEST(Faults, DamagedSheetArchive) {
    struct Case {
        const char* name;
        void (*damage)(std::string& archive);
    };
    const Case cases[] = {
        {"truncated", [](std::string& archive) { archive.resize(archive.size() / 2); }},
        {"corrupt",
         [](std::string& archive) {
             for (std::size_t i = archive.size() / 3; i < archive.size() / 3 + 16; ++i) {
                 archive[i] = static_cast<char>(archive[i] ^ 0x5A);
             }
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramFolder folder;
        folder.CopyShippedSheets({"A00"});
        const fs::path archive = folder.Maps() / "A00.z";
        const QImage intact = UnzipBitmap(archive);
        std::string damaged = ReadFile(archive);
        c.damage(damaged);
        WriteFile(archive, damaged);
        const fs::path replay = folder.Dir() / "drive.nmea";
        WriteFile(replay, standingAt({kA00}, 8));
        Receiver receiver(folder, {"--wait", "--speed", "4", "--replay", replay.string()});
        folder.WriteSettings(receiver.Port(), {"Period=1", "Log=1"});
        Program kemgps(folder, KemgpsOptions());
        kemgps.Press("alt+p");
        EXPECT_GE(kemgps.DismissBoxes("KEM GPS", 1, 5s), 1) << "no report of the damage";
        EXPECT_TRUE(receiver.Ended(30s));
        EXPECT_TRUE(
            WaitUntil([&] { return Desktop::Get().Clipboard() == clipboardAt(kA00, 7); }, 10s));
        const QImage sheet = kemgps.Part(kSheet);
        EXPECT_LT(SameShare(sheet, intact), 0.5) << "the damaged sheet is shown";
        EXPECT_GT(CountPixels(sheet, 0xFFFFFFFF), sheet.width() * sheet.height() / 2);
        EXPECT_GT(CountPixels(sheet, kMarkRed), 0);
        EXPECT_EQ(ProgramFolder::Names(folder.Maps()), std::vector<std::string>{"A00.z"});
        quit(kemgps);
        EXPECT_EQ(ReadFile(archive), damaged);
        EXPECT_EQ(ProgramFolder::Names(folder.Maps()), std::vector<std::string>{"A00.z"});
    }
}

// A drive from A00 into B00 over an earlier trip in the log (two lines in K26, worked out by
// hand): the overview opens on the drive, the history holds the trip and the drive's steps, and
// the command line exports it without a window; the log stays as it was written.
TEST(SquareOverview, FollowsTheDriveOverTheLogAndExportsIt) {
    ProgramFolder folder;
    folder.CopyShippedSheets({"A00", "B00"});
    writeOldLog(folder);
    const fs::path replay = folder.Dir() / "drive.nmea";
    WriteFile(replay, standingAt({kA00, kB00}, 8));
    Receiver receiver(folder, {"--wait", "--speed", "4", "--replay", replay.string()});
    folder.WriteSettings(receiver.Port(), {"Period=1"});
    Program kemgps(folder, KemgpsOptions());
    kemgps.Press("alt+p");
    EXPECT_TRUE(receiver.Ended(30s));
    kemgps.Press("alt+k");  // "&Kvadratų apžvalga"
    const auto overview =
        Desktop::Get().WaitForWindow(kemgps.Run().Pid(), "^Kvadrat", 10s);  // ASCII: xdotool
    ASSERT_TRUE(overview) << "no overview window";
    const QImage shot = Desktop::Get().Screenshot().copy(Desktop::Get().Geometry(*overview));
    EXPECT_GT(CountPixels(shot, 0xFFD20000), 20) << "no frame round the current square";
    quit(kemgps);

    const std::string history = ReadFile(folder.Expeditions() / "Kvadratai.txt");
    EXPECT_NE(history.find("\nK26 2026-07-01T10:00:00Z 2026-07-01T10:00:15Z 2\n"),
              std::string::npos)
        << history;
    for (const char* drive : {"A00", "B00"}) {
        const std::size_t line = history.find(std::string("\n") + drive + " ");
        ASSERT_NE(line, std::string::npos) << history;
        EXPECT_EQ(history.substr(history.find('\n', line + 1) - 2, 2), " 8") << history;
    }
    expectLogKeptAndWhole(folder);

    const fs::path csv = folder.Dir() / "squares.csv";
    Process exporter({{(ProgramsUnderTest() / "KEMGPS").string(), "--export-squares", csv.string()},
                      {{"KEMGPS_PROGRAM_DIR", folder.Dir().string()}, {"DISPLAY", ""}},
                      folder.Dir() / "export.out"});
    const auto status = exporter.Wait(20s);
    ASSERT_TRUE(status && ExitedCleanly(*status)) << exporter.Output();
    const std::string rows = ReadFile(csv);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), 4) << rows;
    EXPECT_NE(rows.find("\nA00,KO"), std::string::npos) << rows;
    EXPECT_NE(rows.find(",2026-07-01,2026-07-01,2\n"), std::string::npos) << rows;
}

}  // namespace
}  // namespace kem::e2e
