#include "gps/NetworkSource.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <utility>

namespace kem::gps {
namespace {

using Clock = std::chrono::steady_clock;

int remainingMs(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
}

// Waits for events on fd until the deadline; false on time-out or a failed poll.
bool waitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd pfd{fd, events, 0};
        const int ready = ::poll(&pfd, 1, remainingMs(deadline));
        if (ready > 0) {
            return true;
        }
        if (ready == 0 || errno != EINTR) {
            return false;
        }
    }
}

NetError errorFromErrno(int error) {
    switch (error) {
        case ECONNREFUSED:
            return NetError::Refused;
        case ENETUNREACH:
        case EHOSTUNREACH:
        case ENETDOWN:
            return NetError::Unreachable;
        case ETIMEDOUT:
            return NetError::TimedOut;
        default:
            return NetError::Other;
    }
}

// The string value of "key":"..." in a compact JSON object; empty when absent. gpsd writes its
// reports without spaces and escapes no character a device path or class name holds.
std::string jsonString(std::string_view object, std::string_view key, std::size_t& from) {
    const std::string pattern = "\"" + std::string(key) + "\":\"";
    const auto start = object.find(pattern, from);
    if (start == std::string_view::npos) {
        from = std::string_view::npos;
        return {};
    }
    const auto valueStart = start + pattern.size();
    const auto end = object.find('"', valueStart);
    if (end == std::string_view::npos) {
        from = std::string_view::npos;
        return {};
    }
    from = end + 1;
    return std::string(object.substr(valueStart, end - valueStart));
}

std::string jsonString(std::string_view object, std::string_view key) {
    std::size_t from = 0;
    return jsonString(object, key, from);
}

}  // namespace

NetworkSource::NetworkSource(SourceAddress address, std::chrono::milliseconds timeout)
    : m_address(std::move(address)), m_timeout(timeout), m_buffer(kMaxReadPerPoll) {}

NetworkSource::~NetworkSource() = default;

bool NetworkSource::fail(NetError error, int errnoValue) {
    m_socket.Close();
    m_lastError = error;
    m_lastErrno = errnoValue;
    return false;
}

bool NetworkSource::Connect() {
    if (Connected()) {
        return true;
    }
    m_lastError = NetError::None;
    m_lastErrno = 0;
    m_lineStart = true;
    m_inReport = m_skipReport = m_gpsdAnswered = false;
    m_report.clear();
    m_devices.clear();
    if (!openSocket()) {
        return false;
    }
    if (m_address.kind == SourceAddress::Kind::Gpsd) {
        if (!awaitGreeting()) {
            return false;
        }
        if (!sendAll(kWatchCommand)) {
            return fail(NetError::Other, errno);
        }
    }
    return true;
}

bool NetworkSource::openSocket() {
    const auto deadline = Clock::now() + m_timeout;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(m_address.port);
    const int resolved = ::getaddrinfo(m_address.host.c_str(), service.c_str(), &hints, &found);
    if (resolved != 0) {
        return fail(resolved == EAI_SYSTEM ? errorFromErrno(errno) : NetError::HostNotFound,
                    resolved == EAI_SYSTEM ? errno : 0);
    }
    std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> list(found, &::freeaddrinfo);
    NetError error = NetError::Other;
    int errnoValue = 0;
    // Each address of the host in turn (localhost: ::1, then 127.0.0.1), within one deadline.
    for (const addrinfo* a = found; a != nullptr; a = a->ai_next) {
        FileHandle socket(
            ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol));
        if (socket.Get() < 0) {
            errnoValue = errno;
            continue;
        }
        int result = ::connect(socket.Get(), a->ai_addr, a->ai_addrlen);
        if (result != 0 && errno == EINPROGRESS) {
            if (!waitFor(socket.Get(), POLLOUT, deadline)) {
                return fail(NetError::TimedOut);
            }
            int soError = 0;
            socklen_t length = sizeof soError;
            ::getsockopt(socket.Get(), SOL_SOCKET, SO_ERROR, &soError, &length);
            result = soError == 0 ? 0 : -1;
            errno = soError;
        }
        if (result == 0) {
            m_socket = std::move(socket);
            return true;
        }
        errnoValue = errno;
        error = errorFromErrno(errnoValue);
    }
    return fail(error, errnoValue);
}

// gpsd greets every client with its VERSION report; anything else is some other server.
bool NetworkSource::awaitGreeting() {
    const auto deadline = Clock::now() + m_timeout;
    std::string line;
    while (line.find('\n') == std::string::npos) {
        if (line.size() > kMaxReportSize || !waitFor(m_socket.Get(), POLLIN, deadline)) {
            return fail(NetError::NotGpsd);
        }
        char chunk[4096];
        const ssize_t n = ::recv(m_socket.Get(), chunk, sizeof chunk, 0);
        if (n == 0) {
            return fail(NetError::NotGpsd);
        }
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR) {
                continue;
            }
            return fail(errorFromErrno(errno), errno);
        }
        line.append(chunk, static_cast<std::size_t>(n));
    }
    const auto end = line.find('\n');
    if (!line.starts_with('{') ||
        jsonString(std::string_view(line).substr(0, end), "class") != "VERSION") {
        return fail(NetError::NotGpsd);
    }
    m_gpsdAnswered = true;
    // What came after the greeting is the stream proper.
    deliverGpsd(line.data() + end + 1, line.size() - end - 1);
    return true;
}

