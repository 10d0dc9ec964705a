#pragma once

#include <cstddef>
#include <cstdint>

namespace kem::gps::fuzz {

// Feeds `data` to a fresh decoder in chunks whose sizes the data's own bytes choose (from one
// byte to the whole rest), every window open and the log and automatic saving on, so that each
// path a receiver or a network server can reach runs. Shared by the fuzz target and the replay of
// its corpus in the unit tests.
void DecodeInChunks(const std::uint8_t* data, std::size_t size);

}  // namespace kem::gps::fuzz
