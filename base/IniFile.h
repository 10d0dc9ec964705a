#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kem {

// A settings file in INI form ("[section]" headers, "key=value" lines), accessed by the profile
// rules: every read reads the file and every write rewrites it at once, so nothing is cached and
// nothing is lost when the process ends. Section and key names match without regard to ASCII
// case and the first match wins. Lines the calls do not touch, comments included, are kept.
class IniFile {
public:
    explicit IniFile(std::string path) : m_path(std::move(path)) {}

    const std::string& FileName() const { return m_path; }

    // The value with surrounding blanks removed and cut to 2047 characters; defaultValue when the
    // file, the section or the key is missing (a present key with an empty value reads empty).
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;

    // A decimal integer with optional sign, or hexadecimal after "0x"/"0X" (so "0x1E" is 30);
    // defaultValue for anything else, including values beyond 32 bits.
    std::int32_t ReadInteger(std::string_view section, std::string_view key,
                             std::int32_t defaultValue) const;

    // Any non-zero integer is true; a value that is not an integer gives defaultValue.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

    // Replaces the key's line, or appends it to its section, creating the section and the file
    // as needed. A value is one line: it is written up to its first line break. The file is
    // written beside itself and renamed into place; a symbolic link is written through to its
    // target. Throws IoError "Unable to write to <path>" when that fails or the file is
    // read-only.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

private:
    std::string m_path;
};

}  // namespace kem
