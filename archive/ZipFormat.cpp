#include "archive/ZipFormat.h"

#include <utility>

#include "archive/LittleEndian.h"

namespace kem::archive {
namespace {

// Each record's layout is written down once, as the order of its fields after the signature;
// the same list drives both directions, so reading and writing cannot disagree on an offset.

class FieldWriter {
public:
    explicit FieldWriter(std::uint8_t* at) : m_at(at) {}
    void operator()(std::uint16_t value) { PutU16(Advance(2), value); }
    void operator()(std::uint32_t value) { PutU32(Advance(4), value); }

private:
    std::uint8_t* Advance(std::size_t width) { return std::exchange(m_at, m_at + width); }
    std::uint8_t* m_at;
};

class FieldReader {
public:
    explicit FieldReader(const std::uint8_t* at) : m_at(at) {}
    void operator()(std::uint16_t& value) { value = GetU16(Advance(2)); }
    void operator()(std::uint32_t& value) { value = GetU32(Advance(4)); }

private:
    const std::uint8_t* Advance(std::size_t width) { return std::exchange(m_at, m_at + width); }
    const std::uint8_t* m_at;
};

// The 26 bytes from "version needed" to "extra field length", shared by both headers.
constexpr auto kEntryFields = [](auto& h, auto& field) {
    field(h.versionNeeded);
    field(h.flags);
    field(h.method);
    field(h.modTime);
    field(h.modDate);
    field(h.crc32);
    field(h.compressedSize);
    field(h.uncompressedSize);
    field(h.nameLength);
    field(h.extraLength);
};

constexpr auto kCentralFields = [](auto& h, auto& field) {
    field(h.versionMadeBy);
    kEntryFields(h.entry, field);
    field(h.commentLength);
    field(h.diskNumberStart);
    field(h.internalAttributes);
    field(h.externalAttributes);
    field(h.localHeaderOffset);
};

constexpr auto kEndFields = [](auto& r, auto& field) {
    field(r.diskNumber);
    field(r.directoryDisk);
    field(r.entriesOnDisk);
    field(r.totalEntries);
    field(r.directorySize);
    field(r.directoryOffset);
    field(r.commentLength);
};

// Bytes a layout covers, signature included; checked against the fixed lengths below.
struct FieldCounter {
    std::size_t bytes = 4;
    constexpr void operator()(const std::uint16_t&) { bytes += 2; }
    constexpr void operator()(const std::uint32_t&) { bytes += 4; }
};

template <typename Record, typename Layout>
constexpr std::size_t LayoutLength(Layout layout) {
    Record record{};
    FieldCounter counter;
    layout(record, counter);
    return counter.bytes;
}

static_assert(LayoutLength<LocalHeader>(kEntryFields) == kLocalHeaderLength);
static_assert(LayoutLength<CentralHeader>(kCentralFields) == kCentralHeaderLength);
static_assert(LayoutLength<EndRecord>(kEndFields) == kEndRecordLength);

template <std::size_t Length, typename Record, typename Layout>
std::array<std::uint8_t, Length> Encode(std::uint32_t signature, const Record& record,
                                        Layout layout) {
    std::array<std::uint8_t, Length> out{};
    FieldWriter writer(out.data());
    writer(signature);
    layout(record, writer);
    return out;
}

template <typename Record, std::size_t Length, typename Layout>
std::optional<Record> Decode(std::uint32_t signature, std::span<const std::uint8_t, Length> bytes,
                             Layout layout) {
    FieldReader reader(bytes.data());
    std::uint32_t found = 0;
    reader(found);
    if (found != signature) {
        return std::nullopt;
    }
    Record record;
    layout(record, reader);
    return record;
}

}  // namespace

std::uint32_t ReadSignature(std::span<const std::uint8_t, 4> bytes) {
    return GetU32(bytes.data());
}

std::array<std::uint8_t, kLocalHeaderLength> LocalHeader::Bytes() const {
    return Encode<kLocalHeaderLength>(kLocalHeaderSignature, *this, kEntryFields);
}

std::optional<LocalHeader> LocalHeader::Read(
    std::span<const std::uint8_t, kLocalHeaderLength> bytes) {
    return Decode<LocalHeader>(kLocalHeaderSignature, bytes, kEntryFields);
}

CentralHeader CentralHeader::ForEntry(const LocalHeader& entry, std::uint32_t offset) {
    CentralHeader h;
    h.versionMadeBy = entry.versionNeeded;
    h.entry = entry;
    h.localHeaderOffset = offset;
    return h;
}

std::array<std::uint8_t, kCentralHeaderLength> CentralHeader::Bytes() const {
    return Encode<kCentralHeaderLength>(kCentralHeaderSignature, *this, kCentralFields);
}

std::optional<CentralHeader> CentralHeader::Read(
    std::span<const std::uint8_t, kCentralHeaderLength> bytes) {
    return Decode<CentralHeader>(kCentralHeaderSignature, bytes, kCentralFields);
}

std::array<std::uint8_t, kEndRecordLength> EndRecord::Bytes() const {
    return Encode<kEndRecordLength>(kEndRecordSignature, *this, kEndFields);
}

std::optional<EndRecord> EndRecord::Read(std::span<const std::uint8_t, kEndRecordLength> bytes) {
    return Decode<EndRecord>(kEndRecordSignature, bytes, kEndFields);
}

}  // namespace kem::archive
