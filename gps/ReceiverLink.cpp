#include "gps/ReceiverLink.h"

#include "gps/NetworkSource.h"
#include "gps/PortError.h"
#include "gps/TCommPortDriver.h"

namespace kem::gps {
namespace {

std::string withoutDevicePrefix(const std::string& name) {
    const std::size_t prefix = std::string_view(kDevicePrefix).size();
    return name.size() > prefix ? name.substr(prefix) : std::string();
}

}  // namespace

ReceiverLink::ReceiverLink(TCommPortDriver& serial, QObject* parent)
    : QObject(parent), m_serial(serial) {
    m_serial.OnReceiveData = [this](TCommPortDriver*, const char* data, std::uint32_t size) {
        if (OnReceive) {
            OnReceive(data, size);
        }
    };
    m_serial.OnHangup = [this] {
        if (OnHangup) {
            OnHangup();
        }
    };
    m_serial.OnBaudRateFound = [this] {
        if (OnStatusChanged) {
            OnStatusChanged();
        }
    };
    connect(&m_pollTimer, &QTimer::timeout, this, [this] {
        if (m_network) {
            m_network->Poll();
        }
    });
    SetPortText(withoutDevicePrefix(m_serial.PortName()));
}

// The serial driver may be gone already (a sibling child of the same window): not touched here.
ReceiverLink::~ReceiverLink() = default;

void ReceiverLink::SetPortText(const std::string& text) {
    if (Connected()) {
        return;
    }
    m_portText = text;
    m_addressError.clear();
    m_address = ParseSourceAddress(text, m_addressError);
    if (m_address && !m_address->IsNetwork()) {
        m_serial.SetPortName(kDevicePrefix + text);
    }
}

bool ReceiverLink::IsNetwork() const {
    return !m_address || m_address->IsNetwork();
}

bool ReceiverLink::Connect() {
    if (Connected()) {
        return true;
    }
    if (!IsNetwork()) {
        return m_serial.Connect();
    }
    m_network.reset();
    if (!m_address) {
        return false;
    }
    m_network = std::make_unique<NetworkSource>(*m_address);
    hookNetwork();
    if (!m_network->Connect()) {
        return false;
    }
    m_pollTimer.start(m_serial.PollingDelay());
    return true;
}

void ReceiverLink::hookNetwork() {
    m_network->OnReceive = [this](const char* data, std::size_t size) {
        if (OnReceive) {
            OnReceive(data, size);
        }
    };
    m_network->OnHangup = [this] {
        m_pollTimer.stop();
        if (OnHangup) {
            OnHangup();
        }
    };
    m_network->OnStatusChanged = [this] {
        if (OnStatusChanged) {
            OnStatusChanged();
        }
    };
}

void ReceiverLink::Disconnect() {
    m_pollTimer.stop();
    if (m_network) {
        m_network->Disconnect();
    }
    m_serial.Disconnect();
}

bool ReceiverLink::Connected() const {
    return m_serial.Connected() || (m_network && m_network->Connected());
}

std::string ReceiverLink::StatusText() const {
    if (m_network && m_network->Connected()) {
        return m_network->StatusText();
    }
    std::string name = "Prijungta prie " + withoutDevicePrefix(m_serial.PortName());
    if (m_serial.BaudRateFound()) {
        name += ", " + std::to_string(m_serial.BaudRateValue());
    }
    return name;
}

std::string ReceiverLink::FailureText() const {
    if (!m_address) {
        return m_addressError;
    }
    if (m_address->IsNetwork()) {
        return m_network ? m_network->FailureText() : std::string();
    }
    std::string text = "Negalima prijungti prie COM.\nPatikrinkite nustatymus.";
    const std::string reason = PortErrorText(m_serial.LastError(), m_serial.PortName());
    if (!reason.empty()) {
        text += '\n' + reason;
    }
    return text;
}

}  // namespace kem::gps
