#pragma once

#include <cstdint>
#include <string>

namespace kem::kemsim {

// A listening socket on 127.0.0.1 only (the simulator is for this machine); port 0 takes a
// free one. Returns the socket or -1 (errno tells why) and sets port to the one bound.
int ListenOnLoopback(std::uint16_t& port);

// Waits for the first client and returns its socket (the listener is closed), or -1.
int AcceptOneClient(int listener);

// The address KEMGPS takes for the port.
std::string TcpAddress(std::uint16_t port);

}  // namespace kem::kemsim
