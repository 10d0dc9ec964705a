#include "base/IniFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <filesystem>
#include <optional>
#include <vector>

#include "base/IoError.h"
#include "base/TextRules.h"
#include "base/WholeFile.h"

namespace kem {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMaxValueLength = 2047;
constexpr int kMaxLinkHops = 40;  // as the kernel allows

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The file's lines as stored, each without its "\n"; a CR before it stays part of the line, so
// lines nobody touches are written back byte for byte.
class IniText {
public:
    explicit IniText(std::string_view content) {
        std::size_t start = 0;
        while (start < content.size()) {
            const auto end = content.find('\n', start);
            if (end == std::string_view::npos) {
                m_lines.emplace_back(content.substr(start));
                m_endsWithNewline = false;
                break;
            }
            m_lines.emplace_back(content.substr(start, end - start));
            start = end + 1;
        }
        m_crlf = !m_lines.empty() && HasCr(m_lines.front());
    }

    // Index of the first line of key in a section of that name.
    std::optional<std::size_t> FindKey(std::string_view section, std::string_view key) const {
        bool inSection = false;
        for (std::size_t k = 0; k < m_lines.size(); ++k) {
            const std::string_view line = Body(k);
            if (IsHeader(line)) {
                inSection = EqualsNoCase(HeaderName(line), section);
            } else if (inSection && IsKeyLine(line) && EqualsNoCase(KeyName(line), key)) {
                return k;
            }
        }
        return std::nullopt;
    }

    std::string_view Value(std::size_t index) const {
        const std::string_view line = Body(index);
        return TrimBlanks(line.substr(line.find('=') + 1));
    }

    void Set(std::string_view section, std::string_view key, std::string_view value) {
        std::string line = std::string(key) + "=" + std::string(value);
        if (const auto found = FindKey(section, key)) {
            m_lines[*found] = line + (HasCr(m_lines[*found]) ? "\r" : "");
        } else if (const auto last = LastLineOfSection(section)) {
            m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(*last + 1), Ended(line));
        } else {
            std::string header(1, '[');
            header += section;
            header += ']';
            m_lines.push_back(Ended(header));
            m_lines.push_back(Ended(line));
            m_endsWithNewline = true;
        }
    }

    std::string Content() const {
        std::string out;
        for (std::size_t k = 0; k < m_lines.size(); ++k) {
            out += m_lines[k];
            if (k + 1 < m_lines.size() || m_endsWithNewline) {
                out += '\n';
            }
        }
        return out;
    }

private:
    static bool HasCr(std::string_view line) { return !line.empty() && line.back() == '\r'; }

    static bool IsHeader(std::string_view line) {
        line = TrimBlanks(line);
        return !line.empty() && line.front() == '[';
    }
    static std::string_view HeaderName(std::string_view line) {
        line = TrimBlanks(line).substr(1);
        return TrimBlanks(line.substr(0, line.find(']')));
    }

    static bool IsKeyLine(std::string_view line) {
        line = TrimBlanks(line);
        return !line.empty() && line.front() != ';' && line.find('=') != std::string_view::npos;
    }
    static std::string_view KeyName(std::string_view line) {
        return TrimBlanks(line.substr(0, line.find('=')));
    }

    // Line k without its CR.
    std::string_view Body(std::size_t k) const {
        std::string_view line = m_lines[k];
        return HasCr(line) ? line.substr(0, line.size() - 1) : line;
    }

    std::string Ended(std::string line) const { return m_crlf ? line + "\r" : line; }

    // The header or the last non-blank line of the first section of that name: new keys go
    // after it, ahead of any blank lines that separate it from the next section.
    std::optional<std::size_t> LastLineOfSection(std::string_view section) const {
        std::optional<std::size_t> last;
        for (std::size_t k = 0; k < m_lines.size(); ++k) {
            const std::string_view line = Body(k);
            if (IsHeader(line)) {
                if (last) {
                    break;
                }
                if (EqualsNoCase(HeaderName(line), section)) {
                    last = k;
                }
            } else if (last && !TrimBlanks(line).empty()) {
                last = k;
            }
        }
        return last;
    }

    std::vector<std::string> m_lines;
    bool m_endsWithNewline = true;
    bool m_crlf = false;
};

// Where a write must land: a symbolic link is followed to its final target so that the rename
// replaces the target and the link stays.
std::string WriteTarget(const std::string& path) {
    fs::path p = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(p, error))) {
            break;
        }
        const fs::path target = fs::read_symlink(p, error);
        if (error) {
            break;
        }
        p = target.is_absolute() ? target : p.parent_path() / target;
    }
    return p.string();
}

std::optional<std::int32_t> ParseInteger(std::string_view text) {
    const char* end = text.data() + text.size();
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        std::uint32_t value = 0;
        const auto [stop, error] = std::from_chars(text.data() + 2, end, value, 16);
        if (error != std::errc() || stop != end) {
            return std::nullopt;
        }
        return static_cast<std::int32_t>(value);  // 0xFFFFFFFF is -1
    }
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty() || text.front() == '-') {
            return std::nullopt;
        }
    }
    std::int32_t value = 0;
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
    std::string content;
    if (LoadFile(m_path, content) != Load::Ok) {
        return std::string(defaultValue);
    }
    const IniText text(content);
    const auto found = text.FindKey(section, key);
    if (!found) {
        return std::string(defaultValue);
    }
    return std::string(text.Value(*found).substr(0, kMaxValueLength));
}

std::int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                                  std::int32_t defaultValue) const {
    return ParseInteger(ReadString(section, key, "")).value_or(defaultValue);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    const IoError failure("Unable to write to " + m_path);
    const std::string target = WriteTarget(m_path);
    std::string content;
    const Load load = LoadFile(target, content);
    if (load == Load::Failed) {
        throw failure;
    }
    std::optional<mode_t> mode;
    if (load == Load::Ok) {
        // A file without write permission is read-only, also for root (the rename alone would
        // not notice it).
        struct stat info {};
        if (::stat(target.c_str(), &info) != 0 || (info.st_mode & 0222) == 0 ||
            ::access(target.c_str(), W_OK) != 0) {
            throw failure;
        }
        mode = info.st_mode & 07777;
    }
    IniText text(content);
    text.Set(section, key, value.substr(0, value.find_first_of("\r\n")));
    if (!ReplaceFile(target, text.Content(), mode)) {
        throw failure;
    }
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

}  // namespace kem
