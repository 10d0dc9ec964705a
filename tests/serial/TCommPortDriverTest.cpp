#include "gps/TCommPortDriver.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

// Every allocation of this test program is counted, so that a test can show a path allocates
// nothing.
static std::atomic<long> g_allocations{0};

void* operator new(std::size_t size) {
    ++g_allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace kem::gps {
namespace {

using namespace std::chrono_literals;

// The master side of a fresh pseudo-terminal; the driver opens the slave by name.
class PseudoTerminal {
public:
    PseudoTerminal() {
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0)
            throw std::runtime_error("no pseudo-terminal");
        // The slave starts in the kernel's cooked mode; the driver must make it raw.
        m_slaveName = ptsname(m_master);
    }
    ~PseudoTerminal() { closeMaster(); }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    const std::string& slaveName() const { return m_slaveName; }

    void write(const std::string& bytes) {
        if (::write(m_master, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
            throw std::runtime_error("short write to pseudo-terminal");
        tcdrain(m_master);
    }

    // The slave's line settings as the driver left them (termios calls on the master act on
    // the slave).
    termios slaveSettings() const {
        termios tio{};
        tcgetattr(m_master, &tio);
        return tio;
    }

    void closeMaster() {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

private:
    int m_master = -1;
    std::string m_slaveName;
};

// Linux's "custom divisor" speed code; glibc's termios.h does not name it.
constexpr speed_t kBother = 0010000;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Gives the pseudo-terminal time to move written bytes to the slave's input queue.
void settle() {
    std::this_thread::sleep_for(30ms);
}

class DriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        // QTimer needs an application object; its event loop runs only where a test asks.
        static int argc = 1;
        static char name[] = "serial_tests";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            new QCoreApplication(argc, argv);
        driver.SetPortName(pty.slaveName());
        driver.OnReceiveData = [this](TCommPortDriver* sender, const char* data,
                                      std::uint32_t size) {
            EXPECT_EQ(sender, &driver);
            chunks.emplace_back(data, size);
            received.append(data, size);
        };
    }

    // Ticks until `bytes` bytes have arrived in total (or two seconds have passed).
    void tickUntil(std::size_t bytes) {
        const auto deadline = std::chrono::steady_clock::now() + 2s;
        while (received.size() < bytes && std::chrono::steady_clock::now() < deadline) {
            driver.PollTick();
            std::this_thread::sleep_for(2ms);
        }
    }

    PseudoTerminal pty;
    TCommPortDriver driver;
    std::vector<std::string> chunks;
    std::string received;
};

TEST(DriverProperties, SetterRules) {
    TCommPortDriver d;
    EXPECT_EQ(d.PortName(), "/dev/ttyS1") << "the default port COM2 names its device";
    d.SetPort(pnCOM3);
    EXPECT_EQ(d.PortName(), "/dev/ttyS2");
    d.SetPortName("/dev/ttyUSB0");
    EXPECT_EQ(d.Port(), pnCustom);
    d.SetPort(pnCustom);
    EXPECT_EQ(d.PortName(), "/dev/ttyUSB0");

    d.SetBaudRate(br4800);
    EXPECT_EQ(d.BaudRateValue(), 4800u);
    d.SetBaudRate(br256000);
    EXPECT_EQ(d.BaudRateValue(), 256000u);
    d.SetBaudRateValue(4800);
    EXPECT_EQ(d.BaudRate(), brCustom);

    d.SetInBufSize(100);
    EXPECT_EQ(d.InBufSize(), 128u);
    d.SetInBufSize(10000);
    EXPECT_EQ(d.InBufSize(), 8192u);
    d.SetOutBufSize(0);
    EXPECT_EQ(d.OutBufSize(), 128u);
    d.SetPollingDelay(0);
    EXPECT_EQ(d.PollingDelay(), 5);

    EXPECT_FALSE(d.ApplyPortSettings());
    EXPECT_FALSE(d.PurgeBuffers(true, true));
    EXPECT_EQ(TCommPortDriver::PlatformName(), "Linux");
    EXPECT_GT(TCommPortDriver::PlatformVersion(), 0u);
}

TEST_F(DriverTest, ReceivesEverythingInOrder) {
    ASSERT_TRUE(driver.Connect());
    ASSERT_TRUE(driver.Connected());
    driver.PollTick();
    EXPECT_TRUE(chunks.empty()) << "an empty queue calls no handler";

    std::mt19937 rng(7);
    std::string sent;
    for (int piece = 0; piece < 40; ++piece) {
        std::string bytes(1 + rng() % 300, '\0');
        for (auto& b : bytes)
            b = static_cast<char>(rng());  // every byte value, NUL and CR included
        pty.write(bytes);
        sent += bytes;
        if (piece % 3 == 0)
            driver.PollTick();
    }
    tickUntil(sent.size());
    EXPECT_EQ(received, sent);
}

TEST_F(DriverTest, TicksDoNotAllocate) {
    ASSERT_TRUE(driver.Connect());
    std::size_t bytes = 0;
    driver.OnReceiveData = [&](TCommPortDriver*, const char*, std::uint32_t size) {
        bytes += size;
    };
    const std::string line =
        "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";
    const long before = g_allocations;
    for (int i = 0; i < 50; ++i) {
        pty.write(line);
        driver.PollTick();
        driver.PollTick();  // often an empty queue
    }
    const long allocations = g_allocations - before;
    EXPECT_GT(bytes, 0u);
    EXPECT_EQ(allocations, 0);
}

TEST_F(DriverTest, RefusesWhatIsNotAnOpenableTerminalAndSaysWhy) {
    struct Case {
        const char* name;
        PortError why;
        const char* text;  // the "Klaida" box's third line
    } const cases[] = {
        {"/dev/kemgps-no-such-port", PortError::Missing,
         "Įrenginys /dev/kemgps-no-such-port nerastas."},
        {"/dev/null", PortError::NotSerial, "/dev/null nėra nuoseklusis prievadas."},
        {"/tmp", PortError::Other, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        driver.SetPortName(c.name);
        EXPECT_FALSE(driver.Connect());
        EXPECT_FALSE(driver.Connected());
        EXPECT_EQ(driver.LastError(), c.why);
        EXPECT_EQ(PortErrorText(driver.LastError(), c.name), c.text);
    }
    driver.SetPortName(pty.slaveName());
    EXPECT_TRUE(driver.Connect());
    EXPECT_EQ(driver.LastError(), PortError::None);
}

TEST_F(DriverTest, ConnectWhileConnectedKeepsThePortAndItsQueue) {
    ASSERT_TRUE(driver.Connect());
    pty.write("$GPGGA,1");
    settle();
    // Reopening would apply the settings again and discard the queued bytes.
    EXPECT_TRUE(driver.Connect());
    tickUntil(8);
    EXPECT_EQ(received, "$GPGGA,1");
}

TEST_F(DriverTest, PortIsExclusive) {
    ASSERT_TRUE(driver.Connect());
    TCommPortDriver second;
    second.SetPortName(pty.slaveName());
    EXPECT_FALSE(second.Connect());
    EXPECT_FALSE(second.Connected());
    EXPECT_EQ(second.LastError(), PortError::Busy);
    EXPECT_TRUE(driver.Connected());

    driver.Disconnect();
    EXPECT_FALSE(driver.Connected());
    EXPECT_TRUE(second.Connect()) << "a closed port can be opened again";
    second.Disconnect();
    EXPECT_TRUE(driver.Connect());
}

TEST_F(DriverTest, PortAndBufferSizesAreFixedWhileConnected) {
    ASSERT_TRUE(driver.Connect());
    driver.SetPortName("/dev/ttyUSB9");
    driver.SetPort(pnCOM4);
    driver.SetInBufSize(4096);
    driver.SetOutBufSize(4096);
    EXPECT_EQ(driver.PortName(), pty.slaveName());
    EXPECT_EQ(driver.Port(), pnCustom);
    EXPECT_EQ(driver.InBufSize(), 2048u);
    EXPECT_EQ(driver.OutBufSize(), 2048u);
}

TEST_F(DriverTest, LineSettingsReachTheDevice) {
    // The defaults on a terminal that starts in cooked mode: 9600 baud, 8N1, raw bytes.
    ASSERT_TRUE(driver.Connect());
    termios t = pty.slaveSettings();
    EXPECT_EQ(cfgetispeed(&t), B9600);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB | CMSPAR | CRTSCTS), 0u);
    EXPECT_NE(t.c_cflag & CREAD, 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u) << "raw mode";
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | ICRNL | INLCR | IGNCR), 0u) << "bytes pass unchanged";
    driver.Disconnect();

    driver.SetBaudRateValue(4800);
    driver.SetHwFlow(hfRTSCTS);
    ASSERT_TRUE(driver.Connect());
    t = pty.slaveSettings();
    EXPECT_EQ(cfgetispeed(&t), B4800);
    EXPECT_NE(t.c_cflag & CRTSCTS, 0u);

    // Changed while connected: applied at once.
    driver.SetStopBits(sb2BITS);
    driver.SetSwFlow(sfXONXOFF);
    driver.SetHwFlow(hfNONE);
    t = pty.slaveSettings();
    EXPECT_NE(t.c_cflag & CSTOPB, 0u);
    EXPECT_EQ(t.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), static_cast<tcflag_t>(IXON | IXOFF));
    EXPECT_EQ(t.c_cc[VSTART], 17);
    EXPECT_EQ(t.c_cc[VSTOP], 19);
    driver.SetBaudRate(br115200);
    EXPECT_EQ(cfgetispeed(&(t = pty.slaveSettings())), B115200);
    driver.SetBaudRate(br14400);  // no standard speed code
    EXPECT_EQ(cfgetispeed(&(t = pty.slaveSettings())), kBother);
}

