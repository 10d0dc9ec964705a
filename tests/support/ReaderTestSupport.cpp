#include "tests/support/ReaderTestSupport.h"

#include <unistd.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "archive/Crc32.h"
#include "archive/ZipFormat.h"

namespace kem::archive::testing {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kem-reader-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    m_path = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

Bytes ToBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

Entry Entry::Stored(const std::string& name, const Bytes& content) {
    Entry e;
    e.name = name;
    e.data = content;
    e.crc32 = ~Crc32UpdateBlock(content.data(), content.size(), kCrc32Start);
    e.size = static_cast<std::uint32_t>(content.size());
    return e;
}

Bytes MakeArchive(const std::vector<Entry>& entries, bool withDirectory) {
    Bytes out;
    std::vector<CentralHeader> directory;
    auto append = [&out](const auto& bytes) { out.insert(out.end(), bytes.begin(), bytes.end()); };
    for (const Entry& e : entries) {
        LocalHeader h;
        h.flags = e.flags;
        h.method = e.method;
        h.modTime = e.time;
        h.modDate = e.date;
        h.crc32 = e.crc32;
        h.compressedSize = static_cast<std::uint32_t>(e.data.size());
        h.uncompressedSize = e.size;
        h.nameLength = static_cast<std::uint16_t>(e.name.size());
        directory.push_back(CentralHeader::ForEntry(h, static_cast<std::uint32_t>(out.size())));
        append(h.Bytes());
        append(e.name);
        append(e.data);
    }
    if (!withDirectory) {
        return out;
    }
    EndRecord end;
    end.directoryOffset = static_cast<std::uint32_t>(out.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        append(directory[i].Bytes());
        append(entries[i].name);
    }
    end.entriesOnDisk = end.totalEntries = static_cast<std::uint16_t>(entries.size());
    end.directorySize = static_cast<std::uint32_t>(out.size()) - end.directoryOffset;
    append(end.Bytes());
    return out;
}

std::vector<Entry> ReadEntries(const Bytes& zip) {
    std::vector<Entry> entries;
    std::size_t at = 0;
    while (at + kLocalHeaderLength <= zip.size()) {
        const auto h = LocalHeader::Read(std::span(zip).subspan(at).first<kLocalHeaderLength>());
        if (!h) {
            break;
        }
        const auto name = zip.begin() + static_cast<std::ptrdiff_t>(at + kLocalHeaderLength);
        const auto data = name + h->nameLength + h->extraLength;
        entries.push_back({std::string(name, name + h->nameLength),
                           Bytes(data, data + h->compressedSize), h->method, h->crc32,
                           h->uncompressedSize, h->flags, h->modTime, h->modDate});
        at = static_cast<std::size_t>(data - zip.begin()) + h->compressedSize;
    }
    return entries;
}

Extraction::Extraction(const std::string& archive, const std::string& dir) {
    unzip.SetArcName(archive);
    unzip.SetExtrPath(dir);
    unzip.OnError = [this](ZipComponent&, const std::string& text) { reports.push_back(text); };
}

}  // namespace kem::archive::testing
