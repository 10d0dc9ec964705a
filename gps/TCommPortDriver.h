#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/FileHandle.h"
#include "gps/BaudHunt.h"
#include "gps/PortError.h"
#include "gps/UucpLock.h"

namespace kem::gps {

// Ordinals are the positions of the values, from 0; the line settings use them as codes.
enum TPortNumber : int {
    pnCustom,
    pnCOM1,
    pnCOM2,
    pnCOM3,
    pnCOM4,
    pnCOM5,
    pnCOM6,
    pnCOM7,
    pnCOM8,
    pnCOM9,
    pnCOM10,
    pnCOM11,
    pnCOM12,
    pnCOM13,
    pnCOM14,
    pnCOM15,
    pnCOM16
};

// Every value but brCustom stands for the rate in its name.
enum TBaudRate : int {
    brCustom,
    br110,
    br300,
    br600,
    br1200,
    br2400,
    br4800,
    br9600,
    br14400,
    br19200,
    br38400,
    br56000,
    br57600,
    br115200,
    br128000,
    br256000
};

enum TDataBits : int { db5BITS, db6BITS, db7BITS, db8BITS };
enum TStopBits : int { sb1BITS, sb1HALFBITS, sb2BITS };
enum TParity : int { ptNONE, ptODD, ptEVEN, ptMARK, ptSPACE };
enum THwFlowControl : int { hfNONE, hfNONERTSON, hfRTSCTS };
enum TSwFlowControl : int { sfNONE, sfXONXOFF };

class TCommPortDriver;

// The receive handler: the driver, the received bytes (valid only during the call) and their
// count (at least 1).
using TReceiveDataEvent =
    std::function<void(TCommPortDriver* Sender, const char* DataPtr, std::uint32_t DataSize)>;

// Device names are "/dev/" followed by the port, e.g. "/dev/ttyUSB0" or "/dev/pts/3".
inline constexpr const char* kDevicePrefix = "/dev/";

// Listens to a serial port: opens it exclusively, sets speed, framing and flow control, and
// polls it from a timer on the user-interface thread, handing each batch of received bytes to
// OnReceiveData. Nothing is ever sent. Not thread-safe: everything runs on the thread that owns
// the driver.
class TCommPortDriver : public QObject {
public:
    explicit TCommPortDriver(QObject* parent = nullptr);
    ~TCommPortDriver() override;

    TCommPortDriver(const TCommPortDriver&) = delete;
    TCommPortDriver& operator=(const TCommPortDriver&) = delete;

    // Ignored while connected. pnCOMn also sets PortName to /dev/ttyS(n-1).
    TPortNumber Port() const { return m_port; }
    void SetPort(TPortNumber value);

    // Ignored while connected; also sets Port to pnCustom.
    const std::string& PortName() const { return m_portName; }
    void SetPortName(const std::string& value);

    // Any value but brCustom also sets BaudRateValue. The line settings of this group are
    // applied again at once while connected (which also discards pending input). Setting a rate
    // ends AutoBaud.
    TBaudRate BaudRate() const { return m_baudRate; }
    void SetBaudRate(TBaudRate value);

    // Also sets BaudRate to brCustom. Rates without a standard speed code use a custom divisor.
    // The rate the hunt has found, set while connected, only ends AutoBaud: the line stays as it
    // is and nothing received is discarded.
    std::uint32_t BaudRateValue() const { return m_baudRateValue; }
    void SetBaudRateValue(std::uint32_t value);

    // Hunting for the receiver's rate: each connection starts at the first rate of BaudHunt and,
    // while no line arrives that starts with "$" and ends in a valid checksum, applies the next
    // rate every kHuntWindow; the first rate that brings one stays (BaudRateValue). Turned on
    // while connected, the hunt starts at once. Nothing is sent to the receiver.
    bool AutoBaud() const { return m_autoBaud; }
    void SetAutoBaud(bool on);
    // True once the hunt of this connection has found the rate.
    bool BaudRateFound() const { return m_autoBaud && m_hunt.Found(); }
    // True while the hunt is still trying rates on the open port.
    bool Hunting() const { return Connected() && hunting(); }

    TDataBits DataBits() const { return m_dataBits; }
    void SetDataBits(TDataBits value) { setLineSetting(m_dataBits, value); }

    TStopBits StopBits() const { return m_stopBits; }
    void SetStopBits(TStopBits value) { setLineSetting(m_stopBits, value); }

    TParity Parity() const { return m_parity; }
    void SetParity(TParity value) { setLineSetting(m_parity, value); }

    THwFlowControl HwFlow() const { return m_hwFlow; }
    void SetHwFlow(THwFlowControl value) { setLineSetting(m_hwFlow, value); }

