// kemsim: a simulated GPS receiver on a pseudo-terminal (or standard output) for trying KEMGPS
// without hardware and for driving the real serial path in tests.

#include "base/FileHandle.h"
#include "tools/kemsim/NmeaSentence.h"
#include "tools/kemsim/Options.h"
#include "tools/kemsim/ReceiverProfile.h"
#include "tools/kemsim/ReplayLog.h"
#include "tools/kemsim/SimulatedReceiver.h"
#include "tools/kemsim/TcpServer.h"
#include "tools/kemsim/Transmitter.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <thread>

using namespace kem::kemsim;

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
// How long the line stays open after the last sentence: a reader polls now and then, and what it
// has not read when the line closes is lost.
constexpr std::chrono::seconds kLinger{1};

// Removed by the signal handler too, so it lives in a fixed buffer.
char g_linkPath[4096];

void removeLink() {
    if (g_linkPath[0] != '\0')
        unlink(g_linkPath);
}

void onTerminate(int) {
    removeLink();
    _exit(0);
}

int fail(const std::string& what) {
    std::cerr << "kemsim: " << what << ": " << std::strerror(errno) << '\n';
    removeLink();
    return kExitFailure;
}

// A pseudo-terminal whose slave passes bytes unchanged; returns the master or -1.
int openPseudoTerminal(std::string& slaveName) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
        return -1;
    slaveName = ptsname(master);
    termios tio{};
    // Termios calls on the master set the slave: raw, so nothing is echoed or translated.
    if (tcgetattr(master, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(master, TCSANOW, &tio);
    }
    return master;
}

// The rate the program on the other side has set the pseudo-terminal to, or 0 when not known.
std::uint32_t readerRate(int master) {
    struct Entry {
        speed_t code;
        std::uint32_t rate;
    };
    static constexpr Entry kSpeeds[] = {
        {B1200, 1200},   {B2400, 2400},   {B4800, 4800},     {B9600, 9600},     {B19200, 19200},
        {B38400, 38400}, {B57600, 57600}, {B115200, 115200}, {B230400, 230400},
    };
    termios tio{};
    if (tcgetattr(master, &tio) != 0)
        return 0;
    const speed_t code = cfgetispeed(&tio);
    for (const auto& e : kSpeeds)
        if (e.code == code)
            return e.rate;
    return 1;  // some other rate: garbage all the same
}

// Waits until a program has opened the pseudo-terminal and cleared its input queue, as a serial
// program does once it has set the line up; packet mode reports that clearing on the master.
bool waitForReader(int master) {
    int on = 1;
    if (ioctl(master, TIOCPKT, &on) != 0)
        return false;
    for (bool flushed = false; !flushed;) {
        pollfd pfd{master, POLLIN | POLLPRI, 0};
        if (poll(&pfd, 1, -1) < 0 && errno != EINTR)
            return false;
        unsigned char packet[256];
        const ssize_t n = read(master, packet, sizeof packet);
        if (n > 0)
            flushed = packet[0] != TIOCPKT_DATA && (packet[0] & TIOCPKT_FLUSHREAD) != 0;
        else if (pfd.revents & POLLHUP)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));  // nobody has it open
    }
    on = 0;
    return ioctl(master, TIOCPKT, &on) == 0;
}

