#include "archive/Methods.h"

#include <algorithm>
#include <iterator>

namespace kem::archive {
namespace {

constexpr char kNoMemoryUnshrink[] = "Není dost paměti k rozmrsknutí ! Překračuji ...";
constexpr char kNoMemoryExpand[] = "Není dost paměti k rozvinutí ! Překračuji ...";
constexpr char kNoMemoryExplode[] = "Není dost paměti k rozpnutí ! Překračuji ...";

// Copies the bytes as they are, as far as the entry's data goes.
void CopyStored(const EntryData& entry) {
    for (int byte; (byte = entry.source.ReadByte()) >= 0;) {
        entry.out.WriteOut(static_cast<std::uint8_t>(byte));
    }
}

void Unshrunk(const EntryData& entry) {
    Unshrink(entry.bits, entry.out, entry.report);
}

// Methods 2 to 5 are the compression factors 1 to 4.
void Expanded(const EntryData& entry) {
    Expand(entry.bits, entry.out, entry.header.method - 1, entry.header.uncompressedSize);
}

void Exploded(const EntryData& entry) {
    Explode(entry.bits, entry.out, entry.header.flags, entry.header.uncompressedSize, entry.report);
}

constexpr Method kMethods[] = {
    {kMethodStored, "stored", &CopyStored, nullptr},
    {kMethodShrunk, "shrunk", &Unshrunk, kNoMemoryUnshrink},
    {kMethodReduced1, "reduced with factor 1", &Expanded, kNoMemoryExpand},
    {kMethodReduced1 + 1, "reduced with factor 2", &Expanded, kNoMemoryExpand},
    {kMethodReduced1 + 2, "reduced with factor 3", &Expanded, kNoMemoryExpand},
    {kMethodReduced4, "reduced with factor 4", &Expanded, kNoMemoryExpand},
    {kMethodImploded, "imploded", &Exploded, kNoMemoryExplode},
};

}  // namespace

const Method* FindMethod(std::uint16_t number) {
    const auto* found = std::find_if(std::begin(kMethods), std::end(kMethods),
                                     [number](const Method& m) { return m.number == number; });
    return found == std::end(kMethods) ? nullptr : found;
}

}  // namespace kem::archive
