#include "archive/NameMatch.h"

#include <array>
#include <cstdint>
#include <vector>

#include "archive/PathParts.h"

namespace kem::archive {
namespace {

using FoldTable = std::array<std::uint8_t, 256>;

constexpr FoldTable MakeFoldTable() {
    FoldTable t{};
    for (int c = 0; c < 256; ++c) {
        t[c] = static_cast<std::uint8_t>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    // Windows-1250 lower-case letters and their capitals.
    constexpr std::uint8_t kPairs[][2] = {
        {0xFC, 0xDC}, {0xF6, 0xD6}, {0xE9, 0xC9}, {0xF9, 0xD9}, {0xEF, 0xCF}, {0xFD, 0xDD},
        {0xE4, 0xC4}, {0x9D, 0x8D}, {0xE8, 0xC8}, {0xE1, 0xC1}, {0xEC, 0xCC}, {0xED, 0xCD},
        {0xE5, 0xC5}, {0xF3, 0xD3}, {0xBE, 0xBC}, {0xFA, 0xDA}, {0x9E, 0x8E}, {0xF2, 0xD2},
        {0xF4, 0xD4}, {0x9A, 0x8A}, {0xF8, 0xD8}, {0xE0, 0xC0},
    };
    for (const auto& pair : kPairs) {
        t[pair[0]] = pair[1];
    }
    return t;
}

constexpr FoldTable kFold = MakeFoldTable();

// WildMatch over the suffixes s[i..] and n[j..]. Every recursive step starts a full comparison
// of two suffixes, so its result depends only on (i, j); remembering it keeps names full of
// wildcards from taking exponential time.
class Matcher {
public:
    Matcher(std::string_view s, std::string_view n)
        : m_s(s), m_n(n), m_memo((s.size() + 1) * (n.size() + 1), kUnknown) {}

    bool Match(std::size_t i, std::size_t j) {
        std::int8_t& memo = m_memo[i * (m_n.size() + 1) + j];
        if (memo == kUnknown) {
            memo = Compare(i, j) ? 1 : 0;
        }
        return memo == 1;
    }

private:
    static constexpr std::int8_t kUnknown = -1;

    bool Compare(std::size_t i, std::size_t j) {
        const std::size_t sEnd = m_s.size();
        const std::size_t nEnd = m_n.size();
        if (i == sEnd && j == nEnd) {
            return true;
        }
        // One side empty: only a leading "*" on the other can still match (the tail checks
        // below settle the rest).
        if ((i == sEnd && m_n[j] != '*') || (j == nEnd && m_s[i] != '*')) {
            return false;
        }
        while (i < sEnd && j < nEnd) {
            if (m_s[i] == '?' || m_n[j] == '?') {
                ++i;
                ++j;
            } else if (m_s[i] == '*') {
                return i + 1 == sEnd || AnyRestMatches(i + 1, j, nEnd, true);
            } else if (m_n[j] == '*') {
                return j + 1 == nEnd || AnyRestMatches(j + 1, i, sEnd, false);
            } else if (FoldChar(m_s[i]) != FoldChar(m_n[j])) {
                return false;
            } else {
                ++i;
                ++j;
            }
        }
        if (i == sEnd) {
            j = SkipStars(m_n, j);
            if (j < nEnd) {
                return false;
            }
        }
        // Here n is exhausted; what is left of s must be stars only.
        return SkipStars(m_s, i) == sEnd;
    }

    // After a "*": does the rest of the starred string (from `rest`) match the other string
    // from some position k in [from, end)?
    bool AnyRestMatches(std::size_t rest, std::size_t from, std::size_t end, bool starInS) {
        for (std::size_t k = from; k < end; ++k) {
            if (starInS ? Match(rest, k) : Match(k, rest)) {
                return true;
            }
        }
        return false;
    }

    static std::size_t SkipStars(std::string_view text, std::size_t at) {
        while (at < text.size() && text[at] == '*') {
            ++at;
        }
        return at;
    }

    std::string_view m_s;
    std::string_view m_n;
    std::vector<std::int8_t> m_memo;
};

}  // namespace

char FoldChar(char c) {
    return static_cast<char>(kFold[static_cast<std::uint8_t>(c)]);
}

bool WildMatch(std::string_view s, std::string_view n) {
    return Matcher(s, n).Match(0, 0);
}

bool MatchFileSpec(std::string_view spec, std::string_view name) {
    return WildMatch(StemPart(spec), StemPart(name)) && WildMatch(ExtPart(spec), ExtPart(name)) &&
           DirPart(spec) == DirPart(name);
}

}  // namespace kem::archive
