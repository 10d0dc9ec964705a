#pragma once

#include <cstddef>
#include <cstdint>

namespace kem::fuzz {

// Takes `data` as a settings file: reads every key the programs read, as the type they read it
// as, parses the port text, then writes a key and checks that it reads back as written (an
// abort otherwise). Shared by the fuzz target and the replay of its corpus in the unit tests.
void ReadAndRewriteSettings(const std::uint8_t* data, std::size_t size);

}  // namespace kem::fuzz
