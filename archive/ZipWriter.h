#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "archive/DosTime.h"
#include "archive/ShrinkEncoder.h"

namespace kem::archive {

class BinaryFile;
class ZipComponent;

// One file to store.
struct FileNode {
    std::string path;  // directory of the file ending with "/", or empty for the current one
    std::string name;  // the name as listed; also the entry name
    std::uint32_t size = 0;
    DosDateTime modified;
};

// Writes an archive: each file shrunk, or stored when shrinking does not make it smaller, then
// the central directory and the end record. Holds the compressor's fixed memory, so one writer
// serves a whole archive.
class ZipWriter {
public:
    // Reports go through `reporter`, and so does the progress of each file.
    explicit ZipWriter(ZipComponent& reporter);

    // Replaces `arcName` with an archive of `files` in list order. A file that cannot be opened is
    // reported and left out. Throws kem::IoError when reading, writing, positioning or cutting
    // fails; the archive then stays as far as it was written.
    void Write(const std::string& arcName, const std::vector<FileNode>& files);

private:
    void AddEntry(BinaryFile& archive, BinaryFile& source, const FileNode& node);
    std::uint32_t ShrinkSource(BinaryFile& source, std::uint32_t listedSize, std::uint32_t& crc);
    void CopySource(BinaryFile& archive, BinaryFile& source, std::uint32_t size);
    void WriteDirectory(BinaryFile& archive);

    ZipComponent& m_reporter;
    BinaryFile* m_archive = nullptr;  // the target of the compressor's output while it runs
    std::unique_ptr<ShrinkEncoder> m_encoder;
    std::array<std::uint8_t, ShrinkEncoder::kBufferSize> m_input{};
};

}  // namespace kem::archive
