#include "archive/ShrinkEncoder.h"

#include <memory>
#include <utility>

namespace kem::archive {

ShrinkEncoder::ShrinkEncoder(Sink sink) : m_sink(std::move(sink)) {
    // A code adds at most two bytes to a buffer that is handed out once it holds kBufferSize.
    m_out.Bytes().reserve(kBufferSize + 2);
    Reset();
}

void ShrinkEncoder::Reset() {
    for (int code = 0; code < shrink::kCodeCount; ++code) {
        m_dictionary[code] =
            Entry{kNone, kNone, static_cast<std::uint8_t>(code < shrink::kControlCode ? code : 0)};
        m_freeList[code] = static_cast<std::uint16_t>(code);
    }
    m_nextFree = shrink::kFirstFreeCode;
    m_tableFull = false;
    m_started = false;
    m_out.Clear();
}

// The link of `prefix`'s child chain that holds the child with character `c`, or the empty link
// at the end of the chain when there is none (always for kEndOfChain).
std::int16_t& ShrinkEncoder::ChildLink(int prefix, int c) {
    std::int16_t* link = &m_dictionary[prefix].child;
    while (*link != kNone && m_dictionary[*link].character != c) {
        link = &m_dictionary[*link].sibling;
    }
    return *link;
}

void ShrinkEncoder::Put(std::uint8_t c) {
    Put(std::span(&c, 1));
}

void ShrinkEncoder::Put(std::span<const std::uint8_t> data) {
    // The prefix stays in a register while the bytes extend it. One walk along the chain per byte:
    // it ends at (prefix, c) or at the empty link that the new entry takes.
    int prefix = m_prefix;
    for (const std::uint8_t c : data) {
        if (!m_started || m_tableFull) {
            StartOrClear(prefix, c);
        } else if (std::int16_t& link = ChildLink(prefix, c); link != kNone) {
            prefix = link;
            continue;
        } else {
            EndMatch(prefix, link, c);
        }
        prefix = c;
    }
    m_prefix = prefix;
}

// The first byte of a file only becomes the prefix. A byte that comes when every code is handed
// out frees the leaves first, even when (prefix, c) is known: the reader clears at the same point.
void ShrinkEncoder::StartOrClear(int prefix, std::uint8_t c) {
    if (!m_started) {
        m_started = true;
        m_codeSize = shrink::kFirstWidth;
        m_maxCode = (1 << shrink::kFirstWidth) - 1;
        return;
    }
    Emit(prefix);
    Emit(shrink::kControlCode);
    Emit(shrink::kPartialClear);
    ClearLeaves();
    // (prefix, c) may have survived the clearing; the new entry goes in all the same.
    Add(ChildLink(prefix, kEndOfChain), c);
}

// (prefix, c) is not in the dictionary: the prefix goes out and the pair is added at `link`.
void ShrinkEncoder::EndMatch(int prefix, std::int16_t& link, std::uint8_t c) {
    Emit(prefix);
    Add(link, c);
    // Widen as soon as the next code to hand out no longer fits, so the reader never meets it
    // in the narrower size.
    if (!m_tableFull && m_freeList[m_nextFree] > m_maxCode && m_codeSize < shrink::kLastWidth) {
        Emit(shrink::kControlCode);
        Emit(shrink::kWiden);
        ++m_codeSize;
        m_maxCode = (1 << m_codeSize) - 1;
    }
}

void ShrinkEncoder::Finish() {
    if (m_started) {
        Emit(m_prefix);
        m_out.Flush();
    }
    HandOut(m_out.Bytes().size());
}

// Hands out the next free code for a child with character `c` and stores it in `link`, the empty
// link at the end of its parent's child chain.
void ShrinkEncoder::Add(std::int16_t& link, std::uint8_t c) {
    if (m_nextFree >= shrink::kCodeCount) {
        return;
    }
    const auto code = static_cast<std::int16_t>(m_freeList[m_nextFree++]);
    m_dictionary[code] = Entry{kNone, kNone, c};
    link = code;
    m_tableFull = m_nextFree >= shrink::kCodeCount;
}

// Frees every code that has no children at the start of the pass; a code that loses all its
// children here stays. The freed codes go back on the free list in ascending order, so the
// reader, which frees the same codes, hands out the same ones next.
void ShrinkEncoder::ClearLeaves() {
    m_leaves.reset();
    std::size_t depth = 0;
    for (int root = 255; root >= 0; --root) {
        m_pruneStack[depth++] = static_cast<std::uint16_t>(root);
    }
    while (depth > 0) {
        const int parent = m_pruneStack[--depth];
        std::int16_t* link = &m_dictionary[parent].child;
        while (*link != kNone) {
            Entry& child = m_dictionary[*link];
            if (child.child == kNone) {
                m_leaves.set(static_cast<std::size_t>(*link));
                *link = std::exchange(child.sibling, kNone);
            } else {
                m_pruneStack[depth++] = static_cast<std::uint16_t>(*link);
                link = &child.sibling;
            }
        }
    }
    int slot = shrink::kCodeCount;
    for (int code = shrink::kCodeCount - 1; code >= shrink::kFirstFreeCode; --code) {
        if (m_leaves.test(static_cast<std::size_t>(code))) {
            m_freeList[--slot] = static_cast<std::uint16_t>(code);
        }
    }
    m_nextFree = slot;
    if (slot < shrink::kCodeCount) {
        m_tableFull = false;
    }
}

void ShrinkEncoder::Emit(int code) {
    m_out.Write(static_cast<std::uint32_t>(code), m_codeSize);
    if (m_out.Bytes().size() >= kBufferSize) {
        HandOut(kBufferSize);
    }
}

// Gives the first `count` bytes of the output buffer to the sink.
void ShrinkEncoder::HandOut(std::size_t count) {
    if (count > 0) {
        std::vector<std::uint8_t>& bytes = m_out.Bytes();
        m_sink(bytes.data(), count);
        bytes.erase(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
    }
}

std::vector<std::uint8_t> ShrinkEncoder::ShrinkAll(std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> result;
    auto encoder =
        std::make_unique<ShrinkEncoder>([&result](const std::uint8_t* bytes, std::size_t size) {
            result.insert(result.end(), bytes, bytes + size);
        });
    encoder->Put(data);
    encoder->Finish();
    return result;
}

}  // namespace kem::archive
