#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kem::gps {

// True for a sentence that starts with "$" and ends in "*hh", hh being the XOR of the bytes
// between them in two hex digits (either case). Line ends must already be cut off.
bool HasValidChecksum(std::string_view line);

// Watches raw received bytes for one line that HasValidChecksum accepts. Lines are cut as the
// decoder cuts them (LineAssembler): a carriage return ends a line, LF and NUL bytes are dropped.
// A stream of LF-only lines is thus never taken for NMEA, whose lines end in CR LF: the decoder
// would join its lines and decode nothing, so the hunt goes on and says so. A line longer than
// any sentence is given up until the next line end. Allocates nothing.
class SentenceSpotter {
public:
    // NMEA allows 82 characters with "$" and the line end; some receivers run a little over.
    static constexpr std::size_t kMaxLine = 96;

    // True when the bytes complete such a line (earlier ones count too).
    bool Add(const char* data, std::size_t size);
    bool Spotted() const { return m_spotted; }
    void Reset();

private:
    std::array<char, kMaxLine> m_line{};
    std::size_t m_size = 0;
    bool m_overlong = false;
    bool m_spotted = false;
};

// The search for a receiver's rate: the rates in kRates order, over and over, until one of them
// brings a valid sentence; then it stays there. The caller applies each rate and decides when
// one has had its chance (Next).
class BaudHunt {
public:
    // Most GPS modules talk at 4800 or 9600; faster ones at 38400 or 115200.
    static constexpr std::array<std::uint32_t, 6> kRates = {4800,   9600,  38400,
                                                            115200, 19200, 57600};

    // Starts again from the first rate and returns it.
    std::uint32_t Start();
    // Received bytes at the current rate; true once they hold a valid sentence (Found).
    bool Feed(const char* data, std::size_t size);
    // The current rate gave nothing: returns the next one (after the last, the first again).
    std::uint32_t Next();

    bool Found() const { return m_spotter.Spotted(); }
    std::uint32_t Rate() const { return kRates[m_index]; }

private:
    std::size_t m_index = 0;
    SentenceSpotter m_spotter;
};

}  // namespace kem::gps
