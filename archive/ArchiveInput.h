#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "base/FileHandle.h"

namespace kem::archive {

// The archive being extracted, read front to back through a block buffer.
class ArchiveInput {
public:
    // `buffer` holds the blocks read; it must outlive the object.
    ArchiveInput(const std::string& path, std::span<std::uint8_t> buffer);

    // errno of the failed open, or 0 when the archive is open.
    int OpenError() const { return m_file.OpenError(); }

    // The next byte; -1 once a block read delivered nothing (and from then on). A read failure
    // throws kem::IoError.
    int ReadByte() {
        if (m_next < m_valid) {
            return m_buffer[m_next++];
        }
        return ReadBlockByte();
    }

    // Set when a block read delivered nothing.
    bool AtEnd() const { return m_atEnd; }

    // Passes over `count` bytes, within the buffer when it holds them, else by repositioning the
    // file. Gives errno of a failed repositioning, else 0.
    int Skip(std::uint64_t count);

    // Closes the archive; gives errno of a failed close, else 0.
    int Close() { return m_file.Close(); }

private:
    int ReadBlockByte();
    void Fill();

    std::string m_path;
    std::span<std::uint8_t> m_buffer;
    FileHandle m_file;
    std::uint64_t m_bufferOffset = 0;  // file offset of m_buffer[0]
    std::size_t m_valid = 0;
    std::size_t m_next = 0;
    bool m_atEnd = false;
};

}  // namespace kem::archive