// A pseudo-terminal carries 8-bit characters without parity only, like a device that refuses
// the other framings.
TEST_F(DriverTest, RefusedSettingsKeepAnOpenPortOpenAndFailAConnect) {
    ASSERT_TRUE(driver.Connect());
    driver.SetParity(ptEVEN);
    EXPECT_TRUE(driver.Connected());
    EXPECT_FALSE(driver.ApplyPortSettings());
    driver.Disconnect();

    TCommPortDriver seven;
    seven.SetPortName(pty.slaveName());
    seven.SetDataBits(db7BITS);
    EXPECT_FALSE(seven.Connect());
    EXPECT_FALSE(seven.Connected());
    EXPECT_EQ(seven.LastError(), PortError::Refused);
    EXPECT_EQ(PortErrorText(seven.LastError(), "/dev/ttyS0"),
              "Įrenginys /dev/ttyS0 nepriima ryšio nustatymų.");
    seven.SetDataBits(db8BITS);
    EXPECT_TRUE(seven.Connect()) << "the failed attempt released the port";
}

// The reasons another program and another user meet, told as the "Klaida" box tells them.
TEST_F(DriverTest, AnotherProgramOrAnotherUserIsToldWhy) {
    QProcess holder;
    holder.start(KEM_PORT_PROBE, {"--hold", QString::fromStdString(pty.slaveName())});
    ASSERT_TRUE(holder.waitForReadyRead(5000));
    ASSERT_EQ(holder.readLine(), "connected\n");
    EXPECT_FALSE(driver.Connect());
    EXPECT_EQ(driver.LastError(), PortError::Busy);
    EXPECT_EQ(PortErrorText(PortError::Busy, pty.slaveName()),
              "Įrenginį " + pty.slaveName() + " naudoja kita programa.");
    // The holder announced itself as minicom and cu do: its process id, ten characters wide.
    const std::string lockPath = "/run/lock/LCK.." + pty.slaveName().substr(9);  // after /dev/pts/
    EXPECT_EQ(readFile(lockPath), QString::asprintf("%10lld\n", holder.processId()).toStdString());
    holder.closeWriteChannel();
    ASSERT_TRUE(holder.waitForFinished(5000));
    EXPECT_TRUE(driver.Connect());
    driver.Disconnect();
    EXPECT_FALSE(std::filesystem::exists(lockPath)) << "the lock goes with the port";

    // A lock file alone: a living owner keeps the port busy, a dead one's lock is stale.
    QProcess owner;
    owner.start("sleep", {"30"});
    ASSERT_TRUE(owner.waitForStarted(5000));
    const std::string ownerLock = QString::asprintf("%10lld\n", owner.processId()).toStdString();
    writeFile(lockPath, ownerLock);
    EXPECT_FALSE(driver.Connect());
    EXPECT_EQ(driver.LastError(), PortError::Busy);
    EXPECT_EQ(readFile(lockPath), ownerLock);
    owner.kill();
    ASSERT_TRUE(owner.waitForFinished(5000));
    EXPECT_TRUE(driver.Connect());
    EXPECT_EQ(readFile(lockPath), QString::asprintf("%10d\n", getpid()).toStdString());
    driver.Disconnect();

    // A program that takes only flock: busy, and the exclusive flag is not left on its port.
    QProcess flocker;
    flocker.start("flock", {"--nonblock", QString::fromStdString(pty.slaveName()), "sleep", "30"});
    ASSERT_TRUE(flocker.waitForStarted(5000));
    std::this_thread::sleep_for(300ms);
    EXPECT_FALSE(driver.Connect());
    EXPECT_EQ(driver.LastError(), PortError::Busy);
    const int slave = open(pty.slaveName().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(slave, 0) << "left exclusive";
    int exclusive = -1;
    EXPECT_EQ(ioctl(slave, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
    close(slave);
    flocker.kill();
    flocker.waitForFinished(5000);

    // Permission checks do not apply to root: the probe then runs as nobody.
    ASSERT_EQ(chmod(pty.slaveName().c_str(), 0), 0);
    std::string command = std::string(KEM_PORT_PROBE) + " " + pty.slaveName();
    if (geteuid() == 0)
        command = "setpriv --reuid=65534 --regid=65534 --clear-groups " + command;
    FILE* probe = popen((command + " 2>&1").c_str(), "r");
    ASSERT_NE(probe, nullptr);
    char line[512] = {};
    const bool answered = std::fgets(line, sizeof line, probe) != nullptr;
    const int status = pclose(probe);
    if (geteuid() == 0 && WEXITSTATUS(status) != 1)
        GTEST_SKIP() << "cannot run as nobody here: " << line;
    ASSERT_TRUE(answered);
    // The device's group as coreutils' stat names it (tty for a pseudo-terminal).
    QProcess stat;
    stat.start("stat", {"-c", "%G", QString::fromStdString(pty.slaveName())});
    ASSERT_TRUE(stat.waitForFinished(5000));
    const std::string group = stat.readAllStandardOutput().trimmed().toStdString();
    EXPECT_EQ(std::string(line), "Prieiga prie " + pty.slaveName() +
                                     " uždrausta: įtraukite naudotoją į grupę " + group +
                                     " ir prisijunkite iš naujo.\n");
}

TEST_F(DriverTest, AutoBaudStartsAtTheFirstRateAndStaysWhereSentencesCome) {
    driver.SetAutoBaud(true);
    int found = 0;
    driver.OnBaudRateFound = [&] {
        EXPECT_TRUE(received.empty()) << "before the bytes are handed on";
        ++found;
    };
    ASSERT_TRUE(driver.Connect());
    termios t = pty.slaveSettings();
    EXPECT_EQ(cfgetispeed(&t), B4800);
    EXPECT_FALSE(driver.BaudRateFound());
    pty.write("$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39\r\n");
    tickUntil(1);
    EXPECT_TRUE(driver.BaudRateFound());
    EXPECT_EQ(found, 1);
    EXPECT_EQ(driver.BaudRateValue(), 4800u);

    // The rate found, set by hand, ends the hunt and keeps what has arrived.
    pty.write("kept");
    settle();
    driver.SetBaudRateValue(4800);
    EXPECT_FALSE(driver.AutoBaud());
    received.clear();
    tickUntil(4);
    EXPECT_EQ(received, "kept");

    // Another rate set by hand ends the hunt; turned on while connected, the hunt starts at once.
    driver.SetBaudRateValue(9600);
    EXPECT_FALSE(driver.AutoBaud());
    EXPECT_FALSE(driver.BaudRateFound());
    driver.SetAutoBaud(true);
    EXPECT_EQ(cfgetispeed(&(t = pty.slaveSettings())), B4800);
    EXPECT_FALSE(driver.BaudRateFound());
}

TEST_F(DriverTest, NewBaudRateWhileConnectedDiscardsPendingInput) {
    ASSERT_TRUE(driver.Connect());
    pty.write("garbage at the old speed");
    settle();
    driver.SetBaudRateValue(9600);
    driver.PollTick();
    EXPECT_TRUE(chunks.empty());
    pty.write("fresh");
    tickUntil(5);
    EXPECT_EQ(received, "fresh");
}

TEST_F(DriverTest, MoreThanInBufSizeArrivesOverSeveralTicks) {
    driver.SetInBufSize(128);
    ASSERT_TRUE(driver.Connect());
    const std::string sent(300, 'x');
    pty.write(sent);
    settle();
    driver.PollTick();
    ASSERT_EQ(chunks.size(), 1u);
    EXPECT_EQ(chunks[0].size(), 128u);
    driver.PollTick();
    driver.PollTick();
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[1].size(), 128u);
    EXPECT_EQ(chunks[2].size(), 44u);
    EXPECT_EQ(received, sent);
}

TEST_F(DriverTest, HangUpClosesThePortWithinOneTick) {
    int hangups = 0;
    driver.OnHangup = [&] {
        EXPECT_FALSE(driver.Connected());
        ++hangups;
    };
    ASSERT_TRUE(driver.Connect());
    pty.closeMaster();
    driver.PollTick();
    EXPECT_FALSE(driver.Connected());
    EXPECT_EQ(hangups, 1);
    driver.PollTick();
    EXPECT_EQ(hangups, 1);
    EXPECT_FALSE(driver.Connect()) << "the device is gone";
}

// A tick from a nested event loop inside the handler (a report box) must not read: the byte
// written meanwhile arrives after the handler returns, in order.
TEST_F(DriverTest, TimerDeliversAndNestedEventLoopWaits) {
    driver.SetPollingDelay(5);
    ASSERT_TRUE(driver.Connect());
    int depth = 0;
    int maxDepth = 0;
    int calls = 0;
    driver.OnReceiveData = [&](TCommPortDriver*, const char* data, std::uint32_t size) {
        maxDepth = std::max(maxDepth, ++depth);
        received.append(data, size);
        if (++calls == 1) {
            // Like a report box opened by the handler: the timer keeps firing meanwhile.
            pty.write("B");
            QEventLoop nested;
            QTimer::singleShot(100, &nested, &QEventLoop::quit);
            nested.exec();
        }
        --depth;
    };
    pty.write("A");
    QEventLoop loop;
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, &loop, [&] {
        if (received.size() >= 2)
            loop.quit();
    });
    watchdog.start(10);
    QTimer::singleShot(3000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(received, "AB");
    EXPECT_EQ(maxDepth, 1);
}

}  // namespace
}  // namespace kem::gps
