#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace kem::gps {

// A source of received bytes: a serial receiver, gpsd, or an NMEA server on the network. The
// decoder and the windows read through this and do not know which kind it is. Not thread-safe:
// everything, the callbacks included, runs on the thread that owns the source.
class ByteSource {
public:
    virtual ~ByteSource() = default;

    // True if the source is (or already was) connected; a failure leaves it disconnected and
    // FailureText tells why.
    virtual bool Connect() = 0;
    // Nothing when not connected.
    virtual void Disconnect() = 0;
    virtual bool Connected() const = 0;

    // The status line while connected (UTF-8), e.g. "Prijungta prie ttyUSB0, 4800" or
    // "Prijungta prie gpsd (localhost)"; what matters most comes first, the field is narrow.
    virtual std::string StatusText() const = 0;
    // The error box's text for the last failed Connect (UTF-8); empty after one that succeeded.
    virtual std::string FailureText() const = 0;

    // Each batch of received bytes (at least one, valid only during the call).
    std::function<void(const char* data, std::size_t size)> OnReceive;
    // The source went away (unplugged, server stopped, connection dropped); Connected() is
    // already false.
    std::function<void()> OnHangup;
    // StatusText changed while connected (a rate found, gpsd's receiver came or went).
    std::function<void()> OnStatusChanged;
};

}  // namespace kem::gps
