#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "tools/kemsim/UartLine.h"

namespace kem::kemsim {

struct TransmitSettings {
    double speed = 1;           // seconds of data per real second; 0 = no pacing
    bool split = false;         // random chunk sizes down to 1 byte
    bool noise = false;         // garbage bytes and broken lines now and then
    bool dropWhenFull = false;  // a pseudo-terminal nobody reads: drop, as a UART would
    std::optional<std::chrono::steady_clock::duration> hangupAfter;
    std::uint32_t seed = 0;
    std::uint32_t baud = 4800;  // the receiver's rate: paces the bytes
    // The rate the reading side is set to, asked before each write (0: not known). Bytes read at
    // another rate than baud arrive as a UART at that rate samples them (UartLine).
    std::function<std::uint32_t()> readerRate;
    int teeFd = -1;  // when set, receives a copy of every byte that was written
};

// Writes one second of lines after another to a file descriptor, paced like a receiver at the
// given baud rate: second k starts k / speed real seconds after the first, and its bytes follow
// at the line's byte rate (never filling more than most of the second).
class Transmitter {
public:
    Transmitter(int fd, const TransmitSettings& settings);

    enum class Result { Sent, HangupTime, OutputFailed };

    // Sends the lines (each with its line end), or stops early when the hang-up time comes or
    // the output fails (errno tells why).
    Result SendSecond(const std::vector<std::string>& lines);

private:
    bool writeChunk(const char* data, std::size_t size);
    bool writeAll(const char* data, std::size_t size);
    bool writeTee(const char* data, std::size_t size) const;
    bool expired() const;
    void pause(std::chrono::duration<double> seconds) const;

    int m_fd;
    TransmitSettings m_settings;
    std::mt19937 m_random;
    std::chrono::steady_clock::time_point m_start;
    std::int64_t m_seconds = 0;
    std::optional<UartLine> m_wrongRate;  // while the reader is set to another rate
};

// Damages a line now and then (about one in eight): garbage bytes put inside it, its tail cut
// off, or its line end dropped so that it runs into the next one.
std::string AddNoise(const std::string& line, std::mt19937& random);

}  // namespace kem::kemsim
