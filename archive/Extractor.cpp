#include "archive/Extractor.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <new>
#include <string_view>

#include "archive/ArchiveInput.h"
#include "archive/BitReader.h"
#include "archive/DosTime.h"
#include "archive/EntryWriter.h"
#include "archive/LittleEndian.h"
#include "archive/Methods.h"
#include "archive/NameMatch.h"
#include "archive/OutputFile.h"
#include "archive/PathParts.h"
#include "archive/ZipFormat.h"

namespace kem::archive {
namespace {

constexpr char kDamagedHeader[] = "Hlava chybí nebo je poškozena u ";
constexpr char kBadName[] = "Jméno je chybné !";

// The report of a failed open, create, close or seek: errno mapped onto the DOS error numbers
// (2, 3, 5, 101) that the texts were written for.
std::string IoErrorReport(int error) {
    switch (error) {
        case ENOENT:
            return "Soubor nebyl nalezen";
        case ENOTDIR:
        case ENAMETOOLONG:
            return "Cesta není platná/nebyla nalezana";
        case EACCES:
        case EPERM:
        case EISDIR:
        case EROFS:
        case ELOOP:
        case EINVAL:
        case ETXTBSY:
            return "Chyba souboru/cesty/syntaxe";
        case ENOSPC:
        case EDQUOT:
            return "Disk je plný";
        default:
            return "Vstupně/výstupní chyba " + std::to_string(error);
    }
}

// Reads the entry's compressed bytes, counting them down and raising the progress event.
class EntrySource : public ByteSource {
public:
    EntrySource(ArchiveInput& archive, ZipComponent& sender, std::uint32_t size)
        : m_archive(archive), m_sender(sender), m_size(size), m_remaining(size) {}

    int ReadByte() override {
        if (m_remaining == 0) {
            return -1;
        }
        if (m_sender.OnProgress) {
            m_sender.Progress(Percent());
        }
        const int byte = m_archive.ReadByte();
        // An archive cut short has nothing more for this entry.
        m_remaining = byte < 0 ? 0 : m_remaining - 1;
        return byte;
    }

    std::uint32_t Remaining() const { return m_remaining; }

private:
    // 100 - remaining / size * 100, rounded half to even.
    std::int16_t Percent() const {
        const std::uint64_t scaled = std::uint64_t{m_remaining} * 100;
        std::uint64_t left = scaled / m_size;
        const std::uint64_t twice = scaled % m_size * 2;
        if (twice > m_size || (twice == m_size && left % 2 == 1)) {
            ++left;
        }
        return static_cast<std::int16_t>(100 - left);
    }

    ArchiveInput& m_archive;
    ZipComponent& m_sender;
    std::uint32_t m_size;
    std::uint32_t m_remaining;
};

// A name that stays inside the extraction directory: no directory part, not "." or "..".
bool IsPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string::npos;
}

std::string Hex(std::uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%X", value);
    return text;
}

class Extractor {
public:
    Extractor(ZipComponent& sender, const std::string& arcName, const std::string& extrPath,
              std::span<std::uint8_t> inputBuffer, std::span<std::uint8_t> outputBuffer)
        : m_sender(sender),
          m_arcName(arcName),
          m_extrPath(extrPath),
          m_archive(arcName, inputBuffer),
          m_outputBuffer(outputBuffer) {}

    void Run(const std::vector<std::string>& masks) {
        if (!CheckIO(m_archive.OpenError())) {
            return;
        }
        std::vector<std::string> fullMasks;
        for (const std::string& mask : masks) {
            fullMasks.push_back(ExpandPath(mask));
        }
        while (ReadHeader()) {
            if (Selected(fullMasks)) {
                ExtractEntry();
            } else {
                SkipData(m_header.compressedSize);
            }
        }
        CheckIO(m_archive.Close());
    }

private:
    bool CheckIO(int error) {
        if (error == 0) {
            return true;
        }
        m_sender.ReportError(IoErrorReport(error));
        return false;
    }

    // Reads `count` bytes; false when the archive ended first.
    bool ReadBytes(std::uint8_t* bytes, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            const int byte = m_archive.ReadByte();
            if (byte < 0) {
                return false;
            }
            bytes[i] = static_cast<std::uint8_t>(byte);
        }
        return true;
    }

