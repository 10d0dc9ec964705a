#pragma once

#include <cstdint>

// The code space of Shrink (method 1), shared by the compressor and the decoder: LZW codes of
// 9 to 13 bits, 0 to 255 standing for the bytes themselves.
namespace kem::archive::shrink {

inline constexpr int kCodeCount = 8192;  // every 13-bit code
// Marks a control sequence: the code after it says what to do.
inline constexpr int kControlCode = 256;
inline constexpr int kFirstFreeCode = 257;  // the first code that names a dictionary entry
inline constexpr unsigned kFirstWidth = 9;
inline constexpr unsigned kLastWidth = 13;

// The codes that follow kControlCode.
inline constexpr int kWiden = 1;         // codes grow by one bit from here on
inline constexpr int kPartialClear = 2;  // every leaf of the dictionary is free again

}  // namespace kem::archive::shrink
