#include "tools/kemsim/NmeaSentence.h"
#include "tools/kemsim/Options.h"
#include "tools/kemsim/ReplayLog.h"
#include "tools/kemsim/SimulatedReceiver.h"
#include "tools/kemsim/Transmitter.h"
#include "tools/kemsim/UartLine.h"

#include "gps/BaudHunt.h"
#include "gps/TCommPortDriver.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace kem::kemsim {
namespace {

using namespace std::chrono_literals;

const std::string kKemsim = std::string(KEM_PROGRAM_DIR) + "/kemsim";

// Runs kemsim with the arguments; returns its standard output and sets its exit status.
std::string run(const std::string& args, int& status) {
    FILE* pipe = popen((kKemsim + " " + args + " 2>/dev/null").c_str(), "r");
    std::string out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    status = WEXITSTATUS(pclose(pipe));
    return out;
}

class TempFile {
public:
    explicit TempFile(const std::string& contents)
        : m_path(std::filesystem::temp_directory_path() /
                 ("kemsim-test-" + std::to_string(getpid()) + ".nmea")) {
        std::ofstream(m_path, std::ios::binary) << contents;
    }
    ~TempFile() { std::filesystem::remove(m_path); }
    std::string path() const { return m_path.string(); }

private:
    std::filesystem::path m_path;
};

TEST(Options, ParsesValuesAndRejectsBadOnes) {
    std::string error;
    const auto o = ParseOptions({"--speed", "2.5", "--count=30", "--split", "--link", "/tmp/gps",
                                 "--hangup-after", "3", "--seed", "9", "--baud", "38400",
                                 "--talker=GP,GN", "--profile", "gnss", "--start", "1765000000",
                                 "--tcp", "10110"},
                                error);
    ASSERT_TRUE(o) << error;
    EXPECT_DOUBLE_EQ(o->speed, 2.5);
    EXPECT_EQ(o->count, 30);
    EXPECT_TRUE(o->split);
    EXPECT_EQ(o->linkPath, "/tmp/gps");
    EXPECT_DOUBLE_EQ(o->hangupAfter.value_or(0), 3.0);
    EXPECT_EQ(o->seed, 9u);
    EXPECT_EQ(o->baud, 38400u);
    EXPECT_EQ(o->talkers, (std::vector<std::string>{"GP", "GN"}));
    EXPECT_EQ(o->profile.profile, Profile::Gnss);
    EXPECT_EQ(o->start, 1765000000);
    EXPECT_EQ(ParseOptions({"--profile=dualband"}, error)->Baud(), 38400u);
    EXPECT_EQ(o->tcpPort, 10110u);

    const std::vector<std::vector<std::string>> bad = {
        {"--sped", "2"},           {"--speed"},         {"--speed", "fast"},
        {"--speed", "-1"},         {"--count", "0"},    {"--count", "1.5"},
        {"--noise=yes"},           {"extra"},           {"--link", ""},
        {"--hangup-after", "nan"}, {"--baud", "14400"}, {"--talker", "gn"},
        {"--talker", "GPN"},       {"--talker", "GP,"}, {"--profile", "sirf"},
        {"--tcp", "65536"},
    };
    for (const auto& args : bad) {
        SCOPED_TRACE(args.front());
        error.clear();
        EXPECT_FALSE(ParseOptions(args, error));
        EXPECT_FALSE(error.empty());
    }
}

TEST(Program, HelpAndBadOptions) {
    int status = -1;
    const std::string help = run("--help", status);
    EXPECT_EQ(status, 0);
    for (const char* option :
         {"--link", "--speed", "--replay", "--split", "--noise", "--hangup-after", "--count",
          "--stdout", "--baud", "--talker", "--wait", "--tee", "--profile", "--start", "--tcp"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
    run("--frobnicate", status);
    EXPECT_EQ(status, 2);
    run("--replay /nonexistent/log.nmea", status);
    EXPECT_EQ(status, 2);
}

TEST(Replay, CutsALogIntoSecondsByItsTimeFields) {
    std::istringstream log(
        "$GPGSV,1,1,01,05,40,083,46*7B\r\n"  // before any time: first second
        "$GPGGA,120000.00,5441.1234,N,02519.5678,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n"
        "$GPRMC,120000,A,5441.12,N,02519.56,E,0.0,0.0,010124,,*00\r\n"
        "$GNGSA,A,3,04,05,,,,,,,,,,,2.5,1.3,2.1*39\n"
        "$GPRMC,120001,A,5441.12,N,02519.56,E,0.0,0.0,010124,,*00\r\n"
        "garbage line\r\n"
        "$GPGLL,5441.12,N,02519.56,E,120002,A*00\r\n"
        "$GPGGA,,,,,,0,00,,,,,,,*66\r\n");
    const auto seconds = SplitIntoSeconds(log);
    ASSERT_EQ(seconds.size(), 3u);
    EXPECT_EQ(seconds[0].size(), 4u);
    EXPECT_EQ(seconds[0][3], "$GNGSA,A,3,04,05,,,,,,,,,,,2.5,1.3,2.1*39");
    EXPECT_EQ(seconds[1].size(), 2u);
    EXPECT_EQ(seconds[2].size(), 2u) << "a sentence without a time stays in its second";
    EXPECT_EQ(TimeOfDay("$GPZDA,235959.00,31,12,2025,00,00*6A"), "235959");
    EXPECT_EQ(TimeOfDay("$GPRMC,12:00,A"), "");
}

TEST(Program, ReplayReproducesTheFileLines) {
    std::string log;
    for (int s = 0; s < 5; ++s) {
        log += "$GPRMC,12000" + std::to_string(s) + ",A,5441.12,N,02519.56,E,0.0,0.0,010124,,*00\n";
        log += "$GPGGA,12000" + std::to_string(s) + ".00,5441.1234,N,02519.5678,E,1,08*00\n";
        log += "not NMEA, kept as it is\n";
    }
    const TempFile file(log);
    int status = -1;
    const std::string out = run("--stdout --speed 0 --replay " + file.path(), status);
    EXPECT_EQ(status, 0);
    std::string expected;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);)
        expected += line + "\r\n";
    EXPECT_EQ(out, expected);

    // Paced: five seconds of data at five per second take about a second.
    const auto begin = std::chrono::steady_clock::now();
    run("--stdout --speed 5 --replay " + file.path(), status);
    const auto took = std::chrono::steady_clock::now() - begin;
    EXPECT_GT(took, 700ms);
    EXPECT_LT(took, 5s);
}

TEST(Transmitter, SplittingKeepsTheBytesAndNoiseDamagesOnlySome) {
    std::vector<std::string> lines;
    for (int i = 0; i < 400; ++i)
        lines.push_back("$GPGGA,line " + std::to_string(i) + "*00\r\n");
    std::string joined;
    for (const auto& l : lines)
        joined += l;

    for (const bool noise : {false, true}) {
        SCOPED_TRACE(noise ? "noise" : "split");
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        std::string out;
        std::thread reader([&] {
            char buffer[4096];
            for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
                out.append(buffer, static_cast<std::size_t>(n));
        });
        TransmitSettings settings;
        settings.speed = 0;
        settings.split = true;
        settings.noise = noise;
        settings.seed = 42;
        Transmitter transmitter(fds[1], settings);
        EXPECT_EQ(transmitter.SendSecond(lines), Transmitter::Result::Sent);
        close(fds[1]);
        reader.join();
        close(fds[0]);
        if (!noise) {
            EXPECT_EQ(out, joined);
            continue;
        }
        int intact = 0;
        for (const auto& l : lines)
            intact += out.find(l) != std::string::npos;
        EXPECT_GT(intact, 300);
        EXPECT_LT(intact, 395);
    }
}

TEST(Talkers, RenameOnlyTheFixSentencesAndKeepTheirChecksumsHonest) {
    const std::vector<std::string> lines = {
        Frame("GPRMC,120000,V,,,,,,,010124,,,N"), "$GPGGA,120000.00,,,,,0,00,,,,,,,*00\r\n",
        Frame("GPGSA,A,1,,,,,,,,,,,,,,,"), Frame("GPGSV,1,1,01,05,40,083,46"), "junk\r\n"};
    const auto out = WithTalkers(lines, {"GP", "GN"});
    EXPECT_EQ(out, (std::vector<std::string>{
                       lines[0], Frame("GNRMC,120000,V,,,,,,,010124,,,N"), lines[1],
                       "$GNGGA,120000.00,,,,,0,00,,,,,,,*00\r\n",  // a wrong sum stays wrong
                       lines[2], Frame("GNGSA,A,1,,,,,,,,,,,,,,,"), lines[3], lines[4]}));
}

TEST(UartLine, AnotherRateDeliversWhatAUartSamples) {
    struct Case {
        std::uint32_t sent, read;
        std::string bytes, received;
    } const cases[] = {
        {4800, 4800, "$GP\r\n", "$GP\r\n"},
        // Sent twice as fast: the zero frame is low for 4.5 of the reader's bits, so its data
        // bits 3 to 7 read the stop bit and the idle line; 0xFF is only a glitch of a start bit.
        {9600, 4800, std::string(1, '\0'), "\xF8"},
        {9600, 4800, "\xFF", ""},
        // Sent half as fast: the low stop sample starts a second frame at once, whose last data
        // bit falls on the sender's stop bit.
        {4800, 9600, std::string(1, '\0'), std::string("\0\x80", 2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.sent) + " read at " + std::to_string(c.read));
        UartLine line(c.sent, c.read);
        std::string received = line.Send(c.bytes);
        received += line.Rest();
        EXPECT_EQ(received, c.received);
    }
    // A second of sentences at 9600 read at 4800, or at 4800 read at 9600, brings no carriage
    // return and no "$": nothing the decoder could take for a line or a sentence.
    std::string second;
    for (const auto& l : SimulatedReceiver(0).Second(20))
        second += l;
    for (const auto& [sent, read] : {std::pair{9600u, 4800u}, std::pair{4800u, 9600u}}) {
        UartLine line(sent, read);
        std::string received = line.Send(second);
        received += line.Rest();
        EXPECT_FALSE(received.empty());
        EXPECT_EQ(received.find_first_of("\r$"), std::string::npos) << sent << " at " << read;
    }
}

void ensureCoreApplication() {
    static int argc = 1;
    static char name[] = "kemsim_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
}

// What the driver reads from a kemsim port at 4800 baud until kemsim hangs up or time runs out.
struct Reception {
    bool connected = false;
    bool hungUp = false;
    bool stillConnected = false;  // after the hang-up
    std::string bytes;
};

Reception receiveUntilHangup(const std::string& portName, std::chrono::milliseconds limit) {
    gps::TCommPortDriver driver;
    driver.SetPortName(gps::kDevicePrefix + portName);
    driver.SetBaudRateValue(4800);
    Reception reception;
    driver.OnReceiveData = [&](gps::TCommPortDriver*, const char* data, std::uint32_t size) {
        reception.bytes.append(data, size);
    };
    driver.OnHangup = [&] { reception.hungUp = true; };
    reception.connected = driver.Connect();
    for (const auto deadline = std::chrono::steady_clock::now() + limit;
         reception.connected && !reception.hungUp && std::chrono::steady_clock::now() < deadline;) {
        driver.PollTick();
        std::this_thread::sleep_for(20ms);
    }
    reception.stillConnected = driver.Connected();
    return reception;
}

// The real path: kemsim's pseudo-terminal read by the driver, until kemsim hangs up.
TEST(Program, DriverReceivesValidSentencesUntilHangUp) {
    ensureCoreApplication();

    FILE* sim = popen((kKemsim + " --speed 5 --hangup-after 2 2>/dev/null").c_str(), "r");
    ASSERT_NE(sim, nullptr);
    char port[256] = {};
    ASSERT_NE(std::fgets(port, sizeof port, sim), nullptr);
    std::string portName(port);
    portName.pop_back();
    EXPECT_TRUE(portName.starts_with("pts/")) << portName;

    const Reception reception = receiveUntilHangup(portName, 6s);
    pclose(sim);
    EXPECT_TRUE(reception.connected);
    EXPECT_TRUE(reception.hungUp);
    EXPECT_FALSE(reception.stillConnected);
    const std::string& received = reception.bytes;

    // Whole lines after the first line end: about ten seconds of data, six sentences each.
    const auto first = received.find("\r\n");
    ASSERT_NE(first, std::string::npos);
    std::istringstream in(received.substr(first + 2));
    int sentences = 0;
    for (std::string line; std::getline(in, line);) {
        if (in.eof())
            break;  // cut off by the hang-up
        ASSERT_TRUE(line.ends_with('\r')) << line;
        line.pop_back();
        ASSERT_TRUE(line.starts_with("$GP")) << line;
        ++sentences;
    }
    EXPECT_GT(sentences, 30);
}

// --wait holds the replay until the port is opened and set up, and the line stays open until
// the reader has the last second: the reader gets exactly the log, as the --tee copy says.
TEST(Program, WaitingReplayReachesTheReaderWhole) {
    ensureCoreApplication();
    std::string log;
    for (int s = 0; s < 4; ++s)
        log += "$GPGGA,12000" + std::to_string(s) + ",5441.1234,N,02519.5678,E,1,08*00\r\n";
    const TempFile file(log);
    const std::string tee = file.path() + ".tee";
    QProcess sim;
    sim.start(QString::fromStdString(kKemsim),
              {"--wait", "--speed", "20", "--replay", QString::fromStdString(file.path()), "--tee",
               QString::fromStdString(tee)});
    ASSERT_TRUE(sim.waitForReadyRead(5000));
    std::this_thread::sleep_for(300ms);  // a replay that did not wait would be gone by now

    const Reception reception = receiveUntilHangup(sim.readLine().trimmed().toStdString(), 5s);
    sim.waitForFinished();
    EXPECT_TRUE(reception.connected);
    EXPECT_TRUE(reception.hungUp);
    EXPECT_EQ(reception.bytes, log);
    std::ifstream copy(tee, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(copy), {}), log);
    std::filesystem::remove(tee);
}

