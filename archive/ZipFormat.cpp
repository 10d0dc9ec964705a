#include "archive/ZipFormat.h"

#include "archive/LittleEndian.h"

namespace kem::archive {
namespace {

// The 26 bytes from "version needed" to "extra field length", shared by both headers.
constexpr std::size_t kEntryFieldsLength = 26;

void PutEntryFields(std::uint8_t* p, const LocalHeader& h) {
    PutU16(p + 0, h.versionNeeded);
    PutU16(p + 2, h.flags);
    PutU16(p + 4, h.method);
    PutU16(p + 6, h.modTime);
    PutU16(p + 8, h.modDate);
    PutU32(p + 10, h.crc32);
    PutU32(p + 14, h.compressedSize);
    PutU32(p + 18, h.uncompressedSize);
    PutU16(p + 22, h.nameLength);
    PutU16(p + 24, h.extraLength);
}

LocalHeader GetEntryFields(const std::uint8_t* p) {
    LocalHeader h;
    h.versionNeeded = GetU16(p + 0);
    h.flags = GetU16(p + 2);
    h.method = GetU16(p + 4);
    h.modTime = GetU16(p + 6);
    h.modDate = GetU16(p + 8);
    h.crc32 = GetU32(p + 10);
    h.compressedSize = GetU32(p + 14);
    h.uncompressedSize = GetU32(p + 18);
    h.nameLength = GetU16(p + 22);
    h.extraLength = GetU16(p + 24);
    return h;
}

static_assert(4 + kEntryFieldsLength == kLocalHeaderLength);

}  // namespace

std::uint32_t ReadSignature(std::span<const std::uint8_t, 4> bytes) {
    return GetU32(bytes.data());
}

std::array<std::uint8_t, kLocalHeaderLength> LocalHeader::Bytes() const {
    std::array<std::uint8_t, kLocalHeaderLength> out{};
    PutU32(out.data(), kLocalHeaderSignature);
    PutEntryFields(out.data() + 4, *this);
    return out;
}

std::optional<LocalHeader> LocalHeader::Read(
    std::span<const std::uint8_t, kLocalHeaderLength> bytes) {
    const std::uint8_t* p = bytes.data();
    if (GetU32(p) != kLocalHeaderSignature) {
        return std::nullopt;
    }
    return GetEntryFields(p + 4);
}

CentralHeader CentralHeader::ForEntry(const LocalHeader& entry, std::uint32_t offset) {
    CentralHeader h;
    h.versionMadeBy = entry.versionNeeded;
    h.entry = entry;
    h.localHeaderOffset = offset;
    return h;
}

std::array<std::uint8_t, kCentralHeaderLength> CentralHeader::Bytes() const {
    std::array<std::uint8_t, kCentralHeaderLength> out{};
    std::uint8_t* p = out.data();
    PutU32(p, kCentralHeaderSignature);
    PutU16(p + 4, versionMadeBy);
    PutEntryFields(p + 6, entry);
    PutU16(p + 32, commentLength);
    PutU16(p + 34, diskNumberStart);
    PutU16(p + 36, internalAttributes);
    PutU32(p + 38, externalAttributes);
    PutU32(p + 42, localHeaderOffset);
    return out;
}

std::optional<CentralHeader> CentralHeader::Read(
    std::span<const std::uint8_t, kCentralHeaderLength> bytes) {
    const std::uint8_t* p = bytes.data();
    if (GetU32(p) != kCentralHeaderSignature) {
        return std::nullopt;
    }
    CentralHeader h;
    h.versionMadeBy = GetU16(p + 4);
    h.entry = GetEntryFields(p + 6);
    h.commentLength = GetU16(p + 32);
    h.diskNumberStart = GetU16(p + 34);
    h.internalAttributes = GetU16(p + 36);
    h.externalAttributes = GetU32(p + 38);
    h.localHeaderOffset = GetU32(p + 42);
    return h;
}

std::array<std::uint8_t, kEndRecordLength> EndRecord::Bytes() const {
    std::array<std::uint8_t, kEndRecordLength> out{};
    std::uint8_t* p = out.data();
    PutU32(p, kEndRecordSignature);
    PutU16(p + 4, diskNumber);
    PutU16(p + 6, directoryDisk);
    PutU16(p + 8, entriesOnDisk);
    PutU16(p + 10, totalEntries);
    PutU32(p + 12, directorySize);
    PutU32(p + 16, directoryOffset);
    PutU16(p + 20, commentLength);
    return out;
}

std::optional<EndRecord> EndRecord::Read(std::span<const std::uint8_t, kEndRecordLength> bytes) {
    const std::uint8_t* p = bytes.data();
    if (GetU32(p) != kEndRecordSignature) {
        return std::nullopt;
    }
    EndRecord r;
    r.diskNumber = GetU16(p + 4);
    r.directoryDisk = GetU16(p + 6);
    r.entriesOnDisk = GetU16(p + 8);
    r.totalEntries = GetU16(p + 10);
    r.directorySize = GetU32(p + 12);
    r.directoryOffset = GetU32(p + 16);
    r.commentLength = GetU16(p + 20);
    return r;
}

}  // namespace kem::archive
