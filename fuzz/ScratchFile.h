#pragma once

#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace kem::fuzz {

// A file in a scratch folder of its own, made once per process and removed at exit, that each
// fuzz input is written into before it is read as the program reads its files.
class ScratchFile {
public:
    ScratchFile(const char* folderPrefix, const char* fileName) {
        namespace fs = std::filesystem;
        std::string pattern = (fs::temp_directory_path() / folderPrefix).string() + "-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot make a scratch directory");
        }
        m_folder = pattern;
        m_path = (m_folder / fileName).string();
    }
    ~ScratchFile() {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::filesystem::path& Folder() const { return m_folder; }
    const std::string& Path() const { return m_path; }

    void Write(const std::uint8_t* data, std::size_t size) const {
        std::ofstream file(m_path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }

private:
    std::filesystem::path m_folder;
    std::string m_path;
};

}  // namespace kem::fuzz
