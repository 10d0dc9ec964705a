#include "gps/TCommPortDriver.h"

#include "gps/CustomBaudRate.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/utsname.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>

namespace kem::gps {

namespace {

constexpr std::uint32_t kBaudRates[] = {0,     110,   300,   600,   1200,  2400,   4800,   9600,
                                        14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};
static_assert(std::size(kBaudRates) == br256000 + 1);

constexpr unsigned char kXon = 17;   // DC1
constexpr unsigned char kXoff = 19;  // DC3

// The standard speed code for a rate, or B0 when the rate needs a custom divisor.
speed_t standardSpeed(std::uint32_t rate) {
    struct Entry {
        std::uint32_t rate;
        speed_t code;
    };
    static constexpr Entry kSpeeds[] = {
        {50, B50},       {75, B75},         {110, B110},       {134, B134},       {150, B150},
        {200, B200},     {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
        {2400, B2400},   {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
        {57600, B57600}, {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600},
    };
    for (const auto& e : kSpeeds)
        if (e.rate == rate)
            return e.code;
    return B0;
}

tcflag_t characterSize(TDataBits bits) {
    static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
    return bits >= db5BITS && bits <= db8BITS ? kSizes[bits] : CS8;
}

tcflag_t parityFlags(TParity parity) {
    switch (parity) {
        case ptNONE:
            return 0;
        case ptODD:
            return PARENB | PARODD;
        case ptEVEN:
            return PARENB;
        case ptMARK:
            return PARENB | PARODD | CMSPAR;
        case ptSPACE:
            return PARENB | CMSPAR;
    }
    return 0;
}

void setModemLine(int fd, int line, bool on) {
    // Pseudo-terminals have no modem lines and refuse this; that is not a settings failure.
    ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line);
}

bool isHangupError(int err) {
    return err == EIO || err == ENXIO || err == ENODEV || err == EBADF;
}

}  // namespace

TCommPortDriver::TCommPortDriver(QObject* parent)
    : QObject(parent), m_receiveBuffer(m_inBufSize, 0) {
    SetPort(pnCOM2);
    QObject::connect(&m_pollTimer, &QTimer::timeout, this, [this] { PollTick(); });
    m_huntTimer.setInterval(kHuntWindow);
    QObject::connect(&m_huntTimer, &QTimer::timeout, this, [this] { tryNextRate(); });
}

TCommPortDriver::~TCommPortDriver() {
    Disconnect();
}

void TCommPortDriver::SetPort(TPortNumber value) {
    if (Connected())
        return;
    m_port = value;
    if (value != pnCustom)
        m_portName = std::string(kDevicePrefix) + "ttyS" + std::to_string(value - pnCOM1);
}

void TCommPortDriver::SetPortName(const std::string& value) {
    if (Connected())
        return;
    m_portName = value;
    m_port = pnCustom;
}

void TCommPortDriver::SetBaudRate(TBaudRate value) {
    m_autoBaud = false;
    m_huntTimer.stop();
    m_baudRate = value;
    if (value > brCustom && value <= br256000)
        m_baudRateValue = kBaudRates[value];
    reapplyIfConnected();
}

void TCommPortDriver::SetBaudRateValue(std::uint32_t value) {
    const bool found = Connected() && BaudRateFound() && value == m_baudRateValue;
    m_autoBaud = false;
    m_huntTimer.stop();
    m_baudRateValue = value;
    m_baudRate = brCustom;
    if (!found)
        reapplyIfConnected();
}

void TCommPortDriver::SetInBufSize(std::uint32_t value) {
    if (Connected())
        return;
    m_inBufSize = std::clamp(value, kMinBufSize, kMaxBufSize);
    m_receiveBuffer.assign(m_inBufSize, 0);
    m_receiveBuffer.shrink_to_fit();
}

void TCommPortDriver::SetOutBufSize(std::uint32_t value) {
    if (Connected())
        return;
    m_outBufSize = std::clamp(value, kMinBufSize, kMaxBufSize);
}

void TCommPortDriver::SetPollingDelay(std::uint16_t value) {
    value = std::max(value, kMinPollingDelay);
    if (value == m_pollingDelay)
        return;
    m_pollingDelay = value;
    if (Connected())
        m_pollTimer.start(m_pollingDelay);
}

void TCommPortDriver::reapplyIfConnected() {
    // A refused setting leaves the port open as it was; setters report nothing.
    if (Connected())
        ApplyPortSettings();
}

void TCommPortDriver::SetAutoBaud(bool on) {
    m_autoBaud = on;
    if (!on)
        m_huntTimer.stop();
    else if (Connected())
        startHunt();
}

bool TCommPortDriver::Connect() {
    if (Connected())
        return true;
    m_lastError = PortError::None;
    // minicom, cu and ModemManager's probes announce themselves with a UUCP lock file only.
    if (m_lock.Take(m_portName) == UucpLock::Result::Busy)
        return failConnect(EBUSY);
    FileHandle port(::open(m_portName.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (port.Get() < 0)
        return failConnect(port.OpenError());
    // TIOCEXCL keeps other openers out (except privileged ones, who see it set and stay out);
    // flock catches those that take only a lock, and a second driver of our own.
    int exclusive = 0;
    if (ioctl(port.Get(), TIOCGEXCL, &exclusive) == 0 && exclusive != 0)
        return failConnect(EBUSY);
    if (ioctl(port.Get(), TIOCEXCL) != 0)
        return failConnect(errno);
    if (flock(port.Get(), LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        // The flag is ours to clear: the holder of the lock did not set it.
        ioctl(port.Get(), TIOCNXCL);
        return failConnect(error);
    }
    m_device = std::move(port);
    if (!(m_autoBaud ? startHunt() : ApplyPortSettings())) {
        const int error = errno;
        Disconnect();
        return failConnect(error);
    }
    m_pollTimer.start(m_pollingDelay);
    return true;
}

bool TCommPortDriver::failConnect(int error) {
    m_lock.Release();
    m_lastError = PortErrorFromErrno(error);
    if (m_lastError == PortError::None)
        m_lastError = PortError::Other;
    return false;
}

bool TCommPortDriver::startHunt() {
    m_baudRate = brCustom;
    m_baudRateValue = m_hunt.Start();
    m_huntTimer.start();
    if (!ApplyPortSettings())
        return false;
    if (OnHuntRate)
        OnHuntRate();
    return true;
}

void TCommPortDriver::tryNextRate() {
    // Not from inside the receive handler: applying a rate discards pending input.
    if (!Connected() || !hunting() || m_inHandler)
        return;
    m_baudRateValue = m_hunt.Next();
    // Back at the first rate: the whole round brought nothing.
    if (m_baudRateValue == BaudHunt::kRates.front() && OnHuntRoundEnded)
        OnHuntRoundEnded();
    // A rate the device refuses leaves the old one in place until the next turn.
    ApplyPortSettings();
    if (OnHuntRate)
        OnHuntRate();
}

void TCommPortDriver::Disconnect() {
    if (!Connected())
        return;
    m_pollTimer.stop();
    m_huntTimer.stop();
    // A pseudo-terminal keeps its exclusive flag after the last close while its master lives;
    // clear it so that the port can be opened again.
    ioctl(m_device.Get(), TIOCNXCL);
    m_device.Close();
    m_lock.Release();
}

bool TCommPortDriver::ApplyPortSettings() {
    if (!Connected())
        return false;
    termios tio{};
    if (tcgetattr(m_device.Get(), &tio) != 0)
        return false;
    cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    tio.c_cflag |= CLOCAL | CREAD | characterSize(m_dataBits) | parityFlags(m_parity);
    if (m_stopBits != sb1BITS)
        tio.c_cflag |= CSTOPB;
    if (m_hwFlow == hfRTSCTS)
        tio.c_cflag |= CRTSCTS;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    if (m_swFlow == sfXONXOFF)
        tio.c_iflag |= IXON | IXOFF;
    tio.c_cc[VSTART] = kXon;
    tio.c_cc[VSTOP] = kXoff;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    const speed_t speed = standardSpeed(m_baudRateValue);
    if (speed != B0)
        cfsetspeed(&tio, speed);
    if (tcsetattr(m_device.Get(), TCSANOW, &tio) != 0)
        return false;
    if (speed == B0 && !SetCustomBaudRate(m_device.Get(), m_baudRateValue))
        return false;
    setModemLine(m_device.Get(), TIOCM_DTR, m_enableDtrOnOpen);
    setModemLine(m_device.Get(), TIOCM_RTS, m_hwFlow != hfNONE);
    // Queue sizes and XON/XOFF limits have no counterpart here: the kernel sizes its own queues.
    return PurgeBuffers(true, true);
}

bool TCommPortDriver::PurgeBuffers(bool input, bool output) {
    if (!Connected())
        return false;
    if (!input && !output)
        return true;
    const int queue = input && output ? TCIOFLUSH : input ? TCIFLUSH : TCOFLUSH;
    return tcflush(m_device.Get(), queue) == 0;
}

void TCommPortDriver::PollTick() {
    if (!Connected() || m_inHandler)
        return;
    int queued = 0;
    if (ioctl(m_device.Get(), FIONREAD, &queued) != 0) {
        if (isHangupError(errno))
            hangUp();
        return;
    }
    if (queued <= 0) {
        // Nothing queued: the cheap moment to notice a device that has gone away.
        pollfd pfd{m_device.Get(), POLLIN, 0};
        if (poll(&pfd, 1, 0) > 0 && (pfd.revents & (POLLHUP | POLLERR | POLLNVAL)))
            hangUp();
        return;
    }
    const auto want = std::min<std::size_t>(static_cast<std::size_t>(queued), m_inBufSize);
    const ssize_t got = ::read(m_device.Get(), m_receiveBuffer.data(), want);
    if (got < 0) {
        if (isHangupError(errno))
            hangUp();
        return;  // EAGAIN and other passing errors: try again next tick
    }
    if (got > 0 && hunting() &&
        m_hunt.Feed(m_receiveBuffer.data(), static_cast<std::size_t>(got))) {
        m_huntTimer.stop();
        if (OnBaudRateFound)
            OnBaudRateFound();
    }
    if (got == 0 || !OnReceiveData || !Connected())
        return;
    // Paused while the handler runs: a tick from a nested event loop inside it must not read.
    m_inHandler = true;
    struct Resume {
        bool& flag;
        ~Resume() { flag = false; }
    } resume{m_inHandler};
    OnReceiveData(this, m_receiveBuffer.data(), static_cast<std::uint32_t>(got));
}

void TCommPortDriver::hangUp() {
    Disconnect();
    if (OnHangup)
        OnHangup();
}

std::string TCommPortDriver::PlatformName() {
    utsname info{};
    if (uname(&info) != 0)
        return "??";
    return info.sysname;
}

std::uint32_t TCommPortDriver::PlatformVersion() {
    utsname info{};
    if (uname(&info) != 0)
        return 0;
    // release is "major.minor.patch-extra"
    const char* p = info.release;
    const char* end = p + std::char_traits<char>::length(p);
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    auto r = std::from_chars(p, end, major);
    if (r.ptr < end && *r.ptr == '.')
        std::from_chars(r.ptr + 1, end, minor);
    return major * 65536u + minor;
}

}  // namespace kem::gps
