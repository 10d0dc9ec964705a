#include "archive/ZipWriter.h"

#include <algorithm>

#include "archive/BinaryFile.h"
#include "archive/Crc32.h"
#include "archive/ZipComponent.h"
#include "archive/ZipFormat.h"
#include "base/IoError.h"

namespace kem::archive {
namespace {

const std::uint8_t* NameBytes(const std::string& name) {
    return reinterpret_cast<const std::uint8_t*>(name.data());
}

// k / size * 100, rounded to the nearest integer with halves to even, in exact arithmetic.
std::int16_t Percent(std::uint64_t k, std::uint64_t size) {
    const std::uint64_t scaled = k * 100;
    const std::uint64_t quotient = scaled / size;
    const std::uint64_t twiceRest = 2 * (scaled % size);
    const bool up = twiceRest > size || (twiceRest == size && (quotient & 1) != 0);
    return static_cast<std::int16_t>(quotient + (up ? 1 : 0));
}

void WriteHeader(BinaryFile& archive, const LocalHeader& header, const std::string& name) {
    const auto bytes = header.Bytes();
    archive.Write(bytes.data(), bytes.size());
    archive.Write(NameBytes(name), name.size());
}

}  // namespace

ZipWriter::ZipWriter(ZipComponent& reporter)
    : m_reporter(reporter),
      m_encoder(std::make_unique<ShrinkEncoder>(
          [this](const std::uint8_t* data, std::size_t size) { m_archive->Write(data, size); })) {}

void ZipWriter::Write(const std::string& arcName, const std::vector<FileNode>& files) {
    if (files.empty()) {
        m_reporter.ReportError("Nejsou žádné soubory k smrsknutí !");
        return;
    }
    BinaryFile archive(arcName, BinaryFile::Mode::Create);
    if (!archive.IsOpen()) {
        const auto reason = IoError::FromErrno("Unable to create", arcName, archive.OpenError());
        m_reporter.ReportError("Chyba při otevítání souboru");
        throw reason;
    }
    m_archive = &archive;
    for (const FileNode& node : files) {
        BinaryFile source(node.path + node.name, BinaryFile::Mode::Read);
        if (!source.IsOpen()) {
            m_reporter.ReportError("Nejde otevřít " + node.name + ".  Překračuji ...");
            continue;
        }
        AddEntry(archive, source, node);
    }
    WriteDirectory(archive);
}

// The header goes out first with CRC and compressed size 0 and is rewritten once both are known.
void ZipWriter::AddEntry(BinaryFile& archive, BinaryFile& source, const FileNode& node) {
    const std::uint64_t headerOffset = archive.Position();
    LocalHeader header;
    header.method = kMethodShrunk;
    header.modTime = node.modified.time;
    header.modDate = node.modified.date;
    header.uncompressedSize = node.size;
    header.nameLength = static_cast<std::uint16_t>(node.name.size());
    WriteHeader(archive, header, node.name);

    std::uint32_t crc = kCrc32Start;
    // The bytes actually read count, should the file have changed since it was listed.
    header.uncompressedSize = ShrinkSource(source, node.size, crc);
    header.crc32 = ~crc;
    const std::uint64_t dataStart = headerOffset + kLocalHeaderLength + node.name.size();
    header.compressedSize = static_cast<std::uint32_t>(archive.Position() - dataStart);
    const bool store = header.compressedSize >= header.uncompressedSize;
    if (store) {
        header.method = kMethodStored;
        header.compressedSize = header.uncompressedSize;
    }
    archive.Seek(headerOffset);
    WriteHeader(archive, header, node.name);
    if (store) {
        CopySource(archive, source, header.uncompressedSize);
        archive.Truncate();
    } else {
        archive.SeekEnd();
    }
}

// Gives the number of bytes read; `crc` is the running register.
std::uint32_t ZipWriter::ShrinkSource(BinaryFile& source, std::uint32_t listedSize,
                                      std::uint32_t& crc) {
    m_encoder->Reset();
    std::uint32_t processed = 0;
    while (const std::size_t n = source.Read(m_input.data(), m_input.size())) {
        const std::span<const std::uint8_t> block(m_input.data(), n);
        if (m_reporter.OnProgress && listedSize > 0) {
            for (std::uint8_t c : block) {
                m_reporter.Progress(Percent(++processed, listedSize));
                crc = Crc32Update(c, crc);
                m_encoder->Put(c);
            }
        } else {
            processed += static_cast<std::uint32_t>(n);
            crc = Crc32UpdateBlock(block.data(), n, crc);
            m_encoder->Put(block);
        }
    }
    m_encoder->Finish();
    return processed;
}

void ZipWriter::CopySource(BinaryFile& archive, BinaryFile& source, std::uint32_t size) {
    source.Seek(0);
    for (std::uint32_t left = size; left > 0;) {
        const auto n = static_cast<std::uint32_t>(std::min<std::size_t>(left, m_input.size()));
        source.ReadExact(m_input.data(), n);
        archive.Write(m_input.data(), n);
        left -= n;
    }
}

// The directory repeats each local header, read back from the archive itself.
void ZipWriter::WriteDirectory(BinaryFile& archive) {
    EndRecord end;
    archive.SeekEnd();
    const std::uint64_t directoryOffset = archive.Position();
    end.directoryOffset = static_cast<std::uint32_t>(directoryOffset);
    std::array<std::uint8_t, kLocalHeaderLength> fixed{};
    std::string name;
    for (std::uint64_t offset = 0; offset < directoryOffset;) {
        archive.Seek(offset);
        archive.ReadExact(fixed.data(), fixed.size());
        const auto local = LocalHeader::Read(fixed);
        if (!local) {
            throw IoError("Unable to read " + archive.Path() + ": damaged local header");
        }
        name.resize(local->nameLength);
        archive.ReadExact(reinterpret_cast<std::uint8_t*>(name.data()), name.size());
        const auto central =
            CentralHeader::ForEntry(*local, static_cast<std::uint32_t>(offset)).Bytes();
        archive.SeekEnd();
        archive.Write(central.data(), central.size());
        archive.Write(NameBytes(name), name.size());
        end.directorySize += static_cast<std::uint32_t>(kCentralHeaderLength + name.size());
        ++end.entriesOnDisk;
        offset +=
            kLocalHeaderLength + local->nameLength + local->extraLength + local->compressedSize;
    }
    end.totalEntries = end.entriesOnDisk;
    const auto bytes = end.Bytes();
    archive.Write(bytes.data(), bytes.size());
}

}  // namespace kem::archive