bool NetworkSource::sendAll(std::string_view text) {
    const auto deadline = Clock::now() + m_timeout;
    while (!text.empty()) {
        const ssize_t n = ::send(m_socket.Get(), text.data(), text.size(), MSG_NOSIGNAL);
        if (n > 0) {
            text.remove_prefix(static_cast<std::size_t>(n));
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        } else if (!waitFor(m_socket.Get(), POLLOUT, deadline)) {
            errno = ETIMEDOUT;
            return false;
        }
    }
    return true;
}

void NetworkSource::Disconnect() {
    m_socket.Close();
    m_devices.clear();
}

void NetworkSource::hangUp() {
    Disconnect();
    if (OnHangup) {
        OnHangup();
    }
}

void NetworkSource::Poll() {
    if (!Connected() || m_inHandler) {
        return;
    }
    const ssize_t n = ::recv(m_socket.Get(), m_buffer.data(), m_buffer.size(), 0);
    if (n > 0) {
        if (m_address.kind == SourceAddress::Kind::Gpsd) {
            deliverGpsd(m_buffer.data(), static_cast<std::size_t>(n));
        } else {
            deliver(m_buffer.data(), static_cast<std::size_t>(n));
        }
    } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
        hangUp();
    }
}

void NetworkSource::deliver(const char* data, std::size_t size) {
    if (size == 0 || !OnReceive) {
        return;
    }
    m_inHandler = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{m_inHandler};
    OnReceive(data, size);
}

// gpsd sends its JSON reports and the receivers' sentences, one a line. Sentences go on as they
// came, a piece at a time; only reports are held until their line ends, and only up to
// kMaxReportSize.
void NetworkSource::deliverGpsd(const char* data, std::size_t size) {
    const char* const end = data + size;
    while (data < end) {
        const char* const newline = std::find(data, end, '\n');
        const bool lineEnds = newline != end;
        const char* const pieceEnd = lineEnds ? newline + 1 : end;
        if (m_lineStart) {
            m_inReport = *data == '{';
            m_skipReport = false;
            m_report.clear();
        }
        if (!m_inReport) {
            deliver(data, static_cast<std::size_t>(pieceEnd - data));
        } else if (!m_skipReport) {
            m_report.append(data, pieceEnd);
            m_skipReport = m_report.size() > kMaxReportSize;
            if (lineEnds && !m_skipReport) {
                readReport(m_report);
            }
        }
        m_lineStart = lineEnds;
        data = pieceEnd;
        if (!Connected()) {
            return;  // a handler disconnected
        }
    }
}

// DEVICES lists the receivers gpsd has; DEVICE tells of one that came (with "activated") or went.
void NetworkSource::readReport(std::string_view report) {
    const std::string type = jsonString(report, "class");
    const auto before = m_devices;
    if (type == "DEVICES") {
        m_devices.clear();
        for (std::size_t from = 0; from != std::string_view::npos;) {
            std::string path = jsonString(report, "path", from);
            if (!path.empty()) {
                m_devices.insert(std::move(path));
            }
        }
    } else if (type == "DEVICE") {
        const std::string path = jsonString(report, "path");
        if (report.find("\"activated\":") != std::string_view::npos &&
            report.find("\"activated\":0") == std::string_view::npos) {
            m_devices.insert(path);
        } else {
            m_devices.erase(path);
        }
    }
    if (m_devices != before && OnStatusChanged) {
        OnStatusChanged();
    }
}

std::string NetworkSource::StatusText() const {
    const std::string label = NetworkLabel(m_address);
    if (m_address.kind == SourceAddress::Kind::Gpsd && Connected() && m_devices.empty()) {
        return "Imtuvo nėra: " + label;
    }
    return "Prijungta prie " + label;
}

std::string NetworkSource::FailureText() const {
    if (m_lastError == NetError::None) {
        return {};
    }
    return "Negalima prisijungti prie " + NetworkLabel(m_address) + ".\n" +
           NetErrorText(m_lastError, m_address, m_timeout, m_lastErrno);
}

std::string NetErrorText(NetError error, const SourceAddress& address,
                         std::chrono::milliseconds timeout, int errnoValue) {
    const std::string where = address.host + ":" + std::to_string(address.port);
    switch (error) {
        case NetError::None:
            return {};
        case NetError::HostNotFound:
            return "Kompiuteris „" + address.host + "“ nerastas.";
        case NetError::Refused:
            return where + " atmetė prisijungimą: ten neveikia joks serveris.";
        case NetError::Unreachable:
            return "Kompiuteris „" + address.host + "“ tinkle nepasiekiamas.";
        case NetError::TimedOut:
            return where + " neatsakė per " + std::to_string(timeout.count() / 1000) + " s.";
        case NetError::NotGpsd:
            return where + " atsiliepė, bet tai ne gpsd.";
        case NetError::Other:
            break;
    }
    return "Tinklo klaida" +
           (errnoValue != 0 ? ": " + std::string(std::strerror(errnoValue)) : "") + ".";
}

bool LocalGpsdAnswers(std::chrono::milliseconds timeout) {
    NetworkSource probe(SourceAddress{SourceAddress::Kind::Gpsd, {}, "localhost", kGpsdPort},
                        timeout);
    return probe.Connect();
}

}  // namespace kem::gps