// "Auto" on the real path: the driver tries rate after rate until kemsim's sentences come
// through, and from then on receives sentences only.
TEST(Program, AutoBaudFindsTheRateKemsimTalksAt) {
    ensureCoreApplication();
    for (const std::uint32_t baud : {9600u, 38400u}) {
        SCOPED_TRACE(baud);
        QProcess sim;
        sim.start(QString::fromStdString(kKemsim),
                  {"--speed", "4", "--baud", QString::number(baud)});
        ASSERT_TRUE(sim.waitForReadyRead(5000));
        gps::TCommPortDriver driver;
        driver.SetPortName(gps::kDevicePrefix + sim.readLine().trimmed().toStdString());
        driver.SetAutoBaud(true);
        int found = 0;
        std::string received;
        driver.OnBaudRateFound = [&] { ++found; };
        driver.OnReceiveData = [&](gps::TCommPortDriver*, const char* data, std::uint32_t size) {
            if (driver.BaudRateFound())
                received.append(data, size);
        };
        ASSERT_TRUE(driver.Connect());
        EXPECT_EQ(driver.BaudRateValue(), 4800u);
        QEventLoop loop;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (std::count(received.begin(), received.end(), '\n') > 12)
                loop.quit();
        });
        watch.start(20);
        QTimer::singleShot(10s, &loop, &QEventLoop::quit);
        loop.exec();
        sim.terminate();
        sim.waitForFinished();

        EXPECT_EQ(found, 1);
        EXPECT_EQ(driver.BaudRateValue(), baud);
        std::istringstream in(received.substr(received.find('\n') + 1));
        for (std::string line; std::getline(in, line) && !in.eof();)
            EXPECT_TRUE(gps::HasValidChecksum(line.substr(0, line.size() - 1))) << line;
    }
}

}  // namespace
}  // namespace kem::kemsim
