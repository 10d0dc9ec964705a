// The bit reader and the three decoders on hand-made streams: the corner cases that the
// encoders of the test vectors do not produce.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/ReaderTestSupport.h"

#include "archive/BitWriter.h"
#include "archive/Decoders.h"
#include "archive/ShrinkEncoder.h"

namespace kem::archive::testing {
namespace {

// A Shannon-Fano code, sent most significant bit first, as the bit writer's value.
unsigned MsbFirst(unsigned code, unsigned width) {
    unsigned reversed = 0;
    for (unsigned i = 0; i < width; ++i) {
        reversed = reversed << 1 | ((code >> i) & 1);
    }
    return reversed;
}

// The stream written so far, its last byte completed.
Bytes Finished(BitWriter w) {
    return w.Flush().Bytes();
}

class Collector : public ByteSink {
public:
    void Write(std::span<const std::uint8_t> block) override {
        bytes.insert(bytes.end(), block.begin(), block.end());
    }
    Bytes bytes;
};

// Runs a decoder over `stream`; gives what it wrote and what it reported.
struct Decoded {
    Bytes out;
    std::vector<std::string> reports;
};

template <typename Decoder>
Decoded Decode(const Bytes& stream, Decoder decode) {
    MemorySource source(stream);
    BitReader bits(source);
    Collector sink;
    std::array<std::uint8_t, 8192> buffer;
    EntryWriter out(sink, buffer);
    Decoded d;
    decode(bits, out, [&d](const std::string& text) { d.reports.push_back(text); });
    out.Flush();
    d.out = sink.bytes;
    return d;
}

Decoded Unshrunk(const Bytes& stream) {
    return Decode(stream, [](BitReader& b, EntryWriter& o, const Report& r) { Unshrink(b, o, r); });
}

Decoded Expanded(const Bytes& stream, int factor, std::uint64_t size) {
    return Decode(stream,
                  [&](BitReader& b, EntryWriter& o, const Report&) { Expand(b, o, factor, size); });
}

Decoded Exploded(const Bytes& stream, std::uint16_t flags, std::uint64_t size) {
    return Decode(stream, [&](BitReader& b, EntryWriter& o, const Report& r) {
        Explode(b, o, flags, size, r);
    });
}

TEST(BitReaderTest, LeastSignificantBitFirstThenMinusOne) {
    const Bytes data = {0xB5, 0x0F};  // 1011'0101 0000'1111
    MemorySource source(data);
    BitReader bits(source);
    EXPECT_EQ(bits.Read(3), 0b101);
    EXPECT_EQ(bits.Read(9), 0b1111'10110);  // 5 bits left of the first byte, 4 of the second
    EXPECT_EQ(bits.Read(5), -1);            // only 4 bits remain
    EXPECT_EQ(bits.Read(1), -1);
}

// Unshrink streams: 9-bit codes unless widened.
BitWriter Codes(std::initializer_list<unsigned> codes, unsigned width = 9) {
    BitWriter w;
    for (unsigned c : codes) {
        w.Write(c, width);
    }
    return w;
}

TEST(UnshrinkTest, CodeDefinedByItsOwnUse) {
    // 257 used while it is being defined is the previous string plus its first character.
    EXPECT_EQ(Unshrunk(Finished(Codes({'a', 257, 257, 'b'}))).out, ToBytes("a"
                                                                           "aa"
                                                                           "aa"
                                                                           "b"));
}

TEST(UnshrinkTest, ControlCodes) {
    // 256,1 widens to 10 bits; 256,3 is reported and decoding goes on.
    BitWriter w = Codes({'x', 256, 1});
    w.Write('y', 10).Write(256, 10).Write(3, 10).Write('z', 10);
    const Decoded d = Unshrunk(Finished(w));
    EXPECT_EQ(d.out, ToBytes("xyz"));
    EXPECT_EQ(d.reports, std::vector<std::string>{"Kód špatně navazuje ! Pokračujem..."});

    // Widening past 13 bits would read codes beyond the table: reported, the entry ends.
    BitWriter wide = Codes({'x'});
    for (unsigned width = 9; width <= 13; ++width) {
        wide.Write(256, width).Write(1, width);
    }
    wide.Write('y', 14);
    const Decoded w14 = Unshrunk(Finished(wide));
    EXPECT_EQ(w14.out, ToBytes("x"));
    EXPECT_EQ(w14.reports, std::vector<std::string>{"Kód se jeví chybný !"});
}

TEST(UnshrinkTest, PartialClearFreesLeavesForReuseInAscendingOrder) {
    // "ab" (257) and "bc" (258) are leaves when the clear comes; the next entry, "cd", takes 257
    // again (without the clear 257 would still be "ab").
    const Decoded d = Unshrunk(Finished(Codes({'a', 'b', 'c', 256, 2, 'd', 257, 'e'})));
    EXPECT_EQ(d.out, ToBytes("abcd"
                             "cd"
                             "e"));
    EXPECT_TRUE(d.reports.empty());
}

TEST(UnshrinkTest, LoopingChainOverflowsTheStack) {
    // 258 used before 257 exists makes 258 its own parent; following it fills the stack.
    const Decoded d = Unshrunk(Finished(Codes({'a', 258, 'a', 258, 'b'})));
    EXPECT_EQ(d.out, ToBytes("aaaa"));
    EXPECT_EQ(d.reports, std::vector<std::string>{"Promiňte, přetekl mi zásobník (8192)!"});
}

TEST(UnshrinkTest, TruncatedStreamKeepsItsPrefix) {
    Bytes stream = Finished(Codes({'a', 'b', 257, 259}));
    EXPECT_EQ(Unshrunk(stream).out, ToBytes("a"
                                            "b"
                                            "ab"
                                            "aba"));
    stream.resize(3);  // 24 bits: two whole codes
    EXPECT_EQ(Unshrunk(stream).out, ToBytes("ab"));
}

// Varied data with many partial clears goes through the compressor and back in the writer's
// round-trip tests; here the tiny streams and a run of zeros, whose chains grow long.
TEST(UnshrinkTest, UndoesTheShrinkCompressor) {
    for (const Bytes& original : {Bytes{}, ToBytes("x"), Bytes(300000, 0)}) {
        SCOPED_TRACE(original.size());
        const Decoded d = Unshrunk(ShrinkEncoder::ShrinkAll(original));
        EXPECT_TRUE(d.out == original);
        EXPECT_TRUE(d.reports.empty());
    }
}

// A reduce stream: 256 empty follower sets, then 8-bit bytes.
BitWriter NoFollowers() {
    BitWriter w;
    for (int set = 0; set < 256; ++set) {
        w.Write(0, 6);
    }
    return w;
}

TEST(ExpandTest, RepeatMarkAndRepeats) {
    // 'A', 144 0 (a lone 144), 'B', two repeats; the second reaches before the start: zeros.
    BitWriter w = NoFollowers();
    for (unsigned byte : {65u, 144u, 0u, 66u, 144u, 0x02u, 0u, 144u, 0x01u, 11u}) {
        w.Write(byte, 8);
    }
    // Factor 1: length = V & 0x7F, distance = (V >> 7) * 256 + byte + 1; 2 + 3 bytes from 1 back,
    // then 1 + 3 bytes from 12 back.
    const Decoded d = Expanded(Finished(w), 1, 12);
    EXPECT_EQ(d.out, (Bytes{'A', 144, 'B', 'B', 'B', 'B', 'B', 'B', 0, 0, 0, 0}));
}

TEST(ExpandTest, FollowerSetsPickBytesByIndex) {
    // Set of 'a' = {'b', 'c', 'd'} (index width 2); every other set empty.
    BitWriter w;
    for (int set = 255; set >= 0; --set) {
        if (set == 'a') {
            w.Write(3, 6).Write('b', 8).Write('c', 8).Write('d', 8);
        } else {
            w.Write(0, 6);
        }
    }
    w.Write('a', 8);              // after byte 0: an empty set, 8 bits
    w.Write(0, 1).Write(2, 2);    // follower 2 of 'a': 'd'
    w.Write('a', 8);              // after 'd': empty set
    w.Write(1, 1).Write('z', 8);  // after 'a': a literal
    EXPECT_EQ(Expanded(Finished(w), 4, 4).out, ToBytes("adaz"));
}

TEST(ExpandTest, StopsWhenTheDataRunsOut) {
    BitWriter w = NoFollowers();
    w.Write('A', 8);
    EXPECT_EQ(Expanded(Finished(w), 2, 1000).out, ToBytes("A"));
}

// Two trees (length, distance) giving each of 64 symbols 6 bits: 4 bytes of 16 repeats.
// Symbol s then has the code 63 - s.
BitWriter FlatTrees() {
    BitWriter w;
    for (int tree = 0; tree < 2; ++tree) {
        w.Write(3, 8);
        for (int i = 0; i < 4; ++i) {
            w.Write(0xF5, 8);
        }
    }
    return w;
}

TEST(ExplodeTest, MatchBeforeTheFirstByteCopiesZeros) {
    BitWriter w = FlatTrees();
    w.Write(1, 1).Write('A', 8);  // literal (two trees: 8 bits)
    // Distance 5, length symbol 1 + 2; then distance 1, length 2.
    w.Write(0, 1).Write(4, 6).Write(MsbFirst(63, 6), 6).Write(MsbFirst(62, 6), 6);
    w.Write(0, 1).Write(0, 6).Write(MsbFirst(63, 6), 6).Write(MsbFirst(63, 6), 6);
    const Decoded d = Exploded(Finished(w), 0, 6);
    EXPECT_EQ(d.out, (Bytes{'A', 0, 0, 0, 0, 0}));
    EXPECT_TRUE(d.reports.empty());
}

TEST(ExplodeTest, LongLengthAndBigWindow) {
    BitWriter w = FlatTrees();
    w.Write(1, 1).Write('Q', 8);
    // 8 KiB window: 7 low distance bits; length symbol 63 takes 8 more bits: 63 + 10 + 2.
    w.Write(0, 1).Write(0, 7).Write(MsbFirst(63, 6), 6).Write(MsbFirst(0, 6), 6).Write(10, 8);
    EXPECT_EQ(Exploded(Finished(w), 0x0002, 76).out, Bytes(76, 'Q'));
}

// Cut anywhere, also inside a code longer than one table lookup reaches, a stream decodes to a
// prefix of its bytes: bits that are not there are never taken as zeros.
TEST(ExplodeTest, TruncatedStreamGivesAPrefix) {
    const auto entries =
        ReadEntries(ReadFile(std::string(KEM_TEST_DATA) + "/zip-vectors/hw-implode-8k3t.zip"));
    const auto words = std::find_if(entries.begin(), entries.end(),
                                    [](const Entry& e) { return e.name == "words.txt"; });
    ASSERT_NE(words, entries.end());
    const Bytes whole = Exploded(words->data, words->flags, words->size).out;
    ASSERT_EQ(whole.size(), words->size);
    for (std::size_t cut = 0; cut < words->data.size(); cut += 211) {
        SCOPED_TRACE(cut);
        const Bytes part(words->data.begin(), words->data.begin() + cut);
        const Bytes out = Exploded(part, words->flags, words->size).out;
        ASSERT_LT(out.size(), whole.size());
        EXPECT_TRUE(std::equal(out.begin(), out.end(), whole.begin()));
    }
}

TEST(ExplodeTest, BrokenTreesAndEmptySlotsAreReportedOnce) {
    BitWriter w;
    // Length tree: three symbols of 1 bit cannot all have codes.
    w.Write(0, 8).Write(0x20, 8);
    // Distance tree: one symbol of 1 bit; the other half of the root stays empty.
    w.Write(0, 8).Write(0x00, 8);
    // Two matches whose distance codes start with the empty 1 slot.
    w.Write(0, 1).Write(0, 6).Write(1, 1).Write(0, 1).Write(1, 1);
    w.Write(0, 1).Write(0, 6).Write(1, 1).Write(0, 1).Write(0, 1);
    const Decoded d = Exploded(Finished(w), 0, 7);
    EXPECT_EQ(d.out, Bytes(7, 0));
    EXPECT_EQ(d.reports,
              (std::vector<std::string>{"Chybný dekódovací strom !", "Úplně chybné kódování !"}));
}

}  // namespace
}  // namespace kem::archive::testing
