#pragma once

#include <QObject>
#include <QTimer>

#include <memory>
#include <optional>
#include <string>

#include "gps/ByteSource.h"
#include "gps/SourceAddress.h"

namespace kem::gps {

class NetworkSource;
class TCommPortDriver;

// The receiver the Port setting names, behind one ByteSource: the serial driver for a device,
// a NetworkSource for gpsd or a TCP server, polled as often as the serial driver polls.
class ReceiverLink : public QObject, public ByteSource {
public:
    ReceiverLink(TCommPortDriver& serial, QObject* parent = nullptr);
    ~ReceiverLink() override;

    // Takes effect at the next Connect; ignored while connected, as the serial port name is.
    void SetPortText(const std::string& text);
    // True when the Port text names a network source.
    bool IsNetwork() const;

    bool Connect() override;
    void Disconnect() override;
    bool Connected() const override;
    std::string StatusText() const override;
    std::string FailureText() const override;

private:
    void hookNetwork();

    TCommPortDriver& m_serial;
    std::string m_portText;
    std::optional<SourceAddress> m_address;  // nothing: the Port text is no usable address
    std::string m_addressError;
    std::unique_ptr<NetworkSource> m_network;
    QTimer m_pollTimer;
};

}  // namespace kem::gps
