#include <array>
#include <memory>

#include "archive/Decoders.h"

namespace kem::archive {
namespace {

constexpr int kMaxFollowers = 32;
constexpr unsigned kWindowSize = 4096;
constexpr std::uint8_t kRepeatMark = 144;  // DLE: starts a repeat, or stands for itself with 0
constexpr int kMinRepeat = 3;

struct Tables {
    // A set's count is kept as read (up to 63) because it decides the index width; followers past
    // the 32 that fit are read and dropped, and an index past them gives 0.
    std::array<std::uint8_t, 256> count{};
    std::array<std::array<std::uint8_t, kMaxFollowers>, 256> followers{};
    std::array<std::uint8_t, kWindowSize> window{};
};

// Bits of a follower index for a set of `count` followers.
unsigned IndexWidth(int count) {
    unsigned width = 1;
    while (width < 6 && (1 << width) < count) {
        ++width;
    }
    return width;
}

bool ReadFollowerSets(BitReader& bits, Tables& t) {
    for (int set = 255; set >= 0; --set) {
        const int count = bits.Read(6);
        if (count < 0) {
            return false;
        }
        t.count[set] = static_cast<std::uint8_t>(count);
        for (int i = 0; i < count; ++i) {
            const int follower = bits.Read(8);
            if (follower < 0) {
                return false;
            }
            if (i < kMaxFollowers) {
                t.followers[set][i] = static_cast<std::uint8_t>(follower);
            }
        }
    }
    return true;
}

// The next byte of the probabilistic layer after `last`; -1 when the data ran out.
int NextByte(BitReader& bits, const Tables& t, std::uint8_t last) {
    const int count = t.count[last];
    if (count == 0) {
        return bits.Read(8);
    }
    const int literal = bits.Read(1);
    if (literal != 0) {
        return literal < 0 ? -1 : bits.Read(8);
    }
    const int index = bits.Read(IndexWidth(count));
    if (index < 0) {
        return -1;
    }
    return index < kMaxFollowers ? t.followers[last][index] : 0;
}

}  // namespace

void Expand(BitReader& bits, EntryWriter& out, int factor, std::uint64_t size) {
    const auto tables = std::make_unique<Tables>();
    Tables& t = *tables;
    if (!ReadFollowerSets(bits, t)) {
        return;
    }
    unsigned position = 0;
    auto put = [&](std::uint8_t byte) {
        out.WriteOut(byte);
        t.window[position] = byte;
        position = (position + 1) % kWindowSize;
    };

    const int lengthMask = 0xFF >> factor;
    enum class State { Literal, Marked, LongLength, Distance } state = State::Literal;
    int v = 0;
    int length = 0;
    std::uint8_t last = 0;
    while (out.Written() < size) {
        const int next = NextByte(bits, t, last);
        if (next < 0) {
            return;
        }
        const auto byte = static_cast<std::uint8_t>(next);
        last = byte;
        switch (state) {
            case State::Literal:
                if (byte == kRepeatMark) {
                    state = State::Marked;
                } else {
                    put(byte);
                }
                break;
            case State::Marked:
                if (byte == 0) {
                    put(kRepeatMark);
                    state = State::Literal;
                } else {
                    v = byte;
                    length = v & lengthMask;
                    state = length == lengthMask ? State::LongLength : State::Distance;
                }
                break;
            case State::LongLength:
                length += byte;
                state = State::Distance;
                break;
            case State::Distance: {
                const unsigned distance = (v >> (8 - factor)) * 256 + byte + 1;
                unsigned from = (position + kWindowSize - distance) % kWindowSize;
                for (int i = 0; i < length + kMinRepeat; ++i) {
                    put(t.window[from]);
                    from = (from + 1) % kWindowSize;
                }
                state = State::Literal;
                break;
            }
        }
    }
}

}  // namespace kem::archive