    TSwFlowControl SwFlow() const { return m_swFlow; }
    void SetSwFlow(TSwFlowControl value) { setLineSetting(m_swFlow, value); }

    // Bytes; ignored while connected; clamped to kMinBufSize..kMaxBufSize. InBufSize is also the
    // most one tick reads; the receive buffer is allocated again (zero-filled) at the new size.
    std::uint32_t InBufSize() const { return m_inBufSize; }
    void SetInBufSize(std::uint32_t value);
    std::uint32_t OutBufSize() const { return m_outBufSize; }
    void SetOutBufSize(std::uint32_t value);

    // Milliseconds between ticks; values below kMinPollingDelay become it. While connected the
    // timer is restarted with the new interval.
    std::uint16_t PollingDelay() const { return m_pollingDelay; }
    void SetPollingDelay(std::uint16_t value);

    // Read when the line settings are applied: DTR on (true) or off.
    bool EnableDTROnOpen() const { return m_enableDtrOnOpen; }
    void SetEnableDTROnOpen(bool value) { m_enableDtrOnOpen = value; }

    // Called from PollTick with each batch of received bytes.
    TReceiveDataEvent OnReceiveData;

    // Called after the driver has closed the port because the device went away (unplugged
    // adapter, closed pseudo-terminal master); Connected() is already false.
    std::function<void()> OnHangup;

    // Called when the hunt of AutoBaud has found the rate, before the bytes that showed it are
    // handed to OnReceiveData.
    std::function<void()> OnBaudRateFound;

    // Called when the hunt has applied a rate (BaudRateValue), the first one included.
    std::function<void()> OnHuntRate;
    // Called when the hunt has tried every rate of BaudHunt once more without a valid sentence,
    // before it starts the next round.
    std::function<void()> OnHuntRoundEnded;

    bool Connected() const { return m_device.Get() >= 0; }

    // Opens PortName exclusively (existing devices only; its UUCP lock file taken where the lock
    // directory allows), applies the line settings and starts polling. True if the port is (or
    // already was) open; a failure leaves it closed and LastError tells why.
    bool Connect();

    // Why the last Connect failed; None after one that succeeded.
    PortError LastError() const { return m_lastError; }

    // Stops polling and closes the port; nothing when not connected.
    void Disconnect();

    // Writes the line settings to the open port and discards both queues. False when not
    // connected or when the device refuses them.
    bool ApplyPortSettings();

    // Discards pending input and/or output. False when not connected or refused.
    bool PurgeBuffers(bool input, bool output);

    // One polling step: reads at most InBufSize queued bytes and hands them to OnReceiveData.
    // Does nothing while OnReceiveData runs (the bytes stay queued, in order) or when not
    // connected. Closes the port and calls OnHangup when the device has gone away.
    void PollTick();

    // Operating system name and version (major * 65536 + minor); "??" and 0 when unknown.
    static std::string PlatformName();
    static std::uint32_t PlatformVersion();

    static constexpr std::uint32_t kDefaultBufSize = 2048;
    static constexpr std::uint32_t kMinBufSize = 128;
    static constexpr std::uint32_t kMaxBufSize = 8192;
    static constexpr std::uint16_t kDefaultPollingDelay = 50;
    static constexpr std::uint16_t kMinPollingDelay = 5;
    // Long enough for a receiver that sends once a second to send one whole sentence.
    static constexpr std::chrono::milliseconds kHuntWindow{1500};

private:
    template <typename T>
    void setLineSetting(T& member, T value) {
        member = value;
        reapplyIfConnected();
    }
    void reapplyIfConnected();
    void hangUp();
    bool failConnect(int error);
    bool hunting() const { return m_autoBaud && !m_hunt.Found(); }
    bool startHunt();
    void tryNextRate();

    FileHandle m_device;
    UucpLock m_lock;
    TPortNumber m_port = pnCOM2;
    std::string m_portName;
    TBaudRate m_baudRate = br9600;
    std::uint32_t m_baudRateValue = 9600;
    TDataBits m_dataBits = db8BITS;
    TStopBits m_stopBits = sb1BITS;
    TParity m_parity = ptNONE;
    THwFlowControl m_hwFlow = hfNONERTSON;
    TSwFlowControl m_swFlow = sfNONE;
    std::uint32_t m_inBufSize = kDefaultBufSize;
    std::uint32_t m_outBufSize = kDefaultBufSize;
    std::uint16_t m_pollingDelay = kDefaultPollingDelay;
    bool m_enableDtrOnOpen = true;
    bool m_inHandler = false;
    bool m_autoBaud = false;
    PortError m_lastError = PortError::None;
    BaudHunt m_hunt;
    std::vector<char> m_receiveBuffer;
    QTimer m_pollTimer;
    QTimer m_huntTimer;
};

}  // namespace kem::gps
