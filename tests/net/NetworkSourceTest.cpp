// Addresses of network receivers, and the network source against servers on this machine: a
// plain NMEA server, a server speaking gpsd's protocol as its documentation shows, and servers
// that are something else.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "base/FileHandle.h"
#include "gps/NetworkSource.h"
#include "gps/SourceAddress.h"

namespace kem::gps {
namespace {

using namespace std::chrono_literals;

TEST(SourceAddressTest, PortTextsAndTheirErrors) {
    const std::pair<std::string, std::string> good[] = {
        {"ttyUSB0", "serial ttyUSB0"},
        {"gpsd", "gpsd (localhost) localhost:2947"},
        {"gpsd://10.0.0.2:3000/", "gpsd (10.0.0.2:3000) 10.0.0.2:3000"},
        {"tcp://phone:10110", "tcp://phone:10110 phone:10110"},
        {"tcp://[::1]:65535", "tcp://[::1]:65535 ::1:65535"},
    };
    for (const auto& [text, expected] : good) {
        std::string error;
        const auto a = ParseSourceAddress(text, error);
        ASSERT_TRUE(a) << text;
        EXPECT_EQ(a->IsNetwork() ? NetworkLabel(*a) + " " + a->host + ":" + std::to_string(a->port)
                                 : "serial " + a->device,
                  expected);
    }
    for (const std::string text :
         {"tcp://phone", "tcp://phone:0", "tcp://phone:65536", "tcp://phone:1x", "tcp://:10110",
          "tcp://[::1:10110", "gpsd://pi:", "udp://phone:10110"}) {
        std::string error;
        EXPECT_FALSE(ParseSourceAddress(text, error)) << text;
        EXPECT_NE(error.find(text), std::string::npos) << error;
    }
}

// A server on 127.0.0.1 for one client: sends the parts 100 ms apart (a gpsd reads its command
// after the first), then waits `linger` and closes.
class Server {
public:
    explicit Server(std::vector<std::string> parts, bool gpsd = false,
                    std::chrono::milliseconds linger = 0ms)
        : m_listener(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
        socklen_t length = sizeof address;
        ::bind(m_listener.Get(), reinterpret_cast<sockaddr*>(&address), length);
        ::listen(m_listener.Get(), 1);
        ::getsockname(m_listener.Get(), reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this, parts = std::move(parts), gpsd, linger] {
            const FileHandle client(::accept(m_listener.Get(), nullptr, nullptr));
            for (std::size_t i = 0; i < parts.size(); ++i) {
                std::this_thread::sleep_for(i > 0 ? 100ms : 0ms);
                ::send(client.Get(), parts[i].data(), parts[i].size(), MSG_NOSIGNAL);
                for (char c = 0;
                     gpsd && i == 0 && ::recv(client.Get(), &c, 1, 0) == 1 && c != '\n';) {
                    command += c;
                }
            }
            std::this_thread::sleep_for(linger);
        });
    }
    ~Server() {
        ::shutdown(m_listener.Get(), SHUT_RDWR);  // ends a wait for a client that never came
        m_thread.join();
    }
    SourceAddress Address(SourceAddress::Kind kind) const {
        return {kind, {}, "127.0.0.1", m_port};
    }

