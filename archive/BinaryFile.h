#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/FileHandle.h"

namespace kem::archive {

// An open file with block reads and writes, positioning and cutting. Failures after opening
// throw kem::IoError naming the file and the reason.
class BinaryFile {
public:
    enum class Mode {
        Read,    // existing file, read only
        Create,  // created or emptied, read and write
    };

    // A closed object when opening fails.
    BinaryFile(const std::string& path, Mode mode);

    bool IsOpen() const { return m_file.Get() >= 0; }
    // errno of the failed open, or 0 when the file is open.
    int OpenError() const { return m_file.OpenError(); }
    const std::string& Path() const { return m_path; }

    // Up to `size` bytes; fewer only at the end of the file.
    std::size_t Read(std::uint8_t* data, std::size_t size);
    // Exactly `size` bytes, else an error.
    void ReadExact(std::uint8_t* data, std::size_t size);
    void Write(const std::uint8_t* data, std::size_t size);
    void Seek(std::uint64_t offset);
    void SeekEnd();
    std::uint64_t Position() const;
    // Cuts the file off at the current position.
    void Truncate();

private:
    template <class Io>
    std::size_t Repeat(std::size_t size, const char* what, Io io) const;
    [[noreturn]] void Fail(const char* what) const;

    std::string m_path;
    FileHandle m_file;
};

}  // namespace kem::archive
