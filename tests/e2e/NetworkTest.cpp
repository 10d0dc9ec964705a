// KEMGPS reading its receiver over the network: through Debian's gpsd, which holds kemsim's
// pseudo-terminal, and from kemsim serving over TCP as a phone app would. Each way gives the log
// the same stream gives on the serial port, byte for byte; a server that goes away is a hang-up.

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <thread>

#include "base/FileHandle.h"
#include "tests/e2e/Sessions.h"

namespace kem::e2e {
namespace {

// The time after start-up when the status panel shows "Neprijungta".
constexpr auto kStatusShown = 1500ms;

sockaddr_in loopback(std::uint16_t port) {
    return {AF_INET, htons(port), {htonl(INADDR_LOOPBACK)}, {}};
}

// A port nobody listens on now.
std::uint16_t freePort() {
    const FileHandle socket(::socket(AF_INET, SOCK_STREAM, 0));
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    ::bind(socket.Get(), reinterpret_cast<sockaddr*>(&address), length);
    ::getsockname(socket.Get(), reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

bool listening(std::uint16_t port) {
    const FileHandle socket(::socket(AF_INET, SOCK_STREAM, 0));
    const sockaddr_in address = loopback(port);
    return ::connect(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) ==
           0;
}

constexpr const char* kGpsd = "/usr/sbin/gpsd";

// A gpsd of its own, as a user starts it by hand (no system service), reading the receiver on
// the pseudo-terminal.
class Gpsd {
public:
    Gpsd(const ProgramFolder& folder, std::uint16_t port, const std::string& pts) : m_port(port) {
        m_process = std::make_unique<Process>(Process::Options{
            {kGpsd, "-N", "-n", "-b", "-s", "4800", "-S", std::to_string(port), "/dev/" + pts},
            {},
            folder.Dir() / "gpsd.out"});
        if (!WaitUntil([&] { return listening(m_port); }, 10s, 50ms)) {
            throw std::runtime_error("gpsd did not start: " + m_process->Output());
        }
    }
    void Stop() {
        m_process->Signal(SIGTERM);
        m_process->Wait(5s);
    }

private:
    std::uint16_t m_port;
    std::unique_ptr<Process> m_process;
};

void quit(Program& kemgps) {
    kemgps.Press("alt+b");  // "&Baigti"
    const auto status = kemgps.End();
    ASSERT_TRUE(status) << "KEMGPS did not end";
    EXPECT_TRUE(ExitedCleanly(*status)) << DescribeStatus(*status) << kemgps.Run().Output();
}

// Waits until the log has stopped growing for a while.
void awaitQuietLog(const ProgramFolder& folder) {
    std::size_t size = 0;
    int quiet = 0;
    WaitUntil(
        [&] {
            const std::size_t now = ReadFile(folder.Log()).size();
            quiet = now == size ? quiet + 1 : 0;
            size = now;
            return quiet >= 10;
        },
        30s, 200ms);
}

std::string sentence(const std::string& body) {
    unsigned char sum = 0;
    for (const char c : body) {
        sum ^= static_cast<unsigned char>(c);
    }
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", sum);
    return "$" + body + tail;
}

// A drive recorded once, so that every way of receiving it gets the same sentences. gpsd reads
// the receiver from its start and passes its sentences on only once it has recognised them and a
// client watches; the drive starts with seconds without a fix for that time.
fs::path recordDrive(const ProgramFolder& folder) {
    std::string warmUp;
    for (int second = 0; second < 100; ++second) {
        char time[24];
        std::snprintf(time, sizeof time, "00%02d%02d", second / 60, second % 60);
        warmUp += sentence("GPRMC," + std::string(time) + ",V,,,,,,,010126,,,N") +
                  sentence("GPGGA," + std::string(time) + ".00,,,,,0,00,,,,,,,");
    }
    const fs::path file = folder.Dir() / "drive.nmea";
    WriteFile(file,
              warmUp + RunTool({Kemsim().string(), "--stdout", "--speed", "0", "--count", "40"}));
    return file;
}

const std::vector<std::string> kLogOn = {"Period=1", "Log=1"};

// The log the drive gives on the serial port, the reference for the network ways.
std::string serialLog(const fs::path& drive) {
    ProgramFolder folder;
    Receiver receiver(folder, {"--wait", "--speed", "10", "--replay", drive.string()});
    folder.WriteSettings(receiver.Port(), kLogOn);
    Program kemgps(folder, KemgpsOptions());
    kemgps.Press("alt+p");  // "&Prijungti"
    EXPECT_TRUE(receiver.Ended(60s));
    awaitQuietLog(folder);
    quit(kemgps);
    return ReadFile(folder.Log());
}

TEST(Network, GpsdAndATcpServerGiveTheSerialLogAndTheirEndIsAHangup) {
    if (!fs::exists(kGpsd)) {
        GTEST_SKIP() << "gpsd is missing: scripts/install-deps.sh installs it";
    }
    ProgramFolder reference;
    const fs::path drive = recordDrive(reference);
    const std::string expected = serialLog(drive);
    ASSERT_GT(std::count(expected.begin(), expected.end(), '\n'), 20);
    {
        SCOPED_TRACE("tcp");
        ProgramFolder folder;
        Receiver server(folder, {"--tcp", "0", "--speed", "10", "--replay", drive.string()});
        folder.WriteSettings(server.Port(), kLogOn);
        Program kemgps(folder, KemgpsOptions());
        std::this_thread::sleep_for(kStatusShown);
        const QImage disconnected = kemgps.Part(kStatusPanel);
        kemgps.Press("alt+p");  // "&Prijungti"
        EXPECT_TRUE(WaitUntil([&] { return kemgps.Part(kStatusPanel) != disconnected; }, 5s));
        EXPECT_TRUE(server.Ended(60s));
        EXPECT_TRUE(WaitUntil([&] { return kemgps.Part(kStatusPanel) == disconnected; }, 5s))
            << "the server's close is not a hang-up";
        awaitQuietLog(folder);
        EXPECT_EQ(ReadFile(folder.Log()), expected);
        quit(kemgps);
    }
    SCOPED_TRACE("gpsd");
    ProgramFolder folder;
    const std::uint16_t port = freePort();
    folder.WriteSettings("gpsd://localhost:" + std::to_string(port), kLogOn);
    Program kemgps(folder, KemgpsOptions());
    std::this_thread::sleep_for(kStatusShown);
    const QImage disconnected = kemgps.Part(kStatusPanel);
    {
        Receiver receiver(folder, {"--wait", "--speed", "10", "--replay", drive.string()});
        Gpsd gpsd(folder, port, receiver.Port());
        kemgps.Press("alt+p");
        EXPECT_TRUE(receiver.Ended(60s));
        awaitQuietLog(folder);
        EXPECT_EQ(ReadFile(folder.Log()), expected);
        gpsd.Stop();
    }
    {
        // Stopped while its receiver sends.
        Receiver live(folder, {"--wait", "--speed", "4"});
        Gpsd gpsd(folder, port, live.Port());
        kemgps.Press("alt+p");
        const std::size_t before = folder.LogLines().size();
        EXPECT_TRUE(WaitUntil([&] { return folder.LogLines().size() > before + 3; }, 20s));
        gpsd.Stop();
        EXPECT_TRUE(WaitUntil([&] { return kemgps.Part(kStatusPanel) == disconnected; }, 5s))
            << "gpsd's stop mid-stream is not a hang-up";
    }
    quit(kemgps);
}

}  // namespace
}  // namespace kem::e2e
