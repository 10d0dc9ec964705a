#include "archive/ZipFormat.h"

#include <gtest/gtest.h>

#include <vector>

namespace kem::archive {
namespace {

LocalHeader SampleEntry() {
    LocalHeader h;
    h.flags = 0x0006;
    h.method = kMethodShrunk;
    h.modTime = 0x6B2D;
    h.modDate = 0x5A87;
    h.crc32 = 0xCBF43926u;
    h.compressedSize = 0x01020304u;
    h.uncompressedSize = 0xA0B0C0D0u;
    h.nameLength = 7;
    h.extraLength = 0x0102;
    return h;
}

TEST(ZipFormat, LocalHeaderBytesAreLittleEndianAtTheirOffsets) {
    const auto bytes = SampleEntry().Bytes();
    const std::vector<std::uint8_t> expected = {
        'P',  'K',  3,    4,     // signature
        10,   0,                 // version needed
        0x06, 0,                 // flags
        1,    0,                 // method
        0x2D, 0x6B, 0x87, 0x5A,  // time, date
        0x26, 0x39, 0xF4, 0xCB,  // CRC-32
        0x04, 0x03, 0x02, 0x01,  // compressed size
        0xD0, 0xC0, 0xB0, 0xA0,  // uncompressed size
        7,    0,    0x02, 0x01,  // name and extra field lengths
    };
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), expected);
}

TEST(ZipFormat, RecordsSurviveARoundTrip) {
    const LocalHeader local = SampleEntry();
    EXPECT_EQ(LocalHeader::Read(local.Bytes()), local);

    CentralHeader central = CentralHeader::ForEntry(local, 0x12345678u);
    central.internalAttributes = 1;
    central.commentLength = 3;
    EXPECT_EQ(CentralHeader::Read(central.Bytes()), central);

    const EndRecord end{1, 2, 3, 4, 0x11223344u, 0x55667788u, 9};
    EXPECT_EQ(EndRecord::Read(end.Bytes()), end);
}

TEST(ZipFormat, CentralHeaderRepeatsTheLocalFields) {
    const LocalHeader local = SampleEntry();
    const auto localBytes = local.Bytes();
    const auto centralBytes = CentralHeader::ForEntry(local, 0x0A0B0C0Du).Bytes();

    EXPECT_EQ(ReadSignature(std::span(centralBytes).first<4>()), kCentralHeaderSignature);
    EXPECT_EQ(centralBytes[4], 10);  // made by = version needed, host 0
    EXPECT_EQ(centralBytes[5], 0);
    EXPECT_TRUE(std::equal(localBytes.begin() + 4, localBytes.end(), centralBytes.begin() + 6));
    const std::vector<std::uint8_t> tail(centralBytes.begin() + 32, centralBytes.end());
    const std::vector<std::uint8_t> expectedTail = {0, 0, 0, 0,    0,    0,    0x20,
                                                    0, 0, 0, 0x0D, 0x0C, 0x0B, 0x0A};
    EXPECT_EQ(tail, expectedTail);
}

TEST(ZipFormat, EndRecordBytes) {
    const auto bytes = EndRecord{0, 0, 1, 1, 53, 0x0100, 0}.Bytes();
    const std::vector<std::uint8_t> expected = {'P', 'K', 5, 6, 0, 0, 0, 0, 1, 0, 1,
                                                0,   53,  0, 0, 0, 0, 1, 0, 0, 0, 0};
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), expected);
}

TEST(ZipFormat, ReadRejectsAnotherRecordsSignature) {
    const auto central = CentralHeader{}.Bytes();
    EXPECT_FALSE(LocalHeader::Read(std::span(central).first<kLocalHeaderLength>()));
    const auto local = LocalHeader{}.Bytes();
    EXPECT_FALSE(EndRecord::Read(std::span(local).first<kEndRecordLength>()));
}

}  // namespace
}  // namespace kem::archive
