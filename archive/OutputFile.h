#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "archive/EntryWriter.h"
#include "base/FileHandle.h"

namespace kem::archive {

// An extracted file being written. An existing file of the name is replaced; a symbolic link or
// other special file planted at the name is removed first, never written through.
class OutputFile : public ByteSink {
public:
    explicit OutputFile(const std::string& path);

    // errno of the failed creation, or 0 when the file is open.
    int OpenError() const { return m_file.OpenError(); }

    // Throws kem::IoError when the block cannot be written.
    void Write(std::span<const std::uint8_t> block) override;

    // Sets the last-write time (left alone when absent).
    void SetTime(std::optional<std::time_t> time);

    // Gives errno of a failed close, else 0.
    int Close() { return m_file.Close(); }

private:
    std::string m_path;
    FileHandle m_file;
};

}  // namespace kem::archive
