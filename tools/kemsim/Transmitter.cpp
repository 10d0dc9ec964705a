#include "tools/kemsim/Transmitter.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>

namespace kem::kemsim {

namespace {

constexpr double kBitsPerCharacter = 10;  // start bit, 8 data bits, stop bit
constexpr double kBusiestPart = 0.9;      // of a second, for an unusually long burst
constexpr std::size_t kLongestChunk = 24;

}  // namespace

std::string AddNoise(const std::string& line, std::mt19937& random) {
    if (line.empty() || random() % 8 != 0)
        return line;
    const std::size_t at = random() % line.size();
    switch (random() % 3) {
        case 0: {
            std::string damaged = line;
            std::string garbage(1 + random() % 5, '\0');
            for (auto& c : garbage)
                c = static_cast<char>(random());
            damaged.insert(at, garbage);
            return damaged;
        }
        case 1:
            return line.substr(0, at) + "\r\n";
        default: {
            std::string joined = line;
            while (!joined.empty() && (joined.back() == '\n' || joined.back() == '\r'))
                joined.pop_back();
            return joined;
        }
    }
}

Transmitter::Transmitter(int fd, const TransmitSettings& settings)
    : m_fd(fd),
      m_settings(settings),
      m_random(settings.seed),
      m_start(std::chrono::steady_clock::now()) {}

bool Transmitter::expired() const {
    return m_settings.hangupAfter &&
           std::chrono::steady_clock::now() - m_start >= *m_settings.hangupAfter;
}

void Transmitter::pause(std::chrono::duration<double> seconds) const {
    if (m_settings.speed > 0)
        std::this_thread::sleep_for(seconds / m_settings.speed);
}

Transmitter::Result Transmitter::SendSecond(const std::vector<std::string>& lines) {
    if (m_settings.speed > 0) {
        const std::chrono::duration<double> offset(static_cast<double>(m_seconds) /
                                                   m_settings.speed);
        auto due =
            m_start + std::chrono::duration_cast<std::chrono::steady_clock::duration>(offset);
        if (m_settings.hangupAfter)
            due = std::min(due, m_start + *m_settings.hangupAfter);
        std::this_thread::sleep_until(due);
    }
    if (expired())
        return Result::HangupTime;
    ++m_seconds;

    std::vector<std::string> burst;
    std::size_t bytes = 0;
    for (const auto& line : lines) {
        burst.push_back(m_settings.noise ? AddNoise(line, m_random) : line);
        bytes += burst.back().size();
    }
    const double byteTime =
        std::min(kBitsPerCharacter / m_settings.baud, kBusiestPart / std::max<double>(bytes, 1));

    for (const auto& line : burst) {
        std::size_t done = 0;
        while (done < line.size()) {
            if (expired())
                return Result::HangupTime;
            std::size_t chunk = line.size() - done;
            if (m_settings.split)
                chunk = std::min(chunk, 1 + m_random() % kLongestChunk);
            if (!writeChunk(line.data() + done, chunk))
                return Result::OutputFailed;
            done += chunk;
            pause(std::chrono::duration<double>(byteTime * static_cast<double>(chunk)));
        }
    }
    // Between seconds the line rests, which lets a UART at the wrong rate finish its character.
    if (m_wrongRate) {
        const std::string rest = m_wrongRate->Rest();
        if (!writeAll(rest.data(), rest.size()))
            return Result::OutputFailed;
    }
    return expired() ? Result::HangupTime : Result::Sent;
}

bool Transmitter::writeChunk(const char* data, std::size_t size) {
    const std::uint32_t rate = m_settings.readerRate ? m_settings.readerRate() : 0;
    if (rate == 0 || rate == m_settings.baud) {
        m_wrongRate.reset();
        return writeAll(data, size);
    }
    if (!m_wrongRate || m_wrongRate->ReadRate() != rate)
        m_wrongRate.emplace(m_settings.baud, rate);
    const std::string received = m_wrongRate->Send({data, size});
    return writeAll(received.data(), received.size());
}

bool Transmitter::writeAll(const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(m_fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            // Nobody reads the pseudo-terminal (queue full, or no one has it open): the
            // receiver goes on talking and the bytes are lost.
            return m_settings.dropWhenFull && (errno == EAGAIN || errno == EIO);
        }
        if (!writeTee(data, static_cast<std::size_t>(n)))
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool Transmitter::writeTee(const char* data, std::size_t size) const {
    while (m_settings.teeFd >= 0 && size > 0) {
        const ssize_t n = ::write(m_settings.teeFd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace kem::kemsim
