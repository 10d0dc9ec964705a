// A drive recorded with "Įrašyti NMEA" and played back into a second KEMGPS: the recording holds
// exactly the bytes the receiver sent, and the second program's measurement log is the first
// one's, byte for byte.

#include <gtest/gtest.h>

#include "tests/e2e/Sessions.h"

namespace kem::e2e {
namespace {

// Connects, waits until the receiver has sent everything and hung up and until done, quits.
void ReceiveAll(const ProgramFolder& folder, Receiver& receiver, Program& kemgps,
                const std::function<bool()>& done) {
    kemgps.Press("alt+p");  // "&Prijungti"
    EXPECT_TRUE(receiver.Ended(60s));
    EXPECT_TRUE(WaitUntil(done, 20s)) << ReadFile(folder.Log());
    kemgps.Press("alt+b");  // "&Baigti"
    const auto status = kemgps.End();
    ASSERT_TRUE(status && ExitedCleanly(*status)) << kemgps.Run().Output();
}

TEST(RecordReplay, RecordedDrivePlaysBackIntoTheSameLog) {
    ProgramFolder first, second;
    const fs::path sent = first.Dir() / "sent.nmea";
    // Forty seconds of the drive from its first byte, ten times as fast.
    Receiver drive(first, {"--wait", "--speed", "10", "--count", "40", "--tee", sent.string()});
    first.WriteSettings(drive.Port(), {"Period=1", "Log=1"});
    fs::path recording;
    {
        Program kemgps(first, KemgpsOptions());
        kemgps.Press("alt+g");  // "&GPS tekstas"
        const auto memo = Desktop::Get().WaitForWindow(kemgps.Run().Pid(), "^GPS tekstas$");
        ASSERT_TRUE(memo);
        Desktop::Get().Key(*memo, "alt+r");  // "Į&rašyti NMEA", before connecting
        ReceiveAll(first, drive, kemgps, [&] {
            for (const auto& name : ProgramFolder::Names(first.Expeditions())) {
                recording = name.starts_with("NMEA_") ? first.Expeditions() / name : recording;
            }
            return !recording.empty() && fs::file_size(recording) == fs::file_size(sent);
        });
    }
    ASSERT_FALSE(recording.empty()) << "nothing recorded";
    EXPECT_EQ(ReadFile(recording), ReadFile(sent));
    ASSERT_GE(first.LogLines().size(), 30u);

    Receiver replay(second, {"--wait", "--speed", "20", "--replay", recording.string()});
    second.WriteSettings(replay.Port(), {"Period=1", "Log=1"});
    Program kemgps(second, KemgpsOptions());
    ReceiveAll(second, replay, kemgps,
               [&] { return ReadFile(second.Log()) == ReadFile(first.Log()); });
    EXPECT_EQ(ReadFile(second.Log()), ReadFile(first.Log()));
}

}  // namespace
}  // namespace kem::e2e
