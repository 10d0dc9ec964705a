#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "archive/BitReader.h"
#include "archive/EntryWriter.h"

namespace kem::archive {

// Receives the decoders' reports (the component's ReportError).
using Report = std::function<void(const std::string& text)>;

// The decoders of the legacy methods. Each reads one entry's compressed data through `bits`,
// writes the result through `out` and allocates its tables for the call only (std::bad_alloc
// when they cannot be had, before anything is read). Each ends when the data runs out: bytes
// that are not in the archive are never made up.

// Method 1: LZW with 9- to 13-bit codes and partial clearing.
void Unshrink(BitReader& bits, EntryWriter& out, const Report& report);

// Methods 2 to 5 (`factor` 1 to 4): follower sets and a repeat code over a 4 KiB window, until
// `size` bytes are written.
void Expand(BitReader& bits, EntryWriter& out, int factor, std::uint64_t size);

// Method 6: Shannon-Fano trees over a 4 or 8 KiB window, chosen by the header's `flags`, until
// `size` bytes are written.
void Explode(BitReader& bits, EntryWriter& out, std::uint16_t flags, std::uint64_t size,
             const Report& report);

}  // namespace kem::archive
