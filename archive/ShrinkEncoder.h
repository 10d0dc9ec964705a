#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "archive/BitWriter.h"
#include "archive/ShrinkCodes.h"

namespace kem::archive {

// Shrink, method 1 of the ZIP format: LZW with codes of 9 to 13 bits packed least significant bit
// first. Code 256 is the control code: "256, 1" widens the codes by one bit, "256, 2" tells the
// reader that every leaf of the dictionary was freed. One encoder is reused file after file;
// Reset() starts the next file. Its memory is fixed whatever the file size.
class ShrinkEncoder {
public:
    // The output goes out in blocks of this size (and a last, shorter one).
    static constexpr std::size_t kBufferSize = 10240;
    using Sink = std::function<void(const std::uint8_t* data, std::size_t size)>;

    explicit ShrinkEncoder(Sink sink);

    // Starts a file: single bytes only in the dictionary, every other code free, no prefix yet.
    void Reset();
    void Put(std::uint8_t c);
    void Put(std::span<const std::uint8_t> data);
    // Emits the pending prefix and hands out the rest of the output. Emits nothing when no byte
    // was put since Reset().
    void Finish();

    // The whole Shrink stream of `data`, for tests and benchmarks.
    static std::vector<std::uint8_t> ShrinkAll(std::span<const std::uint8_t> data);

private:
    static constexpr std::int16_t kNone = -1;

    // Children of a code form a chain: its first child, then each child's next sibling, in the
    // order they were added.
    struct Entry {
        std::int16_t child = kNone;
        std::int16_t sibling = kNone;
        std::uint8_t character = 0;
    };

    static constexpr int kEndOfChain = -1;  // a character that no child has

    std::int16_t& ChildLink(int prefix, int c);
    void StartOrClear(int prefix, std::uint8_t c);
    void EndMatch(int prefix, std::int16_t& link, std::uint8_t c);
    void Add(std::int16_t& link, std::uint8_t c);
    void ClearLeaves();
    void Emit(int code);
    void HandOut(std::size_t count);

    Sink m_sink;
    std::array<Entry, shrink::kCodeCount> m_dictionary{};
    // Slots kFirstFreeCode..kCodeCount-1 hold the codes still to hand out, from m_nextFree upward.
    std::array<std::uint16_t, shrink::kCodeCount> m_freeList{};
    int m_nextFree = shrink::kFirstFreeCode;
    bool m_tableFull = false;  // every code handed out: the next byte clears leaves first
    std::bitset<shrink::kCodeCount> m_leaves;
    std::array<std::uint16_t, shrink::kCodeCount> m_pruneStack{};

    bool m_started = false;  // a prefix exists (at least one byte since Reset)
    int m_prefix = 0;
    unsigned m_codeSize = shrink::kFirstWidth;
    int m_maxCode = (1 << shrink::kFirstWidth) - 1;  // the largest code m_codeSize bits carry
    BitWriter m_out;  // the output buffer: up to kBufferSize bytes between hand-outs
};

}  // namespace kem::archive
