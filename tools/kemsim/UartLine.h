#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kem::kemsim {

// A serial line from a sender at one rate to a UART set to another: the sender's characters go
// out as 8N1 frames (a start bit, eight data bits from the lowest, a stop bit) back to back, and
// the UART samples them at its own rate as a real one does: it waits for the line to go low,
// checks the middle of the start bit (high again is a glitch), takes the eight data bits and the
// stop bit at their middles and then looks for the next start. A frame with a low stop bit is
// delivered all the same, as Linux does for a port without parity checking. What arrives is thus
// what a receiver at the wrong rate really produces: mostly garbage, line ends only by chance.
class UartLine {
public:
    UartLine(std::uint32_t sentRate, std::uint32_t readRate);

    std::uint32_t ReadRate() const { return m_readRate; }

    // Sends bytes right after the ones before; returns the characters the UART has completed.
    std::string Send(std::string_view bytes);
    // The line rests until the next Send: completes a character still being sampled.
    std::string Rest();

private:
    bool level(std::int64_t time) const;
    std::string sample();

    const std::uint32_t m_sentRate;
    const std::uint32_t m_readRate;
    // Time runs in units of 1 / (2 * sentRate * readRate) seconds: a sent bit lasts 2 * readRate
    // of them, a sampled bit 2 * sentRate, so every sampling point is a whole number.
    std::vector<bool> m_bits;       // the sender's line, one level per sent bit, from m_firstBit
    std::int64_t m_firstBit = 0;    // number of the bit in m_bits[0]
    std::int64_t m_searchFrom = 0;  // where the UART looks for the next start bit
};

}  // namespace kem::kemsim