bool makeLink(const std::string& target, const std::string& path) {
    if (path.size() >= sizeof g_linkPath) {
        errno = ENAMETOOLONG;
        return false;
    }
    struct stat st {};
    if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
        unlink(path.c_str());  // left over from an earlier run
    if (symlink(target.c_str(), path.c_str()) != 0)
        return false;
    std::strcpy(g_linkPath, path.c_str());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options = ParseOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::cerr << "kemsim: " << error << "\nTry 'kemsim --help' for more information.\n";
        return kExitUsage;
    }
    if (options->help) {
        std::cout << UsageText();
        return 0;
    }

    std::vector<Second> replay;
    if (!options->replayPath.empty()) {
        std::ifstream log(options->replayPath, std::ios::binary);
        if (!log) {
            std::cerr << "kemsim: cannot read " << options->replayPath << ": "
                      << std::strerror(errno) << '\n';
            return kExitUsage;
        }
        replay = SplitIntoSeconds(log);
    }

    signal(SIGPIPE, SIG_IGN);
    signal(SIGINT, onTerminate);
    signal(SIGTERM, onTerminate);
    signal(SIGHUP, onTerminate);

    int fd = STDOUT_FILENO;
    const bool tcp = options->tcpPort.has_value();
    if (tcp) {
        auto port = static_cast<std::uint16_t>(*options->tcpPort);
        const int listener = ListenOnLoopback(port);
        if (listener < 0)
            return fail("cannot listen on TCP port " + std::to_string(port));
        std::cout << TcpAddress(port) << std::endl;
        std::cerr << "kemsim: simulated receiver on " << TcpAddress(port) << '\n';
        fd = AcceptOneClient(listener);
        if (fd < 0)
            return fail("cannot accept a client");
    } else if (!options->toStdout) {
        std::string slave;
        fd = openPseudoTerminal(slave);
        if (fd < 0)
            return fail("cannot open a pseudo-terminal");
        if (!options->linkPath.empty() && !makeLink(slave, options->linkPath))
            return fail("cannot link " + options->linkPath + " to " + slave);
        // The first line is the port name KEMGPS takes; the rest is for people.
        std::cout << slave.substr(std::strlen("/dev/")) << std::endl;
        std::cerr << "kemsim: simulated receiver on " << slave
                  << (options->linkPath.empty() ? "" : " (" + options->linkPath + ")") << ", "
                  << options->Baud() << " baud\n";
    }

    kem::FileHandle teeFile;
    if (!options->teePath.empty()) {
        teeFile = kem::FileHandle(
            open(options->teePath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
        if (teeFile.Get() < 0)
            return fail("cannot write " + options->teePath);
    }
    if (options->waitForReader && !options->toStdout && !tcp && !waitForReader(fd))
        return fail("cannot watch the pseudo-terminal");

    TransmitSettings settings;
    settings.teeFd = teeFile.Get();
    settings.speed = options->speed;
    settings.split = options->split;
    settings.noise = options->noise;
    settings.dropWhenFull = !options->toStdout && !tcp;
    settings.seed = options->seed ? *options->seed : std::random_device{}();
    settings.baud = options->Baud();
    if (!options->toStdout && !tcp)
        settings.readerRate = [fd] { return readerRate(fd); };
    if (options->hangupAfter)
        settings.hangupAfter = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::duration<double>(*options->hangupAfter));
    Transmitter transmitter(fd, settings);
    const SimulatedReceiver receiver(
        static_cast<std::time_t>(options->start.value_or(std::time(nullptr))));

    auto result = Transmitter::Result::Sent;
    const auto seconds =
        options->replayPath.empty() ? INT64_MAX : static_cast<std::int64_t>(replay.size());
    for (std::int64_t k = 0; k < std::min(seconds, options->count.value_or(INT64_MAX)); ++k) {
        std::vector<std::string> lines;
        if (options->replayPath.empty()) {
            lines = ProfileSecond(options->profile.profile, k, receiver.Second(k));
        } else {
            lines = replay[static_cast<std::size_t>(k)];
            for (auto& line : lines)
                line += "\r\n";
        }
        result = transmitter.SendSecond(WithTalkers(lines, options->talkers));
        if (result != Transmitter::Result::Sent)
            break;
    }
    if (result == Transmitter::Result::OutputFailed)
        return fail("cannot write");
    if (result == Transmitter::Result::HangupTime)
        std::cerr << "kemsim: hung up\n";
    else if (!options->toStdout)
        std::this_thread::sleep_for(kLinger);
    close(fd);
    removeLink();
    return 0;
}
