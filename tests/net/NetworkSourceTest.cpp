// Addresses of network receivers, and the network source against servers on this machine: a
// plain NMEA server, a server speaking gpsd's protocol as its documentation shows, and servers
// that are something else.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "base/FileHandle.h"
#include "gps/LineAssembler.h"
#include "gps/NetworkSource.h"
#include "gps/SourceAddress.h"

namespace kem::gps {
namespace {

using namespace std::chrono_literals;

TEST(SourceAddressTest, PortTextsAndTheirErrors) {
    using K = SourceAddress::Kind;
    struct Case {
        std::string text;
        bool ok;
        K kind;
        std::string hostOrDevice;
        std::uint16_t port;
        std::string label;
    } const cases[] = {
        {"ttyUSB0", true, K::Serial, "ttyUSB0", 0, ""},
        {"gpsd", true, K::Gpsd, "localhost", 2947, "gpsd (localhost)"},
        {"gpsd://pi.local", true, K::Gpsd, "pi.local", 2947, "gpsd (pi.local)"},
        {"gpsd://10.0.0.2:3000/", true, K::Gpsd, "10.0.0.2", 3000, "gpsd (10.0.0.2:3000)"},
        {"tcp://phone:10110", true, K::Tcp, "phone", 10110, "tcp://phone:10110"},
        {"tcp://[::1]:65535", true, K::Tcp, "::1", 65535, "tcp://[::1]:65535"},
        {"tcp://phone", false, K::Tcp, "", 0, ""},
        {"tcp://phone:0", false, K::Tcp, "", 0, ""},
        {"tcp://phone:65536", false, K::Tcp, "", 0, ""},
        {"tcp://phone:10110x", false, K::Tcp, "", 0, ""},
        {"tcp://:10110", false, K::Tcp, "", 0, ""},
        {"tcp://[::1:10110", false, K::Tcp, "", 0, ""},
        {"tcp://a b:10110", false, K::Tcp, "", 0, ""},
        {"gpsd://pi:", false, K::Gpsd, "", 0, ""},
        {"udp://phone:10110", false, K::Tcp, "", 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::string error;
        const auto address = ParseSourceAddress(c.text, error);
        ASSERT_EQ(address.has_value(), c.ok);
        if (!c.ok) {
            EXPECT_NE(error.find(c.text), std::string::npos) << error;
            continue;
        }
        EXPECT_EQ(address->kind, c.kind);
        EXPECT_EQ(c.kind == K::Serial ? address->device : address->host, c.hostOrDevice);
        EXPECT_EQ(address->port, c.port);
        if (address->IsNetwork()) {
            EXPECT_EQ(NetworkLabel(*address), c.label);
        }
    }
}

// A server on 127.0.0.1 that accepts one client and runs a script on its socket in a thread.
class Server {
public:
    Server() : m_listener(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(m_listener.Get(), reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::listen(m_listener.Get(), 1) != 0 ||
            ::getsockname(m_listener.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            throw std::runtime_error("cannot listen");
        }
        m_port = ntohs(address.sin_port);
    }
    ~Server() {
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }
    void Run(std::function<void(int client)> script) {
        m_thread = std::thread([this, script = std::move(script)] {
            FileHandle client(::accept(m_listener.Get(), nullptr, nullptr));
            if (client.Get() >= 0) {
                script(client.Get());
            }
        });
    }
    SourceAddress Address(SourceAddress::Kind kind) const {
        return SourceAddress{kind, {}, "127.0.0.1", m_port};
    }
    std::uint16_t Port() const { return m_port; }

private:
    FileHandle m_listener;
    std::uint16_t m_port = 0;
    std::thread m_thread;
};

void sendText(int fd, const std::string& text) {
    std::size_t sent = 0;
    while (sent < text.size()) {
        const ssize_t n = ::send(fd, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) {
            return;
        }
        sent += static_cast<std::size_t>(n);
    }
}

std::string receiveLine(int fd) {
    std::string line;
    char c = 0;
    while (::recv(fd, &c, 1, 0) == 1 && c != '\n') {
        line += c;
    }
    return line;
}

// Polls until the source hangs up (or a generous deadline passes); returns what it received.
struct Received {
    std::string bytes;
    int hangups = 0;
    std::size_t longestPending = 0;
};
Received pollToHangup(NetworkSource& source) {
    Received received;
    LineAssembler lines;
    source.OnReceive = [&](const char* data, std::size_t size) {
        received.bytes.append(data, size);
        lines.Add(reinterpret_cast<const std::uint8_t*>(data), size);
        received.longestPending = std::max(received.longestPending, lines.PendingLine().size());
    };
    source.OnHangup = [&] { ++received.hangups; };
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (source.Connected() && std::chrono::steady_clock::now() < deadline) {
        source.Poll();
        std::this_thread::sleep_for(1ms);
    }
    return received;
}

TEST(NetworkSourceTest, FailedConnectionsNameTheirReason) {
    Server silent;   // accepts, says nothing for longer than the time-out
    Server closing;  // accepts and closes at once
    Server web;      // answers as a web server would
    silent.Run([](int) { std::this_thread::sleep_for(1500ms); });
    closing.Run([](int) {});
    web.Run([](int fd) { sendText(fd, "HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n"); });
    std::uint16_t closedPort = 0;
    {
        const Server gone;  // nobody listens here once it is gone
        closedPort = gone.Port();
    }
    struct Case {
        SourceAddress address;
        NetError error;
        std::string reason;
    } const cases[] = {
        {{SourceAddress::Kind::Tcp, {}, "127.0.0.1", closedPort},
         NetError::Refused,
         "127.0.0.1:" + std::to_string(closedPort) +
             " atmetė prisijungimą: ten neveikia joks serveris."},
        {{SourceAddress::Kind::Gpsd, {}, "no-such-host.invalid", 2947},
         NetError::HostNotFound,
         "Kompiuteris „no-such-host.invalid“ nerastas."},
        {silent.Address(SourceAddress::Kind::Gpsd), NetError::NotGpsd,
         "atsiliepė, bet tai ne gpsd"},
        {closing.Address(SourceAddress::Kind::Gpsd), NetError::NotGpsd, "tai ne gpsd"},
        {web.Address(SourceAddress::Kind::Gpsd), NetError::NotGpsd, "tai ne gpsd"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(NetworkLabel(c.address));
        NetworkSource source(c.address, 1000ms);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(source.Connect());
        EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
        EXPECT_FALSE(source.Connected());
        EXPECT_EQ(source.LastError(), c.error);
        EXPECT_TRUE(source.FailureText().starts_with("Negalima prisijungti prie " +
                                                     NetworkLabel(c.address) + ".\n"))
            << source.FailureText();
        EXPECT_NE(source.FailureText().find(c.reason), std::string::npos) << source.FailureText();
    }
}

// A phone app or ser2net: the bytes arrive as sent, whatever they are; megabytes without a line
// end keep the pending line bounded; a close in mid-line is a hang-up.
TEST(NetworkSourceTest, TcpStreamArrivesWholeAndACloseIsAHangup) {
    const std::string sentences =
        "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n"
        "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";
    const std::string garbage(3 * 1024 * 1024, '\x7f');
    const std::string sent = sentences + "GET / HTTP/1.0\r\n" + garbage + sentences + "$GPGGA,1235";
    Server server;
    server.Run([&](int fd) {
        for (std::size_t at = 0; at < sent.size(); at += 100000) {
            sendText(fd, sent.substr(at, 100000));
        }
    });
    NetworkSource source(server.Address(SourceAddress::Kind::Tcp));
    ASSERT_TRUE(source.Connect()) << source.FailureText();
    EXPECT_EQ(source.StatusText(),
              "Prijungta prie tcp://127.0.0.1:" + std::to_string(server.Port()));
    const auto received = pollToHangup(source);
    EXPECT_EQ(received.bytes, sent);
    EXPECT_EQ(received.hangups, 1);
    EXPECT_LE(received.longestPending, LineAssembler::kPendingCap);
    EXPECT_FALSE(source.Connected());
}

// gpsd greets, takes the watch command, reports its receivers and sends their sentences between
// reports. Only the sentences reach the decoder; the receivers show in the status.
TEST(NetworkSourceTest, GpsdSentencesPassReportsSetTheStatus) {
    const std::string rmc =
        "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n";
    const std::string gga = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";
    Server server;
    std::string command;
    std::vector<std::string> statuses;
    NetworkSource source(server.Address(SourceAddress::Kind::Gpsd));
    source.OnStatusChanged = [&] { statuses.push_back(source.StatusText()); };
    server.Run([&](int fd) {
        sendText(fd,
                 "{\"class\":\"VERSION\",\"release\":\"3.22\",\"rev\":\"3.22\","
                 "\"proto_major\":3,\"proto_minor\":14}\r\n");
        command = receiveLine(fd);
        sendText(fd, "{\"class\":\"DEVICES\",\"devices\":[]}\r\n{\"class\":\"WATCH\"}\r\n");
        std::this_thread::sleep_for(100ms);
        sendText(fd,
                 "{\"class\":\"DEVICE\",\"path\":\"/dev/pts/7\",\"driver\":\"NMEA0183\","
                 "\"activated\":\"2026-12-08T13:00:00.000Z\"}\r\n" +
                     rmc.substr(0, 20));
        std::this_thread::sleep_for(100ms);
        sendText(fd, rmc.substr(20) + "{\"class\":\"TPV\",\"mode\":3}\r\n" + "{\"x\":\"" +
                         std::string(200000, 'x') + "\r\n" + gga +
                         "{\"class\":\"DEVICE\",\"path\":\"/dev/pts/7\",\"activated\":0}\r\n");
    });
    ASSERT_TRUE(source.Connect()) << source.FailureText();
    const auto received = pollToHangup(source);
    EXPECT_EQ(command + "\n", NetworkSource::kWatchCommand);
    EXPECT_EQ(received.bytes, rmc + gga);
    EXPECT_EQ(received.hangups, 1);
    const std::string label = "gpsd (127.0.0.1:" + std::to_string(server.Port()) + ")";
    EXPECT_EQ(statuses,
              (std::vector<std::string>{"Prijungta prie " + label, "Imtuvo nėra: " + label}));
}

}  // namespace
}  // namespace kem::gps
