#include "tools/kemsim/UartLine.h"

namespace kem::kemsim {

namespace {

constexpr int kDataBits = 8;

}  // namespace

UartLine::UartLine(std::uint32_t sentRate, std::uint32_t readRate)
    : m_sentRate(sentRate), m_readRate(readRate) {}

std::string UartLine::Send(std::string_view bytes) {
    for (const char c : bytes) {
        m_bits.push_back(false);
        for (int bit = 0; bit < kDataBits; ++bit)
            m_bits.push_back((static_cast<unsigned char>(c) >> bit & 1) != 0);
        m_bits.push_back(true);
    }
    return sample();
}

std::string UartLine::Rest() {
    // Idle (high) long enough for the longest frame the UART may be sampling.
    const std::int64_t frame = 2 * (kDataBits + 2) * std::int64_t{m_sentRate};
    m_bits.insert(m_bits.end(), static_cast<std::size_t>(frame / m_readRate + 2), true);
    std::string out = sample();
    // Everything is idle now: the next Send starts afresh.
    m_bits.clear();
    m_firstBit = 0;
    m_searchFrom = 0;
    return out;
}

bool UartLine::level(std::int64_t time) const {
    return m_bits[static_cast<std::size_t>(time / (2 * std::int64_t{m_readRate}) - m_firstBit)];
}

std::string UartLine::sample() {
    const std::int64_t sentBit = 2 * std::int64_t{m_readRate};
    const std::int64_t halfRead = m_sentRate;
    const std::int64_t end = (m_firstBit + static_cast<std::int64_t>(m_bits.size())) * sentBit;
    std::string out;
    for (;;) {
        // The start: the search point if the line is low there, else the next falling edge.
        std::int64_t start = m_searchFrom;
        while (start < end && level(start))
            start = (start / sentBit + 1) * sentBit;
        const std::int64_t stopMiddle = start + (2 * (kDataBits + 1) + 1) * halfRead;
        if (stopMiddle >= end)
            break;  // the frame is not all sent yet
        if (level(start + halfRead)) {
            m_searchFrom = start + halfRead;  // a glitch, no start bit
            continue;
        }
        unsigned value = 0;
        for (int bit = 0; bit < kDataBits; ++bit)
            value |= unsigned{level(start + (2 * (bit + 1) + 1) * halfRead)} << bit;
        out += static_cast<char>(value);
        m_searchFrom = stopMiddle;
    }
    // Bits before the search point are no longer looked at.
    const std::int64_t keepFrom = m_searchFrom / sentBit;
    if (keepFrom > m_firstBit) {
        m_bits.erase(m_bits.begin(),
                     m_bits.begin() + static_cast<std::ptrdiff_t>(keepFrom - m_firstBit));
        m_firstBit = keepFrom;
    }
    return out;
}

}  // namespace kem::kemsim
