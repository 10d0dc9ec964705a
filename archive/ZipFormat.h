#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace kem::archive {

// Record signatures ("PK" followed by two record-type bytes).
inline constexpr std::uint32_t kLocalHeaderSignature = 0x04034B50u;
inline constexpr std::uint32_t kCentralHeaderSignature = 0x02014B50u;
inline constexpr std::uint32_t kEndRecordSignature = 0x06054B50u;

// Fixed record lengths, signature included.
inline constexpr std::size_t kLocalHeaderLength = 30;    // then name, then extra field, then data
inline constexpr std::size_t kCentralHeaderLength = 46;  // then name
inline constexpr std::size_t kEndRecordLength = 22;      // no comment is written

// Compression methods: 0 and 1 are written, 0 to 6 are read.
inline constexpr std::uint16_t kMethodStored = 0;
inline constexpr std::uint16_t kMethodShrunk = 1;
inline constexpr std::uint16_t kMethodReduced1 = 2;  // 2..5: reduced with factor 1..4
inline constexpr std::uint16_t kMethodReduced4 = 5;
inline constexpr std::uint16_t kMethodImploded = 6;

// Imploding flags: bit 1 = 8K sliding dictionary, bit 2 = three Shannon-Fano trees.
inline constexpr std::uint16_t kFlagImplode8kDictionary = 0x0002;
inline constexpr std::uint16_t kFlagImplodeLiteralTree = 0x0004;

inline constexpr std::uint16_t kVersionNeeded = 10;
inline constexpr std::uint32_t kArchiveAttribute = 0x00000020u;  // the MS-DOS archive bit

// Longest entry name each side keeps.
inline constexpr std::size_t kMaxWrittenNameLength = 80;
inline constexpr std::size_t kMaxReadNameLength = 255;

// The 4-byte signature at the start of a record; lets a reader tell which record comes next.
std::uint32_t ReadSignature(std::span<const std::uint8_t, 4> bytes);

// Local file header: the fixed part ahead of each entry's name, extra field and data.
struct LocalHeader {
    std::uint16_t versionNeeded = kVersionNeeded;
    std::uint16_t flags = 0;
    std::uint16_t method = kMethodStored;
    std::uint16_t modTime = 0;  // MS-DOS packed time
    std::uint16_t modDate = 0;  // MS-DOS packed date
    std::uint32_t crc32 = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t uncompressedSize = 0;
    std::uint16_t nameLength = 0;
    std::uint16_t extraLength = 0;

    std::array<std::uint8_t, kLocalHeaderLength> Bytes() const;
    // Empty when the bytes do not start with the local header signature.
    static std::optional<LocalHeader> Read(std::span<const std::uint8_t, kLocalHeaderLength> bytes);

    bool operator==(const LocalHeader&) const = default;
};

// Central directory file header. Its middle 26 bytes repeat the entry's local header.
struct CentralHeader {
    std::uint16_t versionMadeBy = kVersionNeeded;  // host byte 0 = MS-DOS
    LocalHeader entry;
    std::uint16_t commentLength = 0;
    std::uint16_t diskNumberStart = 0;
    std::uint16_t internalAttributes = 0;
    std::uint32_t externalAttributes = kArchiveAttribute;
    std::uint32_t localHeaderOffset = 0;

    // The directory record of an entry whose local header was written at `offset`.
    static CentralHeader ForEntry(const LocalHeader& entry, std::uint32_t offset);

    std::array<std::uint8_t, kCentralHeaderLength> Bytes() const;
    static std::optional<CentralHeader> Read(
        std::span<const std::uint8_t, kCentralHeaderLength> bytes);

    bool operator==(const CentralHeader&) const = default;
};

// End of central directory record (single disk, no comment).
struct EndRecord {
    std::uint16_t diskNumber = 0;
    std::uint16_t directoryDisk = 0;
    std::uint16_t entriesOnDisk = 0;
    std::uint16_t totalEntries = 0;
    std::uint32_t directorySize = 0;    // sum of 46 + name length over the entries
    std::uint32_t directoryOffset = 0;  // file offset of the first central header
    std::uint16_t commentLength = 0;

    std::array<std::uint8_t, kEndRecordLength> Bytes() const;
    static std::optional<EndRecord> Read(std::span<const std::uint8_t, kEndRecordLength> bytes);

    bool operator==(const EndRecord&) const = default;
};

}  // namespace kem::archive
