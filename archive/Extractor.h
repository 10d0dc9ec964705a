#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "archive/ZipComponent.h"

namespace kem::archive {

// Unpacks the entries of an archive whose names match a mask into a directory, reporting every
// problem through `sender` and going on where it can. Throws kem::IoError when a read or write
// fails during a transfer.
//
// `extrPath` exists and ends with "/"; `masks` is not empty; the two buffers of 8192 bytes are
// the archive's input block and the output block.
void RunExtractor(ZipComponent& sender, const std::string& arcName, const std::string& extrPath,
                  const std::vector<std::string>& masks, std::span<std::uint8_t> inputBuffer,
                  std::span<std::uint8_t> outputBuffer);

}  // namespace kem::archive
