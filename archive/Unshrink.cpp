#include <array>
#include <memory>

#include "archive/Decoders.h"
#include "archive/ShrinkCodes.h"

namespace kem::archive {
namespace {

using namespace shrink;

constexpr int kNoParent = -1;

constexpr char kBadSequence[] = "Kód špatně navazuje ! Pokračujem...";
constexpr char kBadCode[] = "Kód se jeví chybný !";

// Code table, free list and character stack. A code of 257 or more is defined while its parent
// is not kNoParent; the free list hands out the codes from slot `nextFree` upward.
struct Tables {
    std::array<std::int16_t, kCodeCount> parent;
    std::array<std::uint8_t, kCodeCount> character;
    std::array<std::uint16_t, kCodeCount> children;
    std::array<std::uint16_t, kCodeCount> freeList;  // slots kFirstFreeCode.. are used
    int nextFree = kFirstFreeCode;
    std::array<std::uint8_t, kCodeCount> stack;

    Tables() {
        for (int code = 0; code < kCodeCount; ++code) {
            parent[code] = kNoParent;
            character[code] = code < kControlCode ? static_cast<std::uint8_t>(code) : 0;
            children[code] = 0;
            freeList[code] = static_cast<std::uint16_t>(code);
        }
    }

    void Add(int prefix, std::uint8_t last) {
        if (nextFree >= kCodeCount) {
            return;
        }
        const int code = freeList[nextFree++];
        parent[code] = static_cast<std::int16_t>(prefix);
        character[code] = last;
        ++children[prefix];
    }

    // Frees every code that was a leaf when the clear code came, and queues them so that they are
    // handed out again in ascending order, as the compressor reuses them.
    void PartialClear() {
        std::array<bool, kCodeCount> leaf{};
        for (int code = kFirstFreeCode; code < kCodeCount; ++code) {
            leaf[code] = children[code] == 0;
        }
        nextFree = kCodeCount;
        for (int code = kCodeCount - 1; code >= kFirstFreeCode; --code) {
            if (!leaf[code]) {
                continue;
            }
            if (parent[code] != kNoParent && children[parent[code]] > 0) {
                --children[parent[code]];
            }
            parent[code] = kNoParent;
            character[code] = 0;
            children[code] = 0;
            freeList[--nextFree] = static_cast<std::uint16_t>(code);
        }
    }
};

std::string StackOverflow(int depth) {
    return "Promiňte, přetekl mi zásobník (" + std::to_string(depth) + ")!";
}

}  // namespace

void Unshrink(BitReader& bits, EntryWriter& out, const Report& report) {
    const auto tables = std::make_unique<Tables>();
    Tables& t = *tables;
    unsigned width = kFirstWidth;

    int code = bits.Read(width);
    if (code < 0) {
        return;
    }
    int previous = code & 0xFF;
    std::uint8_t first = static_cast<std::uint8_t>(previous);
    out.WriteOut(first);

    while ((code = bits.Read(width)) >= 0) {
        if (code == kControlCode) {
            const int action = bits.Read(width);
            if (action == kWiden) {
                // A code wider than 13 bits would leave the table; the compressor never widens
                // past 13, so this stream is damaged beyond use.
                if (width == kLastWidth) {
                    report(kBadCode);
                    return;
                }
                ++width;
            } else if (action == kPartialClear) {
                t.PartialClear();
            } else if (action >= 0) {
                report(kBadSequence);
            }
            continue;
        }

        const int incoming = code;
        int depth = 0;
        if (code >= kFirstFreeCode && t.parent[code] == kNoParent) {
            // The code being defined right now: the previous string plus its own first character.
            t.stack[depth++] = first;
            code = previous;
        }
        // Damaged data can chain codes into a loop; the stack bound ends it.
        while (code >= kFirstFreeCode) {
            if (depth == kCodeCount) {
                out.Flush();
                report(StackOverflow(depth));
                return;
            }
            t.stack[depth++] = t.character[code];
            code = t.parent[code];
        }
        // A chain through an undefined code ends at kNoParent, whose low byte stands in.
        first = static_cast<std::uint8_t>(code);
        out.WriteOut(first);
        while (depth > 0) {
            out.WriteOut(t.stack[--depth]);
        }
        t.Add(previous, first);
        previous = incoming;
    }
}

}  // namespace kem::archive
