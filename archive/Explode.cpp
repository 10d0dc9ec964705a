#include <algorithm>
#include <array>
#include <bit>
#include <memory>

#include "archive/Decoders.h"
#include "archive/ZipFormat.h"

namespace kem::archive {
namespace {

constexpr std::uint16_t kEmpty = 0xFFFF;
constexpr unsigned kMaxWindow = 8192;
constexpr int kLongLength = 63;  // a length code of 63 is followed by 8 more bits

constexpr char kBadTree[] = "Chybný dekódovací strom !";
constexpr char kBadCoding[] = "Úplně chybné kódování !";

struct Node {
    std::array<std::uint16_t, 2> slot{kEmpty, kEmpty};  // taken by a 0 bit, by a 1 bit
};

// What the walk from the root meets along the bits of a lookup index, and after how many.
struct Lookup {
    enum class Kind : std::uint8_t { Symbol, Node, Empty };
    std::uint16_t value = 0;  // the symbol, or the node reached after all the index bits
    std::uint8_t depth = 0;   // bits used up to it
    Kind kind = Kind::Empty;
};

// A Shannon-Fano code tree in a fixed node space of twice the symbol count. A slot holds kEmpty, a
// symbol (below the symbol count) or the index of another node. The root is the last node;
// further nodes are taken downward from it, so a node index is never below the symbol count.
//
// Decoding looks the coming bits up in a table of what the walk from the root meets along them,
// and walks bit by bit only past the table's depth, at an empty slot or at the end of the data.
class Tree {
public:
    // `table` has a power of two entries.
    Tree(std::span<Node> nodes, std::span<Lookup> table)
        : m_nodes(nodes),
          m_symbols(nodes.size() / 2),
          m_table(table),
          m_tableBits(static_cast<unsigned>(std::countr_zero(table.size()))) {}

    int SymbolCount() const { return static_cast<int>(m_symbols); }

    // Adds the code of `length` bits held in the top bits of `code`, most significant bit first.
    // False when it collides with codes already in the tree or the node space is used up.
    bool Insert(std::uint16_t code, int length, int symbol) {
        std::size_t node = Root();
        for (int i = 0; i < length - 1; ++i) {
            std::uint16_t& slot = m_nodes[node].slot[(code >> (15 - i)) & 1];
            if (slot == kEmpty) {
                if (m_nextNode < m_symbols) {
                    return false;
                }
                slot = static_cast<std::uint16_t>(m_nextNode--);
            } else if (slot < m_symbols) {
                return false;
            }
            node = slot;
        }
        std::uint16_t& last = m_nodes[node].slot[(code >> (16 - length)) & 1];
        if (last != kEmpty) {
            return false;
        }
        last = static_cast<std::uint16_t>(symbol);
        return true;
    }

    // Fills the lookup table once every code is in.
    void BuildTable() { Fill(Root(), 0, 0); }

    // Follows the bits read until a symbol is reached; -1 when the data ran out. An empty slot is
    // handed to `emptySlot` and the next bit is read from the same node. Bytes are fetched only as
    // the bit-by-bit walk would fetch them.
    int Decode(BitReader& bits, const std::function<void()>& emptySlot) const {
        for (;;) {
            const Lookup& found = m_table[bits.Held() & (m_table.size() - 1)];
            if (found.depth > bits.HeldCount()) {
                // The held bits lead to no symbol, so the walk would fetch the next byte too.
                if (bits.Fetch()) {
                    continue;
                }
                return Walk(bits, Root(), emptySlot);
            }
            switch (found.kind) {
                case Lookup::Kind::Symbol:
                    bits.Skip(found.depth);
                    return found.value;
                case Lookup::Kind::Node:
                    bits.Skip(found.depth);
                    return Walk(bits, found.value, emptySlot);
                case Lookup::Kind::Empty:
                    break;
            }
            return Walk(bits, Root(), emptySlot);
        }
    }

private:
    std::size_t Root() const { return m_nodes.size() - 1; }

    // Fills the entries whose low `depth` bits are `prefix`, the path from the root to `node`.
    void Fill(std::size_t node, unsigned depth, std::uint32_t prefix) {
        for (std::uint32_t bit = 0; bit < 2; ++bit) {
            const std::uint16_t slot = m_nodes[node].slot[bit];
            const std::uint32_t path = prefix | bit << depth;
            Lookup entry{slot, static_cast<std::uint8_t>(depth + 1), Lookup::Kind::Node};
            if (slot == kEmpty) {
                entry.kind = Lookup::Kind::Empty;
            } else if (slot < m_symbols) {
                entry.kind = Lookup::Kind::Symbol;
            } else if (depth + 1 < m_tableBits) {
                Fill(slot, depth + 1, path);
                continue;
            }
            for (std::size_t i = path; i < m_table.size(); i += std::size_t{1} << (depth + 1)) {
                m_table[i] = entry;
            }
        }
    }

    int Walk(BitReader& bits, std::size_t node, const std::function<void()>& emptySlot) const {
        for (;;) {
            const int bit = bits.Read(1);
            if (bit < 0) {
                return -1;
            }
            const std::uint16_t slot = m_nodes[node].slot[bit];
            if (slot == kEmpty) {
                emptySlot();
            } else if (slot < m_symbols) {
                return slot;
            } else {
                node = slot;
            }
        }
    }

