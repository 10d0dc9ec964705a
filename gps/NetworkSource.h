#pragma once

#include <chrono>
#include <cstddef>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/FileHandle.h"
#include "gps/ByteSource.h"
#include "gps/SourceAddress.h"

namespace kem::gps {

// Why a network source could not be connected, as far as the user can act on it.
enum class NetError { None, HostNotFound, Refused, Unreachable, TimedOut, NotGpsd, Other };

// A receiver on the network: gpsd, asked for its receivers' NMEA sentences, or a TCP server
// that sends NMEA lines (a phone app, a Wi-Fi receiver, ser2net). Only connects out. Plain POSIX
// sockets; whoever owns it calls Poll now and then (as the serial driver's timer does).
class NetworkSource : public ByteSource {
public:
    explicit NetworkSource(SourceAddress address,
                           std::chrono::milliseconds timeout = kDefaultTimeout);
    ~NetworkSource() override;

    // Resolves the host and connects, giving up after the timeout. For gpsd also waits for its
    // greeting within the timeout and then asks for NMEA. Blocks the caller meanwhile.
    bool Connect() override;
    void Disconnect() override;
    bool Connected() const override { return m_socket.Get() >= 0; }
    std::string StatusText() const override;
    std::string FailureText() const override;

    NetError LastError() const { return m_lastError; }
    const SourceAddress& Address() const { return m_address; }

    // Reads what has arrived (at most kMaxReadPerPoll bytes) and hands it on; a closed or
    // broken connection ends in OnHangup. Does nothing when not connected or while OnReceive
    // runs.
    void Poll();

    // The receivers gpsd reports (device paths); empty for a plain TCP source.
    const std::set<std::string>& GpsdDevices() const { return m_devices; }

    static constexpr std::chrono::milliseconds kDefaultTimeout{5000};
    static constexpr std::size_t kMaxReadPerPoll = 64 * 1024;
    // gpsd's reports are short; a longer one is not read.
    static constexpr std::size_t kMaxReportSize = 64 * 1024;

    // The one command sent: gpsd then sends its receivers' sentences as they came, one a line,
    // between its reports; only with "json" does it tell of receivers that come and go.
    static constexpr std::string_view kWatchCommand =
        "?WATCH={\"enable\":true,\"json\":true,\"nmea\":true};\n";

private:
    bool fail(NetError error, int errnoValue = 0);
    bool openSocket();
    bool awaitGreeting();
    bool sendAll(std::string_view text);
    void deliver(const char* data, std::size_t size);
    void deliverGpsd(const char* data, std::size_t size);
    void readReport(std::string_view report);
    void hangUp();

    SourceAddress m_address;
    std::chrono::milliseconds m_timeout;
    FileHandle m_socket;
    NetError m_lastError = NetError::None;
    int m_lastErrno = 0;
    bool m_inHandler = false;
    bool m_gpsdAnswered = false;  // the greeting came: reports can be trusted
    // gpsd stream state: at the start of a line; inside a report line (buffered); skipping an
    // overlong one.
    bool m_lineStart = true;
    bool m_inReport = false;
    bool m_skipReport = false;
    std::string m_report;
    std::set<std::string> m_devices;
    std::vector<char> m_buffer;
};

// One line for the user, in Lithuanian (UTF-8), naming the reason; errnoValue details Other.
std::string NetErrorText(NetError error, const SourceAddress& address,
                         std::chrono::milliseconds timeout, int errnoValue);

// True if a gpsd answers on this machine's gpsd port within the timeout.
bool LocalGpsdAnswers(std::chrono::milliseconds timeout);

}  // namespace kem::gps
