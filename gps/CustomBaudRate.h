#pragma once

#include <cstdint>

namespace kem::gps {

// Sets a speed that has no standard B-constant (e.g. 14400 or 256000) on an open terminal
// through the kernel's BOTHER interface. Kept apart because <asm/termbits.h> clashes with
// <termios.h>. False when the device refuses it.
bool SetCustomBaudRate(int fd, std::uint32_t rate);

}  // namespace kem::gps