    std::span<Node> m_nodes;
    std::size_t m_symbols;
    std::size_t m_nextNode = m_nodes.size() - 2;
    std::span<Lookup> m_table;
    unsigned m_tableBits;
};

struct BitLength {
    std::uint8_t length;
    std::uint8_t symbol;
};

// Reads one tree's bit lengths and builds its codes as PKWARE publishes them. A tree that cannot
// be built (codes that collide, more nodes than its space holds, more lengths than symbols) is
// reported once, not once per code, and the codes that do fit stay; false when the data ran out.
bool ReadTree(BitReader& bits, Tree& tree, const Report& report) {
    const int bytes = bits.Read(8);
    if (bytes < 0) {
        return false;
    }
    std::array<BitLength, 256> lengths;
    std::size_t count = 0;
    for (int i = 0; i <= bytes; ++i) {
        const int packed = bits.Read(8);
        if (packed < 0) {
            return false;
        }
        for (int repeat = (packed >> 4) + 1; repeat > 0 && count < lengths.size(); --repeat) {
            lengths[count] = {static_cast<std::uint8_t>((packed & 0x0F) + 1),
                              static_cast<std::uint8_t>(count)};
            ++count;
        }
    }
    std::stable_sort(lengths.begin(), lengths.begin() + count,
                     [](const BitLength& a, const BitLength& b) { return a.length < b.length; });

    bool sound = true;
    std::uint16_t code = 0;
    std::uint16_t increment = 0;
    int lastLength = 0;
    for (std::size_t i = count; i-- > 0;) {
        code = static_cast<std::uint16_t>(code + increment);
        if (lengths[i].length != lastLength) {
            lastLength = lengths[i].length;
            increment = static_cast<std::uint16_t>(1u << (16 - lastLength));
        }
        sound = lengths[i].symbol < tree.SymbolCount() &&
                tree.Insert(code, lastLength, lengths[i].symbol) && sound;
    }
    if (!sound) {
        report(kBadTree);
    }
    tree.BuildTable();
    return true;
}

// Lookup depths: most literal codes are up to 9 bits long, most length and distance codes up to 8.
struct Tables {
    std::array<Node, 512> literalNodes;
    std::array<Node, 128> lengthNodes;
    std::array<Node, 128> distanceNodes;
    std::array<Lookup, 1 << 9> literalLookup;
    std::array<Lookup, 1 << 8> lengthLookup;
    std::array<Lookup, 1 << 8> distanceLookup;
    std::array<std::uint8_t, kMaxWindow> window{};
};

}  // namespace

void Explode(BitReader& bits, EntryWriter& out, std::uint16_t flags, std::uint64_t size,
             const Report& report) {
    const bool bigWindow = (flags & kFlagImplode8kDictionary) != 0;
    const bool literalTree = (flags & kFlagImplodeLiteralTree) != 0;
    const unsigned windowSize = bigWindow ? 8192 : 4096;
    const unsigned lowDistanceBits = bigWindow ? 7 : 6;
    const int minMatch = literalTree ? 3 : 2;

    const auto tables = std::make_unique<Tables>();
    Tables& t = *tables;
    Tree literals(t.literalNodes, t.literalLookup);
    Tree lengths(t.lengthNodes, t.lengthLookup);
    Tree distances(t.distanceNodes, t.distanceLookup);
    if ((literalTree && !ReadTree(bits, literals, report)) || !ReadTree(bits, lengths, report) ||
        !ReadTree(bits, distances, report)) {
        return;
    }

    // Data that keeps meeting empty slots would raise one report per bit.
    bool emptySlotReported = false;
    const std::function<void()> emptySlot = [&] {
        if (!emptySlotReported) {
            report(kBadCoding);
            emptySlotReported = true;
        }
    };
    const unsigned windowMask = windowSize - 1;
    unsigned position = 0;
    auto put = [&](std::uint8_t byte) {
        out.WriteOut(byte);
        t.window[position] = byte;
        position = (position + 1) & windowMask;
    };

    while (out.Written() < size) {
        const int kind = bits.Read(1);
        if (kind < 0) {
            return;
        }
        if (kind == 1) {
            const int literal = literalTree ? literals.Decode(bits, emptySlot) : bits.Read(8);
            if (literal < 0) {
                return;
            }
            put(static_cast<std::uint8_t>(literal));
            continue;
        }
        const int low = bits.Read(lowDistanceBits);
        const int high = low < 0 ? -1 : distances.Decode(bits, emptySlot);
        int length = high < 0 ? -1 : lengths.Decode(bits, emptySlot);
        if (length == kLongLength) {
            const int extra = bits.Read(8);
            length = extra < 0 ? -1 : length + extra;
        }
        if (length < 0) {
            return;
        }
        const unsigned distance = (static_cast<unsigned>(high) << lowDistanceBits | low) + 1;
        unsigned from = (position + windowSize - distance) & windowMask;
        for (int i = 0; i < length + minMatch; ++i) {
            put(t.window[from]);
            from = (from + 1) & windowMask;
        }
    }
}

}  // namespace kem::archive