    // Reads a variable-length field of `length` bytes, keeping the first kMaxReadNameLength.
    bool ReadField(std::uint16_t length, std::string& kept) {
        if (length > kMaxReadNameLength) {
            m_sender.ReportError(kBadName);
        }
        kept.clear();
        for (std::size_t i = 0; i < length; ++i) {
            const int byte = m_archive.ReadByte();
            if (byte < 0) {
                return false;
            }
            if (i < kMaxReadNameLength) {
                kept.push_back(static_cast<char>(byte));
            }
        }
        return true;
    }

    // Reads the next local header; false when the entries end. The entries end at the central
    // directory (or at the end record, which an archive without entries starts with). An archive
    // that ends without them ends in the middle of a header: that header is reported once and
    // no file is made from it.
    bool ReadHeader() {
        if (m_archive.AtEnd()) {
            return false;
        }
        std::array<std::uint8_t, kLocalHeaderLength> fixed;
        if (!ReadBytes(fixed.data(), 4)) {
            ReportDamagedHeader();
            return false;
        }
        const std::uint32_t signature = ReadSignature(std::span(fixed).first<4>());
        if (signature == kCentralHeaderSignature || signature == kEndRecordSignature) {
            return false;
        }
        const bool damaged = signature != kLocalHeaderSignature;
        if (damaged) {
            // The 30 bytes are taken as a header all the same.
            ReportDamagedHeader();
            PutU32(fixed.data(), kLocalHeaderSignature);
        }
        std::string extra;
        if (!ReadBytes(fixed.data() + 4, kLocalHeaderLength - 4) ||
            !ReadField(GetU16(fixed.data() + 26), m_name) ||
            !ReadField(GetU16(fixed.data() + 28), extra)) {
            if (!damaged) {
                ReportDamagedHeader();
            }
            return false;
        }
        m_header = *LocalHeader::Read(fixed);
        return true;
    }

    void ReportDamagedHeader() { m_sender.ReportError(kDamagedHeader + m_arcName); }

    bool Selected(const std::vector<std::string>& fullMasks) const {
        if (!IsPlainName(m_name)) {
            return false;
        }
        const std::string fullName = ExpandPath(m_name);
        for (const std::string& mask : fullMasks) {
            if (MatchFileSpec(mask, fullName)) {
                return true;
            }
        }
        return false;
    }

    void SkipData(std::uint64_t count) { CheckIO(m_archive.Skip(count)); }

    void ExtractEntry() {
        const std::string path = m_extrPath + m_name;
        OutputFile file(path);
        if (!CheckIO(file.OpenError())) {
            SkipData(m_header.compressedSize);
            return;
        }
        EntrySource source(m_archive, m_sender, m_header.compressedSize);
        EntryWriter out(file, m_outputBuffer);
        const bool checked = Decode(source, out);
        // Whatever the decoder left unread (padding, or data after a fault) is passed over so
        // that the next header is read from its place.
        SkipData(source.Remaining());
        if (checked && out.Crc() != m_header.crc32) {
            m_sender.ReportError("File " + path + " has bad CRC ! Stored CRC is " +
                                 Hex(m_header.crc32) + ", computed CRC is " + Hex(out.Crc()) + ".");
        }
        out.Flush();
        file.SetTime(FromDosDateTime({m_header.modTime, m_header.modDate}));
        CheckIO(file.Close());
    }

    // Decodes the entry by its method; false when the CRC check is to be passed over.
    bool Decode(EntrySource& source, EntryWriter& out) {
        const Method* method = FindMethod(m_header.method);
        if (method == nullptr) {
            char text[64];
            std::snprintf(text, sizeof text, "Unknown compress method (%d) use on ",
                          int{m_header.method});
            m_sender.ReportError(text + m_name + " ! Skip next...");
            return false;
        }
        BitReader bits(source);
        const Report report = [this](const std::string& text) { m_sender.ReportError(text); };
        try {
            method->decode({source, bits, out, m_header, report});
        } catch (const std::bad_alloc&) {
            if (method->noMemory == nullptr) {
                throw;
            }
            m_sender.ReportError(method->noMemory);
            return false;
        }
        return true;
    }

    ZipComponent& m_sender;
    const std::string& m_arcName;
    const std::string& m_extrPath;
    ArchiveInput m_archive;
    std::span<std::uint8_t> m_outputBuffer;
    LocalHeader m_header;
    std::string m_name;
};

}  // namespace

void RunExtractor(ZipComponent& sender, const std::string& arcName, const std::string& extrPath,
                  const std::vector<std::string>& masks, std::span<std::uint8_t> inputBuffer,
                  std::span<std::uint8_t> outputBuffer) {
    Extractor(sender, arcName, extrPath, inputBuffer, outputBuffer).Run(masks);
}

}  // namespace kem::archive