    std::string command;  // what a gpsd got, without its line end

private:
    FileHandle m_listener;
    std::uint16_t m_port = 0;
    std::thread m_thread;
};

// Polls until the source hangs up (or a generous deadline passes); gives what it received.
std::string pollToHangup(NetworkSource& source, int& hangups) {
    std::string received;
    source.OnReceive = [&](const char* data, std::size_t size) { received.append(data, size); };
    source.OnHangup = [&] { ++hangups; };
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (source.Connected() && std::chrono::steady_clock::now() < deadline) {
        source.Poll();
        std::this_thread::sleep_for(1ms);
    }
    return received;
}

TEST(NetworkSourceTest, FailedConnectionsNameTheirReason) {
    Server silent({}, false, 1500ms);  // says nothing for longer than the time-out
    Server web({"HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n"});
    SourceAddress closed = Server({}).Address(SourceAddress::Kind::Tcp);  // nobody listens now
    const std::string where = "127.0.0.1:" + std::to_string(closed.port);
    const std::pair<SourceAddress, std::string> cases[] = {
        {closed, where + " atmetė prisijungimą: ten neveikia joks serveris."},
        {{SourceAddress::Kind::Gpsd, {}, "no-such-host.invalid", 2947},
         "Kompiuteris „no-such-host.invalid“ nerastas."},
        {silent.Address(SourceAddress::Kind::Gpsd), "atsiliepė, bet tai ne gpsd."},
        {web.Address(SourceAddress::Kind::Gpsd), "atsiliepė, bet tai ne gpsd."},
    };
    for (const auto& [address, reason] : cases) {
        SCOPED_TRACE(NetworkLabel(address));
        NetworkSource source(address, 1000ms);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(source.Connect());
        EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
        EXPECT_FALSE(source.Connected());
        const std::string text = source.FailureText();
        EXPECT_TRUE(text.starts_with("Negalima prisijungti prie " + NetworkLabel(address) + ".\n"))
            << text;
        EXPECT_TRUE(text.ends_with(reason)) << text;
    }
}

const std::string kRmc = "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,,*6A\r\n";
const std::string kGga = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";

// A phone app or ser2net: the bytes arrive as sent, whatever they are (an HTTP request,
// megabytes without a line end); a close in mid-line is a hang-up.
TEST(NetworkSourceTest, TcpStreamArrivesWholeAndACloseIsAHangup) {
    const std::string sent =
        kRmc + "GET / HTTP/1.0\r\n" + std::string(3 << 20, '\x7f') + kGga + "$GPGGA,1235";
    Server server({sent});
    NetworkSource source(server.Address(SourceAddress::Kind::Tcp));
    ASSERT_TRUE(source.Connect()) << source.FailureText();
    EXPECT_EQ(source.StatusText(), "Prijungta prie " + NetworkLabel(source.Address()));
    int hangups = 0;
    EXPECT_EQ(pollToHangup(source, hangups), sent);
    EXPECT_EQ(hangups, 1);
}

// gpsd greets, takes the watch command, reports its receivers and sends their sentences between
// reports (one far too long). Only the sentences go on; the receivers show in the status.
TEST(NetworkSourceTest, GpsdSentencesPassReportsSetTheStatus) {
    const std::string device = R"({"class":"DEVICE","path":"/dev/pts/7","driver":"NMEA0183",)";
    Server server({R"({"class":"VERSION","release":"3.22","proto_major":3,"proto_minor":14})"
                   "\r\n",
                   R"({"class":"DEVICES","devices":[]})"
                   "\r\n"
                   R"({"class":"WATCH"})"
                   "\r\n",
                   device +
                       R"("activated":"2026-12-08T13:00:00.000Z"})"
                       "\r\n" +
                       kRmc.substr(0, 20),
                   kRmc.substr(20) +
                       R"({"class":"TPV","mode":3})"
                       "\r\n{\"x\":\"" +
                       std::string(200000, 'x') + "\r\n" + kGga + device +
                       R"("activated":0})"
                       "\r\n"},
                  true);
    NetworkSource source(server.Address(SourceAddress::Kind::Gpsd));
    std::vector<std::string> statuses;
    source.OnStatusChanged = [&] { statuses.push_back(source.StatusText()); };
    ASSERT_TRUE(source.Connect()) << source.FailureText();
    int hangups = 0;
    EXPECT_EQ(pollToHangup(source, hangups), kRmc + kGga);
    EXPECT_EQ(server.command + "\n", NetworkSource::kWatchCommand);
    EXPECT_EQ(hangups, 1);
    const std::string label = NetworkLabel(source.Address());
    EXPECT_EQ(statuses,
              (std::vector<std::string>{"Prijungta prie " + label, "Imtuvo nėra: " + label}));
}

}  // namespace
}  // namespace kem::gps
